#include "entry/CMsgRequerimientoPOS.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "entry/ValoresEmuladorPOS.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/clsLog.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace {

const QString kFuente = QStringLiteral("CMsgRequerimientoPOS");
const QString kFaltaPrestacion = QStringLiteral("Debe ingresar al menos una prestación");
const QString kTipoOCantidad = QStringLiteral("El tipo o la cantidad de la prestación no pueden ser 0");
const QString kPrimerDiagnostico = QStringLiteral("Debe ingresar al menos el primer diagnóstico");
const QString kMatricula = QStringLiteral("Debe ingresar matrícula, tipo y provincia del prescriptor");
// The reference the layout gives dental providers for a void.
const QString kReferenciaOdontologica = QStringLiteral("OD");

void Aviso(const QString& texto) { Dialogs::MsgBox(texto, Vbc::vbExclamation, Dialogs::kAppTitle); }
void Nota(const QString& texto) { Dialogs::MsgBox(texto, Vbc::vbInformation, Dialogs::kAppTitle); }

bool Vacio(const QString& texto) { return Vb::Trim(texto).isEmpty(); }

bool FaltaMatricula(const ValoresEmuladorPOS& f)
{
    return Vacio(f.txtAUNMAT) || f.cboTipoMatricula.isEmpty() || f.cboProvincia.isEmpty();
}

// A code that reads as a number other than 0, or that is no number at all, is a service.
bool EsCodigo(const QString& aupre)
{
    const QString t = Vb::Trim(aupre);
    return !t.isEmpty() && (!Vb::IsNumeric(t) || Vb::Val(t) != 0);
}

// A number zero-padded on the left to `digitos`, as a zero pattern formats it.
QString Ceros(qint64 n, int digitos)
{
    const QString cifras = QString::number(n < 0 ? -n : n).rightJustified(digitos, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + cifras : cifras;
}

// The fixed-length records of an answer file; a missing file reads as empty, a missing folder
// is an error. The last record may lack its line end.
QList<QString> Registros(const CarpetaTerminal& terminal, const QString& nombre, int largo, int largoDatos)
{
    if (!terminal.ExisteDescarga())
        throw VbError(VbError::PathNotFound, kFuente, QStringLiteral("No se encontró la ruta de acceso"));
    const std::optional<QByteArray> datos = terminal.LeerRespuesta(nombre, kFuente);
    QList<QString> registros;
    if (!datos) return registros;
    const QString texto = Codec1252::decode(*datos);
    for (int pos = 0; pos + largoDatos <= texto.size(); pos += largo) registros.append(texto.mid(pos, largo));
    return registros;
}

}

bool CMsgRequerimientoPOS::Validar(qint16 op, const ValoresEmuladorPOS& formulario)
{
    try {
        return ValidarReglas(op, formulario);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Se produjo el siguiente error: ") + DescripcionError(e), Vbc::vbCritical,
                        Dialogs::kAppTitle);
        return false;
    }
}

bool CMsgRequerimientoPOS::ValidarReglas(qint16 op, const ValoresEmuladorPOS& f)
{
    bool falla = false;
    QList<std::shared_ptr<clsPrestacionTxOSDE>> lineas;
    if (m_Prestaciones)
        for (int i = 1; i <= m_Prestaciones->Count(); ++i) lineas.append(m_Prestaciones->Item_(i));
    const auto primera = [&](auto condicion) {
        for (const auto& l : lineas)
            if (condicion(*l)) return true;
        return false;
    };
    const auto tipoOCantidadCero = [](const clsPrestacionTxOSDE& l) { return l.AUTIP == 0 || l.AUCAN == 0; };

    switch (op) {
    case 2:
    case 3:
        if (lineas.isEmpty()) {
            Aviso(kFaltaPrestacion);
            falla = true;
        }
        if (primera([](const clsPrestacionTxOSDE& l) { return Vacio(l.AUPRE); })) {
            Aviso(QStringLiteral("Debe ingresar la prestación"));
            falla = true;
        }
        break;
    case 4:
    case 7:
    case 18:
        if (lineas.isEmpty() && AUFINA == 0) {
            Aviso(kFaltaPrestacion);
            falla = true;
        }
        if (AUFINA == 0 && primera([](const clsPrestacionTxOSDE& l) { return Vacio(l.AUPRE); })) {
            Aviso(QStringLiteral("La prestación no puede ser 0 y el motivo fin terapia tampoco"));
            falla = true;
        }
        if (op == 4 && f.TipoPrestador == 2 && Vacio(f.txtAUDSM1)) {
            Nota(kPrimerDiagnostico);
            return false;
        }
        if (f.TipoPrestador == 3 && FaltaMatricula(f)) {
            Nota(kMatricula);
            return false;
        }
        break;
    case 5:
        if (lineas.isEmpty()) {
            Aviso(kFaltaPrestacion);
            return false;
        }
        if (primera([&](const clsPrestacionTxOSDE& l) { return EsCodigo(l.AUPRE) && tipoOCantidadCero(l); })) {
            Aviso(kTipoOCantidad);
            falla = true;
        }
        if (f.TipoPrestador == 2 && Vacio(f.txtAUDSM1)) {
            Nota(kPrimerDiagnostico);
            return false;
        }
        if (f.TipoPrestador == 2 && lineas.size() >= 2) {
            Nota(QStringLiteral("Debe ingresar sola una prestación"));
            return false;
        }
        break;
    case 6:
    case 19:
        if (lineas.isEmpty()) {
            Aviso(kFaltaPrestacion);
            falla = true;
        }
        if (primera([&](const clsPrestacionTxOSDE& l) { return !l.AUPRE.isEmpty() && tipoOCantidadCero(l); })) {
            Aviso(kTipoOCantidad);
            falla = true;
        }
        if (op == 6 && f.RequierePrescripcion > 0 && (AUTMAT.isEmpty() || AUNMAT == 0)) {
            Aviso(QStringLiteral("Datos erróneos en el prescriptor"));
            falla = true;
        }
        break;
    case 9: {
        const QString referencia = Vb::Trim(AUWREF);
        const bool referenciaValida = referencia == kReferenciaOdontologica || Vb::Val(referencia) != 0;
        if (!referenciaValida || AUNREF == 0) {
            Aviso(QStringLiteral("Datos erróneos en la referencia o en el nº de transacción"));
            falla = true;
        }
        break;
    }
    case 97:
        if (AUNREF == 0) {
            Aviso(QStringLiteral("Datos erróneos en el nº de autorización"));
            return false;
        }
        if (Vacio(f.txtAUDSM1) && Vacio(f.txtAUDSM2)) {
            Aviso(QStringLiteral("Datos erróneos en el/los diagnóstico/s"));
            return false;
        }
        break;
    default:
        break;
    }

    if (falla) return false;
    if (f.txtAUNMATActivo && f.RequiereMatPrescriptor == -1 && FaltaMatricula(f)) {
        Nota(kMatricula);
        return false;
    }
    return true;
}

void CMsgRequerimientoPOS::LeerArchivos(const QString& Carpeta)
{
    try {
        // Without a terminal folder the answers lie in the working folder's own download.
        const CarpetaTerminal descarga = Carpeta.isEmpty() ? CarpetaTerminal(General::DirectorioTrabajo)
                                                           : CarpetaTerminal(General::DirectorioTrabajo, Carpeta);
        const QList<QString> respuesta = Registros(descarga, QStringLiteral("_svl.3"), 152, 150);
        const QString r = respuesta.isEmpty() ? QString(152, QLatin1Char(' ')) : respuesta.first();
        AUAUTO = Vb::CLng(Vb::Val(Vb::Mid(r, 1, 6)));
        AUWHOO = Vb::Mid(r, 7, 2);
        AUREST = Vb::Mid(r, 9, 2);
        AULEYD = Vb::Mid(r, 11, 40);
        AULEYP = Vb::Mid(r, 51, 80);
        AUMONT = std::llround(Vb::Val(Vb::Mid(r, 131, 11)) * 100); // hundredths to ten-thousandths
        AUSYST = Vb::Mid(r, 142, 9);

        auto lineas = std::make_shared<Lineas>();
        for (const QString& reg : Registros(descarga, QStringLiteral("_svl.2"), 21, 19)) {
            auto l = std::make_shared<clsPrestacionTxOSDE>();
            l->AUPRE = Vb::Mid(reg, 1, 6);
            l->AURES = Vb::Mid(reg, 18, 2);
            lineas->Add(l);
        }
        m_Prestaciones = lineas;
    } catch (const VbError& e) {
        throw VbError(e.number, kFuente, e.description);
    }
}

QString CMsgRequerimientoPOS::AUISOARegistrado(qint64 auisoa) { return Ceros(auisoa, 6); }

void CMsgRequerimientoPOS::LogDB(bool Diferida, const QString& Carpeta)
{
    // A deferred request has no answer yet: reading one would replace the entered lines.
    if (!Diferida) LeerArchivos(Carpeta);

    clsLog log;
    const auto tx = log.TxOSDE();
    tx->NombreAfiliado = NombreAfiliado;
    tx->NombreMedico = NombreMedico;
    tx->AUCUIT = AUCUIT;
    tx->AUISOA = AUISOARegistrado(AUISOA);
    tx->AUFILA = Ceros(AUFILA, 2);
    tx->AUASOA = Ceros(AUASOA, 7);
    tx->AUBENA = Ceros(AUBENA, 2);
    tx->AUDIGA = Ceros(AUDIGA, 1);
    tx->AUVERA = Ceros(AUVERA, 2);
    tx->AUTRAC = Ceros(AUTRAC, 2);
    tx->AUATRC = AUATRC;
    tx->AUMANA = AUMANA;
    tx->AUWREF = AUWREF;
    tx->AUNREF = Ceros(AUNREF, 6);
    tx->AUTMAT = AUTMAT;
    tx->AUNMAT = Ceros(AUNMAT, 6);
    tx->AUCEFE = AUCEFE;
    tx->AUFECP = Ceros(std::llround(Vb::Val(AUFECP)), 8);
    tx->AUDSM1 = AUDSM1;
    tx->AUFINA = Ceros(AUFINA, 1);
    tx->setPrestaciones(m_Prestaciones ? m_Prestaciones : std::make_shared<Lineas>());
    if (!Diferida) {
        tx->AUAUTO = QString::number(AUAUTO);
        tx->AUWHOO = AUWHOO;
        tx->AUREST = AUREST;
        tx->AULEYD = AULEYD;
        tx->AULEYP = AULEYP;
        tx->AUMONT = Vb::Str(double(AUMONT) / 10000.0);
        tx->AUSYST = AUSYST;
    }
    tx->IdTerminal = 999;
    // One transaction: a failure leaves nothing, so the message the user gets is true and a
    // retry does not store the request twice.
    tx->GuardarSolicitud(Diferida);
}
