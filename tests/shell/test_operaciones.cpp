#include "config/GeneralConfiguracion.h"
#include "config/Coleccion.h"
#include "config/clsConfig.h"
#include "config/clsOperacion.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmHistoriaClinica.h"
#include "prescription/EstadoVademecum.h"
#include "shell/BarraOperaciones.h"
#include "shell/GeneralPrincipal.h"
#include "shell/OperacionesMenu.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "shell/frmToolList.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "txlog/frmOSGenerica.h"
#include "txlog/frmPrestacionGenerica.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kSinObraSocial = "Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha.";

// The main window on a configuration of two insurers: "(5) Salud Sur" off-line and
// "(2) OSDE Binario" on-line.
class OperacionesDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setIdTerminal(General::gConfig->getIdTerminal(home() + "/"));
        General::gConfig->setDefaultOS(QString());
        obras = {{"Salud Sur", 5, false, false, 12, true, true, 41}, {"OSDE Binario", 2, true, false, 11, true, true, 42}};
        ConfiguracionPrueba::ObrasSociales(obras);
        ConfiguracionPrueba::Prestadores({{1, "CLINICA DEL SOL", "30700000049"}});
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        EstadoVademecum::Instancia() = EstadoVademecum{};
        General::NumeroTerminal = 7;
        m = std::make_unique<frmMain>();
        m->resize(1024, 756);
        m->show();
        m->ObraSocial->RefrescarLista();
    }
    void TearDown() override
    {
        m.reset();
        General::gConfig.reset();
        General::NumeroTerminal = General::OperacionActual = General::SubModoOperacion = 0;
        General::ObraSocialOnLine = false;
        DbFixture::TearDown();
    }
    void Elegir(int fila) { m->ObraSocial->lstObraSocial->setCurrentRow(fila); }
    // The names of the open working windows.
    QStringList Abiertas() const
    {
        QStringList n;
        for (QMdiSubWindow* s : m->MDIArea->subWindowList()) n << s->widget()->objectName();
        return n;
    }
    void Ventana(const char* nombre)
    {
        auto* w = new QWidget;
        w->setObjectName(nombre);
        m->MDIArea->addSubWindow(w)->show();
    }
    void Cerradas() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void Captura(QWidget* w, const QString& nombre)
    {
        const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(carpeta);
        w->grab().save(carpeta + "/" + nombre);
    }

    QList<ConfiguracionPrueba::ObraSocial> obras;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> m;
};

// What an entry changed: operation, card mode, caption, dental flag, card, windows, messages.
struct Estado {
    qint16 operacion, modo;
    QString titulo;
    bool dental;
    QString tarjeta;
    QStringList abiertas, mensajes;
    bool operator==(const Estado& o) const
    {
        return operacion == o.operacion && modo == o.modo && titulo == o.titulo && dental == o.dental &&
               tarjeta == o.tarjeta && abiertas == o.abiertas && mensajes == o.mensajes;
    }
};

// Each handler with no insurer, an off-line one and an on-line one for a plain and a dental
// provider. Dental: 0 False, 1 True, 2 the provider's type read before the form, 3 unchanged.
TEST_P(OperacionesDb, EveryHandlerByInsurer)
{
    using M = frmMain;
    const struct {
        void (M::*h)();
        qint16 codigo;
        const char* titulo; // nullptr: no caption; "" the caption stays
        char clase;         // T transaction, C batch close, R prescription, X export, I list, H history
        qint16 modo;
        int dental;
    } filas[] = {
        {&M::mnuVerficarAfiliado_Click, 1, "Verificar Afiliado", 'T', 2, 0},
        {&M::mnuVerificarPrestacion_Click, 2, "Verificar Afiliado/Prestación", 'T', 2, 2},
        {&M::mnuVerificarPrestador_Click, 3, "Verificación Completa", 'T', 2, 2},
        {&M::mnuInformarPrestacionSinFecha_Click, 4, "Informar Prestación", 'T', 1, 3},
        {&M::mnuInformarPrescripcion_Click, 5, "Informar Prescripción", 'T', 0, 0},
        {&M::mnuInformarAutorizar_Click, 6, "Solicitar Autorización", 'T', 0, 0},
        {&M::mnuInformarPrestacionConFecha_Click, 7, "Informar Prestación Diferida", 'T', 0, 3},
        {&M::mnuConsultarAutorizacion_Click, 8, "Rescatar Solicitud", 'T', 0, 0},
        {&M::mnuAnulacion_Click, 9, "Informar Anulación", 'T', 0, 0},
        {&M::mnuAdmisionInternacion_Click, 11, "Admisión de Internación", 'T', 0, 0},
        {&M::mnuAltaInternacion_Click, 12, "", 'T', 0, 0},
        {&M::mnuEnvioProtocolo_Click, 13, "Enviar Protocolo Quirúrgico", 'T', 0, 0},
        {&M::mnuInformarCirugia_Click, 14, "Informar Cirugía Ya Realizada", 'T', 0, 0},
        {&M::mnuAutorizacionOrtodoncia_Click, 15, "Autorización Ortodoncia", 'T', 0, 1},
        {&M::mnuAutorizacionSolicitudProtesis_Click, 16, "Autorización Solicitud Prótesis", 'T', 0, 1},
        {&M::mnuRescateSolicitudProtesis_Click, 17, "Rescate Solicitud Prótesis", 'T', 0, 1},
        {&M::mnuInformarPrestacionAutorizada_Click, 18, "Informar Prestación Pre-Autorizada", 'T', 2, 0},
        {&M::mnuAutorizarCirugia_Click, 19, "Solicitar Autorización Cirugía", 'T', 0, 0},
        {&M::mnuInformarDiagnostico_Click, 97, "Informar Diagnóstico", 'T', 0, 0},
        {&M::mnuConsultaCierre_Click, 20, "Consulta Cierre", 'C', 0, 3},
        {&M::mnuCierreLote_Click, 21, "Cierre de Lote", 'C', 0, 3},
        {&M::mnuMedicamentos_Click, 30, "Prescripción medicamentos", 'R', 0, 3},
        {&M::mnuOsde_Click, 98, nullptr, 'X', 0, 3},
        {&M::mnuSimeco_Click, 98, nullptr, 'X', 0, 3},
        {&M::mnuServesalud_Click, 98, nullptr, 'X', 0, 3},
        {&M::mnuHope_Click, 98, nullptr, 'X', 0, 3},
        {&M::mnuInicio_Click, 99, nullptr, 'I', 0, 3},
        {&M::mnuHistoriaClinica_Click, 0, nullptr, 'H', 0, 3},
    };
    ASSERT_EQ(std::size(filas), OperacionesMenu::Tabla().size());
    enum Caso { Ninguna, FueraDeLinea, EnLinea, EnLineaDental };
    for (const auto& f : filas) {
        ASSERT_NE(OperacionesMenu::DeManejador(f.h), nullptr);
        for (Caso caso : {Ninguna, FueraDeLinea, EnLinea, EnLineaDental}) {
            for (bool dentalAntes : {false, true}) {
                SCOPED_TRACE(testing::Message() << f.codigo << " caso " << caso << " dental " << dentalAntes);
                m->ObraSocial->lstObraSocial->setCurrentRow(caso == Ninguna ? -1 : caso == FueraDeLinea ? 0 : 1);
                if (caso == Ninguna) m->ObraSocial->lstObraSocial->clearSelection();
                Ventana("frmCierres");
                Ventana("frmInicio");
                m->setWindowTitle("antes");
                General::OperacionActual = 55;
                General::SubModoOperacion = 5;
                auto& entrada = EstadoEmuladorPOS::Instancia();
                entrada.TipoPrestador = caso == EnLineaDental ? 1 : 0;
                entrada.DatosDentales = dentalAntes;
                EstadoVademecum::Instancia().TarjetaAfiliado = "antes";
                dialogs.clear();
                (m.get()->*f.h)();
                Cerradas();

                const bool pideObraSocial = QString("TCR").contains(f.clase);
                const bool corta = pideObraSocial && caso == Ninguna;
                const QString nombre = caso == FueraDeLinea ? "Salud Sur" : "OSDE Binario";
                Estado e{55, 5, "antes", dentalAntes, "antes", {}, {}};
                if (corta) {
                    e.mensajes = {kSinObraSocial};
                } else {
                    e.operacion = f.codigo;
                    if (f.titulo && *f.titulo)
                        e.titulo = "Quorvan (" + QString(f.titulo) + (f.clase == 'R' ? " - " : ") - ") + nombre;
                    // The discharge's caption ends with the entry form's, the operation's title.
                    if (f.codigo == 12) e.titulo = "Quorvan (Alta de Internación) - Alta de Internación";
                    if (f.clase == 'R') e.tarjeta = "";
                    if (f.clase == 'R') e.abiertas = {"frmVademecum"};
                    if (f.clase == 'I') e.abiertas = {"frmInicio"};
                    if (f.clase == 'H') e.abiertas = {"frmHistoriaClinica"};
                    if (f.clase == 'C') e.abiertas = {"frmCierres"};
                    if (f.clase == 'X') e.abiertas = {"frmExportarDatos"};
                    if (f.clase == 'T' && caso == FueraDeLinea) e.abiertas = {"frmOSGenerica"};
                    if (f.clase == 'T' && caso >= EnLinea) {
                        e.modo = f.modo;
                        if (f.dental < 2) e.dental = f.dental == 1;
                        if (f.dental == 2) e.dental = caso == EnLineaDental;
                        // Codes 4 and 7 read the provider type once the form has applied its provider;
                        // no provider is marked default here, so the last type stays.
                        if (f.dental == 3) e.dental = caso == EnLineaDental;
                        e.abiertas = {"frmEmuladorPOS"};
                    }
                }
                const Estado real{General::OperacionActual, General::SubModoOperacion, m->windowTitle(),
                                  entrada.DatosDentales, EstadoVademecum::Instancia().TarjetaAfiliado,
                                  Abiertas(), dialogs.messages()};
                EXPECT_EQ(real.operacion, e.operacion);
                EXPECT_EQ(real.modo, e.modo);
                EXPECT_EQ(real.titulo, e.titulo);
                EXPECT_EQ(real.dental, e.dental);
                EXPECT_EQ(real.tarjeta, e.tarjeta);
                EXPECT_EQ(real.abiertas, e.abiertas);
                EXPECT_EQ(real.mensajes, e.mensajes);
                if (corta) EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
                General::DescargarFormularios("");
                Cerradas();
            }
        }
    }

    // A selected line whose insurer is no longer configured.
    Elegir(1);
    ConfiguracionPrueba::ObrasSociales({obras[0]});
    dialogs.clear();
    m->mnuAnulacion_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{"No se encontró la Obra Social seleccionada en la configuración."});
    EXPECT_TRUE(Abiertas().isEmpty());
}

// A side-bar button leaves the program as its menu entry does; the on-line-only entries are
// off for an off-line insurer.
TEST_P(OperacionesDb, EachSideBarButtonDoesWhatItsMenuEntryDoes)
{
    const QStringList entradas = {
        "mnuVerficarAfiliado", "mnuVerificarPrestacion", "mnuVerificarPrestador", "mnuInformarPrestacionSinFecha",
        "mnuInformarPrescripcion", "mnuInformarPrestacionAutorizada", "mnuInformarAutorizar",
        "mnuInformarPrestacionConFecha", "mnuConsultarAutorizacion", "mnuAnulacion", "mnuAutorizarCirugia",
        "mnuInformarDiagnostico", "mnuInformarCirugia", "mnuAdmisionInternacion", "mnuAltaInternacion",
        "mnuEnvioProtocolo", "mnuAutorizacionOrtodoncia", "mnuAutorizacionSolicitudProtesis",
        "mnuRescateSolicitudProtesis", "mnuConsultaCierre", "mnuCierreLote", "mnuMedicamentos"};
    const auto& botones = BarraOperaciones::Botones();
    ASSERT_EQ(botones.size(), entradas.size());
    auto estado = [this] {
        Cerradas();
        return Estado{General::OperacionActual, General::SubModoOperacion, m->windowTitle(),
                      EstadoEmuladorPOS::Instancia().DatosDentales, EstadoVademecum::Instancia().TarjetaAfiliado,
                      Abiertas(), dialogs.messages()};
    };
    auto reiniciar = [this] {
        General::DescargarFormularios("");
        General::OperacionActual = General::SubModoOperacion = 0;
        EstadoEmuladorPOS::Instancia().DatosDentales = false;
        m->setWindowTitle("antes");
        dialogs.clear();
    };
    for (int fila : {0, 1}) {
        Elegir(fila);
        for (int i = 0; i < botones.size(); ++i) {
            SCOPED_TRACE(entradas[i].toStdString() + (fila ? " en linea" : " fuera de linea"));
            QPushButton* boton = m->ToolList->BotonDe(botones[i].grupo, botones[i].indice);
            QAction* entrada = m->Menu(entradas[i]);
            ASSERT_NE(entrada, nullptr);
            EXPECT_EQ(boton->isEnabled(), General::BotonLateralHabilitado(boton->objectName(), botones[i].indice,
                                                                          true, fila == 1));
            // The menus' on-line-only entries are not quite the buttons'.
            const bool soloMenuEnLinea = entradas[i] == "mnuInformarAutorizar" || entradas[i] == "mnuConsultarAutorizacion";
            EXPECT_EQ(entrada->isEnabled(), fila == 1 || !(soloMenuEnLinea || i < 3));
            if (!boton->isEnabled() || !entrada->isEnabled()) continue;
            reiniciar();
            boton->click();
            const Estado porBoton = estado();
            reiniciar();
            entrada->trigger();
            EXPECT_EQ(estado(), porBoton);
            EXPECT_NE(porBoton.operacion, 0);
        }
    }
}

// The menu bar's operation entries in order, and the clinical history: it closes the other
// working windows, and its entry stays off through a send.
TEST_P(OperacionesDb, MenuEntriesAndTheClinicalHistory)
{
    QStringList barra;
    for (QAction* a : m->menuBar()->actions()) barra << a->objectName();
    EXPECT_EQ(barra.mid(0, 3), (QStringList{"mnuInicio", "mnuOperaciones", "mnuHistoriaClinica"}));
    QStringList informar;
    for (QAction* a : m->Menu("mnuInformar")->menu()->actions()) informar << a->text();
    EXPECT_EQ(informar, (QStringList{"&Prestación", "P&rescripción", "&Solicitar Autorización", "Prestación Diferida",
                                     "Rescatar Solicitud", "Prestación Pre-A&utorizada", "&Anulación",
                                     "Solicitar A&utorización Cirugía", "Informar Diagnóstico"}));
    const QList<QAction*> operaciones = m->Menu("mnuOperaciones")->menu()->actions();
    const int medicamentos = operaciones.indexOf(m->Menu("mnuMedicamentos"));
    EXPECT_EQ(operaciones.value(medicamentos + 1), m->Menu("mnuDatos"));
    EXPECT_EQ(m->Menu("mnuDatos")->text(), "Exportar &datos liquidación");

    Elegir(0);
    m->mnuInformarPrestacionSinFecha_Click();
    Ventana("frmInicio");
    EXPECT_EQ(Abiertas(), (QStringList{"frmOSGenerica", "frmInicio"}));
    m->mnuHistoriaClinica_Click();
    Cerradas();
    EXPECT_EQ(Abiertas(), QStringList{"frmHistoriaClinica"});
    EXPECT_EQ(General::OperacionActual, 0);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << "closed without a question";

    EXPECT_FALSE(m->Menu("mnuHistoriaClinica")->isEnabled());
    General::HabilitarMenuPrincipal(false, "");
    EXPECT_FALSE(m->ObraSocial->lstObraSocial->isEnabled());
    EXPECT_FALSE(m->ToolList->cmdMedicamento->isEnabled());
    General::HabilitarMenuPrincipal(true, "");
    EXPECT_TRUE(m->ObraSocial->lstObraSocial->isEnabled());
    EXPECT_TRUE(m->ToolList->cmdMedicamento->isEnabled());
    EXPECT_FALSE(m->Menu("mnuHistoriaClinica")->isEnabled());
}

// An off-line insurer chosen in the list, "Prestación" clicked on the side bar, the capture
// typed with two rows added in the dialog and stored.
TEST_P(OperacionesDb, OffLineCaptureFromTheSideBar)
{
    auto cn = Connect();
    ConfiguracionPrueba::GuardarObrasSociales(*cn, {obras[0]});
    Elegir(0);
    ASSERT_FALSE(General::ObraSocialOnLine);
    m->ToolList->cmdInformar[0]->click();
    auto* form = qobject_cast<frmOSGenerica*>(m->FormularioTrabajo("frmOSGenerica"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(General::OperacionActual, 4);
    EXPECT_EQ(m->windowTitle(), "Quorvan (Informar Prestación) - Salud Sur");
    QPointer<QWidget> marco = form->parentWidget();

    form->txtNombre->setText("Ana Pérez");
    form->txtNumeroAfiliado->setText("123456");
    dialogs.modalHandler = [](QDialog* d) {
        auto* dlg = static_cast<frmPrestacionGenerica*>(d);
        for (const char* codigo : {"420101", "420102"}) {
            dlg->txtPrestacion->setText(codigo);
            dlg->txtDiagnostico->setText("J01");
            dlg->cmdOK_Click();
        }
        dlg->cmdCancel_Click();
        return 0;
    };
    form->cmdAdd_Click();
    EXPECT_EQ(form->lvwPrestaciones->topLevelItemCount(), 2);
    if (GetParam() == DbEngine::SQLite) Captura(m.get(), "offline-capture.png");
    form->cmdAceptar_Click();
    Cerradas();
    EXPECT_TRUE(marco.isNull());
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('|').toStdString();

    DbResult h = cn->Query("SELECT * FROM TGenerica_svl1");
    ASSERT_EQ(h.RowCount(), 1);
    EXPECT_EQ(h["IdObraSocial"].toInt(), 41);
    EXPECT_EQ(h["CodigoTransaccion"].toString(), "2A");
    EXPECT_EQ(h["FormaIngreso"].toString(), "M");
    DbResult l = cn->Query("SELECT CodigoPrestacion FROM TGenerica_svl2 ORDER BY CodigoPrestacion");
    ASSERT_EQ(l.RowCount(), 2);
    EXPECT_EQ(l["CodigoPrestacion"].toInt(), 420101);
}

// The main window as the user finds it: the side bar of the terminal's operations, the insurer
// list with a selection and the transaction list.
TEST_P(OperacionesDb, MainWindowScreenshot)
{
    if (GetParam() != DbEngine::SQLite) GTEST_SKIP() << "one picture is enough";
    auto cn = Connect();
    DatosTerminal::Prestador(*cn, 1, "CLINICA DEL SOL", "30700000049", "00001234", true);
    DatosTerminal::ObraSocial(*cn, 1, "OSDE Binario", 11, 2);
    for (int i = 0; i < 4; ++i) {
        DatosTerminal::Logueada t{1001 + i, QString("2024031%1").arg(5 + i), "1031", "30700000049"};
        t.operacion = i == 3 ? "80" : "02";
        t.empresa = 11;
        DatosTerminal::Transaccion(*cn, t);
    }
    obras << ConfiguracionPrueba::ObraSocial{"Mutual Norte", 1, true, false, 13, false, false, 43}
          << ConfiguracionPrueba::ObraSocial{"Prevenir Salud", 3, false, false, 14, false, false, 44};
    ConfiguracionPrueba::ObrasSociales(obras);
    auto operaciones = std::make_shared<Coleccion<clsOperacion>>();
    for (const char* codigo : {"01A", "01B", "01C", "02A", "02B", "02C", "02D", "03A", "04A", "03F", "05F", "31"}) {
        auto o = std::make_shared<clsOperacion>();
        o->strIdentificacion = codigo;
        o->intUtiliza = 1;
        operaciones->Add(o);
    }
    for (const char* codigo : {"02L", "02S", "02E", "02I", "02Q", "02P", "2C", "2CB", "3A"}) {
        auto o = std::make_shared<clsOperacion>();
        o->strIdentificacion = codigo;
        operaciones->Add(o);
    }
    General::gConfig->setOperaciones(operaciones);
    m->ObraSocial->RefrescarLista();
    Elegir(1);
    m->mnuInicio_Click();
    m->MDIForm_Resize();
    EXPECT_EQ(m->ToolList->fraInternacion->height(), 0) << "no admission operation in use";
    Captura(m.get(), "main-window.png");
}

INSTANTIATE_TEST_SUITE_P(Engines, OperacionesDb, DbEngines(), DbEngineName);

}
