#pragma once
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

// A print job as the ticket printing drives it: line after line in the current font, explicit
// page breaks, and the barcode line. The program prints through QtPrintBackend; tests put a
// recording back end in its place.
class PrintBackend {
public:
    virtual ~PrintBackend() = default;
    // Starts the job on the named printer; false (with lastError()) when it cannot start.
    virtual bool begin(const QString& printerName) = 0;
    virtual QString lastError() const = 0;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(int pointSize) = 0;
    virtual QString fontName() const = 0;
    virtual int fontSize() const = 0;
    // How many lines of the current font fit one page.
    virtual int linesPerPage() const = 0;
    // One line of text; a full page breaks by itself.
    virtual void printLine(const QString& text) = 0;
    // The barcode symbol (one pixel per module) as one line whose bars are `pointSize` high.
    virtual void printBarcode(const QString& text, const QImage& symbol, int pointSize) = 0;
    virtual void newPage() = 0;
    // Ends the job and hands it to the printer; false when that fails.
    virtual bool end() = 0;
};

// QPrinter/QPainter: a real printer, or a PDF file when one is named.
class QtPrintBackend : public PrintBackend {
public:
    explicit QtPrintBackend(QString pdfFile = QString());
    ~QtPrintBackend() override;

    bool begin(const QString& printerName) override;
    QString lastError() const override { return m_error; }
    void setFontName(const QString& name) override;
    void setFontSize(int pointSize) override;
    QString fontName() const override { return m_font.family(); }
    int fontSize() const override { return m_font.pointSize(); }
    int linesPerPage() const override;
    void printLine(const QString& text) override;
    void printBarcode(const QString& text, const QImage& symbol, int pointSize) override;
    void newPage() override;
    bool end() override;

private:
    qreal lineHeight() const;
    qreal pageHeight() const;
    void makeRoom(qreal height);

    QString m_pdfFile;
    QString m_error;
    QFont m_font;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    qreal m_y = 0;
};

// The program-wide printing state: the active printer (what the old Printer object was) and
// the back end print jobs are made with. The system default printer is never changed.
namespace Printing {

// The printer the next job goes to: the one last chosen, else the system default, else the
// first installed printer; empty when the system has none.
QString ImpresoraActiva();
void setImpresoraActiva(const QString& deviceName);
// Forget the choice (tests): the active printer follows the system default again, with no
// font of its own.
void reiniciarImpresoraActiva();
// The active printer's font, as the printer window set it; empty name (and size 0) while none
// was set, and the job keeps its own font. Tickets configured with the font "Predeterminada"
// print in it.
QString FuenteActiva();
int TamanoFuenteActiva();
void setFuenteActiva(const QString& nombre, int tamano);

// A new back end for one job.
std::unique_ptr<PrintBackend> CrearBackend();
// Tests: jobs are made by this factory; an empty function restores QtPrintBackend.
void setBackendFactory(std::function<std::unique_ptr<PrintBackend>()> factory);

// The standard printer-selection dialog (modal, through the dialog facade); an accepted
// choice becomes the active printer. Returns the active printer's device name afterwards.
QString ElegirImpresora(QWidget* parent = nullptr);

// Ticket text split into its lines (CR LF, CR or LF); a final line end opens no extra line.
QStringList LineasDeTexto(const QString& texto);

}
