#include "platform/Database.h"

// ---------------------------------------------------------------------------------------------
// DbError

bool DbError::isBusyConflict() const
{
    // PostgreSQL: serialization failure, deadlock.
    if (sqlState == QLatin1String("40001") || sqlState == QLatin1String("40P01"))
        return true;
    // SQLite: BUSY and LOCKED with their extended codes.
    const qint32 primario = nativeError & 0xFF;
    if (primario == 5 || primario == 6)
        return true;
    const QString d = description.toLower();
    return d.contains(QLatin1String("database is locked")) || d.contains(QLatin1String("database table is locked"))
        || d.contains(QLatin1String("deadlock detected")) || d.contains(QLatin1String("could not serialize"));
}

bool DbError::isConnectionLost() const
{
    if (sqlState.startsWith(QLatin1String("08")))
        return true;
    // PostgreSQL's administrator command, crash shutdown, cannot connect now.
    if (sqlState == QLatin1String("57P01") || sqlState == QLatin1String("57P02") || sqlState == QLatin1String("57P03"))
        return true;
    // psqlODBC reports a backend that went away under its general state.
    if (sqlState == QLatin1String("S1000") || sqlState == QLatin1String("HY000")) {
        const QString d = description.toLower();
        return d.contains(QLatin1String("terminating connection")) || d.contains(QLatin1String("connection lost"))
            || d.contains(QLatin1String("connection has been lost"))
            || d.contains(QLatin1String("server closed the connection"));
    }
    return false;
}

bool DbError::isUniqueViolation() const
{
    if (sqlState == QLatin1String("23000") || sqlState == QLatin1String("23505"))
        return true;
    // SQLite result codes: 19 constraint, 1555 primary key, 2067 unique. Code 19 also covers
    // NOT NULL and CHECK failures, so the driver's (untranslated) text decides.
    if (nativeError == 1555 || nativeError == 2067)
        return true;
    if (nativeError == 19) {
        const QString d = description.toLower();
        return d.contains(QLatin1String("unique")) || d.contains(QLatin1String("primary key"));
    }
    return false;
}
