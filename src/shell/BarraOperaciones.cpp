#include "shell/BarraOperaciones.h"

#include "shell/ManejadorOperaciones.h"

namespace BarraOperaciones {

namespace {
using M = ManejadorOperaciones;
constexpr int kAltoBoton = 495;
constexpr int kPrimerTop = 250;
constexpr int kSeparacion = 60;
}

const QList<Boton>& Botones()
{
    static const QList<Boton> botones{
        {Verificar, 0, "Afiliado", "01A", &M::mnuVerficarAfiliado_Click, kAltoBoton},
        {Verificar, 1, "Afiliado / Prestación", "01B", &M::mnuVerificarPrestacion_Click, kAltoBoton},
        {Verificar, 2, "Verificación completa", "01C", &M::mnuVerificarPrestador_Click, kAltoBoton},
        {Informar, 0, "Prestación", "02A", &M::mnuInformarPrestacionSinFecha_Click, kAltoBoton},
        {Informar, 1, "Prescripción", "02B", &M::mnuInformarPrescripcion_Click, kAltoBoton},
        {Informar, 2, "Prestación Pre-Autoriz.", "02L", &M::mnuInformarPrestacionAutorizada_Click, kAltoBoton},
        {Informar, 3, "Solicitar Autorización", "02C", &M::mnuInformarAutorizar_Click, kAltoBoton},
        {Informar, 4, "Prestación Diferida", "02D", &M::mnuInformarPrestacionConFecha_Click, kAltoBoton},
        {Informar, 5, "Rescatar Solicitud", "03A", &M::mnuConsultarAutorizacion_Click, kAltoBoton},
        {Informar, 6, "Anulación", "04A", &M::mnuAnulacion_Click, kAltoBoton},
        {Informar, 7, "Solicitar Aut. Cirugía", "02S", &M::mnuAutorizarCirugia_Click, kAltoBoton},
        {Informar, 8, "Informar Diagnóstico", "02D", &M::mnuInformarDiagnostico_Click, kAltoBoton},
        {Internacion, 0, "Inf. Cirugía Ya Realizada", "02Q", &M::mnuInformarCirugia_Click, kAltoBoton},
        {Internacion, 1, "Admisión Internación", "02I", &M::mnuAdmisionInternacion_Click, kAltoBoton},
        {Internacion, 2, "Alta Internación", "02E", &M::mnuAltaInternacion_Click, kAltoBoton},
        {Internacion, 3, "Enviar Protocolo Quirúrgico", "02P", &M::mnuEnvioProtocolo_Click, 675},
        {Odontologia, 0, "Autorización Ortodoncia", "2C", &M::mnuAutorizacionOrtodoncia_Click, kAltoBoton},
        {Odontologia, 1, "Solicitud Prótesis", "2CB", &M::mnuAutorizacionSolicitudProtesis_Click, kAltoBoton},
        {Odontologia, 2, "Rescate Sol. Prótesis", "3A", &M::mnuRescateSolicitudProtesis_Click, kAltoBoton},
        {Cierre, 0, "Consulta cierre", "03F", &M::mnuConsultaCierre_Click, kAltoBoton},
        {Cierre, 1, "Cierre de Lote", "05F", &M::mnuCierreLote_Click, kAltoBoton},
        {Medicamento, 0, "Prescripción Medicamen.", "31", &M::mnuMedicamentos_Click, 615},
    };
    return botones;
}

const Boton* BuscarBoton(Grupo grupo, int indice)
{
    for (const Boton& b : Botones())
        if (b.grupo == grupo && b.indice == indice) return &b;
    return nullptr;
}

QList<std::pair<Grupo, int>> BotonesSoloEnLinea()
{
    return {{Verificar, 0}, {Verificar, 1}, {Verificar, 2}, {Informar, 4}, {Informar, 2}};
}

QList<bool> Visibilidad(const QList<std::pair<QString, qint16>>& operaciones, QList<bool> visibles)
{
    const QList<Boton>& botones = Botones();
    visibles.resize(botones.size(), true);
    for (const auto& [codigo, utiliza] : operaciones)
        for (int i = 0; i < botones.size(); ++i)
            if (codigo == QLatin1String(botones[i].codigo)) visibles[i] = utiliza == 1;
    return visibles;
}

int ApilarBotones(QList<Control>& botones)
{
    int total = 0;
    bool primero = true;
    for (Control& b : botones) {
        if (!b.visible) continue;
        if (primero) {
            b.top = kPrimerTop;
            total += kPrimerTop;
            primero = false;
        } else {
            b.top = total;
        }
        total += b.alto;
    }
    return total;
}

void Reordenar(Disposicion& d)
{
    d.botones.resize(Medicamento);
    d.marcos.resize(kGrupos);
    // Each frame stands below the ones above it, an empty one taking no room and no gap.
    const auto debajo = [&d](int grupo) {
        int top = 0;
        for (int i = 0; i < grupo; ++i) top += d.marcos[i].alto + (d.marcos[i].alto != 0 ? kSeparacion : 0);
        return top;
    };
    // An empty frame only loses its height; one with buttons is also shown.
    const auto ajustar = [](Control& marco, int alto) {
        if (alto != 0) marco.visible = true;
        marco.alto = alto;
    };
    for (int g = Verificar; g < Medicamento; ++g) {
        if (g == Informar)
            d.marcos[g].top = d.marcos[Verificar].alto + kSeparacion;
        else if (g > Informar)
            d.marcos[g].top = debajo(g);
        const int h = ApilarBotones(d.botones[g]);
        ajustar(d.marcos[g], h == 0 ? 0 : h + kSeparacion);
    }
    d.marcos[Medicamento].top = debajo(Medicamento);
    const int m = d.medicamento.visible ? d.medicamento.alto + kSeparacion : 0;
    ajustar(d.marcos[Medicamento], m == 0 ? 0 : m + kPrimerTop);
    d.alto = 0;
    for (const Control& marco : d.marcos) d.alto += marco.alto + kSeparacion;
}

}
