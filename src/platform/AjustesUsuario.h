#pragma once
#include <QString>
#include <QStringList>

// Per-user settings by application, section and key (what GetSetting and SaveSetting kept in
// the user's registry): one INI file per application in the configuration folder, shared by
// Quorvan, its update wizard and the settings the communications client leaves for us.
//
// A store rewrites the whole file through EscrituraSegura, private to the user: a link standing
// at the file's name is refused, never written through, and nothing is written.
namespace AjustesUsuario {

QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave,
             const QString& predeterminado = QString());
// False with the reason, naming the file, in `error` when given.
bool Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor,
             QString* error = nullptr);
// Replaces the whole section by the numbered keys "1", "2", … holding `valores` in order, so no
// key of an earlier, longer or gapped list is left behind.
bool GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores,
                  QString* error = nullptr);

}
