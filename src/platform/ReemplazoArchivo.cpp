#include "platform/ReemplazoArchivo.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ReemplazoArchivo::Renombrar g_renombrar;

int Copiar(int de, int a)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t leidos = ::read(de, buffer, sizeof buffer);
        if (leidos == 0) return 0;
        if (leidos < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t hecho = 0; hecho < leidos;) {
            const ssize_t n = ::write(a, buffer + hecho, static_cast<size_t>(leidos - hecho));
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            hecho += n;
        }
    }
}

}

ReemplazoArchivo::ReemplazoArchivo(QString origen, QString destino)
    : m_Origen(std::move(origen)), m_Destino(std::move(destino))
{
}

ReemplazoArchivo::ReemplazoArchivo(int origen, QString destino) : m_OrigenFd(origen), m_Destino(std::move(destino)) {}

ReemplazoArchivo::~ReemplazoArchivo()
{
    if (!m_Temporal.isEmpty()) ::unlink(m_Temporal.constData());
}

void ReemplazoArchivo::setRenombrar(Renombrar f) { g_renombrar = std::move(f); }

int ReemplazoArchivo::Preparar()
{
    if (!m_Temporal.isEmpty()) return 0;
    // A handle given is read through a copy of its own, closed below like an opened one.
    const int de = m_OrigenFd >= 0 ? ::fcntl(m_OrigenFd, F_DUPFD_CLOEXEC, 0)
                                   : ::open(QFile::encodeName(m_Origen).constData(), O_RDONLY | O_CLOEXEC);
    if (de < 0) return errno;
    if (m_OrigenFd >= 0 && ::lseek(de, 0, SEEK_SET) < 0) {
        const int e = errno;
        ::close(de);
        return e;
    }
    struct stat info{};
    const int estado = ::fstat(de, &info) == 0 ? (S_ISREG(info.st_mode) ? 0 : EISDIR) : errno;
    if (estado != 0) {
        // Only a plain file is ever put in the program's place.
        ::close(de);
        return estado;
    }
    mode_t modo = 0755;
    struct stat anterior{};
    if (::stat(QFile::encodeName(m_Destino).constData(), &anterior) == 0) modo = anterior.st_mode & 07777;

    const QFileInfo destino(m_Destino);
    QByteArray plantilla = QFile::encodeName(destino.path() + QStringLiteral("/.") + destino.fileName() +
                                             QStringLiteral(".XXXXXX"));
    const int a = ::mkstemp(plantilla.data());
    if (a < 0) {
        const int e = errno;
        ::close(de);
        return e;
    }
    int e = Copiar(de, a);
    ::close(de);
    if (e == 0 && ::fsync(a) != 0) e = errno;
    if (e == 0 && ::fchmod(a, modo) != 0) e = errno;
    if (::close(a) != 0 && e == 0) e = errno;
    if (e != 0) {
        ::unlink(plantilla.constData());
        return e;
    }
    m_Temporal = plantilla;
    return 0;
}

int ReemplazoArchivo::Colocar()
{
    if (m_Temporal.isEmpty()) return ENOENT;
    const QByteArray destino = QFile::encodeName(m_Destino);
    const int e = g_renombrar ? g_renombrar(m_Temporal, destino)
                              : (std::rename(m_Temporal.constData(), destino.constData()) == 0 ? 0 : errno);
    if (e == 0) m_Temporal.clear();
    return e;
}
