#include "shell/PedidoActualizacion.h"

#include "engine/CarpetaTerminal.h"
#include "engine/RegistroActualizacion.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace PedidoActualizacion {

namespace {
const QString kOrigen = QStringLiteral("Quorvan.frmMain");
const QString kTerminal = QStringLiteral("termupg");
}

bool TriggerEnTx(const QString& defaultDirTX, const QString& dirTX)
{
    return Vb::CBool(defaultDirTX) || Vb::Trim(dirTX).isEmpty();
}

void Grabar(const QString& directorioTrabajo, const QString& defaultDirTX, const QString& dirTX,
            const Platform::Version& v)
{
    if (Vb::Trim(directorioTrabajo).isEmpty())
        throw VbError(VbError::PathNotFound, kOrigen, QStringLiteral("No está configurado el directorio de trabajo"));
    const CarpetaTerminal terminal(directorioTrabajo, kTerminal);
    RegistroActualizacion::GrabarPedido(
        terminal, RegistroActualizacion::Pedido(RegistroActualizacion::kTipoMenu, v.major, v.minor, v.revision),
        kOrigen);
    // Something else than a file standing at the trigger's name is refused, naming it.
    QString motivo;
    const bool enTx = TriggerEnTx(defaultDirTX, dirTX);
    if (enTx ? terminal.AsegurarDisparador(true, &motivo) : terminal.CrearDisparadorEn(dirTX, &motivo)) return;
    if (!motivo.isEmpty()) throw VbError(VbError::PathFileAccess, kOrigen, motivo);
    throw VbError(VbError::PathNotFound, kOrigen,
                  QStringLiteral("No se encontró la ruta de acceso: ") +
                      (enTx ? CarpetaTerminal::CarpetaDisparo(terminal.CarpetaBase()) : dirTX));
}

}
