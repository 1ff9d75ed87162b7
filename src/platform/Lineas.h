#pragma once
#include <QString>
#include <QStringList>

namespace Lineas {
// The lines of a text ended by CR LF, CR or LF, in one pass. Like QString::split, an ending
// at the end of the text leaves an empty last line and an empty text gives one empty line.
QStringList Separar(const QString& texto);
}
