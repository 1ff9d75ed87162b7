// The start screen on the embedded SQLite database: loading the transaction list of one
// provider over 10,000 and 100,000 logged transactions, and the start-up from the main window's
// load to the list on the configuration data set of bench_config.
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

namespace {

const QString kCuit = QStringLiteral("20300000000");

// `filas` logged transactions of the default provider (the first one of the data set).
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
        22, filas, [](int i) {
            const QString fecha = QDate(2023, 1, 1).addDays(i / 150).toString(QStringLiteral("yyyyMMdd"));
            const QString hora = QStringLiteral("%1%2").arg(8 + i % 10, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10,
                                                                                                      QLatin1Char('0'));
            return QVariantList{QStringLiteral("02"), QStringLiteral("62800000%1").arg(i, 8, 10, QLatin1Char('0')),
                                QStringLiteral("M"), kCuit, QStringLiteral(""), 0, fecha, hora, QStringLiteral(""), QStringLiteral(""), 1,
                                QStringLiteral("AUT%1").arg(i), 100000 + i, fecha, hora, QStringLiteral("AB210"), 1,
                                42.5, i % 7 == 0 ? 51 : 0, QStringLiteral("APROBADA"), 0, 1 + i % 50};
        });
    db.CommitTrans();
}

void BM_CargarListaTransacciones(benchmark::State& state)
{
    registrarTransacciones(static_cast<int>(state.range(0)));
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    ScriptedDialogs dialogos;
    frmInicio lista;
    lista.Form_Load();
    const std::string mensajes = dialogos.messages().join(QLatin1Char('|')).toStdString();
    if (!mensajes.empty()) state.SkipWithError(mensajes.c_str());
    lista.cboNombre->setCurrentIndex(lista.cboNombre->findText(QStringLiteral("Prestador 0000")));
    for (auto _ : state) lista.cmdFiltrar_Click();
    state.counters["filas"] = lista.lvwTransacciones->topLevelItemCount();
    state.SetItemsProcessed(state.iterations() * state.range(0));
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
    state.counters["filas"] = lista.lvwTransacciones->topLevelItemCount();
    General::gConfig.reset();
}

// From the main window's load to the start screen, as main() runs it, without the start-up
// update (its time is the client's).
void BM_Arranque(benchmark::State& state)
{
    registrarTransacciones(1000);
    ScriptedDialogs dialogos;
    for (auto _ : state) {
        frmMain ventana;
        ventana.MDIForm_Load();
        benchmark::DoNotOptimize(ventana.FormularioActivo());
        state.PauseTiming();
        if (!ventana.FormularioTrabajo(QStringLiteral("frmInicio"))) state.SkipWithError("sin lista");
        InstanciaUnica::Liberar();
        Salida::Reiniciar();
        General::gConfig.reset();
        state.ResumeTiming();
    }
    state.counters["mensajes"] = dialogos.messages().size();
}

}

BENCHMARK(BM_CargarListaTransacciones)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OrdenarPorColumna)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Arranque)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("QUORVAN_HOME", home.path().toUtf8());
    qunsetenv("QUORVAN_DSN");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Printers::setTestPrinters({}, QString());
    DatosConfig::poblar();
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
    }
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("Terminal"), QStringLiteral("1"));
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, QStringLiteral("ActualizaNomencladores"),
                                      QStringLiteral("0"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
