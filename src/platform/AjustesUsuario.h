#pragma once
#include <QString>
#include <QStringList>

// Per-user settings by application, section and key (what GetSetting and SaveSetting kept in
// the user's registry): one INI file per application in the configuration folder, shared by
// Quorvan, its update wizard and the settings the communications client leaves for us.
namespace AjustesUsuario {

QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave,
             const QString& predeterminado = QString());
void Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor);
// Replaces the whole section by the numbered keys "1", "2", … holding `valores` in order, so no
// key of an earlier, longer or gapped list is left behind.
void GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores);

}
