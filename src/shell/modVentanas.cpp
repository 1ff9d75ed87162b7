#include "shell/modVentanas.h"

#include "shell/frmConfigurar.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "shell/frmPassword.h"
#include "shell/frmToolList.h"

namespace modVentanas {

namespace {
std::function<void(const QString&, bool)> g_observador;

void avisar(const char* ventana, bool valor)
{
    if (g_observador) g_observador(QString::fromLatin1(ventana), valor);
}
}

void InicioClaveAcceso(bool arranque)
{
    avisar("frmPassword", arranque);
    frmPassword::Inicio(arranque);
}

void MostrarConfiguracion(bool bFirstRun)
{
    avisar("frmConfigurar", bFirstRun);
    frmConfigurar::Mostrar(bFirstRun);
}

void RefrescarListaObrasSociales()
{
    avisar("frmObraSocial", true);
    if (frmMain* m = frmMain::Instancia()) m->ObraSocial->RefrescarLista();
}

void HabilitarOperaciones()
{
    avisar("Habilitar_Operaciones", true);
    if (frmMain* m = frmMain::Instancia()) m->ToolList->Habilitar_Operaciones();
}

QString LineaObraSocialSeleccionada()
{
    const frmMain* m = frmMain::Instancia();
    return m ? m->ObraSocial->LineaSeleccionada() : QString();
}

void setObservador(std::function<void(const QString&, bool)> observador) { g_observador = std::move(observador); }

}
