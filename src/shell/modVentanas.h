#pragma once
#include <QString>
#include <functional>

// Windows of the main window that start-up and the working windows reach but that are not
// built yet: the access-code dialog, the configuration window and the insurer list. Until
// they are, each returns at once, as if its window had been closed without a change.
namespace modVentanas {

// The access-code dialog, `Inicio(arranque)`: shown modally, returns when it (and any
// configuration window opened from it) has closed.
void InicioClaveAcceso(bool arranque);
// The configuration window shown modally, with its start-up flag `bFirstRun`.
void MostrarConfiguracion(bool bFirstRun);
// The insurer list's `RefrescarLista`.
void RefrescarListaObrasSociales();
// The text of the insurer list's selected line; empty when none is selected.
QString LineaObraSocialSeleccionada();

// Tests: sees every call above ("frmPassword" / "frmConfigurar" / "frmObraSocial" and the flag).
void setObservador(std::function<void(const QString& ventana, bool valor)> observador);

}
