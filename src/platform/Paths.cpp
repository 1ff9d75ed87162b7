#include "platform/Paths.h"

#include "platform/ArchivosPropios.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Paths {

QString Normalize(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString WithTrailingSlash(const QString& folder)
{
    QString p = Normalize(folder);
    if (p.isEmpty()) return p;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    if (p != QLatin1String("/")) p += QLatin1Char('/');
    return p;
}

QString Join(const QString& a, const QString& b)
{
    const QString left = Normalize(a);
    QString right = Normalize(b);
    if (left.isEmpty()) return right;
    while (right.startsWith(QLatin1Char('/'))) right.remove(0, 1);
    return WithTrailingSlash(left) + right;
}

QString FindCaseInsensitive(const QString& folder, const QString& name)
{
    const QDir dir(Normalize(folder));
    if (dir.exists(name)) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(e);
    return QString();
}

QString LastComponent(const QString& path)
{
    QString p = Normalize(path);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    const int i = p.lastIndexOf(QLatin1Char('/'));
    return i < 0 ? p : p.mid(i + 1);
}

QString Absoluta(const QString& path)
{
    if (path.trimmed().isEmpty()) return path;
    QString p = Normalize(path);
    if (p == QLatin1String("~")) p = QDir::homePath();
    else if (p.startsWith(QLatin1String("~/"))) p = QDir::homePath() + p.mid(1);
    // The client and the update wizard run from other folders: they must see the same folder.
    return QDir::cleanPath(QDir::current().absoluteFilePath(p));
}

// The program's folders are the user's alone from the moment they are made.
static QString ensure(const QString& p)
{
    ArchivosPropios::CrearCarpeta(p);
    return p;
}

QString ConfigDir()
{
    const QString home = qEnvironmentVariable("QUORVAN_HOME");
    if (!home.isEmpty()) return ensure(home);
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return ensure(base + QStringLiteral("/Quorvan"));
}

QString DataDir()
{
    const QString home = qEnvironmentVariable("QUORVAN_HOME");
    if (!home.isEmpty()) return ensure(home);
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return ensure(base + QStringLiteral("/Quorvan"));
}

QString ProgramDir() { return QFileInfo(Platform::ProgramPath()).path(); }
}
