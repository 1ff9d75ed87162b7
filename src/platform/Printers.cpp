#include "platform/Printers.h"

#include <QPrinterInfo>

namespace Printers {

namespace {
bool g_injected = false;
QStringList g_names;
QString g_default;
}

QStringList Names()
{
    if (g_injected) return g_names;
    return QPrinterInfo::availablePrinterNames();
}

QString DefaultName()
{
    if (g_injected) return g_default;
    return QPrinterInfo::defaultPrinterName();
}

void setTestPrinters(const QStringList& names, const QString& defaultName)
{
    g_injected = true;
    g_names = names;
    g_default = defaultName;
}

void resetTestPrinters()
{
    g_injected = false;
    g_names.clear();
    g_default.clear();
}

}
