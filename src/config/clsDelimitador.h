#pragma once
#include <QString>

// One row of table Delimitadores.
class clsDelimitador {
public:
    qint16 idDelimitador = 0;
    QString Delimitador;
};
