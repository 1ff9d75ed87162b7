#pragma once
#include <QString>

class QComboBox;
class clsMedico;

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

// Padded entries (text, 100 blanks, code) show only their text in the popup.
void OcultarRelleno(QComboBox* combo);

// The prescriber list: an empty entry, then the providers (name, 100 blanks, provider code)
// when `prestador` and the operation is 5 or when not `prestador` and the operation is 19,
// else the doctors (name, 100 blanks, registration, 3 blanks, registration type). No choice.
void CargarComboMedicos(QComboBox* combo, bool prestador);
// A doctor's entry of that list.
QString TextoItemMedico(const clsMedico& medico);
// Every effector, its id as item data; the first chosen when `seleccion` is empty.
void CargarComboEfectores(QComboBox* combo, const QString& seleccion);
// Adds the four institution types (text, 100 blanks, code) and chooses the first.
void CargarComboTipoInstitucion(QComboBox* combo);
// Adds the discharge types of an admission (`internacion`; without "0" for operation 12) or
// of a treatment (only "0" and "1" for provider type 5), and chooses the first.
void CargarComboTipoEgreso(QComboBox* combo, bool internacion, qint16 operacion, qint16 tipoPrestador);

// A doctor's entry back into its name, registration, type letter (the last letter of the
// registration type) and jurisdiction letter (the first). What cannot be cut stays unchanged.
void SepararDatosPrescriptor(const QString& texto, QString& nombre, QString& matricula, QString& tipo,
                             QString& jurisdiccion);
// A provider's entry back into its name and code (the last 20 characters, trimmed).
void SepararNombreCodigo(const QString& texto, QString& nombre, QString& codigo);
// "C.NACIONAL" into "C" and "NACIONAL"; a text without "." changes nothing.
void SepararPorPunto(const QString& texto, QString& parte1, QString& parte2);

// "(code) text": `texto` receives the text and `codigo` the code; anything else changes nothing.
void SepararCodigoParentesis(QString& texto, QString& codigo);

}
