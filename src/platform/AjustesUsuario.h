#pragma once
#include <QString>
#include <QStringList>

// Per-user settings by application, section and key (what GetSetting and SaveSetting kept in
// the user's registry): one INI file per application in the configuration folder, shared by
// Quorvan, its update wizard and the settings the communications client leaves for us.
//
// The file is read through the bounded reader of regular files (a link, a pipe, a folder or a
// huge file at its name reads as missing, never holds the program), parsed and changed in
// memory in the form QSettings gave it (earlier versions wrote it so): nothing outside the
// configuration folder is needed. A store changes the file under a lock on "<file>.lock", so
// the two programs storing at once keep both stores, and rewrites it whole through
// EscrituraSegura, private to the user. A link or anything but a file at the file's name, or
// anything but a file of the user's own at the lock's, is refused, nothing being written, and
// so is a lock another program holds past a few seconds.
namespace AjustesUsuario {

// `predeterminado` when the key, or a readable file, is missing.
QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave,
             const QString& predeterminado = QString());
// False with the reason, naming the file, in `error` when given.
bool Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor,
             QString* error = nullptr);
// The values of the numbered keys "1", "2", … of a section, in order, up to the first missing or
// empty one; the file is read once.
QStringList LeerLista(const QString& aplicacion, const QString& seccion);
// Replaces the whole section by the numbered keys "1", "2", … holding `valores` in order, so no
// key of an earlier, longer or gapped list is left behind.
bool GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores,
                  QString* error = nullptr);

}
