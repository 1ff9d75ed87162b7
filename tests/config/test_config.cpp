#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"

#include "config/clsDiagnosticos.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "config/clsOperacion.h"
#include "config/clsPrestacion.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/Vb.h"
#include "support/DbFixture.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Texts that a value built into SQL would break or change.
const QString kApostrofo = QStringLiteral("D'Angelo");
const QString kEnie = QStringLiteral("Ñandú");
const QString kBarras = QStringLiteral("C:\\Estandar\\tx");

// Every row of the table as text, in a fixed order, to compare before and after.
QStringList Filas(Database& cn, const QString& tabla)
{
    DbResult rs = cn.Query(QStringLiteral("SELECT * FROM %1").arg(tabla));
    QStringList filas;
    for (; !rs.EOF_(); rs.MoveNext()) {
        QStringList valores;
        for (int c = 0; c < rs.ColumnCount(); ++c) {
            const QVariant v = rs.value(c);
            valores << (v.isNull() ? QStringLiteral("<null>") : Vb::CStr(v));
        }
        filas << valores.join(QLatin1Char('|'));
    }
    filas.sort();
    return filas;
}

const QStringList kTablas = {QStringLiteral("Parametros"),   QStringLiteral("Operaciones"),
                             QStringLiteral("Prestadores"),  QStringLiteral("Efectores"),
                             QStringLiteral("ObrasSociales"), QStringLiteral("Prestaciones"),
                             QStringLiteral("Diagnosticos"), QStringLiteral("Medicos")};

QMap<QString, QStringList> Foto(Database& cn)
{
    QMap<QString, QStringList> foto;
    for (const QString& t : kTablas) foto[t] = Filas(cn, t);
    return foto;
}

// Reference rows with the texts that must survive unchanged.
void Sembrar(Database& cn)
{
    cn.Execute(QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, "
                              "codigoOSDE, Predeterminado, Filial, Admisor, Baja, Licencia, RequiereMatPrescriptor) "
                              "VALUES (?, ?, ?, 1, 2, 60123, 0, 3, 4, ?, ?, 1)"),
               {7, QStringLiteral("Clínica D'Angelo"), QStringLiteral("30-1"), 0, kBarras});
    cn.Execute(QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, "
                              "codigoOSDE, Predeterminado, Filial, Admisor, Baja, Licencia, RequiereMatPrescriptor) "
                              "VALUES (?, ?, ?, 0, 0, 1, 0, 0, NULL, 0, NULL, 0)"),
               {2, QStringLiteral("Dora Ñandú"), QStringLiteral("30-2")});
    cn.Execute(QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, "
                              "codigoOSDE, Predeterminado, Filial, Admisor, Baja, Licencia, RequiereMatPrescriptor) "
                              "VALUES (?, ?, ?, 0, 0, 1, 0, 0, 0, 0, '', 0)"),
               {9, QStringLiteral("Zeta"), QStringLiteral("30-3")});
    cn.Execute(QStringLiteral("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (4, ?)"),
               {QStringLiteral("Clínica médica")});
    cn.Execute(QStringLiteral("INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula, Baja, "
                              "IdEspecialidad) VALUES (15, ?, '20-1', '123', 'MN', 0, 4)"),
               {QStringLiteral("O'Higgins")});
    cn.Execute(QStringLiteral("INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula, Baja, "
                              "IdEspecialidad) VALUES (16, ?, '20-2', '456', 'MP', 0, NULL)"),
               {QStringLiteral("Zulma Ñandú")});
    cn.Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, OnLine, UtilizarCI, AUISOA, Empresa, "
                              "Actividad, FilialOS, UtilizaCSC) VALUES (?, ?, 1, 0, 2.5, ?, ?, NULL, 1)"),
               {11, kEnie, 5, 1});
    cn.Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, OnLine, UtilizarCI, AUISOA, Empresa, "
                              "Actividad, FilialOS, UtilizaCSC) VALUES (?, ?, 0, 1, 0, ?, ?, 3, 0)"),
               {12, kEnie, 105, 2});
    cn.Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, Valor2, "
                              "Descripcion, Observaciones) VALUES (11, '420101', 'A1', '12.50', '3', ?, ?)"),
               {QStringLiteral("Consulta D'Angelo"), kBarras});
    cn.Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, Valor2, "
                              "Descripcion, Observaciones) VALUES (12, '420101', 'B1', '9', '', ?, '')"),
               {kEnie});
    cn.Execute(QStringLiteral("INSERT INTO Diagnosticos (Codigo, Diagnostico) VALUES ('J11', ?)"),
               {QStringLiteral("Gripe ñ'")});
}

class ConfigDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        General::DirectorioTrabajo.clear();
        Printers::setTestPrinters({}, QString());
    }
    void TearDown() override
    {
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
        General::gConfig.reset();
        DbFixture::TearDown();
    }

    // A configuration with every property set to a text that SQL text would mangle.
    static void Llenar(clsConfig& c, const QString& sufijo)
    {
        c.setCheckApp(false);
        c.setDefaultOS(kEnie + sufijo);
        c.setDefaultActividad(QStringLiteral("2"));
        c.setImprimir(true);
        c.setImpresora(kBarras + sufijo);
        c.setCopias(2);
        c.setLargohoja(66);
        c.setFontName(QStringLiteral("Courier D'Angelo") + sufijo);
        c.setFontSize(11);
        c.setTimer(true);
        c.setDefaultDirTX(QStringLiteral("1"));
        c.setDirTX(kBarras + QStringLiteral("\\D'Angelo") + sufijo);
        c.setidDelimitador(2);
        c.setDBConect(QStringLiteral("PostgreSQL"));
        c.setDireccionTerminal(QStringLiteral("Pasaje D'Angelo 12, Ñuñoa") + sufijo);
        c.setTelefonoTerminal(QStringLiteral("\\4555'01") + sufijo);
        c.setLatitudTerminal(QStringLiteral("-34,6") + sufijo);
        c.setLongitudTerminal(QStringLiteral("-58\\4") + sufijo);
        General::DirectorioTrabajo = kBarras + QStringLiteral("\\Ñandú's") + sufijo;
    }

    static void Comparar(const clsConfig& c, const QString& sufijo)
    {
        EXPECT_EQ(c.DefaultOS(), kEnie + sufijo);
        EXPECT_EQ(c.DefaultActividad(), QStringLiteral("2"));
        EXPECT_TRUE(c.Imprimir());
        EXPECT_EQ(c.Impresora(), kBarras + sufijo);
        EXPECT_EQ(c.Copias(), 2);
        EXPECT_EQ(c.Largohoja(), 66);
        EXPECT_EQ(c.FontName(), QStringLiteral("Courier D'Angelo") + sufijo);
        EXPECT_EQ(c.FontSize(), 11);
        EXPECT_TRUE(c.Timer());
        EXPECT_EQ(c.DefaultDirTX(), QStringLiteral("1"));
        EXPECT_EQ(c.DirTX(), kBarras + QStringLiteral("\\D'Angelo") + sufijo);
        EXPECT_EQ(c.idDelimitador(), 2);
        EXPECT_EQ(c.Delimitador(), QStringLiteral(";"));
        EXPECT_EQ(c.DBConect(), QStringLiteral("PostgreSQL"));
        EXPECT_EQ(c.DireccionTerminal(), QStringLiteral("Pasaje D'Angelo 12, Ñuñoa") + sufijo);
        EXPECT_EQ(c.TelefonoTerminal(), QStringLiteral("\\4555'01") + sufijo);
        EXPECT_EQ(c.LatitudTerminal(), QStringLiteral("-34,6") + sufijo);
        EXPECT_EQ(c.LongitudTerminal(), QStringLiteral("-58\\4") + sufijo);
        EXPECT_EQ(General::DirectorioTrabajo, kBarras + QStringLiteral("\\Ñandú's") + sufijo);
    }
};

TEST_P(ConfigDb, SavedConfigurationLoadsBackPropertyByProperty)
{
    auto cn = Connect();
    Sembrar(*cn);
    {
        clsConfig nueva;
        Llenar(nueva, QString());
        nueva.AddConfig(5);
        EXPECT_TRUE(nueva.isNew());
    }
    General::DirectorioTrabajo.clear();
    clsConfig c;
    ASSERT_TRUE(c.LoadConfig(5, false));
    EXPECT_EQ(c.IdTerminal(), 5);
    EXPECT_TRUE(c.CheckApp()); // a new row always has it
    EXPECT_TRUE(c.isLoaded());
    EXPECT_FALSE(c.isNew());
    Comparar(c, QString());

    // The update writes every property.
    Llenar(c, QStringLiteral(" 2"));
    c.setCheckApp(false);
    c.UpdateConfig();
    General::DirectorioTrabajo.clear();
    clsConfig d;
    ASSERT_TRUE(d.LoadConfig(5, false));
    EXPECT_FALSE(d.CheckApp());
    Comparar(d, QStringLiteral(" 2"));
}

TEST_P(ConfigDb, ListsLoadAndSaveBackWithoutLosingData)
{
    auto cn = Connect();
    Sembrar(*cn);
    cn->Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal, CheckApp, Imprimir, Timer, IdDelimitador) "
                               "VALUES (1, 1, 0, 0, 1)"));
    const QStringList prestacionesAntes = Filas(*cn, QStringLiteral("Prestaciones"));
    clsConfig c;
    ASSERT_TRUE(c.LoadConfig(1, false));

    // Providers by name; none was the default, so the first one became it, in the table too.
    ASSERT_EQ(c.Prestadores()->Count(), 3);
    const auto p1 = c.Prestadores()->Item_(1);
    EXPECT_EQ(p1->Nombre, QStringLiteral("Clínica D'Angelo"));
    EXPECT_TRUE(p1->Predeterminado);
    EXPECT_EQ(p1->Licencia, kBarras);
    EXPECT_EQ(c.Prestadores()->Item_(QStringLiteral("2"))->Admisor, 0); // null Admisor
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT Predeterminado FROM Prestadores WHERE IdPrestador = 7"))
                  .value(0).toInt(), 1);

    ASSERT_EQ(c.Efectores()->Count(), 2);
    EXPECT_EQ(c.Efectores()->Item_(QStringLiteral("15"))->Especialidad, QStringLiteral("Clínica médica"));
    EXPECT_EQ(c.Efectores()->Item_(QStringLiteral("16"))->idEspecialidad, 0);
    EXPECT_EQ(c.Efectores()->Item_(QStringLiteral("16"))->Especialidad, QString());

    // One insurer name under two activities: two keys.
    ASSERT_EQ(c.ObrasSociales()->Count(), 2);
    EXPECT_EQ(c.ObrasSociales()->Item_(kEnie + QStringLiteral(" 1"))->Empresa, 5);
    EXPECT_EQ(c.ObrasSociales()->Item_(kEnie + QStringLiteral(" 2"))->FilialOS, 3);
    EXPECT_EQ(c.Operaciones()->Count(), 21);
    EXPECT_EQ(c.Delimitadores()->Count(), 4);
    EXPECT_EQ(c.Especialidades()->Count(), 1);
    EXPECT_EQ(c.DiagnosticosCol()->Item_(QStringLiteral("j11"))->Diagnostico, QStringLiteral("Gripe ñ'"));
    // The same service code under two insurers: both rows listed, the code finds the first.
    ASSERT_EQ(c.PrestacionesCol()->Count(), 2);
    EXPECT_TRUE(c.PrestacionesCol()->Contains(QStringLiteral("420101")));

    // The screen withdraws an effector and switches an operation off.
    c.Efectores()->Item_(QStringLiteral("16"))->Baja = 1;
    c.Operaciones()->Item_(QStringLiteral("02b"))->intUtiliza = 0;
    c.setDefaultActividad(QString());
    c.UpdateConfig();

    EXPECT_EQ(Filas(*cn, QStringLiteral("Prestaciones")), prestacionesAntes);
    // Renumbered by list order: 7, 2, 9 by name become 1, 2, 3.
    EXPECT_EQ(Filas(*cn, QStringLiteral("Prestadores")).size(), 3);
    DbResult prov = cn->Query(QStringLiteral("SELECT IdPrestador, Nombre, Licencia FROM Prestadores ORDER BY IdPrestador"));
    const QStringList nombres = {QStringLiteral("Clínica D'Angelo"), QStringLiteral("Dora Ñandú"), QStringLiteral("Zeta")};
    for (int i = 0; i < 3; ++i, prov.MoveNext()) {
        EXPECT_EQ(prov["IdPrestador"].toInt(), i + 1);
        EXPECT_EQ(prov["Nombre"].toString(), nombres[i]);
    }
    DbResult ef = cn->Query(QStringLiteral("SELECT IdEfector, Nombre, Baja FROM Efectores ORDER BY IdEfector"));
    ASSERT_EQ(ef.RowCount(), 2);
    EXPECT_EQ(ef["Nombre"].toString(), QStringLiteral("O'Higgins"));
    EXPECT_EQ(ef["Baja"].toInt(), 0);
    ef.MoveNext();
    EXPECT_EQ(ef["IdEfector"].toInt(), 2);
    EXPECT_EQ(ef["Baja"].toInt(), 1);
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT Utiliza FROM Operaciones WHERE Identificacion = '02B'")).value(0).toInt(), 0);
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT DefaultActividad FROM Parametros WHERE IdTerminal = 1")).value(0).toInt(), 1);
    EXPECT_EQ(Filas(*cn, QStringLiteral("ObrasSociales")).size(), 2);
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT Diagnostico FROM Diagnosticos")).value(0).toString(), QStringLiteral("Gripe ñ'"));
}

// A table the save needs is taken away under the configuration's feet; the transaction must
// put every other table back as it was.
TEST_P(ConfigDb, FailureInsideTheSavesLeavesEveryTableAsItWas)
{
    auto cn = Connect();
    Sembrar(*cn);
    cn->Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal, CheckApp, Imprimir, Timer, IdDelimitador, FontName) "
                               "VALUES (1, 1, 0, 0, 1, 'Arial')"));
    clsConfig c;
    ASSERT_TRUE(c.LoadConfig(1, false));
    c.Prestadores()->Item_(1)->Nombre = QStringLiteral("Cambiado");
    c.setFontName(QStringLiteral("Cambiada"));
    c.PrestacionesCol()->Item_(1)->Descripcion = QStringLiteral("Cambiada");
    const auto antes = Foto(*cn);

    struct Caso { const char* nombre; QString tablaQueFalta; std::function<void()> guardar; };
    const Caso casos[] = {
        {"UpdateConfig, last list", QStringLiteral("ObrasSociales"), [&] { c.UpdateConfig(); }},
        {"UpdateConfig, row", QStringLiteral("Parametros"), [&] { c.UpdateConfig(); }},
        {"AddConfig, last list", QStringLiteral("ObrasSociales"), [&] { c.AddConfig(3); }},
        {"AddConfig, row", QStringLiteral("Parametros"), [&] { c.AddConfig(3); }},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.nombre);
        cn->Execute(QStringLiteral("ALTER TABLE %1 RENAME TO Apartada").arg(k.tablaQueFalta));
        try {
            k.guardar();
            ADD_FAILURE() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.source, QStringLiteral("QuorvanLog.clsConfig"));
        }
        cn->Execute(QStringLiteral("ALTER TABLE Apartada RENAME TO %1").arg(k.tablaQueFalta));
        EXPECT_EQ(Foto(*cn), antes);
    }
    // The connection is usable afterwards.
    c.UpdateConfig();
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT FontName FROM Parametros")).value(0).toString(), QStringLiteral("Cambiada"));
}

TEST_P(ConfigDb, NewTerminalsAreNumberedFromAnEmptyTable)
{
    clsConfig c;
    EXPECT_EQ(c.getCantTerminales(), 0);
    EXPECT_EQ(c.getIdTerminal(kBarras), 1);
    EXPECT_EQ(c.getCantTerminales(), 1);
    auto cn = Connect();
    DbResult rs = cn->Query(QStringLiteral("SELECT * FROM Parametros WHERE IdTerminal = 1"));
    ASSERT_FALSE(rs.EOF_());
    EXPECT_EQ(rs["CheckApp"].toInt(), 1);
    EXPECT_EQ(rs["DefaultOS"].toString(), QStringLiteral("OSDE"));
    EXPECT_EQ(rs["DefaultActividad"].toInt(), 1);
    EXPECT_EQ(rs["WorkDir"].toString(), kBarras);
    EXPECT_EQ(c.IdTerminal(), 0);

    c.setDefaultOS(kApostrofo);
    c.setDefaultActividad(QStringLiteral("3"));
    EXPECT_EQ(c.getIdTerminal(QStringLiteral("/srv/druvex/")), 2);
    rs = cn->Query(QStringLiteral("SELECT DefaultOS, DefaultActividad FROM Parametros WHERE IdTerminal = 2"));
    EXPECT_EQ(rs["DefaultOS"].toString(), kApostrofo);
    EXPECT_EQ(rs["DefaultActividad"].toInt(), 3);

    // UpdateOS writes the two values of the object's terminal.
    c.setIdTerminal(1);
    c.setDefaultOS(kEnie);
    c.setDefaultActividad(QString());
    c.UpdateOS();
    rs = cn->Query(QStringLiteral("SELECT DefaultOS, DefaultActividad FROM Parametros WHERE IdTerminal = 1"));
    EXPECT_EQ(rs["DefaultOS"].toString(), kEnie);
    EXPECT_EQ(rs["DefaultActividad"].toInt(), 1);
}

TEST_P(ConfigDb, MissingRowReturnsFalseWithTheListsLoaded)
{
    clsConfig c;
    c.setFontName(QStringLiteral("sin tocar"));
    EXPECT_FALSE(c.LoadConfig(9, true));
    EXPECT_TRUE(c.isNew());
    EXPECT_FALSE(c.isLoaded());
    EXPECT_EQ(c.FontName(), QStringLiteral("sin tocar"));
    EXPECT_EQ(c.Operaciones()->Count(), 21);
    EXPECT_EQ(c.Delimitadores()->Count(), 4);
}

TEST_P(ConfigDb, DefaultPrinterFillsAnEmptyPrinterOnly)
{
    auto cn = Connect();
    cn->Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal, CheckApp, Imprimir, Timer, IdDelimitador, Impresora) "
                               "VALUES (1, 1, 0, 0, 1, '  '), (2, 1, 0, 0, 1, 'Ausente')"));
    Printers::setTestPrinters({QStringLiteral("PDF"), QStringLiteral("HP-Laser")}, QStringLiteral("hp-laser"));
    clsConfig c;
    ASSERT_TRUE(c.LoadConfig(1, false));
    EXPECT_EQ(c.Impresora(), QStringLiteral("HP-Laser"));
    EXPECT_EQ(Printing::ImpresoraActiva(), QStringLiteral("HP-Laser"));
    ASSERT_TRUE(c.LoadConfig(2, false));
    EXPECT_EQ(c.Impresora(), QStringLiteral("Ausente"));
}

TEST_P(ConfigDb, ParameterFileMarksTheEnabledInsurers)
{
    TempFolder dir;
    auto cn = Connect();
    struct Os { int id; const char* nombre; int empresa; int actividad; bool marcada; };
    const Os oss[] = {
        {1, "Cinco", 5, 1, true},     // 0501 SVL1 ... 1
        {2, "Ciento cinco", 105, 1, true}, // compared as 05
        {3, "Siete", 7, 2, false},    // its line has 0 at 103
        {4, "Ocho", 8, 1, false},     // its line is too short
        {5, "Nueve", 9, 1, false},    // its line is SVL2
        {6, "Diez", 10, 3, false},    // no line
    };
    for (const auto& o : oss)
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) VALUES (?, ?, ?, ?)"),
                    {o.id, QString::fromUtf8(o.nombre), o.empresa, o.actividad});
    cn->Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal, CheckApp, Imprimir, Timer, IdDelimitador, WorkDir) "
                               "VALUES (1, 1, 0, 0, 1, ?)"),
                {dir.path()});
    auto linea = [](const char* cabeza, char bandera) {
        QByteArray l = QByteArray(cabeza).leftJustified(102, ' ');
        l.append(bandera);
        return l + "\r\n";
    };
    dir.write(QStringLiteral("_DRUVEX.PRM"), linea("0501XXSVL1", '1') + linea("0702XXSVL1", '0')
                                                 + QByteArray("0801XXSVL1 corta\r\n") + linea("0901XXSVL2", '1'));

    {
        clsConfig sinArranque;
        ASSERT_TRUE(sinArranque.LoadConfig(1, false));
        for (const auto& o : *sinArranque.ObrasSociales()) EXPECT_FALSE(o->BitMap) << o->Nombre.toStdString();
    }
    clsConfig c;
    ASSERT_TRUE(c.LoadConfig(1, true));
    for (const auto& o : oss) {
        SCOPED_TRACE(o.nombre);
        EXPECT_EQ(c.ObrasSociales()->Item_(QString::fromUtf8(o.nombre) + QStringLiteral(" %1").arg(o.actividad))->BitMap,
                  o.marcada);
    }
}

TEST_P(ConfigDb, DuplicateInsurerStopsTheLoadKeepingEarlierItems)
{
    auto cn = Connect();
    for (int id : {1, 2, 3})
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) VALUES (?, ?, 1, 1)"),
                    {id, id == 1 ? QStringLiteral("Alfa") : QStringLiteral("beta")});
    clsConfig c;
    try {
        c.LoadOS();
        FAIL() << "duplicate accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number, 457);
    }
    ASSERT_EQ(c.ObrasSociales()->Count(), 2);
    EXPECT_EQ(c.ObrasSociales()->Item_(2)->Nombre, QStringLiteral("beta"));
    try {
        c.LoadConfig(1, false);
        FAIL() << "duplicate accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number, 457);
        EXPECT_EQ(e.source, QStringLiteral("QuorvanLog.clsConfig"));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ConfigDb, DbEngines(), DbEngineName);

}
