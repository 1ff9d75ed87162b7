#include "support/DbFixture.h"

#include "platform/CadenaConexion.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

QProcessEnvironment DbFixture::EntornoOrigenDeDatos(const QString& carpeta) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QUORVAN_DSN"));
    EXPECT_TRUE(QDir().mkpath(carpeta));
    // The keys of this test's connection string, as odbc.ini names them for each driver.
    QString fuente = QStringLiteral("[Quorvan]\n");
    for (const CadenaConexion::Entrada& e : CadenaConexion::Partir(m_connectionString)) {
        const QString clave = e.clave.toLower();
        if (clave == QLatin1String("connsettings")) continue; // the schema goes in pqopt below
        const QString nombre = clave == QLatin1String("server") ? QStringLiteral("Servername")
                             : clave == QLatin1String("uid")    ? QStringLiteral("Username")
                             : clave == QLatin1String("pwd")    ? QStringLiteral("Password")
                                                                : e.clave;
        fuente += nombre + QStringLiteral(" = ") + CadenaConexion::SinLlaves(e.valor) + QLatin1Char('\n');
    }
    if (isPostgreSQL())
        fuente += QStringLiteral("pqopt = options='-csearch_path=%1' keepalives_idle=10\n").arg(m_pgSchema);
    const QString sistema = qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc"));
    QFile::remove(carpeta + "/odbcinst.ini");
    EXPECT_TRUE(QFile::copy(sistema + "/odbcinst.ini", carpeta + "/odbcinst.ini"));
    for (const auto& [archivo, texto] : {std::pair{QStringLiteral("/odbc.ini"), isPostgreSQL() ? QString() : fuente},
                                         std::pair{QStringLiteral("/usuario.ini"), isPostgreSQL() ? fuente : QString()}}) {
        QFile f(carpeta + archivo);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(texto.toUtf8());
    }
    env.insert(QStringLiteral("ODBCSYSINI"), carpeta);
    env.insert(QStringLiteral("ODBCINI"), carpeta + "/usuario.ini");
    return env;
}
