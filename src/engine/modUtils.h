#pragma once
#include <QByteArray>
#include <QString>
#include <QVariant>

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


// Helpers of the database readers and writers.

// The documented names of two conversions of ValoresBD (platform/ValoresBD.h).
// "" for a null value, else its text form without leading and trailing blanks.
QString NuloATexto(const QVariant& valor);
// 0 for a null value, else the leading number of its text, rounded half to even into 32 bits
// (error 6 beyond the range).
qint32 NuloANumero(const QVariant& valor);
// Doubles every backslash when the engine name is exactly "postgresql" (any case), for SQL
// literals on a server without standard strings. Bound parameters never pass through it.
QString EscaparBarras(const QString& texto, const QString& motorBD);
// A code of digits only loses its leading zeros ("007" gives "7", "" and "000" give "0"), kept
// as text whatever its length; any other code comes back trimmed.
QString NormalizarCodigo(const QString& codigo);

}
