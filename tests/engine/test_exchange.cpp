// The working-folder exchange: folder names, the control record, the trigger, the attachment
// and the removal of the terminal folder, with the simulated client where it takes part.
#include "engine/clsCierres.h"
#include "engine/clsTicket.h"
#include "engine/clsVademecum.h"
#include "engine/clsTransaccion.h"
#include "platform/Platform.h"
#include "platform/VbError.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QStringList Archivos(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Random numbers from a list, so the terminal folder names are known in advance.
struct RndFijo {
    explicit RndFijo(QList<double> v)
    {
        auto values = std::make_shared<QList<double>>(std::move(v));
        auto i = std::make_shared<int>(0);
        Platform::setRandom([values, i] { return values->at((*i)++ % values->size()); });
    }
    ~RndFijo() { Platform::setRandom({}); }
};

// k / 25 draws the letter "A" + k.
double Letra(char c) { return (c - 'A') / 25.0; }

}

TEST(Exchange, PasoDRUVEXSplitsOnlyAtALastComponentBeginningWithTer)
{
    struct Caso {
        const char* valor;
        const char* base;
        const char* fijo;
    } casos[] = {
        {"/srv/cliente/Term07", "/srv/cliente/", "Term07"},
        {"/srv/cliente/Term07/", "/srv/cliente/", "Term07"},
        {"/srv/cliente", "/srv/cliente/", ""},
        {"/srv/cliente/", "/srv/cliente/", ""},
        {"/srv/cliente/terminal5", "/srv/cliente/", "terminal5"},
        {"/home/teresa/canje/", "/home/teresa/canje/", ""},
        {"/home/teresa/canje/TER01", "/home/teresa/canje/", "TER01"},
        {"/home/Teresa", "/home/", "Teresa"},
        {"C:\\Terminal\\Term01", "C:/Terminal/", "Term01"},
        {"C:\\Terminal\\Cliente", "C:/Terminal/Cliente/", ""},
        {"  /srv/c/tEr9  ", "/srv/c/", "tEr9"},
        {"/srv/te/r", "/srv/te/r/", ""},
    };
    clsTransaccion t;
    for (const Caso& c : casos) {
        t.setPasoDRUVEX(QString::fromUtf8(c.valor));
        EXPECT_EQ(t.CarpetaBase(), QString::fromUtf8(c.base)) << c.valor;
        EXPECT_EQ(t.TerminalFijo(), QString::fromUtf8(c.fijo)) << c.valor;
        EXPECT_EQ(t.PasoDRUVEX(), QString::fromUtf8(c.base) + QString::fromUtf8(c.fijo)) << c.valor;
    }
}

TEST(Exchange, PasoDRUVEXCreatesTheTriggerFolderOnlyWhenMissing)
{
    TempFolder wf;
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path() + "Term07");
    EXPECT_TRUE(QFileInfo(wf.file("tx")).isDir());
    // A client folder spelt "TX" is the trigger folder; no second one is made.
    TempFolder wf2;
    wf2.mkdir("TX");
    t.setPasoDRUVEX(wf2.path());
    EXPECT_EQ(QDir(wf2.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"TX"});
}

TEST(Exchange, ControlRecordBytes)
{
    struct Caso {
        const char* empresa;
        const char* actividad;
        const char* licencia;
        const char* esperado;
    } casos[] = {
        {"11", "01", "", "V2501101"},
        {"", "7", "", "V2501107"},
        {"5", "", "", "V2500501"},
        {"123", " 3 ", "", "V2502303"},
        {"  ", "  ", "", "V2501101"},
        {"11", "01", "ABCD1234", "V2501101ABCD1234"},
        {"11", "01", " ABCD1234 ", "V2501101ABCD1234"},
        {"11", "01", "ABC1234", "V2501101"},   // 7 characters are not kept
        {"11", "01", "ABC123456", "V2501101"}, // nor 9
        {"11", "01", "        ", "V2501101"},
    };
    for (const Caso& c : casos) {
        TempFolder wf;
        clsTransaccion t;
        t.setPasoDRUVEX(wf.path() + "Term01");
        t.setCodigoEmpresa(c.empresa);
        t.setCodigoActividad(c.actividad);
        t.setLicencia(c.licencia);
        ASSERT_TRUE(t.PrepararCarpetaTerminal());
        ASSERT_TRUE(t.EscribirControlSVL0());
        EXPECT_EQ(wf.read("Term01/upload/_svl.0"), QByteArray(c.esperado)) << c.empresa << "/" << c.actividad << "/"
                                                                           << c.licencia;
    }
}

TEST(Exchange, FixedTerminalFolderStartsEveryExchangeEmpty)
{
    TempFolder wf;
    // What an earlier exchange left behind.
    wf.write("Term07/upload/_svl.0", "V2501101ABCD1234");
    wf.write("Term07/upload/_svl.2", QByteArray(162, 'x'));
    wf.write("Term07/upload/HEX_1234.pdf", "4142");
    wf.write("Term07/download/_svl.1", "old answer");
    wf.write("Term07/download/_TICKET.PRN", "old ticket");
    wf.write("Term07/ESTADO.RSP", "0 old");
    wf.write("Term07/estado.rsp", "0 old");

    clsTransaccion t;
    t.setPasoDRUVEX(wf.path() + "Term07");
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    EXPECT_EQ(t.NombreTerminal(), "Term07");
    EXPECT_EQ(t.CarpetaTerminal(), wf.path() + "Term07");
    EXPECT_TRUE(Archivos(wf.file("Term07/upload")).isEmpty());
    ASSERT_TRUE(t.LimpiarDescargas());
    EXPECT_TRUE(Archivos(wf.file("Term07/download")).isEmpty());
    EXPECT_EQ(t.colArchivos, (QStringList{wf.path() + "Term07/download/_TICKET.PRN", wf.path() + "Term07/download/_svl.1"}));

    ASSERT_TRUE(t.EscribirControlSVL0());
    // The stale status is gone in every spelling, the short record is not followed by the
    // rest of the older long one, and the trigger is there, empty.
    EXPECT_EQ(Archivos(wf.file("Term07")), QStringList{});
    EXPECT_EQ(wf.read("Term07/upload/_svl.0"), QByteArray("V2501101"));
    ASSERT_TRUE(wf.exists("tx/Term07"));
    EXPECT_EQ(QFileInfo(wf.file("tx/Term07")).size(), 0);
    EXPECT_EQ(t.ArchivoDisparador(), wf.path() + "tx/Term07");
}

TEST(Exchange, MissingFixedFolderIsCreatedWithLowerCaseSubfolders)
{
    TempFolder wf;
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path() + "TERM02");
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    EXPECT_EQ(QDir(wf.file("TERM02")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"download", "upload"}));
}

TEST(Exchange, NoBaseFolderNoTriggerFolder)
{
    clsTransaccion t;
    t.setPasoDRUVEX("   ");
    EXPECT_EQ(t.CarpetaBase(), "");
    EXPECT_FALSE(t.PrepararCarpetaTerminal());

    // Without "tx" the control record is written and no trigger is made.
    TempFolder wf;
    t.setPasoDRUVEX(wf.path() + "Term03");
    QDir(wf.file("tx")).removeRecursively();
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    ASSERT_TRUE(t.EscribirControlSVL0());
    EXPECT_TRUE(wf.exists("Term03/upload/_svl.0"));
    EXPECT_FALSE(wf.exists("tx"));
}

TEST(Exchange, RandomTerminalFolderTakesANewNameAndIsRemoved)
{
    TempFolder wf;
    wf.mkdir("termABCD");
    wf.write("termABCD/keep.txt", "not ours");
    // First four letters name an existing folder; the retry appends four more.
    RndFijo rnd({Letra('A'), Letra('B'), Letra('C'), Letra('D'), Letra('E'), Letra('F'), Letra('G'), Letra('H'),
                 Letra('Q'), Letra('K'), Letra('Z'), Letra('A')});
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path());
    EXPECT_EQ(t.TerminalFijo(), "");
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    EXPECT_EQ(t.NombreTerminal(), "termABCDEFGH");
    EXPECT_TRUE(QFileInfo(wf.file("termABCDEFGH/upload")).isDir());
    EXPECT_TRUE(QFileInfo(wf.file("termABCDEFGH/download")).isDir());

    ASSERT_TRUE(t.EscribirControlSVL0());
    wf.write("termABCDEFGH/download/_svl.1", "answer");
    wf.write("termABCDEFGH/estado.rsp", "0");
    t.BorrarCarpetaTerminal();
    EXPECT_FALSE(wf.exists("termABCDEFGH"));
    EXPECT_TRUE(wf.exists("termABCD/keep.txt"));
    EXPECT_TRUE(wf.exists("tx/termABCDEFGH")); // the trigger is never removed afterwards

    // The next exchange draws anew: a folder made by an earlier one is never reused.
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    EXPECT_EQ(t.NombreTerminal(), "termQKZA");
}

TEST(Exchange, RemovalNeverReachesOutsideTheTerminalFolder)
{
    TempFolder wf;
    wf.write("_druvex.emp", "accounts");
    wf.write("Term05/upload/_svl.1", "x");
    wf.write("Term05/download/_svl.1", "y");
    wf.write("Term05/estado.rsp", "0");

    clsTransaccion t;
    t.setPasoDRUVEX(wf.path() + "Term05");
    t.BorrarCarpetaTerminal(); // no exchange yet: no terminal folder of ours
    EXPECT_TRUE(wf.exists("Term05/estado.rsp"));
    EXPECT_TRUE(wf.exists("_druvex.emp"));

    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    t.BorrarCarpetaTerminal(); // a fixed folder is removed too when asked
    EXPECT_FALSE(wf.exists("Term05"));
    EXPECT_TRUE(wf.exists("_druvex.emp"));
    EXPECT_TRUE(QFileInfo(wf.file("tx")).isDir());
}

TEST(Exchange, AttachmentIsCopiedAsHexUnderTheCardAndReference)
{
    TempFolder wf;
    wf.write("informes.2024/estudio.pdf", QByteArray("%PDF\x00\xff", 6));
    clsTransaccion t;
    EXPECT_TRUE(t.GrabarArchivoAdjunto()); // nothing attached

    struct Caso {
        QString ruta;
        int numero;
    } errores[] = {{"  ", 1}, {wf.file("no-such.pdf"), 2}};
    for (const Caso& c : errores) {
        try {
            t.AdjuntarArchivo(c.ruta);
            ADD_FAILURE() << c.ruta.toStdString();
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, c.numero);
            EXPECT_EQ(e.source, "clsTransaccion.AdjuntarArchivo");
        }
    }

    t.setPasoDRUVEX(wf.path() + "Term01");
    ASSERT_TRUE(t.AdjuntarArchivo(wf.file("informes.2024/estudio.pdf")));
    t.Ticket().setTarjeta(" 6001 ");
    t.Ticket().setTicketReferencia("45");
    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    ASSERT_TRUE(t.GrabarArchivoAdjunto());
    // Reference "45" reads back as prefix "45" and number "000045"; the extension comes from
    // the file's name, not from the dotted folder.
    EXPECT_EQ(Archivos(wf.file("Term01/upload")), QStringList{"HEX_600145000045.pdf"});
    EXPECT_EQ(wf.read("Term01/upload/HEX_600145000045.pdf"), QByteArray("25504446" "00FF"));

    // An attachment gone before sending stops the request after the message.
    ScriptedDialogs dialogs;
    QFile::remove(wf.file("informes.2024/estudio.pdf"));
    EXPECT_THROW(t.GrabarArchivoAdjunto(), VbError);
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST(Exchange, SimulatedClientTakesTheTriggerOnlyWithTheRequestComplete)
{
    TempFolder wf;
    clsTransaccion t;
    t.setPasoDRUVEX(wf.path() + "Term09");
    t.setLicencia("ABCD1234");
    DruvexSim sim(wf.path());
    sim.iniciar();

    ASSERT_TRUE(t.PrepararCarpetaTerminal());
    ASSERT_TRUE(t.LimpiarDescargas());
    t.Ticket().setTarjeta("6001");
    t.Ticket().setOperacion(1);
    ASSERT_TRUE(t.Ticket().GrabarSVL1(t.CarpetaTerminal()));
    ASSERT_TRUE(t.Ticket().GrabarSVL5(t.CarpetaTerminal()));
    ASSERT_TRUE(t.EscribirControlSVL0());

    ASSERT_TRUE(sim.esperarTomas(1, 5000));
    const DruvexSim::Toma toma = sim.tomas().first();
    EXPECT_EQ(toma.terminal, "Term09");
    EXPECT_TRUE(toma.tomada);
    EXPECT_EQ(toma.upload.keys(), (QStringList{"_svl.0", "_svl.1", "_svl.5"}));
    EXPECT_EQ(toma.upload.value("_svl.0"), QByteArray("V2501101ABCD1234"));
    EXPECT_EQ(toma.upload.value("_svl.1").size(), clsTicket::LargoSVL1);
    EXPECT_EQ(toma.upload.value("_svl.1"), wf.read("Term09/upload/_svl.1"));
    sim.detener();
    EXPECT_FALSE(wf.exists("tx/Term09"));
    EXPECT_TRUE(wf.exists("Term09/estado.rsp"));
    EXPECT_EQ(wf.read("Term09/download/_svl.1").mid(307, 4), QByteArray("0000"));
}

TEST(Exchange, EveryFamilyReachesTheClientWithItsControlRecord)
{
    struct Caso {
        const char* familia;
        std::function<void(clsTransaccion&)> grabar;
        QMap<QString, int> tamanos; // upload file -> bytes
    } casos[] = {
        {"catalogue",
         [](clsTransaccion& t) {
             t.Vademecum().setOperacion("5");
             ASSERT_TRUE(t.Vademecum().GrabarSVL7(t.CarpetaTerminal()));
         },
         {{"_svl.0", 8}, {"_svl.7", 318}}},
        {"close",
         [](clsTransaccion& t) {
             t.Cierres().setOperacion("06");
             ASSERT_TRUE(t.Cierres().GrabarSAL0(t.CarpetaTerminal()));
         },
         {{"_svl.0", 8}, {"_sal.0", 116}}},
        {"header with attachment",
         [](clsTransaccion& t) {
             t.Ticket().setTarjeta("6001");
             t.Ticket().setTicketReferencia("45");
             ASSERT_TRUE(t.Ticket().GrabarSVL1(t.CarpetaTerminal()));
             ASSERT_TRUE(t.GrabarArchivoAdjunto());
         },
         {{"_svl.0", 8}, {"_svl.1", 383}, {"hex_600145000045.txt", 6}}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.familia);
        TempFolder wf;
        wf.write("adjunto.txt", "abc");
        clsTransaccion t;
        t.setPasoDRUVEX(wf.path());
        ASSERT_TRUE(t.AdjuntarArchivo(wf.file("adjunto.txt")));
        DruvexSim sim(wf.path());
        sim.iniciar();
        ASSERT_TRUE(t.PrepararCarpetaTerminal());
        c.grabar(t);
        ASSERT_TRUE(t.EscribirControlSVL0());
        ASSERT_TRUE(sim.esperarRespuestas(1, 5000));
        const DruvexSim::Toma toma = sim.tomas().first();
        EXPECT_EQ(toma.terminal, t.NombreTerminal());
        EXPECT_EQ(toma.upload.keys(), c.tamanos.keys());
        for (auto it = c.tamanos.begin(); it != c.tamanos.end(); ++it)
            EXPECT_EQ(toma.upload.value(it.key()).size(), it.value()) << it.key().toStdString();
        EXPECT_EQ(toma.upload.value("_svl.0"), QByteArray("V2501101"));
        t.BorrarCarpetaTerminal();
        EXPECT_FALSE(wf.exists(t.NombreTerminal()));
    }
}
