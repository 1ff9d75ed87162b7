#include "config/modRegistry.h"
#include "platform/Bloqueo.h"
#include "platform/Database.h"
#include "support/DatosTerminal.h"
#include "support/DruvexSim.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The real program, offscreen, on a configured terminal of its own home with two logged
// transactions, one account and the simulated client answering the start-up update.
class Programa : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QByteArray casa = qgetenv("QUORVAN_HOME");
        const QByteArray dsn = qgetenv("QUORVAN_DSN");
        qputenv("QUORVAN_HOME", home.path().toUtf8());
        qunsetenv("QUORVAN_DSN");
        {
            Database db;
            db.Open();
            db.EnsureSchema();
            DatosTerminal::Terminal(db, {1, wf.path()});
            DatosTerminal::ObraSocial(db, 1, "OSDE BINARIO", 5, 1);
            DatosTerminal::Prestador(db, 1, "CLINICA DEL SOL", "30700000049", "00001234", true);
            for (qint64 ticket : {1001, 1002}) {
                DatosTerminal::Logueada t{ticket};
                DatosTerminal::Transaccion(db, t);
                DatosTerminal::ArchivoTicket(t, "TICKET " + QByteArray::number(ticket));
            }
        }
        modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, "Terminal", "1");
        qputenv("QUORVAN_HOME", casa);
        if (!dsn.isEmpty()) qputenv("QUORVAN_DSN", dsn);
        wf.write("_druvex.emp", DruvexSim::RegistroEmp("00001234", "05", "OSDE BINARIO", "01", "AMBULATORIO"));
        DruvexSim::Guion g;
        g.archivos = DruvexSim::ArchivosTablasEjemplo();
        sim.setGuion(g);
        sim.iniciar();
    }
    void TearDown() override { sim.detener(); }

    void Preparar(QProcess& p) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUORVAN_HOME", home.path());
        env.insert("QUORVAN_INFORME", home.filePath("informe.txt"));
        env.insert("QUORVAN_DIALOGOS", home.filePath("sin-respuestas"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("QUORVAN_DSN");
        p.setProcessEnvironment(env);
        p.setProgram(QCoreApplication::applicationDirPath() + "/../Quorvan");
    }

    QTemporaryDir home;
    TempFolder wf;
    DruvexSim sim{wf.path()};
};

}

TEST_F(Programa, ReachesTheStartScreenRefusesASecondCopyAndEndsOnSigterm)
{
    QProcess primero;
    Preparar(primero);
    primero.start();
    ASSERT_TRUE(primero.waitForStarted(10000));
    const QString informe = home.filePath("informe.txt");
    for (int i = 0; i < 300 && !QFile::exists(informe) && primero.state() == QProcess::Running; ++i)
        primero.waitForFinished(100);
    ASSERT_TRUE(QFile::exists(informe)) << primero.readAllStandardError().toStdString();
    QFile f(informe);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(texto.contains("ventana=frmInicio\n")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("filas=2\n")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("titulo_principal=Quorvan - (1) OSDE BINARIO [Term: 1]\n")) << texto.toStdString();
    // The simulated client records a take just after its status appears, so it may still be
    // recording while the program already reports.
    EXPECT_TRUE(sim.esperarRespuestas(1, 5000)) << "the start-up update was answered";
    EXPECT_EQ(sim.tomas().size(), 1);
    EXPECT_FALSE(Bloqueo(home.filePath("Quorvan.lock")).Tomar()) << "held";

    QProcess segundo;
    Preparar(segundo);
    segundo.start();
    ASSERT_TRUE(segundo.waitForFinished(20000));
    EXPECT_EQ(segundo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(segundo.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(segundo.readAllStandardError()).contains("Ya existe una instancia previa de la aplicación"));
    EXPECT_EQ(primero.state(), QProcess::Running) << "the first copy is untouched";

    primero.terminate();
    ASSERT_TRUE(primero.waitForFinished(20000));
    EXPECT_EQ(primero.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(primero.exitCode(), 0);
    EXPECT_TRUE(Bloqueo(home.filePath("Quorvan.lock")).Tomar()) << "the lock is released";
    EXPECT_FALSE(QString::fromUtf8(primero.readAllStandardError()).contains("Seguro que quiere salir"));
}

// The program under a real X server (Debian's xvfb), its screen captured with ImageMagick into
// the build folder's screenshots; skipped where either is missing.
TEST_F(Programa, UnderARealXServer)
{
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    const QString import = QStandardPaths::findExecutable("import");
    if (xvfb.isEmpty() || import.isEmpty()) GTEST_SKIP() << "xvfb-run or ImageMagick's import is not installed";
    const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(carpeta);
    const QString captura = carpeta + "/x11.png";
    QFile::remove(captura);
    QProcess p;
    Preparar(p);
    QProcessEnvironment env = p.processEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.insert("QT_QPA_PLATFORM", "xcb");
    p.setProcessEnvironment(env);
    const QString guion = QStringLiteral(
        "\"$QUORVAN\" & q=$!; for i in $(seq 150); do [ -f \"$QUORVAN_INFORME\" ] && break; sleep 0.1; done; "
        "sleep 1; import -window root \"$CAPTURA\"; kill -TERM $q; wait $q");
    env.insert("QUORVAN", p.program());
    env.insert("CAPTURA", captura);
    p.setProcessEnvironment(env);
    p.setProgram(xvfb);
    p.setArguments({"-a", "-s", "-screen 0 1280x900x24", "sh", "-c", guion});
    p.start();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(captura));
}
