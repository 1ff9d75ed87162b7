#include "platform/CadenaConexion.h"

namespace CadenaConexion {

namespace {

// `cadena` with the value of its entry `e` replaced.
QString ConValor(QString cadena, const Entrada& e, const QString& valor)
{
    const qsizetype desde = e.inicio + e.texto.size() - e.valor.size();
    return cadena.replace(desde, e.valor.size(), valor);
}

} // namespace

QList<Entrada> Partir(const QString& cadena)
{
    QList<Entrada> entradas;
    const qsizetype n = cadena.size();
    for (qsizetype inicio = 0; inicio <= n;) {
        qsizetype i = inicio, igual = -1;
        bool enLlaves = false;
        for (; i < n; ++i) {
            const QChar c = cadena.at(i);
            if (enLlaves) {
                if (c == QLatin1Char('}')) {
                    if (i + 1 < n && cadena.at(i + 1) == QLatin1Char('}'))
                        ++i;
                    else
                        enLlaves = false;
                }
            } else if (c == QLatin1Char(';')) {
                break;
            } else if (c == QLatin1Char('=') && igual < 0) {
                igual = i;
                enLlaves = i + 1 < n && cadena.at(i + 1) == QLatin1Char('{');
                i += enLlaves;
            }
        }
        const QString texto = cadena.mid(inicio, i - inicio);
        if (!texto.trimmed().isEmpty()) {
            Entrada e;
            e.texto = texto;
            e.inicio = inicio;
            e.sinClave = igual < 0;
            e.clave = e.sinClave ? QString() : cadena.mid(inicio, igual - inicio).trimmed();
            e.valor = e.sinClave ? texto.trimmed() : cadena.mid(igual + 1, i - igual - 1);
            entradas << e;
        }
        inicio = i + 1;
    }
    return entradas;
}

QString SinLlaves(const QString& valor)
{
    const QString v = valor.trimmed();
    if (valor.startsWith(QLatin1Char('{')) && v.size() >= 2 && v.endsWith(QLatin1Char('}')))
        return v.mid(1, v.size() - 2).replace(QLatin1String("}}"), QLatin1String("}")).trimmed();
    return v;
}

bool EsClave(const Entrada& e, std::initializer_list<const char*> nombres)
{
    if (e.sinClave)
        return false;
    for (const char* n : nombres)
        if (e.clave.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<QString> Valor(const QString& cadena, std::initializer_list<const char*> claves)
{
    std::optional<QString> valor;
    for (const Entrada& e : Partir(cadena))
        if (EsClave(e, claves))
            valor = SinLlaves(e.valor);
    return valor;
}

QString Anteponer(const QString& cadena, const QStringList& entradas)
{
    if (entradas.isEmpty())
        return cadena;
    const QList<Entrada> propias = Partir(cadena);
    if (propias.isEmpty())
        return entradas.join(QLatin1Char(';'));
    const Entrada& primera = propias.first();
    if (primera.sinClave) {
        const qsizetype tras = primera.inicio + primera.texto.size();
        return cadena.left(tras) + QLatin1Char(';') + entradas.join(QLatin1Char(';')) + cadena.mid(tras);
    }
    return entradas.join(QLatin1Char(';')) + QLatin1Char(';') + cadena;
}

QString Poner(const QString& cadena, const char* clave, const QString& valor)
{
    const QList<Entrada> entradas = Partir(cadena);
    QString resultado = cadena;
    bool puesta = false;
    // From the last, so that the places of the earlier ones hold.
    for (qsizetype i = entradas.size() - 1; i >= 0; --i)
        if (EsClave(entradas.at(i), {clave})) {
            resultado = ConValor(resultado, entradas.at(i), valor);
            puesta = true;
        }
    return puesta ? resultado : Anteponer(resultado, {QLatin1String(clave) + QLatin1Char('=') + valor});
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
    QString resultado = cadena;
    QList<Entrada> entradas = Partir(resultado);
    if (!entradas.isEmpty() && entradas.first().sinClave) {
        const Entrada& e = entradas.first();
        resultado.insert(e.inicio + e.texto.indexOf(e.valor), QLatin1String("DSN="));
        entradas = Partir(resultado);
    }
    const QString dsn = Valor(resultado, {"DSN"}).value_or(QString());
    QString controlador = Valor(resultado, {"DRIVER"}).value_or(QString());
    const QHash<QString, QString> definicion = dsn.isEmpty() ? QHash<QString, QString>() : lector(dsn, false);
    if (controlador.isEmpty())
        controlador = definicion.value(QStringLiteral("driver"));
    const QString biblioteca = controlador.isEmpty() ? QString() : lector(controlador, true).value(QStringLiteral("driver"));
    const QString nombres = (controlador + QLatin1Char(' ') + biblioteca).toLower();
    if (!nombres.contains(QLatin1String("psqlodbc")) && !nombres.contains(QLatin1String("postgres")))
        return resultado;

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
    const Entrada* enCadena = nullptr;
    for (const Entrada& e : entradas)
        if (EsClave(e, {"pqopt", "D5"}))
            enCadena = &e;
    const QString pqopt = enCadena ? SinLlaves(enCadena->valor)
                                   : definicion.value(QStringLiteral("pqopt"), definicion.value(QStringLiteral("d5")));
    const QStringList libpq = ClavesLibpq(pqopt);

    QStringList agregadas;
    if (!nombrada({"KeepaliveTime", "D1"}) && !libpq.contains(QLatin1String("keepalives_idle")))
        agregadas << QStringLiteral("KeepaliveTime=%1").arg(agregados.keepaliveInactivaS);
    if (!nombrada({"KeepaliveInterval", "D2"}) && !libpq.contains(QLatin1String("keepalives_interval")))
        agregadas << QStringLiteral("KeepaliveInterval=%1").arg(agregados.keepaliveIntervaloS);
    QStringList opciones;
    if (!libpq.contains(QLatin1String("tcp_user_timeout")))
        opciones << QStringLiteral("tcp_user_timeout=%1").arg(agregados.sinAcuseMs);
    if (!libpq.contains(QLatin1String("connect_timeout")))
        opciones << QStringLiteral("connect_timeout=%1").arg(agregados.conexionS);
    if (!opciones.isEmpty() && !pqopt.contains(QLatin1Char('}'))) {
        if (!pqopt.isEmpty())
            opciones << pqopt;
        const QString valor = QLatin1Char('{') + opciones.join(QLatin1Char(' ')) + QLatin1Char('}');
        if (enCadena)
            resultado = ConValor(resultado, *enCadena, valor);
        else
            agregadas << QStringLiteral("pqopt=") + valor;
    }
    return Anteponer(resultado, agregadas);
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
    // Qt puts "DSN=" before it: the name goes first, its entry out, the rest as written.
    for (const Entrada& e : Partir(cadena)) {
        if (!EsClave(e, {"DSN"}))
            continue;
        QString resto = cadena;
        const qsizetype fin = e.inicio + e.texto.size();
        if (fin < resto.size())
            resto.remove(e.inicio, fin + 1 - e.inicio);
        else
            resto.truncate(qMax<qsizetype>(e.inicio - 1, 0));
        return resto.trimmed().isEmpty() ? e.valor : e.valor + QLatin1Char(';') + resto;
    }
    return cadena;
}

} // namespace CadenaConexion
