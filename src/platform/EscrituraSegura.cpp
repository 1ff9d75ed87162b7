#include "platform/EscrituraSegura.h"

#include "platform/SinEnlaces.h"

#include <QFile>
#include <QRandomGenerator>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<int> g_fallarEn{0};

// Rows of an export are gathered up to this much before they are handed to the system.
constexpr qsizetype kBloque = 64 * 1024;

// True when the operation being counted is the one a test asked to fail.
bool FallaInyectada()
{
    int n = g_fallarEn.load();
    while (n > 0) {
        if (g_fallarEn.compare_exchange_weak(n, n - 1))
            return n == 1;
    }
    return false;
}

QString Sin(QString ruta)
{
    while (ruta.size() > 1 && ruta.endsWith(QLatin1Char('/'))) ruta.chop(1);
    return ruta;
}
}

EscrituraSegura::EscrituraSegura(QString ruta, Modo modo) : m_ruta(std::move(ruta)), m_modo(modo) {}

EscrituraSegura::~EscrituraSegura() { Cancelar(); }

void EscrituraSegura::FallarEnOperacion(int n) { g_fallarEn.store(n > 0 ? n : 0); }

void EscrituraSegura::NoSeguirEnlacesDesde(const QString& carpeta) { m_desde = Sin(carpeta); }

bool EscrituraSegura::Falla(const QString& que)
{
    m_error = que;
    Cancelar();
    return false;
}

bool EscrituraSegura::Abrir()
{
    Cancelar();
    m_error.clear();
    const QString ruta = Sin(m_ruta);
    const int barra = ruta.lastIndexOf(QLatin1Char('/'));
    const QString carpeta = barra < 0 ? QStringLiteral(".") : (barra == 0 ? QStringLiteral("/") : ruta.left(barra));
    const QString nombre = ruta.mid(barra + 1);
    const auto noCrea = [this](int e) {
        return Falla(QStringLiteral("No se pudo crear %1: %2").arg(m_ruta, SinEnlaces::DescribirError(e)));
    };
    if (nombre.isEmpty() || nombre == QLatin1String(".") || nombre == QLatin1String("..")) return noCrea(EISDIR);

    // The folder is opened once and every later step works on that handle, so a name replaced
    // meanwhile by a link cannot redirect the file.
    int error = 0;
    if (!m_desde.isEmpty() && carpeta.startsWith(m_desde + QLatin1Char('/'))) {
        const int base = ::open(QFile::encodeName(m_desde).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (base < 0) return noCrea(errno);
        SinEnlaces::Descriptor d = SinEnlaces::AbrirCarpetaEn(base, carpeta.mid(m_desde.size() + 1), &error);
        ::close(base);
        m_carpeta = d.Soltar();
    } else {
        m_carpeta = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        error = errno;
    }
    if (m_carpeta < 0) return noCrea(error);

    m_nombre = QFile::encodeName(nombre);
    struct stat info{};
    if (::fstatat(m_carpeta, m_nombre.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(info.st_mode)) return noCrea(ELOOP);
        if (S_ISDIR(info.st_mode)) return noCrea(EISDIR);
        // A pipe, a socket or a device there is another program's, not a file to replace.
        if (!S_ISREG(info.st_mode)) return noCrea(ENODEV);
        m_modoAnterior = static_cast<int>(info.st_mode & 07777);
    } else {
        m_modoAnterior = -1;
    }
    // A file for the client gets the read and write bits of the one it replaces (all of them for
    // a new one), less the umask, as the system applies it here: never set-id, sticky or
    // execute bits copied from a file another account planted, never more than a new file
    // gets, and a mode a site narrowed stays narrow.
    const mode_t modo = m_modo == Modo::Propio ? 0600 : (m_modoAnterior >= 0 ? mode_t(m_modoAnterior) & 0666 : 0666);
    for (int intento = 0; intento < 100 && m_archivo < 0; ++intento) {
        m_temporal = m_nombre + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        m_archivo = ::openat(m_carpeta, m_temporal.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             modo);
        if (m_archivo < 0 && errno != EEXIST) break;
    }
    if (m_archivo < 0) {
        const int e = errno;
        m_temporal.clear();
        return noCrea(e);
    }
    return true;
}

bool EscrituraSegura::Volcar()
{
    const char* datos = m_pendiente.constData();
    qsizetype falta = m_pendiente.size();
    while (falta > 0) {
        const ssize_t n = ::write(m_archivo, datos, static_cast<size_t>(falta));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        datos += n;
        falta -= n;
    }
    m_pendiente.clear();
    return true;
}

bool EscrituraSegura::Escribir(const QByteArray& bytes)
{
    if (m_archivo < 0)
        return Falla(QStringLiteral("No se pudo escribir %1: el archivo no está abierto").arg(m_ruta));
    if (FallaInyectada())
        return Falla(QStringLiteral("No se pudo escribir %1: no queda espacio en el disco").arg(m_ruta));
    m_pendiente += bytes;
    if (m_pendiente.size() >= kBloque && !Volcar())
        return Falla(QStringLiteral("No se pudo escribir %1: %2").arg(m_ruta, SinEnlaces::DescribirError(errno)));
    return true;
}

bool EscrituraSegura::Confirmar(bool sincronizar)
{
    if (m_archivo < 0)
        return Falla(QStringLiteral("No se pudo escribir %1: el archivo no está abierto").arg(m_ruta));
    if (FallaInyectada())
        return Falla(QStringLiteral("No se pudo reemplazar %1: no queda espacio en el disco").arg(m_ruta));
    if (!Volcar())
        return Falla(QStringLiteral("No se pudo escribir %1: %2").arg(m_ruta, SinEnlaces::DescribirError(errno)));
    if (sincronizar && ::fsync(m_archivo) != 0)
        return Falla(QStringLiteral("No se pudo escribir %1 en el disco").arg(m_ruta));
    // A file system that keeps no modes (a FAT stick) refuses this; that is no write failure.
    if (m_modo == Modo::Propio)
        (void)::fchmod(m_archivo, 0600);
    const int archivo = m_archivo;
    m_archivo = -1;
    // A network file system may report a failed write only here.
    if (::close(archivo) != 0 && errno != EINTR)
        return Falla(QStringLiteral("No se pudo escribir %1: %2").arg(m_ruta, SinEnlaces::DescribirError(errno)));
    if (::renameat(m_carpeta, m_temporal.constData(), m_carpeta, m_nombre.constData()) != 0)
        return Falla(QStringLiteral("No se pudo reemplazar %1: %2").arg(m_ruta, SinEnlaces::DescribirError(errno)));
    m_temporal.clear();
    if (sincronizar) (void)::fsync(m_carpeta); // the rename itself survives a power cut
    ::close(m_carpeta);
    m_carpeta = -1;
    return true;
}

void EscrituraSegura::Cancelar()
{
    if (m_archivo >= 0) ::close(m_archivo);
    m_archivo = -1;
    if (m_carpeta >= 0) {
        if (!m_temporal.isEmpty()) ::unlinkat(m_carpeta, m_temporal.constData(), 0);
        ::close(m_carpeta);
    }
    m_carpeta = -1;
    m_temporal.clear();
    m_pendiente.clear();
}

bool EscrituraSegura::EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error, bool sincronizar,
                                      Modo modo)
{
    EscrituraSegura w(ruta, modo);
    const bool ok = w.Abrir() && w.Escribir(bytes) && w.Confirmar(sincronizar);
    if (!ok && error)
        *error = w.Error();
    return ok;
}
