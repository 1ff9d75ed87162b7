#include "platform/Database.h"

#include "platform/ArchivosPropios.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>
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
    // PostgreSQL: serialization failure, deadlock, lock not available (lock_timeout).
    if (sqlState == QLatin1String("40001") || sqlState == QLatin1String("40P01") || sqlState == QLatin1String("55P03"))
        return true;
    // SQLite: BUSY and LOCKED with their extended codes.
    const qint32 primario = nativeError & 0xFF;
    if (primario == 5 || primario == 6)
        return true;
    const QString d = description.toLower();
    return d.contains(QLatin1String("database is locked")) || d.contains(QLatin1String("database table is locked"))
        || d.contains(QLatin1String("deadlock detected")) || d.contains(QLatin1String("could not serialize"))
        || d.contains(QLatin1String("lock timeout"));
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

QString Database::ProgramConnectionString()
{
    const QString env = qEnvironmentVariable("QUORVAN_DSN");
    if (!env.trimmed().isEmpty())
        return env;
    if (DsnDefined(QStringLiteral("Quorvan")))
        return QStringLiteral("DSN=Quorvan");
    const QString dataDir = Paths::DataDir();
    QDir().mkpath(dataDir);
    const QString archivo = Paths::Join(dataDir, QStringLiteral("Quorvan.db"));
    // SQLite gives its journal files the database's mode: private from the first byte.
    ArchivosPropios::CrearArchivo(archivo);
    return SQLiteConnectionString(archivo);
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

void Database::OpenConnectionString(const QString& connectionString)
{
    Close();
    m_connectionString = connectionString;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        db.setDatabaseName(connectionString);
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
}

void Database::UseFullSync()
{
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
    Q_UNUSED(what);
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
    QSqlQuery& q = Run(sql, params);
    const qint64 n = q.numRowsAffected();
    q.finish();
    return n;
}

void Database::BeginTrans()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.isOpen() || !db.transaction())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("No se pudo iniciar la transacción: %1").arg(db.lastError().text()),
                      QStringLiteral("25000"));
    m_inTransaction = true;
}

void Database::CommitTrans()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    const bool ok = db.isOpen() && db.commit();
    if (!ok) {
        const QString text = db.lastError().text();
        if (db.isOpen())
            db.rollback();
        m_inTransaction = false;
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("No se pudo confirmar la transacción: %1").arg(text), QStringLiteral("40000"));
    }
    m_inTransaction = false;
}

void Database::RollbackTrans()
{
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

void Database::EnsureSchema()
{
    // The script is made of sections headed "-- table: Name"; a section runs only when its
    // table is missing, so a database created by an earlier version gets just what it lacks.
    // A "-- setup" section (PostgreSQL's collation) runs before the first missing table.
    const QString script = SchemaScript(m_engine == Engine::PostgreSQL ? Engine::PostgreSQL : Engine::SQLite);
    struct Section {
        QString table;
        QString text;
    };
    QList<Section> sections;
    QString setup;
    QString always;
    // "-- unless: <query>": statements that run, after the "always" ones, only when the query
    // finds no row (a unique index that an older database's rows would violate).
    struct Condicional {
        QString consulta;
        QString text;
    };
    QList<Condicional> condicionales;
    QString* target = nullptr;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("-- table:"))) {
            sections.append({tableOfSection(t), QString()});
            target = &sections.last().text;
            continue;
        }
        if (t.startsWith(QLatin1String("-- setup"))) {
            target = &setup;
            continue;
        }
        if (t.startsWith(QLatin1String("-- always"))) {
            target = &always;
            continue;
        }
        if (t.startsWith(QLatin1String("-- unless:"))) {
            condicionales.append({tableOfSection(t), QString()});
            target = &condicionales.last().text;
            continue;
        }
        if (target)
            *target += line + QLatin1Char('\n');
    }
    // The tables present, from the engine's catalogue (lower-case names).
    QSet<QString> present;
    bool catalogue = true;
    if (m_engine == Engine::SQLite) {
        DbResult r = Query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        for (; !r.EOF_(); r.MoveNext())
            present.insert(r.value(0).toString().toLower());
    } else if (m_engine == Engine::PostgreSQL) {
        DbResult r = Query(QStringLiteral(
            "SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema()"));
        for (; !r.EOF_(); r.MoveNext())
            present.insert(r.value(0).toString().toLower());
    } else {
        catalogue = false;
    }
    bool setupDone = false;
    for (const Section& s : sections) {
        bool exists = present.contains(s.table.toLower());
        if (!catalogue) {
            exists = true;
            try {
                Query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(s.table));
            } catch (const DbError&) {
                exists = false;
            }
        }
        if (exists)
            continue;
        if (!setupDone) {
            for (const QString& st : SplitStatements(setup))
                Execute(st);
            setupDone = true;
        }
        EnTransaccion([&] {
            for (const QString& st : SplitStatements(s.text))
                Execute(st);
        });
    }
    // Idempotent statements ("IF NOT EXISTS") that every database must end up with.
    for (const QString& st : SplitStatements(always))
        Execute(st);
    for (const Condicional& c : condicionales) {
        if (Query(c.consulta).RowCount() > 0)
            continue;
        for (const QString& st : SplitStatements(c.text))
            Execute(st);
    }
    // The schema statements run once; they need not stay prepared.
    m_sentencias->Vaciar();
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

std::unique_ptr<DbCursor> Database::OpenCursor(const QString& sql, const QVariantList& params)
{
    if (!IsOpen())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("La conexión a la base de datos no está abierta"), QStringLiteral("08003"));
    // A SQLite connection that reads results whole at execute holds a hundred thousand rows
    // as a few million separate texts before the first is read, which costs several times
    // the reading. Outside a transaction (whose own writes only this connection sees) the
    // cursor reads through a second connection to the same file that steps through them.
    if (m_engine == Engine::SQLite && !m_inTransaction &&
        !m_connectionString.contains(QLatin1String("StepAPI=1"), Qt::CaseInsensitive)) {
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
    auto q = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_name, false));
    q->setForwardOnly(true);
    if (!q->prepare(sql))
        Raise(QStringLiteral("prepare"), sql, statementHandle(*q), q->lastError());
    for (int i = 0; i < params.size(); ++i)
        q->bindValue(i, bindable(params.at(i)));
    if (!q->exec())
        Raise(QStringLiteral("exec"), sql, statementHandle(*q), q->lastError());
    std::unique_ptr<DbCursor> c(new DbCursor(this, sql, std::move(q)));
    m_cursores.append(c.get());
    return c;
}

void Database::BeginTransEscritura(const QString& tabla)
{
    if (m_engine == Engine::SQLite) {
        // As a statement: the driver's own transaction would begin deferred, and a reader
        // that later writes can find another writer has moved on.
        Execute(QStringLiteral("BEGIN IMMEDIATE"));
        m_escrituraExplicita = true;
        m_inTransaction = true;
        return;
    }
    BeginTrans();
    if (m_engine == Engine::PostgreSQL) {
        try {
            Execute(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tabla));
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
    try {
        Execute(QStringLiteral("COMMIT"));
    } catch (...) {
        DeshacerEscrituraSilencioso();
        throw;
    }
    m_escrituraExplicita = false;
    m_inTransaction = false;
}

void Database::DeshacerEscrituraSilencioso() noexcept
{
    if (!m_escrituraExplicita) {
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

// The connection handle Qt's ODBC driver holds.
void* connectionHandle(const QSqlDriver* driver)
{
    const QVariant h = driver ? driver->handle() : QVariant();
    if (!h.isValid() || (qstrcmp(h.typeName(), "SQLHANDLE") != 0 && qstrcmp(h.typeName(), "void*") != 0))
        return nullptr;
    return *static_cast<void* const*>(h.constData());
}

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

DbCursor::DbCursor(Database* owner, QString sql, std::unique_ptr<QSqlQuery> query)
    : m_owner(owner), m_sql(std::move(sql)), m_query(std::move(query))
{
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
        m_owner = nullptr;
    }
}

bool DbCursor::Next()
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
                GuardarTexto(v, dato, qsizetype(indicador), m_utf8);
            }
            break;
        }
        }
    }
    m_leidas = m_tipos.size();
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
    if (m_stmt)
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
