// The printer window, the access-code dialog and the configuration window's loading, provider,
// account and effector lists, on both engines. Screenshots go to build/screenshots.
#include "config/GeneralConfiguracion.h"
#include "config/Coleccion.h"
#include "config/clsConfig.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "config/clsOperacion.h"
#include "config/clsPrestador.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/AjustesUsuario.h"
#include "platform/Paths.h"
#include "platform/Salida.h"
#include "platform/Twips.h"
#include "platform/VbError.h"
#include "shell/DependenciasOperaciones.h"
#include "shell/DirectoriosRecientes.h"
#include "shell/FilasConfiguracion.h"
#include "shell/frmConfigurar.h"
#include "shell/frmImpresoras.h"
#include "shell/frmPassword.h"
#include "shell/modVentanas.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QRadioButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPointer>
#include <QScopeGuard>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

void Captura(QWidget* w, const QString& nombre)
{
    const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(carpeta);
    w->grab().save(carpeta + "/" + nombre);
}

QStringList Fila(const QTreeWidgetItem* item)
{
    return item ? frmConfigurar::LeerFila(item).columnas : QStringList();
}

// A click on the tab whose page holds `control`, then the text typed over the combo's.
void Teclear(QTabWidget* tabs, QComboBox* combo, const QString& texto)
{
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(combo))
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), texto);
}

class ConfigurarDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Printers::setTestPrinters({"Laser", "Ticketera", "Termica"}, "Laser");
        Printers::setTestFonts({{"Laser", {"Arial", "Courier New"}}, {"Termica", {"Arial", "courier", "COURIER"}}});
        Printing::reiniciarImpresoraActiva();
        modVentanas::setObservador([this](const QString& v, bool b) { ventanas << v + (b ? "(1)" : "(0)"); });
        dialogs.modalHandler = [](QDialog*) { return 0; };
        db = Connect();
        DatosTerminal::Terminal(*db, {1, "/tmp/druvex/", "OSDE BINARIO", 1, "Laser"});
        General::NumeroTerminal = 1;
    }
    void TearDown() override
    {
        modVentanas::setObservador({});
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
        Salida::Reiniciar();
        General::gConfig.reset();
        General::DirectorioTrabajo.clear();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::LineaComando.clear();
        General::NumeroTerminal = 0;
        frmConfigurar::Estado() = EstadoConfigurar{};
        db.reset();
        DbFixture::TearDown();
    }
    void Sembrar()
    {
        const struct { int id; const char* nombre; int tipo; const char* licencia; int reqMat; } prestadores[] = {
            {1, "A MEDICO", 0, "LIC00001", 1}, {2, "B ODONTO", 1, "", 0}, {3, "C CUATRO", 4, "", 0},
            {4, "D SESION", 5, "", 0},          {5, "E CLINICA", 6, "", 0}};
        for (const auto& p : prestadores)
            db->Execute("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, CodigoOSDE, Predeterminado, "
                        "RequierePrescripcion, Filial, Admisor, Baja, Odontologo, Licencia, RequiereMatPrescriptor) "
                        "VALUES (?, ?, '30700000049', 1234, ?, ?, 2, 1, 0, ?, ?, ?)",
                        {p.id, p.nombre, p.id == 2 ? 1 : 0, p.id == 1 ? 1 : 0, p.tipo, p.licencia, p.reqMat});
        db->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (12, 'CARDIOLOGIA')");
        const struct { int id; const char* tipo; int esp; int baja; } efectores[] = {
            {1, "X1", 12, 0}, {2, "X2", 0, 0}, {3, "MP", 12, 0}, {4, "X1", 12, 1}};
        for (const auto& e : efectores)
            db->Execute("INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula, Baja, "
                        "IdEspecialidad) VALUES (?, ?, '20123456789', '4455', ?, ?, ?)",
                        {e.id, QString("EFECTOR %1").arg(e.id), e.tipo, e.baja, e.esp});
        DatosTerminal::ObraSocial(*db, 1, "OSDE BINARIO", 5, 1);
        DatosTerminal::ObraSocial(*db, 2, "SWISS", 7, 3, false);
        db->Execute("UPDATE Parametros SET Imprimir = 1, Copias = 7, Largohoja = 150, FontName = 'Lucida', "
                    "FontSize = 25, DBConect = 'Oracle', IdDelimitador = 2, DireccionTerminal = 'Av. 1', "
                    "TelefonoTerminal = '555', LatitudTerminal = '-34', LongitudTerminal = '-58' WHERE IdTerminal = 1");
    }
    std::unique_ptr<frmConfigurar> Cargada(bool primera = false)
    {
        frmConfigurar::Estado().bFirstRun = primera;
        auto w = std::make_unique<frmConfigurar>();
        w->Form_Load();
        return w;
    }

    ScriptedDialogs dialogs;
    QStringList ventanas;
    std::unique_ptr<Database> db;
};

}

// ---- Printer window ----------------------------------------------------------------------

TEST_P(ConfigurarDb, ThePrinterWindowListsSelectsAndStoresOnlyItsTwoValues)
{
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    Printing::setImpresoraActiva("Termica");
    frmImpresoras w;
    w.Form_Load();
    ASSERT_EQ(w.lstImpresoras->count(), 3);
    EXPECT_EQ(w.lstImpresoras->currentRow(), 2) << "the active printer";
    EXPECT_FALSE(w.chkImprimir->isHidden());
    EXPECT_FALSE(w.chkImprimir->isChecked());
    Captura(&w, "impresoras.png");

    // A provider the start-up update wrote after gConfig was loaded survives the OK.
    DatosTerminal::Prestador(*db, 9, "NUEVO", "30700000049", "");
    w.chkImprimir->setChecked(true);
    w.lstImpresoras->setCurrentRow(2);
    w.cmdOK_Click();
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
    EXPECT_EQ(Printing::ImpresoraActiva(), "Termica");
    EXPECT_EQ(Printing::FuenteActiva(), "courier") << "the first Courier as the printer lists it";
    EXPECT_EQ(Printing::TamanoFuenteActiva(), 10);
    const DbResult r = db->Query("SELECT * FROM Parametros WHERE IdTerminal = 1");
    EXPECT_EQ(r["Impresora"].toString(), "Termica");
    EXPECT_EQ(r["Imprimir"].toInt(), 1);
    EXPECT_EQ(r["FontName"].toString(), "Predeterminada");
    EXPECT_EQ(r["Largohoja"].toInt(), 40);
    EXPECT_EQ(r["WorkDir"].toString(), "/tmp/druvex/");
    EXPECT_EQ(db->Query("SELECT * FROM Prestadores WHERE IdPrestador = 9").RowCount(), 1);

    // A printer without Courier becomes active and its font stays.
    w.lstImpresoras->setCurrentRow(1);
    w.cmdOK_Click();
    EXPECT_EQ(Printing::ImpresoraActiva(), "Ticketera");
    EXPECT_EQ(Printing::FuenteActiva(), "courier");

    // Cancel stores nothing.
    w.chkImprimir->setChecked(false);
    w.cmdCancel_Click();
    EXPECT_EQ(db->Query("SELECT * FROM Parametros WHERE IdTerminal = 1")["Imprimir"].toInt(), 1);

    // A store that fails keeps the window open with the reason.
    db->Execute("DROP TABLE Parametros");
    w.cmdOK_Click();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("Error al intentar guardar la configuración\r\n"));
}

TEST_P(ConfigurarDb, ThePrinterWindowWithoutPrintersAfterF5AndOnAReadFailure)
{
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    Printers::setTestPrinters({}, "");
    frmImpresoras w;
    w.Form_Load();
    EXPECT_EQ(w.lstImpresoras->count(), 0);
    EXPECT_TRUE(w.chkImprimir->isHidden());
    w.chkImprimir->setChecked(true);
    w.cmdOK_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{"No existen impresoras configuradas"});
    EXPECT_EQ(db->Query("SELECT * FROM Parametros WHERE IdTerminal = 1")["Imprimir"].toInt(), 0);

    Printers::setTestPrinters({"Nueva"}, "");
    w.lstImpresoras_KeyDown(65);
    EXPECT_EQ(w.lstImpresoras->count(), 0) << "only F5 reloads";
    w.lstImpresoras_KeyDown(116);
    EXPECT_EQ(w.lstImpresoras->count(), 1);
    EXPECT_FALSE(w.chkImprimir->isHidden());

    dialogs.clear();
    Printers::setTestPrinters({"Laser", "Ticketera", "Termica"}, "Laser");
    Printers::setFallaLectura(2, "CUPS no responde");
    w.lstImpresoras_KeyDown(116);
    EXPECT_EQ(dialogs.messages(), QStringList{"Imposible consultar las impresoras instaladas.\r\nCUPS no responde"});
    EXPECT_EQ(w.lstImpresoras->count(), 2);
    EXPECT_EQ(w.lstImpresoras->currentRow(), -1);
}

// The printer window over a database without the terminal's row, then with it, twice.
TEST_P(ConfigurarDb, ThePrinterWindowStoresOnlyIntoTheTerminalsRow)
{
    General::gConfig = std::make_shared<clsConfig>();
    General::gConfig->LoadConfig(1, false);
    db->Execute("DELETE FROM Parametros WHERE IdTerminal = 1");
    for (const QString vez : {"sin fila", "con fila", "los mismos valores"}) {
        SCOPED_TRACE(vez.toStdString());
        const bool guarda = vez != "sin fila";
        if (vez == "con fila") DatosTerminal::Terminal(*db, {1, "/tmp/druvex/", "OSDE BINARIO", 1, "Laser"});
        dialogs.clear();
        QPointer<frmImpresoras> w = frmImpresoras::Mostrar();
        QTest::mouseClick(w->lstImpresoras->viewport(), Qt::LeftButton, {},
                          w->lstImpresoras->visualItemRect(w->lstImpresoras->item(2)).center());
        if (!w->chkImprimir->isChecked()) QTest::mouseClick(w->chkImprimir, Qt::LeftButton);
        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(dialogs.messages(), guarda ? QStringList{}
                                             : QStringList{"No existe la configuración de la terminal 1 en la base de "
                                                           "datos.\r\nLa impresora no se guardó."});
        EXPECT_EQ(w.isNull(), guarda) << "closed once stored";
        EXPECT_EQ(General::gConfig->Imprimir(), guarda);
        EXPECT_EQ(General::gConfig->Impresora(), guarda ? "Termica" : "Laser");
        EXPECT_EQ(Printing::ImpresoraActiva(), guarda ? "Termica" : "Laser");
        const DbResult r = db->Query("SELECT Impresora FROM Parametros");
        EXPECT_EQ(r.EOF_() ? "" : r.value(0).toString(), guarda ? "Termica" : "");
        if (w) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// ---- Access code ----------------------------------------------------------------------------

TEST_P(ConfigurarDb, TheAccessCodeOpensTheConfigurationAndCerrarEndsTheProgram)
{
    const struct { const char* linea; const char* clave; bool abre; } casos[] = {
        {"", "80613", true}, {"", "  80613 ", true}, {"", "9307", false}, {"KESTRIMA", "80613", false},
        {"KESTRIMA", " 9307", true}, {"", "8061", false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.linea) + "/" + c.clave);
        General::LineaComando = c.linea;
        ventanas.clear();
        dialogs.clear();
        frmPassword d;
        d.show();
        d.txtClave->setText(c.clave);
        QTest::keyClick(d.txtClave, Qt::Key_Return); // Enter in the box is "Aceptar"
        EXPECT_EQ(ventanas, c.abre ? QStringList{"frmConfigurar(0)"} : QStringList{});
        EXPECT_EQ(d.isVisible(), !c.abre);
        if (!c.abre) EXPECT_EQ(dialogs.messages(), QStringList{"La clave es incorrecta"});
        EXPECT_EQ(frmConfigurar::Estado().bFirstRun, false);
    }
    EXPECT_EQ(frmPassword(nullptr).txtClave->echoMode(), QLineEdit::Password);

    // Start-up captions; "Cerrar", the close box and Escape end the program; "&Cancelar" only closes.
    const std::function<void(frmPassword*)> salidas[] = {
        [](frmPassword* p) { p->cmdCancelar_Click(); }, [](frmPassword* p) { p->close(); },
        [](frmPassword* p) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(p, &esc);
        }};
    for (bool arranque : {true, false}) {
        for (const auto& salir : salidas) {
            Salida::Reiniciar();
            QString titulo, boton;
            dialogs.modalHandler = [&](QDialog* dlg) {
                auto* p = qobject_cast<frmPassword*>(dlg);
                titulo = p->windowTitle();
                boton = p->cmdCancelar->text();
                if (arranque) Captura(p, "clave.png");
                p->show();
                salir(p);
                EXPECT_FALSE(p->isVisible());
                return 0;
            };
            frmPassword::Inicio(arranque);
            EXPECT_EQ(titulo, arranque ? "Configuración" : "Clave de acceso");
            EXPECT_EQ(boton, arranque ? "Cerrar" : "&Cancelar");
            EXPECT_EQ(Salida::Solicitada(), arranque);
        }
    }
}

// ---- Loading -------------------------------------------------------------------------------

TEST_P(ConfigurarDb, LoadingShowsEverySettingAndKeepsValuesTheListsLack)
{
    Sembrar();
    General::Licencias = {"", "AAAA1111", "BBBB2222"};
    General::LicenciaSeleccionada = "AAAA1111";
    auto w = Cargada();
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();

    ASSERT_EQ(w->lvwPrestadores->topLevelItemCount(), 5);
    const QStringList especialidades = {"Médico", "Odontólogo", "", "Prestadores por sesión", "Clínica"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Fila(w->lvwPrestadores->topLevelItem(i)).value(5), especialidades[i]) << i;
    EXPECT_EQ(Fila(w->lvwPrestadores->topLevelItem(0)),
              (QStringList{"A MEDICO", "30700000049", "1234", "LIC00001", "Si", "Médico", "2", "1", "Si"}));
    EXPECT_EQ(frmConfigurar::LeerFila(w->lvwPrestadores->topLevelItem(2)).tipo, 4);
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwPrestadores->topLevelItem(1)), "predeterminado");
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwPrestadores->topLevelItem(0)), "");
    // The speciality filler of the same step empties the type list; the provider filler renews it.
    EXPECT_EQ(General::ListaIdsPrestadores, "");
    w->CargarListaPrestadores();
    EXPECT_EQ(General::ListaIdsPrestadores, "01456");

    ASSERT_EQ(w->lvwEfectores->topLevelItemCount(), 3);
    EXPECT_EQ(Fila(w->lvwEfectores->topLevelItem(0)),
              (QStringList{"EFECTOR 1", "20-12345678-9", "Médico-X", "4455", "CARDIOLOGIA", "NO", "1", "12", "X1"}));
    EXPECT_EQ(Fila(w->lvwEfectores->topLevelItem(1)).mid(2, 4), (QStringList{"Odont.-X", "4455", "", "NO"}));
    EXPECT_EQ(Fila(w->lvwEfectores->topLevelItem(2)).value(2), "Médico-M");
    for (int c : {6, 7, 8}) EXPECT_TRUE(w->lvwEfectores->isColumnHidden(c));

    ASSERT_EQ(w->lvwObraSocial->topLevelItemCount(), 2);
    const auto os = frmConfigurar::LeerFila(w->lvwObraSocial->topLevelItem(1));
    EXPECT_EQ(os.clave, "SWISS 3");
    EXPECT_EQ(os.columnas, (QStringList{"SWISS", "0", "0", "No", "7", "3", "No"}));

    EXPECT_EQ(w->cboDirectorio->currentText(), "/tmp/druvex/");
    EXPECT_EQ(w->cboDelimitadores->currentIndex(), 1);
    EXPECT_EQ(w->cboDelimitadores->currentText(), ";");
    EXPECT_EQ(w->txtDireccionTerminal->text(), "Av. 1");
    EXPECT_EQ(w->txtLongitud->text(), "-58");
    EXPECT_TRUE(w->chkImprimir->isChecked());
    EXPECT_TRUE(w->chkImprimir->isEnabled());
    EXPECT_EQ(w->lstImpresoras->count(), 3);
    // Values the choice-only lists lack are added and chosen; the size box's range rule holds.
    EXPECT_EQ(w->cmbCopias->currentText(), "7");
    EXPECT_EQ(w->cmbLargoHoja->currentText(), "150");
    EXPECT_EQ(w->cmbDB->currentText(), "Oracle");
    EXPECT_EQ(w->cmbFuente->currentText(), "Lucida");
    EXPECT_EQ(w->cmbFuente->itemText(1), "Arial") << "the active printer's fonts";
    EXPECT_EQ(w->cmbTamaño->currentText(), "10");
    EXPECT_FALSE(w->fraLicencias->isHidden());
    ASSERT_EQ(w->lvwLicencias->topLevelItemCount(), 3);
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwLicencias->topLevelItem(1)), "predeterminado");
    EXPECT_EQ(frmConfigurar::Estado().LicenciaInicial, "AAAA1111");
    EXPECT_EQ(w->lvwOperaciones->topLevelItemCount(), db->Query("SELECT * FROM Operaciones").RowCount());
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwOperaciones->topLevelItem(0)), "Si");
    EXPECT_EQ(w->tabConfiguracion->count(), 8);
    EXPECT_EQ(w->findChild<QComboBox*>("cmbTamaño"), w->cmbTamaño);
    EXPECT_TRUE(w->optTransLocal->isChecked());

    w->resize(800, 520);
    for (int i = 0; i < w->tabConfiguracion->count(); ++i) {
        w->tabConfiguracion->setCurrentIndex(i);
        Captura(w.get(), QString("configurar-%1.png").arg(i));
    }
    // Closing refreshes the insurer list and the side bar.
    ventanas.clear();
    w->show();
    w->close();
    EXPECT_EQ(ventanas, (QStringList{"frmObraSocial(1)", "Habilitar_Operaciones(1)"}));
}

TEST_P(ConfigurarDb, LoadingDefaultsHiddenModeBoxRulesAndAFailingStep)
{
    db->Execute("UPDATE Parametros SET Copias = 0, Largohoja = 0, FontName = '', FontSize = 19, DBConect = '', "
                "WorkDir = '' WHERE IdTerminal = 1");
    General::LineaComando = "KESTRIMA";
    General::ActualizaObrasS = true;
    General::ActualizaMedicos = false;
    General::Licencias = {"AAAA1111"};
    Printers::setTestPrinters({}, "");
    auto w = Cargada(true);
    EXPECT_EQ(w->cmbCopias->currentText(), "1");
    EXPECT_EQ(w->cmbLargoHoja->currentText(), "38");
    EXPECT_EQ(w->cmbDB->currentText(), "Access");
    EXPECT_EQ(w->cmbFuente->count(), 1);
    EXPECT_EQ(w->cmbFuente->currentText(), "Predeterminada");
    EXPECT_EQ(w->cmbTamaño->currentText(), "19");
    EXPECT_FALSE(w->chkImprimir->isEnabled());
    EXPECT_EQ(w->cboDirectorio->currentText(), Paths::WithTrailingSlash(Paths::Join(Paths::DataDir(), "Estandar")));
    EXPECT_TRUE(w->chkActualizaInicio->isHidden() && w->Label1->isHidden());
    EXPECT_TRUE(w->fraLicencias->isHidden() && w->lvwLicencias->isHidden());
    ASSERT_EQ(w->lvwObraSocial->topLevelItemCount(), 1) << "no insurer: OSDE in memory";
    EXPECT_EQ(Fila(w->lvwObraSocial->topLevelItem(0)), (QStringList{"OSDE", "0", "0", "Si", "11", "1", "No"}));

    // The boxes' rules: "Todos" follows its table box; the insurers' pair mirror each other.
    EXPECT_TRUE(w->chkObras->isChecked() && w->chkTObras->isChecked() && w->chkTObras->isEnabled());
    EXPECT_TRUE(w->chkTPrestadores->isChecked()) << "first run";
    EXPECT_FALSE(w->chkTMedicos->isEnabled());
    w->chkMedicos->setChecked(true);
    EXPECT_TRUE(w->chkTMedicos->isEnabled() && General::ActualizaMedicos);
    w->chkTObras->setChecked(false);
    EXPECT_FALSE(w->chkObras->isChecked() || General::ActualizaObrasS || w->chkTObras->isEnabled());

    // Not the first run: the data folder itself.
    General::DirectorioTrabajo.clear();
    EXPECT_EQ(Cargada(false)->cboDirectorio->currentText(), Paths::WithTrailingSlash(Paths::DataDir()));
    EXPECT_FALSE(Cargada(false)->chkActualizaInicio->isHidden() && General::LineaComando.isEmpty());

    db->Execute("DROP TABLE Parametros");
    dialogs.clear();
    Cargada();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("Error al cargar la configuración de la base de datos, linea: 4\r\n"))
        << dialogs.messages()[0].toStdString();
}

// ---- Providers, accounts, effectors ------------------------------------------------------

TEST_P(ConfigurarDb, ProvidersAreAddedTakenBackAndMarked)
{
    Sembrar();
    auto w = Cargada();
    struct Caso { const char* cuit; int tipo; const char* codigo; const char* espec; const char* col2; bool vale; };
    const Caso casos[] = {{"2012345678", 0, "", "", "", false},        {"", 0, "", "", "", false},
                          {"20123456789", -1, "", "Otro", "0", true},   {"20123456789", 4, "12ab", "Prestadores por sesión", "12", true},
                          {"20123456789", 5, "7", "Clínica", "7", true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.cuit + std::string(" ") + c.espec);
        dialogs.clear();
        const int antes = w->lvwPrestadores->topLevelItemCount();
        w->txtNombre->setText("NUEVO");
        w->txtCUIT->setText(c.cuit);
        w->txtcodigoOSDE->setText(c.codigo);
        w->cmbTipo->setCurrentIndex(c.tipo);
        w->cmdAgregarLicencia_Click();
        if (!c.vale) {
            EXPECT_EQ(dialogs.messages(), QStringList{"Los datos ingresados son inválidos."});
            EXPECT_EQ(w->lvwPrestadores->topLevelItemCount(), antes);
            continue;
        }
        auto* item = w->lvwPrestadores->topLevelItem(antes);
        EXPECT_EQ(Fila(item).value(5), c.espec);
        EXPECT_EQ(Fila(item).value(2), c.col2);
        w->cmbTipo->setCurrentIndex(1);
        w->lvwPrestadores->setCurrentItem(item);
        w->cmdEliminarLicencia_Click();
        EXPECT_EQ(w->lvwPrestadores->topLevelItemCount(), antes);
        EXPECT_EQ(w->cmbTipo->currentIndex(), c.tipo < 0 ? 1 : c.tipo) << "\"Otro\" leaves the box as it was";
        w->txtNombre->clear();
    }

    // A loaded provider's account code and "Req. Mat." come back with it, and go no further.
    w->lvwPrestadores->setCurrentItem(w->lvwPrestadores->topLevelItem(0));
    w->cmdEliminarLicencia_Click();
    w->cmdAgregarLicencia_Click();
    const int n = w->lvwPrestadores->topLevelItemCount();
    EXPECT_EQ(Fila(w->lvwPrestadores->topLevelItem(n - 1)),
              (QStringList{"A MEDICO", "30700000049", "1234", "LIC00001", "Si", "Médico", "2", "1", "Si"}));
    w->txtNombre->setText("OTRO");
    w->txtCUIT->setText("20123456789");
    w->cmdAgregarLicencia_Click();
    EXPECT_EQ(Fila(w->lvwPrestadores->topLevelItem(n)).value(3), "");
    EXPECT_EQ(Fila(w->lvwPrestadores->topLevelItem(n)).value(8), "");
    // A type code outside the table goes back and forth with the row.
    w->lvwPrestadores->setCurrentItem(w->lvwPrestadores->topLevelItem(1));
    EXPECT_EQ(Fila(w->lvwPrestadores->currentItem()).value(0), "C CUATRO");
    w->cmdEliminarLicencia_Click();
    EXPECT_EQ(w->cmbTipo->currentIndex(), -1);
    w->cmdAgregarLicencia_Click();
    auto* cuatro = w->lvwPrestadores->topLevelItem(w->lvwPrestadores->topLevelItemCount() - 1);
    EXPECT_EQ(frmConfigurar::LeerFila(cuatro).tipo, 4);
    EXPECT_EQ(Fila(cuatro).value(5), "");

    // The default mark: moved by a double click, cleared by pressing it twice.
    w->lvwPrestadores->setCurrentItem(cuatro);
    w->lvwPrestadores_DblClick();
    int marcados = 0;
    for (int i = 0; i < w->lvwPrestadores->topLevelItemCount(); ++i)
        marcados += !frmConfigurar::ClaveIcono(w->lvwPrestadores->topLevelItem(i)).isEmpty();
    EXPECT_EQ(marcados, 1);
    EXPECT_EQ(frmConfigurar::ClaveIcono(cuatro), "predeterminado");
    w->cmbpredeterminado_Click();
    EXPECT_EQ(frmConfigurar::ClaveIcono(cuatro), "");

    // The CUIT box takes digits only, typed or pasted; a paste with a dash is refused whole.
    w->txtCUIT->clear();
    for (const char* tecla : {"2", "a", "-", "0"}) {
        QKeyEvent k(QEvent::KeyPress, 0, Qt::NoModifier, tecla);
        QCoreApplication::sendEvent(w->txtCUIT, &k);
    }
    EXPECT_EQ(w->txtCUIT->text(), "20");
    w->txtCUIT->clear();
    w->txtCUIT->insert("20-12345678-9");
    EXPECT_EQ(w->txtCUIT->text(), "");
    w->txtCUIT->insert("20123456789");
    EXPECT_EQ(w->txtCUIT->text(), "20123456789");
}

TEST_P(ConfigurarDb, TheAccountInUseMovesByDoubleClick)
{
    General::Licencias = {"", "AAAA1111", "BBBB2222"};
    General::LicenciaSeleccionada = "AAAA1111";
    auto w = Cargada();
    w->lvwLicencias->setCurrentItem(w->lvwLicencias->topLevelItem(1));
    w->lvwLicencias_DblClick();
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwLicencias->topLevelItem(1)), "predeterminado");
    w->lvwLicencias->setCurrentItem(w->lvwLicencias->topLevelItem(2));
    w->lvwLicencias_DblClick();
    EXPECT_EQ(General::LicenciaSeleccionada, "BBBB2222");
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwLicencias->topLevelItem(1)), "");
    EXPECT_EQ(frmConfigurar::ClaveIcono(w->lvwLicencias->topLevelItem(2)), "predeterminado");
    EXPECT_EQ(frmConfigurar::Estado().LicenciaInicial, "AAAA1111");
}

TEST_P(ConfigurarDb, EffectorsAreSavedAndTakenBack)
{
    Sembrar();
    auto w = Cargada();
    struct Caso { const char* cuit; int tipo; int prov; int esp; bool baja; QStringList esperado; };
    const Caso casos[] = {
        {"20123456789", 0, 0, 0, false, {}},
        {"2a-12345678-9", 0, 0, 0, false, {}},
        {"20-12345678-9", 0, 0, 0, false, {"N", "20-12345678-9", "Odont.-", "77", "", "NO", "", "00", "2"}},
        {"20-12345678-9", 1, 3, 1, true,
         {"N", "20-12345678-9", "Médico-B", "77", "CARDIOLOGIA", "SI", "", "12", "B1"}}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.cuit);
        dialogs.clear();
        const int antes = w->lvwEfectores->topLevelItemCount();
        w->txtNombreEfector->setText("N");
        w->txtCuitEfector->setText(c.cuit);
        w->txtMatriculaEfector->setText(" 77 ");
        w->cboTipoMatriculaEfector->setCurrentIndex(c.tipo);
        w->cboProvinciaEfector->setCurrentIndex(c.prov);
        w->cboEspecialidadEfector->setCurrentIndex(c.esp);
        w->chkBajaEfector->setChecked(c.baja);
        w->cmdGuardarEfector_Click();
        if (c.esperado.isEmpty()) {
            EXPECT_EQ(dialogs.messages(), QStringList{"Los datos ingresados son inválidos."});
            continue;
        }
        auto* item = w->lvwEfectores->topLevelItem(antes);
        EXPECT_EQ(Fila(item), c.esperado);
        EXPECT_TRUE(w->txtNombreEfector->text().isEmpty() && w->cboProvinciaEfector->currentIndex() == 0);
        w->lvwEfectores->setCurrentItem(item);
        w->cmdEditarEfector_Click();
        EXPECT_EQ(w->lvwEfectores->topLevelItemCount(), antes);
        EXPECT_EQ(w->chkBajaEfector->isChecked(), c.baja);
        EXPECT_EQ(w->cboTipoMatriculaEfector->currentIndex(), c.tipo == 1 ? 1 : 2);
        EXPECT_EQ(w->cboProvinciaEfector->currentIndex(), c.prov);
        EXPECT_EQ(w->cboEspecialidadEfector->currentIndex(), c.esp);
        w->cmdGuardarEfector_Click();
    }
    // A loaded effector comes back with its id; a speciality no longer offered leaves the box.
    w->cboEspecialidadEfector->removeItem(1);
    w->cboEspecialidadEfector->setCurrentIndex(0);
    w->lvwEfectores->setCurrentItem(w->lvwEfectores->topLevelItem(0));
    w->cmdEditarEfector_Click();
    EXPECT_EQ(w->txtidEfector->text(), "1");
    EXPECT_EQ(w->cboEspecialidadEfector->currentIndex(), 0);
    EXPECT_EQ(w->cboProvinciaEfector->currentText(), "X.CORDOBA");
}

TEST_P(ConfigurarDb, InsurersAreAddedRefusedAndTakenBack)
{
    Sembrar();
    db->Execute("UPDATE ObrasSociales SET UtilizarCI = 1 WHERE IdObraSocial = 2");
    auto w = Cargada();
    auto obras = [] { return General::gConfig->ObrasSociales(); };
    // In order: each case sees the rows the earlier ones added.
    struct Caso { const char* nombre; const char* actividad; const char* filial; const char* mensaje; QStringList fila; int id; };
    const Caso casos[] = {
        {"   ", "1", "", "", {}, 0},
        {" osde ", "1", "", "", {"OSDE", "0", "0", "No", "0", "1", "No"}, 3},
        {"OSDE", "2", "", "Esta Obra Social ya existe", {}, 0},
        {"osde binario", "1", "", "Esta Obra Social ya existe", {}, 0},
        {"osde binario", "2", "", "", {"OSDE BINARIO", "0", "0", "No", "0", "2", "No"}, 4},
        {"d'angelo", "", "32768", "Los datos ingresados son inválidos.", {}, 0},
        {"d'angelo", "", "-32768", "", {"D´ANGELO", "0", "-32768", "No", "0", "0", "No"}, 5},
        {"D'Angelo ", "9", "", "Esta Obra Social ya existe", {}, 0},
        {"a''b", "", "", "", {"A´´B", "0", "0", "No", "0", "0", "No"}, 6}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.nombre) + " " + c.actividad);
        dialogs.clear();
        const int antes = w->lvwObraSocial->topLevelItemCount();
        w->txtNombreOS->setText(c.nombre);
        w->txtActividad->setText(c.actividad);
        w->txtFilialOS->setText(c.filial);
        w->cmdAgregarOS_Click();
        EXPECT_EQ(dialogs.messages(), *c.mensaje ? QStringList{c.mensaje} : QStringList{});
        if (*c.mensaje)
            EXPECT_EQ(dialogs.shown.value(0).style,
                      QString(c.mensaje).startsWith("Esta") ? Vbc::vbInformation : Vbc::vbExclamation);
        if (c.fila.isEmpty()) {
            EXPECT_EQ(w->lvwObraSocial->topLevelItemCount(), antes);
            EXPECT_EQ(obras()->Count(), antes);
            continue;
        }
        EXPECT_EQ(Fila(w->lvwObraSocial->topLevelItem(antes)), c.fila);
        EXPECT_EQ(obras()->Item_(c.fila.first())->IdObraSocial, c.id);
        EXPECT_TRUE(w->txtNombreOS->text().isEmpty() && w->txtFilialOS->text().isEmpty());
    }

    // Enter in the name box adds, and does not reach the dialog's buttons.
    w->txtNombreOS->setText("IOMA");
    w->chkUtilizaCSC->setChecked(true);
    w->optTransOnLine->setChecked(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(w->txtNombreOS, &enter);
    const int n = w->lvwObraSocial->topLevelItemCount();
    EXPECT_EQ(Fila(w->lvwObraSocial->topLevelItem(n - 1)), (QStringList{"IOMA", "0", "0", "Si", "0", "0", "Si"}));
    EXPECT_FALSE(w->chkUtilizaCSC->isChecked());
    EXPECT_TRUE(w->optTransOnLine->isChecked()) << "the on-line option keeps its state";

    // A loaded insurer taken out and added again keeps its id and its hidden "código interno".
    w->lvwObraSocial->setCurrentItem(w->lvwObraSocial->topLevelItem(1));
    w->cmdEliminarOS_Click();
    EXPECT_FALSE(obras()->Contains("SWISS 3"));
    EXPECT_EQ(w->lvwObraSocial->topLevelItemCount(), n - 1);
    EXPECT_EQ(w->txtNombreOS->text(), "SWISS");
    EXPECT_EQ(w->txtEmpresa->text(), "7");
    EXPECT_TRUE(w->optTransLocal->isChecked());
    EXPECT_TRUE(w->chkCodigoInterno->isChecked());
    w->cmdAgregarOS_Click();
    const auto swiss = obras()->Item_("SWISS");
    EXPECT_EQ(swiss->IdObraSocial, 2);
    EXPECT_TRUE(swiss->UtilizaCI);
    EXPECT_EQ(swiss->Actividad, 3);
    EXPECT_FALSE(w->chkCodigoInterno->isChecked());

    // An empty "Usa CSC" column clears the box; nothing selected, nothing happens.
    auto* ioma = w->lvwObraSocial->topLevelItem(n - 2);
    ioma->setText(6, "");
    w->chkUtilizaCSC->setChecked(true);
    w->lvwObraSocial->setCurrentItem(ioma);
    w->cmdEliminarOS_Click();
    EXPECT_FALSE(w->chkUtilizaCSC->isChecked());
    w->lvwObraSocial->clearSelection();
    w->cmdEliminarOS_Click();
    EXPECT_EQ(w->lvwObraSocial->topLevelItemCount(), n - 1);
}

TEST_P(ConfigurarDb, TheInMemoryOsdeRowTakesItsInsurerOut)
{
    auto w = Cargada();
    ASSERT_EQ(w->lvwObraSocial->topLevelItemCount(), 1);
    w->lvwObraSocial->setCurrentItem(w->lvwObraSocial->topLevelItem(0));
    w->cmdEliminarOS_Click();
    EXPECT_EQ(General::gConfig->ObrasSociales()->Count(), 0);
    EXPECT_EQ(w->txtNombreOS->text(), "OSDE");
    w->cmdAgregarOS_Click();
    EXPECT_EQ(General::gConfig->ObrasSociales()->Item_("OSDE")->IdObraSocial, 1);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
}

TEST_P(ConfigurarDb, OperationsSwitchByDoubleClickAndByTheProviderRules)
{
    auto w = Cargada();
    ASSERT_GE(w->lvwOperaciones->topLevelItemCount(), 3);
    auto icono = [&w](int i) { return frmConfigurar::ClaveIcono(w->lvwOperaciones->topLevelItem(i)); };
    // Every selected row switches, from either icon; the others stay.
    w->lvwOperaciones_DblClick();
    EXPECT_EQ(icono(0), "Si");
    w->lvwOperaciones->topLevelItem(0)->setSelected(true);
    w->lvwOperaciones_DblClick();
    EXPECT_EQ(icono(0), "No");
    w->lvwOperaciones->topLevelItem(1)->setSelected(true);
    w->lvwOperaciones_DblClick();
    EXPECT_EQ(icono(0), "Si");
    EXPECT_EQ(icono(1), "No");
    EXPECT_EQ(icono(2), "Si");

    // The rules save at once, on this connection's engine.
    General::ListaIdsPrestadores = "13";
    w->AplicarDependenciasOperaciones();
    QStringList enUso;
    const DbResult usadas = db->Query("SELECT Identificacion FROM Operaciones WHERE Utiliza = 1");
    for (const auto& fila : usadas.Rows()) enUso << fila.value(0).toString();
    enUso.sort();
    EXPECT_EQ(enUso, (QStringList{"01A", "02A", "02D", "02L", "03F", "04A", "2CB", "3A"}));
    EXPECT_EQ(db->Query("SELECT * FROM Operaciones WHERE Utiliza = 0").RowCount(),
              General::gConfig->Operaciones()->Count() - 8);
}

// ---- Working folder ------------------------------------------------------------------------

TEST_P(ConfigurarDb, AplicarChecksTheFolderAndRewritesTheRecentList)
{
    TempFolder t;
    for (const char* d : {"a", "b", "c", "d", "e", "f", "g", "B"}) t.mkdir(d);
    const QString a = t.file("a/"), b = t.file("b/"), c = t.file("c/"), g = t.file("g/");
    QStringList seis;
    for (const char* d : {"a", "b", "c", "d", "e", "f"}) seis << t.file(QString(d) + "/");
    const QString falta = t.file("nueva");
    const struct {
        const char* caso;
        QStringList antes;
        QString tecleado;
        QList<int> respuestas;
        QStringList despues;
        QStringList mensajes;
        bool incompleta;
    } casos[] = {
        {"conocida", {a, b, c}, b.chopped(1), {}, {b, a, c}, {}, false},
        {"mayúsculas cuentan", {a, b, c}, t.file("B"), {}, {t.file("B/"), a, b, c}, {}, false},
        {"barras invertidas", {a}, QString(c).replace('/', '\\') + "\\", {}, {c, a}, {}, false},
        {"séptima", seis, g, {}, QStringList{g} + seis.mid(0, 5), {}, false},
        {"lista vacía", {}, a, {}, {a}, {}, false},
        {"en blanco", {a}, "   ", {}, {a}, {"Debe seleccionar el Directorio de Trabajo."}, true},
        {"no la crea", {a}, falta, {Vbc::vbNo}, {a},
         {"El directorio de trabajo seleccionado no es válido.\r\nDesea crearlo?"}, true},
        {"la crea", {a}, falta, {Vbc::vbYes}, {falta + "/", a},
         {"El directorio de trabajo seleccionado no es válido.\r\nDesea crearlo?"}, false},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.caso);
        AjustesUsuario::GuardarLista("Quorvan", "LastTarsk", k.antes);
        auto w = Cargada();
        dialogs.clear();
        dialogs.msgAnswers = k.respuestas;
        w->cboDirectorio->setEditText(k.tecleado);
        w->cmdAplicar->click();
        EXPECT_EQ(DirectoriosRecientes::Leer(), k.despues);
        EXPECT_EQ(dialogs.messages(), k.mensajes);
        EXPECT_EQ(frmConfigurar::Estado().ConfiguracionIncompleta, k.incompleta);
        if (!k.incompleta) EXPECT_EQ(General::DirectorioTrabajo, k.despues.first());
        w.reset();
        QDir(falta).removeRecursively();
    }

    // A gap ends the list when reading, and no key past it outlives the next write.
    AjustesUsuario::GuardarLista("Quorvan", "LastTarsk", {a, b, c});
    AjustesUsuario::Guardar("Quorvan", "LastTarsk", "3", "");
    AjustesUsuario::Guardar("Quorvan", "LastTarsk", "4", "/viejo/");
    auto w = Cargada();
    ASSERT_EQ(w->cboDirectorio->count(), 2);
    w->cboDirectorio->setEditText(g);
    w->cmdAplicar_Click();
    EXPECT_EQ(DirectoriosRecientes::Leer(), (QStringList{g, a, b}));
    EXPECT_EQ(AjustesUsuario::Leer("Quorvan", "LastTarsk", "4"), "");
}

// A folder typed relative or from the home folder is created, adopted and stored absolute.
TEST_P(ConfigurarDb, ATypedFolderIsAdoptedAsAnAbsolutePath)
{
    Sembrar();
    TempFolder t;
    t.mkdir("inicio");
    t.mkdir("casa");
    const QString actual = QDir::currentPath();
    const QByteArray home = qgetenv("HOME");
    const auto restaurar = qScopeGuard([&] { QDir::setCurrent(actual), qputenv("HOME", home); });
    QDir::setCurrent(t.file("inicio"));
    qputenv("HOME", t.file("casa").toUtf8());
    const struct { const char* tecleado; QString carpeta; bool aceptar; } casos[] = {
        {"canje/", t.file("inicio/canje/"), false},
        {"~/canje/", t.file("casa/canje/"), false},
        {"./otra/../canje2", t.file("inicio/canje2/"), true},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.tecleado);
        auto w = Cargada();
        w->show();
        dialogs.msgAnswers = {Vbc::vbYes};
        Teclear(w->tabConfiguracion, w->cboDirectorio, k.tecleado);
        QTest::mouseClick(k.aceptar ? w->cmdAceptar : w->cmdAplicar, Qt::LeftButton);
        EXPECT_TRUE(QFileInfo(k.carpeta).isDir());
        EXPECT_EQ(General::DirectorioTrabajo, k.carpeta);
        EXPECT_EQ(DirectoriosRecientes::Leer().value(0), k.carpeta);
        if (k.aceptar) EXPECT_EQ(db->Query("SELECT WorkDir FROM Parametros").value(0).toString(), k.carpeta);
    }
    EXPECT_FALSE(QFileInfo::exists(t.file("inicio/~")));
}

TEST_P(ConfigurarDb, ThePickerOpensAtThePreviousFolderAndCancellingKeepsTheBox)
{
    TempFolder t;
    const struct { const char* caso; QString antes; QStringList respuesta; QString abre, despues; } casos[] = {
        {"cancelado", "  " + t.path() + " ", {}, t.path(), t.path()},
        {"elegida", t.path(), {"/tmp"}, t.path(), "/tmp"},
        {"anterior inexistente", "/no/existe", {"/tmp"}, "/", "/tmp"},
        {"vacía", "", {}, "/", ""},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.caso);
        auto w = Cargada();
        dialogs.clear();
        dialogs.textAnswers = k.respuesta;
        w->cboDirectorio->setEditText(k.antes);
        w->cmdDir->click();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].kind, "folder");
        EXPECT_EQ(dialogs.shown[0].title, k.abre);
        EXPECT_EQ(w->cboDirectorio->currentText(), k.despues);
    }
}

TEST_P(ConfigurarDb, CancelarClosesOrAsksBeforeEndingTheProgram)
{
    const QString pregunta = "Está seguro que desea salir del programa?\r\nSi continúa la aplicación se cerrará.\r\n"
                             "Ud. no ha configurado bien su QUORVAN.";
    const std::function<void(frmConfigurar*)> salidas[] = {
        [](frmConfigurar* w) { w->cmdCancelar->click(); }, [](frmConfigurar* w) { w->close(); },
        [](frmConfigurar* w) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(w, &esc);
        }};
    const struct { const char* caso; bool primera, incompleta; QList<int> respuesta; bool pregunta, abierta, sale; } casos[] = {
        {"configurada", false, false, {}, false, false, false},
        {"primera, no", true, false, {Vbc::vbNo}, true, true, false},
        {"incompleta, no", false, true, {Vbc::vbNo}, true, true, false},
        {"primera, sí", true, false, {Vbc::vbYes}, true, false, true},
    };
    for (const auto& k : casos) {
        for (const auto& salir : salidas) {
            SCOPED_TRACE(k.caso);
            Salida::Reiniciar();
            auto w = Cargada(k.primera);
            frmConfigurar::Estado().ConfiguracionIncompleta = k.incompleta;
            w->show();
            dialogs.clear();
            dialogs.msgAnswers = k.respuesta;
            salir(w.get());
            EXPECT_EQ(dialogs.messages(), k.pregunta ? QStringList{pregunta} : QStringList{});
            if (k.pregunta) EXPECT_EQ(dialogs.shown[0].style, Vbc::vbYesNo | Vbc::vbExclamation);
            EXPECT_EQ(w->isVisible(), k.abierta);
            EXPECT_EQ(Salida::Solicitada(), k.sale);
        }
    }
}

// ---- Storing -------------------------------------------------------------------------------

namespace {
QString Registro(const char* nombre)
{
    QString v = "<falta>";
    modRegistry::LeerValorRegistro(nombre, modRegistry::REG_SZ, v, false);
    return v;
}
}

TEST_P(ConfigurarDb, StoringStopsAtEachCheckWithItsMessage)
{
    Sembrar();
    TempFolder wf;
    const struct {
        const char* caso;
        QStringList licencias;
        std::function<void(frmConfigurar*, Database&)> preparar;
        QString mensaje; // a prefix for the error
        bool incompleta, guardada;
    } casos[] = {
        {"sin operaciones", {}, [](frmConfigurar* w, Database&) { w->lvwOperaciones->clear(); },
         "No están cargadas las operaciones. No será posible trabajar con Quorvan.", true, false},
        {"carpeta en blanco", {}, [](frmConfigurar* w, Database&) { w->cboDirectorio->setEditText("  "); },
         "Debe seleccionar el Directorio de Trabajo.", true, false},
        {"imprime sin impresoras", {},
         [](frmConfigurar* w, Database&) {
             Printers::setTestPrinters({}, "");
             w->lstImpresoras_KeyDown(116);
             w->chkImprimir->setChecked(true);
         },
         "No existen impresoras configuradas", false, false},
        {"sin prestadores", {}, [](frmConfigurar* w, Database&) { w->lvwPrestadores->clear(); },
         "No existen prestadores configurados", true, false},
        {"dos cuentas, ninguna elegida", {"", "AAAA1111", "BBBB2222"}, [](frmConfigurar*, Database&) {},
         "Debe seleccionar una única licencia", false, true},
        {"falla la base", {}, [](frmConfigurar*, Database& db) { db.Execute("DROP TABLE Efectores"); },
         "Error al intentar guardar la configuración\r\n", false, false},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.caso);
        Printers::setTestPrinters({"Laser", "Ticketera", "Termica"}, "Laser");
        General::Licencias = k.licencias;
        General::LicenciaSeleccionada.clear();
        auto w = Cargada();
        w->cboDirectorio->setEditText(wf.path());
        w->txtDireccionTerminal->setText(QString("  Calle %1  ").arg(k.caso));
        delete w->lvwPrestadores->takeTopLevelItem(0);
        k.preparar(w.get(), *db);
        const int antes = db->Query("SELECT * FROM Prestadores").RowCount();
        const auto direccion = [this] {
            return db->Query("SELECT * FROM Parametros WHERE IdTerminal = 1")["DireccionTerminal"].toString();
        };
        const QString direccionAntes = direccion();
        dialogs.clear();
        ventanas.clear();
        w->cmdAceptar_Click();
        ASSERT_EQ(dialogs.messages().size(), 1) << dialogs.messages().join("|").toStdString();
        EXPECT_TRUE(dialogs.messages()[0].startsWith(k.mensaje)) << dialogs.messages()[0].toStdString();
        EXPECT_EQ(frmConfigurar::Estado().ConfiguracionIncompleta, k.incompleta);
        EXPECT_TRUE(ventanas.isEmpty()) << "the window stays open";
        EXPECT_EQ(direccion(), k.guardada ? QString("Calle %1").arg(k.caso) : direccionAntes) << "trimmed";
        EXPECT_EQ(db->Query("SELECT * FROM Prestadores").RowCount(), antes - (k.guardada ? 1 : 0)) << "all or nothing";
        if (QString(k.caso) == "imprime sin impresoras") {
            EXPECT_TRUE(w->chkImprimir->isEnabled()) << "ticked, it can still be cleared";
            w->chkImprimir->setChecked(false);
            EXPECT_FALSE(w->chkImprimir->isEnabled());
        }
        if (k.guardada) {
            // Choosing the account and pressing again completes the storing.
            EXPECT_EQ(Registro("LicenciaSeleccionada"), "<falta>");
            General::LicenciaSeleccionada = "BBBB2222";
            dialogs.clear();
            w->cmdAceptar_Click();
            EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
            EXPECT_EQ(Registro("LicenciaSeleccionada"), "BBBB2222");
            EXPECT_FALSE(ventanas.isEmpty());
        }
        frmConfigurar::Estado().ConfiguracionIncompleta = false;
    }
}

// A configured terminal (UpdateConfig) and a first one (a new terminal number, AddConfig).
TEST_P(ConfigurarDb, StoringWritesTheWindowAsShownAndReloads)
{
    Sembrar();
    for (const bool nueva : {false, true}) {
        SCOPED_TRACE(nueva ? "nueva" : "configurada");
        TempFolder wf;
        QFile::remove(modRegistry::ArchivoRegistro());
        General::NumeroTerminal = nueva ? 0 : 1;
        if (!nueva) modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, "Terminal", "1");
        General::PrestadorActual = 3;
        auto w = Cargada(nueva);
        ASSERT_EQ(General::gConfig->isNew(), nueva);
        w->txtNombre->setText("PEÑA O'BRIEN");
        w->txtCUIT->setText("20111111112");
        w->cmbTipo->setCurrentIndex(5);
        w->cmdAgregarLicencia_Click();
        w->lvwOperaciones->topLevelItem(0)->setSelected(true);
        w->lvwOperaciones_DblClick();
        const QString op = w->lvwOperaciones->topLevelItem(0)->text(0);
        const int usoOp = frmConfigurar::ClaveIcono(w->lvwOperaciones->topLevelItem(0)) == "Si" ? 1 : 0;
        // No printer and no printing: the terminal still stores.
        Printers::setTestPrinters({}, "");
        w->chkImprimir->setChecked(false);
        w->chkActualizaInicio->setChecked(false);
        w->chkIngresoAutomatico->setChecked(true);
        w->cboDirectorio->setEditText(wf.path());
        dialogs.clear();
        ventanas.clear();
        w->cmdAceptar_Click();
        EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
        EXPECT_EQ(ventanas.value(0), "frmObraSocial(1)") << "the window was unloaded";

        const int terminal = nueva ? 2 : 1;
        EXPECT_EQ(General::NumeroTerminal, terminal);
        EXPECT_EQ(Registro("Terminal"), QString::number(terminal));
        const DbResult r = db->Query("SELECT * FROM Parametros WHERE IdTerminal = ?", {terminal});
        EXPECT_EQ(r["WorkDir"].toString(), Paths::WithTrailingSlash(wf.path()));
        EXPECT_EQ(r["Imprimir"].toInt(), 0);
        EXPECT_EQ(r["DefaultOS"].toString(), "OSDE BINARIO");
        EXPECT_EQ(DirectoriosRecientes::Leer().value(0), Paths::WithTrailingSlash(wf.path()));
        EXPECT_EQ(db->Query("SELECT Utiliza FROM Operaciones WHERE Identificacion = ?", {op}).value(0).toInt(), usoOp)
            << "the operations are stored on a first store too";
        const struct { const char* nombre; int tipo; } prestadores[] = {{"PEÑA O'BRIEN", 6}, {"C CUATRO", 4}, {"B ODONTO", 1}};
        for (const auto& p : prestadores) {
            const DbResult fila = db->Query("SELECT * FROM Prestadores WHERE Nombre = ?", {p.nombre});
            ASSERT_FALSE(fila.EOF_()) << p.nombre;
            EXPECT_EQ(fila["Odontologo"].toInt(), p.tipo) << p.nombre;
        }
        EXPECT_EQ(db->Query("SELECT * FROM Prestadores").RowCount(), 6);
        EXPECT_EQ(db->Query("SELECT * FROM Efectores WHERE Cuit = '20123456789'").RowCount(), 3);
        for (const char* v : {"ActualizaNomencladores", "ActualizaMedicos", "ActualizaDiagnosticos"})
            EXPECT_EQ(Registro(v), "0") << v;
        EXPECT_EQ(Registro("FechaDruvexEmp"), "");
        EXPECT_EQ(Registro("TipoIngresoAutomatico"), "1");
        EXPECT_EQ(General::PrestadorActual, 0);
        EXPECT_EQ(General::gConfig->Prestadores()->Count(), 6) << "reloaded";
        EXPECT_FALSE(General::gConfig->isNew());
        // Stored again, the list does not grow: the new provider is now one of the loaded ones.
        db->Execute("DELETE FROM Prestadores WHERE Nombre = ?", {"PEÑA O'BRIEN"});
        Printers::setTestPrinters({"Laser", "Ticketera", "Termica"}, "Laser");
    }
}

TEST_P(ConfigurarDb, ClosingWithoutStoringReadsTheStoredConfigurationBack)
{
    Sembrar();
    TempFolder wf;
    wf.write("_druvex.prm", DruvexSim::LineaPrm("05", "01", "SVL1", true));
    General::Licencias = {"", "AAAA1111", "BBBB2222"};
    General::LicenciaSeleccionada = "AAAA1111";
    auto w = Cargada();
    General::DirectorioTrabajo = Paths::WithTrailingSlash(wf.path());
    w->lvwLicencias->setCurrentItem(w->lvwLicencias->topLevelItem(2));
    w->lvwLicencias_DblClick();
    w->txtNombreOS->setText("NUEVA");
    w->txtActividad->setText("4");
    w->cmdAgregarOS_Click();
    w->lvwObraSocial->setCurrentItem(w->lvwObraSocial->topLevelItem(0));
    w->cmdEliminarOS_Click();
    ASSERT_EQ(General::gConfig->ObrasSociales()->Count(), 2);
    w->cmdCancelar_Click();
    const auto obras = General::gConfig->ObrasSociales();
    ASSERT_EQ(obras->Count(), 2);
    EXPECT_EQ(obras->Item_(1)->Nombre, "OSDE BINARIO");
    EXPECT_TRUE(obras->Item_(1)->BitMap) << "the client's marks, from the folder in use";
    EXPECT_EQ(obras->Item_(2)->Nombre, "SWISS");
    EXPECT_EQ(General::DirectorioTrabajo, Paths::WithTrailingSlash(wf.path()));
    EXPECT_EQ(General::LicenciaSeleccionada, "BBBB2222");
    EXPECT_EQ(ventanas, (QStringList{"frmObraSocial(1)", "Habilitar_Operaciones(1)"}));
}

// ---- Table update ----------------------------------------------------------------------------

TEST_P(ConfigurarDb, TheTableUpdateAsksForTheTickedTablesAndReloadsThem)
{
    Sembrar();
    frmProcesandoCO::setDuracionTick(40);
    dialogs.modalHandler = [](QDialog* d) { return d->objectName() == "frmProcesandoCO" ? d->exec() : 0; };
    TempFolder wf;
    wf.write("_druvex.emp", DruvexSim::RegistroEmp("AAAA1111", "05", "OSDE BINARIO", "01", "AMBULATORIO") +
                                DruvexSim::RegistroEmp("BBBB2222", "09", "MEDIFE", "02", "AMBULATORIO"));
    // The stored use flags, or what the rules make of the fetched provider type "0".
    const auto usoOperaciones = [this](bool segunReglas = false) {
        const QStringList enUso = DependenciasOperaciones::EnUso("0");
        QStringList r;
        for (DbResult o = db->Query("SELECT * FROM Operaciones ORDER BY Identificacion"); !o.EOF_(); o.MoveNext()) {
            const QString id = o["Identificacion"].toString();
            r << id + "=" + (segunReglas ? (enUso.contains(id) ? "1" : "0") : o["Utiliza"].toString());
        }
        return r;
    };
    const auto nombres = [](QTreeWidget* lista) {
        QStringList r;
        for (int i = 0; i < lista->topLevelItemCount(); ++i) r << lista->topLevelItem(i)->text(0);
        return r;
    };
    enum Tabla { Ninguna = 0, Prestadores = 1, TodosPrestadores = 2, Efectores = 4 };
    const QString noSeHizo = "No se realizó el proceso de actualización", listo = "Finalizó el proceso de actualización";
    const struct {
        const char* caso;
        int tablas;
        QStringList licencias;
        int elegir; // the account row double-clicked, -1 none
        DruvexSim::Modo modo;
        QString ultimoMensaje;
        int tomas;
    } casos[] = {
        {"ninguna tabla", Ninguna, {}, -1, DruvexSim::Modo::Aprobar, noSeHizo, 0},
        {"varias cuentas sin elegir", Prestadores, {"AAAA1111", "BBBB2222"}, -1, DruvexSim::Modo::Aprobar,
         "Debe seleccionar una única licencia para hacer la actualización", 0},
        {"prestadores sin Todos", Prestadores, {}, -1, DruvexSim::Modo::Aprobar, listo, 1},
        {"efectores, y un Todos sin su tabla", Efectores | TodosPrestadores, {}, -1, DruvexSim::Modo::Aprobar, listo, 1},
        {"otra cuenta", Ninguna, {"AAAA1111", "BBBB2222"}, 1, DruvexSim::Modo::Aprobar, listo, 1},
        {"el cliente no responde", Efectores, {}, -1, DruvexSim::Modo::NoTomar, noSeHizo, 1},
        // Last: the whole list replaces the seeded providers.
        {"prestadores con Todos", Prestadores | TodosPrestadores, {}, -1, DruvexSim::Modo::Aprobar, listo, 1},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.caso);
        General::Licencias = k.licencias.isEmpty() ? QStringList{"AAAA1111"} : k.licencias;
        General::LicenciaSeleccionada = k.licencias.isEmpty() ? "AAAA1111" : "";
        auto w = Cargada();
        General::DirectorioTrabajo = Paths::WithTrailingSlash(wf.path());
        for (QCheckBox* c : {w->chkPrestadores, w->chkEfectores, w->chkMedicos, w->chkObras, w->chkPrestaciones,
                             w->chkDiagnosticos})
            c->setChecked(false);
        w->chkPrestadores->setChecked(k.tablas & Prestadores);
        w->chkTPrestadores->setChecked(k.tablas & TodosPrestadores);
        w->chkEfectores->setChecked(k.tablas & Efectores);
        if (k.elegir >= 0) {
            w->lvwLicencias->setCurrentItem(w->lvwLicencias->topLevelItem(k.elegir));
            w->lvwLicencias_DblClick();
        }
        const QStringList operacionesAntes = usoOperaciones();
        const QStringList efectoresAntes = nombres(w->lvwEfectores);
        DruvexSim::Guion g;
        g.modo = k.modo;
        g.archivos = DruvexSim::ArchivosTablasEjemplo();
        // A trigger the previous case left unanswered is not this case's request.
        QDir(wf.file("tx")).removeRecursively();
        DruvexSim sim(wf.path());
        sim.setGuion(g);
        sim.iniciar();
        dialogs.clear();
        w->cmdActualizar_Click();
        sim.detener();
        EXPECT_EQ(dialogs.messages().value(dialogs.messages().size() - 1), k.ultimoMensaje)
            << dialogs.messages().join("|").toStdString();
        if (k.ultimoMensaje != listo) EXPECT_NE(dialogs.shown.last().style & Vbc::vbInformation, 0);
        if (k.ultimoMensaje == listo || k.ultimoMensaje == noSeHizo) EXPECT_EQ(dialogs.shown.last().title, "Actualización");
        EXPECT_EQ(sim.tomas().size(), k.tomas);
        const bool todos = (k.tablas & Prestadores) && (k.tablas & TodosPrestadores) && k.ultimoMensaje == listo;
        EXPECT_EQ(usoOperaciones(), todos ? usoOperaciones(true) : operacionesAntes)
            << "the rules apply only after the whole provider table was fetched";
        const QStringList prestadores = nombres(w->lvwPrestadores);
        if (k.ultimoMensaje != listo) {
            EXPECT_EQ(nombres(w->lvwEfectores), efectoresAntes);
            EXPECT_EQ(prestadores.size(), 5);
        } else if (k.tablas & Efectores) {
            EXPECT_TRUE(nombres(w->lvwEfectores).contains("LOPEZ MARIA")) << "the list shows what storing writes back";
            EXPECT_EQ(prestadores.size(), 5);
        } else if (k.tablas & TodosPrestadores) {
            EXPECT_EQ(prestadores, QStringList{"CLINICA DEL SOL"});
        } else {
            EXPECT_EQ(prestadores.size(), 6);
        }
        if (k.elegir >= 0) {
            EXPECT_TRUE(w->chkObras->isChecked() && w->chkTObras->isChecked() && w->chkPrestadores->isChecked());
            EXPECT_TRUE(sim.tomas().value(0).upload.value("_svl.0").endsWith("BBBB2222"));
            EXPECT_TRUE(nombres(w->lvwObraSocial).contains("MEDIFE"));
        }
        db->Execute("DELETE FROM Prestadores WHERE Nombre = 'CLINICA DEL SOL'");
        db->Execute("DELETE FROM Efectores WHERE Nombre = 'LOPEZ MARIA'");
    }
    frmProcesandoCO::setDuracionTick(1000);
}

// "Actualizar" on a new installation: no folder appears outside the working folder chosen.
TEST_P(ConfigurarDb, TheTableUpdateOfANewInstallationMakesNoFolderOutsideTheWorkingFolder)
{
    const QStringList datos = QDir(Paths::DataDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    TempFolder wf;
    frmProcesandoCO::setDuracionTick(40);
    dialogs.modalHandler = [](QDialog* d) { return d->objectName() == "frmProcesandoCO" ? d->exec() : 0; };
    General::NumeroTerminal = 0;
    General::Licencias = {"AAAA1111"};
    General::LicenciaSeleccionada = "AAAA1111";
    auto w = Cargada(true);
    w->show();
    Teclear(w->tabConfiguracion, w->cboDirectorio, wf.path());
    QTest::mouseClick(w->cmdAplicar, Qt::LeftButton);
    DruvexSim::Guion g;
    g.archivos = DruvexSim::ArchivosTablasEjemplo();
    DruvexSim sim(wf.path());
    sim.setGuion(g);
    sim.iniciar();
    for (QCheckBox* c : {w->chkPrestadores, w->chkEfectores, w->chkMedicos, w->chkObras, w->chkPrestaciones,
                         w->chkDiagnosticos})
        if (c->isChecked() != (c == w->chkEfectores)) QTest::keyClick(c, Qt::Key_Space);
    QTest::mouseClick(w->cmdActualizar, Qt::LeftButton);
    sim.detener();
    frmProcesandoCO::setDuracionTick(1000);
    EXPECT_EQ(dialogs.messages().value(dialogs.messages().size() - 1), "Finalizó el proceso de actualización");
    EXPECT_EQ(sim.tomas().size(), 1);
    EXPECT_EQ(QDir(Paths::DataDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), datos);
    EXPECT_TRUE(wf.exists("tx"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ConfigurarDb, DbEngines(), DbEngineName);

// ---- Pure rules ----------------------------------------------------------------------------

TEST(FilasConfiguracion, ColumnWidthsAreTheSampleTextInTwips)
{
    const QFontMetrics fm(QFont("DejaVu Sans", 9));
    for (const auto& c : FilasConfiguracion::ColumnasPrestadores() + FilasConfiguracion::ColumnasEfectores()) {
        SCOPED_TRACE(c.titulo.toStdString());
        const int esperado =
            c.oculta ? 0 : 15 * (qMax(fm.horizontalAdvance(c.muestra), fm.horizontalAdvance(c.titulo)) + 14);
        EXPECT_EQ(FilasConfiguracion::AnchoColumna(fm, c), esperado);
        EXPECT_EQ(c.oculta, c.titulo == "Id" || c.titulo == "IdEspecialidad" || c.titulo == "T.M.");
    }
    EXPECT_GT(FilasConfiguracion::AnchoColumna(fm, {"Espec.", "Odont."}), 0);
    const auto d = frmImpresoras::CalcularDisposicion();
    for (const QRect& r : {d.lblImpresora, d.lstImpresoras, d.chkImprimir, d.cmdOK, d.cmdCancel})
        EXPECT_TRUE(d.ventana.contains(r)) << r.x() << "," << r.y();
    EXPECT_FALSE(d.lstImpresoras.intersects(d.chkImprimir) || d.cmdOK.intersects(d.cmdCancel));
}

TEST(FilasConfiguracion, InsurerIdsAndTheReplacedQuote)
{
    struct Caso { QList<int> ids; std::optional<qint16> anterior; int esperado; };
    const Caso casos[] = {{{1, 2, 4}, {}, 5}, {{1, 2, 3}, {}, 4}, {{1, 3}, {}, 4}, {{}, {}, 1},
                          {{1, 3}, 2, 2},     {{1, 3}, 3, 4}};
    for (const auto& c : casos) {
        Coleccion<clsObraSocial> obras;
        for (int id : c.ids) {
            auto o = std::make_shared<clsObraSocial>();
            o->IdObraSocial = qint16(id);
            obras.Add(o);
        }
        EXPECT_EQ(FilasConfiguracion::IdNuevaObraSocial(obras, c.anterior), c.esperado);
    }
    const struct { const char* texto; const char* caracter; const char* esperado; } textos[] = {
        {"D'ANGELO", "'", "D´ANGELO"}, {"A''B", "'", "A´´B"}, {"SIN", "'", "SIN"}, {"Ñandú", "ñ", "Ñandú"}, {"'", "'", "´"}};
    for (const auto& t : textos)
        EXPECT_EQ(FilasConfiguracion::ReemplazarCaracter(t.texto, t.caracter), QString(t.esperado)) << t.texto;
}

TEST(DependenciasOperaciones, ProviderTypesBringTheirOperations)
{
    const QStringList basicas = {"03F", "04A", "01A"};
    const QStringList medicos = {"31", "02S", "02Q", "02P", "02D", "02A"};
    const QStringList otros = {"03A", "02D", "02C", "02A", "01C", "01B"};
    const struct { const char* tipos; QStringList esperado; } casos[] = {
        {"", basicas},
        {"13", basicas + QStringList{"3A", "2CB", "02A", "02L", "02D"}},
        {"0", basicas + medicos},
        {"00", basicas + medicos},
        {"6", basicas + medicos},
        {"4", basicas + otros},
        {"0 ", basicas + medicos},
        {" 2", basicas + otros + QStringList{"02B"}},
        {"25", basicas + QStringList{"03A", "02D", "02C", "02B", "02A"}}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.tipos);
        QStringList obtenido = DependenciasOperaciones::EnUso(c.tipos), esperado = c.esperado;
        obtenido.sort();
        esperado.removeDuplicates();
        esperado.sort();
        EXPECT_EQ(obtenido, esperado);
    }
    // Doctors alone switch off what was on before, and codes compare exactly.
    Coleccion<clsOperacion> ops;
    for (const char* codigo : {"01B", "01C", "02a", "31"}) {
        auto o = std::make_shared<clsOperacion>();
        o->strIdentificacion = codigo;
        o->intUtiliza = 1;
        ops.Add(o, codigo);
    }
    DependenciasOperaciones::Aplicar(ops, "0");
    QList<int> flags;
    for (const auto& o : ops) flags << o->intUtiliza;
    EXPECT_EQ(flags, (QList<int>{0, 0, 0, 1}));
}

TEST(FilasConfiguracion, StoringReadsTheRowsBack)
{
    using FilasConfiguracion::Fila;
    const struct { const char* tipoTexto; qint16 llevado; int esperado; } tipos[] = {
        {"Clínica", 0, 6}, {"Prestadores por sesión", 0, 5}, {"Otro", 0, 0}, {"", 4, 4}, {"Médico", 3, 0}};
    for (const auto& t : tipos) {
        Fila f;
        f.columnas = {"N", "20123456789", "1234", "LIC", "Si", t.tipoTexto, "2", "1", "Si"};
        f.tipo = t.llevado;
        f.icono = "predeterminado";
        const auto p = FilasConfiguracion::PrestadorDeFila(f);
        EXPECT_EQ(p->Odontologo, t.esperado) << t.tipoTexto;
        EXPECT_TRUE(p->Predeterminado && p->RequierePrescripcion && p->RequiereMatPrescriptor == 1);
    }
    // A number column holding text is a run-time error, not a zero.
    Fila e;
    e.columnas = {"E", "20-12345678-9", "Médico-X", "4455", "CARDIOLOGIA", "SI", "7", "CARDIO", "X1"};
    EXPECT_THROW(FilasConfiguracion::EfectorDeFila(e), VbError);
}
