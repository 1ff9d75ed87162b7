#pragma once
#include <QString>
#include <functional>

// Windows of the main window that start-up and the working windows reach: the access-code
// dialog and the configuration window, not built yet, return at once, as if closed without a
// change; the insurer list is the main window's own.
namespace modVentanas {

// The access-code dialog, `Inicio(arranque)`: shown modally, returns when it (and any
// configuration window opened from it) has closed.
void InicioClaveAcceso(bool arranque);
// The configuration window shown modally, with its start-up flag `bFirstRun`.
void MostrarConfiguracion(bool bFirstRun);
// The main window's insurer list: `RefrescarLista` and its selected line.
void RefrescarListaObrasSociales();
// Empty when none is selected.
QString LineaObraSocialSeleccionada();

// Tests: sees every call above ("frmPassword" / "frmConfigurar" / "frmObraSocial" and the flag).
void setObservador(std::function<void(const QString& ventana, bool valor)> observador);

}
