#include "engine/modUtils.h"
#include "platform/CadenaConexion.h"
#include "platform/Database.h"
#include "support/DbFixture.h"
#include "support/ErrorDe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Every table of the system with its columns in their defined order (written out from the
// table layouts, not read from the schema files).
const QList<QPair<QString, QStringList>>& ExpectedTables()
{
    static const QList<QPair<QString, QStringList>> t = {
        {"Parametros", {"IdTerminal", "CheckApp", "IdDelimitador", "Imprimir", "Impresora", "Copias", "Largohoja",
                        "Timer", "WorkDir", "DirTX", "DefaultDirTX", "DBConect", "FontName", "FontSize", "DefaultOS",
                        "DefaultActividad", "DireccionTerminal", "TelefonoTerminal", "LatitudTerminal",
                        "LongitudTerminal"}},
        {"Delimitadores", {"IdDelimitador", "Delimitador"}},
        {"Operaciones", {"Identificacion", "Nombre", "Descripcion", "Utiliza"}},
        {"Prestadores", {"IdPrestador", "Nombre", "Cuit", "RequierePrescripcion", "Odontologo", "codigoOSDE",
                         "Predeterminado", "Filial", "Admisor", "Baja", "Licencia", "RequiereMatPrescriptor"}},
        {"Efectores", {"IdEfector", "Nombre", "Cuit", "Matricula", "TipoMatricula", "Baja", "IdEspecialidad"}},
        {"Especialidades", {"IdEspecialidad", "Especialidad"}},
        {"ObrasSociales", {"IdObraSocial", "Nombre", "OnLine", "UtilizarCI", "AUISOA", "Empresa", "Actividad",
                           "FilialOS", "UtilizaCSC"}},
        {"Diagnosticos", {"Codigo", "Diagnostico", "Baja"}},
        {"Prestaciones", {"IdObraSocial", "CodigoPrestacion", "CodigoInterno", "Valor1", "Valor2", "Descripcion",
                          "Observaciones"}},
        {"Medicos", {"ApellidoNombre", "Matricula", "TipoMatricula", "Baja"}},
        {"Transaccion", {"Operacion", "Tarjeta", "TipoLectura", "Prestador", "PrestadorSolicitante", "TicketPadre",
                         "FechaPrestacion", "HoraPrestacion", "TipoMatriculaMPrescriptor",
                         "MatriculaMedicoPrescriptor", "CodigoAutorizacion", "NumeroAutorizacion", "Ticket", "Fecha",
                         "Hora", "PlanAsociado", "TipoAsociado", "MontoAbonar", "Error", "Comentario",
                         "NumeroTrxPrestador", "CodigoEmpresa"}},
        {"ItemPrestaciones", {"Ticket", "CodigoPrestacion", "Cantidad"}},
        {"TOSDE_svl1", {"IdTerminal", "NumeroTransaccion", "AUCUIT", "AUISOA", "AUFILA", "AUASOA", "AUBENA", "AUDIGA",
                        "AUVERA", "AUTRAC", "AUATRC", "AUMANA", "AUWREF", "AUNREF", "AUTMAT", "AUNMAT", "AUCEFE",
                        "AUFECP", "AUDSM1", "AUDSM2", "AUFINA", "NombreMedico", "NombreAfiliado",
                        "FechaTransaccion", "Diferida"}},
        {"TOSDE_svl2", {"NumeroTransaccion", "AUPRE", "AUTIP", "AUARA", "AUCAN", "AUODP", "AUODC", "AURES"}},
        {"TOSDE_svl3", {"NumeroTransaccion", "AUAUTO", "AUWHOO", "AUREST", "AULEYD", "AULEYP", "AUMONT", "AUSYST"}},
        {"TGenerica_svl1", {"IdTerminal", "NumeroTransaccion", "CodigoTransaccion", "CuitPrestador", "Banda",
                            "NombreAfiliado", "NumeroAfiliado", "NumeroAutorizacion", "TipoMatricula",
                            "NumeroMatricula", "FormaIngreso", "NombreMedico", "FechaTransaccion", "IdObraSocial"}},
        {"TGenerica_svl2", {"NumeroTransaccion", "CodigoPrestacion", "CodigoAutorizacion", "Diagnostico"}},
    };
    return t;
}

QStringList Lower(QStringList l)
{
    for (QString& s : l)
        s = s.toLower();
    return l;
}

void ExpectFullSchema(Database& db)
{
    for (const auto& [table, columns] : ExpectedTables()) {
        SCOPED_TRACE(table.toStdString());
        const DbResult r = db.Query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table));
        EXPECT_EQ(Lower(r.Columns()), Lower(columns));
    }
    // Seed rows: the 21 operation codes, all in use; the delimiters with TAB first.
    DbResult op = db.Query("SELECT Identificacion, Nombre, Utiliza FROM Operaciones ORDER BY Identificacion");
    QStringList codes;
    for (; !op.EOF_(); op.MoveNext()) {
        codes << op["Identificacion"].toString();
        EXPECT_EQ(op["Utiliza"].toInt(), 1);
        if (op["Identificacion"].toString() == "02P")
            EXPECT_EQ(op["Nombre"].toString(), QString::fromUtf8("Enviar Protocolo Quirúrgico"));
    }
    QStringList expected = {"01A", "01B", "01C", "02A", "02B", "02L", "02C", "02D", "03A", "04A", "02S",
                            "02E", "02I", "02Q", "02P", "2C",  "2CB", "3A",  "05F", "03F", "31"};
    expected.sort();
    codes.sort();
    EXPECT_EQ(codes, expected);
    DbResult d = db.Query("SELECT * FROM Delimitadores ORDER BY IdDelimitador");
    ASSERT_FALSE(d.EOF_());
    EXPECT_EQ(d["Delimitador"].toString(), "TAB");
    EXPECT_GE(d.RowCount(), 3);
}

class DatabaseEmpty : public DbFixture {
protected:
    bool WithSchema() const override { return false; }
};

class DatabaseTest : public DbFixture {};

} // namespace

// The program's entry point on an empty database creates every table and the seed rows.
TEST_P(DatabaseEmpty, OpenCreatesFullSchemaWithSeedRows)
{
    Database db;
    db.Open();
    ExpectFullSchema(db);
    // Opening again neither fails nor duplicates the seed rows.
    Database again;
    again.OpenConnectionString(connectionString());
    again.EnsureSchema();
    EXPECT_EQ(again.Query("SELECT * FROM Operaciones").RowCount(), 21);
}

// With no QUORVAN_DSN and no data source "Quorvan", the embedded SQLite file below the data
// folder is created with the schema.
TEST(DatabaseDefault, EmbeddedDefaultBelowDataFolder)
{
    QTemporaryDir home(QDir::tempPath() + "/quorvan-home-XXXXXX");
    const QByteArray savedHome = qgetenv("QUORVAN_HOME");
    const QByteArray savedDsn = qgetenv("QUORVAN_DSN");
    const bool hadDsn = qEnvironmentVariableIsSet("QUORVAN_DSN");
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    if (Database::DsnDefined("Quorvan")) {
        qputenv("QUORVAN_HOME", savedHome);
        GTEST_SKIP() << "this machine defines the data source Quorvan";
    }
    const QString cs = Database::ProgramConnectionString();
    EXPECT_TRUE(cs.contains("SQLite", Qt::CaseInsensitive)) << cs.toStdString();
    {
        Database db;
        db.Open();
        EXPECT_EQ(db.engine(), Database::Engine::SQLite);
        ExpectFullSchema(db);
        EXPECT_EQ(db.Query("PRAGMA journal_mode").value(0).toString().toLower(), "wal");
    }
    const QStringList files = QDir(home.path()).entryList(QStringList() << "Quorvan.db", QDir::Files);
    bool found = QFileInfo::exists(home.path() + "/Quorvan.db");
    for (const QString& sub : QDir(home.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        found = found || QFileInfo::exists(home.path() + "/" + sub + "/Quorvan.db");
    EXPECT_TRUE(found);
    QTemporaryDir dsn(QDir::tempPath() + "/quorvan-x.Dsn-XXXXXX"); // Qt's driver would take it for a file data source
    qputenv("QUORVAN_HOME", dsn.path().toUtf8());
    EXPECT_TRUE(ErrorDe([] { Database().Open(); }).contains("la carpeta de datos " + dsn.path() + " contiene \".dsn\""));
    qputenv("QUORVAN_HOME", savedHome);
    if (hadDsn)
        qputenv("QUORVAN_DSN", savedDsn);
}

TEST(DatabaseDefault, QuorvanDsnOverridesConnectionString)
{
    const QByteArray saved = qgetenv("QUORVAN_DSN");
    const bool had = qEnvironmentVariableIsSet("QUORVAN_DSN");
    qputenv("QUORVAN_DSN", "Driver=Nada;Database=/x");
    EXPECT_EQ(Database::ProgramConnectionString(), "Driver=Nada;Database=/x");
    if (had)
        qputenv("QUORVAN_DSN", saved);
    else
        qunsetenv("QUORVAN_DSN");
}

// The connection string from the setting to the driver manager: what the program adds to a
// psqlODBC connection (only what neither the string nor its data source names, libpq's keys
// merged into the pqopt in force), and what Qt's ODBC driver is handed so that the driver manager
// gets that string and not "DSN=DSN=...".
TEST(DatabaseDefault, TheConnectionStringReachesTheDriverManagerAsMeant)
{
    const QHash<QString, QHash<QString, QString>> fuentes = {
        {"Quorvan", {{"driver", "PostgreSQL Unicode"}, {"servername", "db"}}},
        {"ConPqopt", {{"driver", "PostgreSQL Unicode"}, {"pqopt", "keepalives_idle=7 options='-c search_path=s'"}}},
        {"Claves", {{"driver", "/usr/lib/odbc/psqlodbcw.so"}, {"keepalivetime", "20"}, {"pqopt", "connect_timeout=3"}}},
        {"Lite", {{"driver", "SQLite3"}, {"database", "/x.db"}}}},
        controladores = {{"PostgreSQL Unicode", {{"driver", "psqlodbcw.so"}}}, {"SQLite3", {{"driver", "libsqlite3odbc.so"}}}};
    const CadenaConexion::Lector lector = [&](const QString& s, bool driver) { return (driver ? controladores : fuentes).value(s); };
    const QString t = "tcp_user_timeout=30000 connect_timeout=10", pq = "pqopt={" + t + "};";
    const QString ki = "KeepaliveInterval=5;", ka = "KeepaliveTime=10;" + ki;
    const QString pg = "Driver={PostgreSQL Unicode};Server=h;Pwd={a;b}";
    const struct { QString cadena, alGestor, aQt; /* empty: not compared */ } casos[] = {
        {"Quorvan", ka + pq + "DSN=Quorvan", "Quorvan;" + ka + "pqopt={" + t + "}"},
        {"DSN=Quorvan", ka + pq + "DSN=Quorvan", ""},
        {"UID=u;dsn=Quorvan;KeepaliveTime=1", ki + pq + "UID=u;dsn=Quorvan;KeepaliveTime=1", "Quorvan;" + ki + pq + "UID=u;KeepaliveTime=1"},
        // The data source's pqopt is kept inside the one added; its keepalives_idle is not set twice.
        {"DSN=ConPqopt", ki + "pqopt={" + t + " keepalives_idle=7 options='-c search_path=s'};DSN=ConPqopt", ""},
        // The string's pqopt replaces the data source's: the keys go into the string's.
        {"DSN=ConPqopt;D5={keepalives_interval=2}", "KeepaliveTime=10;DSN=ConPqopt;D5={" + t + " keepalives_interval=2}", ""},
        {"DSN=Claves;D1=4;pqopt={tcp_user_timeout=5000}", ki + "DSN=Claves;D1=4;pqopt={connect_timeout=10 tcp_user_timeout=5000}", ""},
        {"DSN=Claves", ki + "pqopt={tcp_user_timeout=30000 connect_timeout=3};DSN=Claves", ""},
        {pg, ka + pq + pg, ka + pq + pg},
        {"DSN=Quorvan;Pwd=a{b;pqopt={sslmode=disable}", ka + "DSN=Quorvan;Pwd=a{b;pqopt={" + t + " sslmode=disable}", ""},
        // Braces only right after "=", "}}" a "}" in them; a last value or pqopt holding "}", or a trailing "\", misleads nothing.
        {"DSN=Quorvan;Description={x}y}", ka + pq + "DSN=Quorvan;Description={x}y}", "Quorvan;" + ka + pq + "Description={x}y}"},
        {"DSN=Quorvan;PQOPT={application_name='a}b'}", ka + "DSN=Quorvan;PQOPT={application_name='a}b'}", ""},
        {"DSN=Quorvan;pqopt={options='-c x=}'};Port=1", ka + "DSN=Quorvan;pqopt={options='-c x=}'};Port=1", ""},
        {"DSN=Quorvan;pqopt=application_name=x\\", ka + "DSN=Quorvan;pqopt={" + t + " application_name=x\\}", ""},
        {"DSN=Quorvan;Pwd= {a;pqopt={b=1}", ka + "DSN=Quorvan;Pwd= {a;pqopt={" + t + " b=1}", ""},
        {"DSN=Quorvan;Pwd={a}};pqopt={b}", ka + pq + "DSN=Quorvan;Pwd={a}};pqopt={b}", ""},
        // Other drivers, and a data source nobody defines, get nothing.
        {"Lite", "DSN=Lite", ""},
        {"Driver={SQLite3};Database=/y.db", "Driver={SQLite3};Database=/y.db", ""},
        {"DSN=Nadie;Database=z", "DSN=Nadie;Database=z", "Nadie;Database=z"},
    };
    for (const auto& [cadena, alGestor, aQt] : casos) {
        SCOPED_TRACE(cadena.toStdString());
        const QString dado = CadenaConexion::Completar(cadena, {10, 5, 30000, 10}, lector);
        EXPECT_EQ(dado.toStdString(), alGestor.toStdString());
        QString rechazo;
        const QString aQtDado = CadenaConexion::ParaQt(dado, &rechazo);
        if (!aQt.isEmpty()) EXPECT_EQ(aQtDado.toStdString(), aQt.toStdString());
        EXPECT_EQ(rechazo, "");
    }
    // On the server: the engine whatever the string holds, and the entries after the program's read as written.
    if (const QString servidor = qEnvironmentVariable("QUORVAN_TEST_PG"); !servidor.isEmpty())
        for (const auto& [fin, nombre] : {std::pair<QString, QString>{";pqopt=application_name=sqlite\\", "sqlite"}, {";Description={x}y}", ""}}) {
            Database db;
            db.OpenConnectionString(servidor + fin);
            EXPECT_EQ(db.engine(), Database::Engine::PostgreSQL) << fin.toStdString();
            EXPECT_EQ(db.Query("SHOW application_name").value(0).toString(), nombre);
        }
    // A file data source cannot pass Qt's driver: refused, saying so, before anything is opened;
    // a data source the driver manager does not know keeps its message.
    const QString dsn = "la cadena de conexión contiene \".dsn\"";
    for (const auto& [cadena, motivo] :
         {std::pair<QString, QString>{"DSN=Quorvan;SaveFile=/tmp/q.DSN", dsn}, {"Driver={SQLite3};Database=/a.dsn/b.db", dsn},
          {"DSN=QuorvanNoDefinido", "[unixODBC][Driver Manager]Data source name not found"}}) {
        const QString error = ErrorDe([&] { Database().OpenConnectionString(cadena); });
        EXPECT_TRUE(error.startsWith("No se pudo abrir la base de datos: " + motivo)) << error.toStdString();
    }
}

// Text reaches the tables exactly as given: apostrophes, backslashes, non-ASCII, empty, null;
// and the 12-digit ticket numbers keep all their digits.
TEST_P(DatabaseTest, BoundParametersRoundTrip)
{
    auto db = Connect();
    const QStringList texts = {"D'Angelo", QString::fromUtf8("Ñandú"), "C:\\Estandar", "C:\\\\doble\\", "", "a;b--c"};
    for (const QString& t : texts)
        db->Execute("INSERT INTO Diagnosticos (Codigo, Diagnostico) VALUES (?, ?)", {t.left(20), t});
    DbResult r = db->Query("SELECT Diagnostico FROM Diagnosticos WHERE Diagnostico = ?", {"D'Angelo"});
    ASSERT_EQ(r.RowCount(), 1);
    for (const QString& t : texts) {
        DbResult one = db->Query("SELECT Codigo, Diagnostico, Baja FROM Diagnosticos WHERE Codigo = ?", {t.left(20)});
        ASSERT_EQ(one.RowCount(), 1) << t.toStdString();
        EXPECT_EQ(one["diagnostico"].toString(), t);
        EXPECT_EQ(one["BAJA"].toInt(), 0); // the default
    }

    const qint64 ticket = 987654321098LL;
    db->Execute("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, ?, ?)",
                {ticket, QVariant(), 2});
    DbResult t = db->Query("SELECT * FROM ItemPrestaciones WHERE Ticket = ?", {ticket});
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t["Ticket"].toLongLong(), ticket);
    EXPECT_TRUE(t["CodigoPrestacion"].isNull());
    EXPECT_EQ(t["Cantidad"].toInt(), 2);
    // Booleans go in as 1/0.
    db->Execute("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES (?, ?, ?, ?)",
                {"X", 5, "MN", true});
    EXPECT_EQ(db->Query("SELECT Baja FROM Medicos").value(0).toInt(), 1);
}

TEST_P(DatabaseTest, TransactionsCommitAndRollBack)
{
    auto db = Connect();
    auto other = Connect();
    db->BeginTrans();
    EXPECT_TRUE(db->InTransaction());
    db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {1, "Uno"});
    db->RollbackTrans();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(other->Query("SELECT * FROM Especialidades").RowCount(), 0);

    db->BeginTrans();
    db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {2, "Dos"});
    db->CommitTrans();
    EXPECT_EQ(other->Query("SELECT * FROM Especialidades").RowCount(), 1);

    // A failing statement inside a transaction, then rollback: nothing of it stays.
    db->BeginTrans();
    db->Execute("DELETE FROM Especialidades");
    EXPECT_THROW(db->Execute("INSERT INTO NoExiste (a) VALUES (1)"), DbError);
    db->RollbackTrans();
    EXPECT_EQ(other->Query("SELECT * FROM Especialidades").RowCount(), 1);

    // The guard: a raise inside rolls back and passes the error on; a clean run commits.
    EXPECT_THROW(db->EnTransaccion([&] {
        db->Execute("DELETE FROM Especialidades");
        throw VbError(5, "x", "y");
    }),
                 VbError);
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(other->Query("SELECT * FROM Especialidades").RowCount(), 1);
    db->EnTransaccion([&] { db->Execute("DELETE FROM Especialidades"); });
    EXPECT_EQ(other->Query("SELECT * FROM Especialidades").RowCount(), 0);
}

// A duplicate key is recognised by its SQLSTATE (or SQLite's constraint code), whatever the
// driver's language; other failures are not mistaken for it.
TEST_P(DatabaseTest, ErrorsCarrySqlState)
{
    auto db = Connect();
    db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {1, "Uno"});
    try {
        db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {1, "Otra"});
        FAIL() << "duplicate accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isUniqueViolation()) << e.sqlState.toStdString() << " " << e.description.toStdString();
        EXPECT_EQ(e.number, DbError::NumeroErrorOdbc);
    }
    try {
        db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {3, QVariant()});
        FAIL() << "null accepted";
    } catch (const DbError& e) {
        EXPECT_FALSE(e.isUniqueViolation()) << e.description.toStdString();
    }
    try {
        db->Query("SELECT * FROM NoExiste");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_FALSE(e.sqlState.isEmpty());
        EXPECT_FALSE(e.isUniqueViolation());
    }
}

// Names sort as a person expects, on both engines, with the statements' plain ORDER BY.
TEST_P(DatabaseTest, NamesSortWithoutRegardToCase)
{
    auto db = Connect();
    int i = 0;
    for (const char* n : {"beta", "Alfa", "gamma", "Delta", "alfil"})
        db->Execute("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit) VALUES (?, ?, ?)", {++i, n, "1"});
    DbResult r = db->Query("SELECT * FROM Prestadores ORDER BY Nombre");
    QStringList names;
    for (; !r.EOF_(); r.MoveNext())
        names << r["Nombre"].toString();
    EXPECT_EQ(names, (QStringList{"Alfa", "alfil", "beta", "Delta", "gamma"}));
    // Equality stays exact on PostgreSQL; SQLite's NOCASE also matches other cases.
    EXPECT_GE(db->Query("SELECT * FROM Prestadores WHERE Nombre = ?", {"Alfa"}).RowCount(), 1);
}

// Efectores.IdEfector is given by the database when an insert does not name it, also after
// the renumbering save wrote explicit ids.
TEST_P(DatabaseTest, EffectorIdAssignedByDatabase)
{
    auto db = Connect();
    db->Execute("INSERT INTO Efectores (IdEfector, Nombre, Cuit) VALUES (?, ?, ?)", {1, "Uno", "1"});
    db->Execute("INSERT INTO Efectores (IdEfector, Nombre, Cuit) VALUES (?, ?, ?)", {2, "Dos", "2"});
    db->Execute("INSERT INTO Efectores (Nombre, Cuit) VALUES (?, ?)", {"Tres", "3"});
    DbResult r = db->Query("SELECT IdEfector, Baja FROM Efectores WHERE Nombre = ?", {"Tres"});
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r["idefector"].toInt(), 3);
    EXPECT_EQ(r["Baja"].toInt(), 0);
}

TEST_P(DatabaseTest, ResultColumnsByNameWithoutCase)
{
    auto db = Connect();
    db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {4, "Cuatro"});
    DbResult r = db->Query("SELECT Especialidades.IdEspecialidad, Especialidad FROM Especialidades");
    EXPECT_EQ(r["IDESPECIALIDAD"].toInt(), 4);
    EXPECT_EQ(r["Especialidades.idEspecialidad"].toInt(), 4);
    EXPECT_EQ(r.value(1).toString(), "Cuatro");
    try {
        (void)r["NoHay"];
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number, 3265);
    }
    r.MoveNext();
    EXPECT_TRUE(r.EOF_());
}

// A result set is read and closed before the next write: another connection can write while
// this one still holds its result.
TEST_P(DatabaseTest, ReadResultDoesNotBlockOtherWriters)
{
    auto a = Connect();
    auto b = Connect();
    for (int i = 1; i <= 3; ++i)
        a->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {i, "E"});
    DbResult held = a->Query("SELECT * FROM Especialidades");
    b->Execute("DELETE FROM Especialidades WHERE IdEspecialidad = ?", {2});
    EXPECT_EQ(held.RowCount(), 3);
    EXPECT_EQ(a->Query("SELECT * FROM Especialidades").RowCount(), 2);
}

// Statements are prepared once per connection: a re-run with other values, a statement
// that failed, and more distinct statements than are kept must all still give the right rows.
TEST_P(DatabaseTest, PreparedStatementsReusedSafely)
{
    auto db = Connect();
    const QString insert = "INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES (?, ?, ?, 0)";
    const QString select = "SELECT ApellidoNombre FROM Medicos WHERE Matricula = ? AND TipoMatricula = ?";
    for (int i = 1; i <= 3; ++i)
        db->Execute(insert, {QString("Medico %1").arg(i), i, "MP"});
    for (int i : {2, 1, 3, 2}) {
        DbResult r = db->Query(select, {i, "MP"});
        ASSERT_EQ(r.RowCount(), 1);
        EXPECT_EQ(r.value(0).toString(), QString("Medico %1").arg(i));
    }
    EXPECT_EQ(db->Query(select, {9, "MP"}).RowCount(), 0);
    // A failing run (NOT NULL) does not spoil the next one of the same text.
    const QString insertOs = "INSERT INTO ObrasSociales (IdObraSocial, Nombre) VALUES (?, ?)";
    EXPECT_THROW(db->Execute(insertOs, {1, QVariant(QMetaType(QMetaType::QString))}), DbError);
    db->Execute(insertOs, {2, "Segunda"});
    EXPECT_EQ(db->Query("SELECT Nombre FROM ObrasSociales WHERE IdObraSocial = 2").value(0).toString(), "Segunda");
    // Far more distinct texts than the connection keeps prepared.
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(db->Query(QString("SELECT Matricula FROM Medicos WHERE Matricula = %1").arg(i % 4)).RowCount(),
                  i % 4 == 0 ? 0 : 1);
    EXPECT_EQ(db->Query(select, {3, "MP"}).value(0).toString(), "Medico 3");
}

// A database made before the lookup indexes existed gets them when it is opened again.
TEST_P(DatabaseTest, LookupIndexesAddedToOlderDatabase)
{
    auto db = Connect();
    db->Execute("DROP INDEX IX_Medicos_Matricula");
    const QString catalogo = isPostgreSQL()
        ? "SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() AND lower(indexname) = 'ix_medicos_matricula'"
        : "SELECT name FROM sqlite_master WHERE type = 'index' AND lower(name) = 'ix_medicos_matricula'";
    EXPECT_EQ(db->Query(catalogo).RowCount(), 0);
    db->EnsureSchema();
    EXPECT_EQ(db->Query(catalogo).RowCount(), 1);
}

// A database that lacks nothing is opened without DDL: no lock on a table another terminal is
// writing (PostgreSQL's CREATE INDEX IF NOT EXISTS waited for every writer of its table).
TEST_P(DatabaseTest, CompleteSchemaWaitsForNoWriter)
{
    auto escritor = Connect();
    escritor->BeginTrans();
    escritor->Execute("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula) VALUES ('Medico', 1, 'MP')");
    auto db = Connect();
    db->Execute(isPostgreSQL() ? "SET lock_timeout = '2s'" : "PRAGMA busy_timeout = 2000");
    EXPECT_NO_THROW(db->EnsureSchema());
    escritor->CommitTrans();
}

TEST_P(DatabaseTest, CursorReadsWhatAQueryReads)
{
    // Every column type of the history, nulls, non-ASCII text and a text longer than the
    // cursor's first read, which comes in pieces.
    auto db = Connect();
    const QString largo = QString::fromUtf8("ñ") + QString(99, QLatin1Char('9'));
    const QList<QVariantList> filas = {
        {largo, 123456789012LL, 2.5, 7, 51, QString::fromUtf8("Señal  ")},
        {QString(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral(""), -1, 0.1, 0, -3, QStringLiteral("")}};
    for (const QVariantList& f : filas)
        db->Execute("INSERT INTO Transaccion (Tarjeta, Ticket, MontoAbonar, CodigoAutorizacion, Error, Comentario) "
                    "VALUES (?, ?, ?, ?, ?, ?)",
                    f);
    const QString sql = "SELECT *, Tarjeta || Tarjeta || Tarjeta AS Larga FROM Transaccion ORDER BY COALESCE(Ticket, 0)";
    const DbResult esperado = db->Query(sql);
    auto cursor = db->OpenCursor(sql);
    ASSERT_EQ(cursor->Columns(), esperado.Columns());
    for (const QVariantList& fila : esperado.Rows()) {
        ASSERT_TRUE(cursor->Next());
        // Read out of order too: a column before the last one read comes from the row kept.
        for (int c : {2, 0, 1}) EXPECT_EQ(cursor->value(c), fila.at(c));
        for (int c = 0; c < fila.size(); ++c) {
            SCOPED_TRACE(esperado.Columns().at(c).toStdString());
            EXPECT_EQ(cursor->value(c).typeId(), fila.at(c).typeId());
            EXPECT_EQ(cursor->value(c), fila.at(c));
        }
    }
    EXPECT_FALSE(cursor->Next());
    EXPECT_EQ(esperado.Rows().at(1).last(), QVariant());
    EXPECT_EQ(esperado.Rows().at(2).last().toString(), largo + largo + largo);

    // Two cursors with values of their own open at once, a "?" inside a quoted text.
    const QString conValores = "SELECT Ticket, '?' AS Signo FROM Transaccion WHERE Ticket = ? OR Comentario = ? "
                               "ORDER BY Ticket";
    auto uno = db->OpenCursor(conValores, {123456789012LL, QVariant()});
    auto otro = db->OpenCursor(conValores, {-1, QString::fromUtf8("Señal  ")});
    QStringList leidas; // turn by turn
    for (auto* c : {otro.get(), uno.get(), otro.get(), uno.get(), otro.get()})
        leidas << (c->Next() ? c->value(0).toString() + c->value(1).toString() : "fin");
    EXPECT_EQ(leidas.join(' ').toStdString(), "-1? 123456789012? 123456789012? fin fin");

    // A value compares, converts and limits as the same value bound, or is refused alike (on
    // PostgreSQL a text column is not compared with an integer at all).
    for (const QString t : {"5", "15", "4", "50"})
        db->Execute("INSERT INTO Transaccion (Ticket, Tarjeta) VALUES (?, ?)", {t.toInt() + 1000, t});
    const auto leer = [](auto&& abrir) {
        QList<QVariantList> filas;
        return ErrorDe([&] { abrir(filas); }).isEmpty() ? filas : QList<QVariantList>{{"error"}};
    };
    const QList<QPair<QString, QVariantList>> casos = {
        {"SELECT Ticket FROM Transaccion WHERE Tarjeta = ? ORDER BY Ticket", {5}},
        {"SELECT Ticket || ? || ? || ? FROM Transaccion ORDER BY Ticket", {"a", 2, 3.5}},
        {"SELECT Ticket FROM Transaccion ORDER BY Ticket LIMIT ?", {QVariant()}},
        {"SELECT Ticket FROM Transaccion ORDER BY Ticket LIMIT ?", {"2"}},
        {"SELECT Ticket, COUNT(*) OVER (ORDER BY Ticket ROWS ? PRECEDING) AS n FROM Transaccion ORDER BY Ticket", {1}},
    };
    for (const auto& [sql, valores] : casos) {
        SCOPED_TRACE(sql.toStdString() + " " + valores.at(0).toString().toStdString());
        QStringList columnas, nombres;
        const auto ligada = leer([&](QList<QVariantList>& f) {
            const DbResult r = db->Query(sql, valores);
            f = r.Rows();
            columnas = r.Columns();
        });
        const auto cursor = leer([&](QList<QVariantList>& f) {
            for (auto c = db->OpenCursor(sql, valores); c->Next(); nombres = c->Columns())
                for (int i = 0; i < c->ColumnCount(); ++i) (i ? f.last() : f.emplace_back()) << c->value(i);
        });
        EXPECT_EQ(cursor, ligada);
        EXPECT_EQ(nombres, columnas);
        EXPECT_FALSE(ligada.isEmpty());
    }

    // A transaction does not begin under an open cursor of a connection that streams: the SQLite
    // driver would end the cursor, which would then read as finished. None of its values is left
    // behind once it is closed, whatever became of a transaction meanwhile.
    Database lector;
    lector.OpenStreaming();
    const QString todas = "SELECT Ticket FROM Transaccion WHERE Ticket <> ?";
    const qint64 cuantas = lector.Query(todas, {-7}).RowCount();
    for (const auto& [nombre, empezar] :
         {std::pair<const char*, std::function<void()>>{"BeginTrans", [&] { lector.BeginTrans(); }},
          {"EnTransaccionDeEscritura", [&] { lector.EnTransaccionDeEscritura("Transaccion", [] {}); }}}) {
        SCOPED_TRACE(nombre);
        auto abierto = lector.OpenCursor(todas, {-7});
        qint64 leidas = abierto->Next();
        EXPECT_EQ(ErrorDe(empezar).isEmpty(), isPostgreSQL());
        while (abierto->Next()) ++leidas;
        EXPECT_EQ(leidas, cuantas);
        abierto.reset();
        if (lector.InTransaction()) lector.RollbackTrans();
        if (!isPostgreSQL()) EXPECT_EQ(lector.Query("SELECT COUNT(*) FROM temp.ValoresCursor").value(0).toInt(), 0);
    }
}

TEST_P(DatabaseTest, CursorReadsManyRowsAsAQueryDoes)
{
    // Enough rows for several fetches, texts that repeat from row to row, nulls, and in the
    // middle a text longer than the buffer its column's declared size gives: on SQLite, which
    // keeps it whole, far longer; on PostgreSQL, characters outside the basic plane, two
    // UTF-16 units each. It is read apart.
    auto db = Connect();
    const QString larga = isPostgreSQL() ? QString::fromUtf8("😀").repeated(60)
                                         : QString::fromUtf8("ñandú ").repeated(60);
    db->EnTransaccion([&] {
        for (int i = 0; i < 300; ++i)
            db->Execute("INSERT INTO Transaccion (Ticket, Tarjeta, Comentario, MontoAbonar, Error) "
                        "VALUES (?, ?, ?, ?, ?)",
                        {i, i == 200 ? larga : QString("T%1").arg(i / 3),
                         i % 5 == 0 ? QVariant() : QVariant(QString::fromUtf8("Señal %1").arg(i % 2)),
                         i % 7 == 0 ? QVariant() : QVariant(i / 4.0), i % 3});
    });
    const QString sql = "SELECT * FROM Transaccion ORDER BY Ticket";
    const DbResult esperado = db->Query(sql);
    ASSERT_EQ(esperado.RowCount(), 300);
    auto cursor = db->OpenCursor(sql);
    for (const QVariantList& fila : esperado.Rows()) {
        ASSERT_TRUE(cursor->Next());
        for (int c = 0; c < fila.size(); ++c) {
            ASSERT_EQ(cursor->value(c).typeId(), fila.at(c).typeId()) << c;
            ASSERT_EQ(cursor->value(c), fila.at(c)) << fila.at(0).toInt() << " " << c;
        }
    }
    EXPECT_FALSE(cursor->Next());
    cursor.reset();

    // Inside a transaction the cursor sees the transaction's own rows.
    db->EnTransaccion([&] {
        db->Execute("DELETE FROM Transaccion WHERE Ticket >= 1");
        auto dentro = db->OpenCursor(sql);
        int filas = 0;
        while (dentro->Next()) ++filas;
        EXPECT_EQ(filas, 1);
    });
}

TEST(DatabaseScript, SplitsStatementsOutsideQuotesAndBodies)
{
    const QString script = "-- comment; here\nCREATE TABLE a (x VARCHAR(3) DEFAULT ';');\n"
                           "CREATE FUNCTION f() RETURNS trigger AS $$\nBEGIN\n  RETURN NEW;\nEND\n$$ LANGUAGE plpgsql;\n"
                           "INSERT INTO a VALUES ('it''s');";
    const QStringList s = Database::SplitStatements(script);
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0], "CREATE TABLE a (x VARCHAR(3) DEFAULT ';')");
    EXPECT_TRUE(s[1].contains("RETURN NEW;"));
    EXPECT_EQ(s[2], "INSERT INTO a VALUES ('it''s')");
}

TEST(ModUtilsDb, NuloATextoYNuloANumero)
{
    const QList<QPair<QVariant, QString>> textos = {
        {QVariant(), ""}, {QVariant(QMetaType(QMetaType::QString)), ""}, {"  abc  ", "abc"}, {12, "12"},
        {2.5, "2.5"}, {"\tx ", "\tx"}};
    for (const auto& [v, esperado] : textos)
        EXPECT_EQ(modUtils::NuloATexto(v), esperado) << v.toString().toStdString();
    const QList<QPair<QVariant, qint32>> numeros = {
        {QVariant(), 0}, {"12abc", 12}, {"abc", 0}, {" 1 2", 12}, {2.5, 2}, {3.5, 4}, {"&H10", 16}, {"-7.5", -8},
        {QVariant(QMetaType(QMetaType::Int)), 0}};
    for (const auto& [v, esperado] : numeros)
        EXPECT_EQ(modUtils::NuloANumero(v), esperado) << v.toString().toStdString();
    try {
        modUtils::NuloANumero("3000000000");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number, VbError::Overflow);
    }
}

TEST(ModUtilsDb, EscaparBarrasYNormalizarCodigo)
{
    struct Caso {
        QString texto, motor, esperado;
    };
    const QList<Caso> barras = {
        {"C:\\Estandar\\tx", "PostgreSQL", "C:\\\\Estandar\\\\tx"},
        {"C:\\Estandar\\tx", "postgresql", "C:\\\\Estandar\\\\tx"},
        {"C:\\Estandar\\tx", "Access", "C:\\Estandar\\tx"},
        {"a\\\\b", "PostgreSQL", "a\\\\\\\\b"},
        {"a\\b", " PostgreSQL", "a\\b"},
        {"", "PostgreSQL", ""},
    };
    for (const Caso& c : barras)
        EXPECT_EQ(modUtils::EscaparBarras(c.texto, c.motor), c.esperado) << c.texto.toStdString();
    const QList<QPair<QString, QString>> codigos = {
        {"00123", "123"}, {" 0123", "0123"}, {"12A", "12A"}, {"", "0"}, {"000", "0"}, {"007", "7"},
        {" 12A ", "12A"}, {"98765432109876543210", "98765432109876543210"},
        {"0000123456789012345678", "123456789012345678"}, {"1.5", "1.5"}};
    for (const auto& [codigo, esperado] : codigos)
        EXPECT_EQ(modUtils::NormalizarCodigo(codigo), esperado) << codigo.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, DatabaseEmpty, DbEngines(), DbEngineName);
INSTANTIATE_TEST_SUITE_P(Engines, DatabaseTest, DbEngines(), DbEngineName);
