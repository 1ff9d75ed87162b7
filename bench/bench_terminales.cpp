// Eight terminals logging at once into one database: eight processes of this program start at
// one instant and each logs a fixed count of answered transactions with two items through the
// log's one routine (rows and ticket file), on the embedded SQLite (one shared file) and on
// PostgreSQL when QUORVAN_TEST_PG is set (a schema of its own on the test server). Reported:
// answered transactions per second in all, and the ticket save's median and 99th percentile.
// Every transaction must be there exactly once with its items, or the run fails.
//
//     bench_terminales                      the benchmark
//     bench_terminales --terminal ...       one terminal (started by the benchmark)
#include "platform/Database.h"
#include "support/DatosTerminal.h"
#include "support/ScriptedDialogs.h"
#include "txlog/modTickets.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTerminales = 8;
constexpr int kPorTerminal = 250;

// One terminal: waits for the instant, logs `cantidad` transactions from ticket `primero` on,
// and writes each save's time in microseconds, one a line, then the end instant (ms).
int Terminal(qint64 instante, qint64 primero, int cantidad, const QString& salida)
{
    ScriptedDialogs dialogos;
    const QString items = DatosTerminal::Svl2Respondido(QStringLiteral("420101"), QStringLiteral("01")) +
                          DatosTerminal::Svl2Respondido(QStringLiteral("420351"), QStringLiteral("02"));
    for (qint64 falta; (falta = instante - QDateTime::currentMSecsSinceEpoch()) > 0;)
        QThread::usleep(falta > 5 ? 2000 : 50);
    std::vector<qint64> tiempos;
    tiempos.reserve(cantidad);
    QElapsedTimer reloj;
    for (int i = 0; i < cantidad; ++i) {
        reloj.start();
        modTickets::GuardarTicket(DatosTerminal::Svl1Respondido(primero + i), QStringLiteral("TICKET"),
                                  QStringLiteral("5"), items, 2);
        tiempos.push_back(reloj.nsecsElapsed() / 1000);
    }
    QByteArray texto;
    for (qint64 t : tiempos) texto += QByteArray::number(t) + '\n';
    texto += "fin " + QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '\n';
    QFile f(salida);
    if (!f.open(QIODevice::WriteOnly) || f.write(texto) != texto.size()) return 3;
    if (!dialogos.messages().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(dialogos.messages().join(QLatin1Char('\n'))));
        return 2;
    }
    return 0;
}

// The database of one run: a new SQLite file, or a new schema on the PostgreSQL test server.
struct BaseDeDatos {
    QString cadena;
    QString esquema; // PostgreSQL
    QString servidor;
    ~BaseDeDatos()
    {
        if (esquema.isEmpty()) return;
        try {
            Database admin;
            admin.OpenConnectionString(servidor);
            admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(esquema));
        } catch (const VbError&) {
        }
    }
};

void Terminales(benchmark::State& state, bool postgresql)
{
    QTemporaryDir home;
    BaseDeDatos base;
    if (postgresql) {
        base.servidor = qEnvironmentVariable("QUORVAN_TEST_PG");
        if (base.servidor.trimmed().isEmpty()) {
            state.SkipWithError("PostgreSQL run skipped: QUORVAN_TEST_PG is not set (source scripts/pg-test-server)");
            return;
        }
        base.esquema = QStringLiteral("bench_terminales_%1").arg(QCoreApplication::applicationPid());
        Database admin;
        admin.OpenConnectionString(base.servidor);
        admin.Execute(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(base.esquema));
        admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(base.esquema));
        base.cadena = base.servidor + QStringLiteral(";ConnSettings={SET search_path TO %1}").arg(base.esquema);
    } else {
        base.cadena = Database::SQLiteConnectionString(home.filePath(QStringLiteral("Quorvan.db")));
    }
    {
        Database db;
        db.OpenConnectionString(base.cadena);
        db.EnsureSchema();
    }
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QUORVAN_DSN"), base.cadena);
    entorno.insert(QStringLiteral("QUORVAN_HOME"), home.path());

    for (auto _ : state) {
        const qint64 instante = QDateTime::currentMSecsSinceEpoch() + 2000;
        std::vector<std::unique_ptr<QProcess>> terminales;
        for (int t = 0; t < kTerminales; ++t) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(entorno);
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--terminal"), QString::number(instante), QString::number((t + 1) * 1000000LL),
                      QString::number(kPorTerminal), home.filePath(QStringLiteral("tiempos%1").arg(t))});
            terminales.push_back(std::move(p));
        }
        std::vector<qint64> tiempos;
        qint64 fin = instante;
        for (int t = 0; t < kTerminales; ++t) {
            QProcess& p = *terminales[t];
            if (!p.waitForFinished(600000) || p.exitCode() != 0) {
                state.SkipWithError(qPrintable(QStringLiteral("terminal %1: %2").arg(t).arg(
                    QString::fromLocal8Bit(p.readAllStandardError()))));
                return;
            }
            QFile f(home.filePath(QStringLiteral("tiempos%1").arg(t)));
            f.open(QIODevice::ReadOnly);
            for (const QByteArray& linea : f.readAll().split('\n')) {
                if (linea.startsWith("fin ")) fin = std::max(fin, linea.mid(4).toLongLong());
                else if (!linea.isEmpty()) tiempos.push_back(linea.toLongLong());
            }
        }
        const double segundos = double(fin - instante) / 1000.0;
        state.SetIterationTime(segundos);
        std::sort(tiempos.begin(), tiempos.end());
        const auto percentil = [&](double p) {
            return tiempos.empty() ? 0.0 : double(tiempos[size_t(p * double(tiempos.size() - 1))]) / 1000.0;
        };
        state.counters["transacciones_por_s"] = double(tiempos.size()) / segundos;
        state.counters["guardado_mediana_ms"] = percentil(0.5);
        state.counters["guardado_p99_ms"] = percentil(0.99);
    }

    // Every transaction exactly once, with its two items.
    Database db;
    db.OpenConnectionString(base.cadena);
    const qint64 total = qint64(kTerminales) * kPorTerminal * state.iterations();
    const DbResult r = db.Query(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT Ticket) FROM Transaccion"));
    const qint64 items = db.Query(QStringLiteral("SELECT COUNT(*) FROM ItemPrestaciones")).value(0).toLongLong();
    if (r.value(0).toLongLong() != total || r.value(1).toLongLong() != total || items != 2 * total)
        state.SkipWithError(qPrintable(QStringLiteral("logged %1 rows, %2 tickets, %3 items of %4 transactions")
                                           .arg(r.value(0).toLongLong())
                                           .arg(r.value(1).toLongLong())
                                           .arg(items)
                                           .arg(total)));
}

} // namespace

BENCHMARK_CAPTURE(Terminales, SQLite, false)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Terminales, PostgreSQL, true)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 6 && qstrcmp(argv[1], "--terminal") == 0)
        return Terminal(QByteArray(argv[2]).toLongLong(), QByteArray(argv[3]).toLongLong(),
                        QByteArray(argv[4]).toInt(), QString::fromLocal8Bit(argv[5]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
