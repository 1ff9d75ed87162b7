#include "platform/AjustesUsuario.h"

#include "platform/ArchivoIni.h"
#include "platform/Bloqueo.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/SinEnlaces.h"

#include <cerrno>
#include <functional>
#include <optional>

namespace AjustesUsuario {

namespace {
// Long enough for another program's store (the update wizard's) to end, short enough that a
// lock held by a hung one ends this store with a message instead of holding the window.
constexpr int kEsperaBloqueoMs = 3000;

QString archivo(const QString& aplicacion)
{
    return Paths::Join(Paths::ConfigDir(), aplicacion + QStringLiteral(".ini"));
}

// The file's text, empty when it is missing; none, with the reason in `error`, when anything but
// a regular file stands at its name, or one too big, or it cannot be read.
std::optional<QByteArray> LeerTexto(const QString& ruta, int* error)
{
    std::optional<QByteArray> datos = SinEnlaces::LeerArchivo(ruta, SinEnlaces::kLimiteTexto, error);
    if (!datos && *error == ENOENT) return QByteArray();
    return datos;
}

// Read, change and write back the whole file under its lock, so a store of the update wizard's
// at the same time is neither lost nor loses this one. The file is replaced whole, private to
// the user, never through a link.
bool Escribir(const QString& aplicacion, const std::function<void(ArchivoIni&)>& cambiar, QString* error)
{
    const QString ruta = archivo(aplicacion);
    const auto falla = [&](const QString& mensaje) {
        if (error) *error = mensaje;
        return false;
    };
    Bloqueo bloqueo(ruta + QStringLiteral(".lock"));
    if (!bloqueo.Tomar(kEsperaBloqueoMs))
        return falla(bloqueo.Ocupado() ? QStringLiteral("No se pudo guardar %1: otro programa lo está guardando.").arg(ruta)
                                       : bloqueo.Error());
    int e = 0;
    const std::optional<QByteArray> datos = LeerTexto(ruta, &e);
    if (!datos) return falla(QStringLiteral("No se pudo guardar %1: %2.").arg(ruta, SinEnlaces::DescribirError(e)));
    ArchivoIni ini(*datos);
    cambiar(ini);
    return EscrituraSegura::EscribirArchivo(ruta, ini.Texto(), error, true, EscrituraSegura::Modo::Propio);
}
}

QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& predeterminado)
{
    int e = 0;
    const std::optional<QByteArray> datos = LeerTexto(archivo(aplicacion), &e);
    return datos ? ArchivoIni(*datos).Valor(seccion, clave).value_or(predeterminado) : predeterminado;
}

QStringList LeerLista(const QString& aplicacion, const QString& seccion)
{
    int e = 0;
    const std::optional<QByteArray> datos = LeerTexto(archivo(aplicacion), &e);
    QStringList valores;
    if (!datos) return valores;
    const ArchivoIni ini(*datos);
    for (int i = 1;; ++i) {
        const QString valor = ini.Valor(seccion, QString::number(i)).value_or(QString());
        if (valor.isEmpty()) return valores;
        valores << valor;
    }
}

bool Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor,
             QString* error)
{
    return Escribir(aplicacion, [&](ArchivoIni& ini) { ini.Poner(seccion, clave, valor); }, error);
}

bool GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores, QString* error)
{
    return Escribir(
        aplicacion,
        [&](ArchivoIni& ini) {
            ini.QuitarSeccion(seccion);
            for (int i = 0; i < valores.size(); ++i) ini.Poner(seccion, QString::number(i + 1), valores.at(i));
        },
        error);
}

}
