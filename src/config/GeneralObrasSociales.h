#pragma once
#include <QString>
#include <memory>

class clsConfig;
class clsObraSocial;

namespace General {

// The first insurer of the configuration, in its order, of exactly this name whose activity
// code written in decimal is `actividad`; none when no insurer matches or there is no
// configuration. Never looked up by key: loaded insurers are keyed "Nombre Actividad", added
// ones by name alone.
std::shared_ptr<clsObraSocial> BuscarObraSocial(const QString& nombre, const QString& actividad);
// The same over a given configuration.
std::shared_ptr<clsObraSocial> BuscarObraSocial(const clsConfig& cfg, const QString& nombre, const QString& actividad);

}
