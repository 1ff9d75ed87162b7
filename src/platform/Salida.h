#pragma once
#include <functional>

// Ending the program "at once": a request that also works before the event loop runs (the
// start-up runs first, and main() looks at the request before it enters the loop), and the
// termination signals routed into the event loop.
namespace Salida {

// Asks the program to end with `codigo`; the first request wins.
void Solicitar(int codigo = 0);
bool Solicitada();
int Codigo();
// Forgets a request (tests).
void Reiniciar();

// SIGTERM and SIGINT run `alTerminar` on the event loop's thread (never inside the signal
// handler). Needs a QCoreApplication.
void InstalarSenales(std::function<void()> alTerminar);

}
