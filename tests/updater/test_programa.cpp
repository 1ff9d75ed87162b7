#include "engine/RegistroActualizacion.h"
#include "support/DruvexSim.h"
#include "support/TempFolder.h"
#include "updater/frmUpgradeWizard.h"
#include "AsistenteFixture.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <sys/resource.h>

namespace {

double CpuSegundos()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}

// The real program, offscreen, against the simulated client: it asks, installs the stand-in
// new program over the old one (also while the old one runs), starts it and ends with 0.
TEST(ProgramaAsistente, InstallsAndRestartsAgainstTheSimulatedClient)
{
    for (const bool corriendo : {false, true}) {
        SCOPED_TRACE(corriendo ? "old program running" : "old program idle");
        TempFolder wf;
        wf.mkdir("tx");
        QTemporaryDir home;
        QSettings(home.filePath("Quorvan.ini"), QSettings::IniFormat).setValue("LastTarsk/1", wf.path());

        const QString programa = wf.file("prog/Quorvan");
        wf.mkdir("prog");
        if (corriendo) QFile::copy("/bin/sleep", programa);
        else wf.write("prog/Quorvan", "#!/bin/sh\nexit 3\n");
        const QFile::Permissions modo = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup;
        QFile::setPermissions(programa, modo);
        QProcess viejo;
        if (corriendo) {
            viejo.start(programa, {"30"});
            ASSERT_TRUE(viejo.waitForStarted());
        }

        const QByteArray sustituto = QByteArray("#!/bin/sh\n{ echo \"$#\"; pwd; } > '") +
                                     QFile::encodeName(wf.file("corrio.tmp")) + "'\nmv '" +
                                     QFile::encodeName(wf.file("corrio.tmp")) + "' '" +
                                     QFile::encodeName(wf.file("corrio.txt")) + "'\n";
        DruvexSim sim(wf.path());
        sim.setGuion(DruvexSim::GuionActualizacion(
            DruvexSim::RegistroActualizacion("002", "009", "000", "000", "Quorvan.nuevo", "0000", "Nueva versión"),
            {{QStringLiteral("Quorvan.nuevo"), sustituto}}, true));
        sim.iniciar();

        QProcess asistente;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUORVAN_HOME", home.path());
        asistente.setProcessEnvironment(env);
        asistente.start(QStringLiteral(QUORVAN_WIZARD_EXE), {wf.path(), "3.1.7", programa, "", "0.0.0"});
        ASSERT_TRUE(asistente.waitForStarted());
        // Quorvan's exit: the marker is removed once it appears.
        QDeadlineTimer limite(30000);
        bool marcadorVisto = false;
        while (!asistente.waitForFinished(20) && !limite.hasExpired())
            if (QFile::remove(wf.file("tx/_Quorvan.end"))) marcadorVisto = true;
        sim.detener();
        ASSERT_EQ(asistente.state(), QProcess::NotRunning) << asistente.readAllStandardError().toStdString();
        EXPECT_EQ(asistente.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(asistente.exitCode(), 0) << asistente.readAllStandardError().toStdString();
        EXPECT_TRUE(marcadorVisto);

        EXPECT_EQ(sim.tomas().size(), 1);
        EXPECT_EQ(sim.tomas().value(0).upload.value("_svl.0"), QByteArray("V1009990"));
        EXPECT_EQ(wf.read("prog/Quorvan"), sustituto);
        EXPECT_EQ(QFile::permissions(programa) & 0x7077, modo); // owner, group, others
        EXPECT_EQ(QDir(wf.file("prog")).entryList(QDir::Files | QDir::Hidden), QStringList{"Quorvan"});
        EXPECT_EQ(wf.read("tx/_quorvan.rdy"), QByteArray("0"));
        EXPECT_TRUE(wf.exists("tx/_druvex.end"));
        ASSERT_TRUE(Asistente::Hasta([&] { return wf.exists("corrio.txt"); }, 10000));
        EXPECT_EQ(wf.read("corrio.txt"), "0\n" + QFile::encodeName(QDir(wf.file("prog")).canonicalPath()) + "\n");
        if (corriendo) {
            EXPECT_EQ(viejo.state(), QProcess::Running);
            viejo.kill();
            viejo.waitForFinished();
        }
    }
}

// The wait for the answer sleeps between the folder's notices and its ticks.
TEST_F(Asistente, ThreeSecondWaitUsesLittleCpu)
{
    frmUpgradeWizard frm(Argumentos());
    frm.Form_Load();
    ASSERT_TRUE(frm.EsperandoRespuesta());
    const double cpu0 = CpuSegundos();
    const qint64 t0 = DruvexSim::AhoraNs();
    QEventLoop loop;
    QTimer::singleShot(3000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double pared = (DruvexSim::AhoraNs() - t0) / 1e9;
    const double usado = CpuSegundos() - cpu0;
    std::printf("wizard wait of %.2f s used %.4f s of CPU\n", pared, usado);
    EXPECT_GE(pared, 2.9);
    EXPECT_TRUE(frm.EsperandoRespuesta());
    EXPECT_GE(frm.EstadoAsistente().Celda, 0);
    EXPECT_LT(usado, 0.05 * pared);
}
