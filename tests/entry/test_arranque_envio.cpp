#include "config/GeneralConfiguracion.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmEmuladorPOS.h"
#include "platform/Database.h"
#include "platform/InstanciaUnica.h"
#include "platform/Printers.h"
#include "platform/Salida.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The program's own start-up on a prepared home, answered by the separate druvex-sim program:
// the user picks the insurer, the verification, types the card and accepts.
class ArranqueEnvioDb : public DbFixture {
protected:
    void TearDown() override
    {
        if (sim.state() != QProcess::NotRunning) {
            sim.kill();
            sim.waitForFinished(5000);
        }
        m.reset();
        InstanciaUnica::Liberar();
        Salida::Reiniciar();
        Printers::resetTestPrinters();
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::DirectorioTrabajo.clear();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::OperacionActual = General::SubModoOperacion = General::PrestadorActual = 0;
        General::ObraSocialOnLine = General::ObraSocialUtilizaCSC = false;
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        DbFixture::TearDown();
    }

    TempFolder wf;
    TempFolder guardadas;
    ScriptedDialogs dialogs;
    QProcess sim;
    std::unique_ptr<frmMain> m;
};

}

TEST_P(ArranqueEnvioDb, StartUpThenAVerificationThroughTheSeparateClient)
{
    {
        auto db = Connect();
        DatosTerminal::Terminal(*db, {1, wf.path(), "OSDE BINARIO", 1, QString()});
        DatosTerminal::ObraSocial(*db, 1, "OSDE BINARIO", 5, 1);
        DatosTerminal::Prestador(*db, 1, "CLINICA DEL SOL", "30700000049", "00001234", true);
    }
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, "Terminal", "1");
    modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, "ActualizaNomencladores", "0");
    wf.write("_druvex.emp", DruvexSim::RegistroEmp("00001234", "05", "OSDE BINARIO", "01", "AMBULATORIO"));
    wf.mkdir("tx");
    Printers::setTestPrinters({"Ticketera"}, "Ticketera");
    frmProcesandoCO::setDuracionTick(40);
    QStringList modales;
    dialogs.modalHandler = [&modales](QDialog* d) {
        if (d->objectName() == "frmProcesandoCO") return d->exec();
        modales << d->objectName();
        return int(QDialog::Accepted);
    };

    sim.start(QUORVAN_DRUVEX_SIM_EXE, {"--keep", guardadas.path(), wf.path()});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(sim.waitForReadyRead(5000)) << "druvex-sim did not start watching";

    Salida::Reiniciar();
    InstanciaUnica::Liberar();
    m = std::make_unique<frmMain>();
    m->show();
    m->MDIForm_Load();
    ASSERT_EQ(dialogs.messages(), QStringList{});

    const auto lineas = m->ObraSocial->lstObraSocial->findItems("(1) OSDE BINARIO", Qt::MatchExactly);
    ASSERT_EQ(lineas.size(), 1);
    m->ObraSocial->lstObraSocial->setCurrentItem(lineas[0]);
    m->Menu("mnuVerficarAfiliado")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* f = qobject_cast<frmEmuladorPOS*>(m->FormularioTrabajo("frmEmuladorPOS"));
    ASSERT_TRUE(f);
    QTest::keyClicks(f->txtTarjeta, "6001234567");
    QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(dialogs.messages(), QStringList{});
    EXPECT_EQ(modales, QStringList{"frmMuestraTicket"});
    const QStringList terminales = QDir(guardadas.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(terminales.size(), 1);
    QFile cabecera(QDir(guardadas.path()).filePath(terminales[0] + "/_svl.1"));
    ASSERT_TRUE(cabecera.open(QIODevice::ReadOnly));
    const QByteArray svl1 = cabecera.readAll();
    ASSERT_EQ(svl1.size(), 383);
    EXPECT_EQ(svl1.mid(5, 12), QByteArray("416001234567"));
    EXPECT_EQ(svl1.mid(108, 11), QByteArray("30700000049"));
    QFile control(QDir(guardadas.path()).filePath(terminales[0] + "/_svl.0"));
    ASSERT_TRUE(control.open(QIODevice::ReadOnly));
    EXPECT_EQ(control.readAll(), QByteArray("V2500501" "00001234"));
    EXPECT_EQ(Connect()->Query("SELECT * FROM Transaccion").RowCount(), 1);
    auto* nueva = qobject_cast<frmEmuladorPOS*>(m->FormularioTrabajo("frmEmuladorPOS"));
    ASSERT_TRUE(nueva);
    EXPECT_EQ(nueva->txtTarjeta->text(), "");
}

INSTANTIATE_TEST_SUITE_P(Engines, ArranqueEnvioDb, DbEngines(), DbEngineName);
