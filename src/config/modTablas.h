#pragma once
#include "config/CondicionSQL.h"
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

// The steps every table class shares. Each runs on the object's connection, opened on first
// use, and raises a failure again with the class name as its source.
void Ejecutar(std::shared_ptr<Database>& conexion, const QString& sql, const QVariantList& valores,
              const QString& fuente);
std::shared_ptr<DbResult> Consultar(std::shared_ptr<Database>& conexion, const QString& sql,
                                    const QVariantList& valores, const QString& fuente);
// An option of Procesar other than 1, 2 and 3: an empty statement.
[[noreturn]] void OpcionInvalida(const QString& fuente);
// A condition given as text, with nothing bound (the documented form of the classes).
CondicionSQL SinValores(const QString& condicion);

// " WHERE (" condition ")" when there is a condition, else "".
QString Clausula(const QString& condicion);
// The condition of a lookup: a text holding the lower-case word "where" is used as it stands,
// after one blank; any other text is wrapped as a clause.
QString CondicionBuscar(const QString& sWhere);

}
