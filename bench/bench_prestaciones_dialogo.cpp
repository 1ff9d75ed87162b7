// Opening the off-line service-row dialog on the embedded SQLite database: loading the whole
// services catalogue and filling its list, with 20,000 and 50,000 services.
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "platform/Database.h"
#include "support/InsertarPorLotes.h"
#include "txlog/frmPrestacionGenerica.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

void Catalogo(int n)
{
    Database db;
    db.Open();
    db.EnTransaccion([&] {
        db.Execute(QStringLiteral("DELETE FROM Prestaciones"));
        InsertarPorLotes(db,
                         QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoInterno, CodigoPrestacion, Valor1, "
                                        "Valor2, Descripcion, Observaciones) VALUES "),
                         7, n, [](int i) {
                             return QVariantList{7, QString::number(880000 + i), QString::number(420000 + i),
                                                 QStringLiteral("1250.50"), QStringLiteral("0"),
                                                 QStringLiteral("Práctica ambulatoria %1").arg(i),
                                                 QStringLiteral("Sin observaciones")};
                         });
    });
}

void BM_AbrirDialogo(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Catalogo(n);
    QTreeWidget destino;
    for (auto _ : state) {
        frmPrestacionGenerica dialogo(&destino, QStringLiteral("(5) Salud Sur"));
        dialogo.Form_Load();
        if (dialogo.lvwPrestaciones->topLevelItemCount() != n) state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * n);
}

}

BENCHMARK(BM_AbrirDialogo)->Arg(20000)->Arg(50000)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    General::gConfig = std::make_shared<clsConfig>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    General::gConfig.reset();
    return 0;
}
