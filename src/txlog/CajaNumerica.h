#pragma once
#include <QString>

class QLineEdit;

// A text box that takes digits only, whichever way the text arrives: typed, pasted (keys,
// context menu, middle button) or dropped. A typed key that is not a digit is refused, and a
// paste or a drop that holds any other character is refused whole: the box keeps the text it had.
namespace CajaNumerica {

// Empty, or the digits 0 to 9 and nothing else.
bool SoloDigitos(const QString& texto);

// Puts the rule on `caja`; text set by the program itself is not checked, so a form checks
// SoloDigitos again before it reads the box as a number.
void Aplicar(QLineEdit* caja);

}
