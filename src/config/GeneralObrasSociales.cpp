#include "config/GeneralObrasSociales.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"

namespace General {

std::shared_ptr<clsObraSocial> BuscarObraSocial(const QString& nombre, const QString& actividad)
{
    return gConfig ? BuscarObraSocial(*gConfig, nombre, actividad) : nullptr;
}

std::shared_ptr<clsObraSocial> BuscarObraSocial(const clsConfig& cfg, const QString& nombre, const QString& actividad)
{
    const auto obras = cfg.ObrasSociales();
    if (!obras) return nullptr;
    for (const auto& os : *obras)
        if (os && os->Nombre == nombre && QString::number(os->Actividad) == actividad) return os;
    return nullptr;
}

}
