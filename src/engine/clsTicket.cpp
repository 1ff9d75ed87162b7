#include "engine/clsTicket.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/modRegistros.h"
#include "platform/Codec1252.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <optional>

namespace {

const QString kOrigen = QStringLiteral("clsTicket");
const QString kFinDeRegistro = QStringLiteral("\r\n");
// The answer code ends at byte 311 of the header answer.
constexpr int kFinCodigoRespuesta = 311;

QString blancos(int n) { return QString(n, QLatin1Char(' ')); }

// Trimmed, then left-aligned in `ancho` characters: cut on the right or blank-padded.
QString ajustar(const QString& valor, int ancho)
{
    QString t = Vb::Trim(valor);
    if (t.size() > ancho) t.truncate(ancho);
    return t + blancos(ancho - t.size());
}

QString texto(const QString& valor, int ancho) { return General::FormatearTexto(valor, static_cast<qint16>(ancho)); }

// A request number that must reach the client whole: a value that does not fit is refused.
QString numero(const QString& valor, int ancho, const QString& campo)
{
    return General::FormatearNumeroCampo(valor, static_cast<qint16>(ancho), campo, kOrigen);
}

bool soloDigitos(const QString& s)
{
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// Writes one record as the whole file `nombre` of the terminal folder's upload folder. The
// file is written anew, so nothing of an earlier, longer file is left behind the record.
void grabarRegistro(const QString& carpetaTerminal, const QString& nombre, const QString& registro)
{
    CarpetaTerminal(carpetaTerminal).GrabarArchivo(nombre, Codec1252::encode(registro), kOrigen, true);
}

}

// ---- request fields ----------------------------------------------------------------------

void clsTicket::setCuitEfector(const QString& value) { m_cuitEfector = Vb::Trim(value); }
void clsTicket::setAUCUIT(const QString& value) { m_AUCUIT = ajustar(value, 11); }
void clsTicket::setTarjeta(const QString& value) { m_tarjeta = ajustar(value, 100); }
QString clsTicket::TarjetaAsociado() const { return m_tarjeta; }
void clsTicket::setTipoIngresoAsociado(const QString& value) { m_tipoIngresoAsociado = ajustar(value, 1); }

void clsTicket::setTicketReferencia(const QString& value)
{
    m_prefijoReferencia = ajustar(Vb::Left(value, 2), 2);
    m_numeroReferencia = ajustar(Vb::Right(value, 6), 6);
    m_ticketReferencia = Vb::Trim(value);
}

QString clsTicket::TicketReferencia() const
{
    return Vb::Right(QStringLiteral("00") + Vb::Trim(m_prefijoReferencia), 2)
           + Vb::Right(QStringLiteral("000000") + Vb::Trim(m_numeroReferencia), 6);
}

void clsTicket::setAUTMAT(const QString& value) { m_AUTMAT = ajustar(value, 2); }
void clsTicket::setAUNMAT(const QString& value) { m_AUNMAT = Vb::Trim(value); }
void clsTicket::setNumeroTransaccionPrestador(const QString& value) { m_numeroTransaccionPrestador = Vb::Trim(value); }
void clsTicket::setDocumentacionExtra(const QString& value) { m_documentacionExtra = ajustar(value, 5); }
void clsTicket::setEnvioDomicilio(const QString& value) { m_envioDomicilio = Vb::Trim(value); }
void clsTicket::setTelefono(const QString& value) { m_telefono = Vb::Trim(value); }
void clsTicket::setDomicilio(const QString& value) { m_domicilio = Vb::Trim(value); }
void clsTicket::setCodigoPostal(const QString& value) { m_codigoPostal = Vb::Trim(value); }
void clsTicket::setAUFECP(const QString& value) { m_AUFECP = Vb::Trim(value); }
void clsTicket::setDiagnostico1(const QString& value) { m_diagnostico1 = ajustar(value, 6); }
void clsTicket::setDiagnostico2(const QString& value) { m_diagnostico2 = ajustar(value, 6); }
void clsTicket::setAUFINA(const QString& value) { m_AUFINA = Vb::Trim(value); }
void clsTicket::setAUNTRA(const QString& value) { m_AUNTRA = ajustar(value, 12); }
void clsTicket::setAUHORP(const QString& value) { m_AUHORP = Vb::Trim(value); }
void clsTicket::setCodigoSeguridad(const QString& value) { m_codigoSeguridad = Vb::Trim(value); }

void clsTicket::setTipoDocumento(const QString& value) { m_tipoDocumento = Vb::Trim(value); }
void clsTicket::setNumeroDocumento(const QString& value) { m_numeroDocumento = Vb::Trim(value); }
void clsTicket::setApellidoNombreEfector(const QString& value) { m_apellidoNombreEfector = Vb::Trim(value); }
void clsTicket::setEspecialidadEfector(const QString& value) { m_especialidadEfector = Vb::Trim(value); }
void clsTicket::setCodigoProveedorEfector(const QString& value) { m_codigoProveedorEfector = Vb::Trim(value); }
void clsTicket::setTelefonoEfector(const QString& value) { m_telefonoEfector = Vb::Trim(value); }
void clsTicket::setCorreoElectronicoEfector(const QString& value) { m_correoElectronicoEfector = Vb::Trim(value); }
void clsTicket::setDireccionEfector(const QString& value) { m_direccionEfector = Vb::Trim(value); }
void clsTicket::setLatitud(const QString& value) { m_latitud = Vb::Trim(value); }
void clsTicket::setLongitud(const QString& value) { m_longitud = Vb::Trim(value); }
void clsTicket::setApellidoNombrePrescriptor(const QString& value) { m_apellidoNombrePrescriptor = Vb::Trim(value); }
void clsTicket::setCUITPrescriptor(const QString& value) { m_CUITPrescriptor = Vb::Trim(value); }
void clsTicket::setEspecialidadPrescriptor(const QString& value) { m_especialidadPrescriptor = Vb::Trim(value); }
void clsTicket::setCodigoProveedorMedicoPrescriptor(const QString& value)
{
    m_codigoProveedorMedicoPrescriptor = Vb::Trim(value);
}
void clsTicket::setDireccionDerivacion(const QString& value) { m_direccionDerivacion = Vb::Trim(value); }
void clsTicket::setInstrucciones(const QString& value) { m_instrucciones = Vb::Trim(value); }
void clsTicket::setNumeroPrescripcion(const QString& value) { m_numeroPrescripcion = Vb::Trim(value); }
void clsTicket::setTelefonoPaciente(const QString& value) { m_telefonoPaciente = Vb::Trim(value); }
void clsTicket::setCorreoElectronicoPaciente(const QString& value) { m_correoElectronicoPaciente = Vb::Trim(value); }
void clsTicket::setDireccionPaciente(const QString& value) { m_direccionPaciente = Vb::Trim(value); }
void clsTicket::setSolicitaAtencionDomicilio(const QString& value) { m_solicitaAtencionDomicilio = Vb::Trim(value); }

// ---- operation codes ---------------------------------------------------------------------

QString clsTicket::CodigoOperacion(qint32 operacion, const QString& aufina)
{
    switch (operacion) {
    case 1: return QStringLiteral("11");
    case 2: return QStringLiteral("15");
    case 3: return QStringLiteral("21");
    case 4: return QStringLiteral("12");
    case 5: return QStringLiteral("41");
    case 6: return QStringLiteral("42");
    case 7: {
        // The code must agree with the finalisation digit written at 255: "00" goes out as 0.
        const QString t = Vb::Trim(aufina);
        const bool cero = t.isEmpty() || (Vb::IsNumeric(t) && Vb::Val(t) == 0);
        return cero ? QStringLiteral("60") : QStringLiteral("61");
    }
    case 8: return QStringLiteral("65");
    case 9: return QStringLiteral("07");
    case 10: return QStringLiteral("09");
    case 11: return QStringLiteral("43");
    case 12: return QStringLiteral("52");
    case 14: return QStringLiteral("16");
    case 15: return QStringLiteral("64");
    case 16: return QStringLiteral("53");
    case 17: return QStringLiteral("71");
    case 18: return QStringLiteral("72");
    case 19: return QStringLiteral("73");
    case 20: return QStringLiteral("66");
    case 21: return QStringLiteral("67");
    case 31: return QStringLiteral("31");
    case 80: return QStringLiteral("80");
    default: return QString();
    }
}

void clsTicket::setOperacion(qint32 value)
{
    const QString codigo = CodigoOperacion(value, m_AUFINA);
    if (codigo.isEmpty()) return; // an operation without a code leaves the request as it was
    m_codigoOperacion = codigo;
    switch (value) {
    case 17: m_prefijoReferencia = QStringLiteral("OO"); break;
    case 18: m_prefijoReferencia = QStringLiteral("OP"); break;
    case 19: m_prefijoReferencia = QStringLiteral("OD"); break;
    default: break;
    }
}

// ---- derived fields ----------------------------------------------------------------------

QString clsTicket::PrefijoVersion()
{
    const Platform::Version v = Platform::ProgramVersion();
    QString digitos = QString::number(v.major) + QString::number(v.minor) + QString::number(v.revision);
    if (digitos.size() > 4) digitos = digitos.right(4);
    return texto(QStringLiteral("P") + digitos, 5);
}

QString clsTicket::TipoMatricula() const
{
    const QString t = Vb::Trim(m_AUTMAT);
    if (t.isEmpty()) return QStringLiteral("01");
    const double codigo = Vb::Val(m_codigoOperacion);
    if (!m_codigoOperacion.isEmpty() && (codigo == 52 || codigo == 66)) return m_AUTMAT;
    QString primero;
    if (t.size() >= 2) {
        const QChar c = t.at(1);
        if (c == QLatin1Char('0')) primero = QStringLiteral("0");
        else if (c == QLatin1Char('C')) primero = QStringLiteral("1");
        else primero = c;
    }
    const QString segundo = t.at(0) == QLatin1Char('O') ? QStringLiteral("2") : QStringLiteral("1");
    return ajustar(primero + segundo, 2);
}

// The service time in hhmm. A time given with seconds keeps its hours and minutes: cutting
// the high-order digits would send minutes and seconds as the time.
QString clsTicket::HoraPrestacion() const
{
    if (m_AUHORP.isEmpty()) return Platform::Now().toString(QStringLiteral("HHmm"));
    QString hora = m_AUHORP;
    if (soloDigitos(hora) && (hora.size() == 5 || hora.size() == 6))
        hora = hora.rightJustified(6, QLatin1Char('0')).left(4);
    return numero(hora, 4, QStringLiteral("AUHORP"));
}

// ---- records -----------------------------------------------------------------------------

QString clsTicket::RegistroSVL1() const
{
    const QString fecha = m_AUFECP.isEmpty() ? Platform::Now().toString(QStringLiteral("yyyyMMdd"))
                                             : numero(m_AUFECP, 8, QStringLiteral("AUFECP"));
    QString r;
    r.reserve(LargoSVL1);
    r += PrefijoVersion();                                                  // 1
    r += texto(m_codigoOperacion, 2);                                       // 6
    r += texto(m_tarjeta, 100);                                             // 8
    r += m_tipoIngresoAsociado == QLatin1String("A") ? QStringLiteral("1") : QStringLiteral("2"); // 108
    r += texto(m_AUCUIT, 11);                                               // 109
    r += texto(m_cuitEfector, 11);                                          // 120
    r += texto(m_ticketReferencia, 12);                                     // 131
    r += blancos(2 + 20 + 8 + 8);                                           // 143
    r += fecha;                                                             // 181
    r += HoraPrestacion();                                                  // 189
    r += blancos(20);                                                       // 193
    r += texto(TipoMatricula(), 2);                                         // 213
    r += numero(m_AUNMAT, 6, QStringLiteral("AUNMAT"));                     // 215
    r += blancos(2 + 6 + 2 + 6 + 1);                                        // 221
    r += blancos(12);                                                       // 238
    r += texto(m_documentacionExtra, 5);                                    // 250
    r += numero(m_AUFINA, 1, QStringLiteral("AUFINA"));                     // 255
    r += QStringLiteral("00000");                                           // 256
    r += blancos(12 + 6 + 8 + 4 + 5 + 1 + 11);                              // 261
    r += QStringLiteral("0000");                                            // 308
    r += blancos(40);                                                       // 312
    r += numero(m_numeroTransaccionPrestador, 12, QStringLiteral("NumeroTransaccionPrestador")); // 352
    r += blancos(6);                                                        // 364
    r += texto(m_codigoSeguridad, 3);                                       // 370
    r += blancos(9);                                                        // 373
    r += kFinDeRegistro;                                                    // 382
    return r;
}

QString clsTicket::RegistroSVL5() const
{
    QString r;
    r.reserve(LargoSVL5);
    r += PrefijoVersion();                              // 1
    r += texto(m_tipoDocumento, 1);                     // 6
    r += texto(m_numeroDocumento, 10);                  // 7
    r += texto(m_apellidoNombreEfector, 40);            // 17
    r += texto(m_especialidadEfector, 3);               // 57
    r += texto(m_codigoProveedorEfector, 8);            // 60
    r += texto(m_telefonoEfector, 15);                  // 68
    r += texto(m_correoElectronicoEfector, 50);         // 83
    r += texto(m_direccionEfector, 100);                // 133
    r += texto(m_latitud, 20);                          // 233
    r += texto(m_longitud, 20);                         // 253
    r += texto(m_apellidoNombrePrescriptor, 40);        // 273
    r += texto(m_CUITPrescriptor, 11);                  // 313
    r += texto(m_especialidadPrescriptor, 3);           // 324
    r += texto(m_codigoProveedorMedicoPrescriptor, 8);  // 327
    r += texto(m_direccionDerivacion, 100);             // 335
    r += texto(m_instrucciones, 250);                   // 435
    r += texto(m_numeroPrescripcion, 12);               // 685
    r += texto(m_telefonoPaciente, 15);                 // 697
    r += texto(m_correoElectronicoPaciente, 50);        // 712
    r += texto(m_direccionPaciente, 100);               // 762
    r += texto(m_solicitaAtencionDomicilio, 1);         // 862
    r += blancos(32);                                   // 863
    r += kFinDeRegistro;                                // 895
    return r;
}

QString clsTicket::RegistroSVL6() const
{
    QString r;
    r.reserve(LargoSVL6);
    r += texto(m_codigoOperacion, 2);                                       // 1
    r += texto(m_tarjeta, 100);                                             // 3
    r += m_tipoIngresoAsociado == QLatin1String("A") ? QStringLiteral("1") : QStringLiteral("2"); // 103
    r += texto(m_AUCUIT, 11);                                               // 104
    r += blancos(12);                                                       // 115
    r += texto(m_envioDomicilio, 1);                                        // 127
    r += texto(m_telefono, 15);                                             // 128
    r += texto(m_domicilio, 100);                                           // 143
    r += texto(m_codigoPostal, 10);                                         // 243
    r += blancos(1 + 12 + 12 + 8 + 4 + 5 + 1 + 11);                         // 253
    r += QStringLiteral("0000");                                            // 307
    r += blancos(40);                                                       // 311
    r += kFinDeRegistro;                                                    // 351
    return r;
}

bool clsTicket::GrabarSVL1(const QString& carpetaTerminal)
{
    m_existo = true;
    try {
        const QString registro = RegistroSVL1();
        grabarRegistro(carpetaTerminal, QStringLiteral("_svl.1"), registro);
        General::SVL1Actual = registro.left(LargoSVL1 - 2);
    } catch (const VbError& e) {
        throw VbError(e.number, kOrigen, e.description);
    }
    return true;
}

bool clsTicket::GrabarSVL5(const QString& carpetaTerminal)
{
    try {
        grabarRegistro(carpetaTerminal, QStringLiteral("_svl.5"), RegistroSVL5());
    } catch (const VbError& e) {
        throw VbError(e.number, kOrigen, e.description);
    }
    return true;
}

bool clsTicket::GrabarSVL6(const QString& carpetaTerminal)
{
    m_existo = true;
    m_medicamentos = true;
    try {
        grabarRegistro(carpetaTerminal, QStringLiteral("_svl.6"), RegistroSVL6());
    } catch (const VbError& e) {
        throw VbError(e.number, kOrigen, e.description);
    }
    return true;
}

// ---- answer ------------------------------------------------------------------------------

clsItemError clsTicket::LeerSVL1(const QString& carpetaTerminal)
{
    clsItemError resultado;
    // The client's folder and file may come in any case; a missing or empty answer is no
    // answer, and looking for it never leaves a file behind.
    std::optional<QStringList> registros;
    try {
        registros = CarpetaTerminal(carpetaTerminal).LeerRegistros(QStringLiteral("_svl.1"), LargoSVL1, kOrigen);
    } catch (const VbError& e) {
        throw VbError(e.number, kOrigen, e.description);
    }
    if (!registros || registros->isEmpty()) return resultado;

    // A record cut after its answer code reads as blanks where its bytes are missing; one cut
    // before the end of the code cannot tell a rejection ("0051") from an approval ("00").
    const QString& leido = registros->first();
    if (leido.size() < kFinCodigoRespuesta)
        throw VbError(modRegistros::ErrorRespuestaIncompleta, kOrigen,
                      QStringLiteral("Respuesta incompleta del cliente: _svl.1 de %1 bytes").arg(leido.size()));
    const QString registro = leido.leftJustified(LargoSVL1, QLatin1Char(' '));

    m_numeroAutorizacion = Vb::Mid(registro, 261, 12);
    m_numeroAutorizacionComplementaria = Vb::Mid(registro, 238, 12);
    m_coseguro = Vb::Mid(registro, 297, 11);
    m_plan = Vb::Mid(registro, 291, 5);
    m_tipoAsociado = Vb::Mid(registro, 296, 1);
    m_codigoRespuesta = Vb::Mid(registro, 308, 4);
    m_mensaje1 = Vb::Mid(registro, 312, 40);

    if (modRegistros::ErrorEnCabecera(m_codigoRespuesta)) {
        resultado.Tipo = 1;
        resultado.Error = m_codigoRespuesta;
        resultado.Comentario = Vb::Mid(registro, 312, 40);
    }
    return resultado;
}

QString clsTicket::MensajeRespuesta() const { return Vb::Trim(m_mensaje1) + QLatin1Char(' ') + Vb::Trim(m_mensaje2); }

QString clsTicket::PlanAsociado() const { return Vb::Left(m_plan, 2) + QLatin1Char(' ') + Vb::Right(m_plan, 3); }

QString clsTicket::TipoAsociado() const
{
    return (m_tipoAsociado == QLatin1String("O") || m_tipoAsociado == QLatin1String("1")) ? QStringLiteral("O")
                                                                                          : QStringLiteral("D");
}
