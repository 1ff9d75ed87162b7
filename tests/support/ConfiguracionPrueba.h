#pragma once
#include <QList>
#include <QString>

class Database;

// The configuration's lists as a window test needs them, put straight into General::gConfig
// (which the test creates): insurers in the given order without keys, providers taking
// admissions.
namespace ConfiguracionPrueba {

struct ObraSocial {
    QString nombre;
    qint16 actividad = 0;
    bool onLine = false;
    bool utilizaCI = false;
    qint16 empresa = 0;
    bool bitMap = false;
    bool utilizaCSC = false;
    qint16 id = 0;
};
void ObrasSociales(const QList<ObraSocial>& lista);
// Also stores the insurers in the table ObrasSociales, as the log looks them up there.
void GuardarObrasSociales(Database& db, const QList<ObraSocial>& lista);

struct Prestador {
    qint16 id = 0;
    QString nombre;
    QString cuit;
};
void Prestadores(const QList<Prestador>& lista);

}
