#pragma once
#include <QString>

// A deferred request of the request log, read back to be completed.
class clsTxDiferida {
public:
    qint32 NroTransaccion = 0;
    QString AUCUIT;
    QString AUISOA;
    QString AUFILA;
    QString AUASOA;
    QString AUBENA;
    QString AUDIGA;
    QString AUVERA;
    QString AUTRAC;
    QString AUATRC;
    QString AUMANA;
    QString AUWREF;
    QString AUNREF;
    QString AUTMAT;
    QString AUNMAT;
    QString AUCEFE; // not read back
    QString AUFECP;
    QString AUDSM1;
    QString AUDSM2;
    QString AUFINA;
};
