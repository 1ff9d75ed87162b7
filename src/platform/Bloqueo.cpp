#include "platform/Bloqueo.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

bool Bloqueo::Rechazar(const QString& motivo)
{
    m_error = QStringLiteral("No se puede usar %1: %2.").arg(m_ruta, motivo);
    return false;
}

bool Bloqueo::Tomar(int esperaMs)
{
    if (Tomado()) return true;
    m_error.clear();
    m_ocupado = false;
    const QFileInfo info(m_ruta);
    int e = 0;
    const SinEnlaces::Descriptor carpeta = SinEnlaces::AbrirCarpeta(info.path() + QStringLiteral("/."), &e);
    // Open for writing though never written: a lock on a network share needs it.
    SinEnlaces::Descriptor archivo =
        carpeta ? SinEnlaces::AbrirArchivoEn(carpeta.fd(), info.fileName(), O_RDWR | O_CREAT, 0600, &e)
                : SinEnlaces::Descriptor();
    if (!archivo) return Rechazar(SinEnlaces::DescribirError(e));
    if (SinEnlaces::RevisarArchivo(archivo.fd(), &e) & SinEnlaces::DeOtroUsuario)
        return Rechazar(SinEnlaces::DescribirMotivos(SinEnlaces::DeOtroUsuario).constFirst());
    // Made less the umask, or left so by an earlier version.
    struct stat estado{};
    if (::fstat(archivo.fd(), &estado) == 0 && (estado.st_mode & 07777) != 0600) (void)::fchmod(archivo.fd(), 0600);

    const QDeadlineTimer plazo(std::max(esperaMs, 0));
    for (;;) {
        if (::flock(archivo.fd(), LOCK_EX | LOCK_NB) == 0) {
            m_archivo = std::move(archivo);
            return true;
        }
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return Rechazar(SinEnlaces::DescribirError(errno));
        if (plazo.hasExpired()) {
            m_ocupado = true;
            return false;
        }
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(plazo.remainingTime(), 1, 20)));
    }
}
