#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

// The installed printers as the system knows them. Tests inject their own list so that no
// test depends on, or reaches, the machine's real printers.
namespace Printers {

// Device names of the installed printers. Raises VbError when the list cannot be read.
QStringList Names();
// Device name of the system's default printer; empty when there is none.
QString DefaultName();
// Hands each installed printer's device name to `visitar`, in the system's order; a failure
// while reading is raised (VbError) after the printers read before it were handed over.
void Recorrer(const std::function<void(const QString&)>& visitar);
// The font families a printer prints with, in its order. CUPS renders with the system's fonts,
// so on Linux these are the system's families.
QStringList Fuentes(const QString& deviceName);

// Test hook: from now on Names() and DefaultName() answer these.
void setTestPrinters(const QStringList& names, const QString& defaultName);
// Test hook: the fonts of each injected printer (a printer not listed has none).
void setTestFonts(const QHash<QString, QStringList>& fuentes);
// Test hook: reading the printers fails after `despues` of them were read (-1: never).
void setFallaLectura(int despues, const QString& descripcion = QString());
// Back to the system's printers.
void resetTestPrinters();

}
