// The entry window's send of a verification with two service lines, from cmdAceptar_Click to
// the ticket window, against a simulated client that answers at once, on the embedded SQLite
// database. The client's own time (trigger seen to status renamed) is reported apart and taken
// out of Quorvan's.
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/FilaPrestacion.h"
#include "entry/frmEmuladorPOS.h"
#include "platform/Database.h"
#include "platform/Printers.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/DatosTerminal.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

void BM_EnvioVerificacion(benchmark::State& state)
{
    const QString trabajo = QDir(qEnvironmentVariable("QUORVAN_HOME")).filePath(QStringLiteral("druvex/"));
    QDir().mkpath(trabajo + QStringLiteral("tx"));
    {
        Database db;
        db.Open();
        db.EnsureSchema();
        DatosTerminal::ObraSocial(db, 1, QStringLiteral("Osde Binario"), 11, 2, true);
        DatosTerminal::Prestador(db, 1, QStringLiteral("CLINICA SOL"), QStringLiteral("30700000049"),
                                 QStringLiteral("00001234"), true);
        DatosTerminal::Terminal(db, {});
    }
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    General::gConfig->setDefaultOS(QString());
    General::DirectorioTrabajo = trabajo;
    frmProcesandoCO::setDuracionTick(1000);

    ScriptedDialogs dialogos;
    qint64 inicioTicket = 0;
    dialogos.modalHandler = [&](QDialog* d) {
        if (d->objectName() == QLatin1String("frmProcesandoCO")) return d->exec();
        if (d->objectName() == QLatin1String("frmMuestraTicket") && !inicioTicket) inicioTicket = DruvexSim::AhoraNs();
        return int(QDialog::Accepted);
    };
    DruvexSim sim(trabajo);
    sim.iniciar();
    frmMain ventana;
    ventana.show();
    ventana.ObraSocial->RefrescarLista();
    ventana.ObraSocial->lstObraSocial->setCurrentRow(0);

    std::vector<double> propio, cliente;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ventana.mnuVerificarPrestacion_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* f = qobject_cast<frmEmuladorPOS*>(ventana.FormularioTrabajo(QStringLiteral("frmEmuladorPOS")));
        if (!f) {
            state.SkipWithError("no entry window");
            break;
        }
        f->txtTarjeta->setText(QStringLiteral("60012345%1").arg(n));
        for (const char* codigo : {"420101", "420351"}) {
            FilaPrestacion fila{QLatin1String(codigo), QStringLiteral("1. Ambulatoria"), QStringLiteral("0. Todos"),
                                QStringLiteral("1"), QString(), QString(), QString()};
            auto* item = new QTreeWidgetItem;
            fila.EscribirEn(item);
            f->lvwPrestaciones->addTopLevelItem(item);
        }
        inicioTicket = 0;
        state.ResumeTiming();
        const qint64 inicio = DruvexSim::AhoraNs();
        f->cmdAceptar_Click();
        state.PauseTiming();
        ++n;
        if (!inicioTicket || !sim.esperarRespuestas(n, 5000)) {
            state.SkipWithError(("no ticket: " + dialogos.messages().join(QLatin1Char('|'))).toStdString().c_str());
            break;
        }
        const DruvexSim::Toma t = sim.tomas().at(n - 1);
        // The client's time: from seeing the trigger to its status in place.
        const double total = (inicioTicket - inicio) / 1e6;
        const double suyo = (t.renombradoNs - t.vistoNs) / 1e6;
        cliente.push_back(suyo);
        propio.push_back(total - suyo);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    sim.detener();
    const auto mediana = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["quorvan_median_ms"] = mediana(propio);
    state.counters["client_median_ms"] = mediana(cliente);
    General::gConfig.reset();
}

}

BENCHMARK(BM_EnvioVerificacion)->Iterations(50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Printers::setTestPrinters({}, QString());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
