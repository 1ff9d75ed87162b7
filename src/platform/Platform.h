#pragma once
#include <QDateTime>
#include <QString>
#include <functional>

// Clock, random numbers and the program's version, replaceable by tests.
namespace Platform {

QDateTime Now();
void setClock(std::function<QDateTime()> clock); // empty function restores the system clock

// A uniform number in [0, 1), as the runtime's Rnd.
double Rnd();
void setRandom(std::function<double()> random); // empty function restores the default source

struct Version {
    int major;
    int minor;
    int revision;
};
Version ProgramVersion();
void setProgramVersion(const Version& v);
void resetProgramVersion();
// "major.minor.revision"
QString VersionText();

// The running program's full path (folder and file name); tests put it elsewhere.
QString ProgramPath();
void setProgramPath(const QString& ruta);
void resetProgramPath();

}
