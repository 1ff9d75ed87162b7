#pragma once
#include <QString>

class QComboBox;

// The drop-down lists the working and configuration windows share, filled from the global
// configuration, and the splitting of "(code) text" entries.
namespace General {

// Providers marked Admisor: the name shown, the provider id as item data.
void CargarComboPrestadores(QComboBox* combo);
// A blank entry "00", then every speciality: name, 100 blanks, id (the id is item data too).
void CargarComboEspecialidades(QComboBox* combo);
// Shows the entries of a list whose entries carry a code after 100 blanks by their visible part
// only, in the closed list and in its popup.
void OcultarRelleno(QComboBox* combo);
// Registration types and the 26 jurisdictions ("X.NAME", the code before the dot).
void CargarCombosMatricula(QComboBox* tipos, QComboBox* jurisdicciones);
// The key filter of the entry fields. Enter and Backspace always pass; a character listed in
// `rechazados` never does; type 2 takes digits and "-", type 1 anything. The caller beeps and
// drops a refused key.
bool ValidarTecla(int keyAscii, int tipo, const QString& rechazados);

// "(code) text": `texto` receives the text and `codigo` the code; anything else changes nothing.
void SepararCodigoParentesis(QString& texto, QString& codigo);

}
