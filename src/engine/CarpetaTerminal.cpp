#include "engine/CarpetaTerminal.h"

#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Removes every spelling of the file `nombre` in the folder; false when one stays.
bool BorrarTodas(const QString& carpeta, const QString& nombre)
{
    bool ok = true;
    for (const QString& p : Entradas(carpeta, nombre)) {
        const QFileInfo info(p);
        if (info.isDir() && !info.isSymLink()) { ok = false; continue; }
        if (!QFile::remove(p)) ok = false;
    }
    return ok;
}

// Deletes the files (and links) directly inside a folder, never following a link.
void VaciarCarpeta(const QString& carpeta)
{
    const QDir dir(carpeta);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& e : entries)
        if (e.isSymLink() || !e.isDir()) QFile::remove(e.filePath());
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

void Escribir(const QString& ruta, const QByteArray& bytes, const QString& origen)
{
    EscrituraSegura w(ruta);
    if (!w.Abrir()) ErrorAcceso(origen, ruta);
    if (!w.Escribir(bytes) || !w.Confirmar())
        throw VbError(kErrorES, origen, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
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

bool CarpetaTerminal::Crear() const
{
    if (m_Ruta.isEmpty()) return false;
    if (!QFileInfo(m_Ruta).isDir() && !QDir().mkdir(m_Ruta)) return false;
    for (const QString& sub : {kUpload, kDownload}) {
        const QString ruta = Paths::Join(m_Ruta, sub);
        if (!QFileInfo(ruta).isDir() && !QDir().mkdir(ruta)) return false;
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

bool CarpetaTerminal::VaciarSubida() const
{
    bool ok = true;
    for (const QString& up : Entradas(m_Ruta, kUpload)) {
        const std::optional<QStringList> files = General::ListarArchivos(up);
        if (!files || !General::BorrarArchivos(*files)) ok = false;
    }
    return ok;
}

bool CarpetaTerminal::VaciarDescarga(QStringList& borrados) const
{
    if (m_Ruta.isEmpty()) return false;
    bool ok = true;
    for (const QString& down : Entradas(m_Ruta, kDownload)) {
        const std::optional<QStringList> files = General::ListarArchivos(down);
        if (!files) { ok = false; continue; }
        borrados << *files;
        if (!General::BorrarArchivos(*files)) ok = false;
        const std::optional<QStringList> left = General::ListarArchivos(down);
        if (!left || !left->isEmpty()) ok = false;
    }
    return ok;
}

bool CarpetaTerminal::BorrarEstado() const { return BorrarTodas(m_Ruta, kEstado); }

bool CarpetaTerminal::CrearDisparador(bool exigirCarpeta) const
{
    const QString tx = Paths::FindCaseInsensitive(m_Base, kTx);
    if (tx.isEmpty() || !QFileInfo(tx).isDir()) return !exigirCarpeta;
    BorrarTodas(tx, m_Nombre);
    QFile trigger(Paths::Join(tx, m_Nombre));
    if (!trigger.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    trigger.close();
    return true;
}

bool CarpetaTerminal::CrearDisparadorEn(const QString& carpeta) const
{
    if (m_Nombre.isEmpty() || !QFileInfo(carpeta).isDir()) return false;
    QFile trigger(Paths::Join(carpeta, m_Nombre));
    if (!trigger.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    trigger.close();
    return true;
}

void CarpetaTerminal::Borrar() const
{
    if (m_Base.isEmpty() || m_Nombre.isEmpty() || m_Nombre == QLatin1String(".") || m_Nombre == QLatin1String("..") ||
        m_Nombre.contains(QLatin1Char('/')) || m_Nombre.contains(QLatin1Char('\\')))
        return;
    const QFileInfo info(m_Ruta);
    if (info.isSymLink()) {
        QFile::remove(m_Ruta);
        return;
    }
    if (!info.isDir()) return;
    for (const QString& sub : {kUpload, kDownload}) {
        for (const QString& ruta : Entradas(m_Ruta, sub)) {
            const QFileInfo s(ruta);
            if (s.isSymLink() || !s.isDir()) continue;
            VaciarCarpeta(ruta);
            QDir().rmdir(ruta);
        }
    }
    VaciarCarpeta(m_Ruta);
    QDir().rmdir(m_Ruta);
}

// ---- Request files ----------------------------------------------------------------------

void CarpetaTerminal::GrabarArchivo(const QString& nombre, const QByteArray& bytes, const QString& origen,
                                    bool crearSubida) const
{
    const QString carpeta = Subida();
    if (carpeta.isEmpty() || (!QFileInfo(carpeta).isDir() && !(crearSubida && QDir().mkpath(carpeta))))
        throw VbError(VbError::PathNotFound, origen, QStringLiteral("No se encontró la ruta de acceso: ") + carpeta);
    Escribir(Paths::Join(carpeta, nombre), bytes, origen);
}

void CarpetaTerminal::GrabarRegistro(const QString& nombre, qint32 posicion, int largo, const QByteArray& bytes,
                                     const QString& origen) const
{
    const QString carpeta = Subida();
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir())
        throw VbError(VbError::PathNotFound, origen, QStringLiteral("No se encontró la ruta de acceso: ") + carpeta);
    const QString ruta = Paths::Join(carpeta, nombre);
    QByteArray datos;
    if (QFileInfo::exists(ruta)) {
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly)) ErrorAcceso(origen, ruta);
        datos = f.readAll();
    }
    // A record placed past the end leaves zero bytes in between, as a random-access file does.
    const qint64 desde = qint64(posicion - 1) * largo;
    if (datos.size() < desde) datos.append(QByteArray(desde - datos.size(), '\0'));
    datos = datos.left(desde) + bytes + datos.mid(desde + bytes.size());
    Escribir(ruta, datos, origen);
}

std::optional<QByteArray> CarpetaTerminal::LeerSubida(const QString& nombre) const
{
    const QString ruta = Paths::FindCaseInsensitive(Subida(), nombre);
    if (ruta.isEmpty()) return std::nullopt;
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

// ---- Answer files -----------------------------------------------------------------------

bool CarpetaTerminal::ExisteRespuesta(const QString& nombre) const
{
    if (m_Ruta.isEmpty()) return false;
    const QString down = Paths::FindCaseInsensitive(m_Ruta, kDownload);
    return !down.isEmpty() && !Paths::FindCaseInsensitive(down, nombre).isEmpty();
}

std::optional<QByteArray> CarpetaTerminal::LeerRespuesta(const QString& nombre, const QString& origen) const
{
    if (m_Ruta.isEmpty()) return std::nullopt;
    const QString down = Paths::FindCaseInsensitive(m_Ruta, kDownload);
    if (down.isEmpty()) return std::nullopt;
    const QFileInfo carpeta(down);
    if (!carpeta.isDir() || !carpeta.isReadable()) ErrorAcceso(origen, down);
    const QString ruta = Paths::FindCaseInsensitive(down, nombre);
    if (ruta.isEmpty()) return std::nullopt;
    QFile file(ruta);
    if (!QFileInfo(ruta).isFile() || !file.open(QIODevice::ReadOnly)) ErrorAcceso(origen, ruta);
    const QByteArray datos = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VbError(kErrorES, origen, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
    return datos;
}

std::optional<QStringList> CarpetaTerminal::LeerRegistros(const QString& nombre, int largo, const QString& origen) const
{
    const std::optional<QByteArray> datos = LeerRespuesta(nombre, origen);
    if (!datos) return std::nullopt;
    QStringList registros;
    for (qsizetype i = 0; i < datos->size(); i += largo) registros << Codec1252::decode(datos->mid(i, largo));
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
