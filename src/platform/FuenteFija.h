#pragma once
#include <QFont>

namespace FuenteFija {
// The fixed-pitch font of tickets and reports at `puntos` points: "Courier New" where the
// system resolves it to a font that declares a fixed pitch, else the system's fixed font.
// Some systems map Courier to a face whose pitch is not declared, and columns of tickets and
// reports only line up in a font the text engine treats as fixed.
QFont Courier(int puntos);
}
