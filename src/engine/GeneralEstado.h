#pragma once
#include <QtGlobal>

// The main window's run-time state that the working windows read: the terminal, the chosen
// operation and the flags of the insurer chosen in the insurer list.
namespace General {

// This PC's terminal (IdTerminal of its Parametros row); 0 when none.
extern qint16 NumeroTerminal;
// Operation code of the open working window; 0 when none or the clinical history.
extern qint16 OperacionActual;
// Card security-code mode: 0 off, 1 asked and validated, 2 asked only.
extern qint16 SubModoOperacion;
// Flags of the insurer selected in the insurer list.
extern bool ObraSocialOnLine;
extern bool ObraSocialUtilizaCSC;

}
