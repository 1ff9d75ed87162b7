#pragma once
#include <QString>

// One operation the terminal can send, and whether it is in use here.
class clsOperacion {
public:
    QString strIdentificacion; // operation code, such as "01A"
    QString strNombre;
    QString strDescripcion;
    qint16 intUtiliza = 0; // 1 in use at this terminal, 0 not
};
