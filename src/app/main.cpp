#include "config/clsConfig.h"
#include "config/GeneralConfiguracion.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/VbError.h"

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
    General::ReiniciarControlRepeticion();
    try {
        // Opening the configuration creates the embedded database on first use.
        General::gConfig = std::make_shared<clsConfig>();
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("No se pudo abrir la base de datos: ") + e.description, Vbc::vbCritical);
        return 1;
    }
    QTextStream(stderr) << "Quorvan " << Platform::VersionText()
                        << ": configuración abierta; las ventanas de trabajo aún no están disponibles." << Qt::endl;
    General::gConfig.reset();
    return 0;
}
