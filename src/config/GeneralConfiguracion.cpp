#include "config/GeneralConfiguracion.h"

#include "config/clsConfig.h"

namespace General {

std::shared_ptr<clsConfig> gConfig;

}
