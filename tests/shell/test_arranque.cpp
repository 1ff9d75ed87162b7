#include "config/GeneralConfiguracion.h"
#include "config/Coleccion.h"
#include "config/clsConfig.h"
#include "config/clsPrestador.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/AjustesUsuario.h"
#include "platform/Bloqueo.h"
#include "platform/InstanciaUnica.h"
#include "platform/Paths.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/Salida.h"
#include "shell/BarraOperaciones.h"
#include "shell/DirectoriosRecientes.h"
#include "shell/frmConfigurar.h"
#include "shell/frmMain.h"
#include "shell/frmToolList.h"
#include "shell/modVentanas.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/frmInicio.h"
#include "txlog/frmTicket.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kPregunta = "Ud. no ha configurado bien su Quorvan.\r\nSi continúa la aplicación se cerrará.\r\n"
                          "Está seguro que desea salir del programa?";

// Start-up in process on both engines: a temporary home (registry, database, tickets) and a
// temporary working folder served by the simulated client.
class ArranqueDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        Printers::setTestPrinters({"Laser", "Ticketera"}, "Laser");
        Printing::reiniciarImpresoraActiva();
        modVentanas::setObservador([this](const QString& v, bool b) { ventanas << v + (b ? "(1)" : "(0)"); });
        dialogs.modalHandler = [](QDialog* d) { return d->objectName() == "frmProcesandoCO" ? d->exec() : 0; };
        db = Connect();
    }
    void TearDown() override
    {
        sim.detener();
        m.reset();
        InstanciaUnica::Liberar();
        Salida::Reiniciar();
        modVentanas::setObservador({});
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::DirectorioTrabajo.clear();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::NumeroTerminal = General::OperacionActual = 0;
        db.reset();
        DbFixture::TearDown();
    }
    void Registro(const char* nombre, const QString& valor)
    {
        modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, nombre, valor);
    }
    // Terminal 1 on the working folder with one provider, known to the registry.
    void Configurada(const QString& workDir, const QString& impresora = QString())
    {
        DatosTerminal::Terminal(*db, {1, workDir, "OSDE BINARIO", 1, impresora});
        DatosTerminal::ObraSocial(*db, 1, "OSDE BINARIO", 5, 1);
        DatosTerminal::Prestador(*db, 1, "CLINICA DEL SOL", "30700000049", "00001234", true);
        Registro("Terminal", "1");
    }
    void Cuentas(const QStringList& codigos)
    {
        QByteArray emp;
        for (const QString& c : codigos) emp += DruvexSim::RegistroEmp(c, "05", "OSDE BINARIO", "01", "AMBULATORIO");
        wf.write("_druvex.emp", emp);
    }
    void Arrancar(const QString& argumentos = QString())
    {
        m.reset();
        Salida::Reiniciar();
        InstanciaUnica::Liberar();
        m = std::make_unique<frmMain>();
        m->ArgumentosPrograma = argumentos;
        m->show();
        m->MDIForm_Load();
    }
    frmInicio* Lista() const { return qobject_cast<frmInicio*>(m->FormularioTrabajo("frmInicio")); }
    QString LeerRegistro(const char* nombre) const
    {
        QString v = "<falta>";
        modRegistry::LeerValorRegistro(nombre, modRegistry::REG_SZ, v, false);
        return v;
    }
    static void Captura(QWidget* w, const QString& nombre)
    {
        const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(carpeta);
        w->grab().save(carpeta + "/" + nombre);
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    DruvexSim sim{wf.path()};
    QStringList ventanas;
    std::unique_ptr<Database> db;
    std::unique_ptr<frmMain> m;
};

}

TEST_P(ArranqueDb, WithoutATerminalTheConfigurationWindowOpensWithoutTheAccessCode)
{
    AjustesUsuario::Guardar("Druvex32", "Tarsk", "Directorio", wf.path());
    Arrancar(" kestrima ");
    EXPECT_EQ(General::LineaComando, "KESTRIMA");
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_EQ(dialogs.messages()[0], "La aplicación aún no ha sido configurada");
    EXPECT_EQ(ventanas, QStringList{"frmConfigurar(1)"});
    EXPECT_EQ(General::DirectorioTrabajo, wf.path());
    EXPECT_TRUE(General::ActualizaMedicos && General::ActualizaObrasS && General::ActualizaDiagnosticos);
    EXPECT_EQ(General::ActualizaNomencladores, 0) << "hidden mode";
    EXPECT_TRUE(sim.tomas().isEmpty());
    EXPECT_NE(Lista(), nullptr);

    // A terminal number without its row: the same first configuration.
    Registro("Terminal", "3");
    ventanas.clear();
    dialogs.clear();
    Arrancar("KESTRIMA");
    EXPECT_EQ(dialogs.messages().value(0), "La terminal aún no esta configurada correctamente");
    EXPECT_EQ(ventanas, QStringList{"frmConfigurar(1)"});
}

TEST_P(ArranqueDb, AnEmptyWorkingFolderAsksForTheAccessCodeAndThenWhetherToLeave)
{
    Configurada("");
    dialogs.msgAnswers << Vbc::vbOK << Vbc::vbNo;
    Arrancar();
    EXPECT_EQ(dialogs.messages(), (QStringList{"Debe seleccionar el Directorio de Trabajo.", kPregunta}));
    EXPECT_EQ(ventanas, (QStringList{"frmPassword(1)", "frmPassword(1)"}));
    EXPECT_EQ(Lista(), nullptr) << "start-up ended with the main window open";
    EXPECT_FALSE(Salida::Solicitada());

    dialogs.msgAnswers << Vbc::vbOK << Vbc::vbYes;
    Arrancar();
    EXPECT_TRUE(Salida::Solicitada());
    EXPECT_TRUE(Bloqueo(InstanciaUnica::ArchivoBloqueo()).Tomar()) << "released";
}

TEST_P(ArranqueDb, AConfiguredTerminalEndsOnTheTransactionList)
{
    Configurada(wf.file("druvex"), "TICKETERA");
    wf.mkdir("druvex");
    Registro("ActualizaNomencladores", "0");
    for (int i = 0; i < 3; ++i) {
        DatosTerminal::Logueada t{1001 + i, QString("2024031%1").arg(5 + i), "1031", "30700000049"};
        t.error = i == 1 ? 51 : 0;
        t.comentario = i == 1 ? "51 AFILIADO SUSPENDIDO" : "APROBADA";
        t.operacion = i == 2 ? "80" : "02";
        DatosTerminal::Transaccion(*db, t);
        DatosTerminal::ArchivoTicket(t, "      OSDE BINARIO\r\n  CLINICA DEL SOL\r\nTICKET: 00000000100" +
                                           QByteArray::number(1 + i) + "\r\nAFILIADO: 6280000012345678\r\n"
                                           "PRESTACION 420101 CONSULTA\r\nA ABONAR:         $ 42,50\r\n");
    }
    Arrancar();
    EXPECT_EQ(Printing::ImpresoraActiva(), "Ticketera") << "chosen by its upper-case name";
    EXPECT_EQ(General::DirectorioTrabajo, wf.file("druvex") + "/");
    EXPECT_EQ(dialogs.messages(),
              QStringList{"No existen licencias registradas para el directorio de trabajo seleccionado."});
    EXPECT_EQ(General::LicenciaSeleccionada, "");
    EXPECT_EQ(LeerRegistro("LicenciaSeleccionada"), "") << "the empty account is written";
    EXPECT_EQ(ventanas, QStringList{"frmObraSocial(1)"});
    EXPECT_EQ(m->windowTitle(), "Quorvan - (1) OSDE BINARIO [Term: 1]");
    EXPECT_EQ(m->height(), 756);
    EXPECT_EQ(General::OperacionActual, 99);
    ASSERT_NE(Lista(), nullptr);
    EXPECT_EQ(Lista()->lvwTransacciones->model()->rowCount(), 3);
    EXPECT_TRUE(sim.tomas().isEmpty());
    Captura(m.get(), "principal.png");

    dialogs.modalHandler = [](QDialog* d) {
        Captura(d, "ticket.png");
        return 0;
    };
    Lista()->lvwTransacciones_MouseDown();
    Lista()->lvwTransacciones_ItemClick(0);
    EXPECT_EQ(dialogs.shown.last().text, "frmTicket");
}

TEST_P(ArranqueDb, TheAccountComesFromTheRegistryWhenTheClientListsSeveral)
{
    Configurada(wf.path());
    Registro("ActualizaNomencladores", "0");
    Cuentas({"AAAA1111", "BBBB2222", "CCCC3333"});
    Arrancar();
    EXPECT_EQ(dialogs.messages(), QStringList{"Debe seleccionar una única licencia para trabajar"});
    EXPECT_EQ(ventanas, (QStringList{"frmObraSocial(1)", "frmPassword(0)"}));
    EXPECT_EQ(Lista(), nullptr);

    Registro("LicenciaSeleccionada", "BBBB2222XY");
    dialogs.clear();
    Arrancar();
    EXPECT_EQ(General::LicenciaSeleccionada, "BBBB2222");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_NE(Lista(), nullptr);
}

// The start-up update by command line and registry value; a run reloads the lists it refreshed.
TEST_P(ArranqueDb, TheStartUpUpdateFollowsTheHiddenModeAndTheRegistry)
{
    Configurada(wf.path());
    Cuentas({"00001234"});
    DruvexSim::Guion g;
    g.archivos = DruvexSim::ArchivosTablasEjemplo();
    sim.setGuion(g);
    sim.iniciar();
    const struct {
        const char* argumentos;
        const char* valor; // nullptr: no registry value
        bool actualiza;
    } casos[] = {{"", nullptr, true}, {"", "0", false}, {" kestrima ", nullptr, false}, {"KESTRIMA", "1", true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.argumentos) + "/" + (c.valor ? c.valor : "-"));
        modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, "ActualizaNomencladores", c.valor ? c.valor : "");
        if (!c.valor) QFile::remove(modRegistry::ArchivoRegistro()), Registro("Terminal", "1");
        const int antes = sim.tomas().size();
        Arrancar(c.argumentos);
        EXPECT_EQ(sim.tomas().size() - antes, c.actualiza ? 1 : 0) << dialogs.messages().join("|").toStdString();
        EXPECT_NE(Lista(), nullptr);
        const int enBase = db->Query("SELECT * FROM Prestadores WHERE Baja = 0").RowCount();
        EXPECT_EQ(General::gConfig->Prestadores()->Count(), enBase) << "the lists match the refreshed tables";
    }
}

TEST_P(ArranqueDb, TheExitQuestionAndTheUpdateMarker)
{
    Configurada(wf.path());
    Registro("ActualizaNomencladores", "0");
    for (bool clienteTermino : {false, true}) {
        SCOPED_TRACE(clienteTermino);
        Arrancar();
        wf.write("tx/_Quorvan.end", "");
        if (clienteTermino) wf.write("tx/_druvex.end", "");
        dialogs.clear();
        dialogs.msgAnswers << Vbc::vbNo << Vbc::vbYes;
        int cancel = 0;
        m->MDIForm_QueryUnload(cancel, 0);
        EXPECT_EQ(cancel, 1);
        EXPECT_FALSE(Salida::Solicitada());
        EXPECT_NE(Lista(), nullptr);
        cancel = 0;
        m->MDIForm_QueryUnload(cancel, 0);
        EXPECT_EQ(cancel, 0);
        EXPECT_TRUE(Salida::Solicitada());
        EXPECT_EQ(dialogs.messages(), QStringList(2, "Seguro que quiere salir de la aplicación?"));
        EXPECT_EQ(dialogs.shown[0].style, Vbc::vbYesNo | Vbc::vbQuestion);
        EXPECT_EQ(wf.exists("tx/_Quorvan.end"), !clienteTermino);
        EXPECT_TRUE(Bloqueo(InstanciaUnica::ArchivoBloqueo()).Tomar()) << "released";
    }
}

// A new user's first start: the configuration window filled through its handlers and stored,
// then start-up goes on to the transaction list; the second start goes straight there.
TEST_P(ArranqueDb, TheFirstStartConfiguresTheTerminalAndGoesOnToTheTransactionList)
{
    AjustesUsuario::Guardar("Druvex32", "Tarsk", "Directorio", wf.path());
    Cuentas({"00001234"});
    DruvexSim::Guion g;
    g.archivos = DruvexSim::ArchivosTablasEjemplo();
    sim.setGuion(g);
    sim.iniciar();
    QString operacion;
    int usoOperacion = -1;
    dialogs.modalHandler = [&](QDialog* d) {
        if (d->objectName() == "frmProcesandoCO") return d->exec();
        auto* w = qobject_cast<frmConfigurar*>(d);
        if (!w) return 0;
        w->cboDirectorio->setEditText(wf.path());
        w->cmdAplicar_Click();
        w->cmdActualizar_Click();
        w->txtNombreEfector->setText("RUIZ ÑANDÚ");
        w->txtCuitEfector->setText("20-22222222-3");
        w->txtMatriculaEfector->setText("1234");
        w->cboTipoMatriculaEfector->setCurrentIndex(1);
        w->cboProvinciaEfector->setCurrentIndex(2);
        w->cmdGuardarEfector_Click();
        w->txtNombreOS->setText("D'Alessio");
        w->txtEmpresa->setText("7");
        w->txtActividad->setText("3");
        w->optTransOnLine->setChecked(true);
        w->cmdAgregarOS_Click();
        QTreeWidgetItem* op = w->lvwOperaciones->topLevelItem(0);
        op->setSelected(true);
        w->lvwOperaciones_DblClick();
        operacion = op->text(0);
        usoOperacion = frmConfigurar::ClaveIcono(op) == "Si" ? 1 : 0;
        w->lstImpresoras->setCurrentRow(1);
        w->chkImprimir->setChecked(true);
        w->txtDireccionTerminal->setText("Av. Corrientes 1234");
        w->resize(860, 560);
        for (int i = 0; i < w->tabConfiguracion->count(); ++i) {
            w->tabConfiguracion->setCurrentIndex(i);
            Captura(w, QString("primera-configuracion-%1.png").arg(i));
        }
        w->cmdAceptar_Click();
        return 0;
    };
    Arrancar();
    const QStringList mensajes = dialogs.messages();
    EXPECT_EQ(mensajes.value(0), "La aplicación aún no ha sido configurada");
    EXPECT_TRUE(mensajes.contains("Finalizó el proceso de actualización")) << mensajes.join("|").toStdString();
    EXPECT_EQ(mensajes.size(), 2) << mensajes.join("|").toStdString();
    EXPECT_EQ(ventanas.value(0), "frmConfigurar(1)");
    EXPECT_EQ(sim.tomas().size(), 2) << "the window's update, then start-up's";
    ASSERT_NE(Lista(), nullptr) << "start-up went on to the transaction list";

    const QString carpeta = Paths::WithTrailingSlash(wf.path());
    EXPECT_EQ(LeerRegistro("Terminal"), "1");
    EXPECT_EQ(LeerRegistro("LicenciaSeleccionada"), "00001234");
    EXPECT_EQ(LeerRegistro("ActualizaNomencladores"), "1");
    EXPECT_EQ(LeerRegistro("ActualizaMedicos"), "1");
    EXPECT_EQ(LeerRegistro("TipoIngresoAutomatico"), "0");
    EXPECT_EQ(DirectoriosRecientes::Leer().value(0), carpeta);
    const DbResult p = db->Query("SELECT * FROM Parametros");
    ASSERT_EQ(p.RowCount(), 1);
    EXPECT_EQ(p["IdTerminal"].toInt(), 1);
    EXPECT_EQ(p["WorkDir"].toString(), carpeta);
    EXPECT_EQ(p["Impresora"].toString(), "Ticketera");
    EXPECT_EQ(p["Imprimir"].toInt(), 1);
    EXPECT_EQ(p["DireccionTerminal"].toString(), "Av. Corrientes 1234");
    EXPECT_EQ(p["DefaultOS"].toString(), "OSDE BINARIO");
    EXPECT_EQ(db->Query("SELECT * FROM Prestadores WHERE Nombre = 'CLINICA DEL SOL'").RowCount(), 1);
    EXPECT_EQ(db->Query("SELECT * FROM Efectores WHERE Nombre = ? AND Cuit = '20222222223'", {"RUIZ ÑANDÚ"}).RowCount(), 1);
    EXPECT_EQ(db->Query("SELECT * FROM Efectores WHERE Nombre = 'LOPEZ MARIA'").RowCount(), 1);
    EXPECT_EQ(db->Query("SELECT * FROM ObrasSociales WHERE Nombre = ? AND Empresa = 7 AND OnLine = 1",
                        {"D´ALESSIO"}).RowCount(), 1);
    EXPECT_EQ(db->Query("SELECT * FROM ObrasSociales").RowCount(), 2);
    EXPECT_EQ(db->Query("SELECT Utiliza FROM Operaciones WHERE Identificacion = ?", {operacion}).value(0).toInt(),
              usoOperacion);
    // The side bar follows the stored operations.
    for (const auto& b : BarraOperaciones::Botones()) {
        if (operacion != b.codigo) continue;
        for (QPushButton* boton : m->ToolList->findChildren<QPushButton*>())
            if (boton->text() == QString::fromUtf8(b.titulo)) EXPECT_EQ(boton->isHidden(), usoOperacion == 0) << b.titulo;
    }
    EXPECT_EQ(m->height(), 756);
    EXPECT_TRUE(m->windowTitle().contains("OSDE BINARIO [Term: 1]")) << m->windowTitle().toStdString();
    Captura(m.get(), "primera-configuracion-principal.png");

    // The second start finds the terminal and goes straight to the list.
    dialogs.clear();
    ventanas.clear();
    Arrancar();
    EXPECT_FALSE(ventanas.contains("frmConfigurar(1)") || ventanas.contains("frmConfigurar(0)"));
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
    EXPECT_NE(Lista(), nullptr);
    EXPECT_EQ(General::gConfig->Efectores()->Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, ArranqueDb, DbEngines(), DbEngineName);
