#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "shell/GeneralPrincipal.h"
#include "shell/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

TEST(Principal, CaptionWorkingWindowsAndSideBarRules)
{
    EXPECT_EQ(General::TituloPrincipal("", 7), "Quorvan -  [Term: 7]");
    EXPECT_EQ(General::TituloPrincipal("(1) OSDE", 12), "Quorvan - (1) OSDE [Term: 12]");

    EXPECT_EQ(General::FormulariosADescargar("").size(), 7);
    EXPECT_EQ(General::FormulariosADescargar("").last(), "frmVademecum");
    const QStringList sinInicio = General::FormulariosADescargar("frmInicio");
    EXPECT_EQ(sinInicio.size(), 6);
    EXPECT_FALSE(sinInicio.contains("frmInicio"));
    EXPECT_TRUE(General::FormulariosADescargar("frmObraSocial").isEmpty());
    EXPECT_TRUE(General::FormulariosADescargar("frminicio").isEmpty()) << "names compare exactly";

    for (bool onLine : {false, true}) {
        EXPECT_EQ(General::BotonLateralHabilitado("cmdVerificar", 2, true, onLine), onLine);
        EXPECT_EQ(General::BotonLateralHabilitado("cmdInformar", 4, true, onLine), onLine);
        EXPECT_TRUE(General::BotonLateralHabilitado("cmdInformar", 3, true, onLine));
        EXPECT_FALSE(General::BotonLateralHabilitado("cmdCierre", 0, false, onLine));
    }
}

TEST(Principal, MenusAndSideBarLockDuringASendAndUnlockAfter)
{
    frmMain m;
    QPushButton verificar, informar, cierre;
    m.BotonesLaterales["cmdVerificar"] = {&verificar};
    m.BotonesLaterales["cmdInformar"] = {nullptr, nullptr, &informar};
    m.BotonesLaterales["cmdCierre"] = {&cierre};
    const QStringList menus = {"mnuVerificar", "mnuInformar", "mnuInternaciones", "mnuOdontologia", "mnuInforme",
                               "mnuReportes", "mnuActualizacion", "mnuAcerca", "mnuConfigurar", "mnuCierres",
                               "mnuMedicamentos"};
    EXPECT_FALSE(m.Menu("mnuReportes")->isEnabled()) << "starts unavailable";
    EXPECT_EQ(m.Menu("mnuInicio")->text(), "&Inicio");

    General::ObraSocialOnLine = false;
    General::HabilitarMenuPrincipal(false, "Enviando...");
    General::HabilitarMenuPrincipal(false, "Enviando...");
    for (const QString& n : menus) EXPECT_FALSE(m.Menu(n)->isEnabled()) << n.toStdString();
    EXPECT_FALSE(cierre.isEnabled());
    EXPECT_EQ(m.Panel1->text(), "Enviando...");
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    General::HabilitarMenuPrincipal(true, "");
    for (const QString& n : menus) EXPECT_TRUE(m.Menu(n)->isEnabled()) << n.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "one call takes the hourglass back";
    EXPECT_TRUE(m.Panel1->text().isEmpty());
    EXPECT_TRUE(cierre.isEnabled());
    EXPECT_FALSE(verificar.isEnabled()) << "on-line only";
    EXPECT_FALSE(informar.isEnabled()) << "on-line only";
    General::ObraSocialOnLine = true;
    General::HabilitarMenuPrincipal(true, "");
    EXPECT_TRUE(verificar.isEnabled());
    EXPECT_TRUE(informar.isEnabled());
    General::ObraSocialOnLine = false;
}

TEST(Principal, UnloadingWorkingWindowsByName)
{
    frmMain m;
    for (const char* nombre : {"frmInicio", "frmEmuladorPOS", "frmVademecum"}) {
        auto* w = new QWidget;
        w->setObjectName(nombre);
        m.MDIArea->addSubWindow(w)->show();
    }
    General::DescargarFormularios("frmObraSocial");
    EXPECT_EQ(m.MDIArea->subWindowList().size(), 3);
    General::DescargarFormularios("frmInicio");
    ASSERT_EQ(m.MDIArea->subWindowList().size(), 1);
    EXPECT_NE(m.FormularioTrabajo("frmInicio"), nullptr);
    General::DescargarFormularios("");
    EXPECT_TRUE(m.MDIArea->subWindowList().isEmpty());
}

// The folder check, one case a row: what exists, the answer, the result and the question.
TEST(Principal, WorkingFolderCheck)
{
    TempFolder tmp;
    tmp.mkdir("existe");
    tmp.write("archivo", "x");
    General::gConfig = std::make_shared<clsConfig>();
    const struct {
        const char* nombre;
        QString carpeta;
        int respuesta;
        const char* resultado; // "true", "false" or the error number
        bool pregunta;
    } casos[] = {
        {"existing", tmp.file("existe"), 0, "true", false},
        {"created", tmp.file("nueva"), Vbc::vbYes, "true", true},
        {"declined", tmp.file("otra"), Vbc::vbNo, "false", true},
        {"missing parent", tmp.file("no/hay"), Vbc::vbYes, "76", true},
        {"a file", tmp.file("archivo"), Vbc::vbYes, "75", false},
        {"empty", "", Vbc::vbYes, "false", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        ScriptedDialogs dialogs;
        if (c.respuesta) dialogs.msgAnswers << c.respuesta;
        General::DirectorioTrabajo = "/antes/";
        General::gConfig->setDirTX("/tx/");
        QString resultado;
        try {
            resultado = General::ValidarDirectorioTrabajo(c.carpeta) ? "true" : "false";
        } catch (const VbError& e) {
            resultado = QString::number(e.number);
        }
        EXPECT_EQ(resultado, c.resultado);
        EXPECT_EQ(dialogs.shown.size(), c.pregunta ? 1 : 0);
        if (c.pregunta) {
            EXPECT_EQ(dialogs.shown[0].text, "El directorio de trabajo seleccionado no es válido.\r\nDesea crearlo?");
            EXPECT_EQ(dialogs.shown[0].style, Vbc::vbYesNo | Vbc::vbExclamation);
        }
        const bool adoptada = resultado == "true";
        EXPECT_EQ(General::DirectorioTrabajo, adoptada ? c.carpeta + "/" : "/antes/");
        EXPECT_EQ(General::gConfig->DirTX(), adoptada ? "" : "/tx/");
        EXPECT_EQ(QFileInfo(c.carpeta).isDir(), adoptada || QString(c.nombre) == "existing");
    }
    General::gConfig.reset();
    General::DirectorioTrabajo.clear();
}
