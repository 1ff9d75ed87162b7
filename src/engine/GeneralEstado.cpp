#include "engine/GeneralEstado.h"

namespace General {

qint16 NumeroTerminal = 0;
qint16 OperacionActual = 0;
qint16 SubModoOperacion = 0;
bool ObraSocialOnLine = false;
bool ObraSocialUtilizaCSC = false;

}
