#pragma once
#include "config/Coleccion.h"

#include <QString>
#include <memory>

class Database;
class clsPrestacion;

// The insurers' service catalogue (table Prestaciones): load it whole, import one insurer's
// services file, remove one or all services of an insurer. Runs on the connection it is
// handed and never opens or closes one.
class clsPrestaciones {
public:
    // The insurer Add, Remove and RemoveAll work on, by its exact name.
    QString strArchivoPrestaciones;
    std::shared_ptr<Database> cnQuorvan;

    // Imports a fixed-width services file for the insurer in one transaction; a failure rolls
    // every line back and is shown to the user. A missing file does nothing.
    void Add(const QString& archivo);
    // Removes the insurer's service of that code.
    void Remove(const QString& codigo);
    // The whole catalogue, by internal code.
    std::shared_ptr<Coleccion<clsPrestacion>> Load();
    // Removes every service of the insurer.
    void RemoveAll();

private:
    // The insurer's IdObraSocial, or false when there is no insurer of that name.
    bool BuscarObraSocial(qint32& id);
};
