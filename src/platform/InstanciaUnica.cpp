#include "platform/InstanciaUnica.h"

#include "platform/Paths.h"

#include <QLockFile>
#include <memory>

namespace InstanciaUnica {

namespace {
std::unique_ptr<QLockFile> g_bloqueo;
}

QString ArchivoBloqueo()
{
    return Paths::Join(Paths::ConfigDir(), QStringLiteral("Quorvan.lock"));
}

bool Tomar()
{
    if (g_bloqueo && g_bloqueo->isLocked()) return true;
    g_bloqueo = std::make_unique<QLockFile>(ArchivoBloqueo());
    // Never stale by age: only a lock whose process is gone is taken over.
    g_bloqueo->setStaleLockTime(0);
    if (g_bloqueo->tryLock(0)) return true;
    g_bloqueo.reset();
    return false;
}

void Liberar()
{
    if (g_bloqueo) g_bloqueo->unlock();
    g_bloqueo.reset();
}

}
