#pragma once
#include "platform/DbCursor.h"
#include "platform/DbError.h"
#include "platform/DbResult.h"
#include "platform/RelojDeArena.h"
#include "platform/VbError.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class QSqlQuery;

class QSqlError;

// One connection to the data source "Quorvan" (or QUORVAN_DSN, or the embedded default).
// Every value from a user, a file or the client goes in as a bound parameter ("?").
class Database {
public:
    enum class Engine { SQLite, PostgreSQL, Other };

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the program's data source; raises DbError on failure.
    void Open();
    // Opens an explicit ODBC connection string.
    void OpenConnectionString(const QString& connectionString);
    bool IsOpen() const;
    void Close();

    DbResult Query(const QString& sql, const QVariantList& params = {});
    // Rows affected.
    qint64 Execute(const QString& sql, const QVariantList& params = {});
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_inTransaction; }
    // Runs `trabajo` inside one transaction: begun, committed when it returns, rolled back when
    // anything is raised (a failing rollback does not hide the first error), which is raised again.
    // A connection lost before COMMIT was sent took the transaction with it: `trabajo` runs once
    // more on the new connection. One lost during COMMIT is raised (its outcome is unknown).
    template <class F>
    void EnTransaccion(F&& trabajo)
    {
        RelojDeArena reloj; // a save can wait on a lock, or on a network that went, for its bounds
        Guardado guardado(*this);
        for (bool repetida = false;; repetida = true) {
            try {
                BeginTrans();
                try {
                    trabajo();
                } catch (...) {
                    DeshacerSilencioso();
                    throw;
                }
                CommitTrans();
                return;
            } catch (...) {
                if (repetida || !PerdidaAntesDeConfirmar())
                    throw;
            }
        }
    }

    // One save on this connection. Within it, once an opening of the connection has waited out
    // its bound (a server or a network that does not answer), no other is tried: each would wait
    // as long, and the clerk is told within the bounds of one lost send and one opening. Each
    // EnTransaccion is one; a caller that makes one save of several holds one around them.
    // Outside a save (a list, the configuration's reads) every opening is tried.
    class Guardado {
    public:
        explicit Guardado(Database& db) : m_db(db)
        {
            if (m_db.m_guardados++ == 0)
                m_db.m_aperturaVencida = false;
        }
        ~Guardado() { --m_db.m_guardados; }
        Guardado(const Guardado&) = delete;
        Guardado& operator=(const Guardado&) = delete;

    private:
        Database& m_db;
    };

    Engine engine() const { return m_engine; }
    QString connectionString() const { return m_connectionString; }

    // What a PostgreSQL session of the program works under, all in one place. Every
    // transaction the program begins sets for itself alone how long a statement waits for a
    // lock and how long the session may sit idle inside it before the server ends it: so a
    // desk whose network went leaves no lock behind for long, and a desk that waits gets its
    // answer within the bound. Not for the whole session: a reading connection holds a
    // transaction open while a cursor is, and a slow list must not be ended. Every session
    // sets the server's TCP keepalives, and the driver its own, so either side notices the
    // other has gone; the driver's connection also bounds unacknowledged sends and its opening.
    // After a COMMIT whose answer was lost, a commit still running is asked about every
    // `preguntaIntervaloMs` for up to `preguntaMs`. A desk that starts while another makes the
    // schema (an index built over years of history takes minutes) waits for the schema lock up to
    // `esquemaMs`, asking for it every `esquemaIntervaloMs`; the schema's statements keep the
    // limits above.
    struct Limites {
        int bloqueoMs = 10000;
        int inactivaEnTransaccionMs = 10000;
        int keepaliveInactivaS = 10;
        int keepaliveIntervaloS = 5;
        int keepaliveIntentos = 3;
        // libpq, through psqlODBC's pqopt: a statement or COMMIT whose bytes the server does not
        // acknowledge within `sinAcuseMs` (tcp_user_timeout) ends as a lost connection, and an
        // opening that gets no answer within `conexionS` (connect_timeout) fails. Neither ends a
        // slow list, an export or a lock wait: the server acknowledges what it was sent.
        int sinAcuseMs = 30000;
        int conexionS = 10;
        int preguntaMs = 10000;
        int preguntaIntervaloMs = 100;
        int esquemaMs = 10 * 60 * 1000;
        int esquemaIntervaloMs = 250;
    };
    static Limites LimitesSesion();
    // Tests: other limits, for the sessions opened and the transactions begun from now on.
    static void setLimitesSesion(const Limites& limites);

    // Whether the last transaction failed because the connection went while its COMMIT was on
    // its way: the server may have stored it or not.
    bool ConfirmacionPerdida() const { return m_perdida == Perdida::AlConfirmar; }
    // What became of that transaction, by the server's word: asked on the new connection
    // (PostgreSQL only; SQLite commits in the process, and only a look at the data can tell).
    // A session left waiting inside the transaction (a COMMIT the network dropped) is ended,
    // so the answer is final; a commit still running is asked about again until it ends or
    // the limit passes. Meanwhile the pointer shows the wait and no user input is taken.
    enum class Confirmacion { Hecha, Deshecha, SinComprobar };
    Confirmacion PreguntarConfirmacion();
    // Tests: runs on this connection once the server has answered a COMMIT with success; true
    // makes that answer count as never received (the hook may cut the connection itself), so
    // the caller gets the lost-commit failure while the server holds the transaction.
    void setTrasConfirmar(std::function<bool(Database&)> gancho) { m_trasConfirmar = std::move(gancho); }

    // The connection string the program uses: QUORVAN_DSN, else "DSN=Quorvan" when unixODBC
    // defines it, else the embedded SQLite file below the data folder, which QUORVAN_EMBEBIDA
    // (the demo) makes the only one (DbError when a link or anything but a file stands at one
    // of its files, or when the data folder's path holds ".dsn").
    static QString ProgramConnectionString();
    // The files the embedded default opens in place (the database and its journal files), or
    // none when a data source is named; see ArchivosPropios::Rechazo.
    static QStringList ArchivosEmbebidos();
    // The embedded default: the SQLite 3 ODBC driver on the given file, WAL and a busy timeout.
    static QString SQLiteConnectionString(const QString& file);
    // Whether unixODBC defines the data source name (system or user).
    static bool DsnDefined(const QString& dsn);
    // Creates the tables and seed rows that are missing.
    void EnsureSchema();
    // The schema script of an engine, as shipped inside the program.
    static QString SchemaScript(Engine engine);
    // Splits a script into statements (";" ends one, outside quotes and $$ bodies); comment
    // lines are dropped.
    static QStringList SplitStatements(const QString& script);
    // The transaction log's connections: every commit reaches the disk (SQLite synchronous
    // FULL); reference data keeps NORMAL.
    void UseFullSync();

    // Opens the program's data source like Open, asking the embedded SQLite driver to step
    // through result sets instead of reading them whole, so a cursor streams its rows.
    void OpenStreaming();
    // A forward-only cursor over the rows of a query, read one at a time, on a statement of
    // its own (the prepared statements of Query and Execute stay as they were). It must be
    // closed or destroyed before the connection closes; other statements may run on the
    // connection while it is open, but on SQLite they stay out of the tables it reads, and on a
    // connection opened with OpenStreaming no transaction begins meanwhile (DbError). On a
    // SQLite connection that reads results whole, a cursor opened outside a transaction reads
    // through a second connection to the same file that steps through the rows (so it sees
    // what is committed). That connection maps the file into memory, the fastest way through
    // it; with `porPaginas` the cursor reads through one that reads the file page by page into
    // a small cache instead, for a read that scans a whole long table, whose mapped pages would
    // all stay resident (a history of hundreds of thousands of rows).
    std::unique_ptr<class DbCursor> OpenCursor(const QString& sql, const QVariantList& params = {},
                                               bool porPaginas = false);
    // Runs `trabajo` in a transaction that holds the right to write `tabla` from its first
    // statement (SQLite: BEGIN IMMEDIATE; PostgreSQL: an exclusive lock on the table, which
    // still lets readers through), so a read-then-insert (a number taken as the largest plus
    // one) cannot interleave with another connection's. A busy conflict (SQLite busy, deadlock,
    // serialization failure; not a lock time-out) rolls back and starts over, up to `intentos` times in
    // all, waiting a little longer each time; then it is raised. A connection lost before
    // COMMIT runs it once more, as in EnTransaccion. Any other failure rolls back and is
    // raised at once. `trabajo` may therefore run more than once.
    template <class F>
    void EnTransaccionDeEscritura(const QString& tabla, F&& trabajo, int intentos = 8)
    {
        RelojDeArena reloj;
        Guardado guardado(*this);
        bool repetida = false;
        for (int intento = 1;; ++intento) {
            try {
                BeginTransEscritura(tabla);
                try {
                    trabajo();
                } catch (...) {
                    DeshacerEscrituraSilencioso();
                    throw;
                }
                CommitTransEscritura();
                return;
            } catch (const DbError& e) {
                if (!repetida && PerdidaAntesDeConfirmar()) {
                    repetida = true;
                    continue;
                }
                if (!e.isBusyConflict() || intento >= intentos)
                    throw;
            } catch (...) {
                if (repetida || !PerdidaAntesDeConfirmar())
                    throw;
                repetida = true;
                continue;
            }
            EsperarReintento(intento);
        }
    }

private:
    // A lost connection (see "Lost connection" in DatabasePerdida.cpp): the connection is closed and
    // opened again on the same string with the same settings; what was in flight is reported
    // or, where nothing can have reached the server, run again once.
    enum class Perdida { Ninguna, AntesDeConfirmar, AlConfirmar };
    // True when `e` lost the connection and a new one is open. Marks a transaction in flight
    // as lost and cuts the open cursors.
    bool TrasPerdida(const DbError& e);
    // Closes the dead connection and opens it again, once; false when that failed (the next
    // call tries again).
    bool Reconectar();
    // Before each statement: the statements of a lost transaction fail until it is ended; a
    // connection that could not be opened again is tried again.
    void AntesDeSentencia(const QString& sql);
    // Whether the driver says the connection is dead, or it cannot run SELECT 1.
    bool ConexionMuerta();
    // Whether the driver says so (SQL_ATTR_CONNECTION_DEAD).
    bool MuertaSegunDriver() const;
    [[noreturn]] void RaisePerdida(const QString& texto, const QString& estado = QStringLiteral("08S01"));
    bool PerdidaAntesDeConfirmar() const { return m_perdida == Perdida::AntesDeConfirmar; }
    // The answer of a COMMIT that the server applied, taken as lost when the test hook says so.
    bool RespuestaConfirmacionPerdida();
    [[noreturn]] void RaiseConfirmacionPerdida(const QString& texto);
    DbResult Consultar(const QString& sql, const QVariantList& params);
    // `serie`: as ValoresAparte sets it.
    std::unique_ptr<QSqlQuery> EjecutarCursor(const QString& sql, const QVariantList& params, qint64* serie);
    // The SQLite driver steps through the rows only of a statement without parameter markers,
    // outside a transaction of its own, one at a time per connection: given a marker, however
    // its value is bound, it reads the whole result at execute. On a connection that steps,
    // outside a transaction, the values therefore go (still bound) into a table of the
    // connection's own, numbered `serie`, and the statement returned reads each from there,
    // through an expression that reads as the bound value would. Otherwise `sql` as it is, and
    // `serie` 0.
    QString ValoresAparte(const QString& sql, const QVariantList& params, qint64* serie);
    // What reads value `numero` of the values numbered `serie` in place of its marker.
    static QString LecturaDeValor(qint64 serie, qsizetype numero);
    // Whether the connection asks the SQLite driver to step through result sets.
    bool PorPasos() const;
    // Raises DbError where a transaction may not begin: on a SQLite connection that steps,
    // while a cursor of its own is open (see CursorPorPasos.cpp).
    void SinCursoresAbiertos();
    // Drops the values of a cursor that is closed.
    void OlvidarValores(qint64 serie) noexcept;
    qint64 m_seriesValores = 0;
    bool m_tablaValores = false; // ValoresCursor made on this connection
    bool m_fullSync = false;
    bool m_reabrir = false;            // lost, and not open again yet
    bool m_transaccionPerdida = false; // lost inside a transaction not yet ended by its caller
    bool m_confirmando = false;        // a COMMIT is on its way
    bool m_reconectando = false;
    bool m_aperturaVencida = false; // an opening waited out its bound (see Guardado)
    int m_guardados = 0;
    Perdida m_perdida = Perdida::Ninguna;
    std::function<bool(Database&)> m_trasConfirmar;
    // PostgreSQL: the session's server process, and the id and process of the transaction
    // begun last, to ask about it after its COMMIT's answer was lost.
    void PrepararSesion();
    void LimitarTransaccion();
    qint64 m_proceso = 0;
    qint64 m_txid = 0;
    qint64 m_procesoTxid = 0;

    void BeginTransEscritura(const QString& tabla);
    // The schema's transaction: SQLite BEGIN IMMEDIATE, a PostgreSQL advisory lock of the
    // schema, so terminals starting together make it one at a time. On PostgreSQL the lock is
    // waited for up to Limites::esquemaMs with the wait pointer, then refused with a message.
    void BeginTransEsquema();
    // Both begin with the right to write: SQLite BEGIN IMMEDIATE, on PostgreSQL the given lock
    // (none when it is empty).
    void BeginTransBloqueada(const QString& bloqueoPostgres);
    void CommitTransEscritura();
    void DeshacerEscrituraSilencioso() noexcept;
    static void EsperarReintento(int intento);
    void EnsureSchemaOnce(const QString& connectionString);
    bool m_escrituraExplicita = false; // BEGIN IMMEDIATE issued as a statement (SQLite)
    // The connection string with the SQLite driver's stepping through result sets asked for.
    static QString ConPasos(const QString& connectionString);
    // The second, stepping connection cursors of a SQLite connection read through.
    std::unique_ptr<Database> m_lector;
    std::unique_ptr<Database> m_lectorPorPaginas; // the same without the map and its large cache
    friend class DbCursor;
    QList<DbCursor*> m_cursores; // open cursors, closed before the connection

private:
    void DeshacerSilencioso() noexcept;
    [[noreturn]] void Raise(const QString& what, const QString& sql, void* stmtHandle, const QSqlError& qtError);
    void DetectEngine();
    // Binds and executes one statement, prepared once per connection and kept for the next
    // call with the same text; raises DbError on failure. The query stays owned by the cache.
    QSqlQuery& Run(const QString& sql, const QVariantList& params);
    QString m_name; // Qt connection name
    QString m_connectionString;
    Engine m_engine = Engine::Other;
    bool m_inTransaction = false;
    struct Sentencias;
    std::unique_ptr<Sentencias> m_sentencias;
};
