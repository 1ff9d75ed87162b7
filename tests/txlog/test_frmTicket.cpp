#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Platform.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/clsTransacciones.h"
#include "txlog/frmTicket.h"
#include "txlog/modTickets.h"

#include <QDialog>
#include <QDir>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

const QDateTime kHoy(QDate(2024, 5, 20), QTime(10, 0));

struct CasoImpresion {
    const char* nombre;
    QStringList instaladas;
    QString configurada;
    QString idTicket;
    QString impresora;     // the job's printer; empty: no job
    QStringList pagina;    // empty: not checked
    QString mensaje;
};

}

// The printing cases on a recording printer; the ticket text as the list reads it.
TEST(frmTicket, PrintsLinesInTheDefaultFontAndTheBarcodeLine)
{
    const QString texto = "\r\nCLINICA DEL SOL\r\nTOTAL $ 10,00";
    const QStringList lineas = {"", "CLINICA DEL SOL", "TOTAL $ 10,00"};
    const CasoImpresion casos[] = {
        {"barcode", {"Laser"}, "", "123", "Laser", lineas + QStringList{"[CODIGO 20240520JW123 20]"}, ""},
        {"case of name", {"Laser", "Ticketera"}, "TICKETERA", "7", "Ticketera", {}, ""},
        {"no printer", {}, "", "7", "", {}, "No se puede imprimir, no tiene impresoras configuradas en su sistema."},
        {"text Code 39 refuses", {"Laser"}, "", "1ñ", "Laser", lineas, ""},
    };
    Platform::setClock([] { return kHoy; });
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        ScriptedDialogs dialogs;
        dialogs.modalHandler = [](QDialog*) { return 0; };
        Printers::setTestPrinters(c.instaladas, c.instaladas.value(0));
        Printing::reiniciarImpresoraActiva();
        RecordingPrinter::install();
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setImpresora(c.configurada);
        frmTicket f;
        f.Cargar(texto, c.idTicket, nullptr);
        EXPECT_TRUE(QFontInfo(f.txtPreView->font()).fixedPitch());
        EXPECT_EQ(f.txtPreView->font().pointSize(), 9);
        f.cmdImprimir_Click();

        const auto trabajos = RecordingPrinter::trabajos();
        EXPECT_EQ(dialogs.messages(), c.mensaje.isEmpty() ? QStringList() : QStringList{c.mensaje});
        if (c.impresora.isEmpty()) {
            EXPECT_TRUE(trabajos.isEmpty());
        } else {
            ASSERT_EQ(trabajos.size(), 1);
            EXPECT_EQ(trabajos[0].impresora, c.impresora);
            EXPECT_TRUE(trabajos[0].terminado);
            EXPECT_EQ(trabajos[0].paginas[0][0].tamano, 10);
            EXPECT_EQ(trabajos[0].paginas[0][0].fuente, "Courier New") << "the printer's own fixed-pitch font";
            if (!c.pagina.isEmpty()) EXPECT_EQ(RecordingPrinter::comoTexto(trabajos[0].paginas[0]), c.pagina);
        }
        RecordingPrinter::uninstall();
        General::gConfig.reset();
    }
    Printers::resetTestPrinters();
    Printing::reiniciarImpresoraActiva();
    Platform::setClock({});
}

namespace {

// The void against the simulated client, on both engines: a configured terminal whose default
// insurer is "OSDE BINARIO" (company 5, activity 1); "SWISS" has company 8 twice.
class AnulacionDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        auto db = Connect();
        DatosTerminal::Terminal(*db, {1, wf.path()});
        DatosTerminal::ObraSocial(*db, 1, "OSDE BINARIO", 5, 1);
        DatosTerminal::ObraSocial(*db, 2, "MEDIFE", 7, 3);
        DatosTerminal::ObraSocial(*db, 3, "SWISS", 8, 1);
        DatosTerminal::ObraSocial(*db, 4, "SWISS", 8, 2);
        General::gConfig = std::make_shared<clsConfig>();
        ASSERT_TRUE(General::gConfig->LoadConfig(1, false));
        General::Licencias = {QString()};
        General::LicenciaSeleccionada.clear();
        dialogs.modalHandler = [this](QDialog* d) {
            modales << d->objectName();
            return d->objectName() == "frmProcesandoCO" ? d->exec() : 0;
        };
    }
    void TearDown() override
    {
        sim.detener();
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::Licencias.clear();
        DbFixture::TearDown();
    }
    // Voids ticket 4321 of a logged transaction of company `empresa`.
    void Anular(int empresa)
    {
        auto fila = std::make_shared<clsTransacciones>();
        fila->Ticket = 4321;
        fila->Prestador = "20123456789";
        fila->Tarjeta = "6280000012345678";
        fila->CodigoEmpresa = QString::number(empresa);
        f.Cargar("\r\nTICKET ORIGINAL", "4321", fila);
        f.cmdAnular_Click();
    }
    int Filas() const { return Connect()->Query("SELECT * FROM Transaccion").RowCount(); }
    QByteArray Subido(const QString& archivo) const
    {
        return sim.tomas().isEmpty() ? QByteArray() : sim.tomas().last().upload.value(archivo);
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    QStringList modales;
    DruvexSim sim{wf.path()};
    frmTicket f;
};

}

TEST_P(AnulacionDb, ApprovedVoidIsLoggedWithItsTicketFileAndTheWindowKeepsItsText)
{
    sim.iniciar();
    Anular(5);
    ASSERT_EQ(sim.tomas().size(), 1);
    EXPECT_EQ(Subido("_svl.0").left(8), "V2500501") << "company and activity of the default insurer";
    EXPECT_EQ(Subido("_svl.1").mid(130, 12).trimmed(), "4321") << "the voided ticket";
    EXPECT_EQ(Filas(), 1);
    EXPECT_EQ(QDir(modTickets::CarpetaTickets()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(modales.contains("frmMuestraTicket")) << "the sender shows the answer";
    EXPECT_EQ(f.txtPreView->toPlainText(), "\nTICKET ORIGINAL");
    EXPECT_EQ(General::TransaccionActual->CodigoEmpresa(), "5");
}

TEST_P(AnulacionDb, TheRowsInsurerDecidesCompanyAndActivity)
{
    sim.iniciar();
    Anular(7);
    ASSERT_EQ(sim.tomas().size(), 1);
    EXPECT_EQ(Subido("_svl.0").mid(4, 4), "0703") << "company and activity of MEDIFE, not of the default insurer";
}

TEST_P(AnulacionDb, NothingIsSentWhenTheInsurerOrTheAccountIsNotClear)
{
    sim.iniciar();
    Anular(8);
    Anular(9);
    General::Licencias = {"AAAA1111", "BBBB2222"};
    Anular(5);
    EXPECT_TRUE(sim.tomas().isEmpty());
    const QStringList m = dialogs.messages();
    ASSERT_EQ(m.size(), 3);
    EXPECT_TRUE(m[0].startsWith("5: Hay varias obras sociales con el código de empresa 8")) << m[0].toStdString();
    EXPECT_TRUE(m[0].contains("\r\nSource: "));
    EXPECT_TRUE(m[1].startsWith("91: No hay ninguna obra social configurada con el código de empresa 9"));
    EXPECT_EQ(m[2], "Debe seleccionar una única licencia para realizar transacciones");
    EXPECT_EQ(dialogs.shown.last().style, Vbc::vbInformation);
    EXPECT_EQ(Filas(), 0);
}

TEST_P(AnulacionDb, ALocalFailureIsShownAndNothingLogged)
{
    DruvexSim::Guion g;
    g.modo = DruvexSim::Modo::NoTomar;
    sim.setGuion(g);
    sim.iniciar();
    Anular(5);
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().text, "-1: Cancelado por Time Out");
    EXPECT_EQ(dialogs.shown.last().title, "Transacción");
    EXPECT_EQ(Filas(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, AnulacionDb, DbEngines(), DbEngineName);
