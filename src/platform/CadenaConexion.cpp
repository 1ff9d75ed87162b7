#include "platform/CadenaConexion.h"

namespace CadenaConexion {

namespace {

bool EsClave(const Entrada& e, std::initializer_list<const char*> nombres)
{
    if (e.sinClave)
        return false;
    for (const char* n : nombres)
        if (e.clave.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString Unir(const QList<Entrada>& entradas)
{
    QStringList textos;
    for (const Entrada& e : entradas)
        textos << e.texto;
    return textos.join(QLatin1Char(';'));
}

} // namespace

QList<Entrada> Partir(const QString& cadena)
{
    QList<Entrada> entradas;
    QString actual;
    auto cerrar = [&] {
        if (!actual.trimmed().isEmpty()) {
            Entrada e;
            e.texto = actual;
            const int igual = actual.indexOf(QLatin1Char('='));
            if (igual < 0) {
                e.sinClave = true;
                e.valor = actual.trimmed();
            } else {
                e.clave = actual.left(igual).trimmed();
                e.valor = actual.mid(igual + 1);
            }
            entradas << e;
        }
        actual.clear();
    };
    // Braces quote a value only where it begins with one, as the driver manager reads them.
    bool enLlaves = false;
    for (const QChar c : cadena) {
        if (c == QLatin1Char('{') && !enLlaves && actual.trimmed().endsWith(QLatin1Char('=')))
            enLlaves = true;
        else if (c == QLatin1Char('}'))
            enLlaves = false;
        else if (c == QLatin1Char(';') && !enLlaves) {
            cerrar();
            continue;
        }
        actual += c;
    }
    cerrar();
    return entradas;
}

QString SinLlaves(const QString& valor)
{
    const QString v = valor.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('{')) && v.endsWith(QLatin1Char('}')))
        return v.mid(1, v.size() - 2).trimmed();
    return v;
}

QStringList ClavesLibpq(const QString& opciones)
{
    QStringList claves;
    const int n = opciones.size();
    int i = 0;
    while (i < n) {
        while (i < n && opciones.at(i).isSpace()) ++i;
        const int inicio = i;
        while (i < n && opciones.at(i) != QLatin1Char('=') && !opciones.at(i).isSpace()) ++i;
        if (i > inicio)
            claves << opciones.mid(inicio, i - inicio).toLower();
        while (i < n && opciones.at(i).isSpace()) ++i;
        if (i < n && opciones.at(i) == QLatin1Char('=')) ++i;
        while (i < n && opciones.at(i).isSpace()) ++i;
        // The value: quoted up to its closing quote, or up to the next blank; "\" escapes.
        const bool comillas = i < n && opciones.at(i) == QLatin1Char('\'');
        if (comillas) ++i;
        for (; i < n; ++i) {
            const QChar c = opciones.at(i);
            if (c == QLatin1Char('\\')) {
                ++i;
                continue;
            }
            if (comillas ? c == QLatin1Char('\'') : c.isSpace())
                break;
        }
        if (comillas && i < n) ++i;
    }
    return claves;
}

QString Completar(const QString& cadena, const Agregados& agregados, const Lector& lector)
{
    QList<Entrada> entradas = Partir(cadena);
    QString dsn, controlador;
    for (int i = 0; i < entradas.size(); ++i) {
        Entrada& e = entradas[i];
        if (e.sinClave && i == 0) {
            dsn = e.valor;
            e.clave = QStringLiteral("DSN");
            e.texto = QStringLiteral("DSN=") + e.valor;
            e.sinClave = false;
        } else if (EsClave(e, {"DSN"})) {
            dsn = SinLlaves(e.valor);
        } else if (EsClave(e, {"DRIVER"})) {
            controlador = SinLlaves(e.valor);
        }
    }
    const QHash<QString, QString> definicion = dsn.isEmpty() ? QHash<QString, QString>() : lector(dsn, false);
    if (controlador.isEmpty())
        controlador = definicion.value(QStringLiteral("driver"));
    const QString biblioteca = controlador.isEmpty() ? QString() : lector(controlador, true).value(QStringLiteral("driver"));
    const QString nombres = (controlador + QLatin1Char(' ') + biblioteca).toLower();
    if (!nombres.contains(QLatin1String("psqlodbc")) && !nombres.contains(QLatin1String("postgres")))
        return Unir(entradas);

    // psqlODBC takes the abbreviated keys as well.
    auto nombrada = [&](std::initializer_list<const char*> claves) {
        for (const Entrada& e : entradas)
            if (EsClave(e, claves))
                return true;
        for (const char* c : claves)
            if (definicion.contains(QString::fromLatin1(c).toLower()))
                return true;
        return false;
    };
    int enCadena = -1;
    for (int i = 0; i < entradas.size(); ++i)
        if (EsClave(entradas.at(i), {"pqopt", "D5"}))
            enCadena = i;
    const QString pqopt = enCadena >= 0 ? SinLlaves(entradas.at(enCadena).valor)
                                        : definicion.value(QStringLiteral("pqopt"), definicion.value(QStringLiteral("d5")));
    const QStringList libpq = ClavesLibpq(pqopt);

    auto agregar = [&entradas](const QString& clave, const QString& valor) {
        Entrada e;
        e.clave = clave;
        e.valor = valor;
        e.texto = clave + QLatin1Char('=') + valor;
        entradas << e;
    };
    if (!nombrada({"KeepaliveTime", "D1"}) && !libpq.contains(QLatin1String("keepalives_idle")))
        agregar(QStringLiteral("KeepaliveTime"), QString::number(agregados.keepaliveInactivaS));
    if (!nombrada({"KeepaliveInterval", "D2"}) && !libpq.contains(QLatin1String("keepalives_interval")))
        agregar(QStringLiteral("KeepaliveInterval"), QString::number(agregados.keepaliveIntervaloS));
    QStringList opciones;
    if (!libpq.contains(QLatin1String("tcp_user_timeout")))
        opciones << QStringLiteral("tcp_user_timeout=%1").arg(agregados.sinAcuseMs);
    if (!libpq.contains(QLatin1String("connect_timeout")))
        opciones << QStringLiteral("connect_timeout=%1").arg(agregados.conexionS);
    // A "}" inside would end the braced value early: such a pqopt is left as it is.
    if (!opciones.isEmpty() && !pqopt.contains(QLatin1Char('}'))) {
        if (!pqopt.isEmpty())
            opciones.prepend(pqopt);
        const QString valor = QLatin1Char('{') + opciones.join(QLatin1Char(' ')) + QLatin1Char('}');
        if (enCadena >= 0) {
            Entrada& e = entradas[enCadena];
            e.valor = valor;
            e.texto = e.clave + QLatin1Char('=') + valor;
        } else {
            agregar(QStringLiteral("pqopt"), valor);
        }
    }
    return Unir(entradas);
}

QString ParaQt(const QString& cadena, QString* rechazo)
{
    if (cadena.contains(QLatin1String(".dsn"), Qt::CaseInsensitive)) {
        if (rechazo)
            *rechazo = QStringLiteral("la cadena de conexión contiene \".dsn\", que el controlador ODBC toma por un "
                                      "origen de datos en archivo (FILEDSN), forma que no se admite; use un origen "
                                      "de datos definido en odbc.ini o una cadena con DRIVER=");
        return QString();
    }
    if (cadena.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive)
        || cadena.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        return cadena;
    // Qt puts "DSN=" before it: the name goes first, the key without it.
    const QList<Entrada> entradas = Partir(cadena);
    for (int i = 0; i < entradas.size(); ++i) {
        if (!EsClave(entradas.at(i), {"DSN"}))
            continue;
        QList<Entrada> resto = entradas;
        const Entrada nombre = resto.takeAt(i);
        QString texto = nombre.valor;
        if (!resto.isEmpty())
            texto += QLatin1Char(';') + Unir(resto);
        return texto;
    }
    return cadena;
}

} // namespace CadenaConexion
