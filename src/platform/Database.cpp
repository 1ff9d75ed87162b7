// The connection and its statements: opened, prepared once and kept, run, read whole, and the
// transactions begun and ended through the driver.
#include "platform/Database.h"

#include "platform/Codec1252.h"
#include "platform/DatabaseInterno.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace DatabaseInterno {

QAtomicInteger<quint64> g_connectionCounter;

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

} // namespace DatabaseInterno

namespace {
bool EsConsulta(const QString& sql)
{
    return QStringView(sql).trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
}
}

using namespace DatabaseInterno;

// ---------------------------------------------------------------------------------------------
// Database

Database::Database()
    : m_name(QStringLiteral("quorvan-db-%1").arg(++g_connectionCounter)), m_sentencias(std::make_unique<Sentencias>())
{
}

Database::~Database()
{
    Close();
}

void Database::Open()
{
    const QString cs = ProgramConnectionString();
    OpenConnectionString(cs);
    EnsureSchemaOnce(cs);
}

void Database::OpenConnectionString(const QString& connectionString)
{
    Close();
    m_connectionString = connectionString;
    m_fullSync = false;
    m_tablaValores = false; // a temporary table lives as long as its connection
    const QString paraElControlador = ParaElControlador(connectionString);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        db.setDatabaseName(paraElControlador);
        QElapsedTimer apertura;
        apertura.start();
        if (!db.open()) {
            // Failed only after about its whole bound (counted in whole seconds): nothing answered.
            if (apertura.elapsed() >= qMax(1, LimitesSesion().conexionS - 1) * 1000LL)
                m_aperturaVencida = true;
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

void Database::UseFullSync()
{
    m_fullSync = true;
    if (m_engine == Engine::SQLite)
        Execute(QStringLiteral("PRAGMA synchronous=FULL"));
}

void Database::DetectEngine()
{
    // The driver of the connection says which server it reached: a connection string names no
    // engine (a data source name says nothing, a database or a password may be called anything).
    m_engine = Engine::Other;
    const Odbc& odbc = Odbc::get();
    void* dbc = connectionHandle(QSqlDatabase::database(m_name, false).driver());
    char nombre[128] = {0};
    if (!dbc || !odbc.getInfo || !SQL_SUCCEEDED(odbc.getInfo(dbc, SQL_DBMS_NAME, nombre, sizeof nombre, nullptr)))
        return;
    const QString motor = QString::fromLatin1(nombre);
    if (motor.startsWith(QLatin1String("SQLite"), Qt::CaseInsensitive))
        m_engine = Engine::SQLite;
    else if (motor.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
        m_engine = Engine::PostgreSQL;
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
    // psqlODBC asks the server to free each prepared statement as it goes, and on a link gone
    // quietly each request waits out the bound of an unacknowledged send: disconnected first, the
    // driver drops them with the session. The SQLite driver cannot close a file whose statements
    // are still prepared.
    const bool sesionPrimero = m_engine == Engine::PostgreSQL;
    if (!sesionPrimero)
        m_sentencias->Vaciar();
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (m_inTransaction && db.isOpen())
            db.rollback();
        db.close();
    }
    m_sentencias->Vaciar();
    if (QSqlDatabase::contains(m_name))
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
    SinCursoresAbiertos();
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
