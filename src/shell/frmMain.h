#pragma once
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "shell/ManejadorOperaciones.h"
#include "shell/VentanaPrincipalObraSocial.h"

class QAbstractButton;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QScrollArea;
class QStatusBar;
class frmEmuladorPOS;
class frmInicio;
class frmObraSocial;
class frmToolList;
namespace OperacionesMenu {
struct Operacion;
}

// The main window: the menu bar, the working windows as MDI children, the status bar. Its load
// handler is the program's start-up; its close goes through one question and one way out.
class frmMain : public QMainWindow, public ManejadorOperaciones, public VentanaPrincipalObraSocial {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one main window of the program (null before it is made and after it is gone).
    static frmMain* Instancia();

    QMdiArea* MDIArea;
    QStatusBar* StatusBar1;
    // The status bar's first panel.
    QLabel* Panel1;
    // The side bar's button groups by name ("cmdVerificar", ..., "cmdMedicamento"), indexed from 0.
    QHash<QString, QList<QPointer<QAbstractButton>>> BotonesLaterales;

    // A menu entry by its name ("mnuInicio", "mnuVerificar", ...); null when there is none.
    QAction* Menu(const QString& nombre) const;

    // The command line the program was started with (the arguments Qt leaves, joined by blanks).
    QString ArgumentosPrograma;

    void MDIForm_Load();
    // Cancel = 1 keeps the program running.
    void MDIForm_QueryUnload(int& Cancel, int UnloadMode);
    void MDIForm_Unload(int& Cancel);
    void MDIForm_Resize();
    void mnuInicio_Click();
    void mnuSalir_Click();

    // The other menus (frmMainMenus.cpp).
    void mnuReportes_Click();
    void mnuValoraciones_Click();
    void mnuImpresora_Click();
    void mnuConfigurar_Click();
    void mnuTemasAyuda_Click();
    void mnuAyudaQuorvan_Click();
    void mnuAyudaCierres_Click();
    void mnuAyudaReclamo_Click();
    void mnuChat_Click();
    void mnuContactos_Click();
    void mnuActualizarPrestadores_Click();
    void mnuInstalarFuente_Click();
    void mnuReiniiarDruvex_Click();
    void mnuDescargas_Click();
    void mnuAcerca_Click();
    void mnuActualizacion_Click();

    // The open working window of that name, or null.
    QWidget* FormularioTrabajo(const QString& nombre) const;
    // The working window in front, or null.
    QWidget* FormularioActivo() const;
    void DescargarFormulario(const QString& nombre) override;

    // The side bar at the left and the insurer list at the right of the working windows.
    frmToolList* ToolList = nullptr;
    frmObraSocial* ObraSocial = nullptr;
    // Holds the side bar, which scrolls where the working area is shorter than its buttons.
    QScrollArea* BarraLateral = nullptr;
    void ActualizarTituloPrincipal() override;
    void HabilitarSoloEnLinea(bool habilitar) override;

    // The operation entries (frmMainOperaciones.cpp); the side bar calls the first 22.
    void mnuVerficarAfiliado_Click() override;
    void mnuVerificarPrestacion_Click() override;
    void mnuVerificarPrestador_Click() override;
    void mnuInformarPrestacionSinFecha_Click() override;
    void mnuInformarPrescripcion_Click() override;
    void mnuInformarPrestacionAutorizada_Click() override;
    void mnuInformarAutorizar_Click() override;
    void mnuInformarPrestacionConFecha_Click() override;
    void mnuConsultarAutorizacion_Click() override;
    void mnuAnulacion_Click() override;
    void mnuAutorizarCirugia_Click() override;
    void mnuInformarDiagnostico_Click() override;
    void mnuInformarCirugia_Click() override;
    void mnuAdmisionInternacion_Click() override;
    void mnuAltaInternacion_Click() override;
    void mnuEnvioProtocolo_Click() override;
    void mnuAutorizacionOrtodoncia_Click() override;
    void mnuAutorizacionSolicitudProtesis_Click() override;
    void mnuRescateSolicitudProtesis_Click() override;
    void mnuConsultaCierre_Click() override;
    void mnuCierreLote_Click() override;
    void mnuMedicamentos_Click() override;
    void mnuOsde_Click();
    void mnuSimeco_Click();
    void mnuServesalud_Click();
    void mnuHope_Click();
    void mnuHistoriaClinica_Click();

    // A new entry form in the working area, loaded for the current operation and not yet shown;
    // the entry form reopens itself through it after an approved or off-line transaction.
    frmEmuladorPOS* AbrirEmuladorPOS();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CrearMenus();
    void ConectarMenus();
    void AbrirPagina(const QString& entrada);
    QAction* Entrada(QMenu* menu, const char* nombre, const QString& texto);
    QMenu* Submenu(QMenu* menu, const char* nombre, const QString& texto);
    QMdiSubWindow* Subventana(const QString& nombre) const;
    void TerminarPrograma();
    // The start-up size: the designed height where the screen's available area allows it.
    void AjustarAlArranque();
    void AjustarBarraLateral();
    // frmMainOperaciones.cpp
    void CrearVentanasLaterales();
    void CrearMenusOperaciones();
    void Operar(void (frmMain::*manejador)());
    void EjecutarOperacion(const OperacionesMenu::Operacion& op);
    void AbrirCapturaFueraDeLinea();
    void AbrirHistoriaClinica();
    void AbrirCierres();
    void AbrirVademecum();
    void AbrirExportacion(qint16 formato);

    QHash<QString, QAction*> m_Menus;
    bool m_Terminado = false;
};
