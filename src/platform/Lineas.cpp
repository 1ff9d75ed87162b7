#include "platform/Lineas.h"

namespace Lineas {

QStringList Separar(const QString& texto)
{
    QStringList lineas;
    const qsizetype n = texto.size();
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texto.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lineas << texto.mid(inicio, i - inicio);
        if (c == QLatin1Char('\r') && i + 1 < n && texto.at(i + 1) == QLatin1Char('\n'))
            ++i;
        inicio = i + 1;
    }
    lineas << texto.mid(inicio);
    return lineas;
}

}
