// Every window as a person drives it: mouse clicks, Enter in each text box, a paste, an
// accelerator, on a shown main window.
#include "config/Coleccion.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsOperacion.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmBuscarPorAccion.h"
#include "entry/frmDiagnosticos.h"
#include "entry/frmEmuladorPOS.h"
#include "entry/frmInformeMedico.h"
#include "entry/frmPrestacion.h"
#include "platform/Dialogs.h"
#include "platform/ReglasEntrada.h"
#include "platform/Twips.h"
#include "platform/TraduccionQt.h"
#include "reports/frmControlFecha.h"
#include "reports/frmReporte.h"
#include "reports/frmValoraciones.h"
#include "shell/DisposicionPrincipal.h"
#include "shell/GeneralPrincipal.h"
#include "shell/frmAbout.h"
#include "shell/frmConfigurar.h"
#include "shell/frmImpresoras.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "shell/frmPassword.h"
#include "shell/frmToolList.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/frmPrestacionGenerica.h"
#include "updater/frmUpgradeWizard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

void Eventos() { QCoreApplication::processEvents(); }

// The main window on two insurers, "(5) Salud Sur" off-line and "(2) OSDE Binario" on-line,
// with a working folder whose "tx" shows whether anything was sent.
class RatonTeclado : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        wf.mkdir("tx");
        General::DirectorioTrabajo = wf.path() + "/";
        General::NumeroTerminal = 7;
        auto cn = Connect();
        ConfiguracionPrueba::GuardarObrasSociales(*cn, obras);
        m = std::make_unique<frmMain>();
        m->resize(1366, 740);
        m->show();
        Preparar();
    }
    void TearDown() override
    {
        dialogs.modalHandler = {};
        m.reset();
        General::gConfig.reset();
        General::DirectorioTrabajo.clear();
        General::NumeroTerminal = General::OperacionActual = General::SubModoOperacion = 0;
        General::ObraSocialOnLine = false;
        DbFixture::TearDown();
    }
    // A fresh configuration in memory (the configuration window reloads its own).
    void Preparar()
    {
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setIdTerminal(General::gConfig->getIdTerminal(home() + "/"));
        General::gConfig->setDefaultOS(QString());
        ConfiguracionPrueba::ObrasSociales(obras);
        ConfiguracionPrueba::Prestadores({{1, "CLINICA DEL SOL", "30700000049"}});
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        m->ObraSocial->RefrescarLista();
    }
    void Clic(QListWidget* lista, int fila)
    {
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(lista->item(fila)).center());
        Eventos();
    }
    QString Guardado()
    {
        DbResult r = Connect()->Query("SELECT DefaultOS, DefaultActividad FROM Parametros WHERE IdTerminal = ?",
                                      {int(General::gConfig->IdTerminal())});
        return r["DefaultOS"].toString() + "/" + r["DefaultActividad"].toString();
    }
    // What Enter must never change: the logs, the stored configuration, the working folder.
    QString Huella()
    {
        auto cn = Connect();
        QString h;
        for (const char* t : {"Transaccion", "TOSDE_svl1", "TGenerica_svl1", "Prestadores", "ObrasSociales", "Parametros"})
            h += QString("%1=%2 ").arg(t).arg(cn->Query(QString("SELECT * FROM ") + t).RowCount());
        return h + QDir(wf.path() + "/tx").entryList(QDir::Files).join(",");
    }

    QList<ConfiguracionPrueba::ObraSocial> obras{{"Salud Sur", 5, false, false, 12, true, true, 41},
                                                 {"OSDE Binario", 2, true, false, 11, true, true, 42}};
    TempFolder wf;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> m;
};

// A mouse click on a line chooses that insurer exactly as the arrow keys do.
TEST_P(RatonTeclado, AMouseClickChoosesTheInsurer)
{
    QListWidget* lista = m->ObraSocial->lstObraSocial;
    Clic(lista, 1);
    EXPECT_EQ(m->ObraSocial->txtObraSocialSeleccionada->text(), "(2) OSDE Binario");
    EXPECT_EQ(m->ObraSocial->lblEmpresa->text(), "11");
    EXPECT_EQ(Guardado(), "OSDE Binario/2");
    EXPECT_TRUE(General::ObraSocialOnLine);
    EXPECT_TRUE(m->ToolList->cmdVerificar[0]->isEnabled());

    // The off-line insurer by the mouse, its capture from the side bar by the mouse.
    Clic(lista, 0);
    EXPECT_EQ(m->ObraSocial->lblEmpresa->text(), "12");
    EXPECT_EQ(Guardado(), "Salud Sur/5");
    EXPECT_FALSE(General::ObraSocialOnLine);
    EXPECT_FALSE(m->ToolList->cmdVerificar[0]->isEnabled());
    QTest::mouseClick(m->ToolList->cmdInformar[0], Qt::LeftButton);
    ASSERT_NE(m->FormularioTrabajo("frmOSGenerica"), nullptr);
    EXPECT_EQ(m->windowTitle(), "Quorvan (Informar Prestación) - Salud Sur");

    // Another click closes the capture addressed to the old insurer; the menu then opens the
    // entry form of the new one.
    Clic(lista, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m->FormularioTrabajo("frmOSGenerica"), nullptr);
    m->Menu("mnuInformarPrestacionSinFecha")->trigger();
    EXPECT_NE(m->FormularioTrabajo("frmEmuladorPOS"), nullptr);
    EXPECT_EQ(EstadoEmuladorPOS::Instancia().NombreObraSocial, "OSDE Binario");
    EXPECT_EQ(m->windowTitle(), "Quorvan (Informar Prestación) - OSDE Binario");
}

// Every window: Enter in each text box stores, sends and closes nothing but where the box gives
// Enter an action; a pasted text with a letter is refused whole by each digits-only box.
TEST_P(RatonTeclado, EnterAndPasteInEveryWindow)
{
    const QStringList conAccion{"txtNombreOS"}; // adds the insurer typed
    auto trabajo = [this](void (frmMain::*menu)(), const char* nombre) {
        return [this, menu, nombre]() -> QWidget* {
            (m.get()->*menu)();
            return m->FormularioTrabajo(nombre);
        };
    };
    auto entrada = [this, trabajo](void (frmMain::*menu)()) { return trabajo(menu, "frmEmuladorPOS"); };
    auto dialogo = [](auto hacer) {
        return [hacer]() -> QWidget* {
            QDialog* d = hacer();
            d->setAttribute(Qt::WA_DeleteOnClose);
            return d;
        };
    };
    using M = frmMain;
    struct Fila {
        const char* ventana;
        std::function<QWidget*()> abrir;
        QStringList soloDigitos;
    };
    const Fila filas[] = {
        {"principal", [this] { return static_cast<QWidget*>(m.get()); }, {}},
        {"configuracion", dialogo([] { auto* d = new frmConfigurar; d->Form_Load(); return d; }), {"txtCUIT"}},
        {"impresoras", dialogo([] { auto* d = new frmImpresoras; d->Form_Load(); return d; }), {}},
        {"clave", dialogo([] { return new frmPassword; }), {}},
        {"verificacion", entrada(&M::mnuVerificarPrestador_Click), {"txtCSC"}},
        {"informar", entrada(&M::mnuInformarPrestacionSinFecha_Click), {"txtCSC"}},
        {"rescate", entrada(&M::mnuConsultarAutorizacion_Click), {"txtAUWREF"}},
        {"anulacion", entrada(&M::mnuAnulacion_Click), {}},
        {"internacion", entrada(&M::mnuAdmisionInternacion_Click), {}},
        {"odontologia", entrada(&M::mnuAutorizacionOrtodoncia_Click), {}},
        {"diagnostico", entrada(&M::mnuInformarDiagnostico_Click), {}},
        {"linea", dialogo([this] { auto* d = new frmPrestacion(new QTreeWidget(m.get()), "(2) OSDE Binario"); d->Form_Load(); return d; }),
         {"txtAUCAN"}},
        {"busqueda", dialogo([] { auto* d = new frmBuscarPorAccion(nullptr, nullptr); d->Form_Load(); return d; }), {}},
        {"diagnosticos", dialogo([] { auto* d = new frmDiagnosticos; d->Form_Load(); return d; }), {}},
        {"informe", dialogo([this] { return new frmInformeMedico("CLINICA", "123", new QLineEdit(m.get())); }), {}},
        {"captura", [this] { Clic(m->ObraSocial->lstObraSocial, 0); m->mnuInformarPrestacionSinFecha_Click(); return m->FormularioTrabajo("frmOSGenerica"); }, {}},
        {"fila", dialogo([this] { auto* d = new frmPrestacionGenerica(new QTreeWidget(m.get()), "(5) Salud Sur"); d->Form_Load(); return d; }), {}},
        {"cierre", trabajo(&M::mnuCierreLote_Click, "frmCierres"), {"txtNumeroCierre"}},
        {"receta", trabajo(&M::mnuMedicamentos_Click, "frmVademecum"), {"txtCSC"}},
        {"reportes", dialogo([] { return new frmReporte; }), {}},
        {"exportar", trabajo(&M::mnuOsde_Click, "frmExportarDatos"), {}},
        {"purga", [] { auto* d = frmControlFecha::Mostrar("11", nullptr); QTest::mouseClick(d->cmdNo, Qt::LeftButton); return d; }, {}},
        {"valoraciones", dialogo([] { auto* d = new frmValoraciones; d->Form_Load(); return d; }), {}},
        {"acerca", dialogo([] { return new frmAbout; }), {}},
        {"asistente", dialogo([this] { return new frmUpgradeWizard({wf.path(), "3.1.7", "", "", "0.0.0"}); }), {}},
    };
    int pulsadas = 0;
    for (const Fila& f : filas) {
        SCOPED_TRACE(f.ventana);
        Preparar();
        Clic(m->ObraSocial->lstObraSocial, 1);
        dialogs.clear();
        QPointer<QWidget> w = f.abrir();
        ASSERT_FALSE(w.isNull());
        w->window()->show();
        w->window()->activateWindow();
        QApplication::setActiveWindow(w->window());
        Eventos();
        const QString antes = Huella();
        // Without a text box the window keeps its default button; with one, no button takes Enter.
        int predeterminados = 0;
        for (QPushButton* b : w->findChildren<QPushButton*>()) predeterminados += b->isDefault() || b->autoDefault();
        EXPECT_EQ(predeterminados > 0, qobject_cast<QDialog*>(w) && !ReglasEntrada::TieneCajaDeTexto(w));
        QTabWidget* hojas = w->findChild<QTabWidget*>();
        for (int hoja = 0; hoja < (hojas ? hojas->count() : 1); ++hoja) {
            if (hojas) hojas->setCurrentIndex(hoja);
            for (QLineEdit* caja : w->findChildren<QLineEdit*>()) {
                if (!caja->isVisible() || !caja->isEnabled() || caja->isReadOnly()) continue;
                const QString nombre = caja->objectName().isEmpty() ? caja->parentWidget()->objectName() : caja->objectName();
                SCOPED_TRACE(nombre.toStdString());
                QWidget* foco = qobject_cast<QComboBox*>(caja->parentWidget()) ? caja->parentWidget() : caja;
                foco->setFocus(Qt::TabFocusReason);
                Eventos();
                ASSERT_EQ(QApplication::focusWidget(), foco) << dialogs.messages().join('|').toStdString();
                caja->selectAll();
                // What the box's leave check takes.
                QTest::keyClicks(caja, nombre.contains("Fecha") || nombre == "txtAUFECP" ? "01/02/2024" : "123");
                dialogs.clear();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                Eventos();
                ++pulsadas;
                if (conAccion.contains(nombre)) continue;
                EXPECT_TRUE(w->isVisible());
                EXPECT_EQ(dialogs.messages(), QStringList());
                EXPECT_EQ(Huella(), antes);
            }
        }
        for (const QString& nombre : f.soloDigitos) {
            SCOPED_TRACE(nombre.toStdString());
            auto* caja = w->findChild<QLineEdit*>(nombre);
            ASSERT_NE(caja, nullptr);
            caja->setText("12");
            caja->setFocus();
            // Ctrl+V as a keyboard sends it: the control character, not a "v".
            auto pegar = [caja](const char* texto) {
                QApplication::clipboard()->setText(texto);
                QTest::sendKeyEvent(QTest::Click, caja, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
            };
            pegar("2x5");
            EXPECT_EQ(caja->text(), "12");
            pegar("34");
            // The rescue reference's key filter refuses the paste key itself.
            EXPECT_EQ(caja->text(), nombre == "txtAUWREF" ? "12" : "1234") << "a paste of digits goes in";
        }
        EXPECT_EQ(Huella(), antes);
        if (w != m.get()) {
            w->close();
            General::DescargarFormularios("");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_GT(pulsadas, 90) << "every box of every window";
}

// An accelerator runs the focused field's leave check first and is dropped when it refuses;
// "Cerrar" by its accelerator never checks.
TEST_P(RatonTeclado, AcceleratorsRunTheLeaveCheckFirst)
{
    QTreeWidget destino;
    frmPrestacionGenerica d(&destino, "(5) Salud Sur");
    d.Form_Load();
    d.show();
    QApplication::setActiveWindow(&d);
    d.txtPrestacion->setFocus();
    QTest::keyClicks(d.txtPrestacion, "12A");
    QTest::keyClick(d.txtPrestacion, Qt::Key_A, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_EQ(dialogs.messages(), QStringList{"Debe ingresar un valor numérico."});
    EXPECT_EQ(destino.topLevelItemCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), d.txtPrestacion);

    d.txtPrestacion->setText("12");
    dialogs.clear();
    QTest::keyClick(d.txtPrestacion, Qt::Key_A, Qt::AltModifier);
    QTest::qWait(250);
    ASSERT_EQ(destino.topLevelItemCount(), 1);
    EXPECT_EQ(destino.topLevelItem(0)->text(0), "12");

    d.txtPrestacion->setText("ABC");
    QTest::keyClick(d.txtPrestacion, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// At a 768-pixel screen the side bar with every operation scrolls to its last button; the main
// window keeps five insurer lines at its smallest and starts within the screen.
TEST_P(RatonTeclado, TheSideBarScrollsToItsLastButton)
{
    using namespace DisposicionPrincipal;
    EXPECT_EQ(AltoArranque(Twips::DePixeles(740), Twips::DePixeles(30)), Twips::DePixeles(710));
    EXPECT_EQ(AltoArranque(Twips::DePixeles(1040), Twips::DePixeles(30)), kAltoArranque);

    auto operaciones = std::make_shared<Coleccion<clsOperacion>>();
    for (const char* codigo : {"01A", "01B", "01C", "02A", "02B", "02L", "02C", "02D", "03A", "04A", "02S", "02E", "02I",
                               "02Q", "02P", "2C", "2CB", "3A", "05F", "03F", "31"}) {
        auto o = std::make_shared<clsOperacion>();
        o->strIdentificacion = codigo;
        o->intUtiliza = 1;
        operaciones->Add(o);
    }
    General::gConfig->setOperaciones(operaciones);
    Clic(m->ObraSocial->lstObraSocial, 1);
    m->resize(1366, 768);
    m->mnuInicio_Click();
    m->MDIForm_Resize();
    Eventos();
    QScrollArea* barra = m->BarraLateral;
    EXPECT_GT(m->ToolList->height(), barra->viewport()->height());
    EXPECT_LE(barra->x() + barra->width(), Twips::APixeles(1365)) << "clear of the working windows";
    const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(carpeta);
    if (GetParam() == DbEngine::SQLite) m->grab().save(carpeta + "/main-window-1366x768.png");

    QScrollBar* desplazamiento = barra->verticalScrollBar();
    ASSERT_TRUE(desplazamiento->isVisible());
    for (int i = 0; i < 10 && desplazamiento->value() < desplazamiento->maximum(); ++i) {
        QTest::mouseClick(desplazamiento, Qt::LeftButton, {}, QPoint(desplazamiento->width() / 2, desplazamiento->height() - 20));
        Eventos();
    }
    QPushButton* ultimo = m->ToolList->cmdMedicamento;
    const QRect enVista(ultimo->mapTo(barra->viewport(), QPoint(0, 0)), ultimo->size());
    EXPECT_TRUE(barra->viewport()->rect().contains(enVista));
    QTest::mouseClick(ultimo, Qt::LeftButton);
    EXPECT_NE(m->FormularioTrabajo("frmVademecum"), nullptr);

    m->resize(200, 200);
    Eventos();
    EXPECT_EQ(m->size(), QSize(800, 560));
    QListWidget* lista = m->ObraSocial->lstObraSocial;
    EXPECT_GE(lista->viewport()->height() / lista->sizeHintForRow(0), 5);
}

// The purge dialog grows when its date row appears: the explanation is never cut.
TEST_P(RatonTeclado, ThePurgeDialogGrowsWithItsDateRow)
{
    QPointer<frmControlFecha> d = frmControlFecha::Mostrar("11", nullptr);
    Eventos();
    QTest::mouseClick(d->cmdNo, Qt::LeftButton);
    Eventos();
    for (QWidget* w : std::initializer_list<QWidget*>{d->Label3, d->Label1, d->txtFechaActual, d->cmdOK}) {
        EXPECT_TRUE(d->rect().contains(w->geometry())) << w->objectName().toStdString();
        if (auto* l = qobject_cast<QLabel*>(w)) EXPECT_GE(l->height(), l->heightForWidth(l->width()));
    }
    d->close();
}

INSTANTIATE_TEST_SUITE_P(Engines, RatonTeclado, DbEngines(), DbEngineName);

// Qt's own buttons in Spanish under the C locale, the locale itself untouched.
TEST(TraduccionQt, MessageBoxesAndPickersSpeakSpanish)
{
    if (!QFile::exists(TraduccionQt::Archivo())) GTEST_SKIP() << "no Qt translation at " << TraduccionQt::Archivo().toStdString();
    const QLocale local;
    ASSERT_TRUE(TraduccionQt::Instalar());
    QStringList botones;
    QTimer::singleShot(0, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(caja, nullptr);
        for (QAbstractButton* b : caja->buttons()) botones << b->text();
        caja->reject();
    });
    QtDialogProvider().msgBox("¿Seguro?", Vbc::vbYesNoCancel | Vbc::vbQuestion, "Quorvan");
    botones.sort();
    EXPECT_EQ(botones, (QStringList{"&No", "&Sí", "Cancelar"}));

    QFileDialog picker(nullptr, "Abrir");
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.show();
    QStringList textos;
    for (QAbstractButton* b : picker.findChild<QDialogButtonBox*>()->buttons()) textos << b->text();
    picker.close();
    EXPECT_TRUE(textos.contains("Cancelar")) << textos.join('|').toStdString();
    EXPECT_EQ(QLocale().name(), local.name());
}

}
