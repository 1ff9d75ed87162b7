// Answers that cannot be trusted and writes that fail, driven through whole exchanges with the
// simulated client: none of them may pass as an approved exchange or leave a request half made.
#include "config/modRegistry.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "platform/EscrituraSegura.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Fallas : public ::testing::Test {
protected:
    void SetUp() override
    {
        frmProcesandoCO::setDuracionTick(40);
        General::ReiniciarControlRepeticion();
        dialogs.modalHandler = [](QDialog*) { return 1; };
    }
    void TearDown() override
    {
        EscrituraSegura::FallarEnOperacion(0);
        sim.detener();
        frmProcesandoCO::setDuracionTick(1000);
    }
    // A header request with one service, on the fixed terminal folder Term01.
    void preparar(clsTransaccion& t)
    {
        t.setPasoDRUVEX(wf.path() + "Term01");
        t.setMostrarFormProceso(false);
        t.setVerTicket(false);
        ASSERT_TRUE(t.CompletarSVL1(1, "20123456789", "6001234567", "", "", "", "", "", "", "", "0", "20240305",
                                    "1030", false, "12", "", ""));
        t.AgregarItemSVL2("420101", "1", "1", "1", "", "");
    }
    // Every file left in the working folder that a writer had not finished.
    QStringList temporales() const
    {
        QStringList r;
        QDirIterator it(wf.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            if (!f.endsWith("/_svl.0") && !f.contains("/tx/") && QFileInfo(f).fileName().count('.') > 1) r << f;
        }
        return r;
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    DruvexSim sim{wf.path()};
};

}

TEST_F(Fallas, AnAnswerThatCannotBeTrustedIsNotApproved)
{
    struct Caso {
        const char* nombre;
        DruvexSim::Guion guion;
        const char* codigo; // "" when the answer is read as today
        bool aprobada;
    };
    const auto guion = [](auto ajustar) {
        DruvexSim::Guion g;
        ajustar(g);
        return g;
    };
    const Caso casos[] = {
        {"rejection cut inside its code",
         guion([](auto& g) { g.modo = DruvexSim::Modo::Rechazar; g.cortarSVL1En = 309; }),
         "-1: Respuesta incompleta del cliente", false},
        {"neither header nor ticket", guion([](auto& g) { g.sinSVL1 = g.sinTicket = true; }),
         "-1: Respuesta incompleta del cliente", false},
        {"download unreadable", guion([](auto& g) { g.descargaIlegible = true; }),
         "-1: No se pudo leer la respuesta del cliente", false},
        // Not faults: a record cut after its code, a missing header beside a ticket.
        {"rejection cut after its code", guion([](auto& g) { g.modo = DruvexSim::Modo::Rechazar; g.cortarSVL1En = 311; }),
         "", false},
        {"header missing beside a ticket", guion([](auto& g) { g.sinSVL1 = true; }), "", true},
    };
    sim.iniciar();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        sim.setGuion(c.guion);
        QDir(wf.file("Term01")).removeRecursively(); // what the last case left behind
        clsTransaccion t;
        preparar(t);
        EXPECT_TRUE(t.EnviarTransaccion());
        EXPECT_EQ(t.TransaccionAprobada(), c.aprobada);
        if (*c.codigo) {
            EXPECT_FALSE(t.TransaccionRealizada());
            EXPECT_FALSE(t.TransaccionCancelada());
            ASSERT_EQ(t.colErrores.size(), 1);
            EXPECT_EQ(t.colErrores[0].Clave, "DRUVEX");
            EXPECT_EQ(t.colErrores[0].Error, c.codigo);
            EXPECT_TRUE(t.RespuestaValidador().isEmpty() && t.RespuestaDRUVEX().isEmpty() && t.GetElTicket().isEmpty() &&
                        t.GetSVL1().isEmpty());
        } else {
            EXPECT_TRUE(t.TransaccionRealizada());
        }
    }
}

TEST_F(Fallas, AServiceAnswerCutBeforeItsCommentIsListed)
{
    DruvexSim::Guion g;
    g.cortarSVL2En = 100;
    sim.setGuion(g);
    sim.iniciar();
    clsTransaccion t;
    preparar(t);
    EXPECT_TRUE(t.EnviarTransaccion());
    ASSERT_EQ(t.colErrores.size(), 2);
    EXPECT_EQ(t.colErrores[0].Clave, "SVL2");
    EXPECT_EQ(t.colErrores[0].Comentario, "Respuesta incompleta en _svl.2");
    EXPECT_FALSE(t.colErrores[0].Error.startsWith("-1"));
    EXPECT_EQ(t.colErrores[1].Clave, "SVL3"); // the header stays last
}

TEST_F(Fallas, ADownloadThatCannotBeEmptiedEndsTheSendWithItsReason)
{
    wf.write("Term01/download", "un archivo donde va la carpeta");
    sim.iniciar();
    clsTransaccion t;
    preparar(t);
    EXPECT_FALSE(t.EnviarTransaccion());
    ASSERT_EQ(t.colErrores.size(), 1);
    EXPECT_EQ(t.colErrores[0].Clave, "DRUVEX");
    EXPECT_TRUE(t.colErrores[0].Comentario.contains("Term01")) << t.colErrores[0].Comentario.toStdString();
    EXPECT_TRUE(sim.tomas().isEmpty());
}

TEST_F(Fallas, AFailingRecordWriteEndsTheSendAsAWriterFailure)
{
    // Each file is written and then renamed into place: the header (1, 2), the prescription
    // record (3, 4), the service file made empty and then filled (5 to 8), the control record (9, 10).
    sim.iniciar();
    for (int n : {1, 2, 4, 7, 10}) {
        SCOPED_TRACE(n);
        clsTransaccion t;
        preparar(t);
        EscrituraSegura::FallarEnOperacion(n);
        EXPECT_FALSE(t.EnviarTransaccion());
        EscrituraSegura::FallarEnOperacion(0);
        ASSERT_EQ(t.colErrores.size(), 1);
        EXPECT_EQ(t.colErrores[0].Clave, "DRUVEX");
        EXPECT_FALSE(t.TransaccionRealizada() || t.TransaccionAprobada());
        EXPECT_FALSE(wf.exists("tx/Term01")); // no trigger: the client never sees a part
        EXPECT_TRUE(temporales().isEmpty()) << temporales().join(' ').toStdString();
    }
    EXPECT_TRUE(sim.tomas().isEmpty());
}

TEST(FallasRegistro, AFailingRegistryWriteLeavesTheOldRegistryWhole)
{
    QTemporaryDir home;
    const QByteArray previo = qgetenv("QUORVAN_HOME");
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    ScriptedDialogs dialogs;
    ASSERT_TRUE(modRegistry::GuardarValorRegistro(1, "LicenciaSeleccionada", "ABCD1234"));
    QFile f(modRegistry::ArchivoRegistro());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antes = f.readAll();
    f.close();
    for (int n : {1, 2}) {
        EscrituraSegura::FallarEnOperacion(n);
        EXPECT_FALSE(modRegistry::GuardarValorRegistro(1, "LicenciaSeleccionada", "ZZZZ9999"));
        EscrituraSegura::FallarEnOperacion(0);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), antes);
        f.close();
    }
    EXPECT_EQ(QDir(QFileInfo(modRegistry::ArchivoRegistro()).path()).entryList(QDir::Files).size(), 1);
    qputenv("QUORVAN_HOME", previo);
}
