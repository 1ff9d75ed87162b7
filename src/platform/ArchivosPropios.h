#pragma once
#include <QString>
#include <QStringList>

// The program's own files hold member card numbers, diagnoses and tickets, and the PC may be
// shared: its folders are the user's alone (0700) and its files too (0600), whatever the
// umask. A file system that keeps no modes (a FAT stick, some network shares) refuses to set
// them; that is never a failure. Files written into the working folder for the
// communications client are not the program's own and are left to the writer.
namespace ArchivosPropios {

// Makes the folder (its parents as the umask says) for the user alone; true when it exists.
bool CrearCarpeta(const QString& ruta);
// Makes an empty file for the user alone when nothing stands at the path, so that a program
// that creates it later (the embedded database, whose journal files take its mode) finds it
// private from the first byte.
void CrearArchivo(const QString& ruta);
// The message refusing the first of `rutas` at which anything but a regular file stands (a
// link above all, dangling or not), looked at without following it; empty when each is a file
// or missing. For the files a driver opens by name in place: one planted as a link
// would carry their writes to its target.
QString Rechazo(const QStringList& rutas);
// An existing folder to 0700, an existing regular file to 0600; a link is left alone.
void Proteger(const QString& ruta);
// Every regular file directly inside the folder to 0600.
void ProtegerArchivosDe(const QString& carpeta);

// At start: the config and data folders (when the program made them: the XDG ones, never a
// folder named by QUORVAN_HOME) and the `subcarpetas` to 0700, the files directly inside all
// of them to 0600. A data folder left by an earlier version is brought to those modes.
void AlIniciar(const QStringList& subcarpetas);

}
