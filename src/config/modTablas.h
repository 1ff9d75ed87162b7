#pragma once
#include "platform/Database.h"
#include "platform/ValoresBD.h"
#include "platform/VbError.h"

#include <QString>
#include <QVariant>
#include <memory>

// What the reference table classes share: their connections, their error trap and their
// conditions. Their values are converted by ValoresBD.
namespace modTablas {

// A new connection to the program's data source.
std::shared_ptr<Database> AbrirConexion();
// The object's own connection, opened on first use and kept for its life.
void Conectar(std::shared_ptr<Database>& conexion);

// Re-raises the error being handled with the class name as its source (a database error
// keeps its SQLSTATE). Call only inside a catch block.
[[noreturn]] void Relanzar(const QString& fuente);

// " WHERE (" condition ")" when there is a condition, else "".
QString Clausula(const QString& condicion);
// The condition of a lookup: a text holding the lower-case word "where" is used as it stands,
// after one blank; any other text is wrapped as a clause.
QString CondicionBuscar(const QString& sWhere);

}
