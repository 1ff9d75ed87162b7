// The export window's text files over 10,000 and 100,000 logged transactions (one service
// each) in the Osde and Servesalud layouts, on the embedded SQLite and, when QUORVAN_TEST_PG
// names the test server, on PostgreSQL in a schema of its own. The rows stream from the
// driver into the file, so the peak memory must not grow with the number of rows.
// BM_ExportarOsde times the Osde file alternately with its floor (Suelo.h): the same statement
// with the same values bound, read with block fetch, the same bytes formatted into one buffered
// writer, flushed, synced and renamed; its counters as Suelo::Informar reports them.
#include "MemoriaPico.h"
#include "Suelo.h"
#include "platform/Database.h"
#include "reports/modExportarDatos.h"
#include "support/InsertarPorLotes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <string>
#include <string_view>
#include <unistd.h>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* g_destino = nullptr;
QString g_sqlite, g_postgresql, g_archivoSqlite;

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

// Seeds `n` transactions on the engine and points the program at it; false, the run skipped,
// when that engine is not there (PostgreSQL without QUORVAN_TEST_PG).
bool Preparar(benchmark::State& state, const QString& conexion, int n)
{
    if (conexion.isEmpty()) {
        state.SkipWithError("QUORVAN_TEST_PG is not set");
        for (auto _ : state) {}
        return false;
    }
    Sembrar(conexion, n);
    qputenv("QUORVAN_DSN", conexion.toUtf8());
    return true;
}

// Arguments: rows, layout (2 Osde, 3 Servesalud), engine (0 SQLite, 1 PostgreSQL), and 1 for
// the streaming connection the export uses, 0 for a plain one (the drivers' defaults).
void BM_ExportarTexto(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const auto formato = static_cast<qint32>(state.range(1));
    const QString conexion = state.range(2) == 0 ? g_sqlite : g_postgresql;
    if (!Preparar(state, conexion, n)) return;
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

// The floor's Osde line, from the bytes of the 15 columns (ASCII in this data set).
class LineasOsde {
public:
    void Fila(const Suelo::Celda* c)
    {
        for (int i = 0; i < 15; ++i) Tomar(c[i], m_valores[i], m_nulos[i]);
        const auto sep = [this] { m_buffer.append("   ", 3); };
        m_buffer.append(' ');
        N(6, 6);
        sep();
        N(0, 11);
        sep();
        {
            const std::string_view t = Recortar(m_valores[4]);
            const size_t n = std::min<size_t>(t.size(), 15);
            m_buffer.append(t.data(), qsizetype(n));
            m_buffer.append(qsizetype(15 - n), ' ');
        }
        sep();
        N(5, 3);
        sep();
        const std::string_view fecha = m_valores[2];
        if (Recortar(fecha).size() < 8) {
            m_buffer.append(6, ' ');
        } else {
            m_buffer.append(fecha.data() + fecha.size() - 2, 2);
            m_buffer.append(fecha.data() + 4, 2);
            m_buffer.append(fecha.data() + 2, 2);
        }
        sep();
        m_buffer.append("00", 2);
        sep();
        N(12, 6);
        sep();
        m_buffer.append('0');
        sep();
        m_buffer.append(15, '0');
        sep();
        const std::string_view tipoP = m_valores[9], tipoE = m_valores[14];
        m_buffer.append(tipoP.empty() ? ' ' : tipoP.back());
        sep();
        N(8, 10);
        sep();
        m_buffer.append(tipoP.empty() ? ' ' : tipoP.front());
        sep();
        m_buffer.append(tipoE.empty() ? ' ' : tipoE.back() == '2' ? 'O' : 'M');
        sep();
        N(13, 10);
        sep();
        m_buffer.append(tipoE.empty() ? ' ' : tipoE.front());
        sep();
        N(10, 6);
        sep();
        m_buffer.append(12, '0');
        m_buffer.append("\r\n", 2);
        if (m_buffer.size() >= (1 << 16)) Vaciar();
    }
    bool Abrir(const QString& ruta)
    {
        m_ruta = ruta;
        m_archivo.setFileName(ruta + QStringLiteral(".suelo"));
        return m_archivo.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    bool Cerrar()
    {
        Vaciar();
        if (!m_archivo.flush() || ::fsync(m_archivo.handle()) != 0) return false;
        m_archivo.close();
        return ::rename(QFile::encodeName(m_archivo.fileName()).constData(), QFile::encodeName(m_ruta).constData()) == 0;
    }

private:
    void Vaciar()
    {
        m_archivo.write(m_buffer);
        m_buffer.clear();
    }
    void Tomar(const Suelo::Celda& c, std::string_view& valor, bool& nulo)
    {
        nulo = c.nulo;
        if (!c.utf16) {
            valor = std::string_view(c.datos, size_t(c.bytes));
            // The SQLite driver writes a whole double with ".0"; the file shows it as a whole number.
            if (valor.size() > 2 && valor.substr(valor.size() - 2) == ".0") valor.remove_suffix(2);
            return;
        }
        std::string& angosto = m_angostos[&valor - m_valores];
        angosto.resize(size_t(c.bytes / 2));
        const auto* u = reinterpret_cast<const char16_t*>(c.datos);
        for (size_t i = 0; i < angosto.size(); ++i) angosto[i] = u[i] < 0x80 ? char(u[i]) : '?';
        valor = angosto;
    }
    static std::string_view Recortar(std::string_view t)
    {
        while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
        while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
        return t;
    }
    // Right-aligned, zero-filled, its rightmost `ancho` characters.
    void N(int columna, qsizetype ancho)
    {
        const std::string_view t = Recortar(m_valores[columna]);
        if (qsizetype(t.size()) >= ancho) {
            m_buffer.append(t.data() + t.size() - size_t(ancho), ancho);
        } else {
            m_buffer.append(ancho - qsizetype(t.size()), '0');
            m_buffer.append(t.data(), qsizetype(t.size()));
        }
    }
    std::string_view m_valores[15];
    bool m_nulos[15] = {};
    std::string m_angostos[15];
    QByteArray m_buffer;
    QFile m_archivo;
    QString m_ruta;
};

// Arguments: rows, engine (0 SQLite, 1 PostgreSQL).
void BM_ExportarOsde(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const bool sqlite = state.range(1) == 0;
    const QString conexion = sqlite ? g_sqlite : g_postgresql;
    if (!Preparar(state, conexion, n)) return;
    const auto consulta = modExportarDatos::ArmarConsulta(2, QDate(2024, 3, 1), QDate(2024, 3, 31),
                                                          QStringLiteral("11"));
    const QString ruta = g_destino->filePath(QStringLiteral("osde.txt"));
    const QString rutaSuelo = g_destino->filePath(QStringLiteral("osde-suelo.txt"));
    const QString rutaApi = g_destino->filePath(QStringLiteral("osde-capi.txt"));
    Suelo::Odbc odbc(sqlite ? QString(conexion).replace(QLatin1String("StepAPI=0"), QLatin1String("StepAPI=1"))
                            : conexion + QStringLiteral(";UseDeclareFetch=1"),
                     sqlite);
    std::unique_ptr<Suelo::ApiSqlite> api;
    if (sqlite) api = std::make_unique<Suelo::ApiSqlite>(g_archivoSqlite);
    std::vector<double> programa, suelo, capi;
    for (auto _ : state) {
        programa.push_back(Suelo::Medir([&] {
            Database cn;
            cn.OpenStreaming();
            const auto r = modExportarDatos::ExportarTexto(cn, 2, consulta, ruta);
            if (!r.escrito || r.filas != n) state.SkipWithError("wrong row count or file not written");
        }));
        const auto porSuelo = [&](auto& lector, const QString& destino) {
            LineasOsde lineas;
            if (!lineas.Abrir(destino)) state.SkipWithError("floor: no file");
            const qint64 filas =
                lector.Leer(consulta.sql, consulta.valores, [&](const Suelo::Celda* c, int) { lineas.Fila(c); });
            if (!lineas.Cerrar() || filas != n) state.SkipWithError("floor: wrong row count or file not written");
        };
        suelo.push_back(Suelo::Medir([&] { porSuelo(odbc, rutaSuelo); }));
        if (api) capi.push_back(Suelo::Medir([&] { porSuelo(*api, rutaApi); }));
        state.SetIterationTime(programa.back() / 1000);
    }
    const auto bytes = [](const QString& r) {
        QFile f(r);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    if (bytes(ruta) != bytes(rutaSuelo) || (api && bytes(ruta) != bytes(rutaApi)))
        state.SkipWithError("the floor wrote other bytes");
    Suelo::Informar(state, programa, suelo);
    Suelo::Informar(state, programa, capi, "_capi");
}

}

BENCHMARK(BM_ExportarOsde)
    ->ArgsProduct({{100000}, {0, 1}})
    ->UseManualTime()
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

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
    g_archivoSqlite = home.filePath(QStringLiteral("Quorvan.db"));
    g_sqlite = Database::SQLiteConnectionString(g_archivoSqlite);
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
