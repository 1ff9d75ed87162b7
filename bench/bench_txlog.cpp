// The transaction log on the embedded SQLite database: exporting 10,000 and 100,000 logged
// requests (two lines and an answer each) into the three detail files, and the details listing
// over 10,000 and 50,000 off-line transactions. The files are streamed, so writing them takes
// no more memory for more rows; the deletion that follows, one transaction over every exported
// row, holds the database pages it changes until it commits.
#include "MemoriaPico.h"
#include "platform/Database.h"
#include "support/InsertarPorLotes.h"
#include "txlog/clsLog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* g_destino = nullptr;

void Solicitudes(int n)
{
    Database db;
    db.Open();
    db.EnTransaccion([&] {
        for (const char* t : {"TOSDE_svl1", "TOSDE_svl2", "TOSDE_svl3"})
            db.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        InsertarPorLotes(db, QStringLiteral("INSERT INTO TOSDE_svl1 (IdTerminal, NumeroTransaccion, AUCUIT, AUISOA, AUASOA, "
                                    "AUTRAC, AUATRC, NombreMedico, NombreAfiliado, FechaTransaccion, Diferida) VALUES "),
                 11, n, [](int i) {
                     return QVariantList{999, i + 1, QStringLiteral("20123456789"), QStringLiteral("000001"),
                                         QString::number(1000000 + i % 5000), QStringLiteral("02"), QStringLiteral("A"),
                                         QStringLiteral("Dra. Núñez"), QStringLiteral("Afiliado %1").arg(i),
                                         QStringLiteral("20240315"), 0};
                 });
        InsertarPorLotes(db, QStringLiteral("INSERT INTO TOSDE_svl2 (NumeroTransaccion, AUPRE, AUTIP, AUARA, AUCAN, AUODP, "
                                    "AUODC, AURES) VALUES "),
                 8, 2 * n, [](int i) {
                     return QVariantList{i / 2 + 1, QString::number(420101 + i % 2), QStringLiteral("1"),
                                         QStringLiteral("0"), QStringLiteral("1"), QString(), QString(),
                                         QStringLiteral("00")};
                 });
        InsertarPorLotes(db, QStringLiteral("INSERT INTO TOSDE_svl3 (NumeroTransaccion, AUAUTO, AUWHOO, AUREST, AULEYD, "
                                    "AULEYP, AUMONT, AUSYST) VALUES "),
                 8, n, [](int i) {
                     return QVariantList{i + 1, QStringLiteral("S"), QStringLiteral("OSDE"), QStringLiteral("OK"),
                                         QStringLiteral("Aprobada"), QString(), QStringLiteral("12.5"),
                                         QStringLiteral("SYS")};
                 });
    });
}

void Capturas(int n)
{
    Database db;
    db.Open();
    db.EnTransaccion([&] {
        for (const char* t : {"TGenerica_svl1", "TGenerica_svl2", "ObrasSociales", "Prestaciones"})
            db.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db.Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre) VALUES (7, 'Salud Sur')"));
        InsertarPorLotes(db, QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, Descripcion) VALUES "),
                 3, 500, [](int i) {
                     return QVariantList{7, QString::number(420000 + i), QStringLiteral("Práctica %1").arg(i)};
                 });
        InsertarPorLotes(db, QStringLiteral("INSERT INTO TGenerica_svl1 (IdTerminal, NumeroTransaccion, CodigoTransaccion, "
                                    "NombreAfiliado, NumeroAfiliado, FechaTransaccion, IdObraSocial) VALUES "),
                 7, n, [](int i) {
                     return QVariantList{1, i + 1, QStringLiteral("2A"), QStringLiteral("Afiliado %1").arg(i % 3000),
                                         QString::number(500000 + i % 3000),
                                         QStringLiteral("202403%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')), 7};
                 });
        InsertarPorLotes(db, QStringLiteral("INSERT INTO TGenerica_svl2 (NumeroTransaccion, CodigoPrestacion, "
                                    "CodigoAutorizacion, Diagnostico) VALUES "),
                 4, 2 * n, [](int i) { return QVariantList{i / 2 + 1, 420000 + i % 600, 0, QStringLiteral("J01")}; });
    });
}

void BM_Export(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    long pico = 0, base = 0;
    for (auto _ : state) {
        Solicitudes(n);
        clsLog log;
        log.TxOSDE()->ObraSocial = QStringLiteral("OSDE");
        MemoriaPico::Reiniciar();
        base = MemoriaPico::KiB();
        QElapsedTimer t;
        t.start();
        const qint32 filas = log.TxOSDE()->Export(g_destino->path(), true, QStringLiteral("TAB"));
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        pico = MemoriaPico::KiB();
        if (filas != 4 * n)
            state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * 4 * n);
    state.counters["rows/s"] = benchmark::Counter(4.0 * n * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_growth_KiB"] = static_cast<double>(pico - base);
}

// The streaming alone: the lines file of the same requests (two rows each), no deletion.
void BM_ExportFile(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Solicitudes(n);
    clsLog log;
    long pico = 0, base = 0;
    for (auto _ : state) {
        MemoriaPico::Reiniciar();
        base = MemoriaPico::KiB();
        const qint32 filas = log.TxOSDE()->ExportFile(QStringLiteral("SELECT * FROM TOSDE_svl2"),
                                                      g_destino->filePath(QStringLiteral("lineas.txt")),
                                                      QStringLiteral("TAB"));
        pico = MemoriaPico::KiB();
        if (filas != 2 * n)
            state.SkipWithError("wrong row count");
    }
    state.counters["rows/s"] = benchmark::Counter(2.0 * n * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["peak_growth_KiB"] = static_cast<double>(pico - base);
}

void BM_ListadoDetalles(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Capturas(n);
    clsLog log;
    auto tx = log.TxGenerica();
    tx->ObraSocial = QStringLiteral("Salud Sur");
    qsizetype largo = 0;
    for (auto _ : state) {
        const QString texto = tx->PrintReport(1, QStringLiteral("01/03/2024"), QStringLiteral("31/03/2024"), 0, 0, false);
        largo = texto.size();
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["chars"] = static_cast<double>(largo);
}

}

BENCHMARK(BM_Export)->Arg(10000)->Arg(100000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFile)->Arg(10000)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListadoDetalles)->Arg(10000)->Arg(50000)->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    QTemporaryDir destino;
    g_destino = &destino;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
