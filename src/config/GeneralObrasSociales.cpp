#include "config/GeneralObrasSociales.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"

namespace General {

std::shared_ptr<clsObraSocial> BuscarObraSocial(const QString& nombre, const QString& actividad)
{
    if (!gConfig) return nullptr;
    const auto obras = gConfig->ObrasSociales();
    if (!obras) return nullptr;
    for (const auto& os : *obras)
        if (os && os->Nombre == nombre && QString::number(os->Actividad) == actividad) return os;
    return nullptr;
}

}
