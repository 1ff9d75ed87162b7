// Opening the configuration window (its whole loading: a new configuration object, every
// list and box) and storing it ("Aceptar": checks, the database in one transaction, the
// registry, the reload) on bench_config's data set, on the embedded SQLite database.
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "platform/Printers.h"
#include "shell/frmConfigurar.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include "DatosConfig.h"

namespace {

void BM_AbrirConfiguracion(benchmark::State& state)
{
    ScriptedDialogs dialogs;
    dialogs.modalHandler = [](QDialog*) { return 0; };
    General::NumeroTerminal = 1;
    for (auto _ : state) frmConfigurar::Mostrar(false);
    // The window is gone after it closes; count what one loading fills.
    frmConfigurar w;
    w.Form_Load();
    const int filas = w.lvwPrestadores->topLevelItemCount() + w.lvwEfectores->topLevelItemCount() +
            w.lvwObraSocial->topLevelItemCount();
    if (!dialogs.messages().isEmpty()) state.SkipWithError(dialogs.messages().first().toUtf8().constData());
    state.counters["filas"] = filas;
    General::gConfig.reset();
}

void BM_GuardarConfiguracion(benchmark::State& state)
{
    ScriptedDialogs dialogs;
    dialogs.modalHandler = [](QDialog*) { return 0; };
    QTemporaryDir trabajo;
    General::NumeroTerminal = 1;
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("Terminal"), QStringLiteral("1"));
    int filas = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmConfigurar>();
        w->Form_Load();
        w->cboDirectorio->setEditText(trabajo.path());
        filas = w->lvwPrestadores->topLevelItemCount() + w->lvwEfectores->topLevelItemCount() +
                w->lvwObraSocial->topLevelItemCount() + w->lvwOperaciones->topLevelItemCount();
        state.ResumeTiming();
        w->cmdAceptar_Click();
    }
    if (!dialogs.messages().isEmpty()) state.SkipWithError(dialogs.messages().first().toUtf8().constData());
    state.counters["filas"] = filas;
    General::gConfig.reset();
}

}

BENCHMARK(BM_AbrirConfiguracion)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GuardarConfiguracion)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Printers::setTestPrinters({QStringLiteral("Ticketera")}, QStringLiteral("Ticketera"));
    DatosConfig::poblar();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
