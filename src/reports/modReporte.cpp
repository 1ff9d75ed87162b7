#include "reports/modReporte.h"

#include "engine/CarpetaTerminal.h"
#include "engine/EsperaCliente.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/RelojDeArena.h"
#include "platform/VbError.h"


namespace modReporte {

const QString DirectorioReporte = QStringLiteral("termrep");

namespace {
Limites g_limites;
const QString kControl = QStringLiteral("_svl.0");
const QString kOrigen = QStringLiteral("VerificarComunicacion");

}

const Limites& LimitesActuales() { return g_limites; }
void setLimites(const Limites& limites) { g_limites = limites; }

bool VerificarComunicacion(const QString& carpeta, EsperaCliente* espera)
{
    const CarpetaTerminal terminal(General::DirectorioTrabajo, carpeta);
    bool resultado = false;
    {
        RelojDeArena reloj;
        try {
            terminal.GrabarArchivo(kControl, QByteArrayLiteral("V0000000"), kOrigen);
            terminal.BorrarEstado();
            // The trigger is a signal only: a tx that cannot be made leaves the client without
            // it, and the wait tells; a trigger's name that something else holds is told now.
            CarpetaTerminal::AsegurarCarpetaDisparo(terminal.CarpetaBase());
            QString motivo;
            if (!terminal.AsegurarDisparador(false, &motivo) && !motivo.isEmpty())
                throw VbError(VbError::PathFileAccess, kOrigen, motivo);

            EsperaCliente propia;
            EsperaCliente& e = espera ? *espera : propia;
            LimitesEspera limites;
            limites.TiempoMs = g_limites.EnlaceMs;
            limites.Extensiones = 0;
            limites.SeguridadDesdeElInicio = false;
            e.Iniciar(terminal.ArchivoEstado(), terminal.ArchivoDisparador(), limites);
            e.Esperar();
            resultado = e.Respondida();
        } catch (const VbError& ex) {
            Dialogs::MsgBox(ex.description, Vbc::vbCritical);
            resultado = false;
        }
    }
    if (!resultado && !carpeta.isEmpty()) {
        terminal.BorrarDeSubida(kControl);
        // A trigger nobody took is taken back, so the client cannot carry the test later.
        terminal.BorrarDisparador();
    }
    return resultado;
}

QFont FuenteReporte(const QString& familia)
{
    QFont f(familia);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

}
