#include "config/clsDiagnosticos.h"
#include "config/clsEfector.h"
#include "config/clsMedico.h"
#include "config/clsObraSocial.h"
#include "config/clsPrestacion.h"
#include "config/clsPrestador.h"
#include "platform/Database.h"
#include "support/DbFixture.h"

namespace {

class Tables : public DbFixture {};

int Count(Database& db, const QString& table, const QString& where = QString(), const QVariantList& p = {})
{
    return db.Query("SELECT * FROM " + table + (where.isEmpty() ? QString() : " WHERE " + where), p).RowCount();
}

} // namespace

// Insert, update, delete with and without condition; texts stored exactly as given.
TEST_P(Tables, ObraSocialProcesarAndBuscar)
{
    auto db = Connect();
    clsObraSocial os;
    EXPECT_FALSE(os.Procesar(1, "5", "  D'Angelo Salud  ", true, false, "", " 12", "1", "", true, ""));
    EXPECT_FALSE(os.Procesar(1, "6", QString::fromUtf8("Ñandú"), false, true, "123456", "13", "2", "3", false, ""));
    DbResult r = db->Query("SELECT * FROM ObrasSociales WHERE IdObraSocial = ?", {5});
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r["Nombre"].toString(), "D'Angelo Salud"); // the insert trims the name
    EXPECT_EQ(r["OnLine"].toInt(), 1);
    EXPECT_EQ(r["UtilizarCI"].toInt(), 0);
    EXPECT_EQ(r["AUISOA"].toDouble(), 0);                // empty number writes 0
    EXPECT_EQ(r["Empresa"].toInt(), 12);
    EXPECT_EQ(r["FilialOS"].toInt(), 0);

    clsObraSocial b;
    auto rs = b.Buscar("", 13, 2);
    ASSERT_TRUE(rs);
    ASSERT_FALSE(rs->EOF_());
    EXPECT_EQ(b.Nombre, QString::fromUtf8("Ñandú"));
    EXPECT_EQ(b.IdObraSocial, 6);
    EXPECT_TRUE(b.UtilizaCI);
    EXPECT_EQ(b.AUISOA, 123456);
    EXPECT_EQ(b.FilialOS, 3);
    EXPECT_EQ(b.Actividad, 2);
    EXPECT_FALSE(b.Buscar("", 0, 0)); // no condition: no query, no result
    // A lookup that finds nothing leaves the fields as they were.
    ASSERT_TRUE(b.Buscar("", 99, 1));
    EXPECT_EQ(b.IdObraSocial, 6);

    os.Procesar(3, "6", "Otra ' nombre", false, false, "1", "13", "2", "", false, " IdObraSocial = 6");
    EXPECT_EQ(db->Query("SELECT Nombre, FilialOS FROM ObrasSociales WHERE IdObraSocial = 6")["Nombre"].toString(),
              "Otra ' nombre");
    os.Procesar(2, "", "", false, false, "", "", "", "", false, " IdObraSocial = 5");
    EXPECT_EQ(Count(*db, "ObrasSociales"), 1);
    os.Procesar(2, "", "", false, false, "", "", "", "", false, "");
    EXPECT_EQ(Count(*db, "ObrasSociales"), 0);
}

TEST_P(Tables, PrestadorIdsDuplicatesAndConnection)
{
    auto db = Connect();
    clsPrestador p;
    EXPECT_EQ(p.MaxID(), 1);
    p.Procesar(1, "", "D'Angelo", "20111111112", "True", "0", "1234", "0", "1", "", 0, "LIC00001", "", "");
    p.Procesar(1, "7", "Siete", "20777777772", "0", "2", "0", "-1", "0", "3", false, QVariant(), "", "1");
    EXPECT_EQ(p.MaxID(), 8);
    p.Procesar(1, "0", "Ocho", "20888888882", "False", "0", "0", "False", "0", "0", true, "", "", "0");
    DbResult r = db->Query("SELECT * FROM Prestadores ORDER BY IdPrestador");
    ASSERT_EQ(r.RowCount(), 3);
    EXPECT_EQ(r["IdPrestador"].toInt(), 1);
    EXPECT_EQ(r["Nombre"].toString(), "D'Angelo");
    EXPECT_EQ(r["RequierePrescripcion"].toInt(), 1);
    EXPECT_EQ(r["codigoOSDE"].toDouble(), 1234);
    EXPECT_EQ(r["Admisor"].toInt(), 0);
    r.MoveNext();
    EXPECT_EQ(r["IdPrestador"].toInt(), 7);
    EXPECT_EQ(r["Predeterminado"].toInt(), 1);
    EXPECT_EQ(r["RequiereMatPrescriptor"].toInt(), 1);
    r.MoveNext();
    EXPECT_EQ(r["IdPrestador"].toInt(), 8);
    EXPECT_EQ(r["Baja"].toInt(), 1);

    // An existing provider is ignored silently, also inside the caller's transaction, which
    // goes on and commits.
    auto shared = Connect();
    clsPrestador dup;
    dup.setConeccion(std::shared_ptr<Database>(std::move(shared)));
    auto cn = std::make_shared<Database>();
    cn->OpenConnectionString(connectionString());
    clsPrestador inTx;
    inTx.setConeccion(cn);
    cn->BeginTrans();
    EXPECT_NO_THROW(inTx.Procesar(1, "7", "Repetido", "1", "0", "0", "0", "0", "0", "0", 0, "", "", ""));
    inTx.Procesar(3, "", "Siete bis", "20777777772", "0", "2", "0", "1", "0", "3", 0, "L", " IdPrestador = 7", "");
    cn->CommitTrans();
    EXPECT_EQ(db->Query("SELECT Nombre FROM Prestadores WHERE IdPrestador = 7")["Nombre"].toString(), "Siete bis");

    // Buscar by CUIT; a condition with "where" is used as it stands, one with "WHERE" is wrapped.
    clsPrestador b;
    auto rs = b.Buscar("", "20777777772");
    ASSERT_TRUE(rs);
    EXPECT_EQ(b.idPrestador, 7);
    EXPECT_EQ(b.Admisor, 3);
    EXPECT_EQ(b.Nombre, "Siete bis");
    EXPECT_TRUE(b.Predeterminado);
    EXPECT_FALSE(b.Buscar("", "0"));
    EXPECT_EQ(b.Buscar("where IdPrestador = 8", "")->RowCount(), 1);
    EXPECT_EQ(b.Nombre, "Ocho");
    EXPECT_EQ(b.Buscar("IdPrestador > 1", "")->RowCount(), 2);
    try {
        b.Buscar("WHERE IdPrestador = 8", "");
        FAIL() << "a doubled WHERE must fail";
    } catch (const VbError& e) {
        EXPECT_EQ(e.source, "clsPrestador");
    }
    p.Procesar(2, "", "", "", "0", "", "", "0", "", "", 0, "", " IdPrestador = 8", "");
    EXPECT_EQ(Count(*db, "Prestadores"), 2);
    p.Procesar(2, "", "", "", "0", "", "", "0", "", "", 0, "", "", "");
    EXPECT_EQ(Count(*db, "Prestadores"), 0);
}

TEST_P(Tables, EfectorMedicoDiagnosticos)
{
    auto db = Connect();
    db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (?, ?)", {4, QString::fromUtf8("Clínica")});
    clsEfector e;
    e.Procesar(1, "D'Angelo", "20111", "123", "MN", 0, "", 4);
    e.Procesar(1, "Sin esp", "20222", "456", "MP", "True", "", 0);
    DbResult r = db->Query("SELECT IdEfector, Baja FROM Efectores ORDER BY IdEfector");
    ASSERT_EQ(r.RowCount(), 2);
    EXPECT_EQ(r["IdEfector"].toInt(), 1);
    r.MoveNext();
    EXPECT_EQ(r["IdEfector"].toInt(), 2);
    EXPECT_EQ(r["Baja"].toInt(), 1);
    clsEfector b;
    ASSERT_TRUE(b.Buscar("", "123", "MN"));
    EXPECT_EQ(b.Nombre, "D'Angelo");
    EXPECT_EQ(b.idEspecialidad, 4);
    EXPECT_EQ(b.Especialidad, QString::fromUtf8("Clínica"));
    ASSERT_TRUE(b.Buscar("", "456", "MP"));
    EXPECT_EQ(b.Especialidad, "");
    EXPECT_EQ(b.Baja, 1);
    EXPECT_FALSE(b.Buscar("", "", "MN"));
    e.Procesar(3, "Nuevo", "20333", "789", "MN", false, " Matricula = '456'", 4);
    ASSERT_EQ(b.Buscar("", "789", "MN")->RowCount(), 1);
    EXPECT_EQ(b.Baja, 0);
    e.Procesar(2, "", "", "", "", 0, " Matricula = '789'", 0);
    EXPECT_EQ(Count(*db, "Efectores"), 1);

    clsMedico m;
    m.Procesar(1, "D'Angelo, Ana", "1234", "MN", false);
    m.Procesar(1, QString::fromUtf8("Ñandú, Luis"), "99", "MP", true);
    clsMedico bm;
    ASSERT_TRUE(bm.Buscar("", 1234, "MN"));
    EXPECT_EQ(bm.ApellidoNombre, "D'Angelo, Ana"); // the apostrophe is kept
    EXPECT_EQ(bm.Matricula, "1234");
    EXPECT_FALSE(bm.Buscar("", 0, "MN"));
    m.Condicion = " Matricula = 99";
    m.Procesar(3, "Cambiado", "98", "MP", false);
    ASSERT_EQ(bm.Buscar("", 98, "MP")->RowCount(), 1);
    EXPECT_EQ(bm.Baja, 0);
    m.Condicion = " Matricula = 98";
    m.Procesar(2, "", "", "", false);
    EXPECT_EQ(Count(*db, "Medicos"), 1);
    m.Condicion.clear();
    m.Procesar(2, "", "", "", false);
    EXPECT_EQ(Count(*db, "Medicos"), 0);

    clsDiagnosticos d;
    d.Procesar(1, "A01", "C:\\Estandar", "");
    d.Procesar(1, "B02", "Fiebre d'origen", "");
    QString codigo = " A01 ";
    clsDiagnosticos bd;
    auto rs = bd.Buscar("", codigo);
    ASSERT_TRUE(rs);
    EXPECT_EQ(bd.Diagnostico, "C:\\Estandar");
    EXPECT_EQ((*rs)["Baja"].toInt(), 0);
    QString vacio = "  ";
    EXPECT_FALSE(bd.Buscar("", vacio));
    d.Procesar(3, "B02", "Otro", " Codigo = 'B02'");
    EXPECT_EQ(db->Query("SELECT Diagnostico FROM Diagnosticos WHERE Codigo = 'B02'").value(0).toString(), "Otro");
    d.Procesar(2, "", "", "");
    EXPECT_EQ(Count(*db, "Diagnosticos"), 0);
    try {
        d.Procesar(9, "", "", "");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.source, "clsDiagnostico");
    }
}

TEST_P(Tables, PrestacionAlwaysInsurerZero)
{
    auto db = Connect();
    clsPrestacion p;
    EXPECT_FALSE(p.Procesar(1, "77", "420101", "INT1", "10", "20", "Consulta d'urgencia", "", ""));
    DbResult r = db->Query("SELECT * FROM Prestaciones");
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r["IdObraSocial"].toInt(), 0);
    EXPECT_EQ(r["Valor1"].toString(), "10");
    EXPECT_EQ(r["Observaciones"].toString(), "");
    QString codigo = " 420101 ";
    clsPrestacion b;
    b.Valor1 = "keep";
    ASSERT_TRUE(b.Buscar("", codigo));
    EXPECT_EQ(b.CodigoPrestacion, "420101");
    EXPECT_EQ(b.CodigoInterno, "INT1");
    EXPECT_EQ(b.Descripcion, "Consulta d'urgencia");
    EXPECT_EQ(b.Valor1, "keep");
    p.Procesar(3, "5", "420101", "INT2", "", "", "Otra", "Obs", " CodigoPrestacion = '420101'");
    EXPECT_EQ(db->Query("SELECT CodigoInterno FROM Prestaciones").value(0).toString(), "INT2");
    p.Procesar(2, "", "", "", "", "", "", "", "");
    EXPECT_EQ(Count(*db, "Prestaciones"), 0);
}

// Each logged service line counts once, even when the company has several activities and the
// code stands under several insurers in the catalogue.
TEST_P(Tables, BuscarValoracionCountsEachServiceOnce)
{
    auto db = Connect();
    auto os = [&](int id, const QString& nombre, int empresa, int actividad) {
        db->Execute("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) VALUES (?, ?, ?, ?)",
                    {id, nombre, empresa, actividad});
    };
    os(1, "OSDE", 1, 1);
    os(2, "OSDE", 1, 2); // second activity of the same company
    os(3, "Zeta", 2, 1);
    for (int ios : {0, 1, 3})
        db->Execute("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, Descripcion) VALUES (?, ?, ?)",
                    {ios, "420101", "Consulta"});
    auto trx = [&](qint64 ticket, const QString& plan, int empresa) {
        db->Execute("INSERT INTO Transaccion (Ticket, PlanAsociado, CodigoEmpresa) VALUES (?, ?, ?)",
                    {ticket, plan, empresa});
    };
    auto item = [&](qint64 ticket, const QString& codigo) {
        db->Execute("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, ?, 1)",
                    {ticket, codigo});
    };
    trx(100000000001LL, "210", 1);
    item(100000000001LL, "420101");
    item(100000000001LL, "420101");
    item(100000000001LL, "420351");
    trx(100000000002LL, "310", 1);
    item(100000000002LL, "420101");
    trx(3, "A", 2);
    item(3, "420101");

    clsPrestacion p;
    EXPECT_EQ(p.BuscarValoracion("1"),
              "OBRA SOCIAL, PLAN, C. PRESTACION, CANTIDAD, IMPORTE, TOTAL\r\n"
              "OSDE,210,420101,2, ,=D2*E2\r\n"
              "OSDE,210,420351,1, ,=D3*E3\r\n"
              "OSDE,310,420101,1, ,=D4*E4\r\n");
    EXPECT_EQ(p.BuscarValoracion(""),
              "OBRA SOCIAL, PLAN, C. PRESTACION, CANTIDAD, IMPORTE, TOTAL\r\n"
              "OSDE,210,420101,2, ,=D2*E2\r\n"
              "OSDE,210,420351,1, ,=D3*E3\r\n"
              "OSDE,310,420101,1, ,=D4*E4\r\n"
              "Zeta,A,420101,1, ,=D5*E5\r\n");
    EXPECT_EQ(p.BuscarValoracion("9"), "OBRA SOCIAL, PLAN, C. PRESTACION, CANTIDAD, IMPORTE, TOTAL\r\n");
}

// A lookup's result stays readable after another connection wrote: it was read whole.
TEST_P(Tables, BuscarReadsRowsIntoMemory)
{
    clsDiagnosticos d;
    for (int i = 0; i < 5; ++i)
        d.Procesar(1, QString("C%1").arg(i), "D", "");
    QString sinCodigo;
    auto rs = d.Buscar("Codigo <> ''", sinCodigo);
    ASSERT_TRUE(rs);
    clsDiagnosticos other;
    other.Procesar(2, "", "", ""); // its own connection, while rs is held
    int n = 0;
    for (; !rs->EOF_(); rs->MoveNext())
        ++n;
    EXPECT_EQ(n, 5);
}

INSTANTIATE_TEST_SUITE_P(Engines, Tables, DbEngines(), DbEngineName);

// An unset text is stored as the empty text: the text columns refuse NULL.
TEST_P(Tables, UnsetTextsStoredEmpty)
{
    auto db = Connect();
    const QString nulo;
    clsPrestacion p;
    p.Procesar(1, "0", "420101", nulo, nulo, nulo, nulo, nulo, "");
    p.Procesar(3, nulo, "420101", nulo, nulo, nulo, nulo, nulo, " CodigoPrestacion = '420101'");
    EXPECT_EQ(db->Query("SELECT Valor1 FROM Prestaciones").value(0).toString(), "");
    clsEfector e;
    e.Procesar(1, "LOPEZ", nulo, nulo, nulo, 0, "", 0);
    EXPECT_EQ(db->Query("SELECT Cuit FROM Efectores").value(0).toString(), "");
    clsDiagnosticos d;
    d.Procesar(1, "A09", nulo, "");
    EXPECT_EQ(Count(*db, "Diagnosticos", "Diagnostico = ''"), 1);
    clsPrestador pr;
    pr.Procesar(1, "1", nulo, nulo, "0", "0", "0", "0", "0", "0", 0, "", "", "0");
    EXPECT_EQ(Count(*db, "Prestadores", "Nombre = '' AND Cuit = ''"), 1);
    clsObraSocial os;
    os.Procesar(1, "1", nulo, true, false, "", "1", "1", "", false, "");
    EXPECT_EQ(Count(*db, "ObrasSociales", "Nombre = ''"), 1);
}
