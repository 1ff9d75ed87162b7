#include "platform/Printers.h"

#include "platform/VbError.h"

#include <QFontDatabase>
#include <QPrinterInfo>

namespace Printers {

namespace {
bool g_injected = false;
QStringList g_names;
QString g_default;
QHash<QString, QStringList> g_fuentes;
int g_fallaTras = -1;
QString g_falla;

constexpr qint32 kErrorImpresoras = 482;

[[noreturn]] void Fallar()
{
    throw VbError(kErrorImpresoras, QStringLiteral("Printers"), g_falla);
}
}

QStringList Names()
{
    if (g_injected) {
        if (g_fallaTras >= 0) Fallar();
        return g_names;
    }
    return QPrinterInfo::availablePrinterNames();
}

QString DefaultName()
{
    if (g_injected) return g_default;
    return QPrinterInfo::defaultPrinterName();
}

void Recorrer(const std::function<void(const QString&)>& visitar)
{
    const QStringList nombres = g_injected ? g_names : QPrinterInfo::availablePrinterNames();
    for (int i = 0; i < nombres.size(); ++i) {
        if (g_injected && g_fallaTras >= 0 && i >= g_fallaTras) Fallar();
        visitar(nombres.at(i));
    }
    if (g_injected && g_fallaTras >= nombres.size()) Fallar();
}

QStringList Fuentes(const QString& deviceName)
{
    if (g_injected) return g_fuentes.value(deviceName);
    return QFontDatabase::families();
}

void setTestPrinters(const QStringList& names, const QString& defaultName)
{
    g_injected = true;
    g_names = names;
    g_default = defaultName;
}

void setTestFonts(const QHash<QString, QStringList>& fuentes) { g_fuentes = fuentes; }

void setFallaLectura(int despues, const QString& descripcion)
{
    g_fallaTras = despues;
    g_falla = descripcion.isEmpty() ? QStringLiteral("No se pudo leer la lista de impresoras") : descripcion;
}

void resetTestPrinters()
{
    g_injected = false;
    g_names.clear();
    g_default.clear();
    g_fuentes.clear();
    g_fallaTras = -1;
    g_falla.clear();
}

}
