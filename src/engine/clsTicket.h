#pragma once
#include "engine/clsItemError.h"

#include <QString>

// Header of one request and of its answer: the header record "_svl.1", the prescription
// record "_svl.5" and the home-delivery record "_svl.6". The sender fills one instance per
// exchange and discards it afterwards, so every request starts from blank fields.
class clsTicket {
public:
    static constexpr int LargoSVL1 = 383;
    static constexpr int LargoSVL5 = 896;
    static constexpr int LargoSVL6 = 352;

    // The request uses this header (SVL1+SVL5, or SVL6).
    bool existo() const { return m_existo; }
    void setexisto(bool value) { m_existo = value; }
    // The header request is the home-delivery one (SVL6 instead of SVL1+SVL5).
    bool medicamentos() const { return m_medicamentos; }
    void setmedicamentos(bool value) { m_medicamentos = value; }

    void setCuitEfector(const QString& value);
    void setAUCUIT(const QString& value);
    void setTarjeta(const QString& value);
    // The 100-character card field, trailing blanks included.
    QString TarjetaAsociado() const;

    void setTipoIngresoAsociado(const QString& value);
    // Program operation number; chooses the two-character message operation code. Set it
    // after AUFINA and TicketReferencia, which it depends on or overrides.
    void setOperacion(qint32 value);
    void setTicketReferencia(const QString& value);
    void setAUTMAT(const QString& value);
    void setAUNMAT(const QString& value);
    void setNumeroTransaccionPrestador(const QString& value);
    void setDocumentacionExtra(const QString& value);
    void setEnvioDomicilio(const QString& value);
    void setTelefono(const QString& value);
    void setDomicilio(const QString& value);
    void setCodigoPostal(const QString& value);
    void setAUFECP(const QString& value);
    void setDiagnostico1(const QString& value);
    void setDiagnostico2(const QString& value);
    void setAUFINA(const QString& value);
    void setAUNTRA(const QString& value);
    void setAUHORP(const QString& value);

    // Each writer takes the terminal folder, writes its record into its upload folder and
    // returns true; a failure (also a numeric field that does not fit) raises VbError with
    // the source "clsTicket" and nothing is written.
    bool GrabarSVL1(const QString& carpetaTerminal);
    bool GrabarSVL5(const QString& carpetaTerminal);
    bool GrabarSVL6(const QString& carpetaTerminal);

    // Reads the answered header from the terminal folder's download folder. The result
    // carries the answer code and comment when the code is an error, else it is empty.
    clsItemError LeerSVL1(const QString& carpetaTerminal);

    QString NumeroAutorizacion() const { return m_numeroAutorizacion; }
    QString CodigoRespuesta() const { return m_codigoRespuesta; }
    QString MensajeRespuesta() const;
    QString NumeroAutorizacionComplementaria() const { return m_numeroAutorizacionComplementaria; }
    QString PlanAsociado() const;
    QString TipoAsociado() const;
    // Reference prefix and number, eight characters, each part zero-filled on the left.
    QString TicketReferencia() const;
    QString Coseguro() const { return m_coseguro; }

    void setCodigoSeguridad(const QString& value);
    void setTipoDocumento(const QString& value);
    void setNumeroDocumento(const QString& value);
    void setApellidoNombreEfector(const QString& value);
    void setEspecialidadEfector(const QString& value);
    void setCodigoProveedorEfector(const QString& value);
    void setTelefonoEfector(const QString& value);
    void setCorreoElectronicoEfector(const QString& value);
    void setDireccionEfector(const QString& value);
    void setLatitud(const QString& value);
    void setLongitud(const QString& value);
    void setApellidoNombrePrescriptor(const QString& value);
    void setCUITPrescriptor(const QString& value);
    void setEspecialidadPrescriptor(const QString& value);
    void setCodigoProveedorMedicoPrescriptor(const QString& value);
    void setDireccionDerivacion(const QString& value);
    void setInstrucciones(const QString& value);
    void setNumeroPrescripcion(const QString& value);
    void setTelefonoPaciente(const QString& value);
    void setCorreoElectronicoPaciente(const QString& value);
    void setDireccionPaciente(const QString& value);
    void setSolicitaAtencionDomicilio(const QString& value);

    // "P" and the last four digits of the program's version, in five characters.
    static QString PrefijoVersion();
    // The message operation code of a program operation; empty for an operation that has
    // none. `aufina` decides between closing codes "60" and "61".
    static QString CodigoOperacion(qint32 operacion, const QString& aufina);

private:
    // The record texts as written, CR LF included.
    QString RegistroSVL1() const;
    QString RegistroSVL5() const;
    QString RegistroSVL6() const;
    QString TipoMatricula() const;
    QString HoraPrestacion() const;

    bool m_existo = false;
    bool m_medicamentos = false;

    // Fixed-width fields are held cut or blank-padded to their widths; numeric fields that
    // must not be cut are held whole so the writer can refuse them.
    QString m_AUCUIT = QString(11, QLatin1Char(' '));
    QString m_tarjeta = QString(100, QLatin1Char(' '));
    QString m_tipoIngresoAsociado = QString(1, QLatin1Char(' '));
    QString m_cuitEfector;
    QString m_ticketReferencia;
    QString m_prefijoReferencia = QString(2, QLatin1Char(' '));
    QString m_numeroReferencia = QString(6, QLatin1Char(' '));
    QString m_AUTMAT = QString(2, QLatin1Char(' '));
    QString m_AUNMAT;
    QString m_AUFECP;
    QString m_AUHORP;
    QString m_AUFINA;
    QString m_documentacionExtra = QString(5, QLatin1Char(' '));
    QString m_numeroTransaccionPrestador;
    QString m_codigoSeguridad;
    QString m_AUNTRA = QString(12, QLatin1Char(' '));
    QString m_diagnostico1 = QString(6, QLatin1Char(' '));
    QString m_diagnostico2 = QString(6, QLatin1Char(' '));
    QString m_codigoOperacion;

    QString m_envioDomicilio;
    QString m_telefono;
    QString m_domicilio;
    QString m_codigoPostal;

    QString m_tipoDocumento;
    QString m_numeroDocumento;
    QString m_apellidoNombreEfector;
    QString m_especialidadEfector;
    QString m_codigoProveedorEfector;
    QString m_telefonoEfector;
    QString m_correoElectronicoEfector;
    QString m_direccionEfector;
    QString m_latitud;
    QString m_longitud;
    QString m_apellidoNombrePrescriptor;
    QString m_CUITPrescriptor;
    QString m_especialidadPrescriptor;
    QString m_codigoProveedorMedicoPrescriptor;
    QString m_direccionDerivacion;
    QString m_instrucciones;
    QString m_numeroPrescripcion;
    QString m_telefonoPaciente;
    QString m_correoElectronicoPaciente;
    QString m_direccionPaciente;
    QString m_solicitaAtencionDomicilio;

    QString m_numeroAutorizacion;
    QString m_numeroAutorizacionComplementaria;
    QString m_coseguro;
    QString m_codigoRespuesta;
    QString m_plan;
    QString m_tipoAsociado;
    QString m_mensaje1;
    QString m_mensaje2;
};
