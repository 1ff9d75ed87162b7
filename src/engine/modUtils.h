#pragma once
#include <QByteArray>
#include <QString>

// Shared helpers of the exchange and of the database readers.
namespace modUtils {

// Two upper-case hexadecimal digits per byte, in order, no separators.
QString BytesAHex(const QByteArray& bytes);
// The file's bytes as hexadecimal text. A missing or unreadable file is reported to the
// user ("No encuento archivo" / "No puedo abrir archivo") and then raised, so no request
// goes out with an empty attachment.
QString LeerArchivoComoHex(const QString& ruta);
// Writes the hexadecimal text of `origen` into `destino`, as single-byte characters.
void ConvertirArchivoAHex(const QString& origen, const QString& destino);

}
