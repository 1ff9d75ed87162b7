#include "engine/General.h"
#include "engine/clsCierres.h"
#include "engine/clsTicket.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Platform.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace {

// One exchange against the simulated client, with every window answered at once.
class Sender : public ::testing::Test {
protected:
    void SetUp() override
    {
        frmProcesandoCO::setDuracionTick(40);
        General::ReiniciarControlRepeticion();
        dialogs.modalHandler = [this](QDialog* d) {
            modales << d->objectName();
            return int(QDialog::Accepted);
        };
        t.setPasoDRUVEX(wf.path() + "Term01");
        t.setMostrarFormProceso(false);
        t.Configurar("ABCD1234", "1", "1");
    }
    void TearDown() override
    {
        sim.detener();
        frmProcesandoCO::setDuracionTick(1000);
    }
    bool completarCabecera(clsTransaccion& tx, const QString& fecha = "20240305", const QString& nro = "12")
    {
        return tx.CompletarSVL1(1, "20123456789", "6001234567", "", "", "", "", "", "", "", "0", fecha, "1030", false,
                                nro, "", "");
    }
    DruvexSim::Toma ultimaToma() const { return sim.tomas().isEmpty() ? DruvexSim::Toma{} : sim.tomas().last(); }

    TempFolder wf;
    ScriptedDialogs dialogs;
    QStringList modales;
    clsTransaccion t;
    DruvexSim sim{wf.path()};
};

}

TEST_F(Sender, HeaderWithServicesDiagnosesAndAttachmentIsApproved)
{
    wf.write("adjunto.txt", "ab");
    sim.iniciar();
    ASSERT_TRUE(completarCabecera(t));
    t.AgregarItemSVL2("420101", "1", "1", "2", "", "");
    t.AgregarItemSVL2("420102", "1", "1", "1", "", "");
    t.AgregarItemSVL4("J06");
    ASSERT_TRUE(t.AdjuntarArchivo(wf.file("adjunto.txt")));

    EXPECT_TRUE(t.EnviarTransaccion());
    EXPECT_EQ(t.UltimaEspera(), 100000);
    EXPECT_TRUE(t.TransaccionRealizada());
    EXPECT_FALSE(t.TransaccionCancelada());
    EXPECT_TRUE(t.TransaccionAprobada());
    EXPECT_EQ(t.CantidadErrores(), 0);
    EXPECT_TRUE(t.RespuestaDRUVEX().startsWith('0'));
    EXPECT_FALSE(t.RespuestaValidador().isEmpty());
    EXPECT_EQ(t.GetElTicket(), t.RespuestaValidador());
    EXPECT_TRUE(t.CodigoBarras().startsWith('*') && t.CodigoBarras().endsWith('*') && t.CodigoBarras().contains("JW"));
    EXPECT_EQ(modales, QStringList{"frmMuestraTicket"});

    const auto toma = ultimaToma();
    EXPECT_TRUE(toma.upload.contains("_svl.1") && toma.upload.contains("_svl.5") && toma.upload.contains("_svl.4"));
    EXPECT_EQ(toma.upload.value("_svl.2").size(), 2 * 162);
    EXPECT_EQ(toma.upload.value("_svl.0").size(), 16);
    EXPECT_TRUE(toma.upload.value("_svl.0").endsWith("ABCD1234"));
    bool hex = false;
    for (const QString& k : toma.upload.keys()) hex = hex || k.startsWith("hex_", Qt::CaseInsensitive);
    EXPECT_TRUE(hex);
    EXPECT_EQ(General::SVL2Actual.size(), 2 * 162);
    EXPECT_EQ(t.CarpetaTerminal().isEmpty(), false);
}

TEST_F(Sender, OutcomesAgainstTheResultTable)
{
    struct Case {
        const char* nombre;
        DruvexSim::Modo modo;
        const char* codigo;
        bool aprobada;
        qint16 errores;
        bool listaMostrada;
    };
    const Case cases[] = {
        {"approve", DruvexSim::Modo::Aprobar, "", true, 0, false},
        {"approve 0099", DruvexSim::Modo::Rechazar, "0099", true, 0, false},
        {"reject", DruvexSim::Modo::Rechazar, "0051", false, 1, true},
        {"reject non-numeric", DruvexSim::Modo::Rechazar, "E001", false, 1, true},
        {"ERROR in ticket", DruvexSim::Modo::ErrorEnTicket, "", false, 0, false},
    };
    sim.iniciar();
    for (const auto& c : cases) {
        DruvexSim::Guion g;
        g.modo = c.modo;
        g.codigoRespuesta = QString::fromLatin1(c.codigo);
        g.mensaje = "RECHAZADO";
        sim.setGuion(g);
        modales.clear();
        clsTransaccion tx;
        tx.setPasoDRUVEX(wf.path());
        tx.setMostrarFormProceso(false);
        tx.setVerTicket(false);
        ASSERT_TRUE(completarCabecera(tx));
        EXPECT_TRUE(tx.EnviarTransaccion()) << c.nombre;
        EXPECT_TRUE(tx.TransaccionRealizada()) << c.nombre;
        EXPECT_EQ(tx.TransaccionAprobada(), c.aprobada) << c.nombre;
        EXPECT_EQ(tx.CantidadErrores(), c.errores) << c.nombre;
        EXPECT_EQ(modales.contains("frmMostrarErrores"), c.listaMostrada) << c.nombre;
        EXPECT_EQ(tx.UltimaEspera(), 30000);
        EXPECT_TRUE(tx.TerminalFijo().isEmpty());
        EXPECT_FALSE(wf.exists(tx.NombreTerminal())) << "a per-exchange folder is removed";
    }
}

TEST_F(Sender, TimeOutGivesOneClientErrorAndTrue)
{
    DruvexSim::Guion g;
    g.modo = DruvexSim::Modo::NoTomar;
    sim.setGuion(g);
    sim.iniciar();
    t.setTiempoEspera(2);
    ASSERT_TRUE(completarCabecera(t));
    EXPECT_TRUE(t.EnviarTransaccion());
    EXPECT_FALSE(t.TransaccionCancelada());
    EXPECT_FALSE(t.TransaccionRealizada());
    EXPECT_FALSE(t.TransaccionAprobada());
    ASSERT_EQ(t.colErrores.size(), 1);
    EXPECT_EQ(t.colErrores[0].Clave, "DRUVEX");
    EXPECT_EQ(t.colErrores[0].Error, "-1: Cancelado por Time Out");
    EXPECT_EQ(t.colErrores[0].Comentario, "Error en configuración de druvex");
}

TEST_F(Sender, WriterFailureBecomesAClientErrorItem)
{
    sim.iniciar();
    ASSERT_TRUE(t.CompletarSVL1(1, "20123456789", "6001234567", "", "MN", "12345678", "", "", "", "", "0", "20240305",
                                "1030", false, "1", "", ""));
    EXPECT_FALSE(t.EnviarTransaccion()); // the wait never ran, so there is no result text
    ASSERT_EQ(t.colErrores.size(), 1);
    EXPECT_EQ(t.colErrores[0].Clave, "DRUVEX");
    EXPECT_TRUE(t.colErrores[0].Comentario.contains("AUNMAT"));
    EXPECT_FALSE(t.TransaccionCancelada() || t.TransaccionRealizada() || t.TransaccionAprobada());
    EXPECT_TRUE(sim.tomas().isEmpty());
}

TEST_F(Sender, CloseCatalogueAndPrescriptionPaths)
{
    sim.iniciar();
    {
        clsTransaccion tx;
        tx.setPasoDRUVEX(wf.path() + "Term02");
        tx.setMostrarFormProceso(false);
        ASSERT_TRUE(tx.CompletarSAL0(9, "0", "01/03/2024", "05/03/2024", "0", "0", "0", "0", "0", "0", "0", "20123456789"));
        EXPECT_TRUE(tx.EnviarTransaccion());
        EXPECT_EQ(tx.UltimaEspera(), 50000);
        EXPECT_TRUE(tx.TransaccionRealizada());
        EXPECT_FALSE(tx.TransaccionAprobada()); // the close answer item always counts
        EXPECT_GE(tx.CantidadErrores(), 1);
        EXPECT_TRUE(ultimaToma().upload.contains("_sal.0"));
        EXPECT_TRUE(tx.CodigoBarras().isEmpty());
    }
    {
        clsTransaccion tx;
        tx.setPasoDRUVEX(wf.path() + "Term03");
        tx.setMostrarFormProceso(false);
        tx.setTiempoEspera(10);
        ASSERT_TRUE(tx.CompletarSAL5(20, " 6001234567 ", "IBUPROFENO", "", "1"));
        EXPECT_EQ(tx.TarjetaAsociado(), "6001234567");
        EXPECT_TRUE(tx.EnviarTransaccion());
        EXPECT_EQ(tx.UltimaEspera(), 10000);
        EXPECT_TRUE(ultimaToma().upload.contains("_svl.7"));
    }
    {
        clsTransaccion tx;
        tx.setPasoDRUVEX(wf.path() + "Term04");
        tx.setMostrarFormProceso(false);
        tx.setVerTicket(false);
        ASSERT_TRUE(tx.CompletarSVL6(21, "6001234567", "20123456789", "S", "1144445555", "Calle 1", "1000"));
        tx.AgregarItemSVL3("1234567", "2");
        tx.AgregarItemSVL3("7654321", "1");
        EXPECT_TRUE(tx.EnviarTransaccion());
        const auto toma = ultimaToma();
        EXPECT_TRUE(toma.upload.contains("_svl.6"));
        EXPECT_EQ(toma.upload.value("_svl.3").size(), 2 * 246);
        EXPECT_FALSE(toma.upload.contains("_svl.1"));
    }
}

TEST_F(Sender, NothingMarkedOrNoBaseFolder)
{
    EXPECT_FALSE(t.EnviarTransaccion());
    EXPECT_TRUE(t.TransaccionCancelada());
    EXPECT_FALSE(t.TransaccionRealizada());

    clsTransaccion sinBase;
    sinBase.setPasoDRUVEX("");
    EXPECT_FALSE(sinBase.EnviarTransaccion());
    EXPECT_FALSE(sinBase.TransaccionCancelada()); // untouched

    clsTransaccion tx;
    EXPECT_FALSE(tx.CompletarSAL0(5, "", "", "", "0", "0", "0", "0", "0", "0", "0", ""));
    EXPECT_FALSE(tx.Cierres().existo());
    EXPECT_TRUE(tx.CompletarSAL0(5, "", "", "", "", "0", "0", "0", "0", "0", "0", ""));
}

TEST_F(Sender, RepeatedRequestGoesOutAsThePreviousRecord)
{
    sim.iniciar();
    const auto enviar = [&](const QString& fecha, const QString& nro, int operacion, const QString& servicio) {
        clsTransaccion tx;
        tx.setPasoDRUVEX(wf.path() + "Term05");
        tx.setMostrarFormProceso(false);
        tx.setVerTicket(false);
        tx.CompletarSVL1(operacion, "20123456789", "6001234567", "", "", "", "", "", "", "", "0", fecha, "1030", false,
                         nro, "", "");
        tx.AgregarItemSVL2(servicio, "1", "1", "1", "", "");
        EXPECT_TRUE(tx.EnviarTransaccion());
        return ultimaToma().upload.value("_svl.1");
    };
    const QByteArray primero = enviar("20240305", "1", 1, "420101");
    const QByteArray segundo = enviar("20240306", "2", 1, "420101");
    EXPECT_EQ(segundo, primero) << "same request: the previous record goes out again";
    const QByteArray otroServicio = enviar("20240307", "3", 1, "420199");
    EXPECT_NE(otroServicio, primero);

    // Operation "15" is never replaced.
    int op15 = -1;
    for (int op = 1; op < 100 && op15 < 0; ++op)
        if (clsTicket::CodigoOperacion(op, QString()) == "15") op15 = op;
    ASSERT_GT(op15, 0);
    const QByteArray a = enviar("20240305", "1", op15, "420101");
    const QByteArray b = enviar("20240306", "2", op15, "420101");
    EXPECT_NE(a, b);
}

TEST(SenderSettings, WaitTimeLicenceAndBarcode)
{
    struct Case { qint32 segundos; qint32 ms; };
    const Case cases[] = {{30, 30000}, {45, 45000}, {90, 60000}, {10, 10000}, {0, 1000}, {-5, 1000}};
    clsTransaccion t;
    for (const auto& c : cases) {
        t.setTiempoEspera(c.segundos);
        EXPECT_EQ(t.TiempoEsperaMs(), c.ms) << c.segundos;
    }
    t.Configurar("ABC1234", "1", "2");
    EXPECT_EQ(t.Licencia(), "");
    t.Configurar("ABCD1234", "1", "2");
    EXPECT_EQ(t.Licencia(), "ABCD1234");

    QString svl1(381, ' ');
    svl1.replace(262, 10, "9800004521");
    EXPECT_EQ(clsTransaccion::ArmarCodigoBarras(svl1, QDate(2024, 3, 5)), "*20240305JW00004521*");
    svl1.replace(262, 10, "1200004521");
    EXPECT_EQ(clsTransaccion::ArmarCodigoBarras(svl1, QDate(2024, 3, 5)), "*20240305JW1200004521*");
}
