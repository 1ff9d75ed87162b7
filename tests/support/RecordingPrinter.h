#pragma once
#include "platform/Printing.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// A print back end that keeps what would have been printed, page by page.
class RecordingPrinter : public PrintBackend {
public:
    struct Linea {
        bool codigo = false; // the barcode line
        QString texto;
        QString fuente;
        int tamano = 0;
    };
    struct Trabajo {
        QString impresora;
        QList<QList<Linea>> paginas;
        bool terminado = false;
    };

    // Every job of every RecordingPrinter made by install(), in order.
    static QList<Trabajo>& trabajos();
    // Makes Printing create RecordingPrinters from now on (clears the recorded jobs);
    // `lineasPorPagina` > 0 breaks a full page as a printer would; `fallarInicio` refuses to start.
    static void install(int lineasPorPagina = 0, bool fallarInicio = false);
    static void uninstall();

    // A page as text: the lines, the barcode line as "[CODIGO <text> <size>]".
    static QStringList comoTexto(const QList<Linea>& pagina);

    explicit RecordingPrinter(int lineasPorPagina = 0, bool fallarInicio = false);

    bool begin(const QString& printerName) override;
    QString lastError() const override { return m_error; }
    void setFontName(const QString& name) override { m_fuente = name; }
    void setFontSize(int pointSize) override
    {
        if (pointSize > 0) m_tamano = pointSize;
    }
    QString fontName() const override { return m_fuente; }
    int fontSize() const override { return m_tamano; }
    int linesPerPage() const override { return m_lineasPorPagina > 0 ? m_lineasPorPagina : 66; }
    void printLine(const QString& text) override;
    void printBarcode(const QString& text, const QImage& symbol, int pointSize) override;
    void newPage() override;
    bool end() override;

private:
    Trabajo& actual();
    void agregar(const Linea& l);

    int m_lineasPorPagina;
    bool m_fallarInicio;
    int m_indice = -1;
    QString m_error;
    QString m_fuente = QStringLiteral("Courier New");
    int m_tamano = 10;
};
