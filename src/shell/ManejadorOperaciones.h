#pragma once

// The main window's public operation handlers that the side bar's buttons call; frmMain
// implements them (one per operation entry of its menu bar) and hands itself to
// frmToolList::Principal.
class ManejadorOperaciones {
public:
    virtual ~ManejadorOperaciones() = default;
    virtual void mnuVerficarAfiliado_Click() = 0;
    virtual void mnuVerificarPrestacion_Click() = 0;
    virtual void mnuVerificarPrestador_Click() = 0;
    virtual void mnuInformarPrestacionSinFecha_Click() = 0;
    virtual void mnuInformarPrescripcion_Click() = 0;
    virtual void mnuInformarPrestacionAutorizada_Click() = 0;
    virtual void mnuInformarAutorizar_Click() = 0;
    virtual void mnuInformarPrestacionConFecha_Click() = 0;
    virtual void mnuConsultarAutorizacion_Click() = 0;
    virtual void mnuAnulacion_Click() = 0;
    virtual void mnuAutorizarCirugia_Click() = 0;
    virtual void mnuInformarDiagnostico_Click() = 0;
    virtual void mnuInformarCirugia_Click() = 0;
    virtual void mnuAdmisionInternacion_Click() = 0;
    virtual void mnuAltaInternacion_Click() = 0;
    virtual void mnuEnvioProtocolo_Click() = 0;
    virtual void mnuAutorizacionOrtodoncia_Click() = 0;
    virtual void mnuAutorizacionSolicitudProtesis_Click() = 0;
    virtual void mnuRescateSolicitudProtesis_Click() = 0;
    virtual void mnuConsultaCierre_Click() = 0;
    virtual void mnuCierreLote_Click() = 0;
    virtual void mnuMedicamentos_Click() = 0;
};
