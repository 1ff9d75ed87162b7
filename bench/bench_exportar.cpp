// The export window's text files over 10,000 and 100,000 logged transactions (one service
// each) in the Osde and Servesalud layouts, on the embedded SQLite and, when QUORVAN_TEST_PG
// names the test server, on PostgreSQL in a schema of its own. The rows stream from the
// driver into the file, so the peak memory must not grow with the number of rows.
#include "MemoriaPico.h"
#include "platform/Database.h"
#include "reports/modExportarDatos.h"
#include "support/InsertarPorLotes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* g_destino = nullptr;
QString g_sqlite, g_postgresql;

void Sembrar(const QString& conexion, int n)
{
    Database db;
    db.OpenConnectionString(conexion);
    db.EnsureSchema();
    db.EnTransaccion([&] {
        for (const char* t : {"Transaccion", "ItemPrestaciones", "Prestadores", "Efectores"})
            db.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
        db.Execute(QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, codigoOSDE) "
                                  "VALUES (1, 'CLINICA DEL SOL', '30700000049', 12345)"));
        db.Execute(QStringLiteral("INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula) "
                                  "VALUES (1, 'EFECTOR', '20111111112', '4455', 'C1')"));
        InsertarPorLotes(db,
                         QStringLiteral("INSERT INTO Transaccion (Ticket, Fecha, FechaPrestacion, Tarjeta, Operacion, "
                                        "Prestador, PrestadorSolicitante, MatriculaMedicoPrescriptor, "
                                        "TipoMatriculaMPrescriptor, NumeroAutorizacion, CodigoEmpresa) VALUES "),
                         11, n, [](int i) {
                             const QString dia = QStringLiteral("202403%1").arg(1 + i % 28, 2, 10, QLatin1Char('0'));
                             return QVariantList{100000 + i, dia, dia, QString::number(6000000000LL + i),
                                                 QStringLiteral("11"), QStringLiteral("30700000049"),
                                                 QStringLiteral("20111111112"), QStringLiteral("12345"),
                                                 QStringLiteral("PM"), QString::number(i % 999999), 11};
                         });
        InsertarPorLotes(db, QStringLiteral("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES "),
                         3, n, [](int i) { return QVariantList{100000 + i, QString::number(420101 + i % 50), 1}; });
    });
}

// Arguments: rows, layout (2 Osde, 3 Servesalud), engine (0 SQLite, 1 PostgreSQL), and 1 for
// the streaming connection the export uses, 0 for a plain one (the drivers' defaults).
void BM_ExportarTexto(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const auto formato = static_cast<qint32>(state.range(1));
    const QString conexion = state.range(2) == 0 ? g_sqlite : g_postgresql;
    if (conexion.isEmpty()) {
        state.SkipWithError("QUORVAN_TEST_PG is not set");
        for (auto _ : state) {}
        return;
    }
    Sembrar(conexion, n);
    qputenv("QUORVAN_DSN", conexion.toUtf8());
    const auto consulta = modExportarDatos::ArmarConsulta(formato, QDate(2024, 3, 1), QDate(2024, 3, 31),
                                                          QStringLiteral("11"));
    const QString ruta = g_destino->filePath(QStringLiteral("export.txt"));
    long pico = 0, base = 0;
    for (auto _ : state) {
        Database cn;
        if (state.range(3))
            cn.OpenStreaming();
        else
            cn.Open();
        MemoriaPico::Reiniciar();
        base = MemoriaPico::KiB();
        const auto r = modExportarDatos::ExportarTexto(cn, formato, consulta, ruta);
        pico = MemoriaPico::KiB();
        if (!r.escrito || r.filas != n) state.SkipWithError("wrong row count or file not written");
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(n) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
    state.counters["peak_growth_KiB"] = static_cast<double>(pico - base);
}

}

BENCHMARK(BM_ExportarTexto)
    ->ArgsProduct({{10000, 100000}, {2, 3}, {0, 1}, {1}})
    ->Args({100000, 2, 0, 0})
    ->Args({100000, 2, 1, 0})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    QTemporaryDir destino;
    g_destino = &destino;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_sqlite = Database::SQLiteConnectionString(home.filePath(QStringLiteral("Quorvan.db")));
    // PostgreSQL in a schema of its own, dropped at the end.
    const QString pg = qEnvironmentVariable("QUORVAN_TEST_PG");
    const QString esquema = QStringLiteral("bench_exportar_%1").arg(QCoreApplication::applicationPid());
    if (!pg.isEmpty()) {
        Database admin;
        admin.OpenConnectionString(pg);
        admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(esquema));
        g_postgresql = pg + QStringLiteral(";ConnSettings={SET search_path TO %1}").arg(esquema);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!pg.isEmpty()) {
        Database admin;
        admin.OpenConnectionString(pg);
        admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(esquema));
    }
    return 0;
}
