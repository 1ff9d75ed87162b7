#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "UpgradeWizardQuorvan " << Platform::VersionText() << Qt::endl;
            return 0;
        }
    }
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "UpgradeWizardQuorvan: el asistente de actualización aún no está disponible." << Qt::endl;
    return 1;
}
