#pragma once
#include "engine/clsItemError.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class CarpetaTerminal;
class clsTicket;
class clsItemTicket;
class clsItemMedicamento;
class clsDiagnostico;
class clsCierres;
class clsVademecum;

// The one object through which a working window carries an operation to an insurer: it
// writes the request into a terminal folder below the communications client's working
// folder, hands it over with a trigger file, waits for the client's status file and reads
// the answer back.
class clsTransaccion {
public:
    clsTransaccion();
    ~clsTransaccion();
    clsTransaccion(const clsTransaccion&) = delete;
    clsTransaccion& operator=(const clsTransaccion&) = delete;

    // ---- Owned request objects ---------------------------------------------------------
    void InicializarTransaccion();
    // Empties the request; settings, flags, answer texts and the attachment stay.
    void FinalizarTransaccion();
    clsTicket& Ticket() { return *m_Ticket; }
    clsCierres& Cierres() { return *m_Cierres; }
    clsVademecum& Vademecum() { return *m_Vademecum; }

    // ---- Public collections and answer texts -------------------------------------------
    ListaErrores colErrores;
    // Rejection codes; nothing fills them, the header reader releases them.
    std::optional<QStringList> colCodigosRechazo;
    // Paths of the download files deleted before the exchange.
    QStringList colArchivos;
    QString gPlanes;
    QString gMedicos;
    QString gMedicamentos;
    QString gDiagnosticos;
    QString gPracticas;
    QString gPrestadores;
    QString gEfectores;
    QString gVademecum;
    QString gSVL1;
    QString gSVL2;
    qint16 gCantidadPrestaciones = 0;
    QString gElTicket;

    // ---- Working folder ----------------------------------------------------------------
    // The client's working folder, optionally ending in a fixed terminal folder (a last
    // component beginning with "ter", any case).
    QString PasoDRUVEX() const;
    void setPasoDRUVEX(const QString& value);

    // ---- Control record settings -------------------------------------------------------
    QString CodigoEmpresa() const { return m_CodigoEmpresa; }
    void setCodigoEmpresa(const QString& value) { m_CodigoEmpresa = value; }
    QString CodigoActividad() const { return m_CodigoActividad; }
    void setCodigoActividad(const QString& value) { m_CodigoActividad = value; }
    // Kept only when it is 8 characters without its blanks; otherwise "" is kept.
    QString Licencia() const { return m_Licencia; }
    void setLicencia(const QString& value);

    // Raises error 1 (empty path) or 2 (missing file), source "clsTransaccion.AdjuntarArchivo".
    bool AdjuntarArchivo(const QString& Archivo);

    // ---- Steps of one exchange ---------------------------------------------------------
    // Public so that the protocol can be driven and checked step by step.

    // Makes the terminal folder of this exchange (the fixed one, or a new "term" + letters)
    // with its upload and download folders, and empties upload so that no record of an
    // earlier exchange goes out again. False when there is no base folder or a folder cannot
    // be made or emptied.
    bool PrepararCarpetaTerminal();
    // Deletes the answers of an earlier exchange, listing them in colArchivos. False when
    // download is still not empty: an old answer must never be read as the new one.
    bool LimpiarDescargas();
    // Deletes a stale status file, writes "_svl.0" and then creates the trigger in "tx".
    bool EscribirControlSVL0();
    // The control record's bytes as they are written.
    QByteArray RegistroControlSVL0() const;
    // Copies the attached file as hexadecimal text into upload; true when none is set.
    bool GrabarArchivoAdjunto();
    // Removes the terminal folder with its content; never anything outside it.
    void BorrarCarpetaTerminal();

    // ---- Answer reading ----------------------------------------------------------------
    bool LeerRespuestaTicket();
    bool LeeRespuestaCierres();
    bool LeeRespuestaVademecum();
    QString LeerTicketPrn();
    void LeerArchivosSVL();
    void LeerArchivoSAL2();
    void LeerArchivoSAL4();
    void LeerArchivoSAL5();
    void LeerArchivoSAL6();
    void LeerArchivoSAL7();
    void LeerArchivoSAL8();

    QString LeerCampoRespuesta(const QString& nombre) const;
    QString LeerCodigoError(qint16 i) const;
    QString LeerComentarioError(qint16 i) const;
    QString LeerCodigoRechazo(qint16 i) const;

    QString GetElTicket() const { return gElTicket; }
    QString GetSVL1() const { return gSVL1; }
    QString GetSVL2() const { return gSVL2; }
    qint16 GetCantidadPrestaciones() const { return gCantidadPrestaciones; }
    QString GetMedicos() const { return gMedicos; }
    QString GetPrestadores() const { return gPrestadores; }
    QString GetDiagnosticos() const { return gDiagnosticos; }
    QString GetPracticas() const { return gPracticas; }
    QString GetEfectores() const { return gEfectores; }
    QString GetVademecum() const { return gVademecum; }

    // ---- Folders and counts of the exchange in progress --------------------------------
    QString CarpetaBase() const { return m_CarpetaBase; }
    QString TerminalFijo() const { return m_TerminalFijo; }
    QString NombreTerminal() const { return m_NombreTerminal; }
    QString CarpetaTerminal() const { return m_CarpetaTerminal; }
    // Where the trigger of this exchange goes.
    QString ArchivoDisparador() const;
    qint32 LineasTicket() const { return m_LineasTicket; }

    // ---- Request items, in record order ------------------------------------------------
    QList<std::shared_ptr<clsItemTicket>> colItemTicket;
    QList<std::shared_ptr<clsItemMedicamento>> colItemMedicamento;
    QList<std::shared_ptr<clsDiagnostico>> colDiagnostico;

    // ---- Sender settings ---------------------------------------------------------------
    // Seconds; held in ms, at most 60000 and at least 1000.
    void setTiempoEspera(qint32 segundos);
    qint32 TiempoEsperaMs() const { return m_TiempoEspera; }
    bool MostrarFormProceso() const { return m_MostrarFormProceso; }
    void setMostrarFormProceso(bool v) { m_MostrarFormProceso = v; }
    bool CancelarPorTimeOut() const { return m_CancelarPorTimeOut; }
    void setCancelarPorTimeOut(bool v) { m_CancelarPorTimeOut = v; }
    bool VerListaErrores() const { return m_VerListaErrores; }
    void setVerListaErrores(bool v) { m_VerListaErrores = v; }
    bool VerTicket() const { return m_VerTicket; }
    void setVerTicket(bool v) { m_VerTicket = v; }
    bool EnviarCopiaPaciente() const { return m_EnviarCopiaPaciente; }
    void setEnviarCopiaPaciente(bool v) { m_EnviarCopiaPaciente = v; }
    bool ImprimirTicket() const { return m_ImprimirTicket; }
    void setImprimirTicket(bool v) { m_ImprimirTicket = v; }
    QString PrinterDevice() const { return m_PrinterDevice; }
    void setPrinterDevice(const QString& v) { m_PrinterDevice = v; }
    QString PrinterFontName() const { return m_PrinterFontName; }
    void setPrinterFontName(const QString& v) { m_PrinterFontName = v; }
    qint16 PrinterFontSize() const { return m_PrinterFontSize; }
    void setPrinterFontSize(qint16 v) { m_PrinterFontSize = v; }
    qint16 PrinterLargoHoja() const { return m_PrinterLargoHoja; }
    void setPrinterLargoHoja(qint16 v) { m_PrinterLargoHoja = v; }
    qint16 PrinterCopias() const { return m_PrinterCopias; }
    void setPrinterCopias(qint16 v) { m_PrinterCopias = v; }
    // Stores the three settings; the account code under the same 8-character rule as Licencia.
    void Configurar(const QString& Licencia, const QString& CodigoEmpresa, const QString& CodigoActividad);

    // ---- Member data the header computed -----------------------------------------------
    QString TarjetaAsociado() const { return m_TarjetaAsociado; }
    QString PlanAsociado() const { return m_PlanAsociado; }
    QString TipoAsociado() const { return m_TipoAsociado; }

    // ---- Filling one request family ----------------------------------------------------
    bool CompletarSVL1(qint32 Operacion, const QString& Cuit, const QString& Tarjeta, const QString& TicketReferencia,
                       const QString& TipoMatriculaPrescriptor, const QString& NumeroMatriculaPrescriptor,
                       const QString& Diagnostico1, const QString& Diagnostico2, const QString& CodigoDeFinalizacion,
                       const QString& CuitEfector, const QString& ValorTransaccion, const QString& FechaDePrestacion,
                       const QString& HoraDePrestacion, bool TipoIngresoAutomatico,
                       const QString& NumeroTransaccionPrestador, const QString& DocumentacionExtra,
                       const QString& CodigoSeguridad);
    void CompletarSVL5(const QString& TipoDocumento, const QString& NumeroDocumento,
                       const QString& ApellidoNombreEfector, const QString& EspecialidadEfector,
                       const QString& CodigoProveedorEfector, const QString& TelefonoEfector,
                       const QString& CorreoElectronicoEfector, const QString& DireccionEfector,
                       const QString& Latitud, const QString& Longitud, const QString& ApellidoNombrePrescriptor,
                       const QString& CUITPrescriptor, const QString& EspecialidadPrescriptor,
                       const QString& CodigoProveedorMedicoPrescriptor, const QString& DireccionDerivacion,
                       const QString& Instrucciones, const QString& NumeroPrescripcion,
                       const QString& TelefonoPaciente, const QString& CorreoElectronicoPaciente,
                       const QString& DireccionPaciente, const QString& SolicitaAtencionDomicilio);
    bool CompletarSVL6(qint32 Operacion, const QString& Tarjeta, const QString& Cuit, const QString& EnvioDomicilio,
                       const QString& Telefono, const QString& Domicilio, const QString& CodigoPostal);
    bool CompletarSAL0(qint32 tipo, const QString& NumeroCierre, const QString& FechaDesde, const QString& FechaHasta,
                       const QString& ActualizaPlanes, const QString& ActualizaMedicos,
                       const QString& ActualizaMedicamentos, const QString& ActualizaDiagnosticos,
                       const QString& ActualizaPracticas, const QString& ActualizaPrestadores,
                       const QString& ActualizaEfectores, const QString& Cuit);
    bool CompletarSAL5(qint32 Operacion, const QString& Tarjeta, const QString& NombreMedicamento,
                       const QString& Monodroga, const QString& Accion);
    bool AgregarItemSVL2(const QString& CodigoPrestacion, const QString& TipoPrestacion, const QString& TipoArancel,
                         const QString& Cantidad, const QString& PiezaDental, const QString& CaraDental);
    bool AgregarItemSVL3(const QString& Troquel, const QString& Cantidad);
    bool AgregarItemSVL4(const QString& Diagnostico);

    // ---- Sending -----------------------------------------------------------------------
    // Writes, hands over, waits and reads the answer; never raises. False while a send of
    // this object is already in progress.
    bool EnviarTransaccion();

    bool TransaccionCancelada() const { return m_TransaccionCancelada; }
    bool TransaccionRealizada() const { return m_TransaccionRealizada; }
    bool TransaccionAprobada() const { return m_TransaccionAprobada; }
    QString RespuestaValidador() const { return m_RespuestaValidador; }
    QString RespuestaDRUVEX() const { return m_RespuestaDRUVEX; }
    qint16 CantidadErrores() const { return m_CantidadErrores; }
    qint16 CantidadCodigosRechazo() const { return m_CantidadCodigosRechazo; }
    // The wait, in ms, chosen by the last send (0 when no wait ran).
    qint32 UltimaEspera() const { return m_UltimaEspera; }
    // The barcode text of the last header or prescription answer.
    QString CodigoBarras() const { return m_CodigoBarras; }
    // "*yyyymmddJW<number>*" from an answered header record.
    static QString ArmarCodigoBarras(const QString& svl1, const QDate& fecha);

private:
    enum class Camino { Ninguno, Prescripcion, Cabecera, Vademecum, Cierre };
    // Splits a working folder into the base and a fixed terminal folder; creates nothing.
    void AsignarCarpetas(const QString& value);
    Camino ElegirCamino() const;
    bool TomarDatosAsociado();
    bool GrabarSolicitud(Camino camino);
    void ControlRepeticion();
    // Reads the whole answer and decides; true when it carries errors. Raises when the answer
    // cannot be trusted.
    bool LeerRespuesta(Camino camino);
    // The error list, the ticket window and the printed ticket, as the settings ask.
    void MostrarRespuesta(bool conErrores);
    // Ends an exchange whose answer cannot be trusted as a failed wait ends.
    void DescartarRespuesta(const QString& codigo, const QString& detalle);
    // This exchange's terminal folder.
    ::CarpetaTerminal Terminal() const;

    qint32 m_TiempoEspera = 30000;
    bool m_MostrarFormProceso = true;
    bool m_CancelarPorTimeOut = false;
    bool m_VerListaErrores = true;
    bool m_VerTicket = true;
    bool m_EnviarCopiaPaciente = false;
    bool m_ImprimirTicket = false;
    QString m_PrinterDevice;
    QString m_PrinterFontName;
    qint16 m_PrinterFontSize = 0;
    qint16 m_PrinterLargoHoja = 0;
    qint16 m_PrinterCopias = 0;
    QString m_TarjetaAsociado;
    QString m_PlanAsociado;
    QString m_TipoAsociado;
    bool m_TransaccionCancelada = false;
    bool m_TransaccionRealizada = false;
    bool m_TransaccionAprobada = false;
    QString m_RespuestaValidador;
    QString m_RespuestaDRUVEX;
    qint16 m_CantidadErrores = 0;
    qint16 m_CantidadCodigosRechazo = 0;
    qint32 m_UltimaEspera = 0;
    QString m_CodigoBarras;
    bool m_Enviando = false;

    QString LeerDatoError(int tipo, qint16 i) const;
    // The whole text of a download file, every line followed by CR LF; "" when missing.
    // `lineas` receives the number of lines.
    std::optional<QString> LeerArchivoDescarga(const QString& nombre, qint32* lineas = nullptr) const;

    std::unique_ptr<clsTicket> m_Ticket;
    std::unique_ptr<clsCierres> m_Cierres;
    std::unique_ptr<clsVademecum> m_Vademecum;

    QString m_CarpetaBase;
    QString m_TerminalFijo;
    QString m_NombreTerminal;
    QString m_CarpetaTerminal;
    QString m_MotivoCarpeta; // why the terminal folder could not be prepared or emptied

    QString m_CodigoEmpresa;
    QString m_CodigoActividad;
    QString m_Licencia;
    QString m_RutaAdjunto;
    qint32 m_LineasTicket = 0;
};
