// Every window as a person drives it, on a shown main window: mouse clicks, Enter in each text
// box, a paste, an accelerator.
#include "config/Coleccion.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsOperacion.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmEmuladorPOS.h"
#include "entry/frmBuscarPorAccion.h"
#include "entry/frmDiagnosticos.h"
#include "entry/frmInformeMedico.h"
#include "entry/frmPrestacion.h"
#include "platform/ReglasEntrada.h"
#include "platform/TraduccionQt.h"
#include "platform/Twips.h"
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
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

void Eventos() { QCoreApplication::processEvents(); }

// A window with checked boxes, a refused value for each, its closing buttons ("escape" for Escape;
// the close box is always tried), and the presses (a button's caption or an accelerator) that the
// value refuses first, with the box's message, as the entry window's "Aceptar" is refused.
struct Mala { const char* nombre; QString texto; QString mensaje = {}; };
struct Salidas {
    std::function<QWidget*()> abrir;
    QList<Mala> malas;
    QStringList salidas;
    QStringList rechazadas = {};
};
const QString kFechaMala = "99/99/9999";

// The main window on "(5) Salud Sur" off-line and "(2) OSDE Binario" on-line, with a working
// folder whose "tx" shows whether anything was sent.
class RatonTeclado : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        wf.mkdir("tx");
        General::DirectorioTrabajo = wf.path() + "/";
        General::NumeroTerminal = 7;
        ConfiguracionPrueba::GuardarObrasSociales(*Connect(), obras);
        m = std::make_unique<frmMain>();
        m->resize(1366, 740);
        m->show();
        Preparar();
    }
    void TearDown() override
    {
        m.reset();
        General::gConfig.reset();
        General::DirectorioTrabajo.clear();
        General::NumeroTerminal = General::OperacionActual = General::SubModoOperacion = 0;
        General::HabilitarCodigoPrestacion = false;
        DbFixture::TearDown();
    }
    // The configuration in memory again (the configuration window loads its own).
    void Preparar()
    {
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setIdTerminal(General::gConfig->getIdTerminal(home() + "/"));
        ConfiguracionPrueba::ObrasSociales(obras);
        ConfiguracionPrueba::Prestadores({{1, "CLINICA DEL SOL", "30700000049"}});
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        m->ObraSocial->RefrescarLista();
    }
    // A window opened afresh on the first insurer, shown and active.
    QPointer<QWidget> Mostrar(const std::function<QWidget*()>& abrir)
    {
        Preparar();
        Elegir(1);
        QPointer<QWidget> w = abrir();
        if (w.isNull()) return w;
        if (w->isWindow()) w->setAttribute(Qt::WA_DeleteOnClose);
        w->window()->show();
        QApplication::setActiveWindow(w->window());
        Eventos();
        return w;
    }
    void Elegir(int fila)
    {
        QListWidget* l = m->ObraSocial->lstObraSocial;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(fila)).center());
        Eventos();
    }
    // What Enter must leave alone: the logs, the stored configuration, the working folder.
    QString Huella()
    {
        auto cn = Connect();
        QString h = cn->Query("SELECT DefaultOS FROM Parametros").value(0).toString();
        for (const char* t : {"Transaccion", "TOSDE_svl1", "TGenerica_svl1", "Prestadores", "ObrasSociales", "Parametros"})
            h += QString(" %1").arg(cn->Query(QString("SELECT * FROM ") + t).RowCount());
        return h + QDir(wf.path() + "/tx").entryList(QDir::Files).join(",");
    }

    void Dejar(const QList<Salidas>& filas);
    std::function<QWidget*()> Trabajo(void (frmMain::*menu)(), const char* nombre);

    QList<ConfiguracionPrueba::ObraSocial> obras{{"Salud Sur", 5, false, false, 12, true, true, 41},
                                                 {"OSDE Binario", 2, true, false, 11, true, true, 42}};
    TempFolder wf;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> m;
};

// A click on a line chooses that insurer as the arrow keys do: caption, company code, stored
// default, on-line entries, the working windows of the old insurer closed.
TEST_P(RatonTeclado, AMouseClickChoosesTheInsurer)
{
    Elegir(1);
    EXPECT_EQ(m->ObraSocial->txtObraSocialSeleccionada->text(), "(2) OSDE Binario");
    EXPECT_EQ(m->ObraSocial->lblEmpresa->text(), "11");
    EXPECT_TRUE(Huella().startsWith("OSDE Binario "));
    EXPECT_TRUE(m->ToolList->cmdVerificar[0]->isEnabled());
    Elegir(0);
    EXPECT_EQ(m->ObraSocial->lblEmpresa->text(), "12");
    EXPECT_TRUE(Huella().startsWith("Salud Sur "));
    EXPECT_FALSE(m->ToolList->cmdVerificar[0]->isEnabled());
    QTest::mouseClick(m->ToolList->cmdInformar[0], Qt::LeftButton);
    EXPECT_EQ(m->windowTitle(), "Quorvan (Informar Prestación) - Salud Sur");
    ASSERT_NE(m->FormularioTrabajo("frmOSGenerica"), nullptr);

    Elegir(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m->FormularioTrabajo("frmOSGenerica"), nullptr);
    m->Menu("mnuInformarPrestacionSinFecha")->trigger();
    EXPECT_NE(m->FormularioTrabajo("frmEmuladorPOS"), nullptr);
    EXPECT_EQ(EstadoEmuladorPOS::Instancia().NombreObraSocial, "OSDE Binario");
    EXPECT_EQ(m->windowTitle(), "Quorvan (Informar Prestación) - OSDE Binario");
}

// Every window: Enter in each text box stores, sends and closes nothing ("txtNombreOS" gives it
// an action, adding the insurer, and "txtClave", checking the code); a dialog without a text box
// keeps its default button. Letters pasted into a digits-only box are refused whole; digits go in;
// Tab, Shift+Tab and the editing keys pass its key rule.
TEST_P(RatonTeclado, EnterAndPasteInEveryWindow)
{
    using M = frmMain;
    auto trabajo = [this](void (M::*menu)(), const char* nombre) {
        return [=]() -> QWidget* { (m.get()->*menu)(); return m->FormularioTrabajo(nombre); };
    };
    auto entrada = [&](void (M::*menu)()) { return trabajo(menu, "frmEmuladorPOS"); };
    auto lista = [this] { return new QTreeWidget(m.get()); };
    const struct {
        const char* ventana;
        std::function<QWidget*()> abrir;
        QStringList soloDigitos;
    } filas[] = {
        {"principal", [this] { return static_cast<QWidget*>(m.get()); }, {}},
        {"configuracion", [] { auto* d = new frmConfigurar; d->Form_Load(); return d; }, {"txtCUIT"}},
        {"impresoras", [] { auto* d = new frmImpresoras; d->Form_Load(); return d; }, {}},
        {"clave", [] { return new frmPassword; }, {}},
        {"verificacion", entrada(&M::mnuVerificarPrestador_Click), {"txtCSC"}},
        {"informar", entrada(&M::mnuInformarPrestacionSinFecha_Click), {"txtCSC"}},
        {"rescate", entrada(&M::mnuConsultarAutorizacion_Click), {"txtAUWREF", "txtAUNREF"}},
        {"anulacion", entrada(&M::mnuAnulacion_Click), {}},
        {"internacion", entrada(&M::mnuAdmisionInternacion_Click), {}},
        {"odontologia", entrada(&M::mnuAutorizacionOrtodoncia_Click), {}},
        {"diagnostico", entrada(&M::mnuInformarDiagnostico_Click), {}},
        {"linea", [&] { auto* d = new frmPrestacion(lista(), "(2) OSDE Binario"); d->Form_Load(); return d; }, {"txtAUCAN"}},
        {"busqueda", [] { auto* d = new frmBuscarPorAccion(nullptr, nullptr); d->Form_Load(); return d; }, {}},
        {"diagnosticos", [] { auto* d = new frmDiagnosticos; d->Form_Load(); return d; }, {}},
        {"informe", [this] { return new frmInformeMedico("CLINICA", "123", new QLineEdit(m.get())); }, {}},
        {"captura", [&] { Elegir(0); return trabajo(&M::mnuInformarPrestacionSinFecha_Click, "frmOSGenerica")(); },
         {"txtNumeroAutorizacion", "txtTipoMatricula", "txtNumeroMatricula"}},
        {"fila", [&] { auto* d = new frmPrestacionGenerica(lista(), "(5) Salud Sur"); d->Form_Load(); return d; }, {}},
        {"cierre", trabajo(&M::mnuCierreLote_Click, "frmCierres"), {"txtNumeroCierre"}},
        {"receta", trabajo(&M::mnuMedicamentos_Click, "frmVademecum"), {"txtCSC"}},
        {"reportes", [] { return new frmReporte; }, {}},
        {"exportar", trabajo(&M::mnuOsde_Click, "frmExportarDatos"), {}},
        {"purga", [] {
             auto* d = frmControlFecha::Mostrar("11", nullptr);
             QTest::mouseClick(d->cmdNo, Qt::LeftButton);
             // The dialog grew with its date row: the wrapped explanation is whole.
             EXPECT_GE(d->Label3->height(), d->Label3->heightForWidth(d->Label3->width()));
             EXPECT_TRUE(d->rect().contains(d->cmdOK->geometry()));
             return d;
         }, {}},
        {"valoraciones", [] { auto* d = new frmValoraciones; d->Form_Load(); return d; }, {}},
        {"acerca", [] { return new frmAbout; }, {}},
        {"asistente", [this] { return new frmUpgradeWizard({wf.path(), "3.1.7", "", "", "0.0.0"}); }, {}},
    };
    int pulsadas = 0;
    for (const auto& f : filas) {
        SCOPED_TRACE(f.ventana);
        QPointer<QWidget> w = Mostrar(f.abrir);
        ASSERT_FALSE(w.isNull());
        const QString antes = Huella();
        int predeterminados = 0;
        for (QPushButton* b : w->findChildren<QPushButton*>()) predeterminados += b->isDefault() || b->autoDefault();
        EXPECT_EQ(predeterminados > 0, qobject_cast<QDialog*>(w) && !ReglasEntrada::TieneCajaDeTexto(w));
        QTabWidget* hojas = w->findChild<QTabWidget*>();
        for (int hoja = 0; hoja < (hojas ? hojas->count() : 1); ++hoja) {
            if (hojas) hojas->setCurrentIndex(hoja);
            for (QLineEdit* caja : w->findChildren<QLineEdit*>()) {
                if (!caja->isVisible() || !caja->isEnabled() || caja->isReadOnly()) continue;
                QWidget* foco = qobject_cast<QComboBox*>(caja->parentWidget()) ? caja->parentWidget() : caja;
                SCOPED_TRACE(foco->objectName().toStdString());
                foco->setFocus(Qt::TabFocusReason);
                Eventos();
                ASSERT_EQ(QApplication::focusWidget(), foco) << dialogs.messages().join('|').toStdString();
                caja->selectAll();
                // A text the box's leave check takes.
                const bool fecha = foco->objectName().contains("Fecha") || foco->objectName() == "txtAUFECP";
                QTest::keyClicks(caja, fecha ? "01/02/2024" : "123");
                dialogs.clear();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                Eventos();
                ++pulsadas;
                if (foco->objectName() == "txtNombreOS" || foco->objectName() == "txtClave") continue;
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
            EXPECT_EQ(caja->text(), nombre == "txtAUWREF" ? "12" : "1234");

            // Tab in every filtered box, and the editing keys, with the characters a keyboard sends.
            if (hojas)
                for (int hoja = 0; hoja < hojas->count(); ++hoja)
                    if (hojas->widget(hoja)->isAncestorOf(caja)) hojas->setCurrentIndex(hoja);
            ASSERT_TRUE(caja->isVisible() && caja->isEnabled());
            caja->setText("123");
            QApplication::clipboard()->clear();
            const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, nada;
            const struct { Qt::Key k; Qt::KeyboardModifiers mod; const char* texto; const char* queda; } pasos[] = {
                {Qt::Key_A, ctrl, "\x01", "123"}, {Qt::Key_C, ctrl, "\x03", "123"}, {Qt::Key_X, ctrl, "\x18", ""},
                {Qt::Key_Z, ctrl, "\x1a", "123"}, {Qt::Key_Home, nada, "", "123"}, {Qt::Key_Delete, nada, "\x7f", "23"},
                {Qt::Key_End, nada, "", "23"}, {Qt::Key_Left, nada, "", "23"}, {Qt::Key_Backspace, nada, "\b", "3"},
                {Qt::Key_Z, ctrl, "\x1a", "23"}, {Qt::Key_Z, ctrl, "\x1a", "123"}, // a value every leave check takes
                {Qt::Key_Tab, nada, "\t", "123"}, {Qt::Key_Backtab, Qt::ShiftModifier, "\t", "123"}};
            for (const auto& p : pasos) {
                caja->setFocus(Qt::MouseFocusReason);
                QTest::sendKeyEvent(QTest::Click, caja, p.k, QString(p.texto), p.mod);
                Eventos();
                EXPECT_EQ(caja->text(), p.queda) << p.k;
                if (p.k == Qt::Key_Tab || p.k == Qt::Key_Backtab) EXPECT_NE(QApplication::focusWidget(), caja) << p.k;
            }
            EXPECT_EQ(QApplication::clipboard()->text(), "123");
            EXPECT_EQ(dialogs.messages(), QStringList());
        }
        EXPECT_EQ(Huella(), antes);
        if (w != m.get()) w->close();
        General::DescargarFormularios("");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_GT(pulsadas, 90) << "every box of every window";
}

// A number pasted into a digits-only box goes in without its separators, whichever way it is
// pasted; anything else, or more digits than the box has room for, refuses the paste whole. A
// box that takes "-" keeps a paste as it stands.
TEST_P(RatonTeclado, ANumberPastesWithItsSeparators)
{
    frmConfigurar configuracion;
    configuracion.Form_Load();
    configuracion.show();
    frmPrestacion linea(new QTreeWidget(m.get()), "(2) OSDE Binario");
    linea.Form_Load();
    linea.show();
    linea.txtAUODP->show();
    linea.txtAUODP->setEnabled(true);
    QLineEdit* cuit = configuracion.txtCUIT;
    enum Forma { CtrlV, ShiftInsert, Menu, Soltar };
    const struct { QLineEdit* caja; QString pegado; Forma forma; const char* despues; } casos[] = {
        {cuit, "20-12345678-9", CtrlV, "20123456789"}, // longer than the box until its dashes are out
        {cuit, " 20123456789 ", ShiftInsert, "20123456789"}, {cuit, "20123456789\r\n", Menu, "20123456789"},
        {cuit, QString("20 123") + QChar(0xA0) + "45\n", Soltar, "2012345"},
        {cuit, "20-12345678-90", CtrlV, ""}, // a digit too many: never cut short
        {cuit, "-5", CtrlV, ""}, {cuit, "5-", Menu, ""}, {cuit, "1\t2", CtrlV, ""}, {cuit, "1.5", Soltar, ""},
        {cuit, "12A", CtrlV, ""}, {cuit, "1\r\n2", CtrlV, ""}, {linea.txtAUODP, "1-2", CtrlV, "1-2"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.pegado.toStdString());
        c.caja->clear();
        c.caja->setFocus();
        QApplication::clipboard()->setText(c.pegado);
        const QPoint punto(4, c.caja->height() / 2);
        if (c.forma == CtrlV) {
            // As a keyboard sends it: the control character, not a "v".
            QTest::sendKeyEvent(QTest::Click, c.caja, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
        } else if (c.forma == ShiftInsert) {
            QTest::keyClick(c.caja, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (c.forma == Menu) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, punto, c.caja->mapToGlobal(punto));
            QApplication::sendEvent(c.caja, &menu);
            auto* abierto = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(abierto, nullptr);
            for (QAction* a : abierto->actions())
                if (a->text().startsWith(QLineEdit::tr("&Paste"))) a->trigger();
            abierto->close();
        } else {
            QMimeData datos;
            datos.setText(c.pegado);
            QDragEnterEvent entra(punto, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(c.caja, &entra);
            QDropEvent soltar(punto, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(c.caja, &soltar);
        }
        EXPECT_EQ(c.caja->text().toStdString(), c.despues);
    }
}

// An accelerator runs the focused field's leave check first and is dropped when it refuses;
// "&Cerrar" never checks.
TEST_P(RatonTeclado, AcceleratorsRunTheLeaveCheckFirst)
{
    QTreeWidget destino;
    frmPrestacionGenerica d(&destino, "(5) Salud Sur");
    d.Form_Load();
    d.show();
    QApplication::setActiveWindow(&d);
    d.txtPrestacion->setFocus();
    for (const char* texto : {"12A", "12"}) {
        d.txtPrestacion->setText(texto);
        QTest::keyClick(d.txtPrestacion, Qt::Key_A, Qt::AltModifier);
        QTest::qWait(250);
    }
    EXPECT_EQ(dialogs.messages(), QStringList{"Debe ingresar un valor numérico."});
    ASSERT_EQ(destino.topLevelItemCount(), 1);
    EXPECT_EQ(destino.topLevelItem(0)->text(0), "12");
    d.txtPrestacion->setText("ABC");
    QTest::keyClick(d.txtPrestacion, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(250);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(dialogs.messages().size(), 1);
}

// A real click on the close box of a working window's frame (from inside the window: a move along
// the title bar would start a drag); a dialog's close box is the window manager's close event.
void CajaDeCierre(QWidget* w)
{
    auto* s = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    if (!s) return void(w->close());
    QStyleOptionTitleBar o;
    o.initFrom(s);
    o.titleBarFlags = s->windowFlags();
    o.rect = QRect(0, 0, s->width(), s->style()->pixelMetric(QStyle::PM_TitleBarHeight, &o, s));
    const QPoint p = s->style()->subControlRect(QStyle::CC_TitleBar, &o, QStyle::SC_TitleBarCloseButton, s).center();
    QTest::mouseMove(s, s->rect().center());
    QTest::mouseMove(s, p);
    QTest::mouseClick(s, Qt::LeftButton, {}, p);
}

// Each way out leaves at once, whatever the box holds: no message, nothing sent or stored. In the
// entry window "Aceptar" still refuses first (the date selected whole), leaving unlocks the main
// window, and Escape in an open list closes only the list.
void RatonTeclado::Dejar(const QList<Salidas>& filas)
{
    for (const auto& f : filas)
        for (const auto& [nombre, texto, mensaje] : f.malas)
            for (const QString& salida : f.salidas + QStringList{"cierre"}) {
                SCOPED_TRACE(testing::Message() << nombre << " " << salida.toStdString());
                QPointer<QWidget> w = Mostrar(f.abrir);
                ASSERT_FALSE(w.isNull());
                auto* caja = w->findChild<QLineEdit*>(nombre);
                ASSERT_NE(caja, nullptr);
                if (auto* h = w->findChild<QTabWidget*>())
                    for (int i = 0; i < h->count(); ++i)
                        if (h->widget(i)->isAncestorOf(caja)) h->setCurrentIndex(i);
                ASSERT_TRUE(caja->isEnabled());
                auto escribir = [&] {
                    caja->setFocus(Qt::TabFocusReason);
                    caja->clear();
                    QTest::keyClicks(caja, texto);
                    if (caja->text() != texto) caja->setText(texto); // a text the keys refuse
                    EXPECT_EQ(QApplication::focusWidget(), caja);
                    dialogs.clear();
                };
                escribir();
                const QString antes = Huella();
                for (const QString& pulsada : f.rechazadas) {
                    SCOPED_TRACE(pulsada.toStdString());
                    if (pulsada.startsWith("Alt+")) QTest::keySequence(caja, QKeySequence(pulsada));
                    else
                        for (QPushButton* b : w->findChildren<QPushButton*>())
                            if (b->text() == pulsada) QTest::mouseClick(b, Qt::LeftButton);
                    QTest::qWait(250); // an accelerator's press would land now
                    EXPECT_EQ(dialogs.messages().join('|').toStdString(), mensaje.toStdString());
                    EXPECT_EQ(QApplication::focusWidget(), caja);
                    EXPECT_EQ(caja->selectedText(), texto);
                    EXPECT_EQ(Huella(), antes);
                    escribir();
                }
                auto* entrada = qobject_cast<frmEmuladorPOS*>(w);
                if (entrada) {
                    QTest::mouseClick(entrada->cmdAceptar, Qt::LeftButton);
                    EXPECT_TRUE(dialogs.messages().value(0).startsWith(caja == entrada->txtAUFECP ? "Fecha de Práctica" : "Nº de"));
                    if (caja == entrada->txtAUFECP) EXPECT_EQ(caja->selectedText(), texto);
                    escribir();
                    if (salida == "escape") {
                        entrada->cboNombre->showPopup();
                        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
                        ASSERT_TRUE(w->isVisible());
                    }
                }
                if (salida == "escape") QTest::keyClick(caja, Qt::Key_Escape);
                else if (salida == "cierre") CajaDeCierre(w);
                else QTest::mouseClick(w->findChild<QPushButton*>(salida), Qt::LeftButton);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                EXPECT_TRUE(w.isNull() || !w->isVisible());
                EXPECT_EQ(dialogs.messages().join('|').toStdString(), "");
                EXPECT_EQ(Huella(), antes);
                if (entrada) {
                    EXPECT_TRUE(General::MenuPrincipalHabilitado() && m->ToolList->cmdVerificar[0]->isEnabled());
                    EXPECT_EQ(General::OperacionActual, salida == "cierre" ? 7 : 0);
                }
                if (w && w != m.get()) w->close();
                General::DescargarFormularios("");
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
}

std::function<QWidget*()> RatonTeclado::Trabajo(void (frmMain::*menu)(), const char* nombre)
{
    return [=]() -> QWidget* { (m.get()->*menu)(); return m->FormularioTrabajo(nombre); };
}

TEST_P(RatonTeclado, EveryWayOutOfTheEntryWindowWhateverABoxHolds)
{
    Dejar({{Trabajo(&frmMain::mnuInformarPrestacionConFecha_Click, "frmEmuladorPOS"),
            {{"txtAUFECP", kFechaMala}, {"txtAUNREF", "1-2"}}, {"cmdCancelar", "escape"}}});
}

// The other windows with checked boxes: closing buttons, close box and (dialogs) Escape.
TEST_P(RatonTeclado, EveryOtherWindowIsLeftWhateverItsBoxesHold)
{
    using M = frmMain;
    const QString fecha = kFechaMala;
    Dejar({
        {[this] {
             General::HabilitarCodigoPrestacion = true; // as the entry window of a service report leaves it
             auto* d = new frmPrestacion(new QTreeWidget(m.get()), "(2) OSDE Binario");
             d->Form_Load();
             return d;
         },
         {{"txtAUPRE", ""}, {"txtAUCAN", "0"}}, {"cmdCancel", "escape"}},
        {[this] { Elegir(0); return Trabajo(&M::mnuInformarPrestacionSinFecha_Click, "frmOSGenerica")(); },
         {{"txtNumeroAfiliado", ""}, {"txtNumeroAutorizacion", "12A"}, {"txtNumeroMatricula", "1.5"}}, {"cmdCancelar"}},
        {[this] { auto* d = new frmPrestacionGenerica(new QTreeWidget(m.get()), "(5) Salud Sur"); d->Form_Load(); return d; },
         {{"txtPrestacion", "12A"}, {"txtAutorizacion", "x"}}, {"cmdCancel", "escape"}},
        {[] { frmConfigurar::Estado() = {}; auto* d = new frmConfigurar; d->Form_Load(); return d; }, {{"txtCUIT", "123"}},
         {"cmdCancelar", "escape"}},
        {Trabajo(&M::mnuCierreLote_Click, "frmCierres"), {{"txtFechaDesde", fecha}, {"txtFechaHasta", fecha}, {"txtNumeroCierre", ""}},
         {"cmdCancelar"}},
        {Trabajo(&M::mnuMedicamentos_Click, "frmVademecum"), {{"txtCSC", "12"}, {"txtcodigoOSDE", "999"}}, {"cmdCancelar"}},
        {[] { return new frmReporte; }, {{"txtFecha_desde", fecha}, {"txtFecha_hasta", fecha}}, {"cmdOpcion_3", "escape"}},
        {Trabajo(&M::mnuOsde_Click, "frmExportarDatos"),
         {{"txtFechaDesde", fecha, "Fecha desde inválida"}, {"txtFechaHasta", fecha, "Fecha hasta inválida"}}, {"cmdCerrar"},
         {"&Exportar txt", "Exportar &xls", "Alt+E", "Alt+X"}},
        {[] { auto* d = frmControlFecha::Mostrar("11", nullptr); QTest::mouseClick(d->cmdNo, Qt::LeftButton); return d; },
         {{"txtFechaActual", fecha, "Fecha inválida"}}, {"escape"}, {"Ok"}},
    });
}

// At 1366x768 the side bar with every operation scrolls to its last button, clear of the
// working windows; the smallest main window keeps five insurer lines; the start fits the screen.
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
    Elegir(1);
    m->resize(1366, 768);
    m->mnuInicio_Click();
    Eventos();
    QScrollArea* barra = m->BarraLateral;
    QScrollBar* desplazamiento = barra->verticalScrollBar();
    ASSERT_TRUE(desplazamiento->isVisible());
    EXPECT_LE(barra->x() + barra->width(), Twips::APixeles(kIzquierdaTrabajo));
    if (GetParam() == DbEngine::SQLite) {
        QDir().mkpath(QCoreApplication::applicationDirPath() + "/../screenshots");
        m->grab().save(QCoreApplication::applicationDirPath() + "/../screenshots/main-window-1366x768.png");
    }
    for (int i = 0; i < 10 && desplazamiento->value() < desplazamiento->maximum(); ++i) {
        QTest::mouseClick(desplazamiento, Qt::LeftButton, {}, QPoint(desplazamiento->width() / 2, desplazamiento->height() - 20));
        Eventos();
    }
    QPushButton* ultimo = m->ToolList->cmdMedicamento;
    EXPECT_TRUE(barra->viewport()->rect().contains(QRect(ultimo->mapTo(barra->viewport(), QPoint()), ultimo->size())));
    QTest::mouseClick(ultimo, Qt::LeftButton);
    EXPECT_NE(m->FormularioTrabajo("frmVademecum"), nullptr);

    m->resize(200, 200);
    EXPECT_EQ(m->size(), QSize(800, 560));
    QListWidget* l = m->ObraSocial->lstObraSocial;
    EXPECT_GE(l->viewport()->height() / l->sizeHintForRow(0), 5);
}

INSTANTIATE_TEST_SUITE_P(Engines, RatonTeclado, DbEngines(), DbEngineName);

// Qt's own buttons in Spanish under the C locale, the locale itself untouched.
TEST(TraduccionQt, MessageBoxesAndPickersSpeakSpanish)
{
    if (!QFile::exists(TraduccionQt::Archivo())) GTEST_SKIP() << "no Qt translation at " << TraduccionQt::Archivo().toStdString();
    const QString local = QLocale().name();
    ASSERT_TRUE(TraduccionQt::Instalar());
    QStringList botones;
    QTimer::singleShot(0, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        for (QAbstractButton* b : caja->buttons()) botones << b->text();
        caja->reject();
    });
    QtDialogProvider().msgBox("¿Seguro?", Vbc::vbYesNoCancel, "Quorvan");
    botones.sort();
    EXPECT_EQ(botones, (QStringList{"&No", "&Sí", "Cancelar"}));
    QFileDialog picker(nullptr, "Abrir");
    picker.setOption(QFileDialog::DontUseNativeDialog);
    QStringList textos;
    for (QAbstractButton* b : picker.findChild<QDialogButtonBox*>()->buttons()) textos << b->text();
    EXPECT_TRUE(textos.contains("Cancelar")) << textos.join('|').toStdString();
    EXPECT_EQ(QLocale().name(), local);
}

}
