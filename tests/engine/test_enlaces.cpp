// Links planted in the working folder, which the client (another program) writes too: the
// exchange fails with a message naming the link and whatever it points to stays untouched.
#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "platform/EscrituraSegura.h"
#include "platform/VbError.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class Enlaces : public ::testing::Test {
protected:
    void SetUp() override
    {
        frmProcesandoCO::setDuracionTick(40);
        General::ReiniciarControlRepeticion();
        dialogs.modalHandler = [](QDialog*) { return 1; };
        fuera.write("secreto", "no tocar");
        fuera.mkdir("carpeta");
        fuera.write("carpeta/dentro", "tampoco");
    }
    void TearDown() override
    {
        sim.detener();
        frmProcesandoCO::setDuracionTick(1000);
        // Nothing outside the working folder was written, emptied or deleted.
        EXPECT_EQ(fuera.read("secreto"), QByteArray("no tocar"));
        EXPECT_EQ(QDir(fuera.file("carpeta")).entryList(QDir::Files), QStringList{"dentro"});
        EXPECT_EQ(fuera.read("carpeta/dentro"), QByteArray("tampoco"));
    }
    void Enlace(const QString& destino, const QString& nombre) { ASSERT_TRUE(QFile::link(destino, wf.file(nombre))); }
    // A header request with one service; `fijo` names a fixed terminal folder.
    bool Enviar(const QString& fijo = QStringLiteral("Term01"), const QString& adjunto = QString())
    {
        t = std::make_unique<clsTransaccion>();
        t->setPasoDRUVEX(wf.path() + fijo);
        t->setMostrarFormProceso(false);
        t->setVerTicket(false);
        EXPECT_TRUE(t->CompletarSVL1(1, "20123456789", "6001234567", "", "", "", "", "", "", "", "0", "20240305",
                                     "1030", false, "12", "", ""));
        t->AgregarItemSVL2("420101", "1", "1", "1", "", "");
        if (!adjunto.isEmpty()) t->AdjuntarArchivo(adjunto);
        return t->EnviarTransaccion();
    }
    // The send failed and its one error names `quien`.
    void FallaNombrando(bool enviado, const QString& quien)
    {
        EXPECT_FALSE(enviado && t->TransaccionAprobada());
        EXPECT_FALSE(t->TransaccionAprobada());
        QStringList textos;
        for (const auto& e : t->colErrores) textos << e.Comentario;
        EXPECT_TRUE(textos.join('|').contains(quien)) << textos.join('|').toStdString();
    }

    TempFolder wf, fuera;
    ScriptedDialogs dialogs;
    DruvexSim sim{wf.path()};
    std::unique_ptr<clsTransaccion> t;
};

}

// A terminal folder, its upload in either case or its download that is a link: each its own test.
struct CarpetaEnlazada {
    const char* enlace; // planted below the working folder, pointing outside
    const char* nombre;
};
class EnlacesDeCarpeta : public Enlaces, public ::testing::WithParamInterface<CarpetaEnlazada> {};

TEST_P(EnlacesDeCarpeta, IsRefused)
{
    sim.iniciar();
    if (QString(GetParam().enlace).startsWith("Term01/")) wf.mkdir("Term01");
    Enlace(fuera.file("carpeta"), GetParam().enlace);
    FallaNombrando(Enviar(), GetParam().enlace);
    EXPECT_TRUE(sim.tomas().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Enlaces, EnlacesDeCarpeta,
                         ::testing::Values(CarpetaEnlazada{"Term01/upload", "upload"},
                                           CarpetaEnlazada{"Term01/UPLOAD", "UPLOAD"},
                                           CarpetaEnlazada{"Term01/download", "download"},
                                           CarpetaEnlazada{"Term01", "terminal"}),
                         [](const auto& i) { return std::string(i.param.nombre); });

TEST_F(Enlaces, ARequestFileThatIsALinkIsNotWrittenThrough)
{
    sim.iniciar();
    wf.mkdir("Term01/upload");
    wf.mkdir("Term01/download");
    Enlace(fuera.file("secreto"), "Term01/upload/_svl.0");
    // Emptying upload removes the link itself; one planted after it is refused by the writer.
    EXPECT_TRUE(Enviar());
    EXPECT_FALSE(QFileInfo(wf.file("Term01/upload/_svl.0")).isSymLink());
    const CarpetaTerminal terminal(wf.path(), QStringLiteral("Term01"));
    QFile::remove(wf.file("Term01/upload/_svl.0"));
    Enlace(fuera.file("secreto"), "Term01/upload/_svl.0");
    EXPECT_THROW(terminal.GrabarArchivo(QStringLiteral("_svl.0"), "V2501101", "x"), VbError);
    EXPECT_THROW(terminal.GrabarRegistro(QStringLiteral("_svl.0"), 1, 8, "V2501101", "x"), VbError);
}

TEST_F(Enlaces, ATriggerOrMarkerThatIsALinkIsNotWrittenThrough)
{
    wf.mkdir("tx");
    Enlace(fuera.file("secreto"), "tx/_quorvan.rdy");
    Enlace(fuera.file("secreto"), "tx/termupg");
    QString error;
    EXPECT_FALSE(EscrituraSegura::EscribirArchivo(wf.file("tx/_quorvan.rdy"), "0", &error));
    EXPECT_TRUE(error.contains("_quorvan.rdy")) << error.toStdString();
    const CarpetaTerminal upg(wf.path(), QStringLiteral("termupg"));
    EXPECT_FALSE(upg.AsegurarDisparador(true));
    EXPECT_TRUE(upg.CrearDisparador(true)) << "the exchange's trigger replaces a link, never writes through it";
    EXPECT_FALSE(QFileInfo(wf.file("tx/termupg")).isSymLink());
}

TEST_F(Enlaces, AnAnswerThatIsALinkIsNotRead)
{
    DruvexSim::Guion g;
    g.alResponder = [this](const QString& descarga) {
        QFile::remove(descarga + "/_svl.1");
        QFile::link(fuera.file("secreto"), descarga + "/_svl.1");
    };
    sim.setGuion(g);
    sim.iniciar();
    FallaNombrando(Enviar(), "_svl.1");
    EXPECT_FALSE(t->TransaccionRealizada());
}

TEST_F(Enlaces, AStaleLinkInDownloadIsRemovedAndTheNextExchangeWorks)
{
    sim.iniciar();
    wf.mkdir("Term01/upload");
    wf.mkdir("Term01/download");
    Enlace(fuera.file("secreto"), "Term01/download/_svl.1");
    Enlace(fuera.file("carpeta"), "Term01/download/viejo");
    EXPECT_TRUE(Enviar());
    EXPECT_TRUE(t->TransaccionAprobada());
    EXPECT_TRUE(Enviar());
    EXPECT_TRUE(t->TransaccionAprobada());
}

// A per-exchange folder goes whole, whatever the client left in it; a fixed one keeps a
// subfolder the client made.
TEST_F(Enlaces, APerExchangeFolderIsRemovedWithEverythingBelowIt)
{
    DruvexSim::Guion g;
    g.sinSVL1 = true;
    g.alResponder = [this](const QString& descarga) {
        QDir().mkpath(descarga + "/_svl.1/sub");
        QFile::link(fuera.file("carpeta"), descarga + "/_svl.1/sub/enlace");
    };
    sim.setGuion(g);
    sim.iniciar();
    EXPECT_FALSE(Enviar(QString()) && t->TransaccionAprobada());
    EXPECT_EQ(QDir(wf.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"tx"});
}

// The triggers opened for appending keep what an existing one holds; the exchange's own is
// made anew, empty, since its appearance is the client's signal.
TEST_F(Enlaces, AppendingTriggersKeepTheirContent)
{
    wf.mkdir("tx");
    for (const char* nombre : {"termrep", "termupg", "Term01"}) wf.write(QString("tx/") + nombre, "lleno");
    EXPECT_TRUE(CarpetaTerminal(wf.path(), "termrep").AsegurarDisparador());
    EXPECT_TRUE(CarpetaTerminal(wf.path(), "termupg").AsegurarDisparador(true));
    EXPECT_TRUE(CarpetaTerminal(wf.path(), "Term01").CrearDisparador());
    EXPECT_EQ(wf.read("tx/termrep"), QByteArray("lleno"));
    EXPECT_EQ(wf.read("tx/termupg"), QByteArray("lleno"));
    EXPECT_EQ(wf.read("tx/Term01"), QByteArray());
    EXPECT_TRUE(CarpetaTerminal(wf.path(), "nuevo").AsegurarDisparador());
    EXPECT_TRUE(wf.exists("tx/nuevo"));
}

// As a hostile account would: when the first request file appears in upload (or the trigger
// in tx), that folder becomes a link outside; ten sends each.
TEST_F(Enlaces, AFolderSwappedForALinkDuringTheSendGetsNothingOutside)
{
    frmProcesandoCO::setDuracionTick(5);
    fuera.write("Term01", "el disparo de otro"); // named as the trigger the time-out takes back
    wf.write("adjunto.pdf", QByteArray(256 * 1024, 'x'));
    for (const auto& [carpeta, destino] : {std::pair{"Term01/upload", fuera.file("carpeta")}, {"tx", fuera.path()}}) {
        for (int envio = 0; envio < 10; ++envio) {
            wf.mkdir("Term01/upload");
            wf.mkdir("tx");
            const int fd = ::inotify_init1(IN_CLOEXEC);
            ::inotify_add_watch(fd, QFile::encodeName(wf.file(carpeta)).constData(), IN_CREATE);
            std::thread cambio([&] {
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 5000) <= 0) return;
                QFile::rename(wf.file(carpeta), wf.file("real"));
                QFile::link(destino, wf.file(carpeta));
            });
            EXPECT_FALSE(Enviar("Term01", wf.file("adjunto.pdf")) && t->TransaccionAprobada());
            cambio.join();
            ::close(fd);
            QFile::remove(wf.file(carpeta));
            QDir(wf.file("real")).removeRecursively();
        }
    }
    EXPECT_EQ(QDir(fuera.path()).entryList(QDir::Files).size(), 2); // nothing made beside them
    EXPECT_EQ(fuera.read("Term01"), QByteArray("el disparo de otro"));
}

// A file planted at a request's name by another account lends the new file none of its bits
// beyond read and write, and never more than the umask leaves a new file.
TEST(EscrituraCliente, APlantedModeIsNeverCopied)
{
    struct Caso {
        mode_t umask, plantado, esperado; // plantado 0: nothing stood there
    } casos[] = {{022, 06777, 0644}, {002, 06777, 0664}, {022, 0, 0644}, {002, 0640, 0640}, {022, 04755, 0644}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::to_string(c.umask) + " " + std::to_string(c.plantado));
        TempFolder wf;
        wf.mkdir("Term01/upload");
        if (c.plantado) wf.write("Term01/upload/_svl.0", "viejo");
        ::chmod(QFile::encodeName(wf.file("Term01/upload/_svl.0")).constData(), c.plantado);
        const mode_t anterior = ::umask(c.umask);
        CarpetaTerminal(wf.path(), "Term01").GrabarArchivo("_svl.0", "V2501101", "x");
        ::umask(anterior);
        struct stat info{};
        ::stat(QFile::encodeName(wf.file("Term01/upload/_svl.0")).constData(), &info);
        EXPECT_EQ(info.st_mode & 07777, c.esperado);
    }
}
