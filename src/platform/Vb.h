#pragma once
#include <QDate>
#include <QString>
#include <QVariant>

// The runtime rules the system's records and tables were designed around, in one place.
namespace Vb {

// The leading number of a text: blanks, tabs and line feeds anywhere are ignored, reading
// stops at the first character that cannot continue a number, "." is the decimal point,
// optional sign and exponent, "&H" hexadecimal and "&O" octal; 0 when there is none.
double Val(const QString& text);

// The leading number as digits, when it is a plain integer ("-0012" gives "-12"); empty when
// the leading number has a point, an exponent or a radix prefix. Lets callers keep numbers
// wider than a double holds exactly.
QString ValIntegerDigits(const QString& text);

// Round half to even into 16 or 32 bits; error 6 (overflow) outside the range.
qint16 CInt(double value);
qint32 CLng(double value);
qint64 CLng64(double value);
// Text conversions: error 13 (type mismatch) when the text is not numeric.
qint16 CInt(const QString& text);
qint32 CLng(const QString& text);
double CDbl(const QString& text);
double CDblValue(const QVariant& value);

// A text the runtime accepts as a number (after trimming blanks): sign, digits, one point,
// exponent, or the &H / &O forms.
bool IsNumeric(const QString& text);
bool IsNumericValue(const QVariant& value);

// A text read as a Boolean: a number (0 false, any other true) or the words True and False in
// any case, blanks around ignored; anything else, even an empty text, is error 13.
bool CBool(const QString& text);

// Blanks (spaces) only; tabs and other white space stay.
QString Trim(const QString& s);
QString LTrim(const QString& s);
QString RTrim(const QString& s);

// 1-based and tolerant: a start beyond the end gives "", a length beyond the end stops there.
// A start below 1 or a negative length is error 5 in the runtime; here it is clamped, since
// no caller relies on the error.
QString Mid(const QString& s, int start, int length = -1);
QString Left(const QString& s, int length);
QString Right(const QString& s, int length);

// Number to text as the runtime prints it: up to 15 significant digits, no ".0", "." as the
// decimal point, exponent form ("1E+16") from 1E15 on.
QString Str(double value);
QString Str(qint64 value);
// Any value to its text form (null gives "").
QString CStr(const QVariant& value);

// Strict dd/MM/yyyy; an invalid QDate when the text is not such a date.
QDate ParseDate(const QString& text);

}
