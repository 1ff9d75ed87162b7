#include "txlog/CajaNumerica.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace CajaNumerica {

bool SoloDigitos(const QString& texto)
{
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

void Aplicar(QLineEdit* caja)
{
    // The line edit undoes any edit its validator calls invalid, so a paste is taken whole or
    // not at all. Only ASCII digits: \d would also let other scripts' digits through.
    caja->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caja));
}

}
