#pragma once
#include <QString>
#include <QStringList>

// The installed printers as the system knows them. Tests inject their own list so that no
// test depends on, or reaches, the machine's real printers.
namespace Printers {

// Device names of the installed printers.
QStringList Names();
// Device name of the system's default printer; empty when there is none.
QString DefaultName();

// Test hook: from now on Names() and DefaultName() answer these.
void setTestPrinters(const QStringList& names, const QString& defaultName);
// Back to the system's printers.
void resetTestPrinters();

}
