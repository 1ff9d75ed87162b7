#include "shell/DisposicionPrincipal.h"

#include <algorithm>

namespace DisposicionPrincipal {

std::optional<Trabajo> TrabajoDeOperacion(qint16 operacion, int alto, int altoStatusBar)
{
    if (operacion == 0) return std::nullopt;
    if (operacion == 98) return Trabajo{QStringLiteral("frmExportarDatos"), kAltoObraSocial, 0};
    if (operacion == 99) return Trabajo{QStringLiteral("frmInicio"), alto - altoStatusBar - kMargenInicio, 0};
    if (operacion < 20 || operacion == 97) return Trabajo{QStringLiteral("frmEmuladorPOS"), kAltoEntrada, 0};
    if (operacion == 20 || operacion == 21) return Trabajo{QStringLiteral("frmCierres"), kAltoObraSocial, 0};
    if (operacion == 30) return Trabajo{QStringLiteral("frmVademecum"), kAltoObraSocial, 0};
    return std::nullopt;
}

QSize MarcoBarraLateral(const QSize& barra, int altoDisponible)
{
    if (barra.height() <= altoDisponible) return barra;
    return QSize(std::min(barra.width() + kAnchoDesplazamiento, kIzquierdaTrabajo), std::max(altoDisponible, 0));
}

int AltoArranque(int altoDisponible, int altoMarco)
{
    return std::max(kAltoMinimo, std::min(kAltoArranque, altoDisponible - altoMarco));
}

Acciones MDIForm_Resize(const Estado& e)
{
    Acciones a;
    if (e.minimizada) return a;
    if (e.alto < kAltoMinimo) {
        a.paso = Acciones::Paso::Alto;
        a.medida = kAltoMinimo;
        return a;
    }
    if (e.ancho < kAnchoMinimo) {
        a.paso = Acciones::Paso::Ancho;
        a.medida = kAnchoMinimo;
        return a;
    }
    a.paso = Acciones::Paso::Colocar;
    a.barra = QPoint(0, 0);
    a.obraSocial = QRect(e.ancho - e.anchoObraSocial - kMargenObraSocial, 0, e.anchoObraSocial, kAltoObraSocial);
    auto trabajo = TrabajoDeOperacion(e.operacion, e.alto, e.altoStatusBar);
    if (trabajo && e.abiertos.contains(trabajo->nombre)) {
        trabajo->ancho = e.ancho - e.anchoObraSocial - e.anchoBarra - kMargenTrabajo;
        a.trabajo = trabajo;
    }
    return a;
}

}
