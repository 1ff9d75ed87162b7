// The start screen: loading the transaction list of one provider over 10,000 and 100,000 of
// its logged transactions (and a fifth as many of another provider's) and of "TODOS", on the
// embedded SQLite and, when QUORVAN_TEST_PG names the test server, on PostgreSQL in a schema of
// its own; the first header click on each column after a load; the list's peak memory; and the
// start-up from the main window's load to the list on the configuration data set of
// bench_config. Each load is timed alternately with its floor (SueloLista.h), after checking
// that the floor shows the very same list: `ratio` is the program's median over the floor's
// through the same ODBC driver, `ratio_min` its fastest run over the floor's, `ratio_capi`
// (SQLite only) the same against the floor through SQLite's C API, `carga` the load average
// when the timings ended (Suelo::Informar). Both lists are painted.
//
//   build/bench/bench_inicio --benchmark_filter='BM_CargarListaTransacciones'   # both engines
//   build/bench/bench_inicio --benchmark_filter='BM_PrimerClicColumna'
//   build/bench/bench_inicio --benchmark_filter='BM_MemoriaLista/0'              # each alone: no floor
#include "config/GeneralCombos.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "platform/Database.h"
#include "platform/InstanciaUnica.h"
#include "platform/Printers.h"
#include "platform/Salida.h"
#include "shell/frmMain.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "txlog/frmInicio.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include "DatosConfig.h"
#include "MemoriaPico.h"
#include "SueloLista.h"

#include <QMainWindow>
#include <QPaintEvent>
#include <QTreeView>

namespace {

const QString kCuit = QStringLiteral("20300000000");
const QString kOtroCuit = QStringLiteral("20300000001");
QString g_archivo;    // the SQLite database file
QString g_postgresql; // the PostgreSQL schema's connection, empty without the test server

QString ConexionSuelo()
{
    return Database::SQLiteConnectionString(g_archivo).replace(QLatin1String("StepAPI=0"), QLatin1String("StepAPI=1"));
}

// Points the program at an engine (0 SQLite, 1 PostgreSQL); false, the run skipped, when that
// engine is not there.
bool Usar(benchmark::State& state, int motor)
{
    if (motor == 0) {
        qunsetenv("QUORVAN_DSN");
        return true;
    }
    if (g_postgresql.isEmpty()) {
        state.SkipWithError("QUORVAN_TEST_PG is not set");
        for (auto _ : state) {}
        return false;
    }
    qputenv("QUORVAN_DSN", g_postgresql.toUtf8());
    return true;
}

// The configuration data set with the working folder and a listable provider, on the program's
// data source.
void PrepararConfiguracion(const QString& trabajo)
{
    DatosConfig::poblar();
    Database db;
    db.Open();
    db.Execute(QStringLiteral("UPDATE Parametros SET WorkDir = ?"), {trabajo});
    db.Execute(QStringLiteral("UPDATE Prestadores SET Admisor = 1 WHERE Cuit = ?"), {kCuit});
}

// The main window's list loaded with the rows registered, shown at a size of a front desk.
struct ListaCargada {
    explicit ListaCargada(benchmark::State& state)
    {
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->LoadConfig(1, false);
        lista.resize(1000, 700);
        lista.show();
        lista.Form_Load();
        const std::string mensajes = dialogos.messages().join(QLatin1Char('|')).toStdString();
        if (!mensajes.empty()) state.SkipWithError(mensajes.c_str());
    }
    ~ListaCargada() { General::gConfig.reset(); }
    ScriptedDialogs dialogos;
    frmInicio lista;
};

// `filas` logged transactions of the default provider (the first one of the data set), and a
// fifth as many of the second one.
void registrarTransacciones(int filas)
{
    Database db;
    db.Open();
    db.BeginTrans();
    db.Execute(QStringLiteral("DELETE FROM Transaccion"));
    InsertarPorLotes(
        db,
        QStringLiteral("INSERT INTO Transaccion (Operacion, Tarjeta, TipoLectura, Prestador, PrestadorSolicitante, "
                       "TicketPadre, FechaPrestacion, HoraPrestacion, TipoMatriculaMPrescriptor, "
                       "MatriculaMedicoPrescriptor, CodigoAutorizacion, NumeroAutorizacion, Ticket, Fecha, Hora, "
                       "PlanAsociado, TipoAsociado, MontoAbonar, Error, Comentario, NumeroTrxPrestador, "
                       "CodigoEmpresa) VALUES "),
        22, filas + filas / 5, [filas](int i) {
            const QString fecha = QDate(2023, 1, 1).addDays(i / 150).toString(QStringLiteral("yyyyMMdd"));
            const QString hora = QStringLiteral("%1%2").arg(8 + i % 10, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10,
                                                                                                      QLatin1Char('0'));
            return QVariantList{QStringLiteral("02"), QStringLiteral("62800000%1").arg(i, 8, 10, QLatin1Char('0')),
                                QStringLiteral("M"), i < filas ? kCuit : kOtroCuit, QStringLiteral(""), 0, fecha, hora, QStringLiteral(""), QStringLiteral(""), 1,
                                QStringLiteral("AUT%1").arg(i), 100000 + i, fecha, hora, QStringLiteral("AB210"), 1,
                                42.5, i % 7 == 0 ? 51 : 0, QStringLiteral("APROBADA"), 0, 1 + i % 50};
        });
    db.CommitTrans();
    // As autovacuum leaves a log that has been written: otherwise its first pass over the new
    // rows runs amid the timings, under the program's or the floor's.
    if (db.engine() == Database::Engine::PostgreSQL) db.Execute(QStringLiteral("VACUUM ANALYZE Transaccion"));
}

// Arguments: rows of the provider; 1 lists that provider, 0 "TODOS"; engine (0 SQLite, 1
// PostgreSQL).
void BM_CargarListaTransacciones(benchmark::State& state)
{
    const int motor = int(state.range(2));
    if (!Usar(state, motor)) return;
    registrarTransacciones(static_cast<int>(state.range(0)));
    const bool unPrestador = state.range(1) == 1;
    ListaCargada cargada(state);
    frmInicio& lista = cargada.lista;
    const int elegido = lista.cboNombre->findText(unPrestador ? QStringLiteral("Prestador 0000") : QStringLiteral("TODOS"));
    if (elegido < 0) state.SkipWithError("the provider is not in the list");
    lista.cboNombre->setCurrentIndex(elegido);

    const bool sqlite = motor == 0;
    Suelo::Odbc odbc(sqlite ? ConexionSuelo() : g_postgresql, sqlite);
    odbc.enteros = true;
    std::unique_ptr<Suelo::ApiSqlite> api;
    if (sqlite) {
        api = std::make_unique<Suelo::ApiSqlite>(g_archivo);
        api->enteros = true;
        Suelo::ComoElLector(odbc);
        Suelo::ComoElLector(*api);
    }
    Suelo::ModeloLista modelo(lista.ImageList1);
    QTreeView vista;
    vista.setModel(&modelo);
    vista.setRootIsDecorated(false);
    vista.setUniformRowHeights(true);
    vista.header()->setStretchLastSection(false);
    vista.header()->setMinimumSectionSize(1);
    // The header shows the order as the program's does (its arrow takes room in every section).
    vista.header()->setSortIndicatorShown(true);
    vista.header()->setSortIndicator(7, Qt::AscendingOrder);
    vista.setGeometry(lista.lvwTransacciones->geometry());
    vista.show();
    // Both windows exposed: a repaint before that draws nothing.
    QApplication::processEvents();
    const QFontMetrics fm(vista.font());
    const QString sql = Suelo::ModeloLista::Sentencia(unPrestador);
    const QVariantList valores = unPrestador ? QVariantList{kCuit} : QVariantList();
    const auto porSuelo = [&](auto& lector) {
        modelo.Empezar(fm);
        lector.Leer(sql, valores, [&](const Suelo::Celda* c, int) { modelo.Agregar(c); });
        modelo.Terminar(vista);
        vista.viewport()->repaint();
    };
    // The floor must show the very list the program shows.
    lista.cmdFiltrar_Click();
    porSuelo(odbc);
    const QString diferencia = Suelo::Diferencia(*lista.lvwTransacciones, vista);
    if (!diferencia.isEmpty()) state.SkipWithError(("the floor shows another list: " + diferencia).toStdString().c_str());
    std::vector<double> programa, suelo, capi;
    for (auto _ : state) {
        programa.push_back(Suelo::Medir([&] {
            lista.cmdFiltrar_Click();
            lista.lvwTransacciones->viewport()->repaint();
        }));
        suelo.push_back(Suelo::Medir([&] { porSuelo(odbc); }));
        if (api) capi.push_back(Suelo::Medir([&] { porSuelo(*api); }));
        state.SetIterationTime(programa.back() / 1000);
    }
    const int filas = lista.lvwTransacciones->model()->rowCount();
    if (filas != modelo.rowCount()) state.SkipWithError("the floor read other rows");
    state.counters["filas"] = filas;
    Suelo::Informar(state, programa, suelo);
    Suelo::Informar(state, programa, capi, "_capi");
    state.SetItemsProcessed(state.iterations() * filas);
}

// A header click on the list of 120,000 rows of "TODOS": the widget's own sort by the clicked
// column, cycling through the columns (mostly orders already made for that load).
void BM_OrdenarPorColumna(benchmark::State& state)
{
    Usar(state, 0);
    registrarTransacciones(100000);
    ListaCargada cargada(state);
    int columna = 0;
    for (auto _ : state) cargada.lista.lvwTransacciones_ColumnClick(1 + (columna++ % 7));
    state.counters["filas"] = cargada.lista.lvwTransacciones->model()->rowCount();
}

// Argument: the column (from 1). The first click on its header after each load of "TODOS"
// with 120,000 rows; the load is not timed.
void BM_PrimerClicColumna(benchmark::State& state)
{
    Usar(state, 0);
    registrarTransacciones(100000);
    ListaCargada cargada(state);
    for (auto _ : state) {
        state.PauseTiming();
        cargada.lista.cmdFiltrar_Click();
        state.ResumeTiming();
        cargada.lista.lvwTransacciones_ColumnClick(int(state.range(0)));
    }
    state.counters["filas"] = cargada.lista.lvwTransacciones->model()->rowCount();
}

// The list's memory, the program alone (run this benchmark by itself: no floor in the
// process), over 400,000 rows of one provider and 80,000 of another: "TODOS" (argument 0) or
// that provider (1, the window's first list), a click on each header, then a reload. `pico_MB` is the process's peak
// resident memory; `KB_por_fila` its growth from before the load, per row listed.
void BM_MemoriaLista(benchmark::State& state)
{
    Usar(state, 0);
    registrarTransacciones(400000);
    const bool unPrestador = state.range(0) == 1;
    ScriptedDialogs dialogos;
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    long pico = 0, base = 0;
    int filas = 0;
    for (auto _ : state) {
        frmInicio lista;
        MemoriaPico::Reiniciar();
        base = MemoriaPico::KiB();
        if (unPrestador) {
            // Opened without a configuration, so that its first list is the provider's.
            const auto configuracion = std::move(General::gConfig);
            lista.Form_Load();
            General::gConfig = configuracion;
            General::CargarComboPrestadores(lista.cboNombre);
            lista.cboNombre->setCurrentIndex(lista.cboNombre->findText(QStringLiteral("Prestador 0000")));
            lista.cmdFiltrar_Click();
        } else {
            lista.Form_Load();
        }
        for (int c = 1; c <= 7; ++c) lista.lvwTransacciones_ColumnClick(c);
        lista.cmdFiltrar_Click();
        pico = MemoriaPico::KiB();
        filas = lista.lvwTransacciones->model()->rowCount();
    }
    if (filas != (unPrestador ? 400000 : 480000) || !dialogos.messages().isEmpty())
        state.SkipWithError("the list was not loaded whole");
    state.counters["filas"] = filas;
    state.counters["pico_MB"] = double(pico) / 1024;
    state.counters["KB_por_fila"] = filas ? double(pico - base) / filas : 0;
    General::gConfig.reset();
}

// From the main window's load to the start screen shown, as main() runs it, without the
// start-up update (its time is the client's). The floor opens the database, reads every
// statement of the configuration's load into memory and shows a main window with the start
// list in a minimal model.
void BM_Arranque(benchmark::State& state)
{
    Usar(state, 0);
    registrarTransacciones(1000);
    ScriptedDialogs dialogos;
    std::vector<double> programa, suelo, capi;
    const auto leerTodo = [](auto& lector, std::vector<std::vector<QString>>& memoria, QTreeView& vista,
                             Suelo::ModeloLista& modelo) {
        // Terminal 1, whose delimiter is 1.
        for (const QString& sql : clsConfig::SentenciasDeCarga())
            lector.Leer(sql, sql.contains(QLatin1Char('?')) ? QVariantList{1} : QVariantList(), [&](const Suelo::Celda* c, int n) {
                std::vector<QString> fila(static_cast<size_t>(n));
                for (int i = 0; i < n; ++i) fila[size_t(i)] = c[i].Texto();
                memoria.push_back(std::move(fila));
            });
        const QFontMetrics fm(vista.font());
        modelo.Empezar(fm);
        lector.enteros = true;
        lector.Leer(Suelo::ModeloLista::Sentencia(false), {},
                    [&](const Suelo::Celda* c, int) { modelo.Agregar(c); });
        lector.enteros = false;
        modelo.Terminar(vista);
    };
    for (auto _ : state) {
        programa.push_back(Suelo::Medir([&] {
            frmMain ventana;
            ventana.show();
            ventana.MDIForm_Load();
            QApplication::processEvents();
            benchmark::DoNotOptimize(ventana.FormularioActivo());
            state.PauseTiming();
            if (!ventana.FormularioTrabajo(QStringLiteral("frmInicio"))) state.SkipWithError("sin lista");
            InstanciaUnica::Liberar();
            Salida::Reiniciar();
            General::gConfig.reset();
            state.ResumeTiming();
        }));
        // Every statement read into memory, then a main window with the start list in a minimal model.
        const auto mostrar = [&](auto& lector) {
            Suelo::ComoElLector(lector);
            std::vector<std::vector<QString>> memoria;
            QMainWindow ventana;
            auto* vista = new QTreeView(&ventana);
            Suelo::ModeloLista modelo;
            vista->setModel(&modelo);
            ventana.setCentralWidget(vista);
            leerTodo(lector, memoria, *vista, modelo);
            ventana.show();
            QApplication::processEvents();
        };
        suelo.push_back(Suelo::Medir([&] {
            Suelo::Odbc odbc(ConexionSuelo(), true);
            mostrar(odbc);
        }));
        capi.push_back(Suelo::Medir([&] {
            Suelo::ApiSqlite api(g_archivo);
            mostrar(api);
        }));
        state.SetIterationTime(programa.back() / 1000);
    }
    state.counters["mensajes"] = dialogos.messages().size();
    Suelo::Informar(state, programa, suelo);
    Suelo::Informar(state, programa, capi, "_capi");
}

}

BENCHMARK(BM_CargarListaTransacciones)
    ->ArgsProduct({{10000, 100000}, {1, 0}, {0, 1}})
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdenarPorColumna)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PrimerClicColumna)->DenseRange(1, 7)->Iterations(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoriaLista)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arranque)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Printers::setTestPrinters({}, QString());
    g_archivo = home.filePath(QStringLiteral("Quorvan.db"));
    const QString trabajo = home.filePath(QStringLiteral("druvex/"));
    QDir().mkpath(trabajo);
    DruvexSim::EscribirArchivoTrabajo(trabajo, QStringLiteral("_druvex.emp"),
                                      DruvexSim::RegistroEmp(QStringLiteral("LIC0"), QStringLiteral("01"),
                                                             QStringLiteral("OBRA SOCIAL 0"), QStringLiteral("01"),
                                                             QStringLiteral("AMBULATORIO")));
    PrepararConfiguracion(trabajo);
    // PostgreSQL in a schema of its own, dropped at the end.
    const QString pg = qEnvironmentVariable("QUORVAN_TEST_PG");
    const QString esquema = QStringLiteral("bench_inicio_%1").arg(QCoreApplication::applicationPid());
    if (!pg.isEmpty()) {
        Database admin;
        admin.OpenConnectionString(pg);
        admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(esquema));
        g_postgresql = pg + QStringLiteral(";ConnSettings={SET search_path TO %1}").arg(esquema);
        qputenv("QUORVAN_DSN", g_postgresql.toUtf8());
        PrepararConfiguracion(trabajo);
        qunsetenv("QUORVAN_DSN");
    }
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("Terminal"), QStringLiteral("1"));
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("ActualizaNomencladores"),
                                      QStringLiteral("0"));
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
