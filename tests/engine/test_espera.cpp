// The rules of the wait, without a window: any folder's status file, its own limits.
#include "engine/EsperaCliente.h"
#include "support/TempFolder.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {
constexpr int kTick = 20;

struct Tick {
    Tick() { EsperaCliente::setDuracionTick(kTick); }
    ~Tick() { EsperaCliente::setDuracionTick(1000); }
};
}

TEST(EsperaCliente, RulesOfTheWait)
{
    Tick tick;
    struct Caso {
        const char* nombre;
        LimitesEspera limites;
        bool disparoPendiente;
        const char* estadoAntes; // written before the wait, under this name ("" none)
        int respuestaEnTicks;    // the status appears then (0 never)
        QString esperado;
        int reinicios;
    } casos[] = {
        {"answer already there, any case", LimitesEspera::DeIntercambio(3000), false, "ESTADO.RSP", 0, "0 listo", 0},
        {"never taken", LimitesEspera::DeIntercambio(3000), true, "", 0, "-1: Cancelado por Time Out", 0},
        {"taken, extended once", LimitesEspera::DeIntercambio(3000), false, "", 0, "-1: Cancelado por Time Out", 1},
        {"taken, no extension allowed", {3000, 8000, true, 0}, false, "", 0, "-1: Cancelado por Time Out", 0},
        {"answer inside the extension", LimitesEspera::DeIntercambio(3000), false, "", 5, "0 tarde", 1},
        {"safety timer first", {30000, 2000, true, 1}, false, "", 0, "-1: Cancelado por ejecucion fallida", 0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        TempFolder tf;
        tf.mkdir("termupg");
        if (c.disparoPendiente) tf.write("tx/termupg", "");
        if (*c.estadoAntes) tf.write(QStringLiteral("termupg/") + c.estadoAntes, "0 listo\r\n");
        if (c.respuestaEnTicks)
            QTimer::singleShot(c.respuestaEnTicks * kTick, [&] { tf.write("termupg/estado.rsp", "0 tarde"); });
        EsperaCliente espera;
        espera.Iniciar(tf.file("termupg/estado.rsp"), tf.file("tx/termupg"), c.limites);
        EXPECT_EQ(espera.Esperar(), c.esperado);
        EXPECT_EQ(espera.Reinicios(), c.reinicios);
        EXPECT_FALSE(espera.Esperando());
        EXPECT_FALSE(espera.TimerEspera->isActive());
        // A request the client never took is taken back.
        EXPECT_FALSE(tf.exists("tx/termupg"));
    }
}

TEST(EsperaCliente, LimitsOfAnExchange)
{
    const LimitesEspera corto = LimitesEspera::DeIntercambio(30000);
    EXPECT_EQ(corto.SeguridadMs, 35000);
    EXPECT_TRUE(corto.SeguridadDesdeElInicio);
    EXPECT_EQ(corto.Extensiones, 1);
    EXPECT_FALSE(LimitesEspera::DeIntercambio(100000).SeguridadDesdeElInicio);
}
