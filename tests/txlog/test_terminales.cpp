// Several terminals on one database: eight copies of a terminal start at one instant on a new
// database and on one that lost its indexes, each logging one transaction; and a connection
// that lives as long as the program outlives its server process.
#include "config/clsConfig.h"
#include "config/clsPrestaciones.h"
#include "platform/Database.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"

#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class TerminalesDb : public DbFixture {
protected:
    bool WithSchema() const override { return false; }

    // Starts eight terminals at one instant, each logging ticket `primero` + its number.
    void ArrancarJuntas(qint64 primero)
    {
        const qint64 instante = QDateTime::currentMSecsSinceEpoch() + 3000;
        std::vector<std::unique_ptr<QProcess>> copias;
        for (int i = 0; i < 8; ++i) {
            copias.push_back(std::make_unique<QProcess>());
            copias.back()->start(QStringLiteral(QUORVAN_ARRANQUE_TERMINAL_EXE),
                                 {QString::number(instante), QString::number(primero + i)});
        }
        for (int i = 0; i < 8; ++i) {
            QProcess& p = *copias[i];
            ASSERT_TRUE(p.waitForFinished(120000)) << "terminal " << i;
            EXPECT_EQ(p.exitCode(), 0) << "terminal " << i << ": " << p.readAllStandardError().toStdString();
        }
    }
    // The indexes the schema script names.
    QStringList Indices() const
    {
        static const QRegularExpression re(QStringLiteral(R"(CREATE\s+(?:UNIQUE\s+)?INDEX\s+(?:IF\s+NOT\s+EXISTS\s+)?(\w+))"));
        QStringList nombres;
        const QString script = Database::SchemaScript(isPostgreSQL() ? Database::Engine::PostgreSQL
                                                                     : Database::Engine::SQLite);
        for (auto it = re.globalMatch(script); it.hasNext();) nombres << it.next().captured(1);
        return nombres;
    }
};

class ConexionCortada : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (!IsSkipped() && !isPostgreSQL()) GTEST_SKIP() << "a server process to cut exists on PostgreSQL only";
    }
    void Logueada(qint64 ticket)
    {
        DatosTerminal::Logueada t;
        t.ticket = ticket;
        DatosTerminal::Transaccion(*Connect(), t);
    }
};

} // namespace

TEST_P(TerminalesDb, OchoArrancanJuntasYCadaUnaRegistraSuTransaccion)
{
    ArrancarJuntas(1001);
    auto cn = Connect();
    const QStringList indices = Indices();
    for (const QString& i : indices) cn->Execute(QStringLiteral("DROP INDEX IF EXISTS %1").arg(i));
    ArrancarJuntas(2001);

    QStringList tickets;
    for (DbResult r = cn->Query(QStringLiteral("SELECT Ticket, COUNT(*) FROM Transaccion GROUP BY Ticket ORDER BY Ticket"));
         !r.EOF_(); r.MoveNext())
        tickets << QStringLiteral("%1x%2").arg(r.value(0).toLongLong()).arg(r.value(1).toInt());
    QStringList esperados;
    for (qint64 primero : {1001, 2001})
        for (int i = 0; i < 8; ++i) esperados << QStringLiteral("%1x1").arg(primero + i);
    EXPECT_EQ(tickets.join(QLatin1Char(' ')).toStdString(), esperados.join(QLatin1Char(' ')).toStdString());
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT COUNT(*) FROM ItemPrestaciones")).value(0).toInt(), 32);
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT COUNT(*) FROM Operaciones")).value(0).toInt(), 21);
    // The lost indexes are back (the unique ones of older header tables are not made where a
    // key exists).
    const QString catalogo = isPostgreSQL()
        ? QStringLiteral("SELECT lower(indexname) FROM pg_indexes WHERE schemaname = current_schema()")
        : QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type = 'index'");
    QStringList presentes;
    for (DbResult r = cn->Query(catalogo); !r.EOF_(); r.MoveNext()) presentes << r.value(0).toString();
    for (const QString& i : indices)
        if (!i.startsWith(QLatin1String("UX_"))) EXPECT_TRUE(presentes.contains(i.toLower())) << i.toStdString();
}

// The configuration's connection, cut while open, serves the next transaction list.
TEST_P(ConexionCortada, LaListaSiguienteFuncionaSinOtraConfiguracion)
{
    clsConfig config;
    Logueada(1);
    config.LoadTransacciones(QString());
    ASSERT_EQ(config.Transacciones()->Count(), 1);
    CortarConexion(ProcesoServidor(*config.Prestaciones()->cnQuorvan));
    Logueada(2);
    config.LoadTransacciones(QString());
    EXPECT_EQ(config.Transacciones()->Count(), 2);
}

// A cut inside a transaction: before COMMIT the whole transaction runs once more; a bare pair
// and a write outside a transaction are reported. Either way the rows are there once or not
// at all, and the next statement works.
TEST_P(ConexionCortada, LasFilasQuedanUnaVezONinguna)
{
    auto cn = Connect();
    const QString insertar = QStringLiteral("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, 'X', 1)");
    int corridas = 0;
    cn->EnTransaccion([&] {
        cn->Execute(insertar, {1});
        if (++corridas == 1) CortarConexion(ProcesoServidor(*cn));
        cn->Execute(insertar, {11});
    });
    EXPECT_EQ(corridas, 2);

    cn->BeginTrans();
    cn->Execute(insertar, {2});
    CortarConexion(ProcesoServidor(*cn));
    try {
        cn->CommitTrans();
        ADD_FAILURE() << "the commit of a lost connection was not reported";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isConnectionLost()) << e.description.toStdString();
    }

    CortarConexion(ProcesoServidor(*cn));
    EXPECT_THROW(cn->Execute(insertar, {3}), DbError);
    cn->Execute(insertar, {4});
    QStringList filas;
    for (DbResult r = cn->Query(QStringLiteral("SELECT Ticket FROM ItemPrestaciones ORDER BY Ticket")); !r.EOF_();
         r.MoveNext())
        filas << r.value(0).toString();
    EXPECT_EQ(filas.join(QLatin1Char(' ')).toStdString(), "1 4 11");
}

INSTANTIATE_TEST_SUITE_P(Engines, TerminalesDb, DbEngines(), DbEngineName);
INSTANTIATE_TEST_SUITE_P(Engines, ConexionCortada, DbEngines(), DbEngineName);
