// The main window's operation entries: the menu entries made from the operation table, their
// handlers, and the side bar and insurer list that start and address the operations.
#include "shell/frmMain.h"
#include "config/GeneralConfiguracion.h"

#include "config/GeneralObrasSociales.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmCierres.h"
#include "entry/frmEmuladorPOS.h"
#include "entry/frmHistoriaClinica.h"
#include "platform/VbError.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "prescription/EstadoVademecum.h"
#include "platform/Vb.h"
#include "prescription/frmVademecum.h"
#include "reports/frmExportarDatos.h"
#include "shell/BarraOperaciones.h"
#include "shell/DisposicionPrincipal.h"
#include "shell/GeneralPrincipal.h"
#include "shell/OperacionesMenu.h"
#include "shell/frmObraSocial.h"
#include "shell/frmToolList.h"
#include "txlog/frmOSGenerica.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QApplication>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>

using OperacionesMenu::Clase;
using OperacionesMenu::Dental;
using OperacionesMenu::Operacion;

namespace {

// The side bar's scroll bar, as wide as the gap between the bar and the working windows allows.
class EstiloBarraFina : public QProxyStyle {
public:
    explicit EstiloBarraFina(QObject* duena) : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
        setParent(duena);
    }
    int pixelMetric(PixelMetric metrica, const QStyleOption* opcion, const QWidget* widget) const override
    {
        if (metrica == PM_ScrollBarExtent) return Twips::APixeles(DisposicionPrincipal::kAnchoDesplazamiento);
        return QProxyStyle::pixelMetric(metrica, opcion, widget);
    }
};

// The action that follows `ancla` in a menu or the menu bar; null when it is the last one.
QAction* Siguiente(const QWidget* contenedor, const QAction* ancla)
{
    const QList<QAction*> acciones = contenedor->actions();
    const int i = acciones.indexOf(const_cast<QAction*>(ancla));
    return i >= 0 && i + 1 < acciones.size() ? acciones[i + 1] : nullptr;
}

void Mover(QWidget* contenedor, QAction* accion, QAction* antes)
{
    if (!antes) return;
    contenedor->removeAction(accion);
    contenedor->insertAction(antes, accion);
}

}

// ---- Side bar and insurer list --------------------------------------------------------------

void frmMain::CrearVentanasLaterales()
{
    // They stand in the working area beside the working windows, which are placed clear of them;
    // as plain children they cannot be closed or covered by a cascade.
    BarraLateral = new QScrollArea(MDIArea->viewport());
    BarraLateral->setObjectName(QStringLiteral("BarraLateral"));
    BarraLateral->setFrameShape(QFrame::NoFrame);
    BarraLateral->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BarraLateral->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    BarraLateral->setAutoFillBackground(true);
    BarraLateral->verticalScrollBar()->setStyle(new EstiloBarraFina(BarraLateral));
    ToolList = new frmToolList;
    ToolList->setAutoFillBackground(true);
    // The bar keeps the height its layout gives it; the area only shows it.
    BarraLateral->setWidgetResizable(false);
    BarraLateral->setWidget(ToolList);
    ToolList->installEventFilter(this);
    ToolList->Principal = this;
    for (const BarraOperaciones::Boton& b : BarraOperaciones::Botones()) {
        QPushButton* boton = ToolList->BotonDe(b.grupo, b.indice);
        BotonesLaterales[boton->objectName()].append(boton);
    }
    ObraSocial = new frmObraSocial(MDIArea->viewport());
    ObraSocial->setAutoFillBackground(true);
    ObraSocial->Principal = this;
    ObraSocial->resize(Twips::APixeles(frmObraSocial::kAncho), Twips::APixeles(DisposicionPrincipal::kAltoObraSocial));
}

void frmMain::ActualizarTituloPrincipal() { General::ActualizarTituloPrincipal(); }

void frmMain::HabilitarSoloEnLinea(bool habilitar)
{
    ToolList->HabilitarSoloEnLinea(habilitar);
    for (const Operacion& op : OperacionesMenu::Tabla())
        if (op.soloEnLinea) Menu(QString::fromLatin1(op.nombre))->setEnabled(habilitar);
}

// ---- Menu entries ---------------------------------------------------------------------------

void frmMain::CrearMenusOperaciones()
{
    QMenu* operaciones = Menu(QStringLiteral("mnuOperaciones"))->menu();
    if (!Menu(QStringLiteral("mnuDatos"))) {
        QAction* antes = Siguiente(operaciones, Menu(QStringLiteral("mnuMedicamentos")));
        QMenu* datos = Submenu(operaciones, "mnuDatos", QStringLiteral("Exportar &datos liquidación"));
        Mover(operaciones, datos->menuAction(), antes);
    }
    for (const Operacion& op : OperacionesMenu::Tabla()) {
        QAction* a = Menu(QString::fromLatin1(op.nombre));
        if (!a && op.menu) {
            a = Entrada(Menu(QString::fromLatin1(op.menu))->menu(), op.nombre, QString::fromUtf8(op.caption));
        } else if (!a) {
            QAction* antes = Siguiente(menuBar(), Menu(QStringLiteral("mnuOperaciones")));
            a = Entrada(nullptr, op.nombre, QString::fromUtf8(op.caption));
            Mover(menuBar(), a, antes);
        }
        connect(a, &QAction::triggered, this, op.manejador, Qt::UniqueConnection);
    }
    // The clinical history is offered once it can be used from the menu.
    Menu(QStringLiteral("mnuHistoriaClinica"))->setEnabled(false);
}

void frmMain::mnuVerficarAfiliado_Click() { Operar(&frmMain::mnuVerficarAfiliado_Click); }
void frmMain::mnuVerificarPrestacion_Click() { Operar(&frmMain::mnuVerificarPrestacion_Click); }
void frmMain::mnuVerificarPrestador_Click() { Operar(&frmMain::mnuVerificarPrestador_Click); }
void frmMain::mnuInformarPrestacionSinFecha_Click() { Operar(&frmMain::mnuInformarPrestacionSinFecha_Click); }
void frmMain::mnuInformarPrescripcion_Click() { Operar(&frmMain::mnuInformarPrescripcion_Click); }
void frmMain::mnuInformarPrestacionAutorizada_Click() { Operar(&frmMain::mnuInformarPrestacionAutorizada_Click); }
void frmMain::mnuInformarAutorizar_Click() { Operar(&frmMain::mnuInformarAutorizar_Click); }
void frmMain::mnuInformarPrestacionConFecha_Click() { Operar(&frmMain::mnuInformarPrestacionConFecha_Click); }
void frmMain::mnuConsultarAutorizacion_Click() { Operar(&frmMain::mnuConsultarAutorizacion_Click); }
void frmMain::mnuAnulacion_Click() { Operar(&frmMain::mnuAnulacion_Click); }
void frmMain::mnuAutorizarCirugia_Click() { Operar(&frmMain::mnuAutorizarCirugia_Click); }
void frmMain::mnuInformarDiagnostico_Click() { Operar(&frmMain::mnuInformarDiagnostico_Click); }
void frmMain::mnuInformarCirugia_Click() { Operar(&frmMain::mnuInformarCirugia_Click); }
void frmMain::mnuAdmisionInternacion_Click() { Operar(&frmMain::mnuAdmisionInternacion_Click); }
void frmMain::mnuAltaInternacion_Click() { Operar(&frmMain::mnuAltaInternacion_Click); }
void frmMain::mnuEnvioProtocolo_Click() { Operar(&frmMain::mnuEnvioProtocolo_Click); }
void frmMain::mnuAutorizacionOrtodoncia_Click() { Operar(&frmMain::mnuAutorizacionOrtodoncia_Click); }
void frmMain::mnuAutorizacionSolicitudProtesis_Click() { Operar(&frmMain::mnuAutorizacionSolicitudProtesis_Click); }
void frmMain::mnuRescateSolicitudProtesis_Click() { Operar(&frmMain::mnuRescateSolicitudProtesis_Click); }
void frmMain::mnuConsultaCierre_Click() { Operar(&frmMain::mnuConsultaCierre_Click); }
void frmMain::mnuCierreLote_Click() { Operar(&frmMain::mnuCierreLote_Click); }
void frmMain::mnuMedicamentos_Click() { Operar(&frmMain::mnuMedicamentos_Click); }
void frmMain::mnuOsde_Click() { Operar(&frmMain::mnuOsde_Click); }
void frmMain::mnuSimeco_Click() { Operar(&frmMain::mnuSimeco_Click); }
void frmMain::mnuServesalud_Click() { Operar(&frmMain::mnuServesalud_Click); }
void frmMain::mnuHope_Click() { Operar(&frmMain::mnuHope_Click); }
void frmMain::mnuHistoriaClinica_Click() { Operar(&frmMain::mnuHistoriaClinica_Click); }

void frmMain::Operar(void (frmMain::*manejador)())
{
    const Operacion* op = OperacionesMenu::DeManejador(manejador);
    if (!op) return;
    try {
        EjecutarOperacion(*op);
    } catch (const std::exception& e) {
        const QString prefijo = op->codigo == 4 ? QStringLiteral("Se produjo el siguiente error: ") : QString();
        Dialogs::MsgBox(prefijo + DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmMain::EjecutarOperacion(const Operacion& op)
{
    using namespace General;
    EstadoEmuladorPOS& entrada = EstadoEmuladorPOS::Instancia();
    switch (op.clase) {
    case Clase::Inicio:
        mnuInicio_Click();
        return;
    case Clase::Exportacion:
        DescargarFormularios(QStringLiteral("frmExportarDatos"));
        OperacionActual = op.codigo;
        AbrirExportacion(op.formato);
        return;
    case Clase::HistoriaClinica:
        OperacionActual = op.codigo;
        DescargarFormularios(QString());
        AbrirHistoriaClinica();
        return;
    case Clase::Transaccion:
    case Clase::Cierre:
    case Clase::Medicamento:
        break;
    }

    // The card number of an open entry form goes to the prescription, blanks and all; without
    // one it is empty.
    QString tarjeta;
    if (op.clase == Clase::Medicamento)
        if (QWidget* e = FormularioTrabajo(QStringLiteral("frmEmuladorPOS")))
            if (const auto* t = e->findChild<QLineEdit*>(QStringLiteral("txtTarjeta")))
                if (!Vb::Trim(t->text()).isEmpty()) tarjeta = t->text();
    // An open prescription is shown again as it was.
    DescargarFormularios(op.clase == Clase::Medicamento ? QStringLiteral("frmVademecum") : QString());
    if (ObraSocial->LineaSeleccionada().isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha."),
                        Vbc::vbCritical, Dialogs::kAppTitle);
        return;
    }
    const QString titulo = QString::fromUtf8(op.titulo);
    if (op.clase == Clase::Medicamento) {
        // This caption has no closing parenthesis.
        setWindowTitle(Dialogs::kAppTitle + QStringLiteral(" (") + titulo + QStringLiteral(" - ") +
                       entrada.NombreObraSocial);
        OperacionActual = op.codigo;
        EstadoVademecum::Instancia().TarjetaAfiliado = tarjeta;
        AbrirVademecum();
        return;
    }
    OperacionActual = op.codigo;
    if (op.codigo != 12)
        setWindowTitle(Dialogs::kAppTitle + QStringLiteral(" (") + titulo + QStringLiteral(") - ") +
                       entrada.NombreObraSocial);
    if (op.clase == Clase::Cierre) {
        AbrirCierres();
        return;
    }

    // Insurers added by hand are keyed by name alone: look the selection up by name and activity.
    const auto obra = gConfig ? BuscarObraSocial(gConfig->DefaultOS(), gConfig->DefaultActividad()) : nullptr;
    if (!obra) {
        Dialogs::MsgBox(QStringLiteral("No se encontró la Obra Social seleccionada en la configuración."),
                        Vbc::vbCritical, Dialogs::kAppTitle);
        return;
    }
    // The discharge's caption ends with the entry form's own caption; the form is loaded for
    // this operation first, so its discharge list is the in-patient one.
    QPointer<frmEmuladorPOS> forma;
    if (op.codigo == 12 && obra->OnLine) forma = AbrirEmuladorPOS();
    if (op.codigo == 12)
        setWindowTitle(Dialogs::kAppTitle + QStringLiteral(" (") + titulo + QStringLiteral(") - ") +
                       (forma ? forma->windowTitle() : titulo));
    if (!obra->OnLine) {
        AbrirCapturaFueraDeLinea();
        return;
    }
    if (op.carga == OperacionesMenu::Carga::B && !forma) forma = AbrirEmuladorPOS();
    SubModoOperacion = op.modo;
    switch (op.dental) {
    case Dental::Falso: entrada.DatosDentales = false; break;
    case Dental::Verdadero: entrada.DatosDentales = true; break;
    case Dental::TipoAntes: entrada.DatosDentales = entrada.TipoPrestador == 1; break;
    case Dental::TipoDespues: // read once the entry form has applied its provider again
    case Dental::NoCambia: break;
    }
    if (!forma) forma = AbrirEmuladorPOS();
    if (!forma) return;
    forma->LimpiarPrestador();
    forma->cboNombre_Click();
    if (op.dental == Dental::TipoDespues) {
        entrada.DatosDentales = entrada.TipoPrestador == 1;
        // The layout set the line-entry flags before the dental choice: they follow it.
        HabilitarPiezaDental = HabilitarCaraDental = entrada.DatosDentales;
    }
    if (op.codigo == 9) forma->txtAUWREF->setText(entrada.TipoPrestador == 1 ? QStringLiteral("OD") : QStringLiteral("98"));
    if (op.codigo == 19) forma->frmProtocolo->setTitle(QString());
    if (QMdiSubWindow* s = Subventana(forma->objectName())) {
        s->show();
        MDIArea->setActiveSubWindow(s);
    }
    if (op.codigo == 18) {
        forma->txtAUWREF->setText(QStringLiteral("98"));
        forma->lblAUNREF->setText(QStringLiteral("N° Trans./Autorización:"));
    }
    if (!forma->cboNombre->currentText().isEmpty())
        (op.codigo == 9 ? forma->txtAUWREF : forma->txtTarjeta)->setFocus();
}

frmEmuladorPOS* frmMain::AbrirEmuladorPOS()
{
    auto* forma = new frmEmuladorPOS;
    QMdiSubWindow* s = MDIArea->addSubWindow(forma);
    s->setAttribute(Qt::WA_DeleteOnClose);
    // Beside the side bar, at the top; the main window's layout gives its size.
    s->move(Twips::APixeles(frmToolList::kAncho + 30), 0);
    s->resize(forma->size());
    QPointer<frmEmuladorPOS> viva(forma);
    forma->Form_Load();
    return viva;
}

void frmMain::AbrirCapturaFueraDeLinea()
{
    auto* captura = new frmOSGenerica;
    QMdiSubWindow* s = MDIArea->addSubWindow(captura);
    s->setAttribute(Qt::WA_DeleteOnClose);
    s->setWindowTitle(captura->windowTitle());
    captura->LineaObraSocial = [this] { return ObraSocial->LineaSeleccionada(); };
    captura->MDIForm_Resize = [this] { MDIForm_Resize(); };
    captura->Form_Load();
    s->show();
    captura->setFocus();
}

void frmMain::AbrirCierres()
{
    auto* cierres = new frmCierres;
    QMdiSubWindow* s = MDIArea->addSubWindow(cierres);
    s->setAttribute(Qt::WA_DeleteOnClose);
    s->setWindowTitle(cierres->windowTitle());
    cierres->MDIForm_Resize = [this] { MDIForm_Resize(); };
    cierres->Form_Load();
    s->show();
    cierres->cboNombre->setFocus();
}

void frmMain::AbrirVademecum()
{
    if (QMdiSubWindow* s = Subventana(QStringLiteral("frmVademecum"))) {
        s->show();
        MDIArea->setActiveSubWindow(s);
        return;
    }
    auto* vademecum = new frmVademecum;
    QMdiSubWindow* s = MDIArea->addSubWindow(vademecum);
    s->setAttribute(Qt::WA_DeleteOnClose);
    s->setWindowTitle(vademecum->windowTitle());
    vademecum->MDIForm_Resize = [this] { MDIForm_Resize(); };
    vademecum->Form_Load();
    s->show();
}

void frmMain::AbrirHistoriaClinica()
{
    auto* historia = new frmHistoriaClinica;
    QMdiSubWindow* s = MDIArea->addSubWindow(historia);
    s->setAttribute(Qt::WA_DeleteOnClose);
    s->setWindowTitle(historia->windowTitle());
    historia->Form_Load();
    s->show();
}

void frmMain::AbrirExportacion(qint16 formato)
{
    // One window: a second entry keeps its fields and changes only its layout.
    auto* exportar = qobject_cast<frmExportarDatos*>(FormularioTrabajo(QStringLiteral("frmExportarDatos")));
    if (!exportar) {
        exportar = new frmExportarDatos;
        QMdiSubWindow* s = MDIArea->addSubWindow(exportar);
        s->setAttribute(Qt::WA_DeleteOnClose);
        exportar->CodigoEmpresa = [this] { return ObraSocial->lblEmpresa->text(); };
        exportar->MDIForm_Resize = [this] { MDIForm_Resize(); };
        exportar->Form_Load();
    }
    exportar->Inicio(formato);
}
