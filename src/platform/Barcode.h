#pragma once
#include <QImage>
#include <QString>

// Code 39 symbols for the ticket's barcode line, drawn by libzint.
namespace Barcode {

// The text as the encoder takes it: the ticket carries it between "*" (the start and stop
// characters of the old barcode font), which the encoder adds by itself.
QString TextoCode39(const QString& texto);

// One pixel per module, bars black on white, no human-readable text. A null image (and the
// encoder's reason in `error`) when the text is empty or cannot be encoded in Code 39.
QImage Code39(const QString& texto, QString* error = nullptr);

}
