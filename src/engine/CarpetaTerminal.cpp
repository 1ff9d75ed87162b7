#include "engine/CarpetaTerminal.h"

#include "platform/Codec1252.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/SinEnlaces.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kUpload = QStringLiteral("upload");
const QString kDownload = QStringLiteral("download");
const QString kTx = QStringLiteral("tx");
const QString kEstado = QStringLiteral("estado.rsp");

constexpr qint32 kErrorAcceso = 75;
constexpr qint32 kErrorES = 57;

// Every entry of the folder whose name equals `nombre` without regard to case.
QStringList Entradas(const QString& carpeta, const QString& nombre)
{
    QStringList result;
    const QDir dir(carpeta);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(nombre, Qt::CaseInsensitive) == 0) result << dir.filePath(e);
    return result;
}

using SinEnlaces::Descriptor;
using SinEnlaces::Tipo;

// Removes every spelling of the file `nombre` in the open folder (a link itself); false when
// one stays.
bool BorrarTodas(int carpeta, const QString& nombre)
{
    bool ok = true;
    for (const SinEnlaces::Entrada& e : SinEnlaces::Listar(carpeta)) {
        if (e.nombre.compare(nombre, Qt::CaseInsensitive) != 0) continue;
        if (e.tipo == Tipo::Carpeta || ::unlinkat(carpeta, QFile::encodeName(e.nombre).constData(), 0) != 0)
            ok = false;
    }
    return ok;
}

// "<path> es un enlace simbólico", "<path>: <the system's reason>".
QString Motivo(const QString& ruta, int error)
{
    const bool frase = error == ELOOP || error == ENOTDIR;
    return ruta + (frase ? QStringLiteral(" ") : QStringLiteral(": ")) + SinEnlaces::DescribirError(error);
}

void Poner(QString* destino, const QString& valor)
{
    if (destino && destino->isEmpty()) *destino = valor;
}

QString SinBarraFinal(QString ruta)
{
    ruta = Paths::Normalize(ruta);
    while (ruta.size() > 1 && ruta.endsWith(QLatin1Char('/'))) ruta.chop(1);
    return ruta;
}

[[noreturn]] void ErrorAcceso(const QString& origen, const QString& ruta)
{
    throw VbError(kErrorAcceso, origen, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta);
}

// Below the working folder no link is followed, neither at the folders nor at the file.
void Escribir(const QString& base, const QString& ruta, const QByteArray& bytes, const QString& origen)
{
    EscrituraSegura w(ruta);
    w.NoSeguirEnlacesDesde(base);
    if (!w.Abrir()) {
        for (const int e : {ELOOP, ENODEV, EISDIR})
            if (w.Error().endsWith(SinEnlaces::DescribirError(e)))
                throw VbError(kErrorAcceso, origen, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta +
                                                        QStringLiteral(" (") + SinEnlaces::DescribirError(e) +
                                                        QStringLiteral(")"));
        ErrorAcceso(origen, ruta);
    }
    if (!w.Escribir(bytes) || !w.Confirmar())
        throw VbError(kErrorES, origen, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
}

// The working folder, which may itself be a link (an installer's choice).
Descriptor AbrirBase(const QString& base, int* error)
{
    const int fd = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (error) *error = fd < 0 ? errno : 0;
    return Descriptor(fd);
}

// The terminal folder, never through a link at its name.
Descriptor AbrirTerminal(const CarpetaTerminal& t, int* error)
{
    if (t.Vacia() || t.CarpetaBase().isEmpty()) {
        if (error) *error = ENOENT;
        return Descriptor();
    }
    const Descriptor base = AbrirBase(t.CarpetaBase(), error);
    if (!base) return Descriptor();
    return SinEnlaces::AbrirCarpetaEn(base.fd(), t.Nombre(), error);
}

// The subfolder `nombre` of an open folder in any spelling, never a link: invalid with ENOENT
// when there is none, ELOOP when it is a link. `real` receives the spelling found.
Descriptor AbrirSub(int carpeta, const QString& nombre, int* error, QString* real = nullptr)
{
    const SinEnlaces::Entrada e = SinEnlaces::BuscarEn(carpeta, nombre);
    if (real) *real = e.nombre.isEmpty() ? nombre : e.nombre;
    if (e.nombre.isEmpty()) {
        if (error) *error = ENOENT;
        return Descriptor();
    }
    return SinEnlaces::AbrirCarpetaEn(carpeta, e.nombre, error);
}

// Every spelling of `nombre` in the open folder that is a link.
QString EnlaceEntre(int carpeta, const QString& nombre)
{
    for (const SinEnlaces::Entrada& e : SinEnlaces::Listar(carpeta))
        if (e.tipo == Tipo::Enlace && e.nombre.compare(nombre, Qt::CaseInsensitive) == 0) return e.nombre;
    return QString();
}

// Why a file of the client is not read: "<path> (es un enlace simbólico)", "<path> (8 bytes;
// el máximo es ...)".
QString Ilegible(const QString& ruta, int error, qint64 tamano, qint64 limite)
{
    if (error == EFBIG)
        return QStringLiteral("El cliente dejó un archivo demasiado grande: %1 (%2 bytes; el máximo es %3 bytes)")
            .arg(ruta)
            .arg(tamano)
            .arg(limite);
    return QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta + QStringLiteral(" (") +
           SinEnlaces::DescribirError(error) + QStringLiteral(")");
}

// Reads the file `nombre` (any case) of an open folder of the client, raising as LeerRespuesta.
std::optional<QByteArray> LeerDelCliente(int carpeta, const QString& rutaCarpeta, const QString& nombre,
                                         const QString& origen, bool carpetaComoAusente = false)
{
    const SinEnlaces::Entrada e = SinEnlaces::BuscarEn(carpeta, nombre);
    if (e.nombre.isEmpty() || (carpetaComoAusente && e.tipo == Tipo::Carpeta)) return std::nullopt;
    const QString ruta = Paths::Join(rutaCarpeta, e.nombre);
    int error = 0;
    qint64 tamano = -1;
    const std::optional<QByteArray> datos =
        SinEnlaces::LeerArchivoEn(carpeta, e.nombre, CarpetaTerminal::kLimiteArchivo, &error, &tamano);
    if (datos) return datos;
    if (error == EIO) throw VbError(kErrorES, origen, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
    throw VbError(kErrorAcceso, origen, Ilegible(ruta, error, tamano, CarpetaTerminal::kLimiteArchivo));
}

// The open tx of the working folder, never a link.
Descriptor AbrirDisparo(const QString& base)
{
    int error = 0;
    const Descriptor b = AbrirBase(base, &error);
    if (!b) return Descriptor();
    return AbrirSub(b.fd(), kTx, &error);
}

// Opens the file `nombre` of an open folder (one already there, in any spelling, as it is) for
// appending, created empty when missing, and closes it again: nothing is ever written into
// it. Its path, or empty with the message naming it in `motivo` and the error in `error`.
QString Agregar(int carpeta, const QString& rutaCarpeta, const QString& nombre, QString* motivo, int* error = nullptr)
{
    const SinEnlaces::Entrada e = SinEnlaces::BuscarEn(carpeta, nombre);
    const QString real = e.nombre.isEmpty() ? nombre : e.nombre;
    const QString ruta = Paths::Join(rutaCarpeta, real);
    int falla = 0;
    const bool hecho = SinEnlaces::AbrirArchivoEn(carpeta, real, O_WRONLY | O_CREAT | O_APPEND, 0666, &falla).Valido();
    if (error) *error = falla;
    if (hecho) return ruta;
    Poner(motivo, Ilegible(ruta, falla, -1, 0));
    return QString();
}

}

CarpetaTerminal::CarpetaTerminal(const QString& ruta)
{
    m_Ruta = SinBarraFinal(ruta);
    if (m_Ruta.isEmpty()) return;
    m_Nombre = Paths::LastComponent(m_Ruta);
    const int barra = m_Ruta.lastIndexOf(QLatin1Char('/'));
    m_Base = barra < 0 ? QString() : Paths::WithTrailingSlash(m_Ruta.left(barra + 1));
}

CarpetaTerminal::CarpetaTerminal(const QString& carpetaBase, const QString& nombre)
    : m_Base(Paths::WithTrailingSlash(carpetaBase)), m_Nombre(nombre)
{
    if (!m_Base.isEmpty() && !m_Nombre.isEmpty()) m_Ruta = m_Base + m_Nombre;
}

// ---- Paths ------------------------------------------------------------------------------

QString CarpetaTerminal::CarpetaDisparo(const QString& carpetaBase)
{
    const QString base = Paths::WithTrailingSlash(carpetaBase);
    if (base.isEmpty()) return QString();
    const QString tx = Paths::FindCaseInsensitive(base, kTx);
    return tx.isEmpty() ? base + kTx : tx;
}

void CarpetaTerminal::AsegurarCarpetaDisparo(const QString& carpetaBase)
{
    const QString base = Paths::WithTrailingSlash(carpetaBase);
    if (base.isEmpty()) return;
    const QString tx = Paths::FindCaseInsensitive(base, kTx);
    if (tx.isEmpty() || !QFileInfo(tx).isDir()) QDir().mkdir(base + kTx);
}

QString CarpetaTerminal::ArchivoDisparador() const
{
    if (m_Base.isEmpty() || m_Nombre.isEmpty()) return QString();
    return Paths::Join(CarpetaDisparo(m_Base), m_Nombre);
}

QString CarpetaTerminal::ArchivoEstado() const { return m_Ruta.isEmpty() ? QString() : Paths::Join(m_Ruta, kEstado); }

QString CarpetaTerminal::Subida() const
{
    if (m_Ruta.isEmpty()) return QString();
    const QString s = Paths::FindCaseInsensitive(m_Ruta, kUpload);
    return s.isEmpty() ? Paths::Join(m_Ruta, kUpload) : s;
}

QString CarpetaTerminal::Descarga() const
{
    if (m_Ruta.isEmpty()) return QString();
    const QString s = Paths::FindCaseInsensitive(m_Ruta, kDownload);
    return s.isEmpty() ? Paths::Join(m_Ruta, kDownload) : s;
}

bool CarpetaTerminal::Existe() const { return !m_Ruta.isEmpty() && !Entradas(m_Base, m_Nombre).isEmpty(); }

// ---- Preparing and clearing -------------------------------------------------------------

bool CarpetaTerminal::Crear(QString* motivo) const
{
    if (m_Ruta.isEmpty()) return false;
    int error = 0;
    const Descriptor base = AbrirBase(m_Base, &error);
    if (!base) {
        Poner(motivo, Motivo(m_Base, error));
        return false;
    }
    const QByteArray nombre = QFile::encodeName(m_Nombre);
    if (SinEnlaces::TipoEn(base.fd(), m_Nombre) == Tipo::Ninguno && ::mkdirat(base.fd(), nombre.constData(), 0777) != 0
        && errno != EEXIST) {
        Poner(motivo, Motivo(m_Ruta, errno));
        return false;
    }
    const Descriptor terminal = SinEnlaces::AbrirCarpetaEn(base.fd(), m_Nombre, &error);
    if (!terminal) {
        Poner(motivo, Motivo(m_Ruta, error));
        return false;
    }
    for (const QString& sub : {kUpload, kDownload}) {
        // A link in any spelling would take the request or the answers elsewhere.
        const QString enlace = EnlaceEntre(terminal.fd(), sub);
        if (!enlace.isEmpty()) {
            Poner(motivo, Motivo(Paths::Join(m_Ruta, enlace), ELOOP));
            return false;
        }
        QString real;
        if (AbrirSub(terminal.fd(), sub, &error, &real)) continue;
        if (error != ENOENT || ::mkdirat(terminal.fd(), QFile::encodeName(sub).constData(), 0777) != 0) {
            Poner(motivo, Motivo(Paths::Join(m_Ruta, real), error != ENOENT ? error : errno));
            return false;
        }
    }
    return true;
}

int CarpetaTerminal::Reservar() const
{
    if (m_Ruta.isEmpty()) return -1;
    if (Existe()) return 0;
    if (QDir().mkdir(m_Ruta)) return 1;
    return QFileInfo::exists(m_Ruta) ? 0 : -1;
}

bool CarpetaTerminal::Vaciar(const QString& sub, QStringList* borrados, QString* motivo) const
{
    if (m_Ruta.isEmpty()) return false;
    int error = 0;
    const Descriptor terminal = AbrirTerminal(*this, &error);
    if (!terminal) {
        Poner(motivo, Motivo(m_Ruta, error));
        return false;
    }
    bool ok = true;
    for (const SinEnlaces::Entrada& e : SinEnlaces::Listar(terminal.fd())) {
        if (e.nombre.compare(sub, Qt::CaseInsensitive) != 0) continue;
        const QString ruta = Paths::Join(m_Ruta, e.nombre);
        const Descriptor carpeta = SinEnlaces::AbrirCarpetaEn(terminal.fd(), e.nombre, &error);
        if (!carpeta) {
            // Emptying what a link points to would delete outside the working folder.
            Poner(motivo, Motivo(ruta, error));
            ok = false;
            continue;
        }
        if (borrados) {
            for (const SinEnlaces::Entrada& f : SinEnlaces::Listar(carpeta.fd()))
                if (f.tipo == Tipo::Archivo || f.tipo == Tipo::Enlace) borrados->append(Paths::Join(ruta, f.nombre));
        }
        error = SinEnlaces::VaciarCarpeta(carpeta.fd());
        for (const SinEnlaces::Entrada& f : SinEnlaces::Listar(carpeta.fd()))
            if (f.tipo == Tipo::Archivo || f.tipo == Tipo::Enlace) error = error ? error : EACCES;
        if (error) {
            Poner(motivo, Motivo(ruta, error));
            ok = false;
        }
    }
    return ok;
}

bool CarpetaTerminal::VaciarSubida(QString* motivo) const { return Vaciar(kUpload, nullptr, motivo); }

bool CarpetaTerminal::VaciarDescarga(QStringList& borrados, QString* motivo) const
{
    return Vaciar(kDownload, &borrados, motivo);
}

bool CarpetaTerminal::BorrarEstado() const
{
    const Descriptor terminal = AbrirTerminal(*this, nullptr);
    return terminal && BorrarTodas(terminal.fd(), kEstado);
}

std::optional<QByteArray> CarpetaTerminal::LeerEstado(QString* falla, bool consulta) const
{
    if (falla) falla->clear();
    const Descriptor terminal = AbrirTerminal(*this, nullptr);
    if (!terminal) return std::nullopt;
    const SinEnlaces::Entrada e = SinEnlaces::BuscarEn(terminal.fd(), kEstado);
    if (e.nombre.isEmpty()) return std::nullopt;
    int error = 0;
    qint64 tamano = -1;
    std::optional<QByteArray> datos = SinEnlaces::LeerArchivoEn(terminal.fd(), e.nombre, kLimiteEstado, &error, &tamano);
    // Absent or not yet readable: the client may still be writing it.
    if (datos || (error != ELOOP && error != ENODEV && error != EFBIG)) return datos;
    if (falla) {
        const QString quien = error == EFBIG ? QStringLiteral("%1, %2 bytes").arg(e.nombre).arg(tamano) : e.nombre;
        const QString por = error == EFBIG ? QString() : QStringLiteral(": ") + SinEnlaces::DescribirError(error);
        *falla = QStringLiteral("-2: El estado del cliente (%1) no se pudo leer%2").arg(quien, por);
        if (!consulta) *falla += QStringLiteral("; la operación pudo haberse realizado: verifíquela antes de repetirla");
    }
    return std::nullopt;
}

bool CarpetaTerminal::BorrarDeSubida(const QString& nombre) const
{
    const Descriptor terminal = AbrirTerminal(*this, nullptr);
    if (!terminal) return false;
    const Descriptor subida = AbrirSub(terminal.fd(), kUpload, nullptr);
    return subida && BorrarTodas(subida.fd(), nombre);
}

bool CarpetaTerminal::BorrarEstadoDeBase(const QString& carpetaBase)
{
    const Descriptor base = AbrirBase(Paths::WithTrailingSlash(carpetaBase), nullptr);
    return base && BorrarTodas(base.fd(), kEstado);
}

bool CarpetaTerminal::CrearDisparador(bool exigirCarpeta) const
{
    if (m_Base.isEmpty() || m_Nombre.isEmpty()) return !exigirCarpeta;
    const QString enlace = [&] {
        const Descriptor b = AbrirBase(m_Base, nullptr);
        return b ? EnlaceEntre(b.fd(), kTx) : QString();
    }();
    const Descriptor tx = AbrirDisparo(m_Base);
    if (!tx) return enlace.isEmpty() && !exigirCarpeta; // a "tx" that is a link is refused, not skipped
    // Deleted and made anew: the client watches for the trigger to appear.
    BorrarTodas(tx.fd(), m_Nombre);
    return SinEnlaces::AbrirArchivoEn(tx.fd(), m_Nombre, O_WRONLY | O_CREAT | O_EXCL, 0666).Valido();
}

bool CarpetaTerminal::AsegurarDisparador(bool exigirCarpeta, QString* motivo) const
{
    if (m_Base.isEmpty() || m_Nombre.isEmpty()) return !exigirCarpeta;
    const Descriptor b = AbrirBase(m_Base, nullptr);
    const QString txEnlace = b ? EnlaceEntre(b.fd(), kTx) : QString();
    const Descriptor tx = AbrirDisparo(m_Base);
    if (!tx) {
        if (!txEnlace.isEmpty()) Poner(motivo, Ilegible(m_Base + txEnlace, ELOOP, -1, 0));
        return txEnlace.isEmpty() && !exigirCarpeta;
    }
    return !Agregar(tx.fd(), CarpetaDisparo(m_Base), m_Nombre, motivo).isEmpty();
}

bool CarpetaTerminal::CrearDisparadorEn(const QString& carpeta, QString* motivo) const
{
    if (m_Nombre.isEmpty()) return false;
    const QString ruta = SinBarraFinal(carpeta);
    const Descriptor c = ruta.isEmpty() ? Descriptor() : AbrirBase(ruta, nullptr);
    return c && !Agregar(c.fd(), ruta, m_Nombre, motivo).isEmpty();
}

bool CarpetaTerminal::ExisteDisparador() const { return ExisteMarcador(m_Base, m_Nombre); }

bool CarpetaTerminal::BorrarDisparador() const { return BorrarMarcador(m_Base, m_Nombre); }

bool CarpetaTerminal::ExisteMarcador(const QString& carpetaBase, const QString& nombre)
{
    const Descriptor tx = AbrirDisparo(Paths::WithTrailingSlash(carpetaBase));
    return tx && !nombre.isEmpty() && !SinEnlaces::BuscarEn(tx.fd(), nombre).nombre.isEmpty();
}

bool CarpetaTerminal::BorrarMarcador(const QString& carpetaBase, const QString& nombre)
{
    const Descriptor tx = AbrirDisparo(Paths::WithTrailingSlash(carpetaBase));
    return tx && !nombre.isEmpty() && BorrarTodas(tx.fd(), nombre);
}

QString CarpetaTerminal::CrearMarcador(const QString& carpetaBase, const QString& nombre, int* error, QString* motivo)
{
    const QString base = Paths::WithTrailingSlash(carpetaBase);
    const Descriptor tx = AbrirDisparo(base);
    if (!tx) {
        if (error) *error = ENOENT;
        return QString();
    }
    return Agregar(tx.fd(), CarpetaDisparo(base), nombre, motivo, error);
}

void CarpetaTerminal::Borrar(bool conContenido) const
{
    if (m_Base.isEmpty() || m_Nombre.isEmpty() || m_Nombre == QLatin1String(".") || m_Nombre == QLatin1String("..") ||
        m_Nombre.contains(QLatin1Char('/')) || m_Nombre.contains(QLatin1Char('\\')))
        return;
    const Descriptor base = AbrirBase(m_Base, nullptr);
    if (!base) return;
    const Tipo tipo = SinEnlaces::TipoEn(base.fd(), m_Nombre);
    if (tipo == Tipo::Enlace) {
        ::unlinkat(base.fd(), QFile::encodeName(m_Nombre).constData(), 0);
        return;
    }
    if (tipo != Tipo::Carpeta) return;
    if (conContenido) {
        SinEnlaces::BorrarArbolEn(base.fd(), m_Nombre);
        return;
    }
    const Descriptor terminal = SinEnlaces::AbrirCarpetaEn(base.fd(), m_Nombre);
    if (!terminal) return;
    for (const QString& sub : {kUpload, kDownload}) {
        for (const SinEnlaces::Entrada& e : SinEnlaces::Listar(terminal.fd())) {
            if (e.tipo != Tipo::Carpeta || e.nombre.compare(sub, Qt::CaseInsensitive) != 0) continue;
            const Descriptor c = SinEnlaces::AbrirCarpetaEn(terminal.fd(), e.nombre);
            if (!c) continue;
            SinEnlaces::VaciarCarpeta(c.fd());
            ::unlinkat(terminal.fd(), QFile::encodeName(e.nombre).constData(), AT_REMOVEDIR);
        }
    }
    SinEnlaces::VaciarCarpeta(terminal.fd());
    ::unlinkat(base.fd(), QFile::encodeName(m_Nombre).constData(), AT_REMOVEDIR);
}

// ---- Request files ----------------------------------------------------------------------

void CarpetaTerminal::GrabarArchivo(const QString& nombre, const QByteArray& bytes, const QString& origen,
                                    bool crearSubida) const
{
    const QString carpeta = Subida();
    if (carpeta.isEmpty() || (!QFileInfo(carpeta).isDir() && !(crearSubida && Crear())))
        throw VbError(VbError::PathNotFound, origen, QStringLiteral("No se encontró la ruta de acceso: ") + carpeta);
    Escribir(m_Base, Paths::Join(Subida(), nombre), bytes, origen);
}

void CarpetaTerminal::GrabarRegistro(const QString& nombre, qint32 posicion, int largo, const QByteArray& bytes,
                                     const QString& origen) const
{
    const QString carpeta = Subida();
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir())
        throw VbError(VbError::PathNotFound, origen, QStringLiteral("No se encontró la ruta de acceso: ") + carpeta);
    const QString ruta = Paths::Join(carpeta, nombre);
    int error = 0;
    const std::optional<QByteArray> anterior = LeerDe(kUpload, nombre, &error);
    if (!anterior && error != ENOENT) ErrorAcceso(origen, ruta + QStringLiteral(" (") + SinEnlaces::DescribirError(error) + QStringLiteral(")"));
    QByteArray datos = anterior.value_or(QByteArray());
    // A record placed past the end leaves zero bytes in between, as a random-access file does.
    const qint64 desde = qint64(posicion - 1) * largo;
    if (datos.size() < desde) datos.append(QByteArray(desde - datos.size(), '\0'));
    datos = datos.left(desde) + bytes + datos.mid(desde + bytes.size());
    Escribir(m_Base, ruta, datos, origen);
}

std::optional<QByteArray> CarpetaTerminal::LeerDe(const QString& sub, const QString& nombre, int* error) const
{
    const Descriptor terminal = AbrirTerminal(*this, error);
    if (!terminal) return std::nullopt;
    const Descriptor carpeta = AbrirSub(terminal.fd(), sub, error);
    if (!carpeta) return std::nullopt;
    const SinEnlaces::Entrada e = SinEnlaces::BuscarEn(carpeta.fd(), nombre);
    if (e.nombre.isEmpty()) {
        if (error) *error = ENOENT;
        return std::nullopt;
    }
    if (e.tipo == Tipo::Enlace) {
        if (error) *error = ELOOP;
        return std::nullopt;
    }
    return SinEnlaces::LeerArchivoEn(carpeta.fd(), e.nombre, kLimiteArchivo, error);
}

std::optional<QByteArray> CarpetaTerminal::LeerSubida(const QString& nombre) const { return LeerDe(kUpload, nombre); }

// ---- Answer files -----------------------------------------------------------------------

bool CarpetaTerminal::ExisteRespuesta(const QString& nombre) const
{
    if (m_Ruta.isEmpty()) return false;
    const QString down = Paths::FindCaseInsensitive(m_Ruta, kDownload);
    return !down.isEmpty() && !Paths::FindCaseInsensitive(down, nombre).isEmpty();
}

bool CarpetaTerminal::ExisteDescarga() const
{
    const Descriptor terminal = AbrirTerminal(*this, nullptr);
    return terminal && SinEnlaces::BuscarEn(terminal.fd(), kDownload).tipo != Tipo::Ninguno;
}

std::optional<QByteArray> CarpetaTerminal::LeerRespuesta(const QString& nombre, const QString& origen) const
{
    if (m_Ruta.isEmpty()) return std::nullopt;
    int error = 0;
    const Descriptor terminal = AbrirTerminal(*this, &error);
    if (!terminal) {
        if (error == ENOENT) return std::nullopt;
        ErrorAcceso(origen, m_Ruta + QStringLiteral(" (") + SinEnlaces::DescribirError(error) + QStringLiteral(")"));
    }
    QString real;
    const Descriptor down = AbrirSub(terminal.fd(), kDownload, &error, &real);
    const QString rutaDown = Paths::Join(m_Ruta, real);
    if (!down) {
        if (error == ENOENT) return std::nullopt;
        ErrorAcceso(origen, rutaDown + QStringLiteral(" (") + SinEnlaces::DescribirError(error) + QStringLiteral(")"));
    }
    // An answer that is a link is not read: it could show the user any file of the PC.
    return LeerDelCliente(down.fd(), rutaDown, nombre, origen);
}

std::optional<QByteArray> CarpetaTerminal::LeerDeBase(const QString& carpetaBase, const QString& nombre,
                                                      const QString& origen, bool carpetaComoAusente)
{
    const QString base = Paths::WithTrailingSlash(carpetaBase);
    if (base.isEmpty()) return std::nullopt;
    int error = 0;
    const Descriptor b = AbrirBase(base, &error);
    if (!b) {
        if (error == ENOENT) return std::nullopt;
        ErrorAcceso(origen, base + QStringLiteral(" (") + SinEnlaces::DescribirError(error) + QStringLiteral(")"));
    }
    return LeerDelCliente(b.fd(), base, nombre, origen, carpetaComoAusente);
}

std::optional<QStringList> CarpetaTerminal::LeerRegistros(const QString& nombre, int largo, const QString& origen) const
{
    const std::optional<QByteArray> datos = LeerRespuesta(nombre, origen);
    if (!datos) return std::nullopt;
    QStringList registros;
    // Comments and authorization numbers are shown and logged: a NUL in them becomes a blank.
    for (qsizetype i = 0; i < datos->size(); i += largo)
        registros << Codec1252::sinNulos(Codec1252::decode(datos->mid(i, largo)));
    return registros;
}

std::optional<QString> CarpetaTerminal::LeerTexto(const QString& nombre, const QString& origen, qint32* lineas) const
{
    if (lineas) *lineas = 0;
    const std::optional<QByteArray> datos = LeerRespuesta(nombre, origen);
    if (!datos) return std::nullopt;
    // A line end at the very end closes the last line; it does not open another.
    QStringList partes = Lineas::Separar(Codec1252::decode(*datos));
    if (partes.last().isEmpty()) partes.removeLast();
    QString texto;
    for (const QString& l : partes) texto += l + QStringLiteral("\r\n");
    if (lineas) *lineas = static_cast<qint32>(partes.size());
    return texto;
}
