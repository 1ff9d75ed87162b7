#include "platform/Emblema.h"
#include "platform/Platform.h"
#include "platform/Salida.h"
#include "platform/TraduccionQt.h"
#include "updater/frmUpgradeWizard.h"

#include <QApplication>
#include <QTextStream>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        QTextStream(stdout) << "UpgradeWizardQuorvan " << Platform::VersionText() << Qt::endl;
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("UpgradeWizardQuorvan"));
    // Its messages too, which have no parent window.
    QApplication::setWindowIcon(EmblemaPrograma());
    TraduccionQt::Instalar();
    QApplication::setQuitOnLastWindowClosed(false);

    frmUpgradeWizard frm(QApplication::arguments().mid(1));
    Salida::InstalarSenales([&frm] {
        int cancel = 0;
        frm.Form_QueryUnload(cancel, frmUpgradeWizard::vbAppWindows);
    });
    frm.Form_Load();
    if (Salida::Solicitada()) return Salida::Codigo();
    frm.show();
    const int codigo = app.exec();
    return Salida::Solicitada() ? Salida::Codigo() : codigo;
}
