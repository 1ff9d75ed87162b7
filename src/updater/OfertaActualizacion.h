#pragma once
#include "engine/RegistroActualizacion.h"

#include <QList>
#include <QString>

// What an update answer offers: every record listed for the user, and the file to install,
// the last record that offers the main program with result 0 under a name that stays inside
// the download folder.
struct OfertaActualizacion {
    bool Encontrado = false;
    QString Archivo;
    // One line per record: name(major.minor.revision) : description, each ended by "\n".
    QString Lista;

    static OfertaActualizacion Leer(const QList<RegistroActualizacion>& registros);
    // A plain file name: not empty, no "/" or "\", not "." or "..".
    static bool NombreValido(const QString& nombre);
};
