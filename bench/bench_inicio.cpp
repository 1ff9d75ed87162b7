// The start screen on the embedded SQLite database: loading the transaction list of one
// provider over 10,000 and 100,000 of its logged transactions (and a fifth as many of another
// provider's) and of "TODOS", and the start-up from the main window's load to the list on the
// configuration data set of bench_config. Each job is timed alternately with its floor
// (Suelo.h): `ratio` is the program's median over the floor's through the same ODBC driver,
// `ratio_capi` over the floor's through SQLite's C API.
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
#include "SueloLista.h"

#include <QMainWindow>
#include <QPaintEvent>
#include <QTreeView>

namespace {

const QString kCuit = QStringLiteral("20300000000");
const QString kOtroCuit = QStringLiteral("20300000001");
QString g_archivo; // the database file

QString ConexionSuelo()
{
    return Database::SQLiteConnectionString(g_archivo).replace(QLatin1String("StepAPI=0"), QLatin1String("StepAPI=1"));
}

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
}

// Arguments: rows of the provider; 1 lists that provider, 0 "TODOS".
void BM_CargarListaTransacciones(benchmark::State& state)
{
    registrarTransacciones(static_cast<int>(state.range(0)));
    const bool unPrestador = state.range(1) == 1;
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    ScriptedDialogs dialogos;
    frmInicio lista;
    lista.Form_Load();
    const std::string mensajes = dialogos.messages().join(QLatin1Char('|')).toStdString();
    if (!mensajes.empty()) state.SkipWithError(mensajes.c_str());
    const int elegido = lista.cboNombre->findText(unPrestador ? QStringLiteral("Prestador 0000") : QStringLiteral("TODOS"));
    if (elegido < 0) state.SkipWithError("the provider is not in the list");
    lista.cboNombre->setCurrentIndex(elegido);

    Suelo::Odbc odbc(ConexionSuelo(), true);
    Suelo::ApiSqlite api(g_archivo);
    Suelo::ComoElLector(odbc);
    Suelo::ComoElLector(api);
    Suelo::ModeloLista modelo;
    QTreeView vista;
    vista.setModel(&modelo);
    const QString sql = clsConfig::SentenciaTransacciones(true, unPrestador);
    const QByteArray parametro = unPrestador ? kCuit.toUtf8() : QByteArray();
    std::vector<double> programa, suelo, capi;
    qint64 filasSuelo = 0;
    for (auto _ : state) {
        programa.push_back(Suelo::Medir([&] { lista.cmdFiltrar_Click(); }));
        suelo.push_back(Suelo::Medir([&] {
            modelo.Empezar();
            filasSuelo = odbc.Leer(sql, parametro, [&](const Suelo::Celda* c, int) { modelo.Agregar(c[0]); });
            modelo.Terminar(vista);
        }));
        capi.push_back(Suelo::Medir([&] {
            modelo.Empezar();
            api.Leer(sql, parametro, [&](const Suelo::Celda* c, int) { modelo.Agregar(c[0]); });
            modelo.Terminar(vista);
        }));
        state.SetIterationTime(programa.back() / 1000);
    }
    const int filas = lista.lvwTransacciones->model()->rowCount();
    if (filas != filasSuelo || filas != modelo.rowCount()) state.SkipWithError("the floor read other rows");
    state.counters["filas"] = filas;
    state.counters["floor_ms"] = Suelo::Mediana(suelo);
    state.counters["capi_ms"] = Suelo::Mediana(capi);
    state.counters["ratio"] = Suelo::Mediana(programa) / Suelo::Mediana(suelo);
    state.counters["ratio_capi"] = Suelo::Mediana(programa) / Suelo::Mediana(capi);
    state.SetItemsProcessed(state.iterations() * filas);
    General::gConfig.reset();
}

// A header click on the list of 100,000 rows: the widget's own sort by the clicked column.
void BM_OrdenarPorColumna(benchmark::State& state)
{
    registrarTransacciones(100000);
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    ScriptedDialogs dialogos;
    frmInicio lista;
    lista.Form_Load();
    int columna = 0;
    for (auto _ : state) lista.lvwTransacciones_ColumnClick(1 + (columna++ % 7));
    state.counters["filas"] = lista.lvwTransacciones->model()->rowCount();
    General::gConfig.reset();
}

// From the main window's load to the start screen shown, as main() runs it, without the
// start-up update (its time is the client's). The floor opens the database, reads every
// statement of the configuration's load into memory and shows a main window with the start
// list in a minimal model.
void BM_Arranque(benchmark::State& state)
{
    registrarTransacciones(1000);
    ScriptedDialogs dialogos;
    std::vector<double> programa, suelo, capi;
    const auto leerTodo = [](auto& lector, std::vector<std::vector<QString>>& memoria, QTreeView& vista,
                             Suelo::ModeloLista& modelo) {
        // Terminal 1, whose delimiter is 1.
        for (const QString& sql : clsConfig::SentenciasDeCarga())
            lector.Leer(sql, sql.contains(QLatin1Char('?')) ? QByteArray("1") : QByteArray(), [&](const Suelo::Celda* c, int n) {
                std::vector<QString> fila(static_cast<size_t>(n));
                for (int i = 0; i < n; ++i) fila[size_t(i)] = c[i].Texto();
                memoria.push_back(std::move(fila));
            });
        modelo.Empezar();
        lector.Leer(clsConfig::SentenciaTransacciones(true, false), QByteArray(),
                    [&](const Suelo::Celda* c, int) { modelo.Agregar(c[0]); });
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
    state.counters["floor_ms"] = Suelo::Mediana(suelo);
    state.counters["capi_ms"] = Suelo::Mediana(capi);
    state.counters["ratio"] = Suelo::Mediana(programa) / Suelo::Mediana(suelo);
    state.counters["ratio_capi"] = Suelo::Mediana(programa) / Suelo::Mediana(capi);
}

}

BENCHMARK(BM_CargarListaTransacciones)
    ->ArgsProduct({{10000, 100000}, {1, 0}})
    ->UseManualTime()
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdenarPorColumna)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Arranque)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Printers::setTestPrinters({}, QString());
    DatosConfig::poblar();
    g_archivo = home.filePath(QStringLiteral("Quorvan.db"));
    const QString trabajo = home.filePath(QStringLiteral("druvex/"));
    QDir().mkpath(trabajo);
    DruvexSim::EscribirArchivoTrabajo(trabajo, QStringLiteral("_druvex.emp"),
                                      DruvexSim::RegistroEmp(QStringLiteral("LIC0"), QStringLiteral("01"),
                                                             QStringLiteral("OBRA SOCIAL 0"), QStringLiteral("01"),
                                                             QStringLiteral("AMBULATORIO")));
    {
        Database db;
        db.Open();
        db.Execute(QStringLiteral("UPDATE Parametros SET WorkDir = ?"), {trabajo});
        // Listable in the provider choice.
        db.Execute(QStringLiteral("UPDATE Prestadores SET Admisor = 1 WHERE Cuit = ?"), {kCuit});
    }
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("Terminal"), QStringLiteral("1"));
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("ActualizaNomencladores"),
                                      QStringLiteral("0"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
