#include "config/GeneralTablas.h"

#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct Emp {
    QString licencia, empresa, nombreEmpresa, actividad, nombreActividad;
};

QByteArray Archivo(const QList<Emp>& registros)
{
    QByteArray b;
    for (const Emp& r : registros)
        b += DruvexSim::RegistroEmp(r.licencia, r.empresa, r.nombreEmpresa, r.actividad, r.nombreActividad);
    return b;
}

void Escribir(const TempFolder& carpeta, const QByteArray& bytes, const QString& nombre = QStringLiteral("_druvex.emp"))
{
    ASSERT_TRUE(DruvexSim::EscribirArchivoTrabajo(carpeta.path(), nombre, bytes));
}

class LicenciasTest : public ::testing::Test {
protected:
    void SetUp() override { General::DirectorioTrabajo = carpeta.path(); }
    void TearDown() override
    {
        General::DirectorioTrabajo.clear();
        General::Licencias.clear();
    }
    TempFolder carpeta;
    ScriptedDialogs dialogos;
};

} // namespace

TEST_F(LicenciasTest, CargarLicenciasListsNeighbourDistinctAccounts)
{
    const QString A = QStringLiteral("00001234"), B = QStringLiteral("00005678"), C = QStringLiteral("ABC00001");
    const Emp amb{A, "05", "OSDE", "01", "AMBULATORIO"};
    struct Caso {
        const char* nombre;
        QByteArray archivo;
        QStringList esperadas;
    };
    const QList<Caso> casos = {
        {"A A B A", Archivo({amb, amb, {B, "05", "OSDE", "01", "AMB"}, amb}), {A, B, A}},
        {"pharmacy of B between A", Archivo({amb, {B, "05", "OSDE", "02", "FARMACIA"}, amb}), {A}},
        {"pharmacy names",
         Archivo({{A, "05", "X", "02", "Farmacia Central"}, {B, "05", "X", "02", "  FARMACIAS"},
                  {C, "05", "X", "02", "FARMACI"}}),
         {C}},
        {"only pharmacies", Archivo({{A, "05", "X", "02", "farmacia"}}), {QString()}},
        {"empty file", QByteArray(), {QString()}},
        {"a short tail is no record", Archivo({amb}) + Archivo({{B, "05", "OSDE", "01", "AMB"}}).left(60), {A}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        Escribir(carpeta, c.archivo);
        General::Licencias = QStringList{QStringLiteral("vieja"), QStringLiteral("otra")};
        General::CargarLicencias();
        EXPECT_EQ(General::Licencias, c.esperadas);
    }
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

TEST_F(LicenciasTest, CargarLicenciasFindsTheFileWhateverItsCaseAndReportsAMissingOne)
{
    General::Licencias = QStringList{QStringLiteral("vieja")};
    General::CargarLicencias();
    ASSERT_EQ(dialogos.shown.size(), 1);
    EXPECT_EQ(dialogos.shown[0].text,
              QStringLiteral("No existen licencias registradas para el directorio de trabajo seleccionado."));
    EXPECT_EQ(dialogos.shown[0].style & Vbc::vbInformation, Vbc::vbInformation);
    EXPECT_EQ(General::Licencias, QStringList{QString()});
    // A folder of that name is no ordinary file: none either.
    carpeta.mkdir(QStringLiteral("_druvex.emp"));
    General::Licencias = QStringList{QStringLiteral("vieja")};
    General::CargarLicencias();
    EXPECT_EQ(dialogos.shown.value(1).text, dialogos.shown[0].text);
    EXPECT_EQ(General::Licencias, QStringList{QString()});
    QDir(carpeta.file(QStringLiteral("_druvex.emp"))).removeRecursively();

    Escribir(carpeta, Archivo({{"00001234", "05", "OSDE", "01", "AMB"}}), QStringLiteral("_DRUVEX.EMP"));
    General::CargarLicencias();
    EXPECT_EQ(dialogos.shown.size(), 2);
    EXPECT_EQ(General::Licencias, QStringList{QStringLiteral("00001234")});
}

// ---------------------------------------------------------------- the insurer pass

namespace {

class ObrasSocialesEmp : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        General::DirectorioTrabajo = carpeta.path();
        cn = Connect();
    }
    void TearDown() override
    {
        cn.reset();
        General::DirectorioTrabajo.clear();
        DbFixture::TearDown();
    }

    // "id|Nombre|OnLine|UtilizarCI|AUISOA|Empresa|Actividad|FilialOS|UtilizaCSC" per row, by id.
    QStringList Filas()
    {
        QStringList filas;
        DbResult rs = cn->Query(QStringLiteral("SELECT IdObraSocial, Nombre, OnLine, UtilizarCI, AUISOA, Empresa, "
                                               "Actividad, FilialOS, UtilizaCSC FROM ObrasSociales ORDER BY IdObraSocial"));
        for (; !rs.EOF_(); rs.MoveNext()) {
            QStringList v;
            for (int c = 0; c < rs.ColumnCount(); ++c)
                v << (c == 1 ? rs.value(c).toString() : Vb::Str(Vb::CDblValue(rs.value(c))));
            filas << v.join(QLatin1Char('|'));
        }
        return filas;
    }
    QList<int> Empresas()
    {
        QList<int> e;
        DbResult rs = cn->Query(QStringLiteral("SELECT Empresa FROM ObrasSociales ORDER BY Empresa"));
        for (; !rs.EOF_(); rs.MoveNext()) e << rs.value(0).toInt();
        return e;
    }
    void Insertar(int id, const QString& nombre, int empresa, int actividad, double auisoa, int csc)
    {
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, OnLine, UtilizarCI, AUISOA, "
                                   "Empresa, Actividad, FilialOS, UtilizaCSC) VALUES (?, ?, 0, 1, ?, ?, ?, 3, ?)"),
                    {id, nombre, auisoa, empresa, actividad, csc});
    }

    TempFolder carpeta;
    ScriptedDialogs dialogos;
    std::unique_ptr<Database> cn;
};

} // namespace

// Skip rules, the jwk rule and the fields of a new insurer, in one file.
TEST_P(ObrasSocialesEmp, InsertsNewInsurersAndSkipsTheRecordsThatNameNone)
{
    Escribir(carpeta,
             Archivo({
                 {"00001234", "05", "OSDE BINARIO", "01", "Farmacia Central"}, // 1 pharmacy
                 {"00001234", "06", "OTRA", "01", "  FARMACIAS"},               // 2 pharmacy
                 {"00001234", "07", "  TERCERA  ", "02", "FARMACI"},           // 3 imported
                 {"00001234", "00", "CERO", "01", "AMBULATORIO"},              // 4 no company
                 {"00001234", "AB", "LETRAS", "01", "AMBULATORIO"},            // 5 no company
                 {"00001234", "08", "  jwk salud", "01", "AMBULATORIO"},       // 6 jwk, not in the table
                 {"00001234", "05", "OSDE BINARIO", "01", "AMBULATORIO"},      // 7 imported
                 {"00001234", "09", "SIN ACTIVIDAD", "  ", "AMBULATORIO"},     // 8 activity 0
             }),
             QStringLiteral("_Druvex.EMP"));
    General::ActualizarObrasSocialesEmp(QString());
    EXPECT_TRUE(dialogos.shown.isEmpty()) << dialogos.messages().join('\n').toStdString();
    EXPECT_EQ(Filas(), (QStringList{"3|TERCERA|1|0|610531|7|2|60|0", "7|OSDE BINARIO|1|0|610531|5|1|60|0",
                                    "8|SIN ACTIVIDAD|1|0|610531|9|0|60|0"}));
}

TEST_P(ObrasSocialesEmp, AccountArgumentChoosesTheRecords)
{
    Escribir(carpeta, Archivo({{"00001234", "11", "UNO", "01", "AMB"},
                               {"00005678", "12", "DOS", "01", "AMB"},
                               {"abc12345", "13", "TRES", "01", "AMB"}}));
    struct Caso {
        QString cuenta;
        QList<int> empresas;
    };
    const QList<Caso> casos = {
        {"00001234", {11}},
        {"", {11, 12, 13}},
        {" ABC12345 ", {13}},
        {"00009999", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.cuenta.toStdString());
        cn->Execute(QStringLiteral("DELETE FROM ObrasSociales"));
        General::ActualizarObrasSocialesEmp(c.cuenta);
        EXPECT_EQ(Empresas(), c.empresas);
    }
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

TEST_P(ObrasSocialesEmp, UpdatesKeepLocalSettingsAndNewIdsNeverCollide)
{
    Insertar(2, QStringLiteral("VIEJA"), 20, 1, 123, 1);
    Insertar(9, QStringLiteral("NUEVE"), 30, 1, 0, 0);
    Insertar(5, QStringLiteral("A MANO"), 20, 1, 0, 0); // the installer's, same company: keeps its name
    Escribir(carpeta, Archivo({
                          {"00001234", "20", "  NUEVO NOMBRE", "01", "AMB"},  // 1 found: update of id 2
                          {"00001234", "21", "COLISION", "01", "AMB"},        // 2 new, but id 2 is taken
                          {"00001234", "30", "Jwk EXISTENTE", "01", "AMB"},   // 3 jwk still updates
                      }));
    General::ActualizarObrasSocialesEmp(QStringLiteral("00001234"));
    EXPECT_TRUE(dialogos.shown.isEmpty()) << dialogos.messages().join('\n').toStdString();
    EXPECT_EQ(Filas(), (QStringList{"2|NUEVO NOMBRE|1|0|123|20|1|60|1", "5|A MANO|0|1|0|20|1|3|0",
                                    "9|Jwk EXISTENTE|1|0|0|30|1|60|0",
                                    "10|COLISION|1|0|610531|21|1|60|0"}));
}

TEST_P(ObrasSocialesEmp, MissingFileIsSilentAndABadActivityEndsThePassWithItsMessage)
{
    General::ActualizarObrasSocialesEmp(QString());
    EXPECT_TRUE(dialogos.shown.isEmpty());
    Escribir(carpeta, QByteArray());
    General::ActualizarObrasSocialesEmp(QString());
    EXPECT_TRUE(dialogos.shown.isEmpty());
    EXPECT_TRUE(Filas().isEmpty());

    Escribir(carpeta, Archivo({{"00001234", "40", "ANTES", "01", "AMB"},
                               {"00001234", "41", "MALA", "X1", "AMB"},
                               {"00001234", "42", "DESPUES", "01", "AMB"}}));
    General::ActualizarObrasSocialesEmp(QString());
    ASSERT_EQ(dialogos.shown.size(), 1);
    EXPECT_EQ(dialogos.shown[0].title, QStringLiteral("Actualización de Obras Sociales"));
    EXPECT_TRUE(dialogos.shown[0].text.startsWith(QStringLiteral("Error: \n"))) << dialogos.shown[0].text.toStdString();
    EXPECT_EQ(dialogos.shown[0].style & Vbc::vbCritical, Vbc::vbCritical);
    EXPECT_EQ(Empresas(), QList<int>{40}); // what was written before the error stays
}

INSTANTIATE_TEST_SUITE_P(Engines, ObrasSocialesEmp, DbEngines(), DbEngineName);
