#include "support/RecordingPrinter.h"

QList<RecordingPrinter::Trabajo>& RecordingPrinter::trabajos()
{
    static QList<Trabajo> all;
    return all;
}

void RecordingPrinter::install(int lineasPorPagina, bool fallarInicio)
{
    trabajos().clear();
    Printing::setBackendFactory([lineasPorPagina, fallarInicio]() -> std::unique_ptr<PrintBackend> {
        return std::make_unique<RecordingPrinter>(lineasPorPagina, fallarInicio);
    });
}

void RecordingPrinter::uninstall()
{
    Printing::setBackendFactory({});
    trabajos().clear();
}

QStringList RecordingPrinter::comoTexto(const QList<Linea>& pagina)
{
    QStringList r;
    for (const Linea& l : pagina)
        r << (l.codigo ? QStringLiteral("[CODIGO %1 %2]").arg(l.texto).arg(l.tamano) : l.texto);
    return r;
}

RecordingPrinter::RecordingPrinter(int lineasPorPagina, bool fallarInicio)
    : m_lineasPorPagina(lineasPorPagina), m_fallarInicio(fallarInicio)
{
}

bool RecordingPrinter::begin(const QString& printerName)
{
    if (m_fallarInicio) {
        m_error = QStringLiteral("impresora fuera de línea");
        return false;
    }
    Trabajo t;
    t.impresora = printerName;
    t.paginas.append(QList<Linea>());
    trabajos().append(t);
    m_indice = trabajos().size() - 1;
    return true;
}

RecordingPrinter::Trabajo& RecordingPrinter::actual() { return trabajos()[m_indice]; }

void RecordingPrinter::agregar(const Linea& l)
{
    if (m_indice < 0) return;
    if (m_lineasPorPagina > 0 && actual().paginas.last().size() >= m_lineasPorPagina) actual().paginas.append(QList<Linea>());
    actual().paginas.last().append(l);
}

void RecordingPrinter::printLine(const QString& text) { agregar({false, text, m_fuente, m_tamano}); }

void RecordingPrinter::printBarcode(const QString& text, const QImage& symbol, int pointSize)
{
    if (symbol.isNull()) return;
    agregar({true, text, m_fuente, pointSize});
}

void RecordingPrinter::newPage()
{
    if (m_indice >= 0) actual().paginas.append(QList<Linea>());
}

bool RecordingPrinter::end()
{
    if (m_indice < 0) return false;
    actual().terminado = true;
    return true;
}
