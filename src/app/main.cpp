#include "app/DialogosArchivo.h"
#include "config/clsConfig.h"
#include "config/GeneralConfiguracion.h"
#include "engine/General.h"
#include "platform/Emblema.h"
#include "platform/EntradaSinNulos.h"
#include "platform/EscrituraSegura.h"
#include "platform/InstanciaUnica.h"
#include "platform/Platform.h"
#include "platform/Salida.h"
#include "platform/TraduccionQt.h"
#include "shell/frmMain.h"
#include "txlog/frmInicio.h"

#include <QApplication>
#include <QTextStream>
#include <QTreeView>
#include <cstring>
#include <memory>

namespace {

// The test aid QUORVAN_INFORME: what start-up ended on.
void EscribirInforme(const QString& archivo, const frmMain& ventana)
{
    const QWidget* activa = ventana.FormularioActivo();
    const auto* inicio = qobject_cast<const frmInicio*>(activa);
    QString texto;
    QTextStream(&texto) << "ventana=" << (activa ? activa->objectName() : QString()) << '\n'
                        << "titulo=" << (activa ? activa->windowTitle() : QString()) << '\n'
                        << "titulo_principal=" << ventana.windowTitle() << '\n'
                        << "filas=" << (inicio ? inicio->lvwTransacciones->model()->rowCount() : 0) << '\n';
    QString error;
    if (!EscrituraSegura::EscribirArchivo(archivo, texto.toUtf8(), &error))
        QTextStream(stderr) << "Quorvan: no se pudo escribir " << archivo << ": " << error << Qt::endl;
}

}

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
    // Every window of the program, the ones without a parent too.
    QApplication::setWindowIcon(EmblemaPrograma());
    TraduccionQt::Instalar();
    EntradaSinNulos::Instalar();

    std::unique_ptr<DialogosArchivo> dialogos;
    if (qEnvironmentVariableIsSet("QUORVAN_DIALOGOS")) {
        dialogos = std::make_unique<DialogosArchivo>(qEnvironmentVariable("QUORVAN_DIALOGOS"));
        Dialogs::install(dialogos.get());
    }

    frmMain ventana;
    ventana.ArgumentosPrograma = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    // Ending by signal is ending without the question.
    Salida::InstalarSenales([&ventana] {
        int cancel = 0;
        ventana.MDIForm_Unload(cancel);
    });
    ventana.show();
    // Start-up runs before the event loop; an early end never enters it.
    ventana.MDIForm_Load();
    if (!Salida::Solicitada() && qEnvironmentVariableIsSet("QUORVAN_INFORME"))
        EscribirInforme(qEnvironmentVariable("QUORVAN_INFORME"), ventana);
    const int codigo = Salida::Solicitada() ? Salida::Codigo() : app.exec();
    InstanciaUnica::Liberar();
    // Connections close while the SQL drivers are still loaded.
    General::TransaccionActual.reset();
    General::ConexionBD.reset();
    General::gConfig.reset();
    Dialogs::install(nullptr);
    return codigo;
}
