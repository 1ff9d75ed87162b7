#include "txlog/modEnvioTicket.h"
#include "config/GeneralConfiguracion.h"

#include "config/Coleccion.h"
#include "config/GeneralObrasSociales.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QApplication>
#include <QWidget>

namespace modEnvioTicket {

namespace {
constexpr qint32 kSinObjeto = 91;
constexpr qint32 kArgumento = 5;
const QString kOrigen = QStringLiteral("Quorvan.modEnvioTicket");
}

std::shared_ptr<clsObraSocial> ObraSocialPredeterminada(const clsConfig& cfg)
{
    if (const auto os = General::BuscarObraSocial(cfg, cfg.DefaultOS(), cfg.DefaultActividad())) return os;
    throw VbError(kSinObjeto, kOrigen,
                  QStringLiteral("No hay una obra social predeterminada configurada para la terminal"));
}

std::shared_ptr<clsObraSocial> ObraSocialDeEmpresa(const clsConfig& cfg, const QString& codigoEmpresa)
{
    bool ok = false;
    const int empresa = Vb::Trim(codigoEmpresa).toInt(&ok);
    if (!ok)
        throw VbError(kSinObjeto, kOrigen, QStringLiteral("La transacción no tiene código de empresa"));
    try {
        const auto os = ObraSocialPredeterminada(cfg);
        if (os->Empresa == empresa) return os;
    } catch (const VbError&) {
        // Without a default insurer the company alone must name one.
    }
    QList<std::shared_ptr<clsObraSocial>> conEmpresa;
    if (const auto lista = cfg.ObrasSociales())
        for (const auto& os : *lista)
            if (os->Empresa == empresa) conEmpresa << os;
    if (conEmpresa.size() == 1) return conEmpresa.first();
    if (conEmpresa.isEmpty())
        throw VbError(kSinObjeto, kOrigen,
                      QStringLiteral("No hay ninguna obra social configurada con el código de empresa %1").arg(empresa));
    throw VbError(kArgumento, kOrigen,
                  QStringLiteral("Hay varias obras sociales con el código de empresa %1 y ninguna es la predeterminada")
                      .arg(empresa));
}

std::shared_ptr<clsTransaccion> NuevoEnvio(const clsConfig& cfg, const clsObraSocial& os, bool imprimir)
{
    auto tx = std::make_shared<clsTransaccion>();
    General::TransaccionActual = tx;
    tx->setCodigoActividad(QString::number(os.Actividad));
    tx->setCodigoEmpresa(QString::number(os.Empresa));
    tx->setImprimirTicket(imprimir);
    tx->setPrinterCopias(cfg.Copias());
    tx->setPrinterFontName(cfg.FontName());
    tx->setPrinterFontSize(cfg.FontSize());
    tx->setPrinterLargoHoja(cfg.Largohoja());
    tx->setPrinterDevice(cfg.Impresora());
    tx->setVerTicket(true);
    tx->setPasoDRUVEX(General::DirectorioTrabajo);
    tx->setVerListaErrores(false);
    tx->setEnviarCopiaPaciente(false);
    tx->setLicencia(QString());
    return tx;
}

bool EnviarReferencia(clsTransaccion& tx, qint32 operacion, const QString& cuit, const QString& tarjeta,
                      const QString& ticket, const std::function<void(clsTransaccion&)>& alResponder)
{
    const QString vacio;
    tx.CompletarSVL1(operacion, cuit, tarjeta, Vb::Trim(ticket), vacio, vacio, vacio, vacio, QStringLiteral("0"), vacio,
                     vacio, vacio, vacio, false, vacio, vacio, vacio);
    if (!tx.EnviarTransaccion()) return false;
    const QString codigo = tx.LeerCodigoError(1);
    const bool respondida = !codigo.startsWith(QLatin1String("-1"));
    if (!respondida)
        Dialogs::MsgBox(codigo, Vbc::vbInformation, QStringLiteral("Transacción"));
    else if (alResponder)
        alResponder(tx);
    tx.FinalizarTransaccion();
    return respondida;
}

const clsConfig& ConfiguracionCargada(const QString& origen)
{
    if (!General::gConfig)
        throw VbError(kSinObjeto, origen, QStringLiteral("La configuración de la terminal no está cargada"));
    return *General::gConfig;
}

void MostrarErrorInesperado(const std::exception& e)
{
    const auto* vb = dynamic_cast<const VbError*>(&e);
    const QString texto = vb ? QString::number(vb->number) + QStringLiteral(": ") + vb->description +
                                   QStringLiteral("\r\nSource: ") + vb->source
                             : QStringLiteral("0: ") + QString::fromLocal8Bit(e.what()) +
                                   QStringLiteral("\r\nSource: ") + Dialogs::kAppTitle;
    Dialogs::MsgBox(texto, Vbc::vbCritical);
}

void PunteroNormal(QWidget* ventana)
{
    if (ventana) ventana->unsetCursor();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    QApplication::processEvents();
}

}
