#pragma once
#include <QString>
#include <QVariant>

// Every conversion of a database value, read or bound, in one place. Values read back may be
// null; the routines say what a null gives. Numbers stored as text are read by their leading
// number (Vb::Val). The two truth rules stand under their own names: "non-zero is true"
// (VerdadNoCero, NuloAVerdad) and "equal to 1" (VerdadIgualUno).
namespace ValoresBD {

// ---- Read, null allowed ------------------------------------------------------------------
// A stored text from its UTF-8 bytes, every character kept: a leading U+FEFF is part of the
// value, not a byte-order mark (QString::fromUtf8 would drop it).
QString DeUtf8(const char* bytes, qsizetype largo);
// "" for null, else the value's text without leading and trailing blanks.
QString NuloATexto(const QVariant& valor);
// 0 for null, else the leading number of its text rounded half to even into 32 bits (error 6
// beyond the range).
qint32 NuloANumero(const QVariant& valor);
// The value's text ("" for null), untrimmed.
QString ATexto(const QVariant& valor);
// The leading number of the text (0 for null) as a 16-bit or 32-bit integer or a double.
qint16 AEntero16(const QVariant& valor);
qint32 AEntero32(const QVariant& valor);
double ADoble(const QVariant& valor);
// "Non-zero is true" on a stored value: its leading number is not 0; null is false.
bool NuloAVerdad(const QVariant& valor);

// ---- Read, a value is required (null is error 94, "Uso no válido de Null") --------------
QString Texto(const QVariant& valor);
// The leading number of its text.
double Numero(const QVariant& valor);
// That number rounded into 16 bits.
qint16 EnteroDelNumero(const QVariant& valor);
// Converted directly: booleans as -1/0, numbers rounded, a text that is not a number is a
// type mismatch (error 13).
qint16 Entero(const QVariant& valor);
// "Non-zero is true" on any type: booleans, numbers, texts holding a number or the words
// True/False (Verdadero/Falso); any other text is error 13.
bool VerdadNoCero(const QVariant& valor);

// ---- Fields of a file --------------------------------------------------------------------
// "Equal to 1": a flag field is true exactly when its leading number is 1.
bool VerdadIgualUno(const QString& campo);
// The number a field's leading digits give, kept whole in 64 bits; 0 when there are none.
qint64 EnteroDeTexto(const QString& campo);

// ---- Bound -------------------------------------------------------------------------------
// A text to bind: an unset text is the empty text, never NULL (text columns are NOT NULL).
QString TextoParaGuardar(const QString& texto);
// A number passed as text, for a numeric column: integers as 64-bit, others as double; a
// blank text gives 0; a text that is not a number is error 13.
QVariant NumeroParaGuardar(const QString& texto);
// A number: whole numbers go as integers, so an integer column takes them on every engine.
QVariant ValorNumerico(double numero);
// A flag column: 1 or 0.
QVariant Bandera(bool valor);

}
