#pragma once
#include "platform/VbError.h"

#include <QString>
#include <QStringList>
#include <functional>

// Starting other programs.
namespace Procesos {

// Starts `programa` with `argumentos` (each one argument, as given) in the folder `carpeta`,
// without waiting for it; 0, or the system's error number that best tells why it could not
// start (ENOENT, EACCES, ...).
int IniciarSeparado(const QString& programa, const QStringList& argumentos, const QString& carpeta);
// The same without arguments.
int IniciarSeparado(const QString& programa, const QString& carpeta);

// A start's error number as the run-time error the user is shown: 53 a missing file, 70
// permission denied (also a busy file), 75 any other.
VbError ErrorDeSistema(int numero, const QString& origen);

// Test seam: an empty function restores the real start.
void setIniciador(std::function<int(const QString& programa, const QStringList& argumentos, const QString& carpeta)> f);

}
