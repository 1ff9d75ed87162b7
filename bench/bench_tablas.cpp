// Applying a table-update answer on the embedded SQLite database: 10,000 and 50,000 service
// lines and 10,000 doctor lines, first into empty tables (inserts), then again (updates).
// Each line is a lookup and a write committed on its own, as a partial run must leave it.
#include "config/GeneralTablas.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Database.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString Prestaciones(int n)
{
    QByteArray t;
    t.reserve(n * 176);
    for (int i = 0; i < n; ++i)
        t += DruvexSim::LineaPrestacion(QString::number(100000 + i), QStringLiteral("PRESTACION NUMERO %1").arg(i));
    return QString::fromLatin1(t);
}

QString Medicos(int n)
{
    QByteArray t;
    t.reserve(n * 51);
    for (int i = 0; i < n; ++i)
        t += DruvexSim::LineaMedico(1000 + i, QStringLiteral("MP"), QStringLiteral("MEDICO %1").arg(i), false);
    return QString::fromLatin1(t);
}

void Vaciar(const char* tabla)
{
    Database db;
    db.Open();
    db.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(tabla)));
}

// Milliseconds to apply one list into an empty table (actualizar false) or over its own rows.
double Aplicar(bool medicos, const QString& texto, bool actualizar)
{
    auto tx = std::make_shared<clsTransaccion>();
    if (medicos)
        tx->gMedicos = texto;
    else
        tx->gPracticas = texto;
    General::TransaccionActual = tx;
    if (!actualizar)
        Vaciar(medicos ? "Medicos" : "Prestaciones");
    QElapsedTimer t;
    t.start();
    const bool ok = General::ProcesarActualizacionTablas(false, medicos, false, !medicos, false, false, false, false,
                                                         false, false);
    const double ms = t.nsecsElapsed() / 1e6;
    General::TransaccionActual.reset();
    if (!ok)
        std::fprintf(stderr, "la aplicación falló\n");
    return ms;
}

void BM_AplicarPrestaciones(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool actualizar = state.range(1) != 0;
    const QString texto = Prestaciones(n);
    if (actualizar)
        Aplicar(false, texto, false);
    for (auto _ : state)
        state.SetIterationTime(Aplicar(false, texto, actualizar) / 1000.0);
    state.counters["lineas/s"] = benchmark::Counter(double(n) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_AplicarMedicos(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool actualizar = state.range(1) != 0;
    const QString texto = Medicos(n);
    if (actualizar)
        Aplicar(true, texto, false);
    for (auto _ : state)
        state.SetIterationTime(Aplicar(true, texto, actualizar) / 1000.0);
    state.counters["lineas/s"] = benchmark::Counter(double(n) * state.iterations(), benchmark::Counter::kIsRate);
}

}

// Arguments: lines, and 0 for inserts into an empty table or 1 for updates of existing rows.
BENCHMARK(BM_AplicarPrestaciones)->Args({10000, 0})->Args({50000, 0})->Args({50000, 1})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_AplicarMedicos)->Args({10000, 0})->Args({10000, 1})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogs dialogos;
    {
        Database db;
        db.Open();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Linear: five times the lines may take at most six times as long.
    const double t10 = Aplicar(false, Prestaciones(10000), false);
    const double t50 = Aplicar(false, Prestaciones(50000), false);
    const double razon = t50 / t10;
    std::printf("prestaciones: 10000 en %.0f ms, 50000 en %.0f ms, razón %.2f (%s)\n", t10, t50, razon,
                razon <= 6.0 ? "lineal" : "NO lineal");
    return razon <= 6.0 ? 0 : 1;
}
