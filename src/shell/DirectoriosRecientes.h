#pragma once
#include <QString>
#include <QStringList>

// The working folders used most recently, newest first, kept per user where the update wizard
// reads the newest one (key "1").
namespace DirectoriosRecientes {

// At most this many folders are kept.
constexpr int kMaximo = 6;

// The stored list, up to the first missing or empty key.
QStringList Leer();
// The list after `carpeta` was chosen: it first, then the earlier ones (trimmed, without blanks
// and without `carpeta` itself, compared with one trailing "/" as Linux paths are compared:
// case counts), at most kMaximo in all. An empty `carpeta` gives `anteriores` unchanged.
QStringList ConNueva(const QString& carpeta, const QStringList& anteriores);
// Stores ConNueva(carpeta, anteriores); nothing happens for an empty `carpeta`. False, with the
// reason naming the settings file in `error`, when the store is refused.
bool Guardar(const QString& carpeta, const QStringList& anteriores, QString* error = nullptr);

// The folder "Aplicar" and storing check for a typed text: absolute ("~/" the home folder, a
// relative text from the current folder), "\" made "/", exactly one trailing "/".
QString CarpetaTecleada(const QString& texto);
// Where the folder picker opens: the previous folder when it exists, else the root.
QString CarpetaInicialSelector(const QString& anterior);

}
