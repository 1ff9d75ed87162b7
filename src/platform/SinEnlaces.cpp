#include "platform/SinEnlaces.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace SinEnlaces {

namespace {

constexpr int kCarpeta = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

void Poner(int* destino, int valor)
{
    if (destino) *destino = valor;
}

// A name to open directly inside a folder: one component, not "." or "..".
bool NombreSimple(const QString& nombre)
{
    return !nombre.isEmpty() && !nombre.contains(QLatin1Char('/')) && nombre != QLatin1String(".")
        && nombre != QLatin1String("..");
}

Tipo TipoDe(mode_t modo)
{
    if (S_ISLNK(modo)) return Tipo::Enlace;
    if (S_ISREG(modo)) return Tipo::Archivo;
    if (S_ISDIR(modo)) return Tipo::Carpeta;
    return Tipo::Otro;
}

int BorrarDentro(int carpeta, int profundidad);

// Opens a folder directly inside `desde` (AT_FDCWD for a path) without following a link at
// its last component. The system says ENOTDIR for a link there; ELOOP says what it is.
int AbrirCarpetaNoSeguir(int desde, const QByteArray& nombre, int* error)
{
    const int fd = ::openat(desde, nombre.constData(), kCarpeta);
    int e = fd < 0 ? errno : 0;
    struct stat info{};
    if (e == ENOTDIR && ::fstatat(desde, nombre.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(info.st_mode))
        e = ELOOP;
    Poner(error, e);
    return fd;
}

int BorrarEntrada(int carpeta, const QByteArray& nombre, int profundidad)
{
    struct stat info{};
    if (::fstatat(carpeta, nombre.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : errno;
    if (!S_ISDIR(info.st_mode))
        return ::unlinkat(carpeta, nombre.constData(), 0) == 0 || errno == ENOENT ? 0 : errno;
    // A tree deeper than any the program makes is not worth the handles it would take.
    if (profundidad > 64) return ELOOP;
    int error = 0;
    const int sub = AbrirCarpetaNoSeguir(carpeta, nombre, &error);
    if (sub < 0) return error;
    error = BorrarDentro(sub, profundidad + 1);
    ::close(sub);
    if (::unlinkat(carpeta, nombre.constData(), AT_REMOVEDIR) != 0 && errno != ENOENT && error == 0)
        error = errno;
    return error;
}

// Lists `carpeta` through a copy of its handle, since closedir closes the one it was given.
QList<QByteArray> Nombres(int carpeta, int* error)
{
    QList<QByteArray> nombres;
    const int copia = ::fcntl(carpeta, F_DUPFD_CLOEXEC, 0);
    if (copia < 0) {
        Poner(error, errno);
        return nombres;
    }
    DIR* d = ::fdopendir(copia);
    if (!d) {
        Poner(error, errno);
        ::close(copia);
        return nombres;
    }
    ::rewinddir(d); // the copy shares its position with the original handle
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        nombres.append(QByteArray(e->d_name));
    }
    ::closedir(d);
    Poner(error, 0);
    return nombres;
}

int BorrarDentro(int carpeta, int profundidad)
{
    int error = 0;
    const QList<QByteArray> nombres = Nombres(carpeta, &error);
    for (const QByteArray& n : nombres) {
        const int e = BorrarEntrada(carpeta, n, profundidad);
        if (error == 0) error = e;
    }
    return error;
}

}

Descriptor& Descriptor::operator=(Descriptor&& o) noexcept
{
    if (this != &o) {
        Cerrar();
        m_fd = o.Soltar();
    }
    return *this;
}

int Descriptor::Soltar()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void Descriptor::Cerrar()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

Descriptor AbrirCarpeta(const QString& ruta, int* error)
{
    QString r = ruta;
    while (r.size() > 1 && r.endsWith(QLatin1Char('/'))) r.chop(1); // "x/" would follow a link at x
    return Descriptor(AbrirCarpetaNoSeguir(AT_FDCWD, QFile::encodeName(r), error));
}

Descriptor AbrirCarpetaEn(int carpeta, const QString& nombre, int* error)
{
    const QStringList partes = nombre.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (partes.isEmpty()) {
        Poner(error, EINVAL);
        return Descriptor();
    }
    Descriptor actual;
    int desde = carpeta;
    for (const QString& p : partes) {
        if (!NombreSimple(p)) {
            Poner(error, EINVAL);
            return Descriptor();
        }
        Descriptor siguiente(AbrirCarpetaNoSeguir(desde, QFile::encodeName(p), error));
        if (!siguiente) return Descriptor();
        actual = std::move(siguiente);
        desde = actual.fd();
    }
    Poner(error, 0);
    return actual;
}

Descriptor AbrirArchivoEn(int carpeta, const QString& nombre, int flags, mode_t modo, int* error)
{
    if (!NombreSimple(nombre)) {
        Poner(error, EINVAL);
        return Descriptor();
    }
    const QByteArray n = QFile::encodeName(nombre);
    // Looked at first, so a device is not even opened (opening some acts on them).
    struct stat info{};
    if (::fstatat(carpeta, n.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode)) {
        Poner(error, S_ISLNK(info.st_mode) ? ELOOP : ENODEV);
        return Descriptor();
    }
    // Swapped meanwhile: a pipe without a reader and a socket fail with ENXIO instead of waiting,
    // and whatever did open is looked at again.
    Descriptor fd(::openat(carpeta, n.constData(), flags | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC, modo));
    int e = fd ? 0 : errno;
    if (e == ENXIO) e = ENODEV;
    if (fd) {
        if (::fstat(fd.fd(), &info) != 0) e = errno;
        else if (!S_ISREG(info.st_mode)) e = ENODEV;
        if (e) fd.Cerrar();
    }
    Poner(error, e);
    return fd;
}

bool EsEnlace(const QString& ruta)
{
    QString r = ruta;
    while (r.size() > 1 && r.endsWith(QLatin1Char('/'))) r.chop(1);
    struct stat info{};
    return ::lstat(QFile::encodeName(r).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

Tipo TipoEn(int carpeta, const QString& nombre)
{
    struct stat info{};
    if (!NombreSimple(nombre)
        || ::fstatat(carpeta, QFile::encodeName(nombre).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return Tipo::Ninguno;
    return TipoDe(info.st_mode);
}

bool EsEnlaceEn(int carpeta, const QString& nombre) { return TipoEn(carpeta, nombre) == Tipo::Enlace; }

QList<Entrada> Listar(int carpeta, int* error)
{
    QList<Entrada> entradas;
    for (const QByteArray& n : Nombres(carpeta, error)) {
        struct stat info{};
        Entrada e;
        e.nombre = QFile::decodeName(n);
        if (::fstatat(carpeta, n.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            e.tipo = TipoDe(info.st_mode);
            entradas.append(e);
        }
    }
    return entradas;
}

Entrada BuscarEn(int carpeta, const QString& nombre)
{
    Entrada encontrada;
    for (const Entrada& e : Listar(carpeta)) {
        if (e.nombre == nombre) return e;
        if (encontrada.nombre.isEmpty() && e.nombre.compare(nombre, Qt::CaseInsensitive) == 0) encontrada = e;
    }
    return encontrada;
}

int VaciarCarpeta(int carpeta)
{
    int error = 0;
    const QList<QByteArray> nombres = Nombres(carpeta, &error);
    for (const QByteArray& n : nombres) {
        struct stat info{};
        if (::fstatat(carpeta, n.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) continue;
        if (::unlinkat(carpeta, n.constData(), 0) != 0 && errno != ENOENT && error == 0) error = errno;
    }
    return error;
}

int BorrarArbolEn(int carpeta, const QString& nombre)
{
    if (!NombreSimple(nombre)) return EINVAL;
    return BorrarEntrada(carpeta, QFile::encodeName(nombre), 0);
}

int BorrarArbol(const QString& ruta)
{
    QString r = ruta;
    while (r.size() > 1 && r.endsWith(QLatin1Char('/'))) r.chop(1);
    const int i = r.lastIndexOf(QLatin1Char('/'));
    const QString padre = i < 0 ? QStringLiteral(".") : (i == 0 ? QStringLiteral("/") : r.left(i));
    const QString nombre = r.mid(i + 1);
    const int fd = ::open(QFile::encodeName(padre).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = BorrarArbolEn(fd, nombre);
    ::close(fd);
    return error;
}

namespace {
// What makes an open file or folder unfit to trust: another type than expected, another
// owner, or group or others allowed to write.
unsigned Revisar(int fd, int* error, mode_t tipo)
{
    struct stat info{};
    if (::fstat(fd, &info) != 0) {
        Poner(error, errno);
        return NoEsArchivo;
    }
    Poner(error, 0);
    unsigned motivos = 0;
    if ((info.st_mode & S_IFMT) != tipo) motivos |= NoEsArchivo;
    if (info.st_uid != ::geteuid()) motivos |= DeOtroUsuario;
    if (info.st_mode & (S_IWGRP | S_IWOTH)) motivos |= EscribiblePorOtros;
    return motivos;
}
}

unsigned RevisarArchivo(int fd, int* error) { return Revisar(fd, error, S_IFREG); }

std::optional<QList<EscritorDeLista>> EscritoresPorLista(int fd)
{
    // The kernel's form of the list: a version word (2), then entries of a tag, the permission
    // bits (16 bits each) and the account or group number (32 bits), little-endian.
    static const char* const kNombre = "system.posix_acl_access";
    enum : quint16 { kCuenta = 0x02, kGrupo = 0x08, kMascara = 0x10, kEscritura = 0x02 };
    QByteArray datos;
    ssize_t n = -1;
    for (int intento = 0; intento < 3; ++intento) {
        n = ::fgetxattr(fd, kNombre, nullptr, 0);
        if (n < 0) break;
        datos.resize(n);
        n = ::fgetxattr(fd, kNombre, datos.data(), static_cast<size_t>(datos.size()));
        if (n >= 0 || errno != ERANGE) break; // ERANGE: the list grew in between
    }
    QList<EscritorDeLista> escritores;
    if (n < 0) {
        if (errno == ENODATA || errno == ENOTSUP) return escritores;
        return std::nullopt;
    }
    const auto* b = reinterpret_cast<const uchar*>(datos.constData());
    if (n < 4 || (n - 4) % 8 != 0 || qFromLittleEndian<quint32>(b) != 2) return std::nullopt;
    quint16 mascara = 0;
    for (ssize_t i = 4; i < n; i += 8) {
        const quint16 etiqueta = qFromLittleEndian<quint16>(b + i);
        const quint16 permisos = qFromLittleEndian<quint16>(b + i + 2);
        if (etiqueta == kMascara) mascara = permisos;
        else if ((etiqueta == kCuenta || etiqueta == kGrupo) && (permisos & kEscritura))
            escritores.append({etiqueta == kGrupo, qFromLittleEndian<quint32>(b + i + 4)});
    }
    if (!(mascara & kEscritura)) escritores.clear();
    return escritores;
}

QStringList DescribirMotivos(unsigned motivos)
{
    QStringList textos;
    if (motivos & NoEsArchivo) textos << QStringLiteral("no es un archivo común");
    if (motivos & DeOtroUsuario) textos << QStringLiteral("pertenece a otro usuario");
    if (motivos & EscribiblePorOtros) textos << QStringLiteral("otros usuarios pueden modificarlo");
    return textos;
}

unsigned RevisarCarpeta(int fd, int* error) { return Revisar(fd, error, S_IFDIR); }

QStringList DescribirMotivosCarpeta(unsigned motivos)
{
    QStringList textos;
    if (motivos & NoEsArchivo) textos << QStringLiteral("no es una carpeta");
    if (motivos & DeOtroUsuario) textos << QStringLiteral("pertenece a otro usuario");
    if (motivos & EscribiblePorOtros) textos << QStringLiteral("otros usuarios pueden escribir en ella");
    return textos;
}

int CrearCarpetaEn(int carpeta, const QString& nombre, mode_t modo)
{
    if (!NombreSimple(nombre)) return EINVAL;
    return ::mkdirat(carpeta, QFile::encodeName(nombre).constData(), modo) == 0 ? 0 : errno;
}

std::optional<QByteArray> LeerArchivoEn(int carpeta, const QString& nombre, qint64 limite, int* error, qint64* tamano)
{
    if (tamano) *tamano = -1;
    const Descriptor f = AbrirArchivoEn(carpeta, nombre, O_RDONLY, 0, error);
    if (!f) return std::nullopt;
    struct stat info{};
    if (::fstat(f.fd(), &info) != 0) {
        Poner(error, errno);
        return std::nullopt;
    }
    const auto grande = [&](qint64 n) {
        if (tamano) *tamano = n;
        Poner(error, EFBIG);
        return std::nullopt;
    };
    if (info.st_size > limite) return grande(info.st_size);
    QByteArray datos;
    datos.reserve(static_cast<qsizetype>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(f.fd(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            Poner(error, errno);
            return std::nullopt;
        }
        // A file still growing is cut off at the limit, not followed.
        if (datos.size() + n > limite) return grande(datos.size() + n);
        datos.append(buffer, n);
    }
    Poner(error, 0);
    if (tamano) *tamano = datos.size();
    return datos;
}

std::optional<QByteArray> LeerArchivo(const QString& ruta, qint64 limite, int* error)
{
    const QFileInfo info(ruta);
    const Descriptor carpeta = AbrirCarpeta(info.path() + QStringLiteral("/."), error);
    if (!carpeta) return std::nullopt;
    return LeerArchivoEn(carpeta.fd(), info.fileName(), limite, error);
}

QString DescribirError(int error)
{
    if (error == ELOOP) return QStringLiteral("es un enlace simbólico");
    if (error == ENODEV) return QStringLiteral("no es un archivo común");
    if (error == EFBIG) return QStringLiteral("es demasiado grande");
    if (error == ENOTDIR) return QStringLiteral("no es una carpeta");
    // The system's texts follow the locale, which is C (English) for most desktops here.
    switch (error) {
    case EISDIR: return QStringLiteral("es una carpeta");
    case ENOENT: return QStringLiteral("no existe");
    case EACCES:
    case EPERM: return QStringLiteral("permiso denegado");
    case ENOSPC: return QStringLiteral("no queda espacio en el disco");
    case EDQUOT: return QStringLiteral("se superó la cuota de disco");
    case EROFS: return QStringLiteral("el disco es de solo lectura");
    case EIO: return QStringLiteral("error de entrada/salida");
    case ENAMETOOLONG: return QStringLiteral("el nombre es demasiado largo");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("está en uso");
    case EEXIST: return QStringLiteral("ya existe");
    case EMFILE:
    case ENFILE: return QStringLiteral("hay demasiados archivos abiertos");
    default: break;
    }
    return QStringLiteral("error %1 del sistema: %2").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
}

}
