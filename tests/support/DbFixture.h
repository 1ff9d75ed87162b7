#pragma once
#include "platform/Database.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Every database test runs once per engine: SQLite on a temporary file and PostgreSQL on the
// local test server (QUORVAN_TEST_PG, exported by scripts/pg-test-server), each test with a
// database of its own.
//
// Use:
//
//     class ConfigDb : public DbFixture {};
//     TEST_P(ConfigDb, SavesAndLoads) {
//         clsConfig cfg;                      // opens the program's data source: this test's
//         ...                                 // database, through QUORVAN_DSN
//         auto cn = Connect();                // an extra connection to look at the tables
//         EXPECT_EQ(cn->Query("SELECT * FROM Parametros").RowCount(), 1);
//     }
//     INSTANTIATE_TEST_SUITE_P(Engines, ConfigDb, DbEngines(), DbEngineName);
//
// SetUp points QUORVAN_DSN at the fresh database (an empty SQLite file, or an empty PostgreSQL
// schema chosen through the driver's start-up "SET search_path"), sets QUORVAN_HOME to an
// empty temporary folder (registry file, data folder) and creates the full schema with its
// seed rows, unless a test asks for an empty database by overriding WithSchema(). TearDown
// drops the schema and restores both variables.
//
// When the PostgreSQL server cannot be reached, the test fails under CI=true and is skipped
// with a message otherwise; it never passes silently.
enum class DbEngine { SQLite, PostgreSQL };

inline ::testing::internal::ParamGenerator<DbEngine> DbEngines()
{
    return ::testing::Values(DbEngine::SQLite, DbEngine::PostgreSQL);
}
std::string DbEngineName(const ::testing::TestParamInfo<DbEngine>& info);

class DbFixture : public ::testing::TestWithParam<DbEngine> {
protected:
    void SetUp() override;
    void TearDown() override;
    // Whether SetUp creates the schema; an override returning false gets an empty database.
    virtual bool WithSchema() const { return true; }

    DbEngine engine() const { return GetParam(); }
    bool isPostgreSQL() const { return GetParam() == DbEngine::PostgreSQL; }
    // The connection string of this test's database (also in QUORVAN_DSN).
    QString connectionString() const { return m_connectionString; }
    // A new connection to this test's database, opened the way the program opens its own.
    std::unique_ptr<Database> Connect() const;
    // The PostgreSQL server process of a connection, and its end by pg_terminate_backend from a
    // second connection of the test role, as a server restart ends it (the shared test server
    // itself is never restarted). Returns when the process is gone.
    static qint64 ProcesoServidor(Database& db);
    void CortarConexion(qint64 proceso) const;
    // The program's default path to this test's database, as an installer defines it: the data
    // source "Quorvan" in odbc.ini files of `carpeta` (on PostgreSQL the user's, with a pqopt for
    // the schema and keepalives_idle). The environment for a program process started on it
    // (unixODBC reads ODBCSYSINI and ODBCINI once per process), QUORVAN_DSN unset.
    QProcessEnvironment EntornoOrigenDeDatos(const QString& carpeta) const;
    // The folder QUORVAN_HOME points at during the test.
    QString home() const { return m_home ? m_home->path() : QString(); }

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_connectionString;
    QString m_pgSchema;
    QString m_pgBase;
    QByteArray m_savedDsn, m_savedHome;
    bool m_hadDsn = false, m_hadHome = false;
    bool m_ready = false;
};
