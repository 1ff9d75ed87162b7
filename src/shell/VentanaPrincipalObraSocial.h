#pragma once
#include <QString>

// What the insurer list asks of the main window when the user selects an insurer. The main
// window implements it and hands itself to frmObraSocial::Principal.
class VentanaPrincipalObraSocial {
public:
    virtual ~VentanaPrincipalObraSocial() = default;
    // Writes the main window's caption with the insurer list's selected line.
    virtual void ActualizarTituloPrincipal() = 0;
    // Enables or disables the side-bar buttons and menu entries that serve only on-line
    // insurers (frmToolList::HabilitarSoloEnLinea and mnuVerficarAfiliado,
    // mnuVerificarPrestacion, mnuVerificarPrestador, mnuInformarAutorizar, mnuConsultarAutorizacion).
    virtual void HabilitarSoloEnLinea(bool habilitar) = 0;
    // Closes one working window by its name; one that is not open stays closed.
    virtual void DescargarFormulario(const QString& nombreForm) = 0;
};
