#include "config/Coleccion.h"
#include "config/GeneralConfiguracion.h"
#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

// The table refresh against the simulated client, on both engines: the request that goes
// out, and what the answer leaves in the tables.
class ActualizarTablasDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        General::DirectorioTrabajo = wf.path();
        General::Licencias = QStringList{QString()};
        General::LicenciaSeleccionada.clear();
        General::TransaccionActual.reset();
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setObrasSociales(std::make_shared<Coleccion<clsObraSocial>>());
        db = Connect();
    }
    void TearDown() override
    {
        sim.detener();
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        db.reset();
        DbFixture::TearDown();
    }

    // Doctors, effectors, providers, services and diagnoses, each with or without its whole list.
    bool Actualizar(bool completo = false)
    {
        return General::ActualizarTablas(true, true, true, completo, completo, completo, false, false, true, completo,
                                         true, completo, QString());
    }
    void Responder(const QMap<QString, QByteArray>& archivos)
    {
        DruvexSim::Guion g;
        g.archivos = archivos;
        sim.encolarGuion(g);
    }
    QByteArray UltimoPedido(const QString& archivo) const
    {
        const auto tomas = sim.tomas();
        return tomas.isEmpty() ? QByteArray() : tomas.last().upload.value(archivo);
    }
    int Filas(const QString& tabla) const { return db->Query("SELECT * FROM " + tabla).RowCount(); }
    QString Valor(const QString& sql, const QVariantList& p = {}) const
    {
        DbResult r = db->Query(sql, p);
        return r.EOF_() ? QStringLiteral("<ninguna>") : r.value(0).toString();
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    DruvexSim sim{wf.path()};
    std::unique_ptr<Database> db;
};

QMap<QString, QByteArray> Respuesta(const QString& sufijo, bool baja)
{
    QMap<QString, QByteArray> a;
    a.insert("_sal.2", DruvexSim::LineaMedico(123, "MP", "PEREZ JUAN" + sufijo, baja) +
                           DruvexSim::LineaMedico(4567, "MN", "GOMEZ ANA" + sufijo, false));
    a.insert("_sal.7", DruvexSim::LineaEfector("LOPEZ MARIA" + sufijo, "27123456784", "MP", "000123", baja));
    a.insert("_sal.6", DruvexSim::LineaPrestador("CLINICA DEL SOL" + sufijo, "30700000049", true, "1", "000012345",
                                                 true, "60", "1", false, "00001234", "1"));
    a.insert("_sal.5", DruvexSim::LineaPrestacion("420101", "CONSULTA MEDICA" + sufijo) +
                           DruvexSim::LineaPrestacion("420102", "CONSULTA EN DOMICILIO" + sufijo));
    a.insert("_sal.4", DruvexSim::LineaDiagnostico("A09", "DIARREA Y GASTROENTERITIS" + sufijo, "1"));
    return a;
}

} // namespace

// Every list applied; the same answer with changes updates the rows and adds none.
TEST_P(ActualizarTablasDb, FullRefreshAppliedThenUpdatedWithoutDuplicates)
{
    sim.iniciar();
    Responder(Respuesta("", false));
    ASSERT_TRUE(Actualizar());
    EXPECT_EQ(General::TransaccionActual, nullptr);
    // The request: one "1" per table asked, the fallback company and activity, no account.
    const QByteArray sal0 = UltimoPedido("_sal.0");
    ASSERT_EQ(sal0.size(), 116);
    EXPECT_EQ(sal0.mid(35, 5), "01011") << "planes, doctors, medicines, diagnoses, services";
    EXPECT_EQ(sal0.mid(95, 2), "11") << "providers, effectors";
    EXPECT_EQ(UltimoPedido("_svl.0"), "V2501101");

    EXPECT_EQ(Filas("Medicos"), 2);
    EXPECT_EQ(Valor("SELECT ApellidoNombre FROM Medicos WHERE Matricula = 123"), "PEREZ JUAN");
    EXPECT_EQ(Filas("Efectores"), 1);
    EXPECT_EQ(Filas("Prestadores"), 1);
    EXPECT_EQ(Valor("SELECT Licencia FROM Prestadores"), "00001234");
    EXPECT_EQ(Filas("Prestaciones"), 2);
    EXPECT_EQ(Filas("Diagnosticos"), 1);

    Responder(Respuesta(" II", true));
    ASSERT_TRUE(Actualizar());
    EXPECT_EQ(Filas("Medicos"), 2);
    EXPECT_EQ(Valor("SELECT ApellidoNombre FROM Medicos WHERE Matricula = 123"), "PEREZ JUAN II");
    EXPECT_EQ(Valor("SELECT Baja FROM Medicos WHERE Matricula = 123"), "1");
    EXPECT_EQ(Filas("Efectores"), 1);
    EXPECT_EQ(Valor("SELECT Nombre FROM Efectores"), "LOPEZ MARIA II");
    EXPECT_EQ(Filas("Prestadores"), 1);
    EXPECT_EQ(Valor("SELECT Nombre FROM Prestadores"), "CLINICA DEL SOL II");
    EXPECT_EQ(Filas("Prestaciones"), 2);
    EXPECT_EQ(Valor("SELECT Descripcion FROM Prestaciones WHERE CodigoPrestacion = '420101'"), "CONSULTA MEDICA II");
    EXPECT_EQ(Filas("Diagnosticos"), 1);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(" | ").toStdString();
}

// Whole lists: "2" in the request, and rows the answer no longer lists are gone.
TEST_P(ActualizarTablasDb, WholeListsReplaceTheTables)
{
    db->Execute("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES ('VIEJO', 999, 'MP', 0)");
    db->Execute("INSERT INTO Diagnosticos (Codigo, Diagnostico) VALUES ('Z99', 'VIEJO')");
    sim.iniciar();
    Responder(Respuesta("", false));
    ASSERT_TRUE(Actualizar(true));
    const QByteArray sal0 = UltimoPedido("_sal.0");
    EXPECT_EQ(sal0.mid(35, 5), "02022");
    EXPECT_EQ(sal0.mid(95, 2), "22");
    EXPECT_EQ(Filas("Medicos"), 2);
    EXPECT_EQ(Valor("SELECT ApellidoNombre FROM Medicos WHERE Matricula = 999"), "<ninguna>");
    EXPECT_EQ(Valor("SELECT Diagnostico FROM Diagnosticos WHERE Codigo = 'Z99'"), "<ninguna>");
}

// Which characters the flags give, and when no request goes at all.
TEST_P(ActualizarTablasDb, FlagsChooseTheRequest)
{
    sim.iniciar();
    EXPECT_FALSE(General::ActualizarTablas(false, false, false, false, false, false, false, false, false, false, false,
                                           false, QString()));
    // A whole-list flag alone asks for nothing.
    EXPECT_FALSE(General::ActualizarTablas(false, false, false, false, false, false, false, false, false, true, false,
                                           false, QString()));
    EXPECT_TRUE(sim.tomas().isEmpty());

    Responder({});
    EXPECT_TRUE(General::ActualizarTablas(false, false, false, false, false, false, false, false, true, true, false,
                                          false, QString()));
    const QByteArray sal0 = UltimoPedido("_sal.0");
    EXPECT_EQ(sal0.mid(35, 5), "00002");
    EXPECT_EQ(sal0.mid(95, 2), "00");
    // Empty answers leave the tables as they were, whole-list flag or not.
    EXPECT_EQ(Filas("Prestaciones"), 0);
}

// The insurer pass alone reads the account file and sends nothing.
TEST_P(ActualizarTablasDb, InsurersOnlyFromTheAccountFile)
{
    ASSERT_TRUE(DruvexSim::EscribirArchivoTrabajo(
        wf.path(), "_druvex.emp",
        DruvexSim::RegistroEmp("00001234", "05", "SALUD TOTAL", "01", "AMBULATORIO")));
    sim.iniciar();
    EXPECT_TRUE(General::ActualizarTablas(false, false, false, false, false, false, true, true, false, false, false,
                                          false, QString()));
    EXPECT_TRUE(sim.tomas().isEmpty());
    EXPECT_EQ(Valor("SELECT Nombre FROM ObrasSociales WHERE Empresa = 5"), "SALUD TOTAL");
}

// The default insurer's company and activity go in the control record, with the account chosen.
TEST_P(ActualizarTablasDb, DefaultInsurerAndChosenAccountInTheControlRecord)
{
    auto lista = General::gConfig->ObrasSociales();
    for (const auto& [nombre, empresa, actividad] :
         {std::tuple{"PRIMERA", 3, 1}, std::tuple{"SALUD TOTAL", 5, 1}, std::tuple{"SALUD TOTAL", 5, 2}}) {
        auto os = std::make_shared<clsObraSocial>();
        os->Nombre = nombre;
        os->Empresa = empresa;
        os->Actividad = actividad;
        lista->Add(os);
    }
    General::gConfig->setDefaultOS("SALUD TOTAL");
    General::gConfig->setDefaultActividad("2");
    General::Licencias = QStringList{"00001234", "00005678"};
    General::LicenciaSeleccionada = "00005678";
    sim.iniciar();
    Responder({});
    EXPECT_TRUE(Actualizar());
    EXPECT_EQ(UltimoPedido("_svl.0"), "V250050200005678");

    // Without a default, the first insurer of the list becomes it (in memory).
    General::gConfig->setDefaultOS("");
    Responder({});
    EXPECT_TRUE(Actualizar());
    EXPECT_EQ(General::gConfig->DefaultOS(), "PRIMERA");
    EXPECT_EQ(UltimoPedido("_svl.0"), "V250030100005678");
}

// Several accounts and none chosen: the message, and nothing goes out.
TEST_P(ActualizarTablasDb, SeveralAccountsNoneChosen)
{
    General::Licencias = QStringList{"00001234", "00005678"};
    sim.iniciar();
    EXPECT_FALSE(Actualizar());
    EXPECT_TRUE(sim.tomas().isEmpty());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(), "Debe seleccionar una única licencia para realizar transacciones");
    // One account in the list and none chosen: the request goes without account.
    General::Licencias = QStringList{"00001234"};
    Responder({});
    EXPECT_TRUE(Actualizar());
    EXPECT_EQ(UltimoPedido("_svl.0"), "V2501101");
}

// A client that never takes the request: the failure message, and the tables stay.
TEST_P(ActualizarTablasDb, ClientNeverAnswers)
{
    db->Execute("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES ('VIEJO', 999, 'MP', 0)");
    DruvexSim::Guion g;
    g.modo = DruvexSim::Modo::NoTomar;
    sim.setGuion(g);
    sim.iniciar();
    EXPECT_FALSE(Actualizar(true));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(), "Error en la transacción.\nFalla de comunicación.");
    EXPECT_EQ(Filas("Medicos"), 1);
    EXPECT_EQ(General::TransaccionActual, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Engines, ActualizarTablasDb, DbEngines(), DbEngineName);

TEST_P(ActualizarTablasDb, ANulLineIsSkippedAndBlankLinesDoNotEndTheList)
{
    // A NUL would cut the statement at the driver and end the whole update: that line alone is
    // skipped, as a malformed one. Blank lines in between are passed over.
    QByteArray medicos = DruvexSim::LineaMedico(123, "MP", "PEREZ JUAN", false);
    medicos.replace("PEREZ", QByteArray("PER\0Z", 5));
    medicos += QByteArray(2000, ' ') + "\r\n\r\n" + DruvexSim::LineaMedico(4567, "MN", "GOMEZ ANA", false);
    Responder({{"_sal.2", medicos}});
    sim.iniciar();
    EXPECT_TRUE(General::ActualizarTablas(false, false, true, false, false, false, false, false, false, false, false,
                                          false, QString()));
    EXPECT_EQ(Filas("Medicos"), 1);
    EXPECT_EQ(Valor("SELECT ApellidoNombre FROM Medicos WHERE Matricula = 4567"), "GOMEZ ANA");
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_TRUE(dialogs.messages().first().contains("línea 1")) << dialogs.messages().first().toStdString();
}
