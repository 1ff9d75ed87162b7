#pragma once
#include <QString>

// What the transaction entry form shows of the prescriber when a transaction is logged: the
// performing doctor's CUIT (may hold dashes), the texts of the jurisdiction and registration
// type choices, and the registration number. The void passes what a freshly loaded entry form
// shows.
struct DatosPrescriptor {
    QString CuitEfector;   // txtAUCEFE
    QString Provincia;     // cboProvincia
    QString TipoMatricula; // cboTipoMatricula
    QString Matricula;     // txtAUNMAT
};
