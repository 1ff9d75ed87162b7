#include "shell/modVentanas.h"

#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"

namespace modVentanas {

namespace {
std::function<void(const QString&, bool)> g_observador;

void avisar(const char* ventana, bool valor)
{
    if (g_observador) g_observador(QString::fromLatin1(ventana), valor);
}
}

void InicioClaveAcceso(bool arranque) { avisar("frmPassword", arranque); }
void MostrarConfiguracion(bool bFirstRun) { avisar("frmConfigurar", bFirstRun); }
void RefrescarListaObrasSociales()
{
    avisar("frmObraSocial", true);
    if (frmMain* m = frmMain::Instancia()) m->ObraSocial->RefrescarLista();
}

QString LineaObraSocialSeleccionada()
{
    const frmMain* m = frmMain::Instancia();
    return m ? m->ObraSocial->LineaSeleccionada() : QString();
}

void setObservador(std::function<void(const QString&, bool)> observador) { g_observador = std::move(observador); }

}
