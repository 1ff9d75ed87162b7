#include "platform/Vb.h"

#include "platform/VbError.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace Vb {

namespace {

QString stripIgnorable(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) s += c;
    return s;
}

// Length of the decimal leading number of s (already stripped), or 0.
int decimalPrefix(const QString& s, bool* hasDigits = nullptr, bool* plainInteger = nullptr)
{
    int i = 0;
    const int n = s.size();
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) ++i;
    int digits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) { ++i; ++digits; }
    bool integer = true;
    if (i < n && s[i] == QLatin1Char('.')) {
        integer = false;
        ++i;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) { ++i; ++digits; }
    }
    if (digits > 0 && i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E') ||
                                s[i] == QLatin1Char('d') || s[i] == QLatin1Char('D'))) {
        int j = i + 1;
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) ++j;
        int expDigits = 0;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) { ++j; ++expDigits; }
        if (expDigits > 0) { i = j; integer = false; }
    }
    if (hasDigits) *hasDigits = digits > 0;
    if (plainInteger) *plainInteger = integer;
    return digits > 0 ? i : 0;
}

bool radixValue(const QString& s, double* out, int* consumed = nullptr)
{
    if (s.size() < 2 || s[0] != QLatin1Char('&')) return false;
    const QChar kind = s[1].toUpper();
    int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
    if (base == 0) return false;
    int i = 2;
    quint64 v = 0;
    int digits = 0;
    while (i < s.size()) {
        const int d = QString(s[i]).toInt(nullptr, base);
        bool ok = false;
        QString(s[i]).toInt(&ok, base);
        if (!ok) break;
        v = v * base + d;
        ++i;
        ++digits;
    }
    if (consumed) *consumed = i;
    if (digits == 0) { *out = 0; return true; }
    // The runtime reads short hexadecimal and octal literals as signed 16 or 32-bit values.
    double value = static_cast<double>(v);
    if (v <= 0xFFFF && v > 0x7FFF) value -= 65536.0;
    else if (v <= 0xFFFFFFFFull && v > 0x7FFFFFFFull && v > 0xFFFF) value -= 4294967296.0;
    *out = value;
    return true;
}

double roundHalfEven(double v) { return std::nearbyint(v); } // default FE_TONEAREST

}

double Val(const QString& text)
{
    const QString s = stripIgnorable(text);
    double r = 0;
    if (radixValue(s, &r)) return r;
    const int len = decimalPrefix(s);
    if (len == 0) return 0;
    QString num = s.left(len);
    num.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    return num.toDouble();
}

QString ValIntegerDigits(const QString& text)
{
    const QString s = stripIgnorable(text);
    bool integer = false;
    const int len = decimalPrefix(s, nullptr, &integer);
    if (len == 0 || !integer) return QString();
    QString num = s.left(len);
    bool negative = false;
    if (num.startsWith(QLatin1Char('+')) || num.startsWith(QLatin1Char('-'))) {
        negative = num.startsWith(QLatin1Char('-'));
        num.remove(0, 1);
    }
    int k = 0;
    while (k < num.size() - 1 && num[k] == QLatin1Char('0')) ++k;
    num = num.mid(k);
    if (negative && num != QLatin1String("0")) num.prepend(QLatin1Char('-'));
    return num;
}

qint16 CInt(double value)
{
    const double r = roundHalfEven(value);
    if (std::isnan(r) || r < -32768.0 || r > 32767.0)
        throw VbError(VbError::Overflow, QString(), QStringLiteral("Overflow"));
    return static_cast<qint16>(r);
}

qint32 CLng(double value)
{
    const double r = roundHalfEven(value);
    if (std::isnan(r) || r < -2147483648.0 || r > 2147483647.0)
        throw VbError(VbError::Overflow, QString(), QStringLiteral("Overflow"));
    return static_cast<qint32>(r);
}

qint64 CLng64(double value)
{
    const double r = roundHalfEven(value);
    if (std::isnan(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18)
        throw VbError(VbError::Overflow, QString(), QStringLiteral("Overflow"));
    return static_cast<qint64>(r);
}

double CDbl(const QString& text)
{
    if (!IsNumeric(text))
        throw VbError(VbError::TypeMismatch, QString(), QStringLiteral("Type mismatch"));
    return Val(text);
}

double CDblValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull()) return 0;
    switch (value.typeId()) {
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
        return value.toDouble();
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0;
    default:
        return CDbl(value.toString());
    }
}

qint16 CInt(const QString& text) { return CInt(CDbl(text)); }
qint32 CLng(const QString& text) { return CLng(CDbl(text)); }

bool CBool(const QString& text)
{
    const QString s = Trim(text);
    if (IsNumeric(s)) return Val(s) != 0;
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    throw VbError(VbError::TypeMismatch, QString(), QStringLiteral("No coinciden los tipos"));
}

bool IsNumeric(const QString& text)
{
    const QString s = Trim(text);
    if (s.isEmpty()) return false;
    double dummy = 0;
    int consumed = 0;
    if (radixValue(s, &dummy, &consumed)) return consumed == s.size() && consumed > 2;
    bool hasDigits = false;
    const int len = decimalPrefix(s, &hasDigits);
    return hasDigits && len == s.size();
}

bool IsNumericValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull()) return false;
    switch (value.typeId()) {
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return IsNumeric(value.toString());
    }
}

QString LTrim(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
    return s.mid(i);
}

QString RTrim(const QString& s)
{
    int n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' ')) --n;
    return s.left(n);
}

QString Trim(const QString& s) { return LTrim(RTrim(s)); }

QString Mid(const QString& s, int start, int length)
{
    if (start < 1) start = 1;
    if (start > s.size()) return QString();
    return length < 0 ? s.mid(start - 1) : s.mid(start - 1, length);
}

QString Left(const QString& s, int length) { return length <= 0 ? QString() : s.left(length); }
QString Right(const QString& s, int length) { return length <= 0 ? QString() : s.right(length); }

QString Str(qint64 value) { return QString::number(value); }

QString Str(double value)
{
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (value == 0) return QStringLiteral("0");
    // Fifteen significant digits; the exponent form where the runtime uses it (from 1E+15 up
    // and below 1E-04), so a small number keeps all its digits ("1.000001E-12").
    QString t = QString::number(value, 'g', 15);
    if (t.contains(QLatin1Char('e'))) {
        // Exponent form: mantissa with up to 15 significant digits, "E+nn"/"E-nn".
        t = QString::number(value, 'e', 14);
        const int e = t.indexOf(QLatin1Char('e'));
        QString mant = t.left(e);
        QString exp = t.mid(e + 1);
        if (mant.contains(QLatin1Char('.'))) {
            while (mant.endsWith(QLatin1Char('0'))) mant.chop(1);
            if (mant.endsWith(QLatin1Char('.'))) mant.chop(1);
        }
        const QChar sign = exp.at(0) == QLatin1Char('-') ? QLatin1Char('-') : QLatin1Char('+');
        exp = exp.mid(exp.at(0) == QLatin1Char('-') || exp.at(0) == QLatin1Char('+') ? 1 : 0);
        while (exp.size() > 2 && exp.startsWith(QLatin1Char('0'))) exp.remove(0, 1);
        if (exp.size() < 2) exp.prepend(QLatin1Char('0'));
        return mant + QLatin1Char('E') + sign + exp;
    }
    if (t.contains(QLatin1Char('.'))) {
        while (t.endsWith(QLatin1Char('0'))) t.chop(1);
        if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    }
    return t;
}

QString CStr(const QVariant& value)
{
    if (!value.isValid() || value.isNull()) return QString();
    switch (value.typeId()) {
    case QMetaType::Double: case QMetaType::Float:
        return Str(value.toDouble());
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::Short:
    case QMetaType::UShort:
        return Str(value.toLongLong());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

QDate ParseDate(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{2})/(\\d{2})/(\\d{4})$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return QDate();
    return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

}
