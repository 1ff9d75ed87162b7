#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// The wizard's command line as Quorvan starts it: the working folder, the running version
// "major.minor.revision", the full path of Quorvan's program, "" and "0.0.0", five separate
// arguments. Only the version and the program path are used.
struct ArgumentosAsistente {
    QString CarpetaTrabajo;
    qint16 Major = 0;
    qint16 Minor = 0;
    qint16 Revision = 0;
    QString RutaPrograma;

    // None when the line is refused: fewer than four arguments, a version that is not three
    // dot-separated parts of digits each up to 999, or a program path that is not absolute or
    // whose file name (after the last "/", trimmed) has fewer than four characters. The path
    // is kept as given.
    static std::optional<ArgumentosAsistente> Leer(const QStringList& argumentos);
};
