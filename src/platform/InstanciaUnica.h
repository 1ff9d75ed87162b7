#pragma once
#include <QString>

// One running Quorvan per user: a lock on a file in the configuration folder, which the system
// lets go with the process holding it, so a copy that died leaves nothing to take over.
namespace InstanciaUnica {

// True when this process now holds the lock (or held it already). False with `error` empty when
// another copy holds it, or with the refusal naming the file when something else stands there.
bool Tomar(QString* error = nullptr);
// Releases the lock; harmless when not held.
void Liberar();
QString ArchivoBloqueo();

}
