#pragma once
#include "platform/Database.h"
#include "platform/VbError.h"

#include <QString>
#include <QVariant>
#include <memory>

// What the reference table classes share: their connections, their error trap and the
// conversions of the values they bind.
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

// A truth value of any type: booleans, numbers (zero is false), and texts holding a number
// or the words True/False; anything else is error 13.
bool Verdad(const QVariant& valor);
// A number the caller passes as text, to be stored in a numeric column: integers as 64-bit,
// others as double; a blank text gives 0; a text that is not a number is error 13.
QVariant Numero(const QString& texto);

// A text to bind: an unset text is the empty text, never NULL (the text columns are NOT NULL).
QString Texto(const QString& texto);

// Column values read by position into the fields (null gives "" or 0).
QString ATexto(const QVariant& valor);
qint16 AEntero16(const QVariant& valor);
qint32 AEntero32(const QVariant& valor);
double ADoble(const QVariant& valor);
bool AFlag(const QVariant& valor);

}
