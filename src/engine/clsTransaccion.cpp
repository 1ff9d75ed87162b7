#include "engine/clsTransaccion.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/clsCierres.h"
#include "engine/clsItemTicket.h"
#include "engine/clsTicket.h"
#include "engine/clsVademecum.h"
#include "engine/modUtils.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QFileInfo>

namespace {

constexpr qint32 kErrorAcceso = 75;

QString CodigoDosCifras(const QString& valor, const QString& defecto)
{
    QString v = Vb::Trim(valor);
    if (v.isEmpty()) v = defecto;
    return Vb::Right(QStringLiteral("00") + v, 2);
}

}

clsTransaccion::clsTransaccion()
{
    InicializarTransaccion();
    // Only a default: no trigger folder is made until a caller names the working folder, so a
    // sender built before the working folder is known leaves nothing below the data folder.
    AsignarCarpetas(Paths::Join(Paths::DataDir(), QStringLiteral("Term00")));
}

clsTransaccion::~clsTransaccion() = default;

void clsTransaccion::InicializarTransaccion()
{
    m_Ticket = std::make_unique<clsTicket>();
    m_Cierres = std::make_unique<clsCierres>();
    m_Vademecum = std::make_unique<clsVademecum>();
    colItemTicket.clear();
    colItemMedicamento.clear();
    colDiagnostico.clear();
    colErrores.clear();
    colCodigosRechazo = QStringList();
}

void clsTransaccion::FinalizarTransaccion()
{
    m_Ticket.reset();
    m_Cierres.reset();
    m_Vademecum.reset();
    colErrores.clear();
    colCodigosRechazo.reset();
    InicializarTransaccion();
}

// ---- Working folder -------------------------------------------------------------------

QString clsTransaccion::PasoDRUVEX() const { return m_CarpetaBase + m_TerminalFijo; }

void clsTransaccion::setPasoDRUVEX(const QString& value)
{
    AsignarCarpetas(value);
    ::CarpetaTerminal::AsegurarCarpetaDisparo(m_CarpetaBase);
}

void clsTransaccion::AsignarCarpetas(const QString& value)
{
    const QString valor = Paths::Normalize(Vb::Trim(value));
    // Only the last component names a fixed terminal folder: a folder such as
    // /home/teresa/ earlier in the path is part of the client's working folder.
    QString sinBarra = valor;
    while (sinBarra.size() > 1 && sinBarra.endsWith(QLatin1Char('/'))) sinBarra.chop(1);
    const int barra = sinBarra.lastIndexOf(QLatin1Char('/'));
    const QString ultimo = barra < 0 ? QString() : sinBarra.mid(barra + 1);
    if (barra >= 0 && ultimo.startsWith(QLatin1String("TER"), Qt::CaseInsensitive)) {
        m_CarpetaBase = sinBarra.left(barra + 1);
        m_TerminalFijo = ultimo;
    } else {
        m_CarpetaBase = valor;
        m_TerminalFijo.clear();
    }
    m_CarpetaBase = Paths::WithTrailingSlash(Vb::Trim(m_CarpetaBase));
}

QString clsTransaccion::ArchivoDisparador() const { return Terminal().ArchivoDisparador(); }

::CarpetaTerminal clsTransaccion::Terminal() const { return ::CarpetaTerminal(m_CarpetaTerminal); }

void clsTransaccion::setLicencia(const QString& value)
{
    const QString t = Vb::Trim(value);
    m_Licencia = t.size() == 8 ? t : QString();
}

bool clsTransaccion::AdjuntarArchivo(const QString& Archivo)
{
    static const QString kOrigen = QStringLiteral("clsTransaccion.AdjuntarArchivo");
    if (Vb::Trim(Archivo).isEmpty()) {
        m_RutaAdjunto.clear();
        throw VbError(1, kOrigen, QStringLiteral("No se ingresó nombre de archivo."));
    }
    const QFileInfo info(Archivo);
    if (!info.exists() || info.isDir()) {
        m_RutaAdjunto.clear();
        throw VbError(2, kOrigen, QStringLiteral("No existe archivo: ") + Archivo);
    }
    m_RutaAdjunto = Archivo;
    return true;
}

// ---- Terminal folder ------------------------------------------------------------------

bool clsTransaccion::PrepararCarpetaTerminal()
{
    m_MotivoCarpeta.clear();
    if (m_CarpetaBase.isEmpty()) return false;
    if (!m_TerminalFijo.isEmpty()) {
        m_NombreTerminal = m_TerminalFijo;
        m_CarpetaTerminal = m_CarpetaBase + m_NombreTerminal;
    } else {
        // The letters are kept between tries, so every retry asks for a longer name; taking a
        // name is atomic, since a folder that exists is never taken.
        QString letras;
        bool hecho = false;
        for (int intento = 0; intento < 32 && !hecho; ++intento) {
            for (int k = 0; k < 4; ++k)
                letras += QChar(Vb::CInt(Platform::Rnd() * 25 + 65));
            const QString nombre = QStringLiteral("term") + letras;
            const int reserva = ::CarpetaTerminal(m_CarpetaBase, nombre).Reservar();
            if (reserva < 0) return false;
            if (reserva > 0) {
                m_NombreTerminal = nombre;
                m_CarpetaTerminal = m_CarpetaBase + nombre;
                hecho = true;
            }
        }
        if (!hecho) return false;
    }
    const ::CarpetaTerminal terminal = Terminal();
    if (!terminal.Crear(&m_MotivoCarpeta)) return false;
    // Records left by an earlier exchange of a fixed folder must not go out again.
    return terminal.VaciarSubida(&m_MotivoCarpeta);
}

bool clsTransaccion::LimpiarDescargas()
{
    colArchivos.clear();
    if (m_CarpetaTerminal.isEmpty()) return false;
    m_MotivoCarpeta.clear();
    return Terminal().VaciarDescarga(colArchivos, &m_MotivoCarpeta);
}

QByteArray clsTransaccion::RegistroControlSVL0() const
{
    QString registro = QStringLiteral("V250") + CodigoDosCifras(m_CodigoEmpresa, QStringLiteral("11")) +
                       CodigoDosCifras(m_CodigoActividad, QStringLiteral("01"));
    if (!Vb::Trim(m_Licencia).isEmpty())
        registro += (Codec1252::toRepresentable(m_Licencia) + QString(8, QLatin1Char(' '))).left(8);
    return Codec1252::encode(registro);
}

bool clsTransaccion::EscribirControlSVL0()
{
    static const QString kOrigen = QStringLiteral("clsTransaccion.EscribirControlSVL0");
    const ::CarpetaTerminal terminal = Terminal();
    // A stale status, in any spelling, would end the new wait at once.
    if (!terminal.BorrarEstado())
        throw VbError(kErrorAcceso, kOrigen, QStringLiteral("No se pudo borrar el estado de ") + m_CarpetaTerminal);
    try {
        terminal.GrabarArchivo(QStringLiteral("_svl.0"), RegistroControlSVL0(), kOrigen, true);
    } catch (const VbError& e) {
        throw VbError(kErrorAcceso, kOrigen, e.description);
    }
    // The trigger is the last thing written: its appearance tells the client the request is
    // complete. Without a "tx" folder the request stays without a trigger.
    if (!terminal.CrearDisparador())
        throw VbError(kErrorAcceso, kOrigen, QStringLiteral("No se pudo crear ") + terminal.ArchivoDisparador());
    return true;
}

bool clsTransaccion::GrabarArchivoAdjunto()
{
    if (m_RutaAdjunto.isEmpty()) return true;
    // The extension is taken from the file's own name: a dot in a folder name is not one.
    const QString nombre = QFileInfo(Paths::Normalize(m_RutaAdjunto)).fileName();
    const int punto = nombre.indexOf(QLatin1Char('.'));
    const QString extension = punto < 0 ? QString() : nombre.mid(punto);
    QString archivo = QStringLiteral("HEX_") + Vb::Trim(m_Ticket->TarjetaAsociado()) +
                      Vb::Trim(m_Ticket->TicketReferencia()) + extension;
    // A card read from a stripe may hold a "/", which must not lead into another folder.
    archivo.replace(QLatin1Char('/'), QLatin1Char('_'));
    archivo.replace(QLatin1Char('\\'), QLatin1Char('_'));
    // Written as every request file is, through the folders' handles: a link planted in the
    // working folder must not carry the patient's document elsewhere.
    Terminal().GrabarArchivo(archivo, modUtils::LeerArchivoComoHex(m_RutaAdjunto).toLatin1(),
                             QStringLiteral("clsTransaccion.GrabarArchivoAdjunto"));
    return true;
}

void clsTransaccion::BorrarCarpetaTerminal()
{
    // Only a folder directly below the working folder, named as this exchange's terminal,
    // is ever removed: never the client's working folder or anything beside it.
    const ::CarpetaTerminal terminal(m_CarpetaBase, m_NombreTerminal);
    if (terminal.Vacia() || Paths::Normalize(m_CarpetaTerminal) != terminal.Ruta()) return;
    // A per-exchange folder goes whole, whatever the client left in it.
    terminal.Borrar(m_TerminalFijo.isEmpty());
}

// ---- Answer reading -------------------------------------------------------------------

bool clsTransaccion::LeerRespuestaTicket()
{
    colErrores.clear();
    colCodigosRechazo.reset();
    clsItemTicket lector;
    colErrores = lector.LeerSVL2(m_CarpetaTerminal);
    clsItemError cabecera = m_Ticket->LeerSVL1(m_CarpetaTerminal);
    cabecera.Clave = QStringLiteral("SVL3");
    colErrores.append(cabecera);
    return true;
}

// The readers of the close and catalogue answers re-raise under their own names; the
// record classes close their own files.
bool clsTransaccion::LeeRespuestaCierres()
{
    colErrores.clear();
    try {
        clsItemError item = m_Cierres->LeerSAL0(m_CarpetaTerminal);
        item.Clave = QStringLiteral("SAL0");
        colErrores.append(item);
    } catch (const VbError& e) {
        throw VbError(e.number, QStringLiteral("clsTransaccion.LeeRespuestaCierres"), e.description);
    }
    return true;
}

bool clsTransaccion::LeeRespuestaVademecum()
{
    colErrores.clear();
    try {
        clsItemError item = m_Vademecum->LeerSVL7(m_CarpetaTerminal);
        item.Clave = QStringLiteral("SVL7");
        colErrores.append(item);
    } catch (const VbError& e) {
        throw VbError(e.number, QStringLiteral("clsTransaccion.LeeRespuestaVademecum"), e.description);
    }
    return true;
}

std::optional<QString> clsTransaccion::LeerArchivoDescarga(const QString& nombre, qint32* lineas) const
{
    if (lineas) *lineas = 0;
    if (m_CarpetaTerminal.isEmpty()) return std::nullopt;
    return Terminal().LeerTexto(nombre, QStringLiteral("clsTransaccion"), lineas);
}

QString clsTransaccion::LeerTicketPrn()
{
    qint32 lineas = 0;
    const std::optional<QString> texto = LeerArchivoDescarga(QStringLiteral("_ticket.prn"), &lineas);
    // A missing ticket must not leave the count of an earlier ticket behind.
    m_LineasTicket = lineas;
    return Codec1252::sinNulos(texto.value_or(QString()));
}

void clsTransaccion::LeerArchivosSVL()
{
    gSVL1.clear();
    gSVL2.clear();
    gCantidadPrestaciones = 0;
    // The answers are shown and logged: a NUL the client left in them becomes a blank.
    gSVL1 = Codec1252::sinNulos(LeerArchivoDescarga(QStringLiteral("_svl.1")).value_or(QString()));
    qint32 lineas = 0;
    gSVL2 = Codec1252::sinNulos(LeerArchivoDescarga(QStringLiteral("_svl.2"), &lineas).value_or(QString()));
    gCantidadPrestaciones = static_cast<qint16>(qMin<qint32>(lineas, 32767));
}

void clsTransaccion::LeerArchivoSAL2() { gMedicos = LeerArchivoDescarga(QStringLiteral("_sal.2")).value_or(QString()); }
void clsTransaccion::LeerArchivoSAL4() { gDiagnosticos = LeerArchivoDescarga(QStringLiteral("_sal.4")).value_or(QString()); }
void clsTransaccion::LeerArchivoSAL5() { gPracticas = LeerArchivoDescarga(QStringLiteral("_sal.5")).value_or(QString()); }
void clsTransaccion::LeerArchivoSAL6() { gPrestadores = LeerArchivoDescarga(QStringLiteral("_sal.6")).value_or(QString()); }
void clsTransaccion::LeerArchivoSAL7() { gEfectores = LeerArchivoDescarga(QStringLiteral("_sal.7")).value_or(QString()); }
void clsTransaccion::LeerArchivoSAL8() { gVademecum = LeerArchivoDescarga(QStringLiteral("_sal.8")).value_or(QString()); }

QString clsTransaccion::LeerCampoRespuesta(const QString& nombre) const
{
    const QString n = Vb::Trim(nombre).toUpper();
    const clsTicket& t = *m_Ticket;
    if (n == QLatin1String("CODIGORESPUESTA")) return t.CodigoRespuesta();
    if (n == QLatin1String("NUMEROAUTORIZACION")) return t.NumeroAutorizacion();
    if (n == QLatin1String("MENSAJERESPUESTA")) return t.MensajeRespuesta();
    if (n == QLatin1String("NUMEROAUTORIZACIONCOMPLEMENTARIO")) return t.NumeroAutorizacionComplementaria();
    if (n == QLatin1String("COSEGURO")) return t.Coseguro();
    if (n == QLatin1String("PLANASOCIADO")) return t.PlanAsociado();
    if (n == QLatin1String("TIPOASOCIADO")) return t.TipoAsociado();
    if (n == QLatin1String("TARJETAASOCIADO")) return t.TarjetaAsociado();
    return QStringLiteral("Campo inexistente");
}

QString clsTransaccion::LeerDatoError(int tipo, qint16 i) const
{
    if (colErrores.isEmpty() || i < 0) return QString();
    auto campo = [tipo](const clsItemError& e) { return tipo == 1 ? e.Error : e.Comentario; };
    if (i != 0) return i <= colErrores.size() ? campo(colErrores.at(i - 1)) : QString();
    QString kept;
    for (const clsItemError& e : colErrores)
        if (e.Clave == QLatin1String("SVL3")) kept = campo(e);
    return kept;
}

QString clsTransaccion::LeerCodigoError(qint16 i) const { return LeerDatoError(1, i); }
QString clsTransaccion::LeerComentarioError(qint16 i) const { return LeerDatoError(2, i); }

QString clsTransaccion::LeerCodigoRechazo(qint16 i) const
{
    if (!colCodigosRechazo || colCodigosRechazo->isEmpty()) return QString();
    if (i >= 1 && i <= colCodigosRechazo->size()) return colCodigosRechazo->at(i - 1);
    return colCodigosRechazo->first();
}
