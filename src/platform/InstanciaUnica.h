#pragma once
#include <QString>

// One running Quorvan per user: a lock file in the configuration folder. The lock of a copy
// that died is taken over (its process is gone), and a long-running copy keeps its lock.
namespace InstanciaUnica {

// True when this process now holds the lock (or held it already).
bool Tomar();
// Releases the lock; harmless when not held.
void Liberar();
QString ArchivoBloqueo();

}
