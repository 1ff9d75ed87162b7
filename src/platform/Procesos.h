#pragma once
#include <QString>
#include <functional>

// Starting other programs.
namespace Procesos {

// Starts `programa` without arguments in the folder `carpeta`, without waiting for it; 0, or
// the system's error number that best tells why it could not start (ENOENT, EACCES, ...).
int IniciarSeparado(const QString& programa, const QString& carpeta);

// Test seam: an empty function restores the real start.
void setIniciador(std::function<int(const QString& programa, const QString& carpeta)> f);

}
