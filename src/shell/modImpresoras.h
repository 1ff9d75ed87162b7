#pragma once
#include <QString>

class QListWidget;

// The ticket printer choice shared by the printer window and the configuration window.
namespace modImpresoras {

// Fills `lista` with the system's printers and selects the active one (the first when the
// active printer is not listed). A failure while reading is shown ("Imposible consultar las
// impresoras instaladas."); the entries read before it stay, none selected. Returns the number
// of entries.
int CargarImpresoras(QListWidget* lista);

// The device name of the first printer that matches `texto` without regard to case; empty when
// none does.
QString BuscarImpresora(const QString& texto);
// Makes the first printer whose device name matches `texto` without regard to case the active
// printer, with its first font named "Courier" in any case at 10 points (the font stays when it
// has none). Returns the printer's device name, empty when none matched.
QString ActivarImpresora(const QString& texto);

// Stores the printing flag and the ticket printer in the terminal's configuration row and
// nothing else: other columns and the reference tables stay as they are in the database.
// False when the terminal has no row (nothing was stored); the same values again still match it.
bool GuardarImpresora(qint16 idTerminal, bool imprimir, const QString& impresora);

}
