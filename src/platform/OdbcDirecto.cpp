// unixODBC reached directly: the library loaded at run time, and the handles Qt's ODBC driver holds.
#include "platform/DatabaseInterno.h"

#include <QLibrary>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlResult>

namespace DatabaseInterno {

const Odbc& Odbc::get()
{
    static const Odbc instance = [] {
        Odbc o;
        static QLibrary lib(QStringLiteral("odbc"), 2);
        if (!lib.load())
            return o;
        o.alloc = reinterpret_cast<AllocHandle>(lib.resolve("SQLAllocHandle"));
        o.free = reinterpret_cast<FreeHandle>(lib.resolve("SQLFreeHandle"));
        o.setEnv = reinterpret_cast<SetEnvAttr>(lib.resolve("SQLSetEnvAttr"));
        o.dataSources = reinterpret_cast<DataSources>(lib.resolve("SQLDataSources"));
        o.drivers = reinterpret_cast<Drivers>(lib.resolve("SQLDrivers"));
        o.diag = reinterpret_cast<GetDiagRec>(lib.resolve("SQLGetDiagRec"));
        o.getData = reinterpret_cast<GetData>(lib.resolve("SQLGetData"));
        o.setStmtAttr = reinterpret_cast<SetStmtAttr>(lib.resolve("SQLSetStmtAttr"));
        o.bindCol = reinterpret_cast<BindCol>(lib.resolve("SQLBindCol"));
        o.fetch = reinterpret_cast<Fetch>(lib.resolve("SQLFetch"));
        o.setPos = reinterpret_cast<SetPos>(lib.resolve("SQLSetPos"));
        o.freeStmt = reinterpret_cast<FreeStmt>(lib.resolve("SQLFreeStmt"));
        o.getInfo = reinterpret_cast<GetInfo>(lib.resolve("SQLGetInfo"));
        o.getConnectAttr = reinterpret_cast<GetConnectAttr>(lib.resolve("SQLGetConnectAttr"));
        static QLibrary inst(QStringLiteral("odbcinst"), 2);
        if (inst.load())
            o.profileString = reinterpret_cast<GetProfileString>(inst.resolve("SQLGetPrivateProfileString"));
        return o;
    }();
    return instance;
}

// The keys of a data source (odbc.ini) or a driver (odbcinst.ini), in lower case.
QHash<QString, QString> Odbc::section(const QString& name, bool driver) const
{
    QHash<QString, QString> keys;
    if (!profileString || name.isEmpty())
        return keys;
    const QByteArray sec = name.toLocal8Bit();
    const char* file = driver ? "ODBCINST.INI" : "ODBC.INI";
    QByteArray list(16384, '\0');
    const int n = profileString(sec.constData(), nullptr, "", list.data(), list.size() - 1, file);
    if (n <= 0)
        return keys;
    for (const QByteArray& key : list.left(n).split('\0')) {
        if (key.isEmpty())
            continue;
        QByteArray value(4096, '\0');
        profileString(sec.constData(), key.constData(), "", value.data(), value.size() - 1, file);
        keys.insert(QString::fromLocal8Bit(key).trimmed().toLower(), QString::fromLocal8Bit(value.constData()));
    }
    return keys;
}

// Names listed by SQLDataSources (dataSources true) or SQLDrivers.
QStringList Odbc::list(bool wantDataSources) const
{
    QStringList names;
    if (!alloc || !free || !setEnv || !dataSources || !drivers)
        return names;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(alloc(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return names;
    setEnv(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[512];
    SQLCHAR desc[1024];
    SQLSMALLINT nameLen = 0, descLen = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        const SQLRETURN rc = wantDataSources
            ? dataSources(env, direction, name, sizeof name, &nameLen, desc, sizeof desc, &descLen)
            : drivers(env, direction, name, sizeof name, &nameLen, desc, sizeof desc, &descLen);
        if (!SQL_SUCCEEDED(rc))
            break;
        names << QString::fromLocal8Bit(reinterpret_cast<const char*>(name));
        direction = SQL_FETCH_NEXT;
    }
    free(SQL_HANDLE_ENV, env);
    return names;
}

void* statementHandle(const QSqlQuery& q)
{
    const QVariant h = q.result() ? q.result()->handle() : QVariant();
    // QODBC hands out its statement handle as a void* (SQLHANDLE is a typedef of it).
    if (!h.isValid() || (qstrcmp(h.typeName(), "SQLHANDLE") != 0 && qstrcmp(h.typeName(), "void*") != 0))
        return nullptr;
    return *static_cast<void* const*>(h.constData());
}

// The connection handle Qt's ODBC driver holds.
void* connectionHandle(const QSqlDriver* driver)
{
    const QVariant h = driver ? driver->handle() : QVariant();
    if (!h.isValid() || (qstrcmp(h.typeName(), "SQLHANDLE") != 0 && qstrcmp(h.typeName(), "void*") != 0))
        return nullptr;
    return *static_cast<void* const*>(h.constData());
}

} // namespace DatabaseInterno
