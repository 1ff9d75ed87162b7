#include "config/modRegistry.h"

#include "platform/Dialogs.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/SinEnlaces.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace modRegistry {

namespace {

// System result codes shown after "DLL Returned=", as the registry calls give them.
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorMoreData = 234;

const QString kCrLf = QStringLiteral("\r\n");
const QString kSeccion = QStringLiteral("[HKEY_LOCAL_MACHINE\\") + kClave + QStringLiteral("]");

struct Valor {
    QString nombre;
    qint32 tipo = REG_SZ;
    QString texto; // type 1: the text; type 4: the decimal number
};

QString Escapar(const QString& s)
{
    QString out;
    for (const QChar c : s) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('"'))
            out += QLatin1String("\\\"");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

// Reads a quoted text starting at `pos` (just after the opening quote); pos ends after the
// closing quote.
QString LeerCitado(const QString& line, int& pos)
{
    QString out;
    while (pos < line.size()) {
        const QChar c = line.at(pos++);
        if (c == QLatin1Char('"'))
            return out;
        if (c == QLatin1Char('\\') && pos < line.size()) {
            const QChar n = line.at(pos++);
            out += n == QLatin1Char('n') ? QChar('\n') : n == QLatin1Char('r') ? QChar('\r') : n;
        } else {
            out += c;
        }
    }
    return out;
}

// The values of the key, in file order. False when the file cannot be read, a link or a pipe
// standing at its name among the causes (never opened to wait on).
bool LeerArchivo(QList<Valor>& valores, bool& existe, const QString& seccion = kSeccion)
{
    int error = 0;
    const std::optional<QByteArray> datos =
        SinEnlaces::LeerArchivo(ArchivoRegistro(), SinEnlaces::kLimiteTexto, &error);
    existe = error != ENOENT;
    if (!datos)
        return !existe;
    const QString text = QString::fromUtf8(*datos);
    bool enClave = false;
    for (const QString& line : Lineas::Separar(text)) {
        if (line.startsWith(QLatin1Char('['))) {
            enClave = line.compare(seccion, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!enClave || !line.startsWith(QLatin1Char('"')))
            continue;
        int pos = 1;
        Valor v;
        v.nombre = LeerCitado(line, pos);
        if (pos >= line.size() || line.at(pos) != QLatin1Char('='))
            continue;
        ++pos;
        if (line.mid(pos).startsWith(QLatin1String("dword:"))) {
            bool ok = false;
            const quint32 n = line.mid(pos + 6).trimmed().toUInt(&ok, 16);
            if (!ok)
                continue;
            v.tipo = REG_DWORD;
            v.texto = QString::number(static_cast<qint32>(n));
        } else if (pos < line.size() && line.at(pos) == QLatin1Char('"')) {
            ++pos;
            v.texto = LeerCitado(line, pos);
        } else {
            continue;
        }
        valores.append(v);
    }
    return true;
}

int Buscar(const QList<Valor>& valores, const QString& nombre)
{
    // Value names are matched without regard to case, as the registry does.
    for (int i = 0; i < valores.size(); ++i)
        if (valores.at(i).nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// The value as a line of the file, without its end.
QByteArray LineaValor(const Valor& v)
{
    QString text = QLatin1Char('"') + Escapar(v.nombre) + QLatin1String("\"=");
    if (v.tipo == REG_DWORD)
        text += QStringLiteral("dword:%1").arg(static_cast<quint32>(v.texto.toInt()), 8, 16, QLatin1Char('0'));
    else
        text += QLatin1Char('"') + Escapar(v.texto) + QLatin1Char('"');
    return text.toUtf8();
}

// The file's lines, each with the end it has (CR LF, CR, LF or none for the last).
QList<QByteArray> LineasConFin(const QByteArray& datos)
{
    QList<QByteArray> lineas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < datos.size(); ++i) {
        const char c = datos.at(i);
        if (c != '\n' && c != '\r') continue;
        if (c == '\r' && i + 1 < datos.size() && datos.at(i + 1) == '\n') ++i;
        lineas.append(datos.mid(inicio, i + 1 - inicio));
        inicio = i + 1;
    }
    if (inicio < datos.size()) lineas.append(datos.mid(inicio));
    return lineas;
}

QByteArray SinFin(QByteArray linea)
{
    while (linea.endsWith('\n') || linea.endsWith('\r')) linea.chop(1);
    return linea;
}

// Stores one value and keeps every other line of the file as the bytes it was: other keys
// (the system-information key the about box reads, for one) are not ours to rewrite.
bool EscribirValor(const Valor& v)
{
    const QString path = ArchivoRegistro();
    int error = 0;
    const QByteArray datos = SinEnlaces::LeerArchivo(path, SinEnlaces::kLimiteTexto, &error).value_or(QByteArray());
    if (error != 0 && error != ENOENT) return false;
    const QByteArray crlf("\r\n");
    QList<QByteArray> lineas = LineasConFin(datos);
    if (lineas.isEmpty())
        lineas << QByteArray("Windows Registry Editor Version 5.00") + crlf << crlf;
    int seccion = -1, ultima = -1, valor = -1;
    bool enClave = false;
    for (int i = 0; i < lineas.size(); ++i) {
        const QString line = QString::fromUtf8(SinFin(lineas.at(i)));
        if (line.startsWith(QLatin1Char('['))) {
            enClave = line.compare(kSeccion, Qt::CaseInsensitive) == 0;
            if (enClave && seccion < 0) seccion = ultima = i;
            continue;
        }
        if (!enClave) continue;
        if (ultima >= 0 && i == ultima + 1 && !line.trimmed().isEmpty()) ultima = i; // the first block of the key
        if (valor < 0 && line.startsWith(QLatin1Char('"'))) {
            int pos = 1;
            const QString nombre = LeerCitado(line, pos);
            if (pos < line.size() && line.at(pos) == QLatin1Char('=') && nombre.compare(v.nombre, Qt::CaseInsensitive) == 0)
                valor = i;
        }
    }
    const auto conFin = [&](int i) {
        if (!lineas.at(i).endsWith('\n') && !lineas.at(i).endsWith('\r')) lineas[i] += crlf;
    };
    if (valor >= 0) {
        const QByteArray& vieja = lineas.at(valor);
        lineas[valor] = LineaValor(v) + vieja.mid(SinFin(vieja).size());
        conFin(valor);
    } else if (seccion >= 0) {
        conFin(ultima);
        lineas.insert(ultima + 1, LineaValor(v) + crlf);
    } else {
        conFin(int(lineas.size()) - 1);
        if (!SinFin(lineas.last()).isEmpty()) lineas << crlf;
        lineas << kSeccion.toUtf8() + crlf << LineaValor(v) + crlf;
    }
    // Whole or not at all: a failed write leaves the old registry as it was.
    return EscrituraSegura::EscribirArchivo(path, lineas.join(), nullptr, true, EscrituraSegura::Modo::Propio);
}

void MostrarError(const QString& cabecera, const QString& etiqueta, const QString& clave, int codigo,
                  const QString& titulo)
{
    Dialogs::MsgBox(cabecera + kCrLf + etiqueta + clave + kCrLf + QStringLiteral("DLL Returned=") +
                        QString::number(codigo),
                    Vbc::vbExclamation | Vbc::vbOKOnly, titulo);
}

// Common part of the two readers: the stored value as text, or false after the messages.
bool LeerTexto(const QString& nombre, qint32 tipo, QString& texto, bool mostrarMensajes)
{
    QList<Valor> valores;
    bool existe = false;
    const bool leido = LeerArchivo(valores, existe);
    if (!leido || !existe) {
        if (mostrarMensajes)
            MostrarError(QStringLiteral("Error Opening Registry Key Entry:"), QStringLiteral("Key/Path="), kClave,
                         leido ? kErrorFileNotFound : kErrorAccessDenied, QStringLiteral("ODBC Registry"));
        return false;
    }
    const int i = Buscar(valores, nombre);
    int codigo = 0;
    if (i < 0)
        codigo = kErrorFileNotFound;
    else if (tipo == REG_SZ && valores.at(i).tipo == REG_SZ && valores.at(i).texto.size() > kLargoMaximo)
        codigo = kErrorMoreData;
    if (codigo != 0) {
        if (mostrarMensajes)
            MostrarError(QStringLiteral("Error Retrieving Registry Key Entry:"), QStringLiteral("Key="), nombre,
                         codigo, QStringLiteral("ODBC Registry"));
        return false;
    }
    texto = valores.at(i).texto;
    return true;
}

} // namespace

QString ArchivoRegistro()
{
    return Paths::Join(Paths::ConfigDir(), QStringLiteral("registro.ini"));
}

bool GuardarValorRegistro(qint32 tipo, const QString& nombre, const QVariant& valor)
{
    try {
        // The key: the configuration folder and its file.
        const QString dir = Paths::ConfigDir();
        QList<Valor> valores;
        bool existe = false;
        if (!QFileInfo(dir).isDir() || !LeerArchivo(valores, existe)) {
            MostrarError(QStringLiteral("Error Creating Registry Key Entry:"), QStringLiteral("Key="), kClave,
                         kErrorAccessDenied, Dialogs::kAppTitle);
            return false;
        }
        Valor v;
        v.nombre = nombre;
        v.tipo = tipo;
        if (tipo == REG_SZ) {
            v.texto = Vb::CStr(valor);
        } else if (tipo == REG_DWORD) {
            const QString t = Vb::CStr(valor);
            v.texto = QString::number(valor.typeId() == QMetaType::QString ? Vb::CLng(t) : Vb::CLng(Vb::CDblValue(valor)));
        } else {
            return true; // nothing to store
        }
        const int i = Buscar(valores, nombre);
        if (i >= 0) v.nombre = valores.at(i).nombre;
        if (!EscribirValor(v)) {
            MostrarError(QStringLiteral("Error Creating Registry Key Entry:"), QStringLiteral("Key="), nombre,
                         kErrorAccessDenied, Dialogs::kAppTitle);
            return false;
        }
        return true;
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbExclamation | Vbc::vbOKOnly, Dialogs::kAppTitle);
        return false;
    }
}

bool LeerValorClave(const QString& clave, const QString& nombre, qint32& tipo, QString& texto)
{
    QList<Valor> valores;
    bool existe = false;
    if (!LeerArchivo(valores, existe, QStringLiteral("[HKEY_LOCAL_MACHINE\\") + clave + QLatin1Char(']')) || !existe)
        return false;
    const int i = Buscar(valores, nombre);
    if (i < 0) return false;
    tipo = valores.at(i).tipo;
    texto = valores.at(i).texto;
    return true;
}

bool LeerValorRegistro(const QString& nombre, qint32 tipo, QString& valor, bool mostrarMensajes)
{
    QString texto;
    if (!LeerTexto(nombre, tipo, texto, mostrarMensajes))
        return false;
    valor = texto;
    return true;
}

bool LeerValorRegistro(const QString& nombre, qint32 tipo, qint32& valor, bool mostrarMensajes)
{
    QString texto;
    if (!LeerTexto(nombre, tipo, texto, mostrarMensajes))
        return false;
    try {
        valor = Vb::CLng(texto);
        return true;
    } catch (const VbError& e) {
        // The reading routine's own trap, with its own title.
        Dialogs::MsgBox(e.description, Vbc::vbExclamation | Vbc::vbOKOnly, QStringLiteral("YourAppName"));
        return false;
    }
}

}
