#include "platform/AjustesUsuario.h"

#include "platform/ArchivosPropios.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/SinEnlaces.h"

#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <functional>
#include <optional>

namespace AjustesUsuario {

namespace {
// Long enough for another program's store (the update wizard's) to end, short enough that a
// lock left by a hung one ends this store with a message instead of holding the window.
constexpr int kEsperaBloqueoMs = 3000;

QString archivo(const QString& aplicacion)
{
    return Paths::Join(Paths::ConfigDir(), aplicacion + QStringLiteral(".ini"));
}

// QSettings parses a private copy of what the bounded reader read, never the file in place: it
// would open a pipe planted at the name and wait on it for good. The copy lies in `carpeta`, the
// user's alone; a missing file gives an empty copy. None, with the reason naming the file in
// `error`, when the file is no regular file (a link, a pipe, a folder), too big or unreadable.
std::optional<QString> CopiaPrivada(const QString& ruta, const QTemporaryDir& carpeta, QString* error)
{
    int e = 0;
    const std::optional<QByteArray> datos = SinEnlaces::LeerArchivo(ruta, SinEnlaces::kLimiteTexto, &e);
    if (!datos && e != ENOENT) {
        if (error) *error = QStringLiteral("No se puede leer %1: %2.").arg(ruta, SinEnlaces::DescribirError(e));
        return std::nullopt;
    }
    const QString copia = carpeta.filePath(QStringLiteral("ajustes.ini"));
    QString motivo = carpeta.errorString();
    if (!carpeta.isValid() ||
        !EscrituraSegura::EscribirArchivo(copia, datos.value_or(QByteArray()), &motivo, false,
                                          EscrituraSegura::Modo::Propio)) {
        if (error) *error = QStringLiteral("No se puede leer %1: %2").arg(ruta, motivo);
        return std::nullopt;
    }
    return copia;
}

// Read, change and write back the whole file under the lock QSettings itself takes for it, so a
// store of the update wizard's at the same time is neither lost nor loses this one. The file is
// replaced whole, private to the user, never through a link.
bool Escribir(const QString& aplicacion, const std::function<void(QSettings&)>& cambiar, QString* error)
{
    const QString ruta = archivo(aplicacion);
    const QString nombreBloqueo = ruta + QStringLiteral(".lock");
    const auto falla = [&](const QString& mensaje) {
        if (error) *error = mensaje;
        return false;
    };
    ArchivosPropios::CrearCarpeta(Paths::ConfigDir());
    // QLockFile opens its name in place and reads what stands there: a link would carry the lock
    // elsewhere, a pipe would hold the store.
    if (const QString rechazo = ArchivosPropios::Rechazo({nombreBloqueo}); !rechazo.isEmpty()) return falla(rechazo);
    QLockFile bloqueo(nombreBloqueo);
    if (!bloqueo.tryLock(kEsperaBloqueoMs))
        return falla(bloqueo.error() == QLockFile::LockFailedError
                         ? QStringLiteral("No se pudo guardar %1: otro programa lo está guardando.").arg(ruta)
                         : QStringLiteral("No se pudo guardar %1: no se pudo crear %2.").arg(ruta, nombreBloqueo));
    // QLockFile makes it as the umask says; it names the user's process and host.
    ArchivosPropios::Proteger(nombreBloqueo);

    const QTemporaryDir carpeta;
    const std::optional<QString> copia = CopiaPrivada(ruta, carpeta, error);
    if (!copia) return false;
    {
        QSettings s(*copia, QSettings::IniFormat);
        cambiar(s);
        s.sync();
        if (s.status() == QSettings::AccessError) return falla(QStringLiteral("No se pudo guardar %1.").arg(ruta));
    }
    int e = 0;
    const std::optional<QByteArray> datos = SinEnlaces::LeerArchivo(*copia, SinEnlaces::kLimiteTexto, &e);
    if (!datos)
        return falla(QStringLiteral("No se pudo guardar %1: %2.").arg(ruta, SinEnlaces::DescribirError(e)));
    return EscrituraSegura::EscribirArchivo(ruta, *datos, error, true, EscrituraSegura::Modo::Propio);
}
}

QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& predeterminado)
{
    const QTemporaryDir carpeta;
    const std::optional<QString> copia = CopiaPrivada(archivo(aplicacion), carpeta, nullptr);
    if (!copia) return predeterminado;
    return QSettings(*copia, QSettings::IniFormat).value(seccion + QLatin1Char('/') + clave, predeterminado).toString();
}

bool Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor,
             QString* error)
{
    return Escribir(
        aplicacion, [&](QSettings& s) { s.setValue(seccion + QLatin1Char('/') + clave, valor); }, error);
}

bool GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores, QString* error)
{
    return Escribir(
        aplicacion,
        [&](QSettings& s) {
            s.remove(seccion);
            for (int i = 0; i < valores.size(); ++i)
                s.setValue(seccion + QLatin1Char('/') + QString::number(i + 1), valores.at(i));
        },
        error);
}

}
