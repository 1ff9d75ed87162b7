#pragma once
#include "platform/Platform.h"

#include <QString>
#include <QUrl>

// The help file beside the program and the maker's web pages of the help menu.
namespace PaginasAyuda {

inline const QString kArchivoAyuda = QStringLiteral("Quorvan.chm");

// The help file's path in the program's folder.
QString ArchivoAyuda(const QString& carpetaPrograma);
// The page a help-menu entry opens ("mnuAyudaQuorvan", ..., "mnuDescargas"), the five help
// pages with the version appended; an empty address for any other entry.
QUrl Direccion(const QString& entrada, const Platform::Version& version);

}
