#include "shell/PaginasAyuda.h"

#include "platform/Paths.h"

namespace PaginasAyuda {

namespace {

// Placeholders under a reserved domain until the maker publishes its own addresses.
struct Pagina {
    const char* entrada;
    const char* direccion;
    bool conVersion;
};
constexpr Pagina kPaginas[] = {
    {"mnuAyudaQuorvan", "https://www.corvanda.example/quorvan/ayuda?version=", true},
    {"mnuAyudaCierres", "https://www.corvanda.example/quorvan/cierres?version=", true},
    {"mnuAyudaReclamo", "https://www.corvanda.example/quorvan/reclamos?version=", true},
    {"mnuChat", "https://www.corvanda.example/quorvan/chat?version=", true},
    {"mnuContactos", "https://www.corvanda.example/quorvan/contactos?version=", true},
    {"mnuDescargas", "https://www.corvanda.example/soporte-remoto", false},
};

}

QString ArchivoAyuda(const QString& carpetaPrograma) { return Paths::Join(carpetaPrograma, kArchivoAyuda); }

QUrl Direccion(const QString& entrada, const Platform::Version& v)
{
    for (const Pagina& p : kPaginas) {
        if (entrada != QLatin1String(p.entrada)) continue;
        QString direccion = QString::fromLatin1(p.direccion);
        if (p.conVersion) direccion += QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
        return QUrl(direccion);
    }
    return QUrl();
}

}
