#include "shell/OperacionesMenu.h"

#include "shell/frmMain.h"

namespace OperacionesMenu {

namespace {
using M = frmMain;
using C = Clase;
using D = Dental;
using L = Carga;
constexpr const char* kBarra = nullptr;
}

const QList<Operacion>& Tabla()
{
    // clang-format off
    static const QList<Operacion> tabla{
        {"mnuInicio", kBarra, "&Inicio", 99, &M::mnuInicio_Click, nullptr, C::Inicio, 0, D::NoCambia, L::Ninguna, 0, false},
        {"mnuVerficarAfiliado", "mnuVerificar", "&Afiliado", 1, &M::mnuVerficarAfiliado_Click,
         "Verificar Afiliado", C::Transaccion, 2, D::Falso, L::A, 0, true},
        {"mnuVerificarPrestacion", "mnuVerificar", "Afiliado/&Prestación", 2, &M::mnuVerificarPrestacion_Click,
         "Verificar Afiliado/Prestación", C::Transaccion, 2, D::TipoAntes, L::A, 0, true},
        {"mnuVerificarPrestador", "mnuVerificar", "Verificación Completa", 3, &M::mnuVerificarPrestador_Click,
         "Verificación Completa", C::Transaccion, 2, D::TipoAntes, L::A, 0, true},
        {"mnuInformarPrestacionSinFecha", "mnuInformar", "&Prestación", 4, &M::mnuInformarPrestacionSinFecha_Click,
         "Informar Prestación", C::Transaccion, 1, D::TipoDespues, L::B, 0, false},
        {"mnuInformarPrescripcion", "mnuInformar", "P&rescripción", 5, &M::mnuInformarPrescripcion_Click,
         "Informar Prescripción", C::Transaccion, 0, D::Falso, L::B, 0, false},
        {"mnuInformarAutorizar", "mnuInformar", "&Solicitar Autorización", 6, &M::mnuInformarAutorizar_Click,
         "Solicitar Autorización", C::Transaccion, 0, D::Falso, L::A, 0, true},
        {"mnuInformarPrestacionConFecha", "mnuInformar", "Prestación Diferida", 7, &M::mnuInformarPrestacionConFecha_Click,
         "Informar Prestación Diferida", C::Transaccion, 0, D::TipoDespues, L::B, 0, false},
        {"mnuConsultarAutorizacion", "mnuInformar", "Rescatar Solicitud", 8, &M::mnuConsultarAutorizacion_Click,
         "Rescatar Solicitud", C::Transaccion, 0, D::Falso, L::A, 0, true},
        {"mnuInformarPrestacionAutorizada", "mnuInformar", "Prestación Pre-A&utorizada", 18,
         &M::mnuInformarPrestacionAutorizada_Click, "Informar Prestación Pre-Autorizada", C::Transaccion, 2, D::Falso, L::B, 0, false},
        {"mnuAnulacion", "mnuInformar", "&Anulación", 9, &M::mnuAnulacion_Click,
         "Informar Anulación", C::Transaccion, 0, D::Falso, L::B, 0, false},
        {"mnuAutorizarCirugia", "mnuInformar", "Solicitar A&utorización Cirugía", 19, &M::mnuAutorizarCirugia_Click,
         "Solicitar Autorización Cirugía", C::Transaccion, 0, D::Falso, L::A, 0, false},
        {"mnuInformarDiagnostico", "mnuInformar", "Informar Diagnóstico", 97, &M::mnuInformarDiagnostico_Click,
         "Informar Diagnóstico", C::Transaccion, 0, D::Falso, L::B, 0, false},
        {"mnuAdmisionInternacion", "mnuInternaciones", "Admisión de &Internación", 11, &M::mnuAdmisionInternacion_Click,
         "Admisión de Internación", C::Transaccion, 0, D::Falso, L::B, 0, false},
        {"mnuAltaInternacion", "mnuInternaciones", "A&lta de Internación", 12, &M::mnuAltaInternacion_Click,
         "Alta de Internación", C::Transaccion, 0, D::Falso, L::B, 0, false},
        {"mnuInformarCirugia", "mnuInternaciones", "Informar Ciru&gía ya realizada", 14, &M::mnuInformarCirugia_Click,
         "Informar Cirugía Ya Realizada", C::Transaccion, 0, D::Falso, L::A, 0, false},
        {"mnuEnvioProtocolo", "mnuInternaciones", "Enviar &Protocolo Quirúrgico y/o Informe Médico", 13,
         &M::mnuEnvioProtocolo_Click, "Enviar Protocolo Quirúrgico", C::Transaccion, 0, D::Falso, L::B, 0, false},
        {"mnuAutorizacionOrtodoncia", "mnuOdontologia", "&Autorización Ortodoncia", 15, &M::mnuAutorizacionOrtodoncia_Click,
         "Autorización Ortodoncia", C::Transaccion, 0, D::Verdadero, L::A, 0, false},
        {"mnuAutorizacionSolicitudProtesis", "mnuOdontologia", "Autorización &Solicitud Prótesis", 16,
         &M::mnuAutorizacionSolicitudProtesis_Click, "Autorización Solicitud Prótesis", C::Transaccion, 0, D::Verdadero, L::A, 0, false},
        {"mnuRescateSolicitudProtesis", "mnuOdontologia", "&Rescate Solicitud Prótesis", 17,
         &M::mnuRescateSolicitudProtesis_Click, "Rescate Solicitud Prótesis", C::Transaccion, 0, D::Verdadero, L::A, 0, false},
        {"mnuConsultaCierre", "mnuCierres", "Consulta de cierre", 20, &M::mnuConsultaCierre_Click,
         "Consulta Cierre", C::Cierre, 0, D::NoCambia, L::Ninguna, 0, false},
        {"mnuCierreLote", "mnuCierres", "Cierre de Lote", 21, &M::mnuCierreLote_Click,
         "Cierre de Lote", C::Cierre, 0, D::NoCambia, L::Ninguna, 0, false},
        {"mnuMedicamentos", "mnuOperaciones", "Prescripción Medicamentos", 30, &M::mnuMedicamentos_Click,
         "Prescripción medicamentos", C::Medicamento, 0, D::NoCambia, L::Ninguna, 0, false},
        {"mnuOsde", "mnuDatos", "Formato Osde", 98, &M::mnuOsde_Click, nullptr, C::Exportacion, 0, D::NoCambia, L::Ninguna, 2, false},
        {"mnuSimeco", "mnuDatos", "Formato Simeco", 98, &M::mnuSimeco_Click, nullptr, C::Exportacion, 0, D::NoCambia, L::Ninguna, 4, false},
        {"mnuServesalud", "mnuDatos", "Formato Servesalud", 98, &M::mnuServesalud_Click, nullptr, C::Exportacion, 0, D::NoCambia, L::Ninguna, 3, false},
        {"mnuHope", "mnuDatos", "Formato Hope", 98, &M::mnuHope_Click, nullptr, C::Exportacion, 0, D::NoCambia, L::Ninguna, 1, false},
        {"mnuHistoriaClinica", kBarra, "&H. Clínica", 0, &M::mnuHistoriaClinica_Click, nullptr, C::HistoriaClinica, 0, D::NoCambia, L::Ninguna, 0, false},
    };
    // clang-format on
    return tabla;
}

const Operacion* DeManejador(void (frmMain::*manejador)())
{
    for (const Operacion& o : Tabla())
        if (o.manejador == manejador) return &o;
    return nullptr;
}

}
