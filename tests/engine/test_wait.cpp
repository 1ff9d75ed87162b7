// The wait for the client's status file: every result text, the extension, the safety timer,
// the visible and hidden modes, and an idle CPU while waiting.
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/time.h>

namespace {

constexpr int kTick = 40; // ms per "second" of the wait in these tests

class Wait : public ::testing::Test {
protected:
    void SetUp() override { frmProcesandoCO::setDuracionTick(kTick); }
    void TearDown() override { frmProcesandoCO::setDuracionTick(1000); }
};

// One request handed over to the simulated client up to the trigger.
struct Intercambio {
    TempFolder wf;
    clsTransaccion t;
    DruvexSim sim{wf.path()};

    explicit Intercambio(const DruvexSim::Guion& g, bool conCliente = true)
    {
        t.setPasoDRUVEX(wf.path() + "Term01");
        sim.setGuion(g);
        if (conCliente) sim.iniciar();
        EXPECT_TRUE(t.PrepararCarpetaTerminal());
        EXPECT_TRUE(t.LimpiarDescargas());
        EXPECT_TRUE(t.EscribirControlSVL0());
    }
};

void EscribirEstado(const QString& carpeta, const QByteArray& texto)
{
    QFile f(carpeta + "/estado.tmp");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texto);
    f.close();
    // rename(2) replaces an existing status at once, as the client does.
    ASSERT_EQ(std::rename(QFile::encodeName(carpeta + "/estado.tmp").constData(),
                          QFile::encodeName(carpeta + "/estado.rsp").constData()),
              0);
}

}

TEST_F(Wait, ResultTextsWithTheSimulatedClient)
{
    using M = DruvexSim::Modo;
    struct Caso {
        const char* nombre;
        M modo;
        QString estado;
        int demoraMs;
        qint32 timeOut;
        bool baseVacia;
        QString esperado;
        int reinicios;
    } casos[] = {
        {"approve", M::Aprobar, "0 Transaccion OK", 0, 3000, false, "0 Transaccion OK", 0},
        {"reject", M::Rechazar, "0", 0, 3000, false, "0", 0},
        {"client failure passes trimmed", M::Aprobar, "  -5: Sin conexion  ", 0, 3000, false, "-5: Sin conexion", 0},
        {"status with line end", M::Aprobar, "0\r\n", 0, 3000, false, "0", 0},
        {"never taken", M::NoTomar, "0", 0, 3000, false, "-1: Cancelado por Time Out", 0},
        {"never taken, no base given", M::NoTomar, "0", 0, 3000, true, "-1: Cancelado por Time Out", 0},
        {"taken, never answered", M::TomarSinResponder, "0", 0, 3000, false, "-1: Cancelado por Time Out", 1},
        {"empty status", M::EstadoVacio, "", 0, 3000, false, "-2: Error inesperado en comunicación", 0},
        // Extended at 5 ticks, given up at 10: the answer comes at 7.5.
        {"slow answer within the extension", M::Aprobar, "0 lento", 15 * kTick / 2, 5000, false, "0 lento", 1},
        {"slow answer, no base given", M::Aprobar, "0 lento", 15 * kTick / 2, 5000, true, "0 lento", 1},
    };
    for (const Caso& c : casos) {
        for (bool visible : {false, true}) {
            SCOPED_TRACE(std::string(c.nombre) + (visible ? " (visible)" : " (hidden)"));
            DruvexSim::Guion g;
            g.modo = c.modo;
            g.estado = c.estado;
            g.demoraMs = c.demoraMs;
            Intercambio x(g);
            ScriptedDialogs dialogs;
            frmProcesandoCO frm;
            bool vis = visible;
            QString base = c.baseVacia ? QString() : x.t.CarpetaBase();
            const QString r = frm.Cargar(c.timeOut, false, x.t.CarpetaTerminal(), vis, base);
            EXPECT_EQ(r, c.esperado);
            EXPECT_EQ(frm.Reinicios(), c.reinicios);
            EXPECT_FALSE(frm.Esperando());
            // A request the user was told had failed is never carried later.
            EXPECT_FALSE(QFileInfo::exists(x.wf.file("tx/Term01")));
            // The window runs modally unless the answer was there at the first tick.
            if (!visible || c.demoraMs > 0 || c.modo == M::NoTomar) {
                ASSERT_EQ(dialogs.shown.size(), visible ? 1 : 0);
                if (visible) EXPECT_EQ(dialogs.shown.first().text, "frmProcesandoCO");
            }
        }
    }
}

TEST_F(Wait, AnAnswerWrittenBeforeTheWaitBeganIsTaken)
{
    // A fast client may answer between the trigger and the wait: that answer is the result.
    Intercambio x(DruvexSim::Guion{}, false);
    EscribirEstado(x.t.CarpetaTerminal(), "0 rapido");
    frmProcesandoCO frm;
    bool vis = false;
    QString base = x.t.CarpetaBase();
    EXPECT_EQ(frm.Cargar(30000, false, x.t.CarpetaTerminal(), vis, base), "0 rapido");
    EXPECT_EQ(frm.Cuadro(), 1);
}

TEST_F(Wait, AnEmptyStatusIsReadAgainBeforeItCountsAsAFailure)
{
    // The first tick, at once, finds the status empty; it is complete before the next one.
    frmProcesandoCO::setDuracionTick(400);
    Intercambio x(DruvexSim::Guion{}, false);
    const QString term = x.t.CarpetaTerminal();
    EscribirEstado(term, "");
    frmProcesandoCO frm;
    QTimer::singleShot(200, [&] { EscribirEstado(term, "0 completo"); });
    bool vis = false;
    QString base = x.t.CarpetaBase();
    EXPECT_EQ(frm.Cargar(30000, false, term, vis, base), "0 completo");
}

TEST_F(Wait, SafetyTimer)
{
    struct Caso {
        qint32 timeOut;
        bool activo;
        int intervalo;
    } casos[] = {{30000, true, 35000 * kTick / 1000}, {99999, true, 104999 * kTick / 1000}, {100000, false, kTick}};
    for (const Caso& c : casos) {
        Intercambio x(DruvexSim::Guion{}, false);
        frmProcesandoCO frm;
        bool activo = !c.activo;
        int intervalo = 0;
        bool cancelarHabilitado = true;
        QTimer::singleShot(0, [&] {
            activo = frm.TimerForzarTimeOut->isActive();
            intervalo = frm.TimerForzarTimeOut->interval();
            cancelarHabilitado = frm.cmdCancelar->isEnabled();
            frm.cmdCancelar_Click();
        });
        bool vis = false;
        QString base = x.t.CarpetaBase();
        EXPECT_EQ(frm.Cargar(c.timeOut, true, x.t.CarpetaTerminal(), vis, base), "") << c.timeOut;
        EXPECT_EQ(activo, c.activo) << c.timeOut;
        EXPECT_EQ(intervalo, c.intervalo) << c.timeOut;
        EXPECT_FALSE(cancelarHabilitado);
    }

    // The safety timer ends the wait as a failed run, unless the answer is already there.
    for (bool conRespuesta : {false, true}) {
        DruvexSim::Guion g;
        g.modo = DruvexSim::Modo::TomarSinResponder;
        Intercambio x(g);
        ASSERT_TRUE(x.sim.esperarTomas(1, 5000));
        frmProcesandoCO frm;
        const QString term = x.t.CarpetaTerminal();
        QTimer::singleShot(2 * kTick, [&] {
            if (conRespuesta) EscribirEstado(term, "0 a tiempo");
            frm.TimerForzarTimeOut_Timer();
        });
        bool vis = false;
        QString base = x.t.CarpetaBase();
        EXPECT_EQ(frm.Cargar(30000, false, term, vis, base),
                  conRespuesta ? "0 a tiempo" : "-1: Cancelado por ejecucion fallida");
    }
}

TEST_F(Wait, WindowControls)
{
    frmProcesandoCO frm;
    EXPECT_EQ(frm.objectName(), "frmProcesandoCO");
    EXPECT_EQ(frm.cmdCancelar->text(), "Cancelar");
    EXPECT_EQ(frm.cmdCancelar->objectName(), "cmdCancelar");
    EXPECT_FALSE(frm.cmdCancelar->isEnabled());
    EXPECT_EQ(frm.TimerEspera->objectName(), "TimerEspera");
    EXPECT_EQ(frm.TimerForzarTimeOut->objectName(), "TimerForzarTimeOut");
    EXPECT_FALSE(frm.TimerEspera->isActive());
    EXPECT_FALSE(frm.TimerForzarTimeOut->isActive());
    EXPECT_EQ(frm.ImlEsperaKeys, (QStringList{"TAMBOR1", "TAMBOR2", "TAMBOR3", "TAMBOR4"}));
    ASSERT_EQ(frm.ImlEspera.size(), 4);
    // Four different frames, so the drum is seen to turn.
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(frm.ImlEspera[i].toImage(), frm.ImlEspera[j].toImage()) << i << " " << j;
}

// A resource check, not a timing test: a wait of three real seconds must leave the CPU idle.
TEST(WaitIdle, ThreeSecondWaitUsesLittleCpu)
{
    frmProcesandoCO::setDuracionTick(1000);
    DruvexSim::Guion g;
    g.modo = DruvexSim::Modo::NoTomar;
    Intercambio x(g);
    frmProcesandoCO frm;
    auto cpu = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    const double cpu0 = cpu();
    const qint64 t0 = DruvexSim::AhoraNs();
    bool vis = false;
    QString base = x.t.CarpetaBase();
    EXPECT_EQ(frm.Cargar(3000, false, x.t.CarpetaTerminal(), vis, base), "-1: Cancelado por Time Out");
    const double pared = (DruvexSim::AhoraNs() - t0) / 1e9;
    const double usado = cpu() - cpu0;
    EXPECT_GE(pared, 2.0); // the wait really ran its ticks
    std::printf("wait of %.2f s used %.4f s of CPU\n", pared, usado);
    EXPECT_LT(usado, 0.05 * pared) << "cpu " << usado << " s of " << pared << " s";
}
