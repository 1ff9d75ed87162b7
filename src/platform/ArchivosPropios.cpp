#include "platform/ArchivosPropios.h"

#include "platform/Paths.h"
#include "platform/SinEnlaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ArchivosPropios {

bool CrearCarpeta(const QString& ruta)
{
    const QFileInfo info(ruta);
    if (info.isDir()) return true;
    QDir().mkpath(info.absolutePath());
    const QByteArray r = QFile::encodeName(ruta);
    if (::mkdir(r.constData(), 0700) == 0) (void)::chmod(r.constData(), 0700);
    return QFileInfo(ruta).isDir();
}

void CrearArchivo(const QString& ruta)
{
    const int fd = ::open(QFile::encodeName(ruta).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        (void)::fchmod(fd, 0600);
        ::close(fd);
    }
}

QString Rechazo(const QStringList& rutas)
{
    for (const QString& ruta : rutas) {
        struct stat info{};
        if (::lstat(QFile::encodeName(ruta).constData(), &info) != 0 || S_ISREG(info.st_mode)) continue;
        return QStringLiteral("No se puede usar %1: %2.")
            .arg(ruta, SinEnlaces::DescribirError(S_ISLNK(info.st_mode) ? ELOOP : ENODEV));
    }
    return QString();
}

void Proteger(const QString& ruta)
{
    struct stat info{};
    const QByteArray r = QFile::encodeName(ruta);
    if (::lstat(r.constData(), &info) != 0) return;
    if (S_ISDIR(info.st_mode) && (info.st_mode & 07777) != 0700) (void)::chmod(r.constData(), 0700);
    if (S_ISREG(info.st_mode) && (info.st_mode & 07777) != 0600) (void)::chmod(r.constData(), 0600);
}

void ProtegerArchivosDe(const QString& carpeta)
{
    const SinEnlaces::Descriptor c = SinEnlaces::AbrirCarpeta(carpeta);
    if (!c) return;
    for (const SinEnlaces::Entrada& e : SinEnlaces::Listar(c.fd())) {
        if (e.tipo != SinEnlaces::Tipo::Archivo) continue;
        // A history of many tickets is looked at at every start: a file already private costs one
        // stat, never an open.
        struct stat antes{};
        if (::fstatat(c.fd(), QFile::encodeName(e.nombre).constData(), &antes, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(antes.st_mode) && (antes.st_mode & 07777) == 0600)
            continue;
        // Through a handle opened without following, so a name swapped for a link meanwhile
        // never changes another file's mode.
        const SinEnlaces::Descriptor f = SinEnlaces::AbrirArchivoEn(c.fd(), e.nombre, O_RDONLY);
        struct stat info{};
        if (f && ::fstat(f.fd(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 07777) != 0600)
            (void)::fchmod(f.fd(), 0600);
    }
}

void AlIniciar(const QStringList& subcarpetas)
{
    const bool propias = qEnvironmentVariable("QUORVAN_HOME").isEmpty();
    QStringList carpetas{Paths::ConfigDir(), Paths::DataDir()};
    carpetas.removeDuplicates();
    for (const QString& c : carpetas) {
        if (propias) Proteger(c);
        ProtegerArchivosDe(c);
    }
    for (const QString& c : subcarpetas) {
        if (!QFileInfo(c).isDir() || QFileInfo(c).isSymLink()) continue;
        Proteger(c);
        ProtegerArchivosDe(c);
    }
}

}
