#include "shell/modVentanas.h"

#include "shell/frmConfigurar.h"
#include "shell/frmPassword.h"

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

void RefrescarListaObrasSociales() { avisar("frmObraSocial", true); }
void HabilitarOperaciones() { avisar("Habilitar_Operaciones", true); }
QString LineaObraSocialSeleccionada() { return QString(); }

void setObservador(std::function<void(const QString&, bool)> observador) { g_observador = std::move(observador); }

}
