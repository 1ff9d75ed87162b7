#pragma once
#include <QString>

// Qt's own texts in Spanish (message box and picker buttons, the text boxes' context menus):
// Qt's translation qtbase_es.qm from Qt's translations folder, loaded whatever the system
// locale, since terminals often run under C or en_US. Only the translator is installed: the
// default locale stays, so amounts keep the regional separator.
namespace TraduccionQt {

// The file it loads.
QString Archivo();
// Installs it into the running application; where it is missing or unreadable the program goes
// on in Qt's English with one line on stderr. Returns whether it was installed.
bool Instalar();

}
