#include "platform/Printing.h"
#include "platform/FuenteFija.h"

#include "platform/Dialogs.h"
#include "platform/Printers.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {
QFont defaultTicketFont()
{
    return FuenteFija::Courier(10);
}
}

QtPrintBackend::QtPrintBackend(QString pdfFile) : m_pdfFile(std::move(pdfFile)), m_font(defaultTicketFont()) {}

QtPrintBackend::~QtPrintBackend()
{
    if (m_painter && m_painter->isActive()) m_painter->end();
}

bool QtPrintBackend::begin(const QString& printerName)
{
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!m_pdfFile.isEmpty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_pdfFile);
    } else {
        if (printerName.isEmpty()) {
            m_error = QStringLiteral("No hay ninguna impresora disponible");
            return false;
        }
        m_printer->setPrinterName(printerName);
        if (!m_printer->isValid() || m_printer->printerName() != printerName) {
            m_error = QStringLiteral("La impresora \"%1\" no está disponible").arg(printerName);
            return false;
        }
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_error = QStringLiteral("No se pudo iniciar la impresión en \"%1\"")
                      .arg(m_pdfFile.isEmpty() ? printerName : m_pdfFile);
        m_painter.reset();
        return false;
    }
    m_painter->setFont(m_font);
    m_y = 0;
    return true;
}

void QtPrintBackend::setFontName(const QString& name)
{
    m_font.setFamily(name);
    if (m_painter) m_painter->setFont(m_font);
}

void QtPrintBackend::setFontSize(int pointSize)
{
    if (pointSize <= 0) return;
    m_font.setPointSize(pointSize);
    if (m_painter) m_painter->setFont(m_font);
}

qreal QtPrintBackend::lineHeight() const
{
    return m_printer ? QFontMetricsF(m_font, m_printer.get()).lineSpacing() : QFontMetricsF(m_font).lineSpacing();
}

qreal QtPrintBackend::pageHeight() const
{
    return m_printer ? m_printer->pageRect(QPrinter::DevicePixel).height() : 0;
}

int QtPrintBackend::linesPerPage() const
{
    const qreal h = lineHeight();
    return h > 0 ? static_cast<int>(pageHeight() / h) : 0;
}

void QtPrintBackend::makeRoom(qreal height)
{
    if (m_y > 0 && m_y + height > pageHeight()) newPage();
}

void QtPrintBackend::printLine(const QString& text)
{
    if (!m_painter) return;
    const qreal h = lineHeight();
    makeRoom(h);
    if (!text.isEmpty()) {
        const QFontMetricsF fm(m_font, m_printer.get());
        m_painter->drawText(QPointF(0, m_y + fm.ascent()), text);
    }
    m_y += h;
}

void QtPrintBackend::printBarcode(const QString&, const QImage& symbol, int pointSize)
{
    if (!m_painter || symbol.isNull() || pointSize <= 0) return;
    const qreal dpi = m_printer->resolution();
    const qreal height = pointSize * dpi / 72.0;
    // Narrow bars of about a fortieth of the height, as the old barcode font drew them;
    // never wider than the page.
    qreal module = std::max<qreal>(1.0, std::round(height / 40.0));
    const qreal pageWidth = m_printer->pageRect(QPrinter::DevicePixel).width();
    qreal width = symbol.width() * module;
    if (width > pageWidth) width = pageWidth;
    const qreal advance = height * 1.2;
    makeRoom(advance);
    m_painter->drawImage(QRectF(0, m_y + (advance - height) / 2, width, height), symbol);
    m_y += advance;
}

void QtPrintBackend::newPage()
{
    if (!m_printer) return;
    m_printer->newPage();
    m_y = 0;
}

bool QtPrintBackend::end()
{
    if (!m_painter) return false;
    if (!m_painter->end()) {
        m_error = QStringLiteral("No se pudo terminar la impresión");
        return false;
    }
    return true;
}

namespace Printing {

namespace {
QString g_activa;
bool g_elegida = false;
QString g_fuente;
int g_tamano = 0;
std::function<std::unique_ptr<PrintBackend>()> g_factory;
}

QString ImpresoraActiva()
{
    if (g_elegida) return g_activa;
    const QString def = Printers::DefaultName();
    if (!def.isEmpty()) return def;
    const QStringList all = Printers::Names();
    return all.isEmpty() ? QString() : all.first();
}

void setImpresoraActiva(const QString& deviceName)
{
    g_activa = deviceName;
    g_elegida = true;
}

void reiniciarImpresoraActiva()
{
    g_activa.clear();
    g_elegida = false;
    g_fuente.clear();
    g_tamano = 0;
}

QString FuenteActiva() { return g_fuente; }
int TamanoFuenteActiva() { return g_tamano; }

void setFuenteActiva(const QString& nombre, int tamano)
{
    g_fuente = nombre;
    g_tamano = tamano;
}

std::unique_ptr<PrintBackend> CrearBackend()
{
    if (g_factory) return g_factory();
    return std::make_unique<QtPrintBackend>();
}

void setBackendFactory(std::function<std::unique_ptr<PrintBackend>()> factory) { g_factory = std::move(factory); }

QString ElegirImpresora(QWidget* parent)
{
    if (Printers::Names().isEmpty()) return ImpresoraActiva();
    QPrinter printer;
    const QString actual = ImpresoraActiva();
    if (!actual.isEmpty()) printer.setPrinterName(actual);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    if (Dialogs::ExecModal(&dialog) == QDialog::Accepted && !printer.printerName().isEmpty())
        setImpresoraActiva(printer.printerName());
    return ImpresoraActiva();
}

QStringList LineasDeTexto(const QString& texto)
{
    QString t = texto;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (t.isEmpty()) return {};
    QStringList lines = t.split(QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n'))) lines.removeLast();
    return lines;
}

}
