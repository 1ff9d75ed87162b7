#pragma once
#include <QList>
#include <QPair>
#include <QString>

// The start-up update values storing writes to the registry, in the order written.
namespace RegistroConfiguracion {

struct Actualizacion {
    int nomencladores = 0;
    bool medicos = false, efectores = false, prestadores = false, obras = false, prestaciones = false,
         diagnosticos = false;
};

// With the update at start on, "1" and each table's flag; with it off every value "0" and then
// "FechaDruvexEmp" empty, so no table is fetched at start whatever the boxes show.
QList<QPair<QString, QString>> ValoresActualizacion(const Actualizacion& a);

}
