#include "shell/DirectoriosRecientes.h"

#include "platform/AjustesUsuario.h"
#include "platform/Paths.h"
#include "platform/Vb.h"

#include <QFileInfo>

namespace DirectoriosRecientes {

namespace {
const QString kAplicacion = QStringLiteral("Quorvan");
const QString kSeccion = QStringLiteral("LastTarsk");
}

QStringList Leer() { return AjustesUsuario::LeerLista(kAplicacion, kSeccion); }

QStringList ConNueva(const QString& carpeta, const QStringList& anteriores)
{
    if (carpeta.isEmpty()) return anteriores;
    const QString nueva = Paths::WithTrailingSlash(carpeta);
    QStringList lista{carpeta};
    for (const QString& entrada : anteriores) {
        if (lista.size() >= kMaximo) break;
        const QString limpia = Vb::Trim(entrada);
        if (limpia.isEmpty() || Paths::WithTrailingSlash(limpia) == nueva) continue;
        lista << limpia;
    }
    return lista;
}

bool Guardar(const QString& carpeta, const QStringList& anteriores, QString* error)
{
    if (carpeta.isEmpty()) return true;
    return AjustesUsuario::GuardarLista(kAplicacion, kSeccion, ConNueva(carpeta, anteriores), error);
}

QString CarpetaTecleada(const QString& texto) { return Paths::WithTrailingSlash(Paths::Absoluta(texto)); }

QString CarpetaInicialSelector(const QString& anterior)
{
    return !anterior.isEmpty() && QFileInfo(anterior).isDir() ? anterior : QStringLiteral("/");
}

}
