#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsCierres.h"
#include "engine/clsTransaccion.h"
#include "engine/frmProcesandoCO.h"
#include "entry/frmCierres.h"
#include "platform/Platform.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/Twips.h"
#include "shell/GeneralPrincipal.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/modTickets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

namespace {

const QString kSinObraSocial = "Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha.";

// The close request as its layout puts it: operation, close number, 8 blanks, period, five
// flags, answer code and comment, CUIT, two flags, the "2" at 101.
QByteArray Sal0(const QString& op, const QString& numero, const QString& desde, const QString& hasta,
                const QString& cuit)
{
    return (op + numero.leftJustified(9) + QString(8, ' ') + desde.leftJustified(8) + hasta.leftJustified(8) +
            "000000000" + QString(40, ' ') + cuit + "00   2" + QString(13, ' ') + "\r\n")
        .toLatin1();
}

}

TEST(Cierres, KeyFilterAndDateChecks)
{
    ScriptedDialogs dialogs;
    frmCierres form;
    const struct { Qt::Key tecla; const char* texto; bool pasa; } teclas[] = {
        {Qt::Key_5, "5", true}, {Qt::Key_Minus, "-", false}, {Qt::Key_A, "a", false}, {Qt::Key_Backspace, "\b", true}};
    for (const auto& t : teclas) {
        int ascii = t.texto[0], pegar = 22;
        form.txtNumeroCierre_KeyPress(ascii);
        form.txtNumeroCierre_KeyPress(pegar);
        EXPECT_EQ(ascii != 0, t.pasa) << t.texto;
        EXPECT_EQ(pegar, 22);
        QKeyEvent e(QEvent::KeyPress, t.tecla, Qt::NoModifier, t.texto);
        if (t.tecla != Qt::Key_Backspace) QCoreApplication::sendEvent(form.txtNumeroCierre, &e);
    }
    EXPECT_EQ(form.txtNumeroCierre->text(), "5") << "refused keys leave the field as it was";

    form.txtFechaDesde->setText("31/04/2024");
    form.txtFechaHasta->setText("");
    form.txtFechaDesde_LostFocus();
    form.txtFechaHasta_LostFocus();
    EXPECT_EQ(dialogs.messages(), QStringList{"Fecha desde inválida"});
    EXPECT_EQ(form.txtFechaDesde->selectedText(), "31/04/2024");
}

namespace {

// The main window on "(5) Salud Sur" and "(2) OSDE Binario" (company 11), the second chosen; two
// providers, the first with its account code; the simulated client; a recording printer;
// today 31/03/2024.
class CierresDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        Platform::setClock([] { return QDateTime(QDate(2024, 3, 31), QTime(10, 0)); });
        Printers::setTestPrinters({"Ticketera"}, "Ticketera");
        RecordingPrinter::install();
        auto& cfg = General::gConfig = std::make_shared<clsConfig>();
        cfg->setIdTerminal(cfg->getIdTerminal(home() + "/"));
        cfg->setImprimir(true);
        cfg->setImpresora("Ticketera");
        cfg->setCopias(1);
        ConfiguracionPrueba::ObrasSociales({{"Salud Sur", 5, false, false, 12}, {"OSDE Binario", 2, true, false, 11}});
        ConfiguracionPrueba::Prestadores({{1, "CLINICA DEL SOL", "30700000049"}, {2, "DR PEREZ", "20123456789"}});
        cfg->Prestadores()->Item_(1)->Licencia = "ABCD1234";
        General::DirectorioTrabajo = wf.path();
        dialogs.modalHandler = [this](QDialog* d) {
            modales << d->objectName();
            return d->objectName() == "frmProcesandoCO" ? d->exec() : 0;
        };
        m = std::make_unique<frmMain>();
        m->resize(1024, 756);
        m->show();
        m->ObraSocial->RefrescarLista();
        m->ObraSocial->lstObraSocial->setCurrentRow(1);
        sim.iniciar();
    }
    void TearDown() override
    {
        sim.detener();
        m.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RecordingPrinter::uninstall();
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
        Platform::setClock({});
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::DirectorioTrabajo.clear();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::OperacionActual = 0;
        DbFixture::TearDown();
    }
    frmCierres* Abrir(void (frmMain::*menu)())
    {
        (m.get()->*menu)();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qobject_cast<frmCierres*>(m->FormularioTrabajo("frmCierres"));
    }
    // The message boxes shown, with their styles and titles.
    QList<ScriptedDialogs::Shown> Cajas() const
    {
        QList<ScriptedDialogs::Shown> r;
        for (const auto& s : dialogs.shown)
            if (s.kind == "msgbox") r << s;
        return r;
    }
    // Nothing of a close is logged: no transaction row, no ticket file.
    void NadaRegistrado()
    {
        EXPECT_EQ(Connect()->Query("SELECT * FROM Transaccion").RowCount(), 0);
        EXPECT_TRUE(QDir(modTickets::CarpetaTickets()).entryList({"*.prn"}, QDir::Files).isEmpty());
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    QStringList modales;
    DruvexSim sim{wf.path()};
    std::unique_ptr<frmMain> m;
};

}

TEST_P(CierresDb, BothMenusOpenTheWindowAndSendTheRequest)
{
    frmCierres* f = Abrir(&frmMain::mnuCierreLote_Click);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(General::TransaccionActual, f->Transaccion());
    EXPECT_FALSE(f->Transaccion()->VerListaErrores());
    EXPECT_EQ(f->parentWidget()->geometry(), Twips::APixeles(QRect(1365, 0, f->parentWidget()->width() * 15, 7200)));
    EXPECT_EQ(QStringList({f->txtFechaDesde->text(), f->txtFechaHasta->text(), f->cboNombre->currentText(),
                           f->lblLicencia->text(), f->CuitPrestador()}),
              QStringList({"29/02/2024", "31/03/2024", "CLINICA DEL SOL", "ABCD1234", "30700000049"}));
    if (GetParam() == DbEngine::SQLite) {
        QDir().mkpath(QCoreApplication::applicationDirPath() + "/../screenshots");
        m->grab().save(QCoreApplication::applicationDirPath() + "/../screenshots/frmCierres.png");
    }

    const struct {
        void (frmMain::*menu)();
        int prestador;
        const char *numero, *desde, *hasta, *elegida;
        QStringList licencias;
        QByteArray sal0, svl0;
    } casos[] = {
        {&frmMain::mnuCierreLote_Click, 0, "55", "29/02/2024", "31/03/2024", "", {},
         Sal0("09", "0", "20240229", "20240331", "30700000049"), "V2501102ABCD1234"},
        {&frmMain::mnuConsultaCierre_Click, 0, "", "01/02/2024", "", "", {},
         Sal0("06", "0", "20240201", "", "30700000049"), "V2501102ABCD1234"},
        {&frmMain::mnuConsultaCierre_Click, 1, "00123", "01/03/2024", "02/03/2024", "", {"ZZZZ9999"},
         Sal0("07", "123", "20240301", "20240302", "20123456789"), "V2501102"},
        {&frmMain::mnuConsultaCierre_Click, 1, "0", "", "", "SELE0001", {"A", "B"},
         Sal0("06", "0", "", "", "20123456789"), "V2501102SELE0001"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.sal0.left(11).toStdString());
        General::LicenciaSeleccionada = c.elegida;
        General::Licencias = c.licencias;
        f = Abrir(c.menu);
        f->cboNombre->setCurrentIndex(c.prestador);
        f->txtNumeroCierre->setText(c.numero);
        f->txtFechaDesde->setText(c.desde);
        f->txtFechaHasta->setText(c.hasta);
        modales.clear();
        const int impresos = RecordingPrinter::trabajos().size();
        f->cmdAceptar_Click();
        ASSERT_FALSE(sim.tomas().isEmpty());
        EXPECT_EQ(sim.tomas().last().upload.value("_sal.0"), c.sal0);
        EXPECT_EQ(sim.tomas().last().upload.value("_svl.0"), c.svl0);
        EXPECT_EQ(f->Transaccion()->UltimaEspera(), 50000);
        EXPECT_TRUE(modales.contains("frmMuestraTicket") && !modales.contains("frmMostrarErrores"));
        EXPECT_EQ(RecordingPrinter::trabajos().size(), impresos + 1);
        EXPECT_FALSE(f->Transaccion()->Cierres().existo()) << "readied for the next request";
        EXPECT_EQ(f->txtNumeroCierre->text(), c.numero) << "the form is not cleared";
    }
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('|').toStdString();
    NadaRegistrado();
}

TEST_P(CierresDb, StopsBeforeSending)
{
    const struct {
        std::function<void(frmCierres*)> preparar;
        QString mensaje;
        int estilo;
    } casos[] = {
        {[](frmCierres* f) { f->txtNumeroCierre->setText("12a"); }, "Número de cierre inválido", Vbc::vbInformation},
        {[](frmCierres* f) { f->txtNumeroCierre->setText("1234567890"); }, "Número de cierre inválido",
         Vbc::vbInformation},
        {[](frmCierres*) { General::gConfig->setDefaultOS("Otra"); }, kSinObraSocial, Vbc::vbCritical},
        {[](frmCierres*) { General::gConfig->setDefaultActividad("2x"); }, kSinObraSocial, Vbc::vbCritical},
        {[](frmCierres* f) { f->cboNombre->setCurrentIndex(1), General::Licencias = {"AAAA1111", "BBBB2222"}; },
         "Debe seleccionar una única licencia para realizar transacciones", Vbc::vbInformation},
        {[](frmCierres* f) { f->txtFechaHasta->setText("30/02/2024"); }, "Fecha hasta inválida", Vbc::vbInformation},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensaje.toStdString());
        m->ObraSocial->lstObraSocial->setCurrentRow(0);
        m->ObraSocial->lstObraSocial->setCurrentRow(1);
        General::Licencias.clear();
        frmCierres* f = Abrir(&frmMain::mnuConsultaCierre_Click);
        c.preparar(f);
        dialogs.clear();
        f->cmdAceptar_Click();
        ASSERT_EQ(Cajas().size(), 1);
        EXPECT_EQ(Cajas()[0].text, c.mensaje);
        EXPECT_EQ(Cajas()[0].style & 0x70, c.estilo);
    }
    EXPECT_TRUE(sim.tomas().isEmpty());
}

// A failed exchange asks whether to ready the request again; a close rejected without a ticket
// says why.
TEST_P(CierresDb, FailedExchangeAndRejectionWithoutTicket)
{
    frmCierres* f = Abrir(&frmMain::mnuConsultaCierre_Click);
    f->txtNumeroCierre->setText("42");
    DruvexSim::Guion g;
    g.estado = "9999 SIN CONEXION";
    sim.setGuion(g);
    for (int respuesta : {Vbc::vbNo, Vbc::vbYes}) {
        dialogs.clear();
        dialogs.msgAnswers = {Vbc::vbOK, respuesta};
        f->cmdAceptar_Click();
        ASSERT_EQ(Cajas().size(), 2);
        EXPECT_EQ(Cajas()[0].text, "Error en la transacción.\r\nFalla de comunicación.");
        EXPECT_EQ(Cajas()[0].style, Vbc::vbCritical);
        EXPECT_EQ(Cajas()[1].text, "¿ Inicializa Transacción ?");
        EXPECT_EQ(Cajas()[1].style, Vbc::vbYesNo | Vbc::vbQuestion);
        EXPECT_EQ(f->Transaccion()->Cierres().existo(), respuesta == Vbc::vbNo);
    }
    ASSERT_EQ(sim.tomas().size(), 2);
    EXPECT_EQ(sim.tomas()[0].upload.value("_sal.0"), Sal0("07", "42", "20240229", "20240331", "30700000049"));
    EXPECT_EQ(sim.tomas()[1].upload.value("_sal.0"), sim.tomas()[0].upload.value("_sal.0"));

    g = {};
    g.codigoCierre = "0051";
    g.comentarioCierre = "CIERRE YA REALIZADO";
    g.sinTicket = true;
    sim.setGuion(g);
    dialogs.clear();
    modales.clear();
    f->cmdAceptar_Click();
    ASSERT_EQ(Cajas().size(), 1);
    EXPECT_EQ(Cajas()[0].text, "0051: CIERRE YA REALIZADO");
    EXPECT_EQ(Cajas()[0].style, Vbc::vbExclamation);
    EXPECT_EQ(Cajas()[0].title, "Transacción");
    EXPECT_FALSE(modales.contains("frmMuestraTicket") || modales.contains("frmMostrarErrores"));
    NadaRegistrado();
}

TEST_P(CierresDb, ClosedByNameReleasesItsExchange)
{
    const std::function<void()> cierres[] = {
        [] { General::DescargarFormularios(""); },
        [this] { m->ObraSocial->lstObraSocial->setCurrentRow(0); },
        [this] { m->DescargarFormulario("frmCierres"); }, // as the entry form's load does
        [this] { qobject_cast<frmCierres*>(m->FormularioTrabajo("frmCierres"))->cmdCancelar_Click(); },
    };
    for (const auto& cerrar : cierres) {
        m->ObraSocial->lstObraSocial->setCurrentRow(1);
        ASSERT_NE(Abrir(&frmMain::mnuCierreLote_Click), nullptr);
        ASSERT_NE(General::TransaccionActual, nullptr);
        cerrar();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(m->FormularioTrabajo("frmCierres"), nullptr);
        EXPECT_EQ(General::TransaccionActual, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, CierresDb, DbEngines(), DbEngineName);
