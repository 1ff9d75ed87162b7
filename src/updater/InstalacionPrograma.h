#pragma once
#include "platform/VbError.h"

#include <QString>

// The file steps of an installation, with the runtime's error numbers the user is shown:
// 53 a missing file, 70 permission denied (also a target that stays busy), 75 any other.
namespace InstalacionPrograma {

// Tries of a rename whose target is busy after the first: one every pause.
constexpr int kReintentos = 20;
// The pause between those tries (500 ms); tests shorten it.
void setPausaMs(int ms);

// Copies `origen` over `destino` through a complete temporary copy renamed into place, so the
// old program stays whole on any failure. Raises VbError; false when the program was asked to
// end during a pause (nothing was replaced).
bool Reemplazar(const QString& origen, const QString& destino);
// Starts the program in its folder without arguments; VbError when it cannot start.
void Iniciar(const QString& programa);

VbError ErrorDeSistema(int numero);

}
