#include "config/Coleccion.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "config/clsPrestador.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Navegador.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/PaginasAyuda.h"
#include "shell/PedidoActualizacion.h"
#include "shell/ProgramasExternos.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/modVentanas.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QThread>
#include <QApplication>
#include <QCursor>
#include <algorithm>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Waits, sleeping, until the file exists and is not empty.
QByteArray EsperarArchivo(const QString& ruta, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QFile f(ruta);
        if (f.open(QIODevice::ReadOnly) && f.size() > 0) return f.readAll();
        QThread::msleep(20);
    }
    return {};
}

// A program that writes its arguments, one a line, and its working folder into `salida`.
void Guion(const TempFolder& tmp, const QString& nombre, const QString& salida)
{
    tmp.write(nombre, ("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + salida + ".tmp'\npwd >> '" + salida +
                       ".tmp'\nmv '" + salida + ".tmp' '" + salida + "'\n")
                          .toUtf8());
    QFile::setPermissions(tmp.file(nombre), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The system's process table seen through the processes this test started only; the ones in
// `tercos` ignore every request to end.
class TablaDePrueba : public TablaProcesos {
public:
    TablaDePrueba() { TablaProcesos::Instalar(this); }
    ~TablaDePrueba() override { TablaProcesos::Instalar(nullptr); }
    bool Listar(QList<Proceso>& procesos, QString& error) override
    {
        QList<Proceso> todos;
        if (!TablaProcesos::Sistema().Listar(todos, error)) return false;
        procesos.clear();
        for (const auto& p : todos)
            if (propios.contains(p.pid)) procesos.append(p);
        return true;
    }
    void Terminar(qint64 pid, bool forzar) override
    {
        terminados.insert(pid);
        if (!tercos.contains(pid)) TablaProcesos::Sistema().Terminar(pid, forzar);
    }
    bool Terminado(qint64 pid) override { return TablaProcesos::Sistema().Terminado(pid); }

    QSet<qint64> propios, tercos, terminados;
};

class Menus : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::setProgramPath(tmp.file("base/prog/Quorvan"));
        tmp.mkdir("base/prog");
        Platform::setProgramVersion({2, 5, 7});
        General::DirectorioTrabajo.clear();
    }
    void TearDown() override
    {
        Platform::resetProgramPath();
        Platform::resetProgramVersion();
        Navegador::setAbridor({});
    }
    TempFolder tmp;
    ScriptedDialogs dialogs;
};

} // namespace

TEST(MenusReglas, PathsArgumentsPagesAndFlags)
{
    using namespace ProgramasExternos;
    EXPECT_EQ(CarpetaDe("/opt/q/Quorvan"), "/opt/q");
    EXPECT_EQ(CarpetaDe("/Quorvan"), "/");
    EXPECT_EQ(RutaAsistente("/opt/q"), "/opt/q/UpgradeWizardQuorvan");
    EXPECT_EQ(RutaAsistente("/"), "/UpgradeWizardQuorvan");
    EXPECT_EQ(CarpetaCliente("/opt/q"), "/opt/DRUVEX Cliente/");
    EXPECT_EQ(CarpetaCliente("/q"), "/DRUVEX Cliente/");
    EXPECT_EQ(CarpetaCliente("/"), "/DRUVEX Cliente/");
    EXPECT_EQ(ArgumentosAsistente("/canje/", {10, 0, 12}, "/opt/q/Quorvan"),
              QStringList({"/canje/", "10.0.12", "/opt/q/Quorvan", "", "0.0.0"}));
    EXPECT_EQ(frmAbout::LineaVersion({10, 0, 12}), "Versión 10.0.12");

    const struct {
        const char* ejecutable;
        const char* comando;
        bool cliente;
    } procesos[] = {{"dash", "Druvex32.exe", true},          {"old_druvex32.exe", "old_druvex32.ex", false},
                    {"DRUVEX32.EXE", "DRUVEX32.EXE", true},   {"", " druvex32.exe ", true},
                    {"druvex32", "druvex", false},            {"bash", "Druvex32.ex", false},
                    {"copia-druvex32.exe-respaldo", "copia-druvex32.", false}};
    for (const auto& p : procesos)
        EXPECT_EQ(EsCliente({1, p.ejecutable, p.comando}), p.cliente) << p.ejecutable << " / " << p.comando;
    const Clientes c = BuscarClientes({{1, "druvex32.exe", "", 500}, {2, "", "druvex32.exe", 0},
                                       {3, "", "druvex32.exe", -1}, {4, "sh", "sh", 0}},
                                      500);
    EXPECT_EQ(c.propios, QList<qint64>{1});
    EXPECT_EQ(c.ajenos, (QList<qint64>{2, 3}));

    const Platform::Version v{3, 2, 45};
    int conVersion = 0;
    QSet<QString> distintas;
    for (const char* e : {"mnuAyudaQuorvan", "mnuAyudaCierres", "mnuAyudaReclamo", "mnuChat", "mnuContactos",
                          "mnuDescargas"}) {
        const QUrl u = PaginasAyuda::Direccion(e, v);
        EXPECT_TRUE(u.isValid() && u.host() == "www.corvanda.example") << e;
        conVersion += u.toString().endsWith("3.2.45");
        distintas.insert(u.toString());
    }
    EXPECT_EQ(conVersion, 5);
    EXPECT_EQ(distintas.size(), 6);
    EXPECT_TRUE(PaginasAyuda::Direccion("mnuAcerca", v).isEmpty());

    const struct {
        const char* defaultDirTX;
        const char* dirTX;
        const char* resultado; // "tx", "dirtx" or "13"
    } disparos[] = {{"-1", "/otra", "tx"},  {"TRUE", "/otra", "tx"}, {" true ", "", "tx"}, {"0", "", "tx"},
                    {"False", "", "tx"},    {"0", "/otra", "dirtx"}, {"fALSE", "/otra", "dirtx"},
                    {"", "/otra", "13"},    {"si", "", "13"}};
    for (const auto& d : disparos) {
        std::string r;
        try {
            r = PedidoActualizacion::TriggerEnTx(d.defaultDirTX, d.dirTX) ? "tx" : "dirtx";
        } catch (const VbError& e) {
            r = std::to_string(e.number);
        }
        EXPECT_EQ(r, d.resultado) << d.defaultDirTX << " / " << d.dirTX;
    }
}

TEST_F(Menus, AboutBoxStartsTheWizardWithItsFiveArgumentsOrSaysWhyNot)
{
    {
        // The README's picture, with the program's own version.
        Platform::resetProgramVersion();
        frmAbout a;
        a.Form_Load();
        a.adjustSize();
        const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(carpeta);
        a.grab().save(carpeta + "/about.png");
        Platform::setProgramVersion({2, 5, 7});
    }
    Guion(tmp, "base/prog/UpgradeWizardQuorvan", tmp.file("argumentos"));
    frmMain m;
    QString titulo, version, descripcion;
    dialogs.modalHandler = [&](QDialog* d) {
        auto* a = dynamic_cast<frmAbout*>(d);
        if (!a) return 0;
        titulo = a->windowTitle();
        version = a->lblVersion->text();
        descripcion = a->lblDescription->text();
        a->cmdActualizar->click();
        EXPECT_TRUE(a->isHidden()) << "the about box closes first";
        return 0;
    };
    m.mnuAcerca_Click();
    EXPECT_EQ(titulo, "Acerca de Quorvan");
    EXPECT_EQ(version, "Versión 2.5.7");
    EXPECT_EQ(descripcion.count('\n'), 2);
    EXPECT_EQ(QString::fromUtf8(EsperarArchivo(tmp.file("argumentos"))),
              "\n2.5.7\n" + tmp.file("base/prog/Quorvan") + "\n\n0.0.0\n" + tmp.file("base/prog") + "\n");
    EXPECT_TRUE(dialogs.shown.size() == 1 && dialogs.shown[0].kind == "modal");

    QFile::remove(tmp.file("base/prog/UpgradeWizardQuorvan"));
    dialogs.clear();
    m.mnuAcerca_Click();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].text, "Imposible realizar la actualización del software.");
    EXPECT_EQ(dialogs.shown[1].title, "53 No se ha encontrado el archivo");
    EXPECT_EQ(dialogs.shown[1].style, Vbc::vbCritical);
}

TEST_F(Menus, SystemInformationFromTheRegistryFile)
{
    const QString registro = modRegistry::ArchivoRegistro();
    QFile::remove(registro);
    frmAbout a;
    QString valor = "viejo";
    EXPECT_FALSE(a.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, "SOFTWARE\\Prueba", "Texto", valor));
    EXPECT_TRUE(valor.isEmpty());
    a.StartSysInfo();
    ASSERT_EQ(dialogs.messages(), QStringList{"System Information Is Unavailable At This Time"});
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbOKOnly);

    Guion(tmp, "msinfo", tmp.file("msinfo.out"));
    tmp.write("registro.ini", ("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Prueba]\r\n\"Texto\"=\"hola\"\r\n"
                               "\"Chico\"=dword:00000105\r\n\"Cero\"=dword:00000000\r\n\"Max\"=dword:7fffffff\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\r\n\"PATH\"=\"" +
                               tmp.file("msinfo") + "\"\r\n")
                                  .toUtf8());
    QFile::copy(tmp.file("registro.ini"), registro);
    const struct {
        const char* nombre;
        bool encontrado;
        const char* texto;
    } casos[] = {{"Texto", true, "hola"},       {"Chico", true, "&h00000105"}, {"Cero", true, "&h00000000"},
                 {"Max", true, "&h7FFFFFFF"}, {"Falta", false, ""}};
    for (const auto& c : casos) {
        valor = "previo";
        EXPECT_EQ(a.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, "SOFTWARE\\Prueba", c.nombre, valor), c.encontrado);
        EXPECT_EQ(valor, c.texto) << c.nombre;
    }
    EXPECT_FALSE(a.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, "SOFTWARE\\Otra", "Texto", valor));
    dialogs.clear();
    a.cmdSysInfo->click();
    EXPECT_FALSE(EsperarArchivo(tmp.file("msinfo.out")).isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    QFile::remove(registro);
}

TEST_F(Menus, RestartEndsEveryClientBeforeTheNewOneStarts)
{
    // Stand-ins: a script known by its command name only, and binaries by their file name only;
    // the last two merely contain the client's name and stay.
    tmp.write("bin/Druvex32.exe", "#!/bin/sh\nwhile :; do sleep 1; done\n");
    QFile::setPermissions(tmp.file("bin/Druvex32.exe"), QFile::ReadOwner | QFile::ExeOwner);
    for (const char* copia : {"bin/old_druvex32.exe", "bin/DRUVEX32.EXE", "bin/copia-druvex32.exe-respaldo"})
        QFile::copy("/bin/sleep", tmp.file(copia));
    Guion(tmp, "base/DRUVEX Cliente/Druvex32.exe", tmp.file("cliente"));

    TablaDePrueba tabla;
    std::vector<std::unique_ptr<QProcess>> corriendo;
    QList<qint64> pids;
    for (const char* programa : {"bin/Druvex32.exe", "bin/DRUVEX32.EXE", "bin/old_druvex32.exe",
                                 "bin/copia-druvex32.exe-respaldo"}) {
        auto p = std::make_unique<QProcess>();
        p->start(tmp.file(programa), {"30"});
        ASSERT_TRUE(p->waitForStarted());
        pids << p->processId();
        tabla.propios.insert(pids.last());
        corriendo.push_back(std::move(p));
    }
    QThread::msleep(100); // the script's shell has read its name
    frmMain m;
    m.Menu("mnuReiniiarDruvex")->trigger();
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.messages().join('|').toStdString();
    EXPECT_EQ(tabla.terminados, (QSet<qint64>{pids[0], pids[1]}));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(i < 2 ? corriendo[i]->state() == QProcess::NotRunning || corriendo[i]->waitForFinished(3000)
                          : corriendo[i]->state() == QProcess::Running)
            << i;
    EXPECT_EQ(QString::fromUtf8(EsperarArchivo(tmp.file("cliente"))), tmp.file("base/DRUVEX Cliente") + "\n");
    for (auto& p : corriendo) {
        p->kill();
        p->waitForFinished();
    }

    // None running: only the start.
    tabla.propios.clear();
    tabla.terminados.clear();
    QFile::remove(tmp.file("cliente"));
    ProgramasExternos::ReiniciarClienteComunicaciones();
    EXPECT_TRUE(tabla.terminados.isEmpty());
    EXPECT_FALSE(EsperarArchivo(tmp.file("cliente")).isEmpty());

    // The client's folder missing.
    QFile::remove(tmp.file("base/DRUVEX Cliente/Druvex32.exe"));
    ProgramasExternos::ReiniciarClienteComunicaciones();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "No se pudo arrancar el cliente Druvex en: " + tmp.file("base/DRUVEX Cliente/"));
    EXPECT_EQ(dialogs.shown[0].title, "No se ha encontrado el archivo");
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
}

// The up to 3 s wait lets the window run, with nothing else to start meanwhile.
TEST_F(Menus, ACopyThatWillNotEndLeavesTheClientUnstarted)
{
    Guion(tmp, "base/DRUVEX Cliente/Druvex32.exe", tmp.file("cliente"));
    tmp.mkdir("bin");
    QFile::copy("/bin/sleep", tmp.file("bin/druvex32.exe"));
    QProcess terco;
    terco.start(tmp.file("bin/druvex32.exe"), {"30"});
    ASSERT_TRUE(terco.waitForStarted());
    TablaDePrueba tabla;
    tabla.propios.insert(terco.processId());
    tabla.tercos.insert(terco.processId());
    frmMain m;
    bool durante = false;
    QTimer::singleShot(300, [&] {
        durante = true;
        EXPECT_FALSE(m.Menu("mnuVerificar")->isEnabled());
        EXPECT_FALSE(m.Menu("mnuReiniiarDruvex")->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor,
                  Qt::WaitCursor);
        m.Menu("mnuReiniiarDruvex")->trigger(); // a second restart does not start
    });
    m.Menu("mnuReiniiarDruvex")->trigger();
    EXPECT_TRUE(durante);
    EXPECT_EQ(dialogs.messages(), QStringList{"No se pudo detener el cliente Druvex."});
    EXPECT_TRUE(m.Menu("mnuVerificar")->isEnabled() && m.Menu("mnuReiniiarDruvex")->isEnabled());
    EXPECT_FALSE(QApplication::overrideCursor());
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(tmp.file("cliente")));
    terco.kill();
    terco.waitForFinished();
}

// Another user's client is neither ended nor joined by a new one.
TEST_F(Menus, AnotherUsersClientIsLeftAndNoneStarts)
{
    if (TablaProcesos::UsuarioActual() != 0) GTEST_SKIP() << "starting a process as another user needs root";
    if (QStandardPaths::findExecutable("setpriv").isEmpty()) GTEST_SKIP() << "setpriv (util-linux) is missing";
    Guion(tmp, "base/DRUVEX Cliente/Druvex32.exe", tmp.file("cliente"));
    QTemporaryDir abierta; // the other user must reach the program
    QFile::setPermissions(abierta.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    const QString programa = abierta.filePath("druvex32.exe");
    QFile::copy("/bin/sleep", programa);
    QProcess ajeno;
    ajeno.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", programa, "30"});
    ASSERT_TRUE(ajeno.waitForStarted());
    TablaDePrueba tabla;
    tabla.propios.insert(ajeno.processId());
    QList<TablaProcesos::Proceso> p;
    QString error;
    for (int i = 0; i < 100 && (p.size() != 1 || p[0].usuario != 65534 || p[0].comando != "druvex32.exe"); ++i) {
        QThread::msleep(20); // setpriv has not yet become the client
        tabla.Listar(p, error);
    }
    frmMain m;
    m.Menu("mnuReiniiarDruvex")->trigger();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith(
        QString("Hay un cliente Druvex de otro usuario en ejecución (proceso %1).").arg(ajeno.processId())));
    EXPECT_TRUE(tabla.terminados.isEmpty());
    EXPECT_FALSE(TablaProcesos::Sistema().Terminado(ajeno.processId()));
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(tmp.file("cliente")));
    ajeno.kill();
    ajeno.waitForFinished();
}

TEST_F(Menus, HelpPagesReportsAndExit)
{
    QList<QUrl> abiertas;
    bool abre = true;
    Navegador::setAbridor([&](const QUrl& u) {
        abiertas.append(u);
        return abre;
    });
    frmMain m;
    m.mnuTemasAyuda_Click();
    EXPECT_TRUE(abiertas.isEmpty() && dialogs.shown.isEmpty()) << "no help file: nothing";
    tmp.write("base/prog/Quorvan.chm", "ayuda");
    m.mnuTemasAyuda_Click();
    ASSERT_EQ(abiertas.size(), 1);
    EXPECT_EQ(abiertas[0], QUrl::fromLocalFile(tmp.file("base/prog/Quorvan.chm")));
    abre = false;
    m.mnuTemasAyuda_Click();
    EXPECT_EQ(dialogs.messages(),
              QStringList{"No se pudo abrir el archivo de ayuda " + tmp.file("base/prog/Quorvan.chm")});

    abiertas.clear();
    for (const char* e : {"mnuAyudaQuorvan", "mnuAyudaCierres", "mnuAyudaReclamo", "mnuChat", "mnuContactos",
                          "mnuDescargas"})
        m.Menu(e)->trigger();
    ASSERT_EQ(abiertas.size(), 6);
    EXPECT_EQ(abiertas[0], PaginasAyuda::Direccion("mnuAyudaQuorvan", {2, 5, 7}));
    EXPECT_EQ(abiertas[5], PaginasAyuda::Direccion("mnuDescargas", {2, 5, 7}));

    for (const char* n : {"mnuInforme", "mnuReportes", "mnuActualizacion", "mnuHistoriaClinica", "mnuInstalarFuente"})
        EXPECT_FALSE(m.Menu(n)->isEnabled()) << n;

    auto* entrada = new QWidget;
    entrada->setObjectName("frmEmuladorPOS");
    m.MDIArea->addSubWindow(entrada)->show();
    QStringList modales;
    dialogs.modalHandler = [&](QDialog* d) {
        modales << d->metaObject()->className() << QString::number(m.MDIArea->subWindowList().size());
        return 0;
    };
    m.mnuValoraciones_Click();
    EXPECT_EQ(m.MDIArea->subWindowList().size(), 1) << "valuations leave the working windows";
    m.Menu("mnuReportes")->setEnabled(true);
    m.Menu("mnuReportes")->trigger();
    EXPECT_EQ(modales, QStringList({"frmValoraciones", "1", "frmReporte", "0"}))
        << "valuations opened over the entry form, which closed before the reports opened";

    modales.clear();
    m.mnuConfigurar_Click();
    EXPECT_EQ(modales, QStringList({"frmPassword", "0"})) << "the access code, modal";
    m.mnuImpresora_Click();
    const auto impresoras = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::any_of(impresoras.begin(), impresoras.end(), [](QWidget* w) {
        return w->objectName() == "frmImpresoras" && w->isVisible() && !w->isModal();
    })) << "the printer window, not modal";

    dialogs.clear();
    dialogs.msgAnswers = {Vbc::vbNo};
    const QString caption = m.windowTitle();
    m.mnuSalir_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{"Seguro que quiere salir de la aplicación?"});
    EXPECT_EQ(m.windowTitle(), caption);
}

// ---- Against the simulated client and the database --------------------------------------

namespace {

class MenusCliente : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        wf.mkdir("tx");
        General::DirectorioTrabajo = wf.path();
        General::Licencias = QStringList{"00001234"};
        General::LicenciaSeleccionada.clear();
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setObrasSociales(std::make_shared<Coleccion<clsObraSocial>>());
        General::gConfig->setDefaultDirTX("-1");
        Platform::setProgramVersion({1, 2, 3});
        modVentanas::setObservador([this](const QString& v, bool) { ventanas << v; });
    }
    void TearDown() override
    {
        sim.detener();
        modVentanas::setObservador({});
        frmProcesandoCO::setDuracionTick(1000);
        Platform::resetProgramVersion();
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::DirectorioTrabajo.clear();
        DbFixture::TearDown();
    }
    TempFolder wf;
    ScriptedDialogs dialogs;
    DruvexSim sim{wf.path()};
    QStringList ventanas;
};

const QByteArray kPedido123 = "010001002003" + QByteArray(64, ' ') + "0000" + QByteArray(30, ' ') + "\r\n";

} // namespace

TEST_P(MenusCliente, ProviderUpdateForTheAccountInUse)
{
    sim.iniciar();
    frmMain m;
    m.mnuActualizarPrestadores_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{"Debe seleccionar una única licencia para hacer la actualización"});
    EXPECT_FALSE(sim.esperarTomas(1, 200)) << "the client is never asked";

    General::LicenciaSeleccionada = "00001234";
    DruvexSim::Guion g;
    g.archivos.insert("_sal.6", DruvexSim::LineaPrestador("CLINICA DEL SOL", "30700000049", true, "1", "000012345",
                                                          true, "60", "1", false, "00001234", "1"));
    sim.encolarGuion(g);
    dialogs.clear();
    m.mnuActualizarPrestadores_Click();
    ASSERT_EQ(sim.tomas().size(), 1);
    const QByteArray sal0 = sim.tomas()[0].upload.value("_sal.0");
    EXPECT_EQ(sal0.mid(35, 5), "00000");
    EXPECT_EQ(sal0.mid(95, 2), "10") << "providers only";
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().text, "Se realizó el proceso de actualización");
    EXPECT_EQ(dialogs.shown.last().title, "Actualización");
    ASSERT_TRUE(General::gConfig->Prestadores() && General::gConfig->Prestadores()->Count() == 1)
        << "the fetched rows are seen at once";
    EXPECT_EQ(General::gConfig->Prestadores()->Item_(1)->Nombre, "CLINICA DEL SOL");
    EXPECT_TRUE(ventanas.contains("frmObraSocial"));
    EXPECT_EQ(m.cursor().shape(), Qt::ArrowCursor);

    DruvexSim::Guion mudo;
    mudo.modo = DruvexSim::Modo::NoTomar;
    sim.setGuion(mudo);
    dialogs.clear();
    m.mnuActualizarPrestadores_Click();
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().text, "NO se realizó el proceso de actualización");
    EXPECT_EQ(dialogs.shown.last().style, Vbc::vbCritical);
    EXPECT_EQ(m.cursor().shape(), Qt::ArrowCursor) << "the hourglass is taken back";
}

TEST_P(MenusCliente, UpdateRequestReachesTheClientWholeAndFailsSafely)
{
    sim.iniciar();
    wf.write("termupg/upload/_druvex.upg", QByteArray(300, 'X'));
    wf.write("termupg/upload/_svl.0", "V9999999EXTRA");
    wf.write("estado.rsp", "0");
    frmMain m;
    m.mnuActualizacion_Click();
    ASSERT_TRUE(sim.esperarTomas(1, 5000));
    EXPECT_EQ(sim.tomas()[0].terminal, "termupg");
    EXPECT_EQ(sim.tomas()[0].upload.value("_druvex.upg"), kPedido123);
    EXPECT_EQ(sim.tomas()[0].upload.value("_svl.0"), "V1009990");
    EXPECT_FALSE(wf.exists("estado.rsp"));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "no message after a request";
    sim.detener();

    // DefaultDirTX "0" with the emptied DirTX: still the working folder's tx.
    General::gConfig->setDefaultDirTX("0");
    m.mnuActualizacion_Click();
    EXPECT_TRUE(wf.exists("tx/termupg"));
    QFile::remove(wf.file("tx/termupg"));
    wf.mkdir("otra");
    General::gConfig->setDirTX(wf.file("otra"));
    m.mnuActualizacion_Click();
    EXPECT_TRUE(wf.exists("otra/termupg"));
    EXPECT_FALSE(wf.exists("tx/termupg"));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // No tx: the error box, the request files stay.
    General::gConfig->setDefaultDirTX("True");
    QDir(wf.file("tx")).removeRecursively();
    QFile::remove(wf.file("termupg/upload/_svl.0"));
    m.mnuActualizacion_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_EQ(wf.read("termupg/upload/_svl.0"), "V1009990");

    // A revision that does not fit three digits: nothing written.
    QDir(wf.file("termupg")).removeRecursively();
    Platform::setProgramVersion({1, 2, 1000});
    dialogs.clear();
    m.mnuActualizacion_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_FALSE(wf.exists("termupg"));
}

INSTANTIATE_TEST_SUITE_P(Engines, MenusCliente, DbEngines(), DbEngineName);
