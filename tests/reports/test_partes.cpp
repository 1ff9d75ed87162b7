// The report's pieces that need no database: the column texts of the builder, the remote
// report's request, link test, answer reading and wait dialog, with the simulated client.
#include "engine/CarpetaTerminal.h"
#include "engine/EsperaCliente.h"
#include "engine/General.h"
#include "platform/EscrituraSegura.h"
#include "platform/VbError.h"
#include "reports/clsMsgReporte.h"
#include "reports/clsReporte.h"
#include "reports/frmProcesando.h"
#include "reports/modReporte.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString Titulos()
{
    return QString(84, '_') + kCrLf + kCrLf + "    Trx      Prescriptor   Efector      Asociado                 Monto" +
           kCrLf + "      Prestación     Cant.  Arancel" + kCrLf + QString(84, '_') + kCrLf;
}

DruvexSim::LineaReporte LineaA()
{
    return {"000123", "011234567001", "C", "M", "00", "012345", "27123456784", "00000150000", "00000", "0"};
}

// The report text of LineaA and of its service line, written out from the answer tables.
const QString kTextoA = "\r\n000123  MC   00 012345     27123456784  011234567001  0 00000  00000150000\r\n";
const QString kTextoItemA = "      420101   0      01      1\r\n";

class Remoto : public ::testing::Test {
protected:
    void SetUp() override
    {
        General::DirectorioTrabajo = tmp.path();
        EsperaCliente::setDuracionTick(20);
        CarpetaTerminal(tmp.path(), modReporte::DirectorioReporte).Crear();
    }
    void TearDown() override
    {
        sim.detener();
        EsperaCliente::setDuracionTick(1000);
        modReporte::setLimites();
        General::DirectorioTrabajo.clear();
    }
    QString enRep(const QString& r) const { return "termrep/" + r; }
    DruvexSim::Guion soloEstado(const QString& estado = "0000") const
    {
        DruvexSim::Guion g;
        g.soloArchivos = true;
        g.estado = estado;
        return g;
    }
    TempFolder tmp;
    DruvexSim sim{tmp.path()};
    ScriptedDialogs dialogs;
};

}

TEST(ReporteTexto, ColumnTexts)
{
    struct Caso {
        const char* nombre;
        QVariant valor;
        int tipo, tamano;
        QString esperado;
    } casos[] = {
        {"fechatransaccion", "20240305", 12, 8, "05/03/2024"},
        {"FechaTransaccion", "20240305", -9, 8, "05/03/2024"},
        {"aucuit", "30712345678", -9, 100, "30-71234567-8"},
        {"autmat", "000123", 12, 100, "000123"},   // VARCHAR digits unchanged
        {"autmat", "000123", -9, 100, "000123"},   // WVARCHAR (psqlODBC) too
        {"nombre", "ABC", 12, 100, "ABC"},
        {"idterminal", 7, 4, 2, "07"},             // INTEGER of size 2
        {"idterminal", 7, -5, 20, "0000000007"},   // SQLite's BIGINT: the digits of an integer
        {"idterminal", 7, 5, 6, "00007"},          // SMALLINT
        {"monto", 12.6, 8, 54, "000000000000013"}, // DOUBLE rounded
        {"idterminal", QVariant(), 4, 10, ""},     // null
    };
    for (const Caso& c : casos)
        EXPECT_EQ(clsReporte::TextoColumna(c.nombre, c.valor, c.tipo, c.tamano), c.esperado) << c.nombre;
}

TEST(ReporteTexto, EmptyDetailAndRepeatedBuild)
{
    clsReporte r;
    r.strCabecera = "CAB";
    r.strPrestador = "(30-71234567-8) CLINICA";
    r.strFecha_Desde = "01/03/2024";
    r.strFecha_Hasta = "20/03/2024";
    r.strOrdenar_por = "Efector";
    r.strPie = "PIE";
    r.Make_Report_txt();
    const QString uno = "CAB\r\n       PRESTADOR: (30-71234567-8) CLINICA\r\n\r\n       Desde 01/03/2024    Hasta "
                        "20/03/2024\r\n       Ordenado por Efector\r\n\r\n\r\n       SIN INFORMACION             \r\nPIE\r\n";
    EXPECT_EQ(r.strReport_txt, uno);
    r.Make_Report_txt();
    EXPECT_EQ(r.strReport_txt, uno + uno);
}

TEST_F(Remoto, LinkTestAnsweredByAStatusAlone)
{
    sim.encolarGuion(soloEstado());
    sim.iniciar();
    EXPECT_TRUE(modReporte::VerificarComunicacion(modReporte::DirectorioReporte));
    ASSERT_EQ(sim.tomas().size(), 1);
    EXPECT_EQ(sim.tomas()[0].terminal, "termrep");
    EXPECT_EQ(sim.tomas()[0].upload.value("_svl.0"), QByteArray("V0000000"));
    EXPECT_TRUE(tmp.exists(enRep("upload/_svl.0")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(Remoto, ClientNotRunningDeletesTheControlRecord)
{
    modReporte::setLimites({1000, 15000});
    EXPECT_FALSE(modReporte::VerificarComunicacion(modReporte::DirectorioReporte));
    EXPECT_FALSE(tmp.exists(enRep("upload/_svl.0")));
    EXPECT_FALSE(tmp.exists("tx/termrep")) << "the trigger nobody took is taken back";
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(Remoto, LinkTestCancelled)
{
    EsperaCliente espera;
    QTimer::singleShot(60, &espera, [&] { espera.Cancelar(); });
    EXPECT_FALSE(modReporte::VerificarComunicacion(modReporte::DirectorioReporte, &espera));
    EXPECT_FALSE(tmp.exists(enRep("upload/_svl.0")));
    EXPECT_FALSE(tmp.exists("tx/termrep"));
}

TEST_F(Remoto, LinkTestWithoutUploadShowsTheError)
{
    EXPECT_FALSE(modReporte::VerificarComunicacion("otra"));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
}

TEST_F(Remoto, RequestRecordControlRecordAndTrigger)
{
    tmp.write(enRep("download/_sal.1"), "viejo");
    tmp.write(enRep("estado.rsp"), "0000");
    clsMsgReporte m;
    m.Cuit = "30712345678";
    m.FechaDesde = "20240301";
    m.FechaHasta = "20240320";
    m.EscribirArchivo("_sal.0", "termrep");
    const QByteArray esperado = QByteArray("08") + "000000000" + "        " + "20240301" + "20240320" + "00000" +
                                "0000" + "000000000000000000000000000000000000" + "    " + "30712345678" +
                                "0000000000000000000" + "\r\n";
    ASSERT_EQ(esperado.size(), 116);
    EXPECT_EQ(tmp.read(enRep("upload/_sal.0")), esperado);
    bool sal0 = true;
    EXPECT_TRUE(m.EnviarTransaccion(0, "termrep", sal0));
    EXPECT_EQ(tmp.read(enRep("upload/_svl.0")), QByteArray("V2501101"));
    EXPECT_TRUE(tmp.exists("tx/termrep"));
    EXPECT_FALSE(tmp.exists(enRep("download/_sal.1")));
    EXPECT_FALSE(tmp.exists(enRep("estado.rsp")));
    sal0 = false;
    EXPECT_TRUE(m.EnviarTransaccion(0, "termrep", sal0));
    EXPECT_EQ(tmp.read(enRep("upload/_svl.0")), QByteArray("V1051101"));
}

TEST_F(Remoto, RequestThatCannotBeWritten)
{
    clsMsgReporte m;
    EXPECT_THROW(m.EscribirArchivo("_sal.0", "noexiste"), VbError);
    EscrituraSegura::FallarEnOperacion(1);
    bool sal0 = true;
    EXPECT_FALSE(m.EnviarTransaccion(0, "termrep", sal0));
    EscrituraSegura::FallarEnOperacion(0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("57 : ")) << dialogs.messages()[0].toStdString();
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
}

TEST_F(Remoto, AnswerLines)
{
    const QByteArray a = DruvexSim::LineaReporteTransaccion(LineaA());
    const QByteArray item = DruvexSim::LineaReporteItem("000123", "420101", "0", "1", "01");
    QByteArray largo;
    QString textoLargo;
    for (int i = 0; i < 80; ++i) { // 10,800 bytes: read whole
        DruvexSim::LineaReporte l = LineaA();
        l.trx = QString::number(100000 + i);
        largo += DruvexSim::LineaReporteTransaccion(l);
        textoLargo += "\r\n" + l.trx + kTextoA.mid(8);
    }
    const QString marcaSola = "\r\nABCDEF" + QString(7 + 9 + 18 + 14 + 20, ' ') + "\r\n";
    struct Caso {
        const char* nombre;
        QByteArray sal1;
        QString detalle;
    } casos[] = {
        {"both line types", a + item, kTextoA + kTextoItemA},
        {"transaction lines only", a + a, kTextoA + kTextoA},
        {"10th character 1", "ABCDEFGHI1XYZ\r\n", marcaSola},
        {"last line without CR LF", a + item.left(36), kTextoA},
        {"empty answer", "", ""},
        {"over 10,000 characters", largo, textoLargo},
    };
    for (const Caso& c : casos) {
        tmp.write(enRep("download/_sal.1"), c.sal1);
        clsMsgReporte m;
        m.LeerArchivos("termrep");
        EXPECT_EQ(m.Msg_respuesta, Titulos() + c.detalle) << c.nombre;
    }
    QFile::remove(tmp.file(enRep("download/_sal.1")));
    clsMsgReporte m;
    m.LeerArchivos("termrep");
    EXPECT_EQ(m.Msg_respuesta, Titulos()) << "a missing answer gives the titles";
    tmp.mkdir(enRep("download/_sal.1"));
    EXPECT_THROW(m.LeerArchivos("termrep"), VbError) << "an answer that cannot be read is not a missing one";
}

TEST_F(Remoto, StatusLine)
{
    struct Caso {
        QByteArray estado;
        bool resultado;
        QStringList mensajes;
    } casos[] = {
        {"0000 OK\r\n", true, {}},
        {"0", true, {}},
        {"0051 AFILIADO INHABILITADO\r\nOTRA", false, {"0051 AFILIADO INHABILITADO"}},
    };
    for (const Caso& c : casos) {
        dialogs.clear();
        tmp.write(enRep("estado.rsp"), c.estado);
        clsMsgReporte m;
        bool r = !c.resultado;
        m.Respuesta("termrep", r);
        EXPECT_EQ(r, c.resultado) << c.estado.constData();
        EXPECT_EQ(dialogs.messages(), c.mensajes);
    }
}

TEST_F(Remoto, WaitDialog)
{
    modReporte::setLimites({60000, 60000});
    frmProcesando f;
    EXPECT_EQ(f.windowTitle(), "Proceso");
    // The answer of the report folder ends it.
    QTimer::singleShot(50, [&] { tmp.write(enRep("estado.rsp"), "0000"); });
    EXPECT_TRUE(f.Cargar());
    // "Cancelar" ends it without an answer.
    QFile::remove(tmp.file(enRep("estado.rsp")));
    QTimer::singleShot(50, [&] { f.cmdCancelar_Click(); });
    EXPECT_FALSE(f.Cargar());
    // After the limit only "Cancelar" ends it: a later answer is not taken.
    QFile::remove(tmp.file(enRep("estado.rsp")));
    modReporte::setLimites({60000, 1000});
    QString texto;
    QTimer::singleShot(400, [&] {
        texto = f.Label1->text();
        tmp.write(enRep("estado.rsp"), "0000");
        QTimer::singleShot(200, [&] { f.cmdCancelar_Click(); });
    });
    EXPECT_FALSE(f.Cargar());
    EXPECT_EQ(texto, "Tiempo de espera excedido.");
}
