#include "platform/Platform.h"

#include <QApplication>
#include <QTextStream>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "Quorvan " << Platform::VersionText() << Qt::endl;
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvan"));
    QTextStream(stderr) << "Quorvan " << Platform::VersionText()
                        << ": el motor de transacciones está disponible; las ventanas de trabajo aún no." << Qt::endl;
    return 0;
}
