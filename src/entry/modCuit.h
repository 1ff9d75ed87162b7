#pragma once
#include <QString>
#include <QVariant>

// A CUIT is shown as "xx-xxxxxxxx-x" and sent and compared as its eleven digits. The entry
// form, the report window and the report text share these routines.
namespace modCuit {

// Characters 1-2, "-", characters 3-10, "-", character 11 of the text (a shorter text gives
// what it has of each part).
QString FormaCuit(const QString& digitos);
// The number padded to eleven digits and shown as above, as the mask "00-00000000-0" shows
// it; a value that is not a number comes back as its text, and null as "".
QString FormaCuitNumero(const QVariant& valor);
// The form above built from the digits of a typed or stored text, so a formatted CUIT comes
// back unchanged; "" when the text has no digit.
QString FormaCuitTexto(const QString& texto);
// The digits of a CUIT shown with dashes.
QString SinGuiones(const QString& cuit);

}
