#include "entry/modCuit.h"

#include "platform/Vb.h"

namespace modCuit {

QString FormaCuit(const QString& digitos)
{
    return Vb::Mid(digitos, 1, 2) + QLatin1Char('-') + Vb::Mid(digitos, 3, 8) + QLatin1Char('-') + Vb::Mid(digitos, 11, 1);
}

QString FormaCuitNumero(const QVariant& valor)
{
    if (valor.isNull() || !valor.isValid()) return QString();
    const QString texto = Vb::Trim(Vb::CStr(valor));
    if (!Vb::IsNumeric(texto)) return texto;
    // The mask rounds to a whole number and fills it with zeros on the left.
    const QString entero = QString::number(qRound64(Vb::Val(texto)));
    const bool negativo = entero.startsWith(QLatin1Char('-'));
    QString d = negativo ? entero.mid(1) : entero;
    if (d.size() < 11) d = d.rightJustified(11, QLatin1Char('0'));
    const int n = d.size();
    return (negativo ? QStringLiteral("-") : QString()) + d.left(n - 9) + QLatin1Char('-') + d.mid(n - 9, 8) +
           QLatin1Char('-') + d.right(1);
}

QString FormaCuitTexto(const QString& texto)
{
    QString digitos;
    for (const QChar c : texto)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digitos += c;
    return digitos.isEmpty() ? QString() : FormaCuit(digitos);
}

QString SinGuiones(const QString& cuit)
{
    QString r = cuit;
    return r.remove(QLatin1Char('-'));
}

}
