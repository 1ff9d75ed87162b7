#include "engine/modImpresion.h"

#include "platform/Barcode.h"
#include "platform/Dialogs.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/VbError.h"

namespace modImpresion {

namespace {
constexpr qint32 kErrorImpresora = 482;
constexpr int kCodigoLargo = 16;
constexpr int kCodigoCorto = 20;
const QString kFuentePredeterminada = QStringLiteral("Predeterminada");
}

bool ElegirImpresoraConfigurada(const QString& configurada)
{
    const QStringList instaladas = Printers::Names();
    if (configurada.isEmpty()) return !instaladas.isEmpty();
    for (const QString& nombre : instaladas) {
        if (nombre.compare(configurada, Qt::CaseInsensitive) == 0) {
            Printing::setImpresoraActiva(nombre);
            break;
        }
    }
    return true;
}

void ImprimirComprobante(const QString& Ticket, qint32 Lineas, const QString& PrinterDevice,
                         const QString& FontName, qint16 FontSize, qint16 LargoHoja, qint16 Copias,
                         const QString& CodigoBarras)
{
    try {
        if (!ElegirImpresoraConfigurada(PrinterDevice)) {
            Dialogs::MsgBox(QStringLiteral("No se puede imprimir, no tiene impresoras configuradas en su sistema."),
                            Vbc::vbInformation, QStringLiteral("Imposible imprimir"));
            return;
        }
        // No copies asked for: no job at all, not a blank sheet.
        if (Copias <= 0) return;

        // A text the barcode cannot encode still prints the ticket, without that line.
        const QImage codigo = CodigoBarras.isEmpty() ? QImage() : Barcode::Code39(CodigoBarras);

        auto job = Printing::CrearBackend();
        if (!job->begin(Printing::ImpresoraActiva()))
            throw VbError(kErrorImpresora, QStringLiteral("ImprimirComprobante"), job->lastError());
        // "Predeterminada" (or no name) is the active printer's font when the printer window set
        // one, else the job's own.
        const bool predeterminada =
            FontName.isEmpty() || FontName.compare(kFuentePredeterminada, Qt::CaseInsensitive) == 0;
        if (!predeterminada) job->setFontName(FontName);
        else if (!Printing::FuenteActiva().isEmpty()) job->setFontName(Printing::FuenteActiva());
        if (FontSize > 7) job->setFontSize(FontSize);
        else if (predeterminada && Printing::TamanoFuenteActiva() > 0) job->setFontSize(Printing::TamanoFuenteActiva());
        const QString fuente = job->fontName();
        const int tamano = job->fontSize();

        const QStringList lineas = Printing::LineasDeTexto(Ticket);
        const bool largo = Lineas > LargoHoja;
        for (int copia = 1; copia <= Copias; ++copia) {
            if (copia > 1 && copia % 2 == 1) job->newPage();
            for (const QString& l : lineas) job->printLine(l);
            if (!largo)
                for (qint32 i = Lineas; i < LargoHoja; ++i) job->printLine(QString());
            if (!codigo.isNull()) {
                job->printBarcode(Barcode::TextoCode39(CodigoBarras), codigo, largo ? kCodigoLargo : kCodigoCorto);
                job->setFontName(fuente);
                job->setFontSize(tamano);
            }
        }
        job->setFontName(fuente);
        job->setFontSize(tamano);
        if (!job->end()) throw VbError(kErrorImpresora, QStringLiteral("ImprimirComprobante"), job->lastError());
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error al imprimir: ") + e.description, Vbc::vbCritical);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error al imprimir: ") + QString::fromLocal8Bit(e.what()), Vbc::vbCritical);
    }
}

}
