#include "entry/PantallaEmuladorPOS.h"

namespace PantallaEmuladorPOS {

bool Control::operator==(const Control& o) const
{
    return habilitado == o.habilitado && visible == o.visible && titulo == o.titulo && derecha == o.derecha &&
           texto == o.texto && largoMaximo == o.largoMaximo && geometria == o.geometria && marcado == o.marcado;
}

const QHash<QString, QRect>& Geometria()
{
    static const QHash<QString, QRect> g = {
        // Provider
        {QStringLiteral("lblPrestador"), {120, 160, 1100, 255}},
        {QStringLiteral("cboNombre"), {1260, 120, 4140, 315}},
        {QStringLiteral("lblCodigoOSDE"), {5520, 160, 700, 255}},
        {QStringLiteral("txtcodigoOSDE"), {6240, 120, 1200, 300}},
        {QStringLiteral("lblLicencia"), {7560, 160, 1300, 255}},
        {QStringLiteral("txtFilialPrestador"), {8880, 120, 600, 300}},
        // Member and security code
        {QStringLiteral("lblTarjeta"), {120, 580, 1900, 255}},
        {QStringLiteral("txtTarjeta"), {2100, 540, 3300, 300}},
        {QStringLiteral("lblCsc"), {5520, 580, 450, 255}},
        {QStringLiteral("txtCSC"), {6000, 540, 700, 300}},
        {QStringLiteral("lblDocumento"), {120, 1000, 1900, 255}},
        {QStringLiteral("cboTipoDocumento"), {2100, 960, 2100, 315}},
        {QStringLiteral("txtNumeroDocumento"), {4300, 960, 2400, 300}},
        // Reference, dates, discharge, diagnoses
        {QStringLiteral("lblAUWREF"), {120, 1420, 1900, 255}},
        {QStringLiteral("txtAUWREF"), {2100, 1380, 800, 300}},
        {QStringLiteral("lblAUNREF"), {3000, 1420, 2020, 255}},
        {QStringLiteral("txtAUNREF"), {5100, 1380, 1600, 300}},
        {QStringLiteral("lblAUFECP"), {120, 1840, 1900, 255}},
        {QStringLiteral("txtAUFECP"), {2100, 1800, 1200, 300}},
        {QStringLiteral("lblAUHORP"), {3400, 1840, 1620, 255}},
        {QStringLiteral("txtAUHORP"), {5100, 1800, 1000, 300}},
        {QStringLiteral("lblFinalizacion"), {120, 2260, 2800, 255}},
        {QStringLiteral("cmbAUFINA"), {3000, 2220, 3700, 315}},
        {QStringLiteral("lblAUDSM1"), {120, 2680, 1900, 255}},
        {QStringLiteral("txtAUDSM1"), {2100, 2640, 1300, 300}},
        {QStringLiteral("cmdBuscarDiag0"), {3440, 2640, 400, 300}},
        {QStringLiteral("lblAUDSM2"), {4000, 2680, 1500, 255}},
        {QStringLiteral("txtAUDSM2"), {5560, 2640, 1500, 300}},
        {QStringLiteral("cmdBuscarDiag1"), {7100, 2640, 400, 300}},
        // Service lines
        {QStringLiteral("lvwPrestaciones"), {120, 3060, 8800, 1500}},
        {QStringLiteral("cmdAdd"), {9060, 3060, 1200, 380}},
        {QStringLiteral("cmdMod"), {9060, 3500, 1200, 380}},
        {QStringLiteral("cmdDel"), {9060, 3940, 1200, 380}},
        // Prescriber frame and its controls
        {QStringLiteral("fmePrescriptor"), {120, 4680, 8800, 1500}},
        {QStringLiteral("lblAUTMAT"), {120, 260, 2020, 255}},
        {QStringLiteral("cboTipoMatricula"), {2220, 220, 1500, 315}},
        {QStringLiteral("cboProvincia"), {3800, 220, 2200, 315}},
        {QStringLiteral("txtFilial"), {2220, 220, 700, 300}},
        {QStringLiteral("lblLugar"), {3000, 280, 500, 255}},
        {QStringLiteral("cboTipoInternacion"), {3500, 220, 1750, 315}},
        {QStringLiteral("lblAUNMAT"), {6100, 260, 900, 255}},
        {QStringLiteral("txtAUNMAT"), {7040, 220, 1600, 300}},
        {QStringLiteral("lblPrescriptor"), {120, 680, 2020, 255}},
        {QStringLiteral("cboPrescriptores"), {2220, 640, 6420, 315}},
        {QStringLiteral("lblEspcecialidadPrescriptor"), {120, 1100, 2020, 255}},
        {QStringLiteral("cboEspecialidadPrescriptor"), {2220, 1060, 4000, 315}},
        // Effector frame
        {QStringLiteral("fmeEfector"), {120, 6300, 8800, 1100}},
        {QStringLiteral("lblEfector"), {120, 280, 1300, 255}},
        {QStringLiteral("cboEfectores"), {1500, 240, 3900, 315}},
        {QStringLiteral("lblAUCEFE"), {5520, 280, 500, 255}},
        {QStringLiteral("txtAUCEFE"), {6040, 240, 1800, 300}},
        {QStringLiteral("lblEspecialidadEfector"), {120, 700, 1300, 255}},
        {QStringLiteral("cboEspecialidadEfector"), {1500, 660, 3900, 315}},
        // Protocol and attachment frame
        {QStringLiteral("frmProtocolo"), {120, 7500, 8800, 1100}},
        {QStringLiteral("optTipoInforme0"), {120, 280, 2300, 255}},
        {QStringLiteral("optTipoInforme1"), {2500, 280, 1800, 255}},
        {QStringLiteral("cmdInforme"), {6440, 220, 2200, 360}},
        {QStringLiteral("txtProtocolo"), {120, 660, 6200, 300}},
        {QStringLiteral("cmdAdjuntar"), {6440, 630, 2200, 360}},
        // Send and cancel
        {QStringLiteral("cmdAceptar"), {9060, 8160, 1200, 400}},
        {QStringLiteral("cmdCancelar"), {9060, 8640, 1200, 400}},
    };
    return g;
}

namespace {

const QStringList kMiembro = {QStringLiteral("lblTarjeta"), QStringLiteral("txtTarjeta"), QStringLiteral("lblDocumento"),
                              QStringLiteral("cboTipoDocumento"), QStringLiteral("txtNumeroDocumento")};
const QStringList kDocumento = {QStringLiteral("lblDocumento"), QStringLiteral("cboTipoDocumento"),
                                QStringLiteral("txtNumeroDocumento")};
const QStringList kCsc = {QStringLiteral("lblCsc"), QStringLiteral("txtCSC")};
const QStringList kPrestaciones = {QStringLiteral("lvwPrestaciones"), QStringLiteral("cmdAdd"), QStringLiteral("cmdDel"),
                                   QStringLiteral("cmdMod")};
const QStringList kDiagnosticos = {QStringLiteral("lblAUDSM1"), QStringLiteral("txtAUDSM1"), QStringLiteral("cmdBuscarDiag0"),
                                   QStringLiteral("lblAUDSM2"), QStringLiteral("txtAUDSM2"), QStringLiteral("cmdBuscarDiag1")};
const QStringList kReferencia = {QStringLiteral("lblAUWREF"), QStringLiteral("txtAUWREF"), QStringLiteral("lblAUNREF"),
                                 QStringLiteral("txtAUNREF")};
const QStringList kFinalizacion = {QStringLiteral("lblFinalizacion"), QStringLiteral("cmbAUFINA")};
const QStringList kFecha = {QStringLiteral("lblAUFECP"), QStringLiteral("txtAUFECP")};
const QStringList kHora = {QStringLiteral("lblAUHORP"), QStringLiteral("txtAUHORP")};
// The prescriber frame without the referral's branch and place of attention.
const QStringList kPrescriptor = {QStringLiteral("fmePrescriptor"), QStringLiteral("lblPrescriptor"),
                                  QStringLiteral("cboPrescriptores"), QStringLiteral("lblEspcecialidadPrescriptor"),
                                  QStringLiteral("cboEspecialidadPrescriptor"), QStringLiteral("lblAUTMAT"),
                                  QStringLiteral("cboTipoMatricula"), QStringLiteral("cboProvincia"),
                                  QStringLiteral("lblAUNMAT"), QStringLiteral("txtAUNMAT")};
const QStringList kEfector = {QStringLiteral("fmeEfector"), QStringLiteral("lblEfector"), QStringLiteral("cboEfectores"),
                              QStringLiteral("lblEspecialidadEfector"), QStringLiteral("cboEspecialidadEfector"),
                              QStringLiteral("lblAUCEFE"), QStringLiteral("txtAUCEFE")};
const QStringList kProtocolo = {QStringLiteral("frmProtocolo"), QStringLiteral("txtProtocolo"),
                                QStringLiteral("optTipoInforme0"), QStringLiteral("optTipoInforme1"),
                                QStringLiteral("cmdInforme"), QStringLiteral("cmdAdjuntar")};

// What a row of the operation table turns on.
enum Bloque : unsigned {
    Miembro = 1u << 0,
    SoloTarjeta = 1u << 1,
    Prestaciones = 1u << 2,
    Diagnosticos = 1u << 3,
    Referencia = 1u << 4,
    Finalizacion = 1u << 5,
    Fecha = 1u << 6,
    Hora = 1u << 7,
    Efector = 1u << 8, // unless provider type 2
    Protocolo = 1u << 9,
};
enum class Prescriptor {
    Nada,
    SiPrescripcion,         // with a prescription, unless provider type 2
    SiPrescripcionSiempre,  // with a prescription, whatever the type (operation 5)
    SalvoTipo2,             // always, unless provider type 2
    Cirugia,                // operation 19
};
struct Fila {
    qint16 codigo;
    unsigned bloques;
    Prescriptor prescriptor;
    bool codigoPrestacion, tipoArancel;
};

const Fila kFilas[] = {
    {1, Miembro, Prescriptor::Nada, false, false},
    {2, Miembro | Prestaciones, Prescriptor::Nada, true, true},
    {3, Miembro | Prestaciones, Prescriptor::Nada, true, true},
    {4, Miembro | Prestaciones | Diagnosticos | Referencia | Finalizacion | Efector, Prescriptor::SiPrescripcion, true, true},
    {18, Miembro | Prestaciones | Diagnosticos | Referencia | Finalizacion | Efector, Prescriptor::SiPrescripcion, true, true},
    {5, Miembro | Prestaciones | Diagnosticos, Prescriptor::SiPrescripcionSiempre, true, true},
    {6, Miembro | Prestaciones | Diagnosticos, Prescriptor::SiPrescripcion, true, true},
    {7, Miembro | Prestaciones | Diagnosticos | Referencia | Finalizacion | Fecha | Efector, Prescriptor::SalvoTipo2, true, true},
    {11, Miembro | Prestaciones | Diagnosticos | Referencia | Fecha | Efector, Prescriptor::SalvoTipo2, true, true},
    {12, Miembro | Diagnosticos | Referencia | Finalizacion | Fecha | Hora | Efector, Prescriptor::Nada, false, true},
    {8, Miembro | Referencia, Prescriptor::Nada, false, true},
    {9, Miembro | Referencia, Prescriptor::Nada, false, true},
    {13, Miembro | Diagnosticos | Referencia | Fecha | Hora | Efector | Protocolo, Prescriptor::Nada, false, true},
    {19, Miembro | Prestaciones | Diagnosticos | Fecha | Hora | Efector | Protocolo, Prescriptor::Cirugia, true, true},
    {14, Miembro | Prestaciones | Diagnosticos | Referencia | Fecha | Hora | Efector, Prescriptor::Nada, true, true},
    {15, Miembro | Prestaciones | Diagnosticos, Prescriptor::SiPrescripcion, true, true},
    {16, Miembro | Prestaciones | Diagnosticos, Prescriptor::SiPrescripcion, true, true},
    {17, Miembro, Prescriptor::Nada, false, true},
    {97, SoloTarjeta | Diagnosticos, Prescriptor::Nada, false, true},
};

class Armado {
public:
    Pantalla p;
    Control& c(const QString& nombre) { return p.controles[nombre]; }
    void habilitar(const QStringList& nombres, bool h)
    {
        for (const QString& n : nombres) c(n).habilitado = h;
    }
    void mostrar(const QStringList& nombres, bool v)
    {
        for (const QString& n : nombres) c(n).visible = v;
    }
    void mover(const QString& nombre, int izquierda, int arriba, std::optional<int> ancho = std::nullopt)
    {
        QRect r = Geometria().value(nombre);
        r.moveTo(izquierda, arriba);
        if (ancho) r.setWidth(*ancho);
        c(nombre).geometria = r;
    }
};

// Operations 5 and 19 read the prescriber frame as a referral: a branch and a code.
void Derivacion(Armado& a)
{
    a.c(QStringLiteral("lblAUTMAT")).derecha = true;
    a.c(QStringLiteral("fmePrescriptor")).titulo = QStringLiteral("Derivado a:");
    a.c(QStringLiteral("lblAUTMAT")).titulo = QStringLiteral("Filial:");
    a.c(QStringLiteral("lblAUNMAT")).titulo = QStringLiteral("Código:");
    a.mostrar({QStringLiteral("cboProvincia"), QStringLiteral("cboTipoMatricula")}, false);
    a.c(QStringLiteral("txtFilial")).visible = true;
    a.mover(QStringLiteral("txtFilial"), 2220, 220);
    a.p.filialDelPrestador = true;
}

}

int LargoAutorizacion(const QString& nombreObraSocial)
{
    return nombreObraSocial.contains(QLatin1String("OSDE"), Qt::CaseInsensitive) ? 6 : 10;
}

Pantalla ConfigurarPantalla(const Entradas& e)
{
    Armado a;
    a.p.piezaDental = a.p.caraDental = e.datosDentales;

    // Everything off; the labels the referral renames get their names back.
    a.habilitar({QStringLiteral("lblAUFECP"), QStringLiteral("txtAUFECP"), QStringLiteral("cmbAUFINA")}, false);
    a.c(QStringLiteral("lblAUTMAT")).titulo = QStringLiteral("Tipo:");
    a.c(QStringLiteral("lblAUNMAT")).titulo = QStringLiteral("Matrícula:");
    a.c(QStringLiteral("lblAUTMAT")).derecha = false;
    for (const QStringList* g : {&kMiembro, &kCsc, &kReferencia, &kFinalizacion, &kPrestaciones, &kDiagnosticos,
                                 &kPrescriptor, &kEfector, &kHora})
        a.habilitar(*g, false);
    a.habilitar({QStringLiteral("cmdInforme"), QStringLiteral("optTipoInforme0"), QStringLiteral("optTipoInforme1")},
                false);
    a.c(QStringLiteral("txtAUNREF")).largoMaximo = LargoAutorizacion(e.nombreObraSocial);
    a.c(QStringLiteral("fmePrescriptor")).geometria = Geometria().value(QStringLiteral("fmePrescriptor"));
    a.c(QStringLiteral("fmePrescriptor")).geometria->setWidth(Geometria().value(QStringLiteral("lvwPrestaciones")).width());

    // Security code and document only for an insurer that uses the card's code.
    a.mostrar(kCsc + kDocumento, e.utilizaCSC);
    if (e.utilizaCSC) a.habilitar(kDocumento, true);
    a.habilitar(kCsc, e.subModo > 0);

    const Fila* fila = nullptr;
    for (const Fila& f : kFilas)
        if (f.codigo == e.operacion) fila = &f;
    if (fila) {
        const bool noTipo2 = e.tipoPrestador != 2;
        const bool prescripcion = e.requierePrescripcion != 0;
        const unsigned b = fila->bloques;
        if (b & Miembro) a.habilitar(kMiembro, true);
        if (b & SoloTarjeta) a.habilitar({QStringLiteral("lblTarjeta"), QStringLiteral("txtTarjeta")}, true);
        if (b & Prestaciones) a.c(QStringLiteral("lvwPrestaciones")).habilitado = true;
        if (b & Diagnosticos) a.habilitar(kDiagnosticos, true);
        if (b & Finalizacion) {
            a.habilitar(kFinalizacion, true);
            a.p.egresoAlSegundo = e.operacion == 12;
        }
        if (b & Fecha) a.habilitar(kFecha, true);
        if (b & Hora) a.habilitar(kHora, true);
        if (b & Efector) a.habilitar(kEfector, noTipo2);
        if (b & Protocolo) {
            a.habilitar(kProtocolo, true);
            a.c(QStringLiteral("optTipoInforme0")).marcado = true;
        }
        if (b & Referencia) a.habilitar(kReferencia, true);
        switch (e.operacion) {
        case 8:
            a.c(QStringLiteral("lblAUNREF")).titulo = QStringLiteral("Transacción:");
            break;
        case 9:
            a.c(QStringLiteral("txtAUNREF")).largoMaximo = 10;
            a.c(QStringLiteral("txtAUWREF")).texto = e.tipoPrestador == 1 ? QStringLiteral("OD") : QStringLiteral("98");
            a.c(QStringLiteral("lblAUNREF")).titulo = QStringLiteral("Nº Transacción:");
            break;
        case 14:
            a.c(QStringLiteral("txtAUWREF")).texto = QStringLiteral("98");
            break;
        case 15:
        case 16:
            a.c(QStringLiteral("txtAUWREF")).habilitado = true;
            a.c(QStringLiteral("txtAUWREF")).texto = e.operacion == 15 ? QStringLiteral("OO") : QStringLiteral("OP");
            break;
        case 17:
            a.c(QStringLiteral("txtAUWREF")).texto = QStringLiteral("OD");
            a.habilitar({QStringLiteral("txtAUWREF"), QStringLiteral("lblAUNREF"), QStringLiteral("txtAUNREF")}, true);
            a.c(QStringLiteral("lblAUNREF")).titulo = QStringLiteral("Transacción:");
            break;
        case 97:
            a.habilitar({QStringLiteral("lblAUNREF"), QStringLiteral("txtAUNREF")}, true);
            break;
        default:
            break;
        }
        switch (fila->prescriptor) {
        case Prescriptor::Nada:
            break;
        case Prescriptor::SiPrescripcion:
            if (prescripcion) a.habilitar(kPrescriptor, noTipo2);
            break;
        case Prescriptor::SalvoTipo2:
            a.habilitar(kPrescriptor, noTipo2);
            break;
        case Prescriptor::SiPrescripcionSiempre:
            if (prescripcion) a.habilitar(kPrescriptor, true);
            Derivacion(a);
            break;
        case Prescriptor::Cirugia:
            if (prescripcion) {
                a.habilitar({QStringLiteral("fmePrescriptor"), QStringLiteral("lblPrescriptor"),
                             QStringLiteral("cboPrescriptores"), QStringLiteral("cboEspecialidadPrescriptor"),
                             QStringLiteral("lblEspcecialidadPrescriptor"), QStringLiteral("lblAUTMAT"),
                             QStringLiteral("lblAUNMAT"), QStringLiteral("txtAUNMAT")},
                            true);
                QStringList efector = kEfector;
                efector.removeOne(QStringLiteral("txtAUCEFE"));
                a.habilitar(efector, false);
            }
            Derivacion(a);
            a.p.cargarTipoInstitucion = true;
            a.mostrar({QStringLiteral("lblLugar"), QStringLiteral("cboTipoInternacion")}, true);
            a.c(QStringLiteral("cboTipoInternacion")).habilitado = true;
            a.mover(QStringLiteral("cboTipoInternacion"), 3500, 220, 1750);
            a.mover(QStringLiteral("lblLugar"), 3000, 280);
            break;
        }
        a.p.codigoPrestacion = fila->codigoPrestacion;
        a.p.tipoArancel = fila->tipoArancel;
    }
    a.c(QStringLiteral("cmdAdd")).habilitado = a.p.codigoPrestacion;
    return a.p;
}

QString Foco(bool tarjetaVisibleYHabilitada, bool hayPrestador)
{
    if (!tarjetaVisibleYHabilitada) return QString();
    return hayPrestador ? QStringLiteral("txtTarjeta") : QStringLiteral("txtcodigoOSDE");
}

}
