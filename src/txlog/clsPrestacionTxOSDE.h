#pragma once
#include <QString>

// One service line of a logged insurer request.
class clsPrestacionTxOSDE {
public:
    QString AUPRE; // service code
    qint16 AUTIP = 0; // service type
    qint16 AUARA = 0; // fee type
    qint16 AUCAN = 0; // quantity
    QString AUODP; // dental piece
    QString AUODC; // dental face
    QString AURES; // answer code of the line
};
