#include "support/DbFixture.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QThread>

std::string DbEngineName(const ::testing::TestParamInfo<DbEngine>& info)
{
    return info.param == DbEngine::PostgreSQL ? "PostgreSQL" : "SQLite";
}

namespace {
QAtomicInteger<int> g_schemaCounter;

bool inCi()
{
    const QByteArray ci = qgetenv("CI").toLower();
    return ci == "true" || ci == "1";
}
}

void DbFixture::SetUp()
{
    m_hadDsn = qEnvironmentVariableIsSet("QUORVAN_DSN");
    m_savedDsn = qgetenv("QUORVAN_DSN");
    m_hadHome = qEnvironmentVariableIsSet("QUORVAN_HOME");
    m_savedHome = qgetenv("QUORVAN_HOME");

    m_home = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/quorvan-dbtest-XXXXXX");
    ASSERT_TRUE(m_home->isValid());
    qputenv("QUORVAN_HOME", m_home->path().toUtf8());

    if (engine() == DbEngine::SQLite) {
        QDir().mkpath(m_home->path() + "/db");
        m_connectionString = Database::SQLiteConnectionString(m_home->path() + "/db/test.db");
    } else {
        m_pgBase = qEnvironmentVariable("QUORVAN_TEST_PG");
        if (m_pgBase.trimmed().isEmpty()) {
            if (inCi())
                FAIL() << "QUORVAN_TEST_PG is not set: scripts/pg-test-server must run before the tests in CI";
            GTEST_SKIP() << "PostgreSQL run skipped: QUORVAN_TEST_PG is not set (source scripts/pg-test-server)";
        }
        m_pgSchema = QStringLiteral("qt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_schemaCounter);
        try {
            Database admin;
            admin.OpenConnectionString(m_pgBase);
            admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_pgSchema));
            admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(m_pgSchema));
        } catch (const VbError& e) {
            m_pgSchema.clear();
            if (inCi())
                FAIL() << "PostgreSQL test server unreachable: " << e.description.toStdString();
            GTEST_SKIP() << "PostgreSQL test server unreachable: " << e.description.toStdString();
        }
        m_connectionString = m_pgBase + QStringLiteral(";ConnSettings={SET search_path TO %1}").arg(m_pgSchema);
    }
    qputenv("QUORVAN_DSN", m_connectionString.toUtf8());
    if (WithSchema()) {
        try {
            Database db;
            db.OpenConnectionString(m_connectionString);
            db.EnsureSchema();
        } catch (const VbError& e) {
            FAIL() << "schema not created: " << e.description.toStdString();
        }
    }
    m_ready = true;
}

void DbFixture::TearDown()
{
    if (!m_pgSchema.isEmpty()) {
        try {
            Database admin;
            admin.OpenConnectionString(m_pgBase);
            admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_pgSchema));
        } catch (const VbError&) {
        }
    }
    if (m_hadDsn)
        qputenv("QUORVAN_DSN", m_savedDsn);
    else
        qunsetenv("QUORVAN_DSN");
    if (m_hadHome)
        qputenv("QUORVAN_HOME", m_savedHome);
    else
        qunsetenv("QUORVAN_HOME");
    m_home.reset();
}

std::unique_ptr<Database> DbFixture::Connect() const
{
    auto db = std::make_unique<Database>();
    db->OpenConnectionString(m_connectionString);
    return db;
}

qint64 DbFixture::ProcesoServidor(Database& db)
{
    return db.Query(QStringLiteral("SELECT pg_backend_pid()")).value(0).toLongLong();
}

void DbFixture::CortarConexion(qint64 proceso) const
{
    auto cn = Connect();
    cn->Query(QStringLiteral("SELECT pg_terminate_backend(?)"), {proceso});
    for (int i = 0; i < 500; ++i) {
        if (cn->Query(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ?"), {proceso})
                .value(0)
                .toInt() == 0)
            return;
        QThread::msleep(10);
    }
    ADD_FAILURE() << "the server process " << proceso << " did not end";
}
