#pragma once
#include <QString>

namespace Paths {
// Joins with "/" and turns any "\" into "/", without doubling separators.
QString Join(const QString& a, const QString& b);
QString Normalize(const QString& path);
// The folder with exactly one trailing "/" (empty stays empty).
QString WithTrailingSlash(const QString& folder);
// The existing entry of that name in the folder, matched without regard to case (an exact
// match wins); empty when there is none.
QString FindCaseInsensitive(const QString& folder, const QString& name);
// The last component of a path (trailing separators ignored).
QString LastComponent(const QString& path);
// A folder typed by the user as an absolute path: "~" and a leading "~/" are the user's home
// folder, a relative path is taken from the current folder at the time of the call; "." and
// ".." are resolved and "\" becomes "/". A blank text is returned as it is.
QString Absoluta(const QString& path);

// Config, data folders; QUORVAN_HOME puts both in one folder.
QString ConfigDir();
QString DataDir();
// Folder of the running executable.
QString ProgramDir();
}
