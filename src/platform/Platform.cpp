#include "platform/Platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>

namespace Platform {
namespace {
std::function<QDateTime()> g_clock;
std::function<double()> g_random;
bool g_versionSet = false;
Version g_version{0, 0, 0};
QString g_programa;
}

QDateTime Now() { return g_clock ? g_clock() : QDateTime::currentDateTime(); }
void setClock(std::function<QDateTime()> clock) { g_clock = std::move(clock); }

double Rnd() { return g_random ? g_random() : QRandomGenerator::global()->generateDouble(); }
void setRandom(std::function<double()> random) { g_random = std::move(random); }

Version ProgramVersion()
{
    if (g_versionSet) return g_version;
    return Version{QUORVAN_VERSION_MAJOR, QUORVAN_VERSION_MINOR, QUORVAN_VERSION_PATCH};
}
void setProgramVersion(const Version& v) { g_version = v; g_versionSet = true; }
void resetProgramVersion() { g_versionSet = false; }

QString VersionText()
{
    const Version v = ProgramVersion();
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

QString ProgramPath()
{
    if (!g_programa.isEmpty()) return g_programa;
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
void setProgramPath(const QString& ruta) { g_programa = ruta; }
void resetProgramPath() { g_programa.clear(); }
}
