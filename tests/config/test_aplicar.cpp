// Applying the table-update answers: the five line readers and the run over the tables.
#include "config/GeneralTablas.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Database.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QByteArray>
#include <gtest/gtest.h>

using namespace General;

namespace {

// A line of `largo` characters (CR LF included) with the given fields at their 1-based
// positions, blanks elsewhere.
QString Linea(int largo, std::initializer_list<std::pair<int, QString>> campos)
{
    QString r(largo - 2, QLatin1Char(' '));
    for (const auto& [pos, valor] : campos) r.replace(pos - 1, valor.size(), valor);
    return r + "\r\n";
}

QString Blancos(int n) { return QString(n, QLatin1Char(' ')); }
QString Pad(const QString& s, int n) { return s + Blancos(n - s.size()); }

// ---- Lines of each list, written from the layout tables ------------------------------------

QString Medico(const QString& mat, const QString& tipo, const QString& nombre, const QString& baja = "0")
{
    return Linea(51, {{1, mat}, {7, tipo}, {9, nombre}, {49, baja}});
}
QString Efector(const QString& nombre, const QString& cuit, const QString& tipo, const QString& mat)
{
    return Linea(57, {{1, nombre}, {36, cuit}, {47, tipo}, {49, mat}, {55, "0"}});
}
QString Prestador(const QString& nombre, const QString& cuit, const QString& licencia, const QString& reqPresc = "1",
                  const QString& odontologo = "2")
{
    return Linea(73, {{1, nombre}, {36, cuit}, {47, reqPresc}, {48, odontologo}, {49, "000012345"}, {58, "1"},
                      {59, "60"}, {61, "3"}, {62, "0"}, {63, licencia}, {71, "1"}});
}
QString PrestadorSinLicencia(const QString& nombre, const QString& cuit)
{
    return Linea(64, {{1, nombre}, {36, cuit}, {47, "0"}, {48, "1"}, {49, "000000007"}, {58, "0"}, {59, "02"},
                      {61, "1"}, {62, "1"}});
}
QString Prestacion(const QString& codigo, const QString& descripcion)
{
    return Linea(176, {{1, "01"}, {3, codigo}, {13, descripcion}, {163, "00000000000"}, {174, "0"}});
}
QString Diagnostico(const QString& codigo, const QString& descripcion, const QString& marca = "1")
{
    return Linea(163, {{1, codigo}, {11, descripcion}, {161, marca}});
}

} // namespace

// ---- Readers --------------------------------------------------------------------------------

TEST(AplicarLectores, FieldsComeFromTheirPositionsAndTheTextMovesToTheNextLine)
{
    struct Caso {
        const char* nombre;
        QString texto;
        std::function<QStringList(QString&, bool&)> leer; // the fields read, in record order
        QStringList campos;
        bool ok;
        QString resto;
    };
    auto medico = [](QString& t, bool& ok) {
        RegistroMedico r;
        ok = DesarmarRegistroMedico(t, r);
        return QStringList{r.Matricula, r.TipoMatricula, r.ApellidoNombre, r.Baja, r.FinLinea};
    };
    auto efector = [](QString& t, bool& ok) {
        RegistroEfector r;
        ok = DesarmarRegistroEfector(t, r);
        return QStringList{r.Nombre, r.Cuit, r.TipoMatricula, r.Matricula, r.Baja, r.FinLinea};
    };
    auto prestador = [](QString& t, bool& ok) {
        RegistroPrestador r;
        ok = DesarmarRegistroPrestador(t, r);
        return QStringList{r.Nombre, r.Cuit, r.RequierePrescripcion, r.Odontologo, r.codigoOSDE,
                           r.Predeterminado, r.Filial, r.Admisor, r.Baja, r.Licencia,
                           r.RequiereMatPrescriptor, r.FinLinea};
    };
    auto prestacion = [](QString& t, bool& ok) {
        RegistroPrestacion r;
        ok = DesarmarRegistroPrestacion(t, r);
        return QStringList{r.CodigoPrestacion, r.Descripcion, r.FinLinea};
    };
    auto diagnostico = [](QString& t, bool& ok) {
        RegistroDiagnostico r;
        ok = DesarmarRegistroDiagnostico(t, r);
        return QStringList{r.Codigo, r.Diagnostico, r.Marca, r.FinLinea};
    };
    const QString sig = "SIGUIENTE\r\n";
    const Caso casos[] = {
        {"medico", "000123MPPEREZ JUAN" + Blancos(30) + "1\r\n" + sig, medico,
         {"000123", "MP", Pad("PEREZ JUAN", 40), "1", "\r\n"}, true, sig},
        // One character short: skipped up to its own CR LF, the next line stays whole.
        {"medico corto", "00123MPPEREZ JUAN" + Blancos(30) + "1\r\n" + sig, medico,
         {"00123M", "PP", "EREZ JUAN" + Blancos(30) + "1", " ", ""}, false, sig},
        {"medico largo", "000123MPPEREZ JUAN" + Blancos(31) + "1\r\n" + sig, medico,
         {"000123", "MP", Pad("PEREZ JUAN", 40), " ", ""}, false, sig},
        {"medico sin fin", "000123MPPEREZ", medico, {"000123", "MP", Pad("PEREZ", 40), " ", ""}, false, ""},
        {"efector", "LOPEZ MARIA" + Blancos(24) + "27123456784MP0001230\r\n" + sig, efector,
         {Pad("LOPEZ MARIA", 35), "27123456784", "MP", "000123", "0", "\r\n"}, true, sig},
        {"prestador", "CLINICA DEL SOL" + Blancos(20) + "30700000049" "1" "2" "000012345" "1" "60" "3" "6" "00001234" "1" "\r\n" + sig, prestador,
         {Pad("CLINICA DEL SOL", 35), "30700000049", "1", "2", "000012345", "1", "60", "3", "6", "00001234", "1",
          "\r\n"},
         true, sig},
        // Without the account code: the line ends right after Baja and stays in step.
        {"prestador sin licencia", "CLINICA DEL SOL" + Blancos(20) + "30700000049" "1" "2" "000012345" "1" "60" "3" "1" "\r\n" + sig,
         prestador,
         {Pad("CLINICA DEL SOL", 35), "30700000049", "1", "2", "000012345", "1", "60", "3", "1", Blancos(8), " ",
          "\r\n"},
         true, sig},
        {"prestacion", "01420101    CONSULTA MEDICA" + Blancos(135) + "000000000000\r\n" + sig, prestacion,
         {"420101    ", Pad("CONSULTA MEDICA", 150), "\r\n"}, true, sig},
        {"diagnostico", "A09       DIARREA" + Blancos(143) + "1\r\n" + sig, diagnostico,
         {"A09       ", "DIARREA", "1", "\r\n"}, true, sig},
        // A description that begins with a blank and a blank flag stay in their places.
        {"diagnostico con blancos", "A09        DIARREA" + Blancos(142) + " \r\n" + sig, diagnostico,
         {"A09       ", "DIARREA", "", "\r\n"}, true, sig},
        // Blanks between the fields, as a padded answer may hold them.
        {"diagnostico separado", "A09        DIARREA" + Blancos(143) + " 1\r\n" + sig, diagnostico,
         {"A09       ", "DIARREA", "1", "\r\n"}, true, sig},
        {"diagnostico sin marca", "A09        DIARREA" + Blancos(143) + " \r\n" + sig, diagnostico,
         {"A09       ", "DIARREA", "", ""}, false, sig},
        {"diagnostico corto", "A09       DIARREA\r\n" + sig, diagnostico, {"A09       ", "DIARREA", "", ""}, false, sig},
    };
    for (const Caso& c : casos) {
        QString t = c.texto;
        bool ok = false;
        EXPECT_EQ(c.leer(t, ok), c.campos) << c.nombre;
        EXPECT_EQ(ok, c.ok) << c.nombre;
        EXPECT_EQ(t, c.resto) << c.nombre;
    }
}

// ---- Applying -------------------------------------------------------------------------------

namespace {

enum Lista { Medicos, Efectores, Prestadores, Practicas, Diagnosticos };

struct Banderas {
    bool aplicar[5] = {};
    bool completo[5] = {};
};

class Aplicar : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        TransaccionActual = std::make_shared<clsTransaccion>();
        TransaccionActual->setPasoDRUVEX(wf.path() + "Term01");
        ASSERT_TRUE(TransaccionActual->PrepararCarpetaTerminal());
        db = Connect();
    }
    void TearDown() override
    {
        TransaccionActual.reset();
        db.reset();
        DbFixture::TearDown();
    }

    // Leaves the answer file of a list in "download" and has the transaction read it.
    void Respuesta(Lista l, const QString& texto)
    {
        static const char* archivos[] = {"_sal.2", "_sal.7", "_sal.6", "_sal.5", "_sal.4"};
        wf.write(QStringLiteral("Term01/download/") + archivos[l], texto.toLatin1());
        clsTransaccion& t = *TransaccionActual;
        void (clsTransaccion::*leer[])() = {&clsTransaccion::LeerArchivoSAL2, &clsTransaccion::LeerArchivoSAL7,
                                           &clsTransaccion::LeerArchivoSAL6, &clsTransaccion::LeerArchivoSAL5,
                                           &clsTransaccion::LeerArchivoSAL4};
        (t.*leer[l])();
    }
    bool Correr(const Banderas& b)
    {
        return ProcesarActualizacionTablas(b.aplicar[Efectores], b.aplicar[Medicos], b.aplicar[Prestadores],
                                           b.aplicar[Practicas], b.aplicar[Diagnosticos], b.completo[Efectores],
                                           b.completo[Medicos], b.completo[Prestadores], b.completo[Practicas],
                                           b.completo[Diagnosticos]);
    }
    bool Correr(Lista l, bool completo = false)
    {
        Banderas b;
        b.aplicar[l] = true;
        b.completo[l] = completo;
        return Correr(b);
    }
    int Filas(const QString& tabla, const QString& donde = QString(), const QVariantList& p = {})
    {
        return db->Query("SELECT * FROM " + tabla + (donde.isEmpty() ? QString() : " WHERE " + donde), p).RowCount();
    }
    DbResult Fila(const QString& sql, const QVariantList& p = {}) { return db->Query(sql, p); }

    TempFolder wf;
    ScriptedDialogs dialogos;
    std::unique_ptr<Database> db;
};

const char* kTablas[] = {"Medicos", "Efectores", "Prestadores", "Prestaciones", "Diagnosticos"};
const char* kNombresListas[] = {"médicos", "efectores", "prestadores", "prácticas", "diagnósticos"};

// A good line of each list, told apart by `n`.
QString LineaDe(Lista l, int n)
{
    const QString d = QString::number(n);
    switch (l) {
    case Medicos: return Medico(QString("%1").arg(n, 6, 10, QChar('0')), "MP", "MEDICO " + d);
    case Efectores: return Efector("EFECTOR " + d, "2712345678" + d, "MP", QString("%1").arg(n, 6, 10, QChar('0')));
    case Prestadores: return Prestador("PRESTADOR " + d, "3070000004" + d, "0000000" + d);
    case Practicas: return Prestacion("42010" + d, "PRACTICA " + d);
    case Diagnosticos: return Diagnostico("A0" + d, "DIAGNOSTICO " + d);
    }
    return QString();
}

} // namespace

TEST_P(Aplicar, DoctorsAreSearchedAndStoredByTheirNumber)
{
    Respuesta(Medicos, Medico("000123", "MP", "PEREZ JUAN") + Medico("000123", "MP", "PEREZ JUAN CARLOS", "1") +
                           Medico("000123", "MN", "OTRO MEDICO"));
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        ASSERT_TRUE(Correr(Medicos));
        EXPECT_EQ(Filas("Medicos"), 2) << vuelta;
        DbResult r = Fila("SELECT ApellidoNombre, Baja FROM Medicos WHERE Matricula = 123 AND TipoMatricula = 'MP'");
        ASSERT_EQ(r.RowCount(), 1);
        EXPECT_EQ(r["ApellidoNombre"].toString(), "PEREZ JUAN CARLOS");
        EXPECT_EQ(r["Baja"].toInt(), 1);
    }
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

TEST_P(Aplicar, EffectorStoredAsReceivedIsFoundAgainAndKeepsItsSpeciality)
{
    db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (4, 'PEDIATRIA')");
    Respuesta(Efectores, Efector("LOPEZ MARIA", "27123456784", "MP", "000123"));
    ASSERT_TRUE(Correr(Efectores));
    db->Execute("UPDATE Efectores SET IdEspecialidad = 4");
    Respuesta(Efectores, Efector("LOPEZ MARIA ELENA", "27123456784", "MP", "000123"));
    ASSERT_TRUE(Correr(Efectores));
    DbResult r = Fila("SELECT Nombre, Matricula, IdEspecialidad FROM Efectores");
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r["Nombre"].toString(), "LOPEZ MARIA ELENA");
    EXPECT_EQ(r["Matricula"].toString(), "000123");
    EXPECT_EQ(r["IdEspecialidad"].toInt(), 4);
}

TEST_P(Aplicar, ProviderIsTheCuitAndAccountPair)
{
    Respuesta(Prestadores, Prestador("CLINICA CUENTA A", "30700000049", "0000000A") +
                               Prestador("CLINICA CUENTA B", "30700000049", "0000000B") +
                               PrestadorSinLicencia("SIN CUENTA", "20111111112") +
                               Prestador("DESPUES", "20222222223", "0000000C"));
    ASSERT_TRUE(Correr(Prestadores));
    EXPECT_EQ(Filas("Prestadores"), 4);
    EXPECT_TRUE(dialogos.shown.isEmpty());

    // An account without code: a blank account, and the line after it read in step.
    DbResult s = Fila("SELECT Licencia, RequiereMatPrescriptor, Baja, Odontologo FROM Prestadores WHERE Cuit = ?",
                      {"20111111112"});
    ASSERT_EQ(s.RowCount(), 1);
    EXPECT_EQ(s["Licencia"].toString(), Blancos(8));
    EXPECT_EQ(s["RequiereMatPrescriptor"].toInt(), 0);
    EXPECT_EQ(s["Baja"].toInt(), 1);
    EXPECT_EQ(s["Odontologo"].toInt(), 1);
    DbResult d = Fila("SELECT Nombre, Licencia, RequiereMatPrescriptor FROM Prestadores WHERE Cuit = ?",
                      {"20222222223"});
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d["Nombre"].toString(), "DESPUES");
    EXPECT_EQ(d["Licencia"].toString(), "0000000C");
    EXPECT_EQ(d["RequiereMatPrescriptor"].toInt(), 1);

    // An update of one account leaves the other account of the same CUIT alone.
    Respuesta(Prestadores, Prestador("CLINICA NUEVA A", "30700000049", "0000000A", "0"));
    ASSERT_TRUE(Correr(Prestadores));
    EXPECT_EQ(Filas("Prestadores"), 4);
    EXPECT_EQ(Fila("SELECT Nombre FROM Prestadores WHERE Licencia = '0000000A'")["Nombre"].toString(),
              "CLINICA NUEVA A");
    EXPECT_EQ(Fila("SELECT RequierePrescripcion FROM Prestadores WHERE Licencia = '0000000A'").value(0).toInt(), 0);
    EXPECT_EQ(Fila("SELECT Nombre FROM Prestadores WHERE Licencia = '0000000B'")["Nombre"].toString(),
              "CLINICA CUENTA B");
}

TEST_P(Aplicar, ServiceDescriptionIsCutTo30)
{
    const QString cuarenta = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789WXYZ";
    const QString treinta = cuarenta.left(30);
    Respuesta(Practicas, Prestacion("1", cuarenta) + Prestacion("2", treinta) + Prestacion("3", "  CORTA"));
    ASSERT_TRUE(Correr(Practicas));
    auto desc = [&](const char* c) {
        return Fila("SELECT Descripcion, CodigoInterno FROM Prestaciones WHERE CodigoPrestacion = ?", {c});
    };
    EXPECT_EQ(desc("1")["Descripcion"].toString(), treinta);
    EXPECT_EQ(desc("2")["Descripcion"].toString(), treinta);
    EXPECT_EQ(desc("3")["Descripcion"].toString(), "CORTA");
    EXPECT_EQ(desc("3")["CodigoInterno"].toString(), "3");
}

TEST_P(Aplicar, ServiceUpdateKeepsValuesRemarksAndInsurer)
{
    db->Execute("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, Valor2, "
                "Descripcion, Observaciones) VALUES (7, '420101', 'X1', '10', '20', 'VIEJA', 'nota')");
    db->Execute("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, Valor2, "
                "Descripcion, Observaciones) VALUES (9, '420101', 'X2', '99', '98', 'OTRA', 'otra nota')");
    Respuesta(Practicas, Prestacion("420101", "CONSULTA NUEVA"));
    ASSERT_TRUE(Correr(Practicas));
    EXPECT_EQ(Filas("Prestaciones"), 2);
    EXPECT_EQ(Filas("Prestaciones", "Descripcion = 'CONSULTA NUEVA'"), 1);
    // Whichever row was found, each keeps its own insurer, values and remarks.
    struct Esperada {
        int os;
        const char* v1;
        const char* v2;
        const char* obs;
    } filas[] = {{7, "10", "20", "nota"}, {9, "99", "98", "otra nota"}};
    for (const Esperada& e : filas)
        EXPECT_EQ(Filas("Prestaciones", "IdObraSocial = ? AND Valor1 = ? AND Valor2 = ? AND Observaciones = ?",
                        {e.os, e.v1, e.v2, e.obs}),
                  1)
            << e.os;
}

TEST_P(Aplicar, CompleteFlagEmptiesOnlyWithItsApplyFlagAndAnAnswer)
{
    struct Caso {
        bool aplicar, completo, conRespuesta;
        int viejas, nuevas; // rows of the earlier line and of the answer's line after the run
    } casos[] = {
        {true, true, true, 0, 1},
        {true, true, false, 1, 0},
        {true, false, true, 1, 1},
        {false, true, true, 1, 0},
    };
    for (int l = Medicos; l <= Diagnosticos; ++l) {
        const Lista lista = static_cast<Lista>(l);
        for (const Caso& c : casos) {
            db->Execute(QString("DELETE FROM ") + kTablas[l]);
            Respuesta(lista, LineaDe(lista, 1));
            Banderas una;
            una.aplicar[l] = true;
            ASSERT_TRUE(Correr(una));
            Respuesta(lista, c.conRespuesta ? LineaDe(lista, 2) : QString());
            Banderas b;
            b.aplicar[l] = c.aplicar;
            b.completo[l] = c.completo;
            ASSERT_TRUE(Correr(b));
            EXPECT_EQ(Filas(kTablas[l]), c.viejas + c.nuevas)
                << kTablas[l] << " aplicar=" << c.aplicar << " completo=" << c.completo << " texto=" << c.conRespuesta;
        }
    }
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

TEST_P(Aplicar, MalformedLineIsSkippedAndReportedOnceTrailingBlanksAreNot)
{
    for (int l = Medicos; l <= Diagnosticos; ++l) {
        const Lista lista = static_cast<Lista>(l);
        dialogos.clear();
        db->Execute(QString("DELETE FROM ") + kTablas[l]);
        QString roto = LineaDe(lista, 2);
        roto.remove(5, 1); // one character short
        QString largo = LineaDe(lista, 4);
        largo.insert(largo.size() - 2, "X"); // one character too many
        Respuesta(lista, LineaDe(lista, 1) + roto + LineaDe(lista, 3) + largo + LineaDe(lista, 5) + "\r\n  \r\n");
        ASSERT_TRUE(Correr(lista)) << kTablas[l];
        EXPECT_EQ(Filas(kTablas[l]), 3) << kTablas[l];
        ASSERT_EQ(dialogos.shown.size(), 1) << kTablas[l];
        const auto& m = dialogos.shown.first();
        EXPECT_EQ(m.title, "Actualización de tablas");
        EXPECT_EQ(m.style, Vbc::vbExclamation);
        EXPECT_TRUE(m.text.contains(QString("2 líneas de la lista de ") + kNombresListas[l])) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains("línea 2.")) << m.text.toStdString();

        // Good lines with nothing but line ends and blanks after them: no message.
        dialogos.clear();
        Respuesta(lista, LineaDe(lista, 6) + "\r\n\r\n   ");
        ASSERT_TRUE(Correr(lista)) << kTablas[l];
        EXPECT_EQ(Filas(kTablas[l]), 4) << kTablas[l];
        EXPECT_TRUE(dialogos.shown.isEmpty()) << kTablas[l];
    }
}

TEST_P(Aplicar, TextEndingInsideALineKeepsTheLinesBeforeIt)
{
    // The text as the transaction holds it, without the line end a file read would add.
    TransaccionActual->gMedicos = Medico("000001", "MP", "UNO") + Medico("000002", "MP", "DOS") + "000003MPTRE";
    ASSERT_TRUE(Correr(Medicos));
    EXPECT_EQ(Filas("Medicos"), 2);
    ASSERT_EQ(dialogos.shown.size(), 1);
    EXPECT_TRUE(dialogos.shown.first().text.contains("1 línea de la lista de médicos")) << dialogos.shown.first().text.toStdString();
    EXPECT_TRUE(dialogos.shown.first().text.contains("línea 3.")) << dialogos.shown.first().text.toStdString();
}

TEST_P(Aplicar, ApostrophesInKeysNeitherBreakTheStatementsNorDuplicateRows)
{
    const QString lineas[] = {
        Medico("000077", "O'", "D'ANGELO"),
        Efector("D'ANGELO", "27'2345678", "O'", "0'0123"),
        Prestador("D'ANGELO", "30'00000049", "O'B\\1234"),
        Prestacion("42'01", "CONSULTA D'ANGELO"),
        Diagnostico("A'9", "D'ANGELO"),
    };
    for (int l = Medicos; l <= Diagnosticos; ++l) {
        Respuesta(static_cast<Lista>(l), lineas[l]);
        for (int vuelta = 0; vuelta < 2; ++vuelta) {
            ASSERT_TRUE(Correr(static_cast<Lista>(l))) << kTablas[l] << dialogos.messages().join("|").toStdString();
            EXPECT_EQ(Filas(kTablas[l]), 1) << kTablas[l];
        }
    }
    EXPECT_EQ(Fila("SELECT Licencia FROM Prestadores").value(0).toString(), "O'B\\1234");
    EXPECT_EQ(Fila("SELECT Cuit FROM Prestadores").value(0).toString(), "30'00000049");
    EXPECT_EQ(Fila("SELECT Matricula FROM Efectores").value(0).toString(), "0'0123");
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

TEST_P(Aplicar, FlagFieldIsTrueOnlyForOne)
{
    struct Caso {
        const char* campo;
        int esperado;
    } casos[] = {{"1", 1}, {"0", 0}, {" ", 0}, {"S", 0}, {"2", 0}};
    QString texto;
    for (int i = 0; i < 5; ++i)
        texto += Medico(QString("00000%1").arg(i + 1), "MP", "MEDICO", casos[i].campo);
    Respuesta(Medicos, texto);
    ASSERT_TRUE(Correr(Medicos));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Fila("SELECT Baja FROM Medicos WHERE Matricula = ?", {i + 1}).value(0).toInt(), casos[i].esperado)
            << "'" << casos[i].campo << "'";
}

TEST_P(Aplicar, AnErrorEndsTheRunKeepingWhatWasApplied)
{
    // A letter where the provider type code goes cannot be stored.
    Respuesta(Prestadores, LineaDe(Prestadores, 1) + Prestador("MALO", "30700000042", "00000002", "1", "N") +
                               LineaDe(Prestadores, 3));
    Respuesta(Practicas, LineaDe(Practicas, 1));
    Banderas b;
    b.aplicar[Prestadores] = b.aplicar[Practicas] = true;
    EXPECT_FALSE(Correr(b));
    ASSERT_EQ(dialogos.shown.size(), 1);
    EXPECT_EQ(dialogos.shown.first().title, "Error al leer archivos");
    EXPECT_EQ(dialogos.shown.first().style, Vbc::vbCritical);
    EXPECT_FALSE(dialogos.shown.first().text.isEmpty());
    EXPECT_EQ(Filas("Prestadores"), 1);
    EXPECT_EQ(Filas("Prestaciones"), 0);
}

TEST_P(Aplicar, EveryListInOneRunAndNothingWithoutFlags)
{
    for (int l = Medicos; l <= Diagnosticos; ++l) Respuesta(static_cast<Lista>(l), LineaDe(static_cast<Lista>(l), 1));
    EXPECT_TRUE(Correr(Banderas{}));
    for (const char* t : kTablas) EXPECT_EQ(Filas(t), 0) << t;
    Banderas todas;
    for (bool& a : todas.aplicar) a = true;
    EXPECT_TRUE(Correr(todas));
    for (const char* t : kTablas) EXPECT_EQ(Filas(t), 1) << t;
    TransaccionActual.reset(); // no exchange: nothing to apply, no failure
    EXPECT_TRUE(Correr(todas));
    EXPECT_TRUE(dialogos.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, Aplicar, DbEngines(), DbEngineName);
