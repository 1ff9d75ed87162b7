#include "txlog/CajaNumerica.h"

#include "platform/ReglasEntrada.h"

#include <QLineEdit>

namespace CajaNumerica {

namespace {
// Only ASCII digits: QChar::isDigit would also let other scripts' digits through.
bool EsDigito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
}

bool SoloDigitos(const QString& texto)
{
    for (const QChar c : texto)
        if (!EsDigito(c)) return false;
    return true;
}

void Aplicar(QLineEdit* caja)
{
    ReglasEntrada::ReglaDeCaracteres(caja, EsDigito);
}

}
