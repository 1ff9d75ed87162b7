// The local report on the embedded SQLite database: Make_Report_txt over 10,000 and 100,000
// logged requests of one provider (the report window's own query, its values bound), and the
// time to load the text into the preview.
#include "platform/Database.h"
#include "platform/Platform.h"
#include "reports/clsReporte.h"
#include "reports/frmReporte.h"
#include "reports/frmTransacciones.h"
#include "support/InsertarPorLotes.h"
#include "txlog/clsLog.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void Solicitudes(int n)
{
    Database db;
    db.Open();
    db.EnTransaccion([&] {
        for (const char* t : {"TOSDE_svl1", "Efectores", "ObrasSociales", "Prestadores"})
            db.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db.Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, AUISOA) VALUES (1, 'OSDE', 2)"));
        db.Execute(QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit) VALUES (1, 'CLINICA', '30712345678')"));
        InsertarPorLotes(db, QStringLiteral("INSERT INTO Efectores (IdEfector, Nombre, Cuit) VALUES "), 3, 50, [](int i) {
            return QVariantList{i + 1, QStringLiteral("Efector %1").arg(i), QString::number(20100000000LL + i)};
        });
        InsertarPorLotes(db, QStringLiteral("INSERT INTO TOSDE_svl1 (IdTerminal, NumeroTransaccion, AUCUIT, AUISOA, AUFILA, "
                                            "AUASOA, AUBENA, AUDIGA, AUTRAC, AUATRC, AUTMAT, AUNMAT, AUCEFE, NombreAfiliado, "
                                            "FechaTransaccion, Diferida) VALUES "),
                         16, n, [](int i) {
                             // AUISOA as the log writes it, in six digits.
                             return QVariantList{1, i + 1, QStringLiteral("30712345678"), QStringLiteral("000002"),
                                                 QStringLiteral("01"), QString::number(1000000 + i % 5000),
                                                 QStringLiteral("00"), QStringLiteral("1"), QStringLiteral("T"),
                                                 QStringLiteral("A"), QStringLiteral("MP"), QString::number(100000 + i % 900),
                                                 QString::number(20100000000LL + i % 50), QStringLiteral("Afiliado %1").arg(i),
                                                 QStringLiteral("202403%1").arg(1 + i % 20, 2, 10, QLatin1Char('0')), 0};
                         });
    });
}

QString Reporte(int n)
{
    Solicitudes(n);
    frmReporte ventana;
    const frmReporte::ConsultaReporte consulta = ventana.ArmarConsultaReporte();
    clsReporte r;
    r.conexion = std::make_shared<clsLog>();
    r.strsSql_Detalle = consulta.Sql;
    r.valoresSql_Detalle = consulta.Valores;
    r.Make_Report_txt();
    return r.strReport_txt;
}

void BM_MakeReport(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Solicitudes(n);
    frmReporte ventana;
    const frmReporte::ConsultaReporte consulta = ventana.ArmarConsultaReporte();
    auto log = std::make_shared<clsLog>();
    qsizetype largo = 0;
    for (auto _ : state) {
        clsReporte r;
        r.conexion = log;
        r.strsSql_Detalle = consulta.Sql;
        r.valoresSql_Detalle = consulta.Valores;
        r.Make_Report_txt();
        largo = r.strReport_txt.size();
    }
    if (largo < n * 100) state.SkipWithError("rows missing from the report");
    state.counters["rows/s"] = benchmark::Counter(double(n) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["chars"] = static_cast<double>(largo);
}

void BM_Preview(benchmark::State& state)
{
    const QString texto = Reporte(static_cast<int>(state.range(0))).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (auto _ : state) {
        frmTransacciones vista;
        vista.txtReporte->setPlainText(texto);
        benchmark::DoNotOptimize(vista.txtReporte->blockCount());
    }
}

}

BENCHMARK(BM_MakeReport)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Preview)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window's dates take March 2024, where the logged requests are.
    Platform::setClock([] { return QDateTime(QDate(2024, 3, 31), QTime(12, 0)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
