#pragma once
#include <memory>

class clsConfig;

// The program-wide globals of module General whose types belong to the configuration; the
// rest of the module's state is in engine/General.h.
namespace General {

// The program's one configuration; the configuration window replaces it.
extern std::shared_ptr<clsConfig> gConfig;

}
