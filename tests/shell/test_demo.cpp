#include "config/GeneralConfiguracion.h"
#include "engine/General.h"
#include "engine/frmMuestraTicket.h"
#include "engine/frmProcesandoCO.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmEmuladorPOS.h"
#include "entry/frmPrestacion.h"
#include "platform/Bloqueo.h"
#include "platform/InstanciaUnica.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/Salida.h"
#include "reports/frmControlFecha.h"
#include "reports/frmExportarDatos.h"
#include "reports/frmReporte.h"
#include "reports/frmTransacciones.h"
#include "shell/frmConfigurar.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "txlog/frmInicio.h"
#include "txlog/frmTicket.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

// Clicks the tab of that caption, as a person picks it.
void ClickTab(QTabWidget* tabs, const QString& caption)
{
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == caption) {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
            return;
        }
    ADD_FAILURE() << "no tab " << caption.toStdString();
}

// A check box or option button is clicked on its box, where it takes a click.
void ClickBox(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// The README's "Trying it", step by step, on a new home: the demo client's folder prepared and
// the druvex-sim program started as scripts/run --demo does, the windows driven as a person does.
class DemoDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        cliente = QDir(home()).filePath("Estandar") + "/";
        QDir().mkpath(cliente);
        ASSERT_EQ(QProcess::execute(QUORVAN_DRUVEX_SIM_EXE, {"--prepare-only", "--write-emp", "00001234",
                                                              "--write-prm", "--register", cliente}),
                  0);
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(QUORVAN_DRUVEX_SIM_EXE, {cliente});
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(sim.waitForReadyRead(5000)) << "druvex-sim did not start watching";
        // Where scripts/run was started from: the export's folder list opens there.
        anterior = QDir::currentPath();
        QDir::setCurrent(arranque.path());
        frmProcesandoCO::setDuracionTick(40);
        Printers::setTestPrinters({}, QString());
        Printing::reiniciarImpresoraActiva();
    }
    void TearDown() override
    {
        sim.kill();
        sim.waitForFinished(5000);
        QDir::setCurrent(anterior);
        m.reset();
        InstanciaUnica::Liberar();
        Salida::Reiniciar();
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::ConexionBD.reset();
        General::DirectorioTrabajo.clear();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::NumeroTerminal = General::OperacionActual = General::SubModoOperacion = General::PrestadorActual = 0;
        General::ObraSocialOnLine = General::ObraSocialUtilizaCSC = false;
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        DbFixture::TearDown();
    }
    frmInicio* Lista() const { return qobject_cast<frmInicio*>(m->FormularioTrabajo("frmInicio")); }
    frmEmuladorPOS* Entrada() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qobject_cast<frmEmuladorPOS*>(m->FormularioTrabajo("frmEmuladorPOS"));
    }

    QString cliente;
    QTemporaryDir arranque;
    QString anterior;
    QProcess sim;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> m;
};

}

TEST_P(DemoDb, TheReadmeStepsFromTheFirstStartToAnExportedFile)
{
    // The first start: "Aplicar" on the proposed folder, "Actualizar" on its tab, the provider
    // listed, printing left off, "Aceptar".
    dialogs.modalHandler = [&](QDialog* d) {
        if (d->objectName() == "frmProcesandoCO") return d->exec();
        auto* w = qobject_cast<frmConfigurar*>(d);
        if (!w) return 0;
        w->show();
        EXPECT_EQ(w->tabConfiguracion->tabText(w->tabConfiguracion->currentIndex()), "Directorio");
        EXPECT_EQ(w->cboDirectorio->currentText(), cliente);
        EXPECT_EQ(w->cboDirectorio->lineEdit()->cursorPosition(), 0) << "shown from its start";
        QTest::mouseClick(w->cmdAplicar, Qt::LeftButton);
        ClickTab(w->tabConfiguracion, "Actualizar");
        QTest::mouseClick(w->cmdActualizar, Qt::LeftButton);
        ClickTab(w->tabConfiguracion, "Prestador");
        EXPECT_EQ(w->lvwPrestadores->topLevelItemCount(), 1);
        ClickTab(w->tabConfiguracion, "Impresora");
        EXPECT_FALSE(w->chkImprimir->isChecked());
        QTest::mouseClick(w->cmdAceptar, Qt::LeftButton);
        return 0;
    };
    m = std::make_unique<frmMain>();
    m->show();
    m->MDIForm_Load();
    EXPECT_EQ(dialogs.messages(),
              (QStringList{"La aplicación aún no ha sido configurada", "Finalizó el proceso de actualización"}));
    ASSERT_NE(Lista(), nullptr);
    EXPECT_FALSE(m->Menu("mnuReportes")->isEnabled());

    // Two verifications in a row, then a service report with one service; each answer's ticket
    // is shown.
    QStringList tickets;
    dialogs.clear();
    dialogs.modalHandler = [&](QDialog* d) {
        if (d->objectName() == "frmProcesandoCO") return d->exec();
        if (auto* t = qobject_cast<frmMuestraTicket*>(d)) tickets << t->rtextTicket->toPlainText();
        if (auto* p = qobject_cast<frmPrestacion*>(d)) {
            p->show();
            QTest::keyClicks(p->txtAUPRE, "420101");
            QTest::mouseClick(p->cmdOk, Qt::LeftButton);
            QTest::mouseClick(p->cmdCancel, Qt::LeftButton);
        }
        return 0;
    };
    QListWidget* obras = m->ObraSocial->lstObraSocial;
    const auto linea = obras->findItems("(1) OBRA SOCIAL DEMO", Qt::MatchExactly);
    ASSERT_EQ(linea.size(), 1);
    QTest::mouseClick(obras->viewport(), Qt::LeftButton, {}, obras->visualItemRect(linea[0]).center());
    m->Menu("mnuVerficarAfiliado")->trigger();
    for (int i = 0; i < 2; ++i) {
        auto* f = Entrada();
        ASSERT_TRUE(f);
        if (i == 1) {
            // Back empty after the approval: the provider stays chosen, no effector is.
            EXPECT_EQ(f->cboNombre->currentText(), "CLINICA DEL SOL");
            EXPECT_EQ(f->cboEfectores->currentIndex(), -1);
            EXPECT_EQ(f->txtAUCEFE->text(), "");
            EXPECT_EQ(f->txtTarjeta->text(), "");
        }
        QTest::keyClicks(f->txtTarjeta, "6001234567");
        QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
    }
    m->Menu("mnuInformarPrestacionSinFecha")->trigger();
    auto* f = Entrada();
    ASSERT_TRUE(f);
    QTest::keyClicks(f->txtTarjeta, "6001234567");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages(), QStringList{});
    const QString hoy = QDate::currentDate().toString("dd/MM/yyyy");
    ASSERT_EQ(tickets.size(), 3);
    for (const QString& t : tickets) EXPECT_TRUE(t.contains("Fecha: " + hoy)) << t.toStdString();
    EXPECT_TRUE(m->Menu("mnuReportes")->isEnabled());

    // "Inicio": three rows of today, three ticket numbers; a click on the first, "Anular".
    m->Menu("mnuInicio")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(Lista(), nullptr);
    QTreeView* lista = Lista()->lvwTransacciones;
    ASSERT_EQ(lista->model()->rowCount(), 3);
    QSet<QString> numeros;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Lista()->TextoDeFila(i, 3).startsWith(hoy)) << Lista()->TextoDeFila(i, 3).toStdString();
        numeros.insert(Lista()->TextoDeFila(i, 5));
    }
    EXPECT_EQ(numeros.size(), 3);
    dialogs.modalHandler = [&](QDialog* d) {
        if (d->objectName() == "frmProcesandoCO") return d->exec();
        if (auto* t = qobject_cast<frmTicket*>(d)) {
            t->show();
            QTest::mouseClick(t->cmdAnular, Qt::LeftButton);
        }
        return 0;
    };
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualRect(lista->model()->index(0, 1)).center());
    EXPECT_EQ(dialogs.messages(), QStringList{});
    EXPECT_EQ(Connect()->Query("SELECT * FROM Transaccion").RowCount(), 4) << "the void is logged";
    m->Menu("mnuInicio")->trigger();
    EXPECT_EQ(lista->model()->rowCount(), 4) << "\"Inicio\" on the open list lists it";

    // "Reportes": "Remoto", "Vista Previa" shows the client's report.
    QString previa;
    dialogs.modalHandler = [&](QDialog* d) {
        if (auto* r = qobject_cast<frmReporte*>(d)) {
            r->show();
            ClickBox(r->opcremoto[1]);
            QTest::mouseClick(r->cmdOpcion[0], Qt::LeftButton);
            QTest::mouseClick(r->cmdOpcion[3], Qt::LeftButton);
        } else if (auto* t = qobject_cast<frmTransacciones*>(d)) {
            previa = t->txtReporte->toPlainText();
        } else if (d->objectName() == "frmProcesando") {
            return d->exec();
        }
        return 0;
    };
    m->Menu("mnuReportes")->trigger();
    EXPECT_TRUE(previa.contains("000124")) << previa.toStdString();

    // "Exportar datos liquidación" > "Formato Hope", "Exportar txt" into the folder the program
    // was started from, Esc on the purge question.
    dialogs.clear();
    m->Menu("mnuHope")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* x = qobject_cast<frmExportarDatos*>(m->FormularioTrabajo("frmExportarDatos"));
    ASSERT_TRUE(x);
    // "Destino" and the folder list show that folder, in sight once the list has filled.
    auto* carpetas = qobject_cast<QFileSystemModel*>(x->dir1->model());
    ASSERT_TRUE(carpetas);
    QSignalSpy cargadas(carpetas, &QFileSystemModel::directoryLoaded);
    const QString madre = QFileInfo(arranque.path()).absolutePath();
    for (int i = 0; i < 200 && !cargadas.contains({madre}); ++i) cargadas.wait(50);
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(x->lblDestino->text(), "Destino: " + arranque.path());
    const QModelIndex actual = x->dir1->currentIndex();
    EXPECT_TRUE(x->dir1->selectionModel()->isSelected(actual));
    EXPECT_TRUE(x->dir1->viewport()->rect().contains(x->dir1->visualRect(actual)));
    QTest::mouseClick(x->cmdExportar[1], Qt::LeftButton);
    const QString archivo = QDir(arranque.path()).filePath("DatosFormatoHope" + QDate::currentDate().toString("ddMMyyyy") + ".txt");
    EXPECT_EQ(dialogs.messages(), QStringList{"El archivo " + archivo + " se generó éxito"});
    auto* purga = m->findChild<frmControlFecha*>();
    ASSERT_TRUE(purga);
    QTest::keyClick(purga, Qt::Key_Escape);
    EXPECT_FALSE(purga->isVisible());
    QFile hope(archivo);
    ASSERT_TRUE(hope.open(QIODevice::ReadOnly));
    const QByteArray filas = hope.readAll();
    EXPECT_EQ(filas.count("\r\n"), 4) << filas.toStdString();
    EXPECT_TRUE(filas.contains("420101"));
    EXPECT_EQ(Connect()->Query("SELECT * FROM Transaccion").RowCount(), 4);
}

namespace {

// The README's steps for several desks: the data source "Quorvan" defined in odbc.ini files of the
// test's own, and two desks, each with its own QUORVAN_HOME and client folder, a simulated client in each.
class SitioDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const QProcessEnvironment base = EntornoOrigenDeDatos(raiz.filePath("odbc"));
        for (int i = 0; i < 2; ++i) {
            const QString casa = raiz.filePath(QString("escritorio%1").arg(i + 1)), cliente = casa + "/Estandar/";
            entornos[i] = base;
            for (const auto& [v, valor] : {std::pair{"QUORVAN_HOME", casa}, {"QUORVAN_INFORME", casa + "/informe.txt"},
                                           {"QUORVAN_DIALOGOS", casa + "/respuestas"}, {"QT_QPA_PLATFORM", "offscreen"},
                                           {"QUORVAN", QUORVAN_BUILD_DIR "/Quorvan"}})
                entornos[i].insert(v, valor);
            ASSERT_TRUE(QDir().mkpath(cliente));
            Correr(entornos[i], QUORVAN_DRUVEX_SIM_EXE,
                   {"--prepare-only", "--write-emp", "00001234", "--write-prm", "--register", cliente});
            sims[i].setProcessEnvironment(entornos[i]);
            sims[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            sims[i].start(QUORVAN_DRUVEX_SIM_EXE, {cliente});
            ASSERT_TRUE(sims[i].waitForReadyRead(5000)) << "druvex-sim did not start watching";
        }
    }
    void TearDown() override
    {
        for (QProcess& s : sims) s.kill();
        for (QProcess& s : sims) s.waitForFinished(5000);
        DbFixture::TearDown();
    }
    // What `programa` wrote; a failure when it did not end well.
    static QString Correr(const QProcessEnvironment& env, const QString& programa, const QStringList& argumentos)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(programa, argumentos);
        const bool bien = p.waitForFinished(90000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        const QString salida = QString::fromUtf8(p.readAll());
        EXPECT_TRUE(bien) << programa.toStdString() << ": " << salida.toStdString();
        return salida;
    }
    // Desk `i` starts the real program with those answers to its dialogs; what start-up ended on
    // (the test aid's report) and what it said, once it is ended as a session ends it.
    QString Arrancar(int i, const QString& respuestas, const QString& dsn = QString())
    {
        QProcessEnvironment env = entornos[i];
        env.insert("RESPUESTAS", respuestas);
        if (!dsn.isEmpty()) env.insert("QUORVAN_DSN", dsn);
        return Correr(env, "sh",
                      {"-c", "rm -f \"$QUORVAN_INFORME\"; printf %s \"$RESPUESTAS\" > \"$QUORVAN_DIALOGOS\"; \"$QUORVAN\" & q=$!; "
                             "for i in $(seq 600); do [ -f \"$QUORVAN_INFORME\" ] || ! kill -0 $q && break; sleep 0.1; done; "
                             "kill -TERM $q; wait $q; cat \"$QUORVAN_INFORME\""});
    }
    QTemporaryDir raiz;
    QProcessEnvironment entornos[2];
    QProcess sims[2];
};

}

// Each desk numbers itself at its first start (the configuration window's "Aplicar" on the
// proposed folder, "Actualizar", "Aceptar"), saves a transaction through the program's own log
// routine (the two simulated clients both number their tickets from 10001), and at its next
// start, QUORVAN_DSN unset or naming the data source alone or as a key among others, the
// transaction list holds the other desk's as well as its own.
TEST_P(SitioDb, TheReadmeStepsForSeveralDesksOnTheDataSourceQuorvan)
{
    for (int i = 0; i < 2; ++i) {
        const QString arranque = Arrancar(i, "\npulsar cmdAplicar cmdActualizar cmdAceptar\n");
        EXPECT_TRUE(arranque.contains(QString("[Term: %1]\n").arg(i + 1))) << arranque.toStdString();
        Correr(entornos[i], QUORVAN_ARRANQUE_TERMINAL_EXE, {"0", "10001"});
    }
    for (const auto& [i, dsn] :
         {std::pair{0, QString()}, {1, QString()}, {0, QString("Quorvan")}, {1, QString("CommLog=0;dsn=Quorvan")}}) {
        const QString arranque = Arrancar(i, "", dsn);
        for (const QString& visto : {QString("ventana=frmInicio\n"), QString("filas=2\n"), QString("[Term: %1]\n").arg(i + 1)})
            EXPECT_TRUE(arranque.contains(visto)) << dsn.toStdString() << ": " << arranque.toStdString();
    }
}

namespace {

// scripts/run as a person starts it, on the test build (QUORVAN_BUILD: nothing is built here).
QProcessEnvironment EntornoScript(const QString& casa, QProcessEnvironment env = QProcessEnvironment::systemEnvironment())
{
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QUORVAN_DSN"}) env.remove(v);
    env.insert("QUORVAN_BUILD", QUORVAN_BUILD_DIR);
    env.insert("QUORVAN_HOME", casa);
    return env;
}

// The processes whose command line names `texto` (the demo's own folder).
QStringList ProcesosCon(const QString& texto)
{
    QStringList r;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f("/proc/" + pid + "/cmdline");
        if (pid.toInt() > 0 && f.open(QIODevice::ReadOnly)) {
            const QByteArray linea = f.readAll().replace('\0', ' ');
            if (linea.contains(texto.toUtf8())) r << pid + ": " + QString::fromUtf8(linea);
        }
    }
    return r;
}

}

TEST(ScriptRun, WithoutADesktopItSaysSoAndFails)
{
    QTemporaryDir casa;
    QProcess p;
    p.setProcessEnvironment(EntornoScript(casa.path()));
    p.start("bash", {QUORVAN_ROOT_DIR "/scripts/run", "--demo"});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_NE(p.exitCode(), 0);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains("needs a desktop session") && err.contains("xvfb-run scripts/run")) << err.toStdString();
    EXPECT_TRUE(QDir(casa.path()).isEmpty()) << "nothing was started";
}

namespace {

// scripts/run --demo on `casa` under a virtual X server (offscreen without one) until Quorvan has
// started, then `mientras` in the same shell, then the script ended. Returns the demo's processes
// that were left running, ended here: a failed run leaves nothing behind either.
QStringList DemoHastaElInicio(QProcess& p, const QString& casa, QProcessEnvironment env, const QString& mientras = {})
{
    if (!env.contains("QUORVAN_DIALOGOS")) env.insert("QUORVAN_DIALOGOS", casa + "/sin-respuestas");
    env.insert("QUORVAN_INFORME", casa + "/informe.txt");
    env.insert("SCRIPT", QUORVAN_ROOT_DIR "/scripts/run");
    const QString guion = QStringLiteral(
        "\"$SCRIPT\" --demo & s=$!; for i in $(seq 300); do [ -f \"$QUORVAN_INFORME\" ] && break; sleep 0.1; done; ") +
        mientras + QStringLiteral("\nkill -TERM $s; wait $s");
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    if (!xvfb.isEmpty() && QProcess::execute(xvfb, {"-a", "true"}) == 0) {
        p.setProgram(xvfb);
        p.setArguments({"-a", "sh", "-c", guion});
    } else {
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProgram("sh");
        p.setArguments({"-c", guion});
    }
    p.setProcessEnvironment(env);
    p.start();
    if (!p.waitForFinished(60000)) p.kill();
    const QStringList restantes = ProcesosCon(casa + "/Estandar");
    for (const QString& r : restantes) ::kill(r.section(':', 0, 0).toInt(), SIGKILL);
    p.waitForFinished();
    return restantes;
}

std::string Leer(const QString& archivo)
{
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// A build for QUORVAN_BUILD whose programs only note whom they start for, in $MARCAS.
void ConstruccionFalsa(const QString& falso)
{
    QDir().mkpath(falso + "/tests");
    for (const char* programa : {"Quorvan", "tests/druvex-sim"}) {
        QFile f(falso + "/" + programa);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"$QUORVAN_HOME\" >> \"$MARCAS\"\n");
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
}

}

// The demo on a new home reaches the configuration window of a first start (the test aids
// answer its dialogs); ending the script ends Quorvan, and the simulated client with it.
TEST(ScriptRun, TheDemoReachesTheFirstConfigurationAndLeavesNoClientRunning)
{
    QTemporaryDir casa;
    QProcess p;
    const QStringList restantes = DemoHastaElInicio(p, casa.path(), EntornoScript(casa.path()));
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("Quorvan mensaje [Quorvan] La aplicación aún no ha sido configurada")) << err.toStdString();
    EXPECT_TRUE(err.contains("Quorvan ventana [Configuración] frmConfigurar -> cerrada")) << err.toStdString();
    EXPECT_FALSE(err.contains("No existen licencias")) << err.toStdString();
    EXPECT_TRUE(QFile::exists(casa.filePath("Estandar/_druvex.emp")));
    EXPECT_TRUE(QFile::exists(casa.filePath("informe.txt")));
    EXPECT_TRUE(Bloqueo(casa.filePath("Quorvan.lock")).Tomar()) << "Quorvan ended";
    EXPECT_EQ(restantes, QStringList{}) << "no simulated client left running";
}

// A second demo on the folder of a running one says so and exits 1, writing and starting nothing
// (its build only notes whom it starts for); one in another folder starts.
TEST(ScriptRun, OneDemoPerFolder)
{
    QTemporaryDir casa, otra, fuera;
    const QString falso = fuera.filePath("build"), marcas = fuera.filePath("iniciados");
    ConstruccionFalsa(falso);
    QProcessEnvironment env = EntornoScript(casa.path());
    for (const auto& [v, valor] : {std::pair{"FALSO", falso}, {"FUERA", fuera.path()}, {"OTRA", otra.path()}, {"MARCAS", marcas}})
        env.insert(v, valor);
    QProcess p;
    DemoHastaElInicio(p, casa.path(), env,
                      "foto() { (cd \"$QUORVAN_HOME\" && find . -printf '%p %s %T@\\n' | sort); }; foto > \"$FUERA/antes\"\n"
                      "QUORVAN_BUILD=\"$FALSO\" \"$SCRIPT\" --demo 2> \"$FUERA/mensaje\"; echo $? >> \"$FUERA/mensaje\"\n"
                      "foto > \"$FUERA/despues\"; QUORVAN_BUILD=\"$FALSO\" QUORVAN_HOME=\"$OTRA\" \"$SCRIPT\" --demo");
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Leer(fuera.filePath("mensaje")), "Ya hay una demostración en ejecución en " + casa.path().toStdString() + "\n1\n");
    const std::string antes = Leer(fuera.filePath("antes"));
    EXPECT_TRUE(antes.find("_druvex.emp") != std::string::npos && Leer(fuera.filePath("despues")) == antes) << "nothing written";
    EXPECT_EQ(Leer(marcas).find(casa.path().toStdString()), std::string::npos);
    EXPECT_NE(Leer(marcas).find(otra.path().toStdString()), std::string::npos);
}

// The demo folder is the user's own, nobody else may read or write it, and it is no link: otherwise
// nothing is written or started. A "Quorvan.lock" left there counts as a running demo only when
// a Quorvan of the user's own holds its lock.
TEST(ScriptRun, TheDemoFolderIsTheUsersOwnAndOnlyItsOwnQuorvanHoldsIt)
{
    QTemporaryDir raiz;
    ::chmod(QFile::encodeName(raiz.path()).constData(), 0755); // another account runs bin/Quorvan
    const QString casa = raiz.filePath("casa");
    ConstruccionFalsa(raiz.filePath("build"));
    QDir().mkpath(raiz.filePath("bin"));
    ASSERT_TRUE(QFile::copy(QStandardPaths::findExecutable("sleep"), raiz.filePath("bin/Quorvan"))); // only waits
    // A lock held by this shell and the process `%1` it starts, naming that process once `%2` waits for Quorvan.
    const QString bloqueo =
        "mkdir -m 0700 \"$CASA\"; exec 8>\"$CASA/Quorvan.lock\"; flock 8; %1 30 & p=$!; %2 printf '%s\\nQuorvan\\nx\\n' $p >&8";
    const QString esperar =
        "for i in $(seq 500); do [ \"$(readlink /proc/$p/exe)\" = \"$QUORVAN\" ] && break; sleep 0.01; done;";
    const auto noSe = [&](const QString& motivo) { return "No se puede usar " + casa + " para la demostración: " + motivo + "\n"; };
    const auto abierta = [&](const QString& m) { // another account could hold the lock, or reach the client's files
        return std::pair{"mkdir -m " + m + " \"$CASA\"",
                         noSe("otras cuentas tienen acceso a ella (modo " + m + "); debe ser solo suya: chmod 700 " + casa)};
    };
    const std::pair<QString, QString> casos[] = { // what is prepared, the refusal (none: it starts)
        {"mkdir -m 0700 \"$OTRA\"; ln -s \"$OTRA\" \"$CASA\"", noSe("es un enlace simbólico")},
        {"ln -s \"$OTRA\" \"$CASA\"", noSe("es un enlace simbólico")},
        {"touch \"$CASA\"", noSe("no es una carpeta")},
        abierta("0770"), abierta("0702"), abierta("0755"), abierta("0711"), abierta("0701"),
        {"mkdir -m 0700 \"$CASA\"; chown 65534 \"$CASA\"", noSe("pertenece a otra cuenta")},
        {bloqueo.arg("sleep", ""), ""},
        {bloqueo.arg("\"$QUORVAN\"", esperar), "Ya hay una demostración en ejecución en " + casa + "\n"},
        {bloqueo.arg("setpriv --reuid=65534 --regid=65534 --clear-groups \"$QUORVAN\"", esperar), ""},
        {bloqueo.arg("\"$QUORVAN\"", esperar) + "; flock -u 8", ""}, // let go: a lock file as an earlier version left it
    };
    QTemporaryDir fotos;
    QProcessEnvironment env = EntornoScript(casa);
    for (const auto& [v, valor] : {std::pair{"MARCAS", raiz.filePath("iniciados")}, {"OTRA", raiz.filePath("otra")},
                                   {"CASA", casa}, {"QUORVAN", raiz.filePath("bin/Quorvan")}, {"RAIZ", raiz.path()},
                                   {"FOTOS", fotos.path()}, {"SCRIPT", QUORVAN_ROOT_DIR "/scripts/run"},
                                   {"QUORVAN_BUILD", raiz.filePath("build")}, {"QT_QPA_PLATFORM", "offscreen"}})
        env.insert(v, valor);
    // A case in one shell: the folder prepared, the tree's picture, the demo, the picture again,
    // a lock's process ended.
    const QString guion = "rm -rf \"$CASA\" \"$OTRA\" \"$MARCAS\"; p=; %1\n"
                          "foto() { find \"$RAIZ\" -printf '%p %s\\n' | sort; }; foto > \"$FOTOS/antes\"\n"
                          "bash \"$SCRIPT\" --demo; r=$?; foto > \"$FOTOS/despues\"; [ -z \"$p\" ] || kill -9 $p; exit $r";
    for (const auto& [preparar, rechazo] : casos) {
        SCOPED_TRACE(preparar.toStdString());
        if (preparar.contains("65534") && ::geteuid() != 0) continue; // another account needs root
        QProcess p;
        p.setProcessEnvironment(env);
        p.start("sh", {"-c", guion.arg(preparar)});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), rechazo);
        EXPECT_EQ(p.exitCode(), rechazo.isEmpty() ? 0 : 1);
        if (rechazo.isEmpty())
            EXPECT_TRUE(Leer(raiz.filePath("iniciados")).find(casa.toStdString()) != std::string::npos &&
                        !QFile::exists(casa + "/demo.lock")) << "started, the folder itself the lock";
        else
            EXPECT_EQ(Leer(fotos.filePath("despues")), Leer(fotos.filePath("antes"))) << "nothing written or started";
    }
}

// On an account where the data source "Quorvan" is defined, and QUORVAN_DSN names it too, the
// demo's first start keeps its rows in the demo folder's own private database.
TEST_P(DemoDb, TheDemoKeepsItsRowsInItsOwnFolderWhateverDataSourceIsDefined)
{
    QTemporaryDir casa, odbc;
    QProcessEnvironment env = EntornoScript(casa.path(), EntornoOrigenDeDatos(odbc.path()));
    env.insert("QUORVAN_DSN", connectionString());
    env.insert("QUORVAN_DIALOGOS", odbc.filePath("respuestas"));
    QFile r(odbc.filePath("respuestas"));
    ASSERT_TRUE(r.open(QIODevice::WriteOnly) && r.write("\npulsar cmdAplicar cmdActualizar cmdAceptar\n") && r.flush());
    QProcess p;
    DemoHastaElInicio(p, casa.path(), env);
    EXPECT_EQ(QFile::permissions(casa.filePath("Quorvan.db")), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    Database demo;
    demo.OpenConnectionString(Database::SQLiteConnectionString(casa.filePath("Quorvan.db")));
    EXPECT_EQ(demo.Query("SELECT IdTerminal FROM Parametros").value(0).toInt(), 1);
    EXPECT_EQ(Connect()->Query("SELECT * FROM Parametros").RowCount(), 0) << "the data source's database is untouched";
}

INSTANTIATE_TEST_SUITE_P(Engines, DemoDb, DbEngines(), DbEngineName);
INSTANTIATE_TEST_SUITE_P(Engines, SitioDb, DbEngines(), DbEngineName);
