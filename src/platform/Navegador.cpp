#include "platform/Navegador.h"

#include <QDesktopServices>

namespace Navegador {

namespace {
std::function<bool(const QUrl&)> g_abridor;
}

bool Abrir(const QUrl& direccion) { return g_abridor ? g_abridor(direccion) : QDesktopServices::openUrl(direccion); }

void setAbridor(std::function<bool(const QUrl&)> f) { g_abridor = std::move(f); }

}
