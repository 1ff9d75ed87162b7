#pragma once
#include <QDate>
#include <QString>

class Database;

// The removal of old log rows after an export, kept apart from its dialog.
namespace modPurga {
// The first log date that stays, as yyyymmdd: three calendar months before the day (a day the
// month lacks becomes its last day).
QString FechaCorte(const QDate& fecha);
// Deletes the insurer's transactions logged before the cut-off and the items that no remaining
// transaction carries, in one database transaction: on any failure nothing is deleted and the
// error is raised. A company code that is not a number is refused before anything runs.
void Purgar(Database& cn, const QString& fechaCorte, const QString& codigoEmpresa);
// How many transactions Purgar would delete: the same condition, counted.
qint64 Contar(Database& cn, const QString& fechaCorte, const QString& codigoEmpresa);
// The question asked before a typed date after today deletes.
QString Pregunta(qint64 transacciones, const QString& codigoEmpresa, const QString& fechaCorte);
}
