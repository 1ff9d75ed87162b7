// The lost connection, the server's word after a lost COMMIT, the limits of a PostgreSQL session
// and the write-locking transaction.
#include "platform/Database.h"

#include "platform/DatabaseInterno.h"
#include "platform/RelojDeArena.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QThread>

using namespace DatabaseInterno;

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
    RelojDeArena reloj; // an opening the server does not answer waits up to its bound
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
    // Within a save, an opening that waited out its bound is not followed by another.
    if (m_reabrir && ((m_guardados > 0 && m_aperturaVencida) || !Reconectar()))
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
// The limits of a PostgreSQL session and of its transactions

namespace {

Database::Limites& limites()
{
    static Database::Limites l;
    return l;
}

} // namespace

Database::Limites Database::LimitesSesion() { return limites(); }

void Database::setLimitesSesion(const Limites& l) { limites() = l; }

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

// ---------------------------------------------------------------------------------------------
// Write-locking transaction, and the server's word on a COMMIT whose answer was lost

void Database::BeginTransEscritura(const QString& tabla)
{
    BeginTransBloqueada(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tabla));
}

void Database::BeginTransBloqueada(const QString& bloqueoPostgres)
{
    SinCursoresAbiertos();
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
    if (m_engine == Engine::PostgreSQL && !bloqueoPostgres.isEmpty()) {
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
    // The connection could not be opened again right after the lost answer: a server that did
    // not answer then is not asked again, so the clerk is told within the bounds of one lost
    // send and one opening.
    if (m_reabrir)
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
                // its idle limit: ended now, the transaction is rolled back. Found and ended in one
                // statement, and only while it still waits inside that transaction: a process
                // number taken over by another session, or a COMMIT that arrived late, is left be.
                Query(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid = ? "
                                     "AND backend_xid::text::bigint = ? % 4294967296 "
                                     "AND state LIKE 'idle in transaction%'"),
                      {m_procesoTxid, m_txid});
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
