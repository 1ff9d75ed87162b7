#include "platform/InstanciaUnica.h"

#include "platform/Bloqueo.h"
#include "platform/Paths.h"

#include <memory>

namespace InstanciaUnica {

namespace {
std::unique_ptr<Bloqueo> g_bloqueo;
}

QString ArchivoBloqueo()
{
    return Paths::Join(Paths::ConfigDir(), QStringLiteral("Quorvan.lock"));
}

bool Tomar(QString* error)
{
    if (g_bloqueo && g_bloqueo->Tomado()) return true;
    g_bloqueo = std::make_unique<Bloqueo>(ArchivoBloqueo());
    if (g_bloqueo->Tomar()) return true;
    if (error) *error = g_bloqueo->Error();
    g_bloqueo.reset();
    return false;
}

void Liberar() { g_bloqueo.reset(); }

}
