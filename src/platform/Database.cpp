#include "platform/Database.h"

#include "platform/ArchivosPropios.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/RelojDeArena.h"

#include <QAtomicInteger>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QTextStream>
#include <QThread>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// DbError, DbResult

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

DbResult::DbResult(QStringList columns, QList<QVariantList> rows, QList<int> types, QList<int> sizes)
    : DbResult(std::move(columns), std::move(rows))
{
    m_types = std::move(types);
    m_sizes = std::move(sizes);
}

DbResult::DbResult(QStringList columns, QList<QVariantList> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns.at(i).toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}

int DbResult::columnIndex(const QString& column) const
{
    QString key = column.toLower();
    auto it = m_index.constFind(key);
    if (it != m_index.constEnd())
        return it.value();
    // "Tabla.Columna" finds the column the driver reported without its table.
    const int dot = key.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        it = m_index.constFind(key.mid(dot + 1));
        if (it != m_index.constEnd())
            return it.value();
    }
    return -1;
}

bool DbResult::hasColumn(const QString& column) const
{
    return columnIndex(column) >= 0;
}

QVariant DbResult::operator[](const QString& column) const
{
    const int i = columnIndex(column);
    if (i < 0)
        throw VbError(3265, QStringLiteral("Database"),
                      QStringLiteral("Item not found in this collection: %1").arg(column));
    return value(i);
}

QVariant DbResult::value(int index) const
{
    if (m_pos < 0 || m_pos >= m_rows.size())
        throw VbError(40022, QStringLiteral("Database"), QStringLiteral("No current row"));
    const QVariantList& row = m_rows.at(m_pos);
    if (index < 0 || index >= row.size())
        throw VbError(3265, QStringLiteral("Database"),
                      QStringLiteral("Item not found in this collection: %1").arg(index));
    return row.at(index);
}

// ---------------------------------------------------------------------------------------------
// unixODBC, reached at run time through the same library the Qt driver uses, for the few
// calls Qt does not offer: the data sources and drivers that are defined, and the SQLSTATE of
// a failure.

namespace {

struct Odbc {
    using AllocHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*);
    using FreeHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE);
    using SetEnvAttr = SQLRETURN (*)(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER);
    using DataSources = SQLRETURN (*)(SQLHENV, SQLUSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*,
                                      SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);
    using Drivers = DataSources;
    using GetDiagRec = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLCHAR*, SQLINTEGER*,
                                     SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);
    using GetData = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
    using SetStmtAttr = SQLRETURN (*)(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER);
    using BindCol = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
    using Fetch = SQLRETURN (*)(SQLHSTMT);
    using SetPos = SQLRETURN (*)(SQLHSTMT, SQLSETPOSIROW, SQLUSMALLINT, SQLUSMALLINT);
    using FreeStmt = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT);
    using GetInfo = SQLRETURN (*)(SQLHDBC, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*);
    using GetConnectAttr = SQLRETURN (*)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER, SQLINTEGER*);

    AllocHandle alloc = nullptr;
    FreeHandle free = nullptr;
    SetEnvAttr setEnv = nullptr;
    DataSources dataSources = nullptr;
    Drivers drivers = nullptr;
    GetDiagRec diag = nullptr;
    GetData getData = nullptr;
    SetStmtAttr setStmtAttr = nullptr;
    BindCol bindCol = nullptr;
    Fetch fetch = nullptr;
    SetPos setPos = nullptr;
    FreeStmt freeStmt = nullptr;
    GetInfo getInfo = nullptr;
    GetConnectAttr getConnectAttr = nullptr;
    bool bloques() const { return setStmtAttr && bindCol && fetch && setPos && freeStmt && getInfo && getData; }

    static const Odbc& get()
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
            return o;
        }();
        return instance;
    }

    // Names listed by SQLDataSources (dataSources true) or SQLDrivers.
    QStringList list(bool wantDataSources) const
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
};

QAtomicInteger<quint64> g_connectionCounter;

QMutex g_schemaMutex;
QSet<QString>& schemaEnsured()
{
    static QSet<QString> set;
    return set;
}

// Values go to the driver in the types the columns expect: flags as numbers, never booleans.
QVariant bindable(const QVariant& v)
{
    if (!v.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    switch (v.typeId()) {
    case QMetaType::Bool:
        return QVariant(v.toBool() ? 1 : 0);
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return v.isNull() ? QVariant(QMetaType(QMetaType::Int)) : QVariant(v.toInt());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return v.isNull() ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(v.toLongLong());
    case QMetaType::Float:
        return QVariant(v.toDouble());
    case QMetaType::QString:
        // The SQLite driver would keep a text only up to a NUL and PostgreSQL refuses one.
        return v.toString().contains(QChar(0)) ? QVariant(Codec1252::sinNulos(v.toString())) : v;
    default:
        return v;
    }
}

QString tableOfSection(const QString& line)
{
    // "-- table: Nombre"
    return line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Database

// The prepared statements of one connection, by their text. Callers that build a condition
// into the text make a new entry per call; when the cache is full the statement used least
// recently goes, so the ones run for every line of a long list stay prepared.
struct Database::Sentencias {
    static constexpr int kMaximo = 64;
    struct Entrada {
        QSqlQuery* q = nullptr;
        quint64 uso = 0;
    };
    QHash<QString, Entrada> porTexto;
    quint64 reloj = 0;
    ~Sentencias() { Vaciar(); }
    void Vaciar()
    {
        for (auto& e : porTexto)
            delete e.q;
        porTexto.clear();
    }
    void Quitar(const QString& sql) { delete porTexto.take(sql).q; }
    QSqlQuery* Buscar(const QString& sql)
    {
        auto it = porTexto.find(sql);
        if (it == porTexto.end())
            return nullptr;
        it->uso = ++reloj;
        return it->q;
    }
    void Agregar(const QString& sql, QSqlQuery* q)
    {
        if (porTexto.size() >= kMaximo) {
            auto viejo = porTexto.begin();
            for (auto it = porTexto.begin(); it != porTexto.end(); ++it)
                if (it->uso < viejo->uso)
                    viejo = it;
            delete viejo->q;
            porTexto.erase(viejo);
        }
        porTexto.insert(sql, Entrada{q, ++reloj});
    }
};

Database::Database()
    : m_name(QStringLiteral("quorvan-db-%1").arg(++g_connectionCounter)), m_sentencias(std::make_unique<Sentencias>())
{
}

Database::~Database()
{
    Close();
}

bool Database::DsnDefined(const QString& dsn)
{
    const QStringList names = Odbc::get().list(true);
    for (const QString& n : names)
        if (n.compare(dsn, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString Database::SQLiteConnectionString(const QString& file)
{
    // The driver registered by libsqliteodbc, or its library when unixODBC does not list it.
    QString driver;
    const QStringList drivers = Odbc::get().list(false);
    for (const QString& d : drivers)
        if (d.compare(QLatin1String("SQLite3"), Qt::CaseInsensitive) == 0)
            driver = d;
    if (driver.isEmpty()) {
        const QStringList candidates = {
            QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so"),
            QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so"),
            QStringLiteral("/usr/lib/odbc/libsqlite3odbc.so"),
            QStringLiteral("/usr/local/lib/libsqlite3odbc.so"),
        };
        driver = candidates.first();
        for (const QString& c : candidates)
            if (QFile::exists(c)) {
                driver = c;
                break;
            }
    }
    // The driver takes the file name as it stands (no braces), up to the next ";".
    return QStringLiteral("Driver={%1};Database=%2;Timeout=5000;JournalMode=WAL;SyncPragma=NORMAL;"
                          "StepAPI=0;LongNames=0;BigInt=1")
        .arg(driver, file);
}

QStringList Database::ArchivosEmbebidos()
{
    if (!qEnvironmentVariable("QUORVAN_DSN").trimmed().isEmpty() || DsnDefined(QStringLiteral("Quorvan")))
        return {};
    const QString archivo = Paths::Join(Paths::DataDir(), QStringLiteral("Quorvan.db"));
    return {archivo, archivo + QStringLiteral("-wal"), archivo + QStringLiteral("-shm"),
            archivo + QStringLiteral("-journal")};
}

QString Database::ProgramConnectionString()
{
    const QString env = qEnvironmentVariable("QUORVAN_DSN");
    if (!env.trimmed().isEmpty())
        return env;
    const QStringList archivos = ArchivosEmbebidos();
    if (archivos.isEmpty())
        return QStringLiteral("DSN=Quorvan");
    // The driver opens these by name, following a link: one planted there is refused first.
    if (const QString rechazo = ArchivosPropios::Rechazo(archivos); !rechazo.isEmpty())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"), rechazo, QStringLiteral("08001"));
    QDir().mkpath(Paths::DataDir());
    // SQLite gives its journal files the database's mode: private from the first byte.
    ArchivosPropios::CrearArchivo(archivos.first());
    return SQLiteConnectionString(archivos.first());
}

void Database::Open()
{
    const QString cs = ProgramConnectionString();
    OpenConnectionString(cs);
    EnsureSchemaOnce(cs);
}

void Database::EnsureSchemaOnce(const QString& cs)
{
    // Once per data source and process: the classes that open a connection per call must not
    // pay for the check each time.
    {
        QMutexLocker lock(&g_schemaMutex);
        if (schemaEnsured().contains(cs))
            return;
    }
    EnsureSchema();
    QMutexLocker lock(&g_schemaMutex);
    schemaEnsured().insert(cs);
}

namespace {

Database::Limites& limites()
{
    static Database::Limites l;
    return l;
}

// psqlODBC's TCP keepalives (seconds), so a desk notices a server that went away; the SQLite
// driver ignores the keys, and a string that names them keeps its own.
QString ConKeepalives(const QString& connectionString)
{
    if (connectionString.contains(QLatin1String("sqlite"), Qt::CaseInsensitive))
        return connectionString;
    const Database::Limites l = Database::LimitesSesion();
    QString cs = connectionString;
    for (const auto& [clave, valor] : {std::pair{QStringLiteral("KeepaliveTime"), l.keepaliveInactivaS},
                                       std::pair{QStringLiteral("KeepaliveInterval"), l.keepaliveIntervaloS}}) {
        if (cs.contains(clave + QLatin1Char('='), Qt::CaseInsensitive)) continue;
        if (!cs.isEmpty() && !cs.endsWith(QLatin1Char(';'))) cs += QLatin1Char(';');
        cs += QStringLiteral("%1=%2").arg(clave).arg(valor);
    }
    return cs;
}

}

Database::Limites Database::LimitesSesion() { return limites(); }

void Database::setLimitesSesion(const Limites& l) { limites() = l; }

void Database::OpenConnectionString(const QString& connectionString)
{
    Close();
    m_connectionString = connectionString;
    m_fullSync = false;
    m_tablaValores = false; // a temporary table lives as long as its connection
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        db.setDatabaseName(ConKeepalives(connectionString));
        if (!db.open()) {
            const QSqlError e = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                          QStringLiteral("No se pudo abrir la base de datos: %1").arg(e.text()),
                          QStringLiteral("08001"));
        }
    }
    DetectEngine();
    if (m_engine == Engine::SQLite) {
        // The connect string asks for these too; older drivers ignore the options.
        Query(QStringLiteral("PRAGMA journal_mode=WAL"));
        Execute(QStringLiteral("PRAGMA busy_timeout=5000"));
        Execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    if (m_engine == Engine::PostgreSQL)
        PrepararSesion();
}

void Database::PrepararSesion()
{
    // For the session: the server notices a desk that vanished without closing its connection.
    const Limites l = LimitesSesion();
    const DbResult r = Query(QStringLiteral("SELECT pg_backend_pid(), set_config('tcp_keepalives_idle', '%1', false), "
                                            "set_config('tcp_keepalives_interval', '%2', false), "
                                            "set_config('tcp_keepalives_count', '%3', false)")
                                 .arg(l.keepaliveInactivaS)
                                 .arg(l.keepaliveIntervaloS)
                                 .arg(l.keepaliveIntentos));
    m_proceso = r.value(0).toLongLong();
}

void Database::LimitarTransaccion()
{
    const Limites l = LimitesSesion();
    try {
        const DbResult r =
            Query(QStringLiteral("SELECT txid_current(), set_config('lock_timeout', '%1ms', true), "
                                 "set_config('idle_in_transaction_session_timeout', '%2ms', true)")
                      .arg(l.bloqueoMs)
                      .arg(l.inactivaEnTransaccionMs));
        m_txid = r.value(0).toLongLong();
        m_procesoTxid = m_proceso;
    } catch (...) {
        DeshacerSilencioso();
        throw;
    }
}

void Database::UseFullSync()
{
    m_fullSync = true;
    if (m_engine == Engine::SQLite)
        Execute(QStringLiteral("PRAGMA synchronous=FULL"));
}

void Database::DetectEngine()
{
    m_engine = Engine::Other;
    const QString cs = m_connectionString.toLower();
    if (cs.contains(QLatin1String("sqlite"))) {
        m_engine = Engine::SQLite;
        return;
    }
    if (cs.contains(QLatin1String("postgres")) || cs.contains(QLatin1String("psqlodbc"))) {
        m_engine = Engine::PostgreSQL;
        return;
    }
    // A DSN says nothing about its engine: ask the server. A failed probe outside a
    // transaction leaves nothing behind.
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT sqlite_version()"))) {
            m_engine = Engine::SQLite;
            return;
        }
    }
    {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT version()")) && q.next()
            && q.value(0).toString().contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
            m_engine = Engine::PostgreSQL;
    }
}

bool Database::IsOpen() const
{
    if (!QSqlDatabase::contains(m_name))
        return false;
    return QSqlDatabase::database(m_name, false).isOpen();
}

void Database::Close()
{
    m_lector.reset();
    m_lectorPorPaginas.reset();
    // The statements belong to the connection and must go before it.
    while (!m_cursores.isEmpty())
        m_cursores.first()->Close();
    m_sentencias->Vaciar();
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_inTransaction && db.isOpen())
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_inTransaction = false;
    m_escrituraExplicita = false;
    m_reabrir = false;
    m_transaccionPerdida = false;
}

void Database::Raise(const QString& what, const QString& sql, void* stmtHandle, const QSqlError& qtError)
{
    const QString qtText = qtError.text();
    QString state;
    qint32 native = 0;
    QString driverText;
    const Odbc& odbc = Odbc::get();
    if (stmtHandle && odbc.diag) {
        SQLCHAR st[6] = {0};
        SQLINTEGER nat = 0;
        SQLCHAR msg[2048] = {0};
        SQLSMALLINT len = 0;
        if (SQL_SUCCEEDED(odbc.diag(SQL_HANDLE_STMT, stmtHandle, 1, st, &nat, msg, sizeof msg, &len))) {
            state = QString::fromLatin1(reinterpret_cast<const char*>(st));
            native = nat;
            driverText = QString::fromUtf8(reinterpret_cast<const char*>(msg));
        }
    }
    QString text = qtText.trimmed();
    if (text.isEmpty())
        text = driverText;
    if (native == 0) {
        bool ok = false;
        const qint32 n = qtError.nativeErrorCode().toInt(&ok);
        if (ok)
            native = n;
    }
    if (state.isEmpty())
        state = QStringLiteral("HY000");
    // psqlODBC reports the first statement of a transaction after a lost connection as a
    // failure of its own ("internal SAVEPOINT failed"); the driver knows the connection is down.
    if ((state == QLatin1String("S1000") || state == QLatin1String("HY000")) && MuertaSegunDriver())
        state = QStringLiteral("08S01");
    Q_UNUSED(what);
    // The lock time-out of the transaction: another desk holds the table for longer than a save
    // may wait. What the clerk needs is to try again, not the statement.
    if (state == QLatin1String("55P03"))
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("Otra terminal está guardando en este momento; intente nuevamente"), state, native);
    throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                  QStringLiteral("%1: %2 (%3)").arg(state, text, sql.simplified().left(300)), state, native);
}

namespace {
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

bool EsConsulta(const QString& sql)
{
    return QStringView(sql).trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
}
}

QSqlQuery& Database::Run(const QString& sql, const QVariantList& params)
{
    if (!IsOpen())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("La conexión a la base de datos no está abierta"), QStringLiteral("08003"));
    QSqlQuery* q = m_sentencias->Buscar(sql);
    if (!q) {
        q = new QSqlQuery(QSqlDatabase::database(m_name, false));
        m_sentencias->Agregar(sql, q);
        q->setForwardOnly(true);
        if (!q->prepare(sql)) {
            const QSqlError e = q->lastError();
            void* h = statementHandle(*q);
            try {
                Raise(QStringLiteral("prepare"), sql, h, e);
            } catch (...) {
                m_sentencias->Quitar(sql);
                throw;
            }
        }
    }
    for (int i = 0; i < params.size(); ++i)
        q->bindValue(i, bindable(params.at(i)));
    if (!q->exec()) {
        // A statement that failed is prepared anew next time, in case the failure left it unusable.
        const QSqlError e = q->lastError();
        void* h = statementHandle(*q);
        try {
            Raise(QStringLiteral("exec"), sql, h, e);
        } catch (...) {
            m_sentencias->Quitar(sql);
            throw;
        }
    }
    return *q;
}

DbResult Database::Query(const QString& sql, const QVariantList& params)
{
    AntesDeSentencia(sql);
    const bool repetible = !m_inTransaction && EsConsulta(sql);
    try {
        return Consultar(sql, params);
    } catch (const DbError& e) {
        if (!TrasPerdida(e) || !repetible)
            throw;
    }
    // A read that the lost connection never answered is asked again on the new one.
    try {
        return Consultar(sql, params);
    } catch (const DbError& e) {
        TrasPerdida(e);
        throw;
    }
}

DbResult Database::Consultar(const QString& sql, const QVariantList& params)
{
    QSqlQuery& q = Run(sql, params);
    QStringList columns;
    QList<QVariantList> rows;
    QList<int> types, sizes;
    if (q.isSelect()) {
        const QSqlRecord rec = q.record();
        const int n = rec.count();
        for (int i = 0; i < n; ++i) {
            columns << rec.fieldName(i);
            // QODBC keeps the driver's SQLDescribeCol answer here.
            types << rec.field(i).typeID();
            sizes << rec.field(i).length();
        }
        while (q.next()) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row << (q.isNull(i) ? QVariant() : q.value(i));
            rows << std::move(row);
        }
        if (q.lastError().isValid()) {
            const QSqlError e = q.lastError();
            void* h = statementHandle(q);
            try {
                Raise(QStringLiteral("fetch"), sql, h, e);
            } catch (...) {
                m_sentencias->Quitar(sql);
                throw;
            }
        }
    }
    q.finish();
    return DbResult(std::move(columns), std::move(rows), std::move(types), std::move(sizes));
}

qint64 Database::Execute(const QString& sql, const QVariantList& params)
{
    AntesDeSentencia(sql);
    try {
        QSqlQuery& q = Run(sql, params);
        const qint64 n = q.numRowsAffected();
        q.finish();
        return n;
    } catch (const DbError& e) {
        // A write is never sent again: whether the server applied it is unknown.
        TrasPerdida(e);
        throw;
    }
}

void Database::BeginTrans()
{
    m_perdida = Perdida::Ninguna;
    m_transaccionPerdida = false;
    AntesDeSentencia(QString());
    QString text;
    bool muerta = false;
    bool empezada = false;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        empezada = db.isOpen() && db.transaction();
        if (!empezada) {
            text = db.lastError().text();
            muerta = db.isOpen() && ConexionMuerta();
        }
    }
    if (empezada) {
        m_inTransaction = true;
        m_txid = 0;
        // The driver sends BEGIN with the transaction's first statement: this one.
        if (m_engine == Engine::PostgreSQL)
            LimitarTransaccion();
        return;
    }
    if (muerta) {
        // Nothing of the transaction reached the server.
        m_perdida = Perdida::AntesDeConfirmar;
        Reconectar();
        RaisePerdida(QStringLiteral("No se pudo iniciar la transacción: %1").arg(text));
    }
    throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                  QStringLiteral("No se pudo iniciar la transacción: %1").arg(text), QStringLiteral("25000"));
}

void Database::CommitTrans()
{
    if (m_transaccionPerdida) {
        m_transaccionPerdida = false;
        RaisePerdida(QStringLiteral("Se perdió la conexión a la base de datos durante la transacción; "
                                    "el servidor la deshizo"));
    }
    QString text;
    bool muerta = false;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        m_confirmando = true;
        const bool ok = db.isOpen() && db.commit();
        m_confirmando = false;
        if (ok) {
            m_inTransaction = false;
            if (!RespuestaConfirmacionPerdida()) return;
            text = QStringLiteral("sin respuesta del servidor");
            muerta = true;
        }
        if (!muerta) {
            text = db.lastError().text();
            if (db.isOpen())
                db.rollback();
            m_inTransaction = false;
            muerta = db.isOpen() && ConexionMuerta();
        }
    }
    if (muerta)
        RaiseConfirmacionPerdida(text);
    throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                  QStringLiteral("No se pudo confirmar la transacción: %1").arg(text), QStringLiteral("40000"));
}

void Database::RollbackTrans()
{
    if (m_transaccionPerdida) {
        // The server rolled it back when the connection went.
        m_transaccionPerdida = false;
        m_inTransaction = false;
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    const bool ok = db.isOpen() && db.rollback();
    m_inTransaction = false;
    if (!ok)
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("No se pudo deshacer la transacción: %1").arg(db.lastError().text()),
                      QStringLiteral("25000"));
}

void Database::DeshacerSilencioso() noexcept
{
    if (m_transaccionPerdida) {
        m_transaccionPerdida = false;
        m_inTransaction = false;
        return;
    }
    if (!m_inTransaction)
        return;
    try {
        RollbackTrans();
    } catch (...) {
        m_inTransaction = false;
    }
}

// ---------------------------------------------------------------------------------------------
// Schema

QString Database::SchemaScript(Engine engine)
{
    const QString name = engine == Engine::PostgreSQL ? QStringLiteral(":/db/schema-postgresql.sql")
                                                      : QStringLiteral(":/db/schema-sqlite.sql");
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        throw VbError(53, QStringLiteral("Database"), QStringLiteral("No encuentro el esquema %1").arg(name));
    return QString::fromUtf8(f.readAll());
}

QStringList Database::SplitStatements(const QString& script)
{
    QStringList out;
    QString current;
    bool inQuote = false;
    bool inDollar = false;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& rawLine : lines) {
        const QString line = rawLine;
        if (!inQuote && !inDollar && line.trimmed().startsWith(QLatin1String("--")))
            continue;
        for (int i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (!inQuote && c == QLatin1Char('$') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('$')) {
                inDollar = !inDollar;
                current += QLatin1String("$$");
                ++i;
                continue;
            }
            if (!inDollar && c == QLatin1Char('\''))
                inQuote = !inQuote;
            if (!inQuote && !inDollar && c == QLatin1Char(';')) {
                if (!current.trimmed().isEmpty())
                    out << current.trimmed();
                current.clear();
                continue;
            }
            current += c;
        }
        current += QLatin1Char('\n');
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

namespace {

// The shipped script in its parts: "-- table: Name" heads a section that runs only when its
// table is missing; "-- setup" (PostgreSQL's collation) runs before the first missing table;
// "-- always" holds the indexes every database must end up with; "-- unless: <query>" heads
// statements that run only when the query finds no row (a unique index that an older
// database's rows would violate).
struct Esquema {
    struct Seccion {
        QString tabla;
        QString texto;
    };
    struct Condicional {
        QString consulta;
        QString texto;
    };
    QList<Seccion> secciones;
    QString setup;
    QString always;
    QList<Condicional> condicionales;
};

Esquema LeerEsquema(const QString& script)
{
    Esquema e;
    QString* destino = nullptr;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("-- table:"))) {
            e.secciones.append({tableOfSection(t), QString()});
            destino = &e.secciones.last().texto;
        } else if (t.startsWith(QLatin1String("-- setup"))) {
            destino = &e.setup;
        } else if (t.startsWith(QLatin1String("-- always"))) {
            destino = &e.always;
        } else if (t.startsWith(QLatin1String("-- unless:"))) {
            e.condicionales.append({tableOfSection(t), QString()});
            destino = &e.condicionales.last().texto;
        } else if (destino) {
            *destino += line + QLatin1Char('\n');
        }
    }
    return e;
}

// The index a statement creates or drops, by its lower-case name; empty for any other.
QString IndiceDe(const QString& sentencia, bool* crea)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(CREATE\s+(?:UNIQUE\s+)?INDEX|DROP\s+INDEX)\s+(?:IF\s+(?:NOT\s+)?EXISTS\s+)?(\w+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(sentencia);
    if (!m.hasMatch())
        return QString();
    *crea = m.captured(1).startsWith(QLatin1String("CREATE"), Qt::CaseInsensitive);
    return m.captured(2).toLower();
}

// Whether an index statement still has work to do; any other statement always has.
bool Pendiente(const QString& sentencia, const QSet<QString>& indices)
{
    bool crea = false;
    const QString indice = IndiceDe(sentencia, &crea);
    if (indice.isEmpty())
        return true;
    return crea != indices.contains(indice);
}

bool HayPendientes(const QString& texto, const QSet<QString>& indices)
{
    const QStringList sentencias = Database::SplitStatements(texto);
    return std::any_of(sentencias.begin(), sentencias.end(),
                       [&](const QString& s) { return Pendiente(s, indices); });
}

// Lower-case names from a catalogue query; false when the engine has no catalogue we read.
bool Catalogo(Database& db, const QString& sqlite, const QString& postgresql, QSet<QString>* nombres)
{
    const QString sql = db.engine() == Database::Engine::SQLite       ? sqlite
                        : db.engine() == Database::Engine::PostgreSQL ? postgresql
                                                                      : QString();
    if (sql.isEmpty())
        return false;
    for (DbResult r = db.Query(sql); !r.EOF_(); r.MoveNext())
        nombres->insert(r.value(0).toString().toLower());
    return true;
}

bool TablaPresente(Database& db, bool catalogo, const QSet<QString>& tablas, const QString& tabla)
{
    if (catalogo)
        return tablas.contains(tabla.toLower());
    try {
        db.Query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(tabla));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

struct Catalogos {
    QSet<QString> tablas;
    QSet<QString> indices;
    bool conTablas = false;
    bool conIndices = false;
};

Catalogos LeerCatalogos(Database& db)
{
    Catalogos c;
    c.conTablas = Catalogo(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"),
                           QStringLiteral("SELECT table_name FROM information_schema.tables "
                                          "WHERE table_schema = current_schema()"),
                           &c.tablas);
    c.conIndices = Catalogo(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"),
                            QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()"),
                            &c.indices);
    return c;
}

// Whether an "unless" query finds a row. Its first row is enough: the check runs at every start
// and the query's second half groups a whole log table.
bool Encuentra(Database& db, const QString& consulta)
{
    return db.Query(QStringLiteral("SELECT 1 FROM (%1) AS u LIMIT 1").arg(consulta)).RowCount() > 0;
}

// Whether the database lacks anything the script makes: a table, an index of a section or
// of "always", an index "always" drops that is still there, or a conditional statement whose
// query finds no row and whose index is missing. Only reads.
bool FaltaAlgo(Database& db, const Esquema& e)
{
    const Catalogos c = LeerCatalogos(db);
    for (const Esquema::Seccion& s : e.secciones) {
        if (!TablaPresente(db, c.conTablas, c.tablas, s.tabla))
            return true;
    }
    // Without a catalogue of indexes the idempotent statements run, as they always did.
    if (!c.conIndices)
        return true;
    for (const Esquema::Seccion& s : e.secciones) {
        for (const QString& st : Database::SplitStatements(s.texto)) {
            bool crea = false;
            const QString indice = IndiceDe(st, &crea);
            if (crea && !c.indices.contains(indice))
                return true;
        }
    }
    if (HayPendientes(e.always, c.indices))
        return true;
    for (const Esquema::Condicional& k : e.condicionales) {
        if (HayPendientes(k.texto, c.indices) && !Encuentra(db, k.consulta))
            return true;
    }
    return false;
}

// Runs what is missing; called under the schema lock, so what it reads stays true.
void AplicarEsquema(Database& db, const Esquema& e)
{
    Catalogos c = LeerCatalogos(db);
    bool setupHecho = false;
    for (const Esquema::Seccion& s : e.secciones) {
        const bool presente = TablaPresente(db, c.conTablas, c.tablas, s.tabla);
        if (!presente && !setupHecho) {
            for (const QString& st : Database::SplitStatements(e.setup))
                db.Execute(st);
            setupHecho = true;
        }
        for (const QString& st : Database::SplitStatements(s.texto)) {
            // A table of an earlier version keeps its rows; only an index it lost is made again.
            bool crea = false;
            const QString indice = IndiceDe(st, &crea);
            if (!presente || (crea && c.conIndices && !c.indices.contains(indice)))
                db.Execute(st);
        }
    }
    c = LeerCatalogos(db);
    for (const QString& st : Database::SplitStatements(e.always)) {
        if (!c.conIndices || Pendiente(st, c.indices))
            db.Execute(st);
    }
    for (const Esquema::Condicional& k : e.condicionales) {
        if (c.conIndices && !HayPendientes(k.texto, c.indices))
            continue;
        if (Encuentra(db, k.consulta))
            continue;
        for (const QString& st : Database::SplitStatements(k.texto))
            db.Execute(st);
    }
}

} // namespace

void Database::EnsureSchema()
{
    const Esquema esquema =
        LeerEsquema(SchemaScript(m_engine == Engine::PostgreSQL ? Engine::PostgreSQL : Engine::SQLite));
    // Terminals that start together all find what is missing; the first to hold the schema
    // lock makes it, the others find it made. A database that lacks nothing (every start but
    // the first) takes no lock and runs no DDL: on PostgreSQL even CREATE INDEX IF NOT EXISTS
    // waits for every writer of its table.
    try {
        if (FaltaAlgo(*this, esquema)) {
            BeginTransEsquema();
            try {
                if (FaltaAlgo(*this, esquema))
                    AplicarEsquema(*this, esquema);
            } catch (...) {
                DeshacerEscrituraSilencioso();
                throw;
            }
            CommitTransEscritura();
        }
    } catch (...) {
        m_sentencias->Vaciar();
        throw;
    }
    // The schema statements run once; they need not stay prepared.
    m_sentencias->Vaciar();
}

void Database::BeginTransEsquema()
{
    // One key per schema: the test databases are schemas of one server.
    BeginTransBloqueada(
        QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('quorvan.esquema.' || current_schema()))"));
}

// ---------------------------------------------------------------------------------------------
// Lost connection
//
// A connection that lives as long as the program (the configuration's, the export's) outlives
// a server restart. When a statement finds its connection gone, the connection is closed and
// opened again at once on the same string with the same settings; only what cannot have
// reached the server is sent again: a SELECT of Query, a cursor that returned no row, a
// transaction of EnTransaccion that lost its connection before COMMIT. A write outside a
// transaction, a COMMIT and the statements of a bare BeginTrans/CommitTrans are reported.

bool Database::TrasPerdida(const DbError& e)
{
    // Not for a connection the caller closed, nor while one is being opened again.
    if (m_reconectando || !e.isConnectionLost() || !QSqlDatabase::contains(m_name))
        return false;
    if (m_inTransaction) {
        m_transaccionPerdida = true;
        m_perdida = m_confirmando ? Perdida::AlConfirmar : Perdida::AntesDeConfirmar;
    }
    return Reconectar();
}

bool Database::Reconectar()
{
    // Their statements died with the connection: they raise at their next row. The reading
    // connection of a SQLite connection is opened again with it, its cursors cut alike.
    while (!m_cursores.isEmpty())
        m_cursores.first()->Cortar();
    for (Database* lector : {m_lector.get(), m_lectorPorPaginas.get()})
        if (lector)
            while (!lector->m_cursores.isEmpty())
                lector->m_cursores.first()->Cortar();
    const QString cs = m_connectionString;
    const bool fullSync = m_fullSync;
    const bool transaccionPerdida = m_transaccionPerdida;
    m_inTransaction = false; // nothing to roll back on a dead connection
    m_reconectando = true;
    bool ok = true;
    try {
        OpenConnectionString(cs);
        if (fullSync)
            UseFullSync();
    } catch (const VbError&) {
        ok = false;
    }
    m_reconectando = false;
    m_connectionString = cs;
    m_fullSync = fullSync;
    m_transaccionPerdida = transaccionPerdida;
    m_reabrir = !ok;
    return ok;
}

void Database::AntesDeSentencia(const QString& sql)
{
    if (m_transaccionPerdida)
        RaisePerdida(QStringLiteral("Se perdió la conexión a la base de datos durante la transacción (%1)")
                         .arg(sql.simplified().left(300)),
                     QStringLiteral("08007"));
    if (m_reabrir && !Reconectar())
        RaisePerdida(QStringLiteral("Se perdió la conexión a la base de datos y no se pudo abrir otra vez"),
                     QStringLiteral("08001"));
}

bool Database::MuertaSegunDriver() const
{
    if (!QSqlDatabase::contains(m_name))
        return false;
    const QSqlDatabase db = QSqlDatabase::database(m_name, false);
    const Odbc& odbc = Odbc::get();
    void* dbc = connectionHandle(db.driver());
    SQLUINTEGER muerta = SQL_CD_FALSE;
    return dbc && odbc.getConnectAttr
        && SQL_SUCCEEDED(odbc.getConnectAttr(dbc, SQL_ATTR_CONNECTION_DEAD, &muerta, sizeof muerta, nullptr))
        && muerta == SQL_CD_TRUE;
}

bool Database::ConexionMuerta()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen() || MuertaSegunDriver())
        return true;
    // A driver that does not say: ask the server (after the rollback, so an aborted
    // transaction does not answer for the connection).
    QSqlQuery q(db);
    return !q.exec(QStringLiteral("SELECT 1"));
}

void Database::RaisePerdida(const QString& texto, const QString& estado)
{
    throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"), QStringLiteral("%1: %2").arg(estado, texto),
                  estado);
}

// ---------------------------------------------------------------------------------------------
// Streaming cursor, write-locking transaction

void Database::OpenStreaming()
{
    const QString cs = ProgramConnectionString();
    OpenConnectionString(ConPasos(cs));
    EnsureSchemaOnce(cs);
}

QString Database::ConPasos(const QString& connectionString)
{
    // Both drivers otherwise read a whole result set into memory on execute: the SQLite driver
    // unless it steps, psqlODBC unless it fetches through a server-side cursor. Each driver
    // ignores the other's setting, so a data source name of either engine gets both.
    QString streaming = connectionString;
    streaming.replace(QLatin1String("StepAPI=0"), QLatin1String("StepAPI=1"), Qt::CaseInsensitive);
    auto agregar = [&streaming](const QString& clave, const QString& valor) {
        if (streaming.contains(clave + QLatin1Char('='), Qt::CaseInsensitive)) return;
        if (!streaming.isEmpty() && !streaming.endsWith(QLatin1Char(';'))) streaming += QLatin1Char(';');
        streaming += clave + QLatin1Char('=') + valor;
    };
    agregar(QStringLiteral("StepAPI"), QStringLiteral("1"));
    agregar(QStringLiteral("UseDeclareFetch"), QStringLiteral("1"));
    return streaming;
}

std::unique_ptr<DbCursor> Database::OpenCursor(const QString& sql, const QVariantList& params, bool porPaginas)
{
    AntesDeSentencia(sql);
    if (!IsOpen())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("La conexión a la base de datos no está abierta"), QStringLiteral("08003"));
    // A SQLite connection that reads results whole at execute holds a hundred thousand rows
    // as a few million separate texts before the first is read, which costs several times
    // the reading. Outside a transaction (whose own writes only this connection sees) the
    // cursor reads through a second connection to the same file that steps through them.
    if (m_engine == Engine::SQLite && !m_inTransaction &&
        !m_connectionString.contains(QLatin1String("StepAPI=1"), Qt::CaseInsensitive)) {
        if (porPaginas) {
            if (!m_lectorPorPaginas) {
                auto lector = std::make_unique<Database>();
                lector->OpenConnectionString(ConPasos(m_connectionString));
                lector->Query(QStringLiteral("PRAGMA mmap_size=0"));
                m_lectorPorPaginas = std::move(lector);
            }
            return m_lectorPorPaginas->OpenCursor(sql, params);
        }
        if (!m_lector) {
            auto lector = std::make_unique<Database>();
            lector->OpenConnectionString(ConPasos(m_connectionString));
            // It reads the file through a memory map: a long history outgrows the page cache,
            // and reading it again page by page cost a system call and a copy per page, about
            // a third of loading a hundred thousand rows. Writes still go through the file.
            lector->Query(QStringLiteral("PRAGMA mmap_size=268435456"));
            // Its sorts stay in memory up to 64 MB: at the default 2 MB, ordering a hundred
            // thousand rows went out to temporary files and back, about 70 ms of such a load.
            // The map above leaves this cache to sorts and temporary tables.
            lector->Execute(QStringLiteral("PRAGMA cache_size=-65536"));
            m_lector = std::move(lector);
        }
        return m_lector->OpenCursor(sql, params);
    }
    std::unique_ptr<QSqlQuery> q;
    qint64 serie = 0;
    const bool enTransaccion = m_inTransaction;
    try {
        q = EjecutarCursor(sql, params, &serie);
    } catch (const DbError& e) {
        if (!TrasPerdida(e) || enTransaccion)
            throw;
    }
    if (!q) {
        // Nothing was read yet: the query runs again on the new connection.
        try {
            q = EjecutarCursor(sql, params, &serie);
        } catch (const DbError& e) {
            TrasPerdida(e);
            throw;
        }
    }
    std::unique_ptr<DbCursor> c(new DbCursor(this, sql, params, std::move(q)));
    c->m_serieValores = serie;
    m_cursores.append(c.get());
    return c;
}

std::unique_ptr<QSqlQuery> Database::EjecutarCursor(const QString& sql, const QVariantList& params, qint64* serie)
{
    const QString sentencia = ValoresAparte(sql, params, serie);
    try {
        auto q = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_name, false));
        q->setForwardOnly(true);
        // A statement without values runs at once (SQLExecDirect): psqlODBC otherwise prepares it
        // on the server first, which costs a long list about a sixth more.
        if (params.isEmpty() || *serie) {
            if (!q->exec(sentencia))
                Raise(QStringLiteral("exec"), sql, statementHandle(*q), q->lastError());
            return q;
        }
        if (!q->prepare(sentencia))
            Raise(QStringLiteral("prepare"), sql, statementHandle(*q), q->lastError());
        for (int i = 0; i < params.size(); ++i)
            q->bindValue(i, bindable(params.at(i)));
        if (!q->exec())
            Raise(QStringLiteral("exec"), sql, statementHandle(*q), q->lastError());
        return q;
    } catch (...) {
        OlvidarValores(*serie);
        *serie = 0;
        throw;
    }
}

QString Database::ValoresAparte(const QString& sql, const QVariantList& params, qint64* serie)
{
    *serie = 0;
    if (params.isEmpty() || m_engine != Engine::SQLite || m_inTransaction ||
        !m_connectionString.contains(QLatin1String("StepAPI=1"), Qt::CaseInsensitive))
        return sql;
    // The markers: every "?" outside quoted texts, quoted names and comments. A statement with
    // numbered markers, or with other than one marker a value, is left to the driver.
    QList<qsizetype> marcas;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            // A doubled quote inside a text reads as a text ended and another begun at once.
            i = sql.indexOf(c == u'[' ? QChar(u']') : c, i + 1);
            if (i < 0) return sql;
        } else if (c == u'-' && QStringView(sql).mid(i, 2) == u"--") {
            i = sql.indexOf(u'\n', i);
            if (i < 0) break;
        } else if (c == u'/' && QStringView(sql).mid(i, 2) == u"/*") {
            i = sql.indexOf(QLatin1String("*/"), i + 2);
            if (i < 0) return sql;
            ++i;
        } else if (c == u'?') {
            if (i + 1 < sql.size() && sql.at(i + 1).isDigit()) return sql;
            marcas << i;
        }
    }
    if (marcas.size() != params.size()) return sql;
    if (!m_tablaValores) {
        Execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS ValoresCursor (Serie INTEGER NOT NULL, "
                               "Numero INTEGER NOT NULL, Valor, PRIMARY KEY (Serie, Numero))"));
        m_tablaValores = true;
    }
    const qint64 numero = ++m_seriesValores;
    QString sentencia = sql;
    try {
        for (qsizetype k = marcas.size() - 1; k >= 0; --k) {
            Execute(QStringLiteral("INSERT INTO temp.ValoresCursor (Serie, Numero, Valor) VALUES (?, ?, ?)"),
                    {numero, qint64(k), params.at(k)});
            sentencia.replace(marcas.at(k), 1,
                              QStringLiteral("(SELECT Valor FROM temp.ValoresCursor WHERE Serie = %1 AND Numero = %2)")
                                  .arg(numero)
                                  .arg(k));
        }
    } catch (...) {
        OlvidarValores(numero);
        throw;
    }
    *serie = numero;
    return sentencia;
}

void Database::OlvidarValores(qint64 serie) noexcept
{
    if (!serie) return;
    try {
        Execute(QStringLiteral("DELETE FROM temp.ValoresCursor WHERE Serie = ?"), {serie});
    } catch (...) {
        // The connection's own table goes with it.
    }
}

void Database::BeginTransEscritura(const QString& tabla)
{
    BeginTransBloqueada(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tabla));
}

void Database::BeginTransBloqueada(const QString& bloqueoPostgres)
{
    m_perdida = Perdida::Ninguna;
    m_transaccionPerdida = false;
    if (m_engine == Engine::SQLite) {
        // As a statement: the driver's own transaction would begin deferred, and a reader
        // that later writes can find another writer has moved on (or, for the schema, read
        // sqlite_master unlocked).
        Execute(QStringLiteral("BEGIN IMMEDIATE"));
        m_escrituraExplicita = true;
        m_inTransaction = true;
        return;
    }
    BeginTrans();
    if (m_engine == Engine::PostgreSQL) {
        try {
            Execute(bloqueoPostgres);
        } catch (...) {
            DeshacerSilencioso();
            throw;
        }
    }
}

void Database::CommitTransEscritura()
{
    if (!m_escrituraExplicita) {
        CommitTrans();
        return;
    }
    m_confirmando = true;
    try {
        Execute(QStringLiteral("COMMIT"));
    } catch (...) {
        m_confirmando = false;
        DeshacerEscrituraSilencioso();
        throw;
    }
    m_confirmando = false;
    m_escrituraExplicita = false;
    m_inTransaction = false;
    if (RespuestaConfirmacionPerdida())
        RaiseConfirmacionPerdida(QStringLiteral("sin respuesta del servidor"));
}

bool Database::RespuestaConfirmacionPerdida()
{
    return m_trasConfirmar && m_trasConfirmar(*this);
}


Database::Confirmacion Database::PreguntarConfirmacion()
{
    if (m_engine != Engine::PostgreSQL || m_txid == 0 || !ConfirmacionPerdida())
        return Confirmacion::SinComprobar;
    RelojDeArena reloj;
    const Limites l = LimitesSesion();
    QElapsedTimer desde;
    desde.start();
    bool terminada = false;
    for (;;) {
        QString estado, sesion;
        try {
            // The old session, only while it still holds this transaction (its process number
            // may have gone to another session since).
            const DbResult r = Query(QStringLiteral("SELECT txid_status(?), (SELECT state FROM pg_stat_activity "
                                                    "WHERE pid = ? AND backend_xid::text::bigint = ? % 4294967296)"),
                                     {m_txid, m_procesoTxid, m_txid});
            estado = r.value(0).toString();
            sesion = r.value(1).toString();
            if (estado == QLatin1String("in progress") && !terminada
                && sesion.startsWith(QLatin1String("idle in transaction"))) {
                // Its COMMIT never reached the server, and the session would wait for it until
                // its idle limit: ended now, the transaction is rolled back.
                Query(QStringLiteral("SELECT pg_terminate_backend(?)"), {m_procesoTxid});
                terminada = true;
                continue;
            }
        } catch (const VbError&) {
            return Confirmacion::SinComprobar;
        }
        if (estado == QLatin1String("committed"))
            return Confirmacion::Hecha;
        if (estado == QLatin1String("aborted"))
            return Confirmacion::Deshecha;
        // No answer (a transaction too old to tell), or a commit still running past the limit.
        if (estado != QLatin1String("in progress") || desde.elapsed() >= l.preguntaMs)
            return Confirmacion::SinComprobar;
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(static_cast<unsigned long>(l.preguntaIntervaloMs));
    }
}

void Database::RaiseConfirmacionPerdida(const QString& texto)
{
    // The COMMIT may or may not have been applied: never sent again.
    m_perdida = Perdida::AlConfirmar;
    Reconectar();
    RaisePerdida(QStringLiteral("Se perdió la conexión a la base de datos al confirmar la transacción: %1").arg(texto));
}

void Database::DeshacerEscrituraSilencioso() noexcept
{
    if (m_transaccionPerdida || !m_escrituraExplicita) {
        DeshacerSilencioso();
        return;
    }
    m_escrituraExplicita = false;
    m_inTransaction = false;
    try {
        Execute(QStringLiteral("ROLLBACK"));
    } catch (...) {
    }
}

void Database::EsperarReintento(int intento)
{
    // Two connections that collided should not collide again in step.
    const unsigned long ms = 10ul * static_cast<unsigned long>(intento) + (g_connectionCounter.loadRelaxed() % 7ul) * 3ul;
    QThread::msleep(ms);
}

namespace {

// Rows a block fetch brings at once: enough to make the calls per row negligible, few enough
// that the buffers stay in the cache.
constexpr SQLULEN kFilasPorBloque = 128;
// Text columns declared wider than this (characters) are read with SQLGetData.
constexpr int kTextoMaximoEnlazado = 1024;

// A text read from the driver, in UTF-8 or UTF-16. A value equal to the column's previous one
// keeps that one's storage: a provider's history repeats its CUIT, dates, codes and answers on
// row after row, and a shared text is neither allocated nor freed again.
void GuardarTexto(QVariant& v, const char* datos, qsizetype bytes, bool utf8)
{
    const QAnyStringView leido = utf8 ? QAnyStringView(QUtf8StringView(datos, bytes))
                                      : QAnyStringView(QStringView(reinterpret_cast<const char16_t*>(datos),
                                                                   bytes / qsizetype(sizeof(SQLWCHAR))));
    if (v.typeId() == QMetaType::QString) {
        const QString* anterior = static_cast<const QString*>(v.constData());
        if (anterior->size() <= bytes && QAnyStringView::equal(*anterior, leido)) return;
    }
    v = leido.size() == 0 ? QString() : leido.toString();
}

}

// The buffers of a block fetch: per column, one value per row of the block (column-wise
// binding), with its length or null indicator.
struct DbCursor::Bloque {
    QList<QByteArray> datos;
    QList<QList<SQLLEN>> indicadores;
    QList<SQLLEN> ancho; // bytes of one row's value
    QList<SQLUSMALLINT> estados;
    SQLULEN filas = 1;   // rows a fetch asks for
    SQLULEN traidas = 0; // rows the last fetch brought
    SQLULEN actual = 0;
    bool terminado = false;
};

DbCursor::DbCursor(Database* owner, QString sql, QVariantList params, std::unique_ptr<QSqlQuery> query)
    : m_owner(owner), m_sql(std::move(sql)), m_params(std::move(params))
{
    Empezar(std::move(query));
}

void DbCursor::Empezar(std::unique_ptr<QSqlQuery> query)
{
    m_query = std::move(query);
    m_columns.clear();
    m_tipos.clear();
    m_stmt = nullptr;
    m_bloque.reset();
    const QSqlRecord rec = m_query->record();
    const QSqlDriver* driver = m_query->driver();
    // Qt's ODBC layer costs far more per value than the driver does (a copy of the field's
    // description, a length probe before each text, a variant cache), which shows on lists of
    // a hundred thousand rows. Texts, integers and doubles are therefore read here with the
    // same ODBC calls and C types Qt would use, so the values are the same; any other column
    // type, or a driver Qt does not read in Unicode, leaves the whole cursor to Qt.
    bool directa = Odbc::get().getData && statementHandle(*m_query) && driver &&
                   driver->hasFeature(QSqlDriver::Unicode) &&
                   m_query->numericalPrecisionPolicy() == QSql::LowPrecisionDouble;
    bool enlazable = true;
    for (int i = 0; i < rec.count(); ++i) {
        m_columns << rec.fieldName(i);
        const QSqlField f = rec.field(i);
        Columna c;
        switch (f.metaType().id()) {
        case QMetaType::QString:
            c.tipo = Columna::Texto;
            // Room for the longest value the driver describes (SQLite does not hold a text to
            // its declared size, so never less than 256), as Qt sizes its buffer.
            c.largo = std::clamp(f.length() + 1, 256, 65536);
            // Bound to a buffer of its declared size; a longer value is then read apart.
            c.declarado = f.length() > 0 ? f.length() : 255;
            enlazable = enlazable && c.declarado <= kTextoMaximoEnlazado;
            break;
        case QMetaType::Short: // Qt reads a SMALLINT as a 32-bit integer too
        case QMetaType::Int: c.tipo = Columna::Entero32; break;
        case QMetaType::LongLong: c.tipo = Columna::Entero64; break;
        case QMetaType::Double: c.tipo = Columna::Doble; break;
        default: directa = false;
        }
        m_tipos << c;
    }
    m_fila.resize(m_columns.size());
    m_enBloque.fill(false, m_columns.size());
    if (!directa) return;
    m_stmt = statementHandle(*m_query);
    // The SQLite driver keeps texts in UTF-8: read so, they come without a conversion and a
    // buffer of the driver's own per value.
    m_utf8 = m_owner && m_owner->engine() == Database::Engine::SQLite;
    if (enlazable && !m_columns.isEmpty()) EmpezarBloques(driver);
}

void DbCursor::EmpezarBloques(const QSqlDriver* driver)
{
    // The rare text longer than its buffer is then read whole with SQLGetData, which a bound
    // column allows only where the driver says so; within a block of rows, only where the
    // driver also reads one row of a block on request (psqlODBC does, the SQLite driver
    // fetches one row at a time).
    const Odbc& odbc = Odbc::get();
    void* dbc = connectionHandle(driver);
    SQLUINTEGER extensiones = 0;
    if (!odbc.bloques() || !dbc ||
        !SQL_SUCCEEDED(odbc.getInfo(dbc, SQL_GETDATA_EXTENSIONS, &extensiones, sizeof extensiones, nullptr)) ||
        !(extensiones & SQL_GD_BOUND))
        return;
    auto b = std::make_unique<Bloque>();
    b->filas = (extensiones & SQL_GD_BLOCK) ? kFilasPorBloque : 1;
    b->estados.resize(qsizetype(b->filas));
    bool ok = SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_BIND_TYPE,
                                             reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0)) &&
              SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                             reinterpret_cast<SQLPOINTER>(b->filas), 0)) &&
              SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, &b->traidas, 0)) &&
              SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_STATUS_PTR, b->estados.data(), 0));
    for (int i = 0; ok && i < m_tipos.size(); ++i) {
        SQLSMALLINT tipoC = SQL_C_SLONG;
        SQLLEN ancho = sizeof(SQLINTEGER);
        switch (m_tipos.at(i).tipo) {
        case Columna::Entero32: break;
        case Columna::Entero64: tipoC = SQL_C_SBIGINT; ancho = sizeof(qint64); break;
        case Columna::Doble: tipoC = SQL_C_DOUBLE; ancho = sizeof(double); break;
        case Columna::Texto: {
            // UTF-8 takes up to three bytes for each character of the basic plane.
            const SQLLEN caracteres = std::max(m_tipos.at(i).declarado, 16) + 1;
            tipoC = m_utf8 ? SQL_C_CHAR : SQL_C_WCHAR;
            ancho = m_utf8 ? caracteres * 3 : caracteres * SQLLEN(sizeof(SQLWCHAR));
            break;
        }
        }
        b->ancho << ancho;
        b->datos << QByteArray(qsizetype(ancho * SQLLEN(b->filas)), Qt::Uninitialized);
        b->indicadores << QList<SQLLEN>(qsizetype(b->filas));
        ok = SQL_SUCCEEDED(odbc.bindCol(m_stmt, SQLUSMALLINT(i + 1), tipoC, b->datos[i].data(), ancho,
                                        b->indicadores[i].data()));
    }
    m_bloque = std::move(b);
    // A driver that refuses any of it reads row by row, as Qt would.
    if (!ok) SoltarBloques();
}

void DbCursor::SoltarBloques()
{
    if (!m_bloque) return;
    if (m_stmt) {
        const Odbc& odbc = Odbc::get();
        odbc.freeStmt(m_stmt, SQL_UNBIND);
        odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        odbc.setStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
    }
    m_bloque.reset();
}

DbCursor::~DbCursor()
{
    Close();
}

void DbCursor::Cortar()
{
    m_serieValores = 0; // they went with the connection
    Close();
    m_cortado = true;
}

void DbCursor::Close()
{
    SoltarBloques();
    m_stmt = nullptr;
    m_enFila = false;
    if (m_query) {
        m_query->finish();
        m_query.reset();
    }
    if (m_owner) {
        m_owner->m_cursores.removeOne(this);
        m_owner->OlvidarValores(m_serieValores);
        m_serieValores = 0;
        m_owner = nullptr;
    }
}

bool DbCursor::Next()
{
    if (m_cortado)
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("08S01: Se perdió la conexión a la base de datos mientras se leían las filas (%1)")
                          .arg(m_sql.simplified().left(300)),
                      QStringLiteral("08S01"));
    Database* owner = m_owner;
    try {
        const bool fila = Avanzar();
        m_devolvio = m_devolvio || fila;
        return fila;
    } catch (const DbError& e) {
        if (!owner)
            throw;
        const bool enTransaccion = owner->m_inTransaction;
        // The owner opens its connection again and cuts every cursor of the old one, this too.
        if (!owner->TrasPerdida(e) || m_devolvio || m_repetido || enTransaccion)
            throw;
    }
    // No row was read: the query runs again on the new connection, once.
    m_repetido = true;
    std::unique_ptr<QSqlQuery> q;
    try {
        q = owner->EjecutarCursor(m_sql, m_params, &m_serieValores);
    } catch (const DbError& e) {
        owner->TrasPerdida(e);
        throw; // still cut: a later Next raises too
    }
    m_cortado = false;
    m_owner = owner;
    Empezar(std::move(q));
    owner->m_cursores.append(this);
    return Next();
}

bool DbCursor::Avanzar()
{
    m_leidas = 0;
    m_enFila = false;
    if (!m_query)
        return false;
    if (m_bloque) {
        Bloque& b = *m_bloque;
        if (b.actual + 1 < b.traidas) {
            ++b.actual;
        } else {
            if (b.terminado) return false;
            b.traidas = 0;
            const SQLRETURN r = Odbc::get().fetch(m_stmt);
            if (r == SQL_NO_DATA || (SQL_SUCCEEDED(r) && b.traidas == 0)) {
                b.terminado = true;
                return false;
            }
            if (!SQL_SUCCEEDED(r) && m_owner)
                m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
            b.actual = 0;
        }
        if (b.estados.at(qsizetype(b.actual)) == SQL_ROW_ERROR && m_owner)
            m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
        LeerFilaDelBloque();
        m_enFila = true;
        return true;
    }
    if (m_query->next()) {
        m_enFila = true;
        return true;
    }
    if (m_query->lastError().isValid() && m_owner)
        m_owner->Raise(QStringLiteral("fetch"), m_sql, statementHandle(*m_query), m_query->lastError());
    return false;
}

void DbCursor::LeerFilaDelBloque()
{
    const Bloque& b = *m_bloque;
    const qsizetype fila = qsizetype(b.actual);
    for (int i = 0; i < m_tipos.size(); ++i) {
        const SQLLEN indicador = b.indicadores.at(i).at(fila);
        const char* dato = b.datos.at(i).constData() + fila * b.ancho.at(i);
        QVariant& v = m_fila[i];
        m_enBloque[i] = false;
        if (indicador == SQL_NULL_DATA) {
            v = QVariant();
            continue;
        }
        switch (m_tipos.at(i).tipo) {
        case Columna::Entero32: {
            SQLINTEGER x;
            memcpy(&x, dato, sizeof x);
            v = QVariant(int(x));
            break;
        }
        case Columna::Entero64: {
            qint64 x;
            memcpy(&x, dato, sizeof x);
            v = QVariant(x);
            break;
        }
        case Columna::Doble: {
            double x;
            memcpy(&x, dato, sizeof x);
            v = QVariant(x);
            break;
        }
        case Columna::Texto: {
            const SQLLEN cabe = b.ancho.at(i) - (m_utf8 ? 1 : SQLLEN(sizeof(SQLWCHAR)));
            if (indicador == SQL_NO_TOTAL || indicador > cabe) {
                // Longer than its buffer: this one value is read whole from the driver.
                if (b.filas > 1 &&
                    !SQL_SUCCEEDED(Odbc::get().setPos(m_stmt, SQLSETPOSIROW(fila + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE))
                    && m_owner)
                    m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
                LeerTexto(i);
            } else {
                // Made into a value only when asked for: a caller that takes the bytes (the
                // text export) or skips the column needs none.
                m_enBloque[i] = true;
            }
            break;
        }
        }
    }
    m_leidas = m_tipos.size();
}

void DbCursor::TomarDelBloque(int i) const
{
    const Bloque& b = *m_bloque;
    const qsizetype fila = qsizetype(b.actual);
    GuardarTexto(m_fila[i], b.datos.at(i).constData() + fila * b.ancho.at(i), qsizetype(b.indicadores.at(i).at(fila)),
                 m_utf8);
    m_enBloque[i] = false;
}

bool DbCursor::Utf8(int index, std::string_view& bytes) const
{
    if (!m_utf8 || !m_bloque || !m_query || !m_enFila || index < 0 || index >= m_enBloque.size() ||
        !m_enBloque.at(index))
        return false;
    const Bloque& b = *m_bloque;
    const qsizetype fila = qsizetype(b.actual);
    bytes = std::string_view(b.datos.at(index).constData() + fila * b.ancho.at(index),
                             size_t(b.indicadores.at(index).at(fila)));
    return true;
}

void DbCursor::LeerTexto(int i) const
{
    // One call when the value fits (nearly always); a longer one comes in pieces, each but the
    // last filling the buffer up to its terminator.
    const auto getData = Odbc::get().getData;
    const SQLUSMALLINT n = static_cast<SQLUSMALLINT>(i + 1);
    const int largo = m_tipos.at(i).largo;
    const SQLLEN terminador = m_utf8 ? 1 : SQLLEN(sizeof(SQLWCHAR));
    const SQLLEN bytes = m_utf8 ? SQLLEN(largo) * 3 + 1 : SQLLEN(largo) * SQLLEN(sizeof(SQLWCHAR));
    if (m_texto.size() < bytes) m_texto.resize(bytes);
    QByteArray partes;
    bool enPartes = false;
    for (;;) {
        SQLLEN indicador = 0;
        SQLRETURN r = getData(m_stmt, n, m_utf8 ? SQL_C_CHAR : SQL_C_WCHAR, m_texto.data(), bytes, &indicador);
        if (r == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(r)) {
            if (m_owner) m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
            return;
        }
        if (indicador == SQL_NULL_DATA) {
            m_fila[i] = QVariant();
            return;
        }
        const bool entero = r == SQL_SUCCESS && indicador != SQL_NO_TOTAL;
        const qsizetype trozo = entero ? qsizetype(indicador) : qsizetype(bytes - terminador);
        if (entero && !enPartes) {
            GuardarTexto(m_fila[i], m_texto.constData(), trozo, m_utf8);
            return;
        }
        // In pieces the text is put together before it is decoded: a UTF-8 character may
        // straddle two of them.
        partes.append(m_texto.constData(), trozo);
        enPartes = true;
        if (entero) break;
    }
    GuardarTexto(m_fila[i], partes.constData(), partes.size(), m_utf8);
}

void DbCursor::LeerHasta(int index) const
{
    const auto getData = Odbc::get().getData;
    for (; m_leidas <= index; ++m_leidas) {
        const int i = m_leidas;
        const SQLUSMALLINT n = static_cast<SQLUSMALLINT>(i + 1);
        SQLLEN indicador = 0;
        SQLRETURN r = SQL_SUCCESS;
        QVariant& v = m_fila[i];
        switch (m_tipos.at(i).tipo) {
        case Columna::Entero32: {
            SQLINTEGER x = 0;
            r = getData(m_stmt, n, SQL_C_SLONG, &x, sizeof x, &indicador);
            v = indicador == SQL_NULL_DATA ? QVariant() : QVariant(int(x));
            break;
        }
        case Columna::Entero64: {
            qint64 x = 0;
            r = getData(m_stmt, n, SQL_C_SBIGINT, &x, sizeof x, &indicador);
            v = indicador == SQL_NULL_DATA ? QVariant() : QVariant(x);
            break;
        }
        case Columna::Doble: {
            double x = 0;
            r = getData(m_stmt, n, SQL_C_DOUBLE, &x, sizeof x, &indicador);
            v = indicador == SQL_NULL_DATA ? QVariant() : QVariant(x);
            break;
        }
        case Columna::Texto:
            LeerTexto(i);
            break;
        }
        if (!SQL_SUCCEEDED(r) && m_owner)
            m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
    }
}

QVariant DbCursor::value(int index) const
{
    return Valor(index);
}

const QVariant& DbCursor::Valor(int index) const
{
    if (!m_query || !m_enFila)
        throw VbError(40022, QStringLiteral("Database"), QStringLiteral("No current row"));
    if (index < 0 || index >= m_columns.size())
        throw VbError(3265, QStringLiteral("Database"),
                      QStringLiteral("Item not found in this collection: %1").arg(index));
    if (m_bloque && m_enBloque.at(index))
        TomarDelBloque(index);
    else if (m_stmt)
        LeerHasta(index);
    else
        m_fila[index] = m_query->isNull(index) ? QVariant() : m_query->value(index);
    return m_fila.at(index);
}

QVariant DbCursor::value(const QString& column) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return value(i);
    throw VbError(3265, QStringLiteral("Database"), QStringLiteral("Item not found in this collection: %1").arg(column));
}
