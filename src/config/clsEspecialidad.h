#pragma once
#include <QString>

// One row of table Especialidades.
class clsEspecialidad {
public:
    qint16 idEspecialidad = 0;
    QString Especialidad;
};
