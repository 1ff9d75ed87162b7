#include "shell/GeometriaPrincipal.h"

namespace GeometriaPrincipal {

namespace {
constexpr int kAltoEntrada = 9800;
constexpr int kAltoTrabajo = 7200;
constexpr int kInicioMenosAlto = 1000;
constexpr int kTrabajoMenosAncho = 200;
}

Ajuste AjusteMinimo(int alto, int ancho)
{
    if (alto < kAltoMinimo) return Ajuste::Alto;
    if (ancho < kAnchoMinimo) return Ajuste::Ancho;
    return Ajuste::Ninguno;
}

std::optional<FormularioTrabajo> TamanoTrabajo(qint16 operacion, int alto, int ancho, int altoStatus,
                                               int anchoObrasSociales, int anchoBarra)
{
    const int w = ancho - anchoObrasSociales - anchoBarra - kTrabajoMenosAncho;
    if (operacion == 0) return std::nullopt;
    if (operacion == 98) return FormularioTrabajo{QStringLiteral("frmExportarDatos"), QSize(w, kAltoTrabajo)};
    if (operacion == 99)
        return FormularioTrabajo{QStringLiteral("frmInicio"), QSize(w, alto - altoStatus - kInicioMenosAlto)};
    if (operacion < 20 || operacion == 97)
        return FormularioTrabajo{QStringLiteral("frmEmuladorPOS"), QSize(w, kAltoEntrada)};
    if (operacion == 20 || operacion == 21)
        return FormularioTrabajo{QStringLiteral("frmCierres"), QSize(w, kAltoTrabajo)};
    if (operacion == 30) return FormularioTrabajo{QStringLiteral("frmVademecum"), QSize(w, kAltoTrabajo)};
    return std::nullopt;
}

}
