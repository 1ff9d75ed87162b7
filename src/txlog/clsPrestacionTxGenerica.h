#pragma once
#include <QString>

// One service line of an off-line capture.
class clsPrestacionTxGenerica {
public:
    qint32 CodigoPrestacion = 0;
    qint32 CodigoAutorizacion = 0;
    QString Diagnostico;
};
