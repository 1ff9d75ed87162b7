// Time from the simulated client's rename of "estado.rsp" to the end of the wait, with the
// wait's real one-second tick: the folder watcher, not the tick, must end it.
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "support/DruvexSim.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

static void BM_RenameToEndOfWait(benchmark::State& state)
{
    frmProcesandoCO::setDuracionTick(1000);
    TempFolder wf;
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path());
    DruvexSim sim(wf.path());
    DruvexSim::Guion g;
    // The answer comes after the wait has started, so the rename is really waited for.
    g.demoraMs = 30;
    sim.setGuion(g);
    sim.iniciar();
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        if (!t.PrepararCarpetaTerminal() || !t.LimpiarDescargas() || !t.EscribirControlSVL0()) {
            state.SkipWithError("folder set-up failed");
            break;
        }
        frmProcesandoCO frm;
        bool vis = false;
        QString base = t.CarpetaBase();
        const QString r = frm.Cargar(30000, false, t.CarpetaTerminal(), vis, base);
        const qint64 fin = DruvexSim::AhoraNs();
        ++n;
        if (!sim.esperarRespuestas(n, 5000) || r != QLatin1String("0")) {
            state.SkipWithError("no answer");
            break;
        }
        const double d = (fin - sim.tomas().at(n - 1).renombradoNs) / 1e6;
        ms.push_back(d);
        state.SetIterationTime(d / 1000.0);
        t.BorrarCarpetaTerminal();
    }
    sim.detener();
    if (!ms.empty()) {
        std::sort(ms.begin(), ms.end());
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["max_ms"] = ms.back();
        state.counters["min_ms"] = ms.front();
    }
}
BENCHMARK(BM_RenameToEndOfWait)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
