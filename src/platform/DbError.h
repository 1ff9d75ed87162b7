#pragma once
// Reached through platform/Database.h, the database layer's one door.
#include "platform/VbError.h"

#include <QString>

// A database failure, with the driver's SQLSTATE so callers can tell a duplicate key from
// any other failure whatever the driver's language.
class DbError : public VbError {
public:
    DbError(qint32 number, QString source, QString description, QString sqlState)
        : VbError(number, std::move(source), std::move(description)), sqlState(std::move(sqlState)) {}
    DbError(qint32 number, QString source, QString description, QString sqlState, qint32 nativeError)
        : VbError(number, std::move(source), std::move(description)), sqlState(std::move(sqlState)),
          nativeError(nativeError) {}
    QString sqlState;
    // The driver's own error number (SQLite reports its result code here, 19 for a constraint).
    qint32 nativeError = 0;
    // A duplicate key: SQLSTATE 23000/23505, or SQLite's unique-constraint failure, which its
    // ODBC driver reports as HY000.
    bool isUniqueViolation() const;
    // Another connection holds what this one needs: SQLite busy or locked, a PostgreSQL
    // deadlock or serialization failure. Worth trying again. Not a PostgreSQL lock time-out: that
    // wait already took the whole bound a save may take (see Database::Limites).
    bool isBusyConflict() const;
    // The connection is gone (a server restart, a cut backend): SQLSTATE class 08, the
    // server's 57P01/57P02/57P03, or psqlODBC's S1000 saying so.
    bool isConnectionLost() const;

    // The number every database failure is raised with (the number RDO gave ODBC errors).
    static constexpr qint32 NumeroErrorOdbc = 40002;
};
