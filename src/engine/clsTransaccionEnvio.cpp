// The sender of clsTransaccion: filling a request family and the whole exchange with the
// communications client. The folder protocol and the answer readers live in
// clsTransaccion.cpp.
#include "engine/clsTransaccion.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/clsCierres.h"
#include "engine/clsDiagnostico.h"
#include "engine/clsItemMedicamento.h"
#include "engine/clsItemTicket.h"
#include "engine/clsTicket.h"
#include "engine/clsVademecum.h"
#include "engine/frmMostrarErrores.h"
#include "engine/frmMuestraTicket.h"
#include "engine/frmProcesandoCO.h"
#include "engine/modImpresion.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <algorithm>

namespace {

// The reason a folder step gave, after the folder's name.
QString Detalle(const QString& motivo) { return motivo.isEmpty() ? QString() : QStringLiteral(" (") + motivo + QStringLiteral(")"); }

constexpr qint32 kEsperaConAdjunto = 100000;
constexpr qint32 kEsperaCierre = 50000;
constexpr qint32 kEsperaMaxima = 60000;
constexpr qint32 kEsperaMinima = 1000;

const QString kRespuestaIncompleta = QStringLiteral("-1: Respuesta incompleta del cliente");
const QString kRespuestaIlegible = QStringLiteral("-1: No se pudo leer la respuesta del cliente");

// Restores a flag on every way out of a scope.
struct Marca {
    bool& flag;
    explicit Marca(bool& f) : flag(f) { flag = true; }
    ~Marca() { flag = false; }
};

}

// The member's card, plan and type as the header worked them out; false without a card.
bool clsTransaccion::TomarDatosAsociado()
{
    const clsTicket& t = *m_Ticket;
    if (Vb::Trim(t.TarjetaAsociado()).isEmpty()) return false;
    m_TarjetaAsociado = t.TarjetaAsociado();
    m_PlanAsociado = t.PlanAsociado();
    m_TipoAsociado = t.TipoAsociado();
    return true;
}

void clsTransaccion::setTiempoEspera(qint32 segundos)
{
    const qint64 ms = static_cast<qint64>(segundos) * 1000;
    m_TiempoEspera = static_cast<qint32>(std::clamp<qint64>(ms, kEsperaMinima, kEsperaMaxima));
}

void clsTransaccion::Configurar(const QString& Licencia, const QString& CodigoEmpresa, const QString& CodigoActividad)
{
    setLicencia(Licencia);
    m_CodigoEmpresa = CodigoEmpresa;
    m_CodigoActividad = CodigoActividad;
}

bool clsTransaccion::CompletarSVL1(qint32 Operacion, const QString& Cuit, const QString& Tarjeta,
                                   const QString& TicketReferencia, const QString& TipoMatriculaPrescriptor,
                                   const QString& NumeroMatriculaPrescriptor, const QString& Diagnostico1,
                                   const QString& Diagnostico2, const QString& CodigoDeFinalizacion,
                                   const QString& CuitEfector, const QString& ValorTransaccion,
                                   const QString& FechaDePrestacion, const QString& HoraDePrestacion,
                                   bool TipoIngresoAutomatico, const QString& NumeroTransaccionPrestador,
                                   const QString& DocumentacionExtra, const QString& CodigoSeguridad)
{
    clsTicket& t = *m_Ticket;
    t.setexisto(true);
    // The operation code depends on AUFINA and may override the reference, so it goes last.
    t.setAUCUIT(Cuit);
    t.setTarjeta(Vb::Trim(Tarjeta));
    t.setTicketReferencia(TicketReferencia);
    t.setAUTMAT(TipoMatriculaPrescriptor);
    t.setAUNMAT(NumeroMatriculaPrescriptor);
    t.setDiagnostico1(Diagnostico1);
    t.setDiagnostico2(Diagnostico2);
    t.setAUFINA(CodigoDeFinalizacion);
    t.setCuitEfector(CuitEfector);
    t.setAUNTRA(ValorTransaccion);
    t.setAUFECP(FechaDePrestacion);
    t.setAUHORP(HoraDePrestacion);
    if (TipoIngresoAutomatico) t.setTipoIngresoAsociado(QStringLiteral("A"));
    t.setNumeroTransaccionPrestador(NumeroTransaccionPrestador);
    t.setDocumentacionExtra(DocumentacionExtra);
    t.setCodigoSeguridad(CodigoSeguridad);
    t.setOperacion(Operacion);
    return TomarDatosAsociado();
}

void clsTransaccion::CompletarSVL5(const QString& TipoDocumento, const QString& NumeroDocumento,
                                   const QString& ApellidoNombreEfector, const QString& EspecialidadEfector,
                                   const QString& CodigoProveedorEfector, const QString& TelefonoEfector,
                                   const QString& CorreoElectronicoEfector, const QString& DireccionEfector,
                                   const QString& Latitud, const QString& Longitud,
                                   const QString& ApellidoNombrePrescriptor, const QString& CUITPrescriptor,
                                   const QString& EspecialidadPrescriptor,
                                   const QString& CodigoProveedorMedicoPrescriptor,
                                   const QString& DireccionDerivacion, const QString& Instrucciones,
                                   const QString& NumeroPrescripcion, const QString& TelefonoPaciente,
                                   const QString& CorreoElectronicoPaciente, const QString& DireccionPaciente,
                                   const QString& SolicitaAtencionDomicilio)
{
    const auto especialidad = [](const QString& v) { return Vb::Right(QStringLiteral("000") + v, 3); };
    clsTicket& t = *m_Ticket;
    t.setTipoDocumento(TipoDocumento);
    t.setNumeroDocumento(NumeroDocumento);
    t.setApellidoNombreEfector(ApellidoNombreEfector);
    t.setEspecialidadEfector(especialidad(EspecialidadEfector));
    t.setCodigoProveedorEfector(CodigoProveedorEfector);
    t.setTelefonoEfector(TelefonoEfector);
    t.setCorreoElectronicoEfector(CorreoElectronicoEfector);
    t.setDireccionEfector(DireccionEfector);
    t.setLatitud(Latitud);
    t.setLongitud(Longitud);
    t.setApellidoNombrePrescriptor(ApellidoNombrePrescriptor);
    t.setCUITPrescriptor(CUITPrescriptor);
    t.setEspecialidadPrescriptor(especialidad(EspecialidadPrescriptor));
    t.setCodigoProveedorMedicoPrescriptor(CodigoProveedorMedicoPrescriptor);
    t.setDireccionDerivacion(DireccionDerivacion);
    t.setInstrucciones(Instrucciones);
    t.setNumeroPrescripcion(NumeroPrescripcion);
    t.setTelefonoPaciente(TelefonoPaciente);
    t.setCorreoElectronicoPaciente(CorreoElectronicoPaciente);
    t.setDireccionPaciente(DireccionPaciente);
    t.setSolicitaAtencionDomicilio(SolicitaAtencionDomicilio);
}

bool clsTransaccion::CompletarSVL6(qint32 Operacion, const QString& Tarjeta, const QString& Cuit,
                                   const QString& EnvioDomicilio, const QString& Telefono, const QString& Domicilio,
                                   const QString& CodigoPostal)
{
    clsTicket& t = *m_Ticket;
    t.setexisto(true);
    t.setmedicamentos(true);
    t.setAUCUIT(Cuit);
    t.setTarjeta(Vb::Trim(Tarjeta));
    t.setOperacion(Operacion);
    t.setEnvioDomicilio(EnvioDomicilio);
    t.setTelefono(Telefono);
    t.setDomicilio(Domicilio);
    t.setCodigoPostal(CodigoPostal);
    return TomarDatosAsociado();
}

bool clsTransaccion::CompletarSAL0(qint32 tipo, const QString& NumeroCierre, const QString& FechaDesde,
                                   const QString& FechaHasta, const QString& ActualizaPlanes,
                                   const QString& ActualizaMedicos, const QString& ActualizaMedicamentos,
                                   const QString& ActualizaDiagnosticos, const QString& ActualizaPracticas,
                                   const QString& ActualizaPrestadores, const QString& ActualizaEfectores,
                                   const QString& Cuit)
{
    QString operacion;
    switch (tipo) {
    case 9: operacion = Vb::Val(NumeroCierre) == 0 ? QStringLiteral("06") : QStringLiteral("07"); break;
    case 10: operacion = QStringLiteral("09"); break;
    case 30: operacion = QStringLiteral("30"); break;
    default: break;
    }
    const QString cero = QStringLiteral("0");
    if (operacion.isEmpty() && ActualizaPlanes == cero && ActualizaMedicos == cero && ActualizaMedicamentos == cero &&
        ActualizaDiagnosticos == cero && ActualizaPracticas == cero && ActualizaPrestadores == cero &&
        ActualizaEfectores == cero)
        return false;
    clsCierres& c = *m_Cierres;
    c.setexisto(true);
    c.setOperacion(operacion);
    c.setNumeroCierre(NumeroCierre);
    c.setFechaDesde(FechaDesde);
    c.setFechaHasta(FechaHasta);
    c.setActualizaPlanes(ActualizaPlanes);
    c.setActualizaMedicos(ActualizaMedicos);
    c.setActualizaMedicamentos(ActualizaMedicamentos);
    c.setActualizaDiagnosticos(ActualizaDiagnosticos);
    c.setActualizaPracticas(ActualizaPracticas);
    c.setActualizarPrestadores(ActualizaPrestadores);
    c.setActualizarEfectores(ActualizaEfectores);
    c.setCuit(Cuit);
    return true;
}

bool clsTransaccion::CompletarSAL5(qint32 Operacion, const QString& Tarjeta, const QString& NombreMedicamento,
                                   const QString& Monodroga, const QString& Accion)
{
    clsVademecum& v = *m_Vademecum;
    v.setexisto(true);
    v.setTarjeta(Vb::Trim(Tarjeta));
    v.setOperacion(QString::number(Operacion));
    v.setNombreMedicamento(NombreMedicamento);
    v.setMonodroga(Monodroga);
    v.setAccion(Accion);
    m_TarjetaAsociado = v.Tarjeta();
    return true;
}

bool clsTransaccion::AgregarItemSVL2(const QString& CodigoPrestacion, const QString& TipoPrestacion,
                                     const QString& TipoArancel, const QString& Cantidad, const QString& PiezaDental,
                                     const QString& CaraDental)
{
    auto item = std::make_shared<clsItemTicket>();
    item->setCodigoPrestacion(CodigoPrestacion);
    item->setTipoPrestacion(TipoPrestacion);
    item->setTipoArancel(TipoArancel);
    item->setCantidad(Cantidad);
    item->setPiezaDental(PiezaDental);
    item->setCaraDental(CaraDental);
    colItemTicket.append(item);
    return true;
}

bool clsTransaccion::AgregarItemSVL3(const QString& Troquel, const QString& Cantidad)
{
    auto item = std::make_shared<clsItemMedicamento>();
    item->setTroquel(Troquel);
    item->setCantidad(Cantidad);
    colItemMedicamento.append(item);
    return true;
}

bool clsTransaccion::AgregarItemSVL4(const QString& Diagnostico)
{
    auto item = std::make_shared<clsDiagnostico>();
    item->setDiagnostico(Diagnostico);
    colDiagnostico.append(item);
    return true;
}

// ---- Sending ------------------------------------------------------------------------------

clsTransaccion::Camino clsTransaccion::ElegirCamino() const
{
    // Marks of other families are never cleared; this order decides.
    if (m_Ticket->existo()) return m_Ticket->medicamentos() ? Camino::Prescripcion : Camino::Cabecera;
    if (m_Vademecum->existo()) return Camino::Vademecum;
    if (m_Cierres->existo()) return Camino::Cierre;
    return Camino::Ninguno;
}

bool clsTransaccion::GrabarSolicitud(Camino camino)
{
    switch (camino) {
    case Camino::Prescripcion: {
        if (!m_Ticket->GrabarSVL6(m_CarpetaTerminal)) return false;
        qint16 n = 0;
        for (const auto& item : colItemMedicamento)
            if (!item->GrabarRegistroSVL3(++n, m_CarpetaTerminal)) return false;
        m_UltimaEspera = m_TiempoEspera;
        break;
    }
    case Camino::Cabecera: {
        if (!m_Ticket->GrabarSVL1(m_CarpetaTerminal)) return false;
        if (!m_Ticket->GrabarSVL5(m_CarpetaTerminal)) return false;
        qint16 n = 0;
        for (const auto& d : colDiagnostico)
            if (!d->GrabarRegistroSVL4(++n, m_CarpetaTerminal)) return false;
        n = 0;
        for (const auto& item : colItemTicket)
            if (!item->GrabarRegistroSVL2(++n, m_CarpetaTerminal)) return false;
        // Only this exchange's service records count: upload was emptied by the set-up.
        General::SVL2Actual.clear();
        if (const std::optional<QByteArray> svl2 = Terminal().LeerSubida(QStringLiteral("_svl.2")))
            for (const QString& linea : Lineas::Separar(Codec1252::decode(*svl2)))
                if (!linea.isEmpty()) General::SVL2Actual += linea + QStringLiteral("\r\n");
        if (!GrabarArchivoAdjunto()) return false;
        ControlRepeticion();
        m_UltimaEspera = m_RutaAdjunto.isEmpty() ? m_TiempoEspera : kEsperaConAdjunto;
        break;
    }
    case Camino::Vademecum:
        if (!m_Vademecum->GrabarSVL7(m_CarpetaTerminal)) return false;
        m_UltimaEspera = m_TiempoEspera;
        break;
    case Camino::Cierre:
        if (!m_Cierres->GrabarSAL0(m_CarpetaTerminal)) return false;
        m_UltimaEspera = kEsperaCierre;
        break;
    case Camino::Ninguno:
        return false;
    }
    return EscribirControlSVL0();
}

// A request repeated with only its date, time and transaction number changed goes out as the
// record sent before, so the insurer sees the same request and not a second one.
void clsTransaccion::ControlRepeticion()
{
    using General::SVL1Actual;
    using General::SVL1Anterior;
    const auto piezas = [](const QString& r) {
        return Vb::Left(r, 180) + Vb::Mid(r, 193, 159) + Vb::Right(r, 18);
    };
    if (Vb::Mid(SVL1Actual, 6, 2) != QLatin1String("15") && piezas(SVL1Anterior) == piezas(SVL1Actual) &&
        General::SVL2Actual == General::SVL2Anterior && !SVL1Anterior.isEmpty()) {
        try {
            Terminal().GrabarArchivo(QStringLiteral("_svl.1"), Codec1252::encode(SVL1Anterior + QStringLiteral("\r\n")),
                                     QStringLiteral("clsTransaccion.EnviarTransaccion"));
        } catch (const VbError&) {
            throw VbError(75, QStringLiteral("clsTransaccion.EnviarTransaccion"),
                          QStringLiteral("No se pudo escribir el registro repetido"));
        }
    }
    SVL1Anterior = SVL1Actual;
    General::SVL2Anterior = General::SVL2Actual;
}

QString clsTransaccion::ArmarCodigoBarras(const QString& svl1, const QDate& fecha)
{
    QString valor = Vb::Mid(svl1, 263, 10).trimmed();
    if (valor.startsWith(QLatin1String("98")) || valor.startsWith(QLatin1String("92"))) valor = valor.mid(2);
    return QStringLiteral("*") + fecha.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("JW") + valor +
           QStringLiteral("*");
}

bool clsTransaccion::LeerRespuesta(Camino camino)
{
    const bool cabecera = camino == Camino::Prescripcion || camino == Camino::Cabecera;
    if (cabecera) {
        colCodigosRechazo = QStringList();
        LeerRespuestaTicket();
        m_CantidadCodigosRechazo = colCodigosRechazo ? static_cast<qint16>(colCodigosRechazo->size()) : 0;
        qint16 errores = 0;
        for (const clsItemError& e : colErrores)
            if (e.Clave == QLatin1String("SVL3") && modRegistros::ErrorParaAprobacion(e.Error)) ++errores;
        m_CantidadErrores = errores;
    } else {
        if (camino == Camino::Vademecum) LeeRespuestaVademecum();
        else LeeRespuestaCierres();
        m_CantidadErrores = static_cast<qint16>(colErrores.size());
    }
    const bool aprobada = m_CantidadErrores == 0 && !(cabecera && m_CantidadCodigosRechazo != 0);

    m_RespuestaValidador = LeerTicketPrn();
    m_CodigoBarras.clear();
    if (cabecera) {
        LeerArchivosSVL();
        // Neither a header answer nor a ticket: nothing says what became of the request.
        if (gSVL1.isEmpty() && m_RespuestaValidador.isEmpty())
            throw VbError(modRegistros::ErrorRespuestaIncompleta, QStringLiteral("clsTransaccion"),
                          QStringLiteral("Respuesta incompleta del cliente: no dejó _svl.1 ni _ticket.prn"));
        gElTicket = m_RespuestaValidador;
        m_CodigoBarras = ArmarCodigoBarras(gSVL1, Platform::Now().date());
    } else if (camino == Camino::Vademecum) {
        LeerArchivoSAL8();
    } else {
        LeerArchivoSAL4();
        LeerArchivoSAL5();
        LeerArchivoSAL2();
        LeerArchivoSAL6();
        LeerArchivoSAL7();
    }
    m_TransaccionAprobada = aprobada && !m_RespuestaValidador.contains(QLatin1String("ERROR"));
    return !aprobada;
}

void clsTransaccion::MostrarRespuesta(bool conErrores)
{
    if (conErrores && m_VerListaErrores) {
        frmMostrarErrores lista;
        lista.colErrores = colErrores;
        lista.CargarErrores();
        Dialogs::ExecModal(&lista);
    }
    if (!m_RespuestaValidador.isEmpty() && m_VerTicket) {
        frmMuestraTicket ventana;
        ventana.Cargar(m_RespuestaValidador, m_LineasTicket, m_PrinterDevice, m_PrinterFontName, m_PrinterFontSize,
                       m_PrinterLargoHoja, m_PrinterCopias, m_EnviarCopiaPaciente, m_CodigoBarras);
    }
    if (!m_RespuestaValidador.isEmpty() && m_ImprimirTicket)
        modImpresion::ImprimirComprobante(m_RespuestaValidador, m_LineasTicket, m_PrinterDevice, m_PrinterFontName,
                                          m_PrinterFontSize, m_PrinterLargoHoja, m_PrinterCopias, m_CodigoBarras);
}

void clsTransaccion::DescartarRespuesta(const QString& codigo, const QString& detalle)
{
    m_TransaccionCancelada = false;
    m_TransaccionRealizada = false;
    m_TransaccionAprobada = false;
    m_RespuestaDRUVEX.clear();
    m_RespuestaValidador.clear();
    m_CodigoBarras.clear();
    m_CantidadErrores = 0;
    m_CantidadCodigosRechazo = 0;
    m_LineasTicket = 0;
    for (QString* texto : {&gElTicket, &gSVL1, &gSVL2, &gPlanes, &gMedicos, &gMedicamentos, &gDiagnosticos,
                           &gPracticas, &gPrestadores, &gEfectores, &gVademecum})
        texto->clear();
    gCantidadPrestaciones = 0;
    colErrores.clear();
    clsItemError e;
    e.Error = codigo;
    e.Clave = QStringLiteral("DRUVEX");
    e.Comentario = detalle;
    colErrores.append(e);
}

bool clsTransaccion::EnviarTransaccion()
{
    // The wait lets events run; a second click must not start a second exchange of this object.
    if (m_Enviando) return false;
    Marca enviando(m_Enviando);

    QString resultado;
    bool exito = false;
    try {
        colErrores.clear();
        m_UltimaEspera = 0;
        if (m_CarpetaBase.isEmpty()) return false;

        const bool carpetaLista = PrepararCarpetaTerminal();
        m_TransaccionCancelada = true;
        m_TransaccionRealizada = false;
        m_TransaccionAprobada = false;
        m_RespuestaValidador.clear();
        m_RespuestaDRUVEX.clear();

        const Camino camino = ElegirCamino();
        // A terminal folder that cannot be made ready, or an old answer left in download that
        // would be read as the new one, ends the send with its reason.
        static const QString kOrigen = QStringLiteral("clsTransaccion.EnviarTransaccion");
        if (!carpetaLista)
            throw VbError(75, kOrigen, QStringLiteral("No se pudo preparar la carpeta de la terminal ") +
                                           (m_CarpetaTerminal.isEmpty() ? m_CarpetaBase : m_CarpetaTerminal) +
                                           Detalle(m_MotivoCarpeta));
        if (!LimpiarDescargas())
            throw VbError(75, kOrigen, QStringLiteral("No se pudo vaciar la carpeta de respuestas ") +
                                           Terminal().Descarga() + Detalle(m_MotivoCarpeta));
        if (GrabarSolicitud(camino)) {
            frmProcesandoCO espera;
            bool visible = m_MostrarFormProceso;
            QString base = m_CarpetaBase;
            resultado = espera.Cargar(m_UltimaEspera, m_CancelarPorTimeOut, m_CarpetaTerminal, visible, base);

            if (resultado.isEmpty() || !resultado.startsWith(QLatin1Char('0'))) {
                m_TransaccionCancelada = false;
                m_TransaccionRealizada = false;
                m_TransaccionAprobada = false;
                clsItemError e;
                e.Error = resultado;
                e.Clave = QStringLiteral("DRUVEX");
                e.Comentario = QStringLiteral("Error en configuración de druvex");
                colErrores.append(e);
                exito = camino != Camino::Cierre && !resultado.isEmpty();
            } else {
                m_TransaccionRealizada = true;
                m_TransaccionCancelada = false;
                m_RespuestaDRUVEX = resultado;
                exito = true;
                colErrores.clear();
                bool confiable = true;
                bool conErrores = false;
                try {
                    conErrores = LeerRespuesta(camino);
                } catch (const VbError& e) {
                    // The status says the request was carried, but its answer cannot be read
                    // whole: nobody may approve or log it.
                    DescartarRespuesta(e.number == modRegistros::ErrorRespuestaIncompleta ? kRespuestaIncompleta
                                                                                         : kRespuestaIlegible,
                                       e.description);
                    exito = camino != Camino::Cierre;
                    confiable = false;
                }
                if (confiable) MostrarRespuesta(conErrores);
            }
        }
        if (m_TerminalFijo.isEmpty()) BorrarCarpetaTerminal();
        return exito;
    } catch (const std::exception& ex) {
        const VbError* vb = dynamic_cast<const VbError*>(&ex);
        m_TransaccionCancelada = false;
        m_TransaccionRealizada = false;
        m_TransaccionAprobada = false;
        clsItemError e;
        e.Error = resultado;
        e.Clave = QStringLiteral("DRUVEX");
        e.Comentario = vb ? vb->description : QString::fromLocal8Bit(ex.what());
        colErrores.append(e);
        BorrarCarpetaTerminal();
        return !resultado.isEmpty();
    }
}
