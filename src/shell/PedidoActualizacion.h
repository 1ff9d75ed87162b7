#pragma once
#include "platform/Platform.h"

#include <QString>

// The update request of the main window's "Actualización Quorvan" entry: the wizard's exchange
// in the terminal folder "termupg", a request of type "010" for the running version, then the
// trigger. It places the request only; the wizard reads the answer.
namespace PedidoActualizacion {

// The trigger's folder: the working folder's tx when `defaultDirTX` reads as True or `dirTX`
// is empty (the working-folder check empties it), else `dirTX`. A `defaultDirTX` that is not a
// number or True/False (even an empty one) raises error 13.
bool TriggerEnTx(const QString& defaultDirTX, const QString& dirTX);

// Writes the request and its control record whole, then the trigger. Raises VbError: 6 for a
// version part above 999 (before anything is written), 13 as above, 76 without a working
// folder or a trigger folder, 75 naming a file refused (a link, a pipe, a socket, a device or
// a folder where a file goes); files written before a failure stay.
void Grabar(const QString& directorioTrabajo, const QString& defaultDirTX, const QString& dirTX,
            const Platform::Version& version);

}
