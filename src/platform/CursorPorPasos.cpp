// The connection that steps through its result sets, and the values of its cursors.
#include "platform/Database.h"

#include "platform/CadenaConexion.h"
#include "platform/DatabaseInterno.h"

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
    const QString streaming = CadenaConexion::Poner(connectionString, "StepAPI", QStringLiteral("1"));
    return !CadenaConexion::Valor(streaming, {"UseDeclareFetch"})
               ? CadenaConexion::Anteponer(streaming, {QStringLiteral("UseDeclareFetch=1")})
               : streaming;
}

QString Database::ValoresAparte(const QString& sql, const QVariantList& params, qint64* serie)
{
    *serie = 0;
    if (params.isEmpty() || m_engine != Engine::SQLite || m_inTransaction || !PorPasos())
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
    // A window frame's offset must be a constant the statement holds, which the expression that
    // reads a value is not: such a statement keeps its markers, and is read whole.
    if (sql.contains(QLatin1String("PRECEDING"), Qt::CaseInsensitive) ||
        sql.contains(QLatin1String("FOLLOWING"), Qt::CaseInsensitive))
        return sql;
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
            // "+Valor", not the column: a column has an affinity (and a collation) of its own,
            // and compared with a text column the integer 5 would then not read as "5". The
            // expression has neither, as a bound value has none, so it compares, converts and
            // limits as the bound value would.
            sentencia.replace(marcas.at(k), 1, LecturaDeValor(numero, k));
        }
    } catch (...) {
        OlvidarValores(numero);
        throw;
    }
    *serie = numero;
    return sentencia;
}

QString Database::LecturaDeValor(qint64 serie, qsizetype numero)
{
    // The connection's own table comes first by its name alone; with no dot in it, the driver
    // reads the name of a column made of it as it reads the name with the marker.
    return QStringLiteral("(SELECT +Valor FROM ValoresCursor WHERE Serie=%1 AND Numero=%2)").arg(serie).arg(numero);
}

bool Database::PorPasos() const
{
    return CadenaConexion::Valor(m_connectionString, {"StepAPI"}) == QStringLiteral("1");
}

void Database::SinCursoresAbiertos()
{
    // The SQLite driver ends the cursor it steps through when its connection leaves autocommit
    // (a transaction begun through the driver), and the cursor then reads as finished: an
    // export would take a part of its rows for the whole. A transaction begun as a statement
    // leaves the cursor be, but a cursor closed inside it would drop its values there, and a
    // rollback would bring them back.
    if (m_engine != Engine::SQLite || !PorPasos() || m_cursores.isEmpty()) return;
    throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                  QStringLiteral("No se puede iniciar una transacción mientras se leen filas en la misma conexión "
                                 "(%1)")
                      .arg(m_cursores.constFirst()->m_sql.simplified().left(300)),
                  QStringLiteral("HY010"));
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
