#pragma once
#include "entry/FilaPrestacion.h"

#include <QList>
#include <QString>

// What the request message reads of the entry window when it checks a request: the window's
// public values and the texts and states of its boxes at the moment of the send. The window
// fills one of these; the checks never touch a widget.
class ValoresEmuladorPOS {
public:
    qint16 RequierePrescripcion = 0;
    qint16 TipoPrestador = 0;
    // True is -1; any other value (1 among them) does not ask for the registration.
    qint16 RequiereMatPrescriptor = 0;
    QString txtAUDSM1;
    QString txtAUDSM2;
    QString txtAUNMAT;
    // txtAUNMAT both visible and enabled.
    bool txtAUNMATActivo = false;
    // The texts shown by the registration type and jurisdiction combos.
    QString cboTipoMatricula;
    QString cboProvincia;
    // The service list, in its order.
    QList<FilaPrestacion> lvwPrestaciones;
};
