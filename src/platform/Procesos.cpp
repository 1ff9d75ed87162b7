#include "platform/Procesos.h"

#include <QFileInfo>
#include <QProcess>

#include <cerrno>

namespace Procesos {

namespace {
std::function<int(const QString&, const QStringList&, const QString&)> g_iniciador;
}

void setIniciador(std::function<int(const QString&, const QStringList&, const QString&)> f)
{
    g_iniciador = std::move(f);
}

int IniciarSeparado(const QString& programa, const QStringList& argumentos, const QString& carpeta)
{
    if (g_iniciador) return g_iniciador(programa, argumentos, carpeta);
    QProcess proceso;
    proceso.setProgram(programa);
    proceso.setArguments(argumentos);
    proceso.setWorkingDirectory(carpeta);
    if (proceso.startDetached()) return 0;
    // QProcess only says that it failed; the file tells the user why.
    const QFileInfo archivo(programa);
    if (!archivo.exists()) return ENOENT;
    if (!archivo.isExecutable() || archivo.isDir()) return EACCES;
    if (!QFileInfo(carpeta).isDir()) return ENOENT;
    return EIO;
}

int IniciarSeparado(const QString& programa, const QString& carpeta)
{
    return IniciarSeparado(programa, QStringList(), carpeta);
}

VbError ErrorDeSistema(int numero, const QString& origen)
{
    switch (numero) {
    case ENOENT:
    case ENOTDIR:
        return VbError(VbError::FileNotFound, origen, QStringLiteral("No se ha encontrado el archivo"));
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        return VbError(70, origen, QStringLiteral("Permiso denegado"));
    default:
        return VbError(VbError::PathFileAccess, origen, QStringLiteral("Error de acceso a la ruta o el archivo"));
    }
}

}
