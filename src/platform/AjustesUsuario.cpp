#include "platform/AjustesUsuario.h"

#include "platform/ArchivosPropios.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/SinEnlaces.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

namespace AjustesUsuario {

namespace {
QString archivo(const QString& aplicacion)
{
    return Paths::Join(Paths::ConfigDir(), aplicacion + QStringLiteral(".ini"));
}

// A key or section name as QSettings writes it: "/" as "\", anything but letters, digits and
// "_-." as "%XX" (or "%UXXXX").
void EscribirClave(const QString& clave, QByteArray& salida)
{
    for (const QChar c : clave) {
        const ushort u = c.unicode();
        if (u == '/')
            salida += '\\';
        else if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '-' ||
                 u == '.')
            salida += char(u);
        else if (u <= 0xFF)
            salida += '%' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
        else
            salida += "%U" + QByteArray::number(u, 16).toUpper().rightJustified(4, '0');
    }
}

// A text value as QSettings writes it, so QSettings reads back the same text: quoted when it
// holds a separator or blanks at its ends, control characters escaped (a hex escape followed
// by a hex digit escapes that digit too), a leading "@" doubled, UTF-8.
void EscribirTexto(QString texto, QByteArray& salida)
{
    if (texto.startsWith(QLatin1Char('@'))) texto.prepend(QLatin1Char('@'));
    QString r;
    bool comillas = false, hexSiguiente = false;
    for (const QChar qc : texto) {
        const ushort c = qc.unicode();
        if (c == ';' || c == ',' || c == '=') comillas = true;
        if (hexSiguiente && c < 0x80 && std::isxdigit(c)) {
            r += QStringLiteral("\\x") + QString::number(c, 16);
            continue;
        }
        hexSiguiente = false;
        static const char kNombradas[] = "\a\b\f\n\r\t\v";
        static const char kLetras[] = "abfnrtv";
        if (c == 0) {
            r += QStringLiteral("\\0");
            hexSiguiente = true;
        } else if (c < 0x20 && std::strchr(kNombradas, c)) {
            r += QLatin1Char('\\');
            r += QLatin1Char(kLetras[std::strchr(kNombradas, c) - kNombradas]);
        } else if (c == '"' || c == '\\') {
            r += QLatin1Char('\\');
            r += qc;
        } else if (c < 0x20) {
            r += QStringLiteral("\\x") + QString::number(c, 16);
            hexSiguiente = true;
        } else {
            r += qc;
        }
    }
    if (comillas || r.startsWith(QLatin1Char(' ')) || r.endsWith(QLatin1Char(' ')))
        r = QLatin1Char('"') + r + QLatin1Char('"');
    salida += r.toUtf8();
}

void EscribirValor(const QVariant& valor, QByteArray& salida)
{
    if (!valor.isValid()) {
        salida += "@Invalid()";
    } else if (valor.typeId() == QMetaType::QStringList) {
        const QStringList lista = valor.toStringList();
        if (lista.isEmpty()) salida += "@Invalid()";
        for (qsizetype i = 0; i < lista.size(); ++i) {
            if (i) salida += ", ";
            EscribirTexto(lista.at(i), salida);
        }
    } else {
        EscribirTexto(valor.toString(), salida);
    }
}

// The whole file as QSettings would write it, sections in the order their keys come.
QByteArray Texto(const QList<QPair<QString, QVariant>>& valores)
{
    QMap<QString, QByteArray> secciones;
    QStringList orden;
    for (const auto& [clave, valor] : valores) {
        const qsizetype barra = clave.indexOf(QLatin1Char('/'));
        const QString seccion = barra < 0 ? QString() : clave.left(barra);
        if (!secciones.contains(seccion)) orden << seccion;
        QByteArray& linea = secciones[seccion];
        EscribirClave(clave.mid(barra + 1), linea);
        linea += '=';
        EscribirValor(valor, linea);
        linea += '\n';
    }
    QByteArray texto;
    for (const QString& seccion : orden) {
        if (!texto.isEmpty()) texto += '\n';
        QByteArray cabecera;
        EscribirClave(seccion, cabecera);
        if (cabecera.isEmpty())
            cabecera = "General";
        else if (cabecera.compare("general", Qt::CaseInsensitive) == 0)
            cabecera.prepend('%');
        texto += '[' + cabecera + "]\n" + secciones.value(seccion);
    }
    return texto;
}

qint64 MilisegundosModificado(const QString& ruta)
{
    struct stat info{};
    if (::lstat(QFile::encodeName(ruta).constData(), &info) != 0) return -1;
    return qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

// Rewrites the whole file, private to the user, with `cambiar` applied to its values. A link
// at the name is refused by the writer; anything else that is no file is refused here, before
// a pipe could hold the read.
bool Escribir(const QString& aplicacion, const std::function<void(QList<QPair<QString, QVariant>>&)>& cambiar,
              QString* error)
{
    const QString ruta = archivo(aplicacion);
    ArchivosPropios::CrearCarpeta(Paths::ConfigDir());
    EscrituraSegura w(ruta, EscrituraSegura::Modo::Propio);
    bool ok = w.Abrir();
    const QFileInfo info(ruta);
    if (ok && info.exists() && !info.isFile()) {
        w.Cancelar();
        if (error) *error = QStringLiteral("No se pudo crear %1: %2").arg(ruta, SinEnlaces::DescribirError(ENODEV));
        return false;
    }
    const qint64 antes = MilisegundosModificado(ruta);
    QList<QPair<QString, QVariant>> valores;
    if (ok) {
        const QSettings s(ruta, QSettings::IniFormat);
        for (const QString& clave : s.allKeys()) valores.append({clave, s.value(clave)});
        cambiar(valores);
        ok = w.Escribir(Texto(valores)) && w.Confirmar(true);
    }
    if (!ok) {
        if (error) *error = w.Error();
        return false;
    }
    // QSettings keeps what it read while the file's size and modification time (to the
    // millisecond) stay the same: a later read in this process must see this file, not the one
    // it replaced in the same millisecond.
    if (antes >= 0 && MilisegundosModificado(ruta) <= antes) {
        const timespec cuando = {time_t((antes + 1) / 1000), long((antes + 1) % 1000) * 1000000};
        const timespec tiempos[2] = {{0, UTIME_OMIT}, cuando};
        (void)::utimensat(AT_FDCWD, QFile::encodeName(ruta).constData(), tiempos, AT_SYMLINK_NOFOLLOW);
    }
    return true;
}

// The key and, with `debajo`, every key below it (a whole section).
void Quitar(QList<QPair<QString, QVariant>>& valores, const QString& clave, bool debajo)
{
    valores.removeIf([&](const QPair<QString, QVariant>& v) {
        return v.first == clave || (debajo && v.first.startsWith(clave + QLatin1Char('/')));
    });
}
}

QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& predeterminado)
{
    QSettings s(archivo(aplicacion), QSettings::IniFormat);
    return s.value(seccion + QLatin1Char('/') + clave, predeterminado).toString();
}

bool Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor,
             QString* error)
{
    const QString nombre = seccion + QLatin1Char('/') + clave;
    return Escribir(
        aplicacion,
        [&](QList<QPair<QString, QVariant>>& valores) {
            Quitar(valores, nombre, false);
            valores.append({nombre, valor});
        },
        error);
}

bool GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores, QString* error)
{
    return Escribir(
        aplicacion,
        [&](QList<QPair<QString, QVariant>>& todos) {
            Quitar(todos, seccion, true);
            for (int i = 0; i < valores.size(); ++i)
                todos.append({seccion + QLatin1Char('/') + QString::number(i + 1), valores.at(i)});
        },
        error);
}

}
