#include "config/GeneralConfiguracion.h"
#include "engine/General.h"
#include "engine/modImpresion.h"
#include "platform/Barcode.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Tickets as "_ticket.prn" gives them: every line ends in CR LF.
QString ticket(int lineas)
{
    QString t;
    for (int i = 1; i <= lineas; ++i) t += QStringLiteral("LINEA %1\r\n").arg(i);
    return t;
}

class Impresion : public ::testing::Test {
protected:
    void SetUp() override
    {
        General::gConfig.reset(); // no configured printer: the active one is used
        Printers::setTestPrinters({QStringLiteral("HP LaserJet"), QStringLiteral("Ticketera")},
                                  QStringLiteral("HP LaserJet"));
        Printing::reiniciarImpresoraActiva();
        RecordingPrinter::install();
    }
    void TearDown() override
    {
        RecordingPrinter::uninstall();
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
    }
    ScriptedDialogs dialogs;
};

QStringList blancos(int n) { return QStringList(n, QString()); }

}

TEST_F(Impresion, PagesForShortAndLongTicketsAndCopies)
{
    const QStringList t3 = {"LINEA 1", "LINEA 2", "LINEA 3"};
    const QStringList t6 = {"LINEA 1", "LINEA 2", "LINEA 3", "LINEA 4", "LINEA 5", "LINEA 6"};
    const QString corto = "[CODIGO 20240305JW00004521 20]";
    const QString largo = "[CODIGO 20240305JW00004521 16]";
    struct Case {
        const char* nombre;
        int lineas, largoHoja, copias;
        QString codigo;
        QList<QStringList> paginas;
    };
    const QList<Case> cases = {
        {"short, 1 copy, padded to 5", 3, 5, 1, "*20240305JW00004521*", {t3 + blancos(2) + QStringList{corto}}},
        {"short, 2 copies share a sheet", 3, 5, 2, "*20240305JW00004521*",
         {t3 + blancos(2) + QStringList{corto} + t3 + blancos(2) + QStringList{corto}}},
        {"short, 3 copies: third on a new sheet", 3, 5, 3, "*20240305JW00004521*",
         {t3 + blancos(2) + QStringList{corto} + t3 + blancos(2) + QStringList{corto},
          t3 + blancos(2) + QStringList{corto}}},
        {"short, exactly a page: no padding", 3, 3, 1, "", {t3}},
        {"short, no barcode", 3, 4, 2, "", {t3 + blancos(1) + t3 + blancos(1)}},
        {"long, 1 copy", 6, 4, 1, "*20240305JW00004521*", {t6 + QStringList{largo}}},
        {"long, 2 copies", 6, 4, 2, "*20240305JW00004521*", {t6 + QStringList{largo} + t6 + QStringList{largo}}},
        {"long, 3 copies", 6, 4, 3, "*20240305JW00004521*",
         {t6 + QStringList{largo} + t6 + QStringList{largo}, t6 + QStringList{largo}}},
        {"unencodable barcode: ticket without it", 3, 3, 1, "*ÑANDÚ#1*", {t3}},
    };
    for (const Case& c : cases) {
        RecordingPrinter::trabajos().clear();
        const QString texto = c.lineas == 3 ? ticket(3) : ticket(6);
        modImpresion::ImprimirComprobante(texto, c.lineas, "ignorada", "Courier New", 10, c.largoHoja, c.copias,
                                          c.codigo);
        ASSERT_EQ(RecordingPrinter::trabajos().size(), 1) << c.nombre;
        const auto& job = RecordingPrinter::trabajos().first();
        EXPECT_TRUE(job.terminado) << c.nombre;
        EXPECT_EQ(job.impresora, "HP LaserJet") << c.nombre;
        ASSERT_EQ(job.paginas.size(), c.paginas.size()) << c.nombre;
        for (int p = 0; p < c.paginas.size(); ++p)
            EXPECT_EQ(RecordingPrinter::comoTexto(job.paginas[p]), c.paginas[p]) << c.nombre << " page " << p + 1;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(Impresion, TenLinesOnAPageOf25AreFollowedBy15LineBreaks)
{
    modImpresion::ImprimirComprobante(ticket(10), 10, "", "Courier New", 10, 25, 1, "");
    ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
    const QStringList pagina = RecordingPrinter::comoTexto(RecordingPrinter::trabajos()[0].paginas[0]);
    ASSERT_EQ(pagina.size(), 25);
    EXPECT_EQ(pagina[9], "LINEA 10");
    EXPECT_EQ(pagina.mid(10), blancos(15));
}

TEST_F(Impresion, NoCopiesStartNoJob)
{
    for (int copias : {0, -1}) {
        modImpresion::ImprimirComprobante(ticket(3), 3, "", "Courier New", 10, 5, copias, "*123*");
        EXPECT_TRUE(RecordingPrinter::trabajos().isEmpty()) << copias;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(Impresion, FontNameAndSizeAboveSeven)
{
    struct Case { QString fuente; int tamano; QString fuenteEsperada; int tamanoEsperado; };
    // The recording printer starts in Courier New 10.
    const Case cases[] = {
        {"Lucida Console", 12, "Lucida Console", 12},
        {"Lucida Console", 8, "Lucida Console", 8},
        {"Lucida Console", 7, "Lucida Console", 10},
        {"Lucida Console", 0, "Lucida Console", 10},
        {"", 9, "Courier New", 9},
    };
    for (const Case& c : cases) {
        RecordingPrinter::trabajos().clear();
        modImpresion::ImprimirComprobante(ticket(3), 3, "", c.fuente, c.tamano, 3, 2, "*123*");
        ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
        const auto& pagina = RecordingPrinter::trabajos()[0].paginas[0];
        ASSERT_EQ(pagina.size(), 8);
        // The second copy's lines come after a barcode line: the ticket font was set back.
        for (const auto& l : pagina) {
            if (l.codigo) {
                EXPECT_EQ(l.tamano, 20);
                continue;
            }
            EXPECT_EQ(l.fuente, c.fuenteEsperada) << c.fuente.toStdString() << " " << c.tamano;
            EXPECT_EQ(l.tamano, c.tamanoEsperado) << c.fuente.toStdString() << " " << c.tamano;
        }
    }
}

TEST_F(Impresion, ConfiguredPrinterIsMatchedWithoutRegardToCase)
{
    struct Case { QString configurada; QString impresora; };
    const Case cases[] = {
        {"TICKETERA", "Ticketera"},
        {"ticketera", "Ticketera"},
        {"Epson de la caja", "HP LaserJet"}, // no such printer: the default stays
        {"", "HP LaserJet"},
    };
    for (const Case& c : cases) {
        Printing::reiniciarImpresoraActiva();
        RecordingPrinter::trabajos().clear();
        EXPECT_TRUE(modImpresion::ElegirImpresoraConfigurada(c.configurada));
        modImpresion::ImprimirComprobante(ticket(3), 3, "", "", 0, 3, 1, "");
        ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
        EXPECT_EQ(RecordingPrinter::trabajos()[0].impresora, c.impresora) << c.configurada.toStdString();
    }
}

TEST_F(Impresion, NoPrintersInstalledShowsTheMessageAndPrintsNothing)
{
    Printers::setTestPrinters({}, {});
    modImpresion::ImprimirComprobante(ticket(3), 3, "", "", 0, 3, 1, "");
    EXPECT_TRUE(RecordingPrinter::trabajos().isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "No se puede imprimir, no tiene impresoras configuradas en su sistema.");
    EXPECT_EQ(dialogs.shown[0].title, "Imposible imprimir");
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
}

TEST_F(Impresion, APrinterThatCannotStartShowsTheError)
{
    RecordingPrinter::install(0, true);
    modImpresion::ImprimirComprobante(ticket(3), 3, "", "", 0, 3, 1, "");
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "Error al imprimir: impresora fuera de línea");
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_EQ(dialogs.shown[0].title, Dialogs::kAppTitle);
}

TEST_F(Impresion, AFullPageBreaksByItself)
{
    RecordingPrinter::install(4);
    modImpresion::ImprimirComprobante(ticket(6), 6, "", "", 0, 4, 1, "");
    ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
    const auto& paginas = RecordingPrinter::trabajos()[0].paginas;
    ASSERT_EQ(paginas.size(), 2);
    EXPECT_EQ(RecordingPrinter::comoTexto(paginas[1]), (QStringList{"LINEA 5", "LINEA 6"}));
}

TEST(ImpresionTexto, LineasDeTexto)
{
    struct Case { QString texto; QStringList lineas; };
    const Case cases[] = {
        {"", {}},
        {"A\r\nB\r\n", {"A", "B"}},
        {"A\r\nB", {"A", "B"}},
        {"A\nB\rC\r\n\r\n", {"A", "B", "C", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(Printing::LineasDeTexto(c.texto), c.lineas) << c.texto.toStdString();
}

TEST(ImpresionPdf, TicketLinesAndBarcodeReachThePdf)
{
    TempFolder tmp;
    const QString pdf = tmp.file("ticket.pdf");
    Printers::setTestPrinters({QStringLiteral("Ticketera")}, QStringLiteral("Ticketera"));
    Printing::reiniciarImpresoraActiva();
    Printing::setBackendFactory([pdf]() -> std::unique_ptr<PrintBackend> {
        return std::make_unique<QtPrintBackend>(pdf);
    });
    ScriptedDialogs dialogs;
    const QString texto = QStringLiteral("FARMACIA CENTRAL\r\nAFILIADO 0001234567\r\nAUTORIZACION 00004521\r\n");
    modImpresion::ImprimirComprobante(texto, 3, "", "Courier New", 10, 20, 3, "*20240305JW00004521*");
    Printing::setBackendFactory({});
    Printers::resetTestPrinters();
    Printing::reiniciarImpresoraActiva();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    // Kept in the build folder for a look at the printout.
    QFile::remove(QDir::current().filePath("ticket.pdf"));
    QFile::copy(pdf, QDir::current().filePath("ticket.pdf"));

    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(out.count("FARMACIA CENTRAL"), 3) << out.toStdString();
    EXPECT_EQ(out.count("AFILIADO 0001234567"), 3);
    EXPECT_EQ(out.count("AUTORIZACION 00004521"), 3);

    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2")));

    QProcess imgs;
    imgs.start("pdfimages", {"-list", pdf});
    ASSERT_TRUE(imgs.waitForFinished(30000));
    const QStringList rows = QString::fromUtf8(imgs.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size() - 2, 3) << "one barcode image per copy";
}

namespace {
// Widths of the bars and spaces across the middle row, in modules.
QList<int> anchos(const QImage& img)
{
    QList<int> r;
    const int y = img.height() / 2;
    bool negro = qGray(img.pixel(0, y)) < 128;
    int n = 0;
    for (int x = 0; x < img.width(); ++x) {
        const bool b = qGray(img.pixel(x, y)) < 128;
        if (b == negro) {
            ++n;
        } else {
            r << n;
            n = 1;
            negro = b;
        }
    }
    r << n;
    return r;
}
}

TEST(Barcode, Code39SymbolCarriesTheText)
{
    // Code 39 table: n narrow, w wide, bars and spaces alternating, a narrow gap between characters.
    const QMap<QChar, QString> tabla = {
        {'*', "nwnnwnwnn"}, {'0', "nnnwwnwnn"}, {'1', "wnnwnnnnw"}, {'A', "wnnnnwnnw"}, {'J', "nnnnwwwnn"},
    };
    const QImage img = Barcode::Code39("*10AJ*");
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img, Barcode::Code39("10AJ"));
    QList<int> w = anchos(img);
    // Leading quiet zone (white), if the encoder leaves one.
    if (qGray(img.pixel(0, img.height() / 2)) >= 128) w.removeFirst();
    if (qGray(img.pixel(img.width() - 1, img.height() / 2)) >= 128) w.removeLast();
    QString patron;
    const int estrecho = *std::min_element(w.begin(), w.end());
    for (int i = 0; i < w.size(); ++i) {
        if (i % 10 == 9) continue; // the gap between characters
        patron += w[i] > estrecho ? 'w' : 'n';
    }
    EXPECT_EQ(patron, tabla['*'] + tabla['1'] + tabla['0'] + tabla['A'] + tabla['J'] + tabla['*']);
}

TEST(Barcode, TextsThatCannotBeEncoded)
{
    for (const char* t : {"", "**", "*ab#*", "*ÑANDÚ*", "*A*B*"}) {
        QString error;
        EXPECT_TRUE(Barcode::Code39(QString::fromUtf8(t), &error).isNull()) << t;
        EXPECT_FALSE(error.isEmpty()) << t;
    }
}

TEST_F(Impresion, PredeterminadaPrintsInTheActivePrintersFont)
{
    Printing::setFuenteActiva("Courier", 10);
    struct Case { QString fuente; int tamano; QString fuenteEsperada; int tamanoEsperado; };
    const Case cases[] = {{"Predeterminada", 0, "Courier", 10}, {"predeterminada", 12, "Courier", 12},
                          {"", 0, "Courier", 10}, {"Lucida Console", 0, "Lucida Console", 10}};
    for (const Case& c : cases) {
        RecordingPrinter::trabajos().clear();
        modImpresion::ImprimirComprobante(ticket(1), 1, "", c.fuente, c.tamano, 1, 1, "");
        ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
        const auto& linea = RecordingPrinter::trabajos()[0].paginas[0].value(0);
        EXPECT_EQ(linea.fuente, c.fuenteEsperada) << c.fuente.toStdString();
        EXPECT_EQ(linea.tamano, c.tamanoEsperado) << c.fuente.toStdString();
    }
}
