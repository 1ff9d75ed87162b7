#include "platform/ValoresBD.h"

#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QStringDecoder>

#include <cmath>
#include <cstring>

namespace ValoresBD {

QString DeUtf8(const char* bytes, qsizetype largo)
{
    if (largo >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
        return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)
            .decode(QByteArrayView(bytes, largo));
    return QString::fromUtf8(bytes, largo);
}

namespace {

bool Nulo(const QVariant& v) { return !v.isValid() || v.isNull(); }

[[noreturn]] void ErrorNulo() { throw VbError(94, QString(), QStringLiteral("Uso no válido de Null")); }

[[noreturn]] void ErrorTipo() { throw VbError(VbError::TypeMismatch, QString(), QStringLiteral("Type mismatch")); }

bool EsNumero(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Char: case QMetaType::SChar:
    case QMetaType::UChar: case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

double LeadingNumber(const QVariant& v) { return Nulo(v) ? 0 : Vb::Val(Vb::CStr(v)); }

}

QString NuloATexto(const QVariant& valor) { return Nulo(valor) ? QString() : Vb::Trim(Vb::CStr(valor)); }

qint32 NuloANumero(const QVariant& valor) { return Nulo(valor) ? 0 : Vb::CLng(LeadingNumber(valor)); }

QString ATexto(const QVariant& valor) { return Vb::CStr(valor); }

qint16 AEntero16(const QVariant& valor) { return Nulo(valor) ? 0 : Vb::CInt(LeadingNumber(valor)); }

qint32 AEntero32(const QVariant& valor) { return NuloANumero(valor); }

double ADoble(const QVariant& valor) { return LeadingNumber(valor); }

bool NuloAVerdad(const QVariant& valor) { return LeadingNumber(valor) != 0; }

QString Texto(const QVariant& valor)
{
    if (Nulo(valor)) ErrorNulo();
    return Vb::CStr(valor);
}

double Numero(const QVariant& valor) { return Vb::Val(Texto(valor)); }

qint16 EnteroDelNumero(const QVariant& valor) { return Vb::CInt(Numero(valor)); }

qint16 Entero(const QVariant& valor)
{
    if (Nulo(valor)) ErrorNulo();
    if (valor.typeId() == QMetaType::Bool) return valor.toBool() ? -1 : 0;
    if (EsNumero(valor)) return Vb::CInt(valor.toDouble());
    return Vb::CInt(Vb::CStr(valor));
}

bool VerdadNoCero(const QVariant& valor)
{
    if (Nulo(valor)) ErrorNulo();
    if (valor.typeId() == QMetaType::Bool) return valor.toBool();
    if (EsNumero(valor)) return valor.toDouble() != 0;
    const QString t = Vb::Trim(Vb::CStr(valor));
    for (const char* si : {"true", "verdadero"})
        if (t.compare(QLatin1String(si), Qt::CaseInsensitive) == 0) return true;
    for (const char* no : {"false", "falso"})
        if (t.compare(QLatin1String(no), Qt::CaseInsensitive) == 0) return false;
    if (!Vb::IsNumeric(t)) ErrorTipo();
    return Vb::Val(t) != 0;
}

bool VerdadIgualUno(const QString& campo) { return Vb::Val(campo) == 1; }

qint64 EnteroDeTexto(const QString& campo)
{
    const QString digitos = Vb::ValIntegerDigits(campo);
    if (!digitos.isEmpty()) {
        bool ok = false;
        const qint64 n = digitos.toLongLong(&ok);
        if (ok) return n;
    }
    const double v = std::trunc(Vb::Val(campo));
    if (!std::isfinite(v) || std::fabs(v) > 9.0e18) throw VbError(VbError::Overflow, QString(), QStringLiteral("Overflow"));
    return static_cast<qint64>(v);
}

QString TextoParaGuardar(const QString& texto) { return texto.isNull() ? QStringLiteral("") : texto; }

QVariant NumeroParaGuardar(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty()) return QVariant(qint64(0));
    if (!Vb::IsNumeric(t)) ErrorTipo();
    const QString digits = Vb::ValIntegerDigits(t);
    if (!digits.isEmpty()) {
        bool ok = false;
        const qint64 n = digits.toLongLong(&ok);
        if (ok) return QVariant(n);
    }
    return QVariant(Vb::Val(t));
}

QVariant ValorNumerico(double numero)
{
    if (std::isfinite(numero) && numero == std::floor(numero) && std::fabs(numero) < 9.0e15)
        return QVariant(qint64(numero));
    return QVariant(numero);
}

QVariant Bandera(bool valor) { return QVariant(valor ? 1 : 0); }

}
