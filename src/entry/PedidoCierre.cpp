#include "entry/PedidoCierre.h"

#include "config/GeneralObrasSociales.h"
#include "config/clsConfig.h"
#include "platform/Vb.h"

namespace PedidoCierre {

namespace {
const QString kFormato = QStringLiteral("dd/MM/yyyy");
// The width of the close number in the request record.
constexpr int kDigitosCierre = 9;

bool SoloDigitos(const QString& texto)
{
    if (texto.isEmpty()) return false;
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}
}

Periodo PeriodoPropuesto(const QDate& hoy) { return {hoy.addMonths(-1).toString(kFormato), hoy.toString(kFormato)}; }

bool FechaAceptable(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    return t.isEmpty() || Vb::ParseDate(t).isValid();
}

QString FechaDelPedido(const QString& texto)
{
    const QDate fecha = Vb::ParseDate(Vb::Trim(texto));
    return fecha.isValid() ? fecha.toString(QStringLiteral("yyyyMMdd")) : QString();
}

std::optional<qint32> NumeroCierre(qint16 operacion, const QString& texto)
{
    const QString t = Vb::Trim(texto);
    if (operacion == 21 || t.isEmpty()) return 0;
    if (!SoloDigitos(t)) return std::nullopt;
    QString cifras = t;
    while (cifras.size() > 1 && cifras.startsWith(QLatin1Char('0'))) cifras.remove(0, 1);
    if (cifras.size() > kDigitosCierre) return std::nullopt;
    return cifras.toInt();
}

std::optional<QString> Licencia(const QString& delPrestador, const QString& seleccionada, int cantidadLicencias)
{
    if (!Vb::Trim(delPrestador).isEmpty()) return delPrestador;
    if (!seleccionada.isEmpty()) return seleccionada;
    if (cantidadLicencias > 1) return std::nullopt;
    return QString();
}

std::shared_ptr<clsObraSocial> ObraSocial(const clsConfig& cfg)
{
    const QString actividad = Vb::Trim(cfg.DefaultActividad());
    if (!SoloDigitos(actividad) || actividad.size() > 9) return nullptr;
    return General::BuscarObraSocial(cfg, cfg.DefaultOS(), QString::number(actividad.toInt()));
}

}
