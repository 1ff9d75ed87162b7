#include "platform/Procesos.h"

#include <QFileInfo>
#include <QProcess>

#include <cerrno>

namespace Procesos {

namespace {
std::function<int(const QString&, const QString&)> g_iniciador;
}

void setIniciador(std::function<int(const QString&, const QString&)> f) { g_iniciador = std::move(f); }

int IniciarSeparado(const QString& programa, const QString& carpeta)
{
    if (g_iniciador) return g_iniciador(programa, carpeta);
    QProcess proceso;
    proceso.setProgram(programa);
    proceso.setWorkingDirectory(carpeta);
    if (proceso.startDetached()) return 0;
    // QProcess only says that it failed; the file tells the user why.
    const QFileInfo archivo(programa);
    if (!archivo.exists()) return ENOENT;
    if (!archivo.isExecutable() || archivo.isDir()) return EACCES;
    return EIO;
}

}
