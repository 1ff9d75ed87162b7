#pragma once
#include <QUrl>
#include <functional>

// Opens a document or a web page in the desktop's own viewer (help file, the maker's pages).
namespace Navegador {

// False when the desktop could not open it.
bool Abrir(const QUrl& direccion);

// Test seam: an empty function restores the desktop.
void setAbridor(std::function<bool(const QUrl&)> f);

}
