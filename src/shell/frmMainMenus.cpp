// The main window's menus that choose no operation: reports, printer and configuration, the
// maintenance entries, help, the maker's pages, the about box and the update request.
#include "shell/frmMain.h"
#include "config/GeneralConfiguracion.h"

#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Navegador.h"
#include "platform/Paths.h"
#include "platform/VbError.h"
#include "reports/frmReporte.h"
#include "reports/frmValoraciones.h"
#include "shell/frmImpresoras.h"
#include "shell/frmPassword.h"
#include "shell/GeneralPrincipal.h"
#include "shell/PaginasAyuda.h"
#include "shell/PedidoActualizacion.h"
#include "shell/ProgramasExternos.h"
#include "shell/frmAbout.h"
#include "shell/modVentanas.h"

#include <QAction>
#include <QFileInfo>

namespace {

// The hourglass on the main window for as long as it lives, whatever way the handler leaves.
class PunteroEspera {
public:
    explicit PunteroEspera(QWidget* w) : m_w(w) { m_w->setCursor(Qt::WaitCursor); }
    ~PunteroEspera() { m_w->unsetCursor(); }
    PunteroEspera(const PunteroEspera&) = delete;
    PunteroEspera& operator=(const PunteroEspera&) = delete;

private:
    QWidget* m_w;
};

}

void frmMain::ConectarMenus()
{
    const struct {
        const char* nombre;
        void (frmMain::*manejador)();
    } entradas[] = {
        {"mnuValoraciones", &frmMain::mnuValoraciones_Click},
        {"mnuReportes", &frmMain::mnuReportes_Click},
        {"mnuImpresora", &frmMain::mnuImpresora_Click},
        {"mnuConfigurar", &frmMain::mnuConfigurar_Click},
        {"mnuActualizacion", &frmMain::mnuActualizacion_Click},
        {"mnuTemasAyuda", &frmMain::mnuTemasAyuda_Click},
        {"mnuAyudaQuorvan", &frmMain::mnuAyudaQuorvan_Click},
        {"mnuAyudaCierres", &frmMain::mnuAyudaCierres_Click},
        {"mnuAyudaReclamo", &frmMain::mnuAyudaReclamo_Click},
        {"mnuChat", &frmMain::mnuChat_Click},
        {"mnuContactos", &frmMain::mnuContactos_Click},
        {"mnuActualizarPrestadores", &frmMain::mnuActualizarPrestadores_Click},
        {"mnuInstalarFuente", &frmMain::mnuInstalarFuente_Click},
        {"mnuReiniiarDruvex", &frmMain::mnuReiniiarDruvex_Click},
        {"mnuDescargas", &frmMain::mnuDescargas_Click},
        {"mnuAcerca", &frmMain::mnuAcerca_Click},
    };
    for (const auto& e : entradas)
        if (QAction* a = Menu(QString::fromLatin1(e.nombre))) connect(a, &QAction::triggered, this, e.manejador);
}

void frmMain::mnuReportes_Click()
{
    try {
        General::DescargarFormularios(QString());
        frmReporte::Mostrar(this);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

// The valuation window is modal and leaves the working windows as they are.
void frmMain::mnuValoraciones_Click()
{
    try {
        frmValoraciones::Mostrar(this);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

// The printer window is not modal: the main window stays usable behind it.
void frmMain::mnuImpresora_Click()
{
    try {
        frmImpresoras::Mostrar();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

// The access-code dialog in its ordinary form (not the start-up one); the right code opens the
// configuration window.
void frmMain::mnuConfigurar_Click()
{
    try {
        frmPassword::Inicio(false);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

void frmMain::mnuInstalarFuente_Click() {}

void frmMain::mnuAcerca_Click()
{
    try {
        frmAbout acerca(this);
        acerca.Form_Load();
        Dialogs::ExecModal(&acerca);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

void frmMain::mnuReiniiarDruvex_Click() { ProgramasExternos::ReiniciarClienteComunicaciones(); }

void frmMain::mnuActualizarPrestadores_Click()
{
    try {
        if (General::LicenciaSeleccionada.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para hacer la actualización"),
                            Vbc::vbInformation);
            return;
        }
        bool actualizado = false;
        {
            PunteroEspera espera(this);
            // Providers and both insurer lists, for the account in use.
            actualizado = General::ActualizarTablas(false, true, false, false, false, false, true, true, false, false,
                                                    false, false, General::LicenciaSeleccionada);
            // The lists read before the update would hide the new rows, and a later store from
            // them would delete those rows.
            if (actualizado) {
                General::RecargarListasConfiguracion();
                modVentanas::RefrescarListaObrasSociales();
            }
        }
        if (actualizado)
            Dialogs::MsgBox(QStringLiteral("Se realizó el proceso de actualización"), Vbc::vbInformation,
                            QStringLiteral("Actualización"));
        else
            Dialogs::MsgBox(QStringLiteral("NO se realizó el proceso de actualización"), Vbc::vbCritical,
                            QStringLiteral("Actualización"));
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

void frmMain::mnuTemasAyuda_Click()
{
    const QString archivo = PaginasAyuda::ArchivoAyuda(Paths::ProgramDir());
    // No help file is shipped: without one the entry does nothing.
    if (!QFileInfo::exists(archivo)) return;
    if (!Navegador::Abrir(QUrl::fromLocalFile(archivo)))
        Dialogs::MsgBox(QStringLiteral("No se pudo abrir el archivo de ayuda ") + archivo, Vbc::vbInformation);
}

void frmMain::AbrirPagina(const QString& entrada)
{
    Navegador::Abrir(PaginasAyuda::Direccion(entrada, Platform::ProgramVersion()));
}

void frmMain::mnuAyudaQuorvan_Click() { AbrirPagina(QStringLiteral("mnuAyudaQuorvan")); }
void frmMain::mnuAyudaCierres_Click() { AbrirPagina(QStringLiteral("mnuAyudaCierres")); }
void frmMain::mnuAyudaReclamo_Click() { AbrirPagina(QStringLiteral("mnuAyudaReclamo")); }
void frmMain::mnuChat_Click() { AbrirPagina(QStringLiteral("mnuChat")); }
void frmMain::mnuContactos_Click() { AbrirPagina(QStringLiteral("mnuContactos")); }
void frmMain::mnuDescargas_Click() { AbrirPagina(QStringLiteral("mnuDescargas")); }

void frmMain::mnuActualizacion_Click()
{
    try {
        const auto& cfg = General::gConfig;
        PedidoActualizacion::Grabar(General::DirectorioTrabajo, cfg ? cfg->DefaultDirTX() : QString(),
                                    cfg ? cfg->DirTX() : QString(), Platform::ProgramVersion());
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}
