// Loading and saving a large terminal configuration on the embedded SQLite database:
// 20,000 services, 5,000 doctors, 500 providers and 500 effectors.
#include "config/clsConfig.h"
#include "config/Coleccion.h"
#include "engine/General.h"
#include "platform/Database.h"
#include "platform/Printers.h"
#include "support/InsertarPorLotes.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "DatosConfig.h"

namespace {

using namespace DatosConfig;

qint64 filasDeLaConfiguracion()
{
    return kPrestaciones + kMedicos + kPrestadores + kEfectores + kObrasSociales + kDiagnosticos;
}

void BM_LoadConfig(benchmark::State& state)
{
    clsConfig cfg;
    for (auto _ : state) {
        const bool ok = cfg.LoadConfig(1, false);
        benchmark::DoNotOptimize(ok);
    }
    state.SetItemsProcessed(state.iterations() * filasDeLaConfiguracion());
    state.counters["prestaciones"] = cfg.PrestacionesCol()->Count();
}

// Doctors are not written by UpdateConfig; the rows saved are the other lists.
void BM_UpdateConfig(benchmark::State& state)
{
    clsConfig cfg;
    cfg.LoadConfig(1, false);
    for (auto _ : state) cfg.UpdateConfig();
    state.SetItemsProcessed(state.iterations() * (filasDeLaConfiguracion() - kMedicos));
}

}

BENCHMARK(BM_LoadConfig)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_UpdateConfig)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Printers::setTestPrinters({}, QString());
    poblar();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
