#pragma once
#include <QString>

class QTreeWidget;

namespace General {

// Fills `lista` with the configuration's whole services catalogue, by internal code: the
// insurer's code, the provider's code, the two values, description and remarks. A failure is
// shown to the user; the rows added before it stay.
void CargarListaPrestaciones(const QString& nombre, QTreeWidget* lista);

}
