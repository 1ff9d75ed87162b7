#pragma once
#include <QString>

// Ticket printing.
namespace modImpresion {

// Chooses the printer for a ticket from the configured device name: an installed printer of
// that name, whatever its letter case, becomes the active printer; with no such printer the
// active one stays. Returns false (nothing to print on) only when no name is configured and
// the system has no printers.
bool ElegirImpresoraConfigurada(const QString& configurada);

// Prints `Copias` copies of the ticket on the configured printer `PrinterDevice` (see above):
// the caller hands over the configuration's printer, font and copies, and prints only when
// the configuration says so; the engine never reads the configuration itself. A ticket longer than `LargoHoja` lines prints as it stands, a
// shorter one is padded to `LargoHoja` lines; two copies share a sheet. Each copy ends with
// the barcode line when there is a barcode text that can be encoded. Failures are shown, never
// raised.
void ImprimirComprobante(const QString& Ticket, qint32 Lineas, const QString& PrinterDevice, const QString& FontName,
                         qint16 FontSize, qint16 LargoHoja, qint16 Copias, const QString& CodigoBarras);

}
