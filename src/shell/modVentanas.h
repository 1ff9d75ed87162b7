#pragma once
#include <QString>
#include <functional>

// Windows of the main window that start-up and the other windows reach: the access-code
// dialog, the configuration window, and the main window's own insurer list and side bar.
namespace modVentanas {

// The access-code dialog, `frmPassword::Inicio(arranque)`: shown modally, returns when it (and
// any configuration window opened from it) has closed.
void InicioClaveAcceso(bool arranque);
// The configuration window shown modally, with its start-up flag `bFirstRun`.
void MostrarConfiguracion(bool bFirstRun);
// The main window's insurer list: `RefrescarLista` and its selected line.
void RefrescarListaObrasSociales();
// The side bar's `Habilitar_Operaciones`: its buttons set again for the selected insurer.
void HabilitarOperaciones();
// The text of the insurer list's selected line; empty when none is selected.
QString LineaObraSocialSeleccionada();

// Tests: sees every call above ("frmPassword" / "frmConfigurar" / "frmObraSocial" /
// "Habilitar_Operaciones" and the flag).
void setObservador(std::function<void(const QString& ventana, bool valor)> observador);

}
