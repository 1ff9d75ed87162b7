#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Database.h"
#include "prescription/EstadoVademecum.h"
#include "prescription/frmVademecum.h"
#include "shell/GeneralPrincipal.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QString B(int n) { return QString(n, ' '); }
QString P(const QString& s, int n) { return s.leftJustified(n, ' ', true); }

const QString kSinObraSocial = "Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha.";
const QString kFalla = "Error en la transacción.\r\nFalla de comunicación. Intente nuevamente";
const QString kVarias = "Debe seleccionar una única licencia para realizar transacciones";

DruvexSim::LineaVademecum Linea(const char* nombre, const char* troquel, const char* precio)
{
    return {"00001", nombre, "COMP X 20", troquel, "7790001000017", "00012", "ANTIINFLAMATORIO", "000345",
            "IBUPROFENO 400 MG", precio, "04000", "00000007500"};
}

// The prescription window in the main window, the configuration read from the database, the
// client simulated on a working folder.
class VademecumDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        QLocale::setDefault(QLocale::c());
        auto db = Connect();
        const char* prestadores[][5] = {
            {"1", "CLINICA DEL SOL", "30700000049", "12345", "00001234"},
            {"2", "CENTRO MEDICO", "30711111112", "555", "00005678"},
            {"3", "CENTRO MEDICO", "30722222223", "556", "00009999"},
        };
        for (const auto& p : prestadores)
            db->Execute("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, codigoOSDE, Predeterminado, Admisor, "
                        "Baja, Licencia) VALUES (?, ?, ?, ?, ?, 1, 0, ?)",
                        {QString(p[0]).toInt(), p[1], p[2], QString(p[3]).toDouble(), QString(p[0]) == "1" ? 1 : 0, p[4]});
        db->Execute("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, codigoOSDE, Admisor, Baja) "
                    "VALUES (4, 'NO ADMITE', '30733333334', 556, 0, 0)", {});
        db->Execute("INSERT INTO ObrasSociales (IdObraSocial, Nombre, OnLine, Actividad, Empresa, UtilizaCSC) "
                    "VALUES (1, 'OSDE Binario', 1, 2, 11, 1), (2, 'Salud Sur', 1, 5, 12, 0)", {});
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setIdTerminal(General::gConfig->getIdTerminal(home() + "/"));
        General::gConfig->setDefaultOS(QString());
        General::gConfig->LoadPrestadores(false);
        General::gConfig->LoadOS();
        for (const auto& o : *General::gConfig->ObrasSociales()) o->BitMap = true;
        General::PrestadorActual = 0;
        General::DirectorioTrabajo = wf.path();
        wf.mkdir("tx");
        EstadoVademecum::Instancia() = EstadoVademecum{};
        dialogs.modalHandler = [this](QDialog* d) {
            if (d->objectName() == "frmProcesandoCO") return d->exec();
            modales << d->objectName();
            return int(QDialog::Accepted);
        };
        m = std::make_unique<frmMain>();
        m->resize(1280, 900);
        m->show();
        m->ObraSocial->RefrescarLista();
        Elegir(0);
    }
    void TearDown() override
    {
        sim.detener();
        m.reset();
        frmProcesandoCO::setDuracionTick(1000);
        QLocale::setDefault(QLocale::system());
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
        General::DirectorioTrabajo.clear();
        General::OperacionActual = General::PrestadorActual = 0;
        General::ObraSocialUtilizaCSC = false;
        DbFixture::TearDown();
    }
    void Elegir(int fila)
    {
        m->ObraSocial->lstObraSocial->setCurrentRow(fila);
        if (fila < 0) m->ObraSocial->lstObraSocial->clearSelection();
    }
    frmVademecum* Abrir()
    {
        m->mnuMedicamentos_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Form();
    }
    frmVademecum* Form() const
    {
        return qobject_cast<frmVademecum*>(m->FormularioTrabajo("frmVademecum"));
    }
    // The messages shown; on a loaded machine the short wait may end by its safety timer first,
    // which is the same engine-local time-out to the window.
    QStringList Mensajes() const
    {
        QStringList m = dialogs.messages();
        for (QString& t : m) t.replace("-1: Cancelado por ejecucion fallida", "-1: Cancelado por Time Out");
        return m;
    }
    // The first message box shown.
    const ScriptedDialogs::Shown* Mensaje() const
    {
        for (const auto& s : dialogs.shown)
            if (s.kind == "msgbox") return &s;
        return nullptr;
    }
    bool MenusActivos() const { return m->Menu("mnuMedicamentos")->isEnabled(); }
    QStringList Fila(QTreeWidgetItem* i) const
    {
        QStringList t;
        for (int c = 0; c < i->columnCount(); ++c) t << i->text(c);
        return t;
    }
    QStringList Columna(QTreeWidget* l, int c) const
    {
        QStringList t;
        for (int i = 0; i < l->topLevelItemCount(); ++i) t << l->topLevelItem(i)->text(c);
        return t;
    }
    // Runs a search answered with these lines; the list then holds them.
    void Buscar(frmVademecum* f, const QByteArray& lineas)
    {
        DruvexSim::Guion g;
        g.vademecum = lineas;
        sim.encolarGuion(g);
        f->cmdBuscar_Click();
    }
    QString Subida(int toma, const char* archivo) const
    {
        return QString::fromLatin1(sim.tomas().value(toma).upload.value(archivo));
    }
    static void Captura(QWidget* w, const QString& nombre)
    {
        const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(carpeta);
        w->grab().save(carpeta + "/" + nombre);
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    QStringList modales;
    DruvexSim sim{wf.path()};
    std::unique_ptr<frmMain> m;
};

}

// Opening from the menu: the card of an open entry window, blanks kept; none; no insurer; a
// second choice shows the same window as it was.
TEST_P(VademecumDb, OpeningFromTheMenu)
{
    const struct {
        const char* entrada; // card of an open entry window; nullptr: none open
        int fila;
        const char* tarjeta; // nullptr: nothing opens
        QStringList mensajes;
    } filas[] = {
        {"  6001234567 ", 0, "  6001234567 ", {}},
        {"   ", 0, "", {}},
        {nullptr, 0, "", {}},
        {nullptr, -1, nullptr, {kSinObraSocial}},
    };
    for (const auto& f : filas) {
        SCOPED_TRACE(f.entrada ? f.entrada : "(sin entrada)");
        General::DescargarFormularios("");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Elegir(f.fila);
        if (f.entrada) {
            auto* e = new QWidget;
            e->setObjectName("frmEmuladorPOS");
            (new QLineEdit(f.entrada, e))->setObjectName("txtTarjeta");
            m->MDIArea->addSubWindow(e)->show();
        }
        dialogs.clear();
        frmVademecum* v = Abrir();
        EXPECT_EQ(Mensajes(), f.mensajes);
        EXPECT_EQ(m->FormularioTrabajo("frmEmuladorPOS"), nullptr);
        if (!f.tarjeta) {
            EXPECT_EQ(v, nullptr);
            continue;
        }
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(General::OperacionActual, 30);
        EXPECT_EQ(v->txtTarjeta->text(), f.tarjeta);
        EXPECT_EQ(v->parentWidget()->pos(), QPoint(91, 0));
        EXPECT_EQ(v->parentWidget()->height(), 480);
    }
    Elegir(0);
    frmVademecum* v = Abrir();
    v->txtTarjeta->setText("999");
    EXPECT_EQ(Abrir(), v);
    EXPECT_EQ(v->txtTarjeta->text(), "999");
    v->cmdCancelar_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form(), nullptr);
    EXPECT_EQ(General::OperacionActual, 0);
    EXPECT_TRUE(MenusActivos());
}

// The provider by the list and by its code (by row: two rows of one name), the security code
// by insurer and its lengths and keys.
TEST_P(VademecumDb, ProviderAndSecurityCode)
{
    frmVademecum* v = Abrir();
    ASSERT_NE(v, nullptr);
    auto& estado = EstadoVademecum::Instancia();
    const auto elegido = [&] {
        return QStringList{v->cboNombre->currentData().toString(), v->txtcodigoOSDE->text(), v->lblLicencia->text(),
                           estado.sCuitPrestador, QString::number(General::PrestadorActual)};
    };
    EXPECT_EQ(elegido(), (QStringList{"1", "12345", "00001234", "30700000049", "1"}));
    EXPECT_EQ(v->cboNombre->count(), 3);

    v->cboNombre->setCurrentIndex(v->cboNombre->findData(2));
    v->cboNombre_Click();
    EXPECT_EQ(elegido(), (QStringList{"2", "555", "00005678", "30711111112", "2"}));

    const struct {
        const char* codigo;
        QStringList esperado;
    } codigos[] = {
        {"556", {"3", "556", "00009999", "30722222223", "3"}},
        {"555", {"2", "555", "00005678", "30711111112", "2"}},
        {"999", {"2", "999", "00005678", "30711111112", "2"}},
        {"12345", {"1", "12345", "00001234", "30700000049", "1"}},
    };
    for (const auto& c : codigos) {
        v->txtcodigoOSDE->setText(c.codigo);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QCoreApplication::sendEvent(v->txtcodigoOSDE, &enter);
        EXPECT_EQ(elegido(), c.esperado) << c.codigo;
    }

    EXPECT_FALSE(v->txtCSC->isHidden());
    for (const auto& [texto, valido] : {std::pair{"", true}, {"1", false}, {"12", false}, {"123", true}, {"1234", false}}) {
        dialogs.clear();
        v->txtCSC->setText(texto);
        EXPECT_EQ(v->ValidarCSC(), valido) << texto;
        EXPECT_EQ(dialogs.messages(),
                  valido ? QStringList{} : QStringList{"Debe ingreasar los 3 dígitos del código de seguridad."});
    }
    v->txtCSC->clear();
    for (const char* tecla : {"5", "a", "-", "7"}) {
        QKeyEvent k(QEvent::KeyPress, 0, Qt::NoModifier, tecla);
        QCoreApplication::sendEvent(v->txtCSC, &k);
    }
    EXPECT_EQ(v->txtCSC->text(), "57");
    Elegir(1); // another insurer closes the window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form(), nullptr);
    v = Abrir();
    EXPECT_TRUE(v->txtCSC->isHidden());
    EXPECT_TRUE(v->lblCsc->isHidden());
}

// The search: its request byte for byte, its answer column by column, sorting, and each way it
// can fail.
TEST_P(VademecumDb, Search)
{
    sim.iniciar();
    frmVademecum* v = Abrir();
    ASSERT_NE(v, nullptr);
    dialogs.clear();
    v->cmdBuscar_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{"Debe ingresar al menos un filtro"});
    v->txtTarjeta->setText("   ");
    v->cmdBuscar_Click();
    EXPECT_EQ(sim.tomas().size(), 0);

    v->txtTarjeta->setText(" 6001234567 ");
    dialogs.clear();
    Buscar(v, DruvexSim::RegistroVademecum(Linea("IBUPROFENO FARMA", "0123456", "00000000120")) +
                  DruvexSim::RegistroVademecum(Linea("   ASPIRINA", "0000042", "00000012345")) +
                  DruvexSim::RegistroVademecum(Linea("BETA", "0200000", "00000000005")));
    ASSERT_EQ(sim.tomas().size(), 1);
    EXPECT_EQ(Subida(0, "_svl.0"), "V2501002" "00001234");
    EXPECT_EQ(Subida(0, "_svl.7"), "30" + P("6001234567", 100) + B(60) + B(20) + B(35) + B(40) + B(15) + "0000" +
                                       B(40) + "\r\n");
    ASSERT_EQ(v->lvwMedicamentos->topLevelItemCount(), 3);
    EXPECT_EQ(Fila(v->lvwMedicamentos->topLevelItem(0)),
              (QStringList{"IBUPROFENO FARMA", "COMP X 20", "750        ", "ANTIINFLAMATORIO", "IBUPROFENO 400 MG",
                           "40", "12         ", "00012", "7790001000017", "000345", "0123456"}));
    EXPECT_EQ(Columna(v->lvwMedicamentos, 0), (QStringList{"IBUPROFENO FARMA", "ASPIRINA", "BETA"}));
    EXPECT_EQ(Columna(v->lvwMedicamentos, 6), (QStringList{"12         ", "1234.5     ", "0.5        "}));
    EXPECT_EQ(dialogs.messages(), QStringList{});
    EXPECT_TRUE(MenusActivos());
    EXPECT_EQ(General::TransaccionActual, nullptr);

    const struct {
        int columna;
        QStringList nombres;
    } orden[] = {{0, {"ASPIRINA", "BETA", "IBUPROFENO FARMA"}},
                 {0, {"IBUPROFENO FARMA", "BETA", "ASPIRINA"}},
                 {0, {"ASPIRINA", "BETA", "IBUPROFENO FARMA"}},
                 {10, {"ASPIRINA", "IBUPROFENO FARMA", "BETA"}}};
    for (const auto& o : orden) {
        v->lvwMedicamentos_ColumnClick(o.columna);
        EXPECT_EQ(Columna(v->lvwMedicamentos, 0), o.nombres);
    }

    // Filters only, another account setting each time.
    v->txtTarjeta->clear();
    v->txtMedicamento->setText(" IBU ");
    v->txtMonodroga->setText("IBUPROFENO");
    v->txtAccion->setText("ANTI");
    v->lblLicencia->clear();
    General::LicenciaSeleccionada = "LIC00007";
    dialogs.clear();
    Buscar(v, QByteArray());
    EXPECT_EQ(Subida(1, "_svl.0"), "V2501002" "LIC00007");
    EXPECT_EQ(Subida(1, "_svl.7"), "30" + B(100) + P("IBU", 30) + B(30) + B(20) + P("ANTI", 35) + P("IBUPROFENO", 40) +
                                       B(15) + "0000" + B(40) + "\r\n");
    EXPECT_EQ(dialogs.messages(), QStringList{"No se encontraron resultados para esos parámetros de búsqueda"});
    EXPECT_EQ(v->lvwMedicamentos->topLevelItemCount(), 0);

    // Failures: the insurer's code; a time-out; no working folder; several accounts; no insurer.
    General::LicenciaSeleccionada.clear();
    DruvexSim::Guion error;
    error.codigoCierre = "0051";
    error.vademecum = DruvexSim::RegistroVademecum(Linea("X", "1", "1"));
    DruvexSim::Guion sinTomar;
    sinTomar.modo = DruvexSim::Modo::NoTomar;
    const struct {
        const char* caso;
        std::optional<DruvexSim::Guion> guion;
        QString carpeta;
        QStringList licencias;
        int fila;
        QStringList mensajes;
        int estilo;
        int tomas;
    } fallas[] = {
        {"codigo", error, wf.path(), {}, 0, {"0051"}, Vbc::vbExclamation, 1},
        {"tiempo", sinTomar, wf.path(), {}, 0, {"-1: Cancelado por Time Out"}, Vbc::vbExclamation, 1},
        {"carpeta", std::nullopt, "", {}, 0, {kFalla}, Vbc::vbCritical, 0},
        {"licencias", std::nullopt, wf.path(), {"A", "B"}, 0, {kVarias}, Vbc::vbInformation, 0},
        {"obra social", std::nullopt, wf.path(), {}, -1, {kSinObraSocial}, Vbc::vbCritical, 0},
    };
    for (const auto& f : fallas) {
        SCOPED_TRACE(f.caso);
        const int antes = sim.tomas().size();
        if (f.guion) sim.encolarGuion(*f.guion);
        General::DirectorioTrabajo = f.carpeta;
        General::Licencias = f.licencias;
        if (f.fila < 0) General::gConfig->setDefaultOS("Ninguna");
        dialogs.clear();
        v->cmdBuscar_Click();
        EXPECT_EQ(Mensajes(), f.mensajes);
        if (const auto* msg = Mensaje()) EXPECT_EQ(msg->style, f.estilo);
        EXPECT_EQ(sim.tomas().size() - antes, f.tomas);
        EXPECT_EQ(v->lvwMedicamentos->topLevelItemCount(), 0);
        General::DirectorioTrabajo = wf.path();
        General::Licencias.clear();
        General::gConfig->setDefaultOS("OSDE Binario");
    }
}

// The prescription list: at most three lines, the same medicine allowed, quantities up to 99.
TEST_P(VademecumDb, PrescriptionList)
{
    sim.iniciar();
    frmVademecum* v = Abrir();
    ASSERT_NE(v, nullptr);
    v->txtTarjeta->setText("6001234567");
    Buscar(v, DruvexSim::RegistroVademecum(Linea("IBUPROFENO FARMA", "0123456", "120")));
    ASSERT_EQ(v->lvwMedicamentos->topLevelItemCount(), 1);
    dialogs.clear();
    for (int i = 0; i < 4; ++i) v->lvwMedicamentos_ItemClick(v->lvwMedicamentos->topLevelItem(0));
    EXPECT_EQ(dialogs.messages(),
              QStringList{"No se pueden prescribir mas de 3 medicamentos en la misma transacción"});
    ASSERT_EQ(v->lvwPrescripciones->topLevelItemCount(), 3);
    EXPECT_EQ(Fila(v->lvwPrescripciones->topLevelItem(2)),
              (QStringList{"IBUPROFENO FARMA", "COMP X 20", "1", "0123456"}));

    QTreeWidgetItem* l = v->lvwPrescripciones->topLevelItem(1);
    for (int i = 0; i < 5; ++i) v->lvwPrescripciones_ItemClick(l);
    EXPECT_EQ(l->text(2), "6");
    l->setText(2, "98");
    dialogs.clear();
    for (int i = 0; i < 3; ++i) v->lvwPrescripciones_ItemClick(l);
    EXPECT_EQ(l->text(2), "99");
    EXPECT_EQ(dialogs.messages(), QStringList(2, "La cantidad máxima por medicamento es 99"));

    v->lvwPrescripciones->setCurrentItem(l);
    v->lvwPrescripciones_Click();
    EXPECT_TRUE(v->cmdEliminar->isEnabled());
    v->cmdEliminar_Click();
    EXPECT_EQ(v->lvwPrescripciones->topLevelItemCount(), 2);
    v->lvwPrescripciones->setCurrentItem(nullptr);
    v->lvwPrescripciones_Click();
    EXPECT_FALSE(v->cmdEliminar->isEnabled());
}

// The send: its records byte for byte with and without delivery, and every way out.
TEST_P(VademecumDb, Sending)
{
    sim.iniciar();
    frmVademecum* v = Abrir();
    ASSERT_NE(v, nullptr);
    v->txtTarjeta->setText(" 6001234567 ");
    Buscar(v, DruvexSim::RegistroVademecum(Linea("IBUPROFENO FARMA", "0123456", "120")) +
                  DruvexSim::RegistroVademecum(Linea("ASPIRINA", "0000042", "120")));
    v->lvwMedicamentos_ItemClick(v->lvwMedicamentos->topLevelItem(0));
    v->lvwMedicamentos_ItemClick(v->lvwMedicamentos->topLevelItem(1));
    v->lvwPrescripciones_ItemClick(v->lvwPrescripciones->topLevelItem(1));
    v->txtDomicilio->setText(" SAN MARTIN 1234 ");
    v->txtTelefono->setText("2614000000");
    v->cboLocalidad->setCurrentIndex(v->cboLocalidad->findText("MEDIA LUNA (6279)", Qt::MatchStartsWith));
    Captura(v->parentWidget(), "vademecum-envio.png");

    DruvexSim::Guion rechazo;
    rechazo.modo = DruvexSim::Modo::Rechazar;
    rechazo.codigoRespuesta = "0051";
    rechazo.mensaje = "AFILIADO INHABILITADO";
    DruvexSim::Guion errorTicket;
    errorTicket.modo = DruvexSim::Modo::ErrorEnTicket;
    DruvexSim::Guion sinTomar;
    sinTomar.modo = DruvexSim::Modo::NoTomar;
    DruvexSim::Guion vacio;
    vacio.modo = DruvexSim::Modo::EstadoVacio;
    const auto medicamentos = QString("FF000123456 ") + B(20) + "1 " + B(210) + "\r\n" + "FF00042     " + B(20) +
                              "2 " + B(210) + "\r\n";
    const QString conEnvio = "31" + P("6001234567", 100) + "2" + "30700000049" + B(12) + "1" + P("2614000000", 15) +
                             P("SAN MARTIN 1234", 100) + P("6279", 10) + B(54) + "0000" + B(40) + "\r\n";
    const QString sinEnvio = "31" + P("6001234567", 100) + "2" + "30700000049" + B(12) + "0" + B(15) + B(100) + B(10) +
                             B(54) + "0000" + B(40) + "\r\n";
    const struct {
        const char* caso;
        std::optional<DruvexSim::Guion> guion;
        bool envio;
        QString tarjeta, carpeta;
        QStringList licencias;
        bool obraSocial;
        QStringList mensajes, modales;
        bool tomada, abierta, aceptar;
    } filas[] = {
        {"rechazo", rechazo, true, "6001234567", wf.path(), {}, true, {}, {"frmMostrarErrores", "frmMuestraTicket"},
         true, true, false},
        {"error en ticket", errorTicket, false, "6001234567", wf.path(), {}, true, {}, {"frmMuestraTicket"}, true,
         true, false},
        {"tiempo", sinTomar, true, "6001234567", wf.path(), {}, true,
         {"-1: Cancelado por Time Out\r\nError en configuración de druvex"}, {}, false, true, false},
        {"estado vacio", vacio, true, "6001234567", wf.path(), {}, true, {"*"}, {}, true, true, false},
        {"sin tarjeta", std::nullopt, true, "  ", wf.path(), {}, true, {"Ingrese la tarjeta del afiliado"}, {}, false,
         true, true},
        {"sin carpeta", std::nullopt, true, "6001234567", "", {}, true, {kFalla}, {}, false, true, true},
        {"sin obra social", std::nullopt, true, "6001234567", wf.path(), {}, false, {kSinObraSocial}, {}, false, true,
         true},
        {"licencias", std::nullopt, true, "6001234567", wf.path(), {"A", "B"}, true, {kVarias}, {}, false, true, true},
        {"aprobada", std::optional<DruvexSim::Guion>(DruvexSim::Guion{}), true, "6001234567", wf.path(), {}, true, {},
         {"frmMuestraTicket"}, true, false, false},
    };
    v->lblLicencia->clear();
    for (const auto& f : filas) {
        SCOPED_TRACE(f.caso);
        ASSERT_NE(Form(), nullptr);
        v->cmdAceptar->setEnabled(true);
        v->chkEnvioDomicilio->setChecked(f.envio);
        v->txtTarjeta->setText(f.tarjeta);
        General::DirectorioTrabajo = f.carpeta;
        General::Licencias = f.licencias;
        General::gConfig->setDefaultOS(f.obraSocial ? "OSDE Binario" : "Ninguna");
        if (f.guion) sim.encolarGuion(*f.guion);
        const int antes = sim.tomas().size();
        dialogs.clear();
        modales.clear();
        v->cmdAceptar_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (f.mensajes == QStringList{"*"}) {
            ASSERT_EQ(dialogs.messages().size(), 1);
            EXPECT_TRUE(Mensaje()->text.startsWith("-2: "));
            EXPECT_EQ(Mensaje()->title, "Transacción");
            EXPECT_EQ(Mensaje()->style, Vbc::vbInformation);
        } else {
            EXPECT_EQ(Mensajes(), f.mensajes);
        }
        EXPECT_EQ(modales, f.modales);
        EXPECT_TRUE(MenusActivos());
        EXPECT_EQ(sim.tomas().size() - antes, f.guion ? 1 : 0);
        if (f.guion && f.tomada) {
            const DruvexSim::Toma t = sim.tomas().last();
            EXPECT_EQ(QString::fromLatin1(t.upload.value("_svl.0")), "V2501002");
            EXPECT_EQ(QString::fromLatin1(t.upload.value("_svl.3")), medicamentos);
            EXPECT_EQ(QString::fromLatin1(t.upload.value("_svl.6")), f.envio ? conEnvio : sinEnvio);
        }
        EXPECT_EQ(Form() != nullptr, f.abierta);
        if (f.abierta) {
            EXPECT_EQ(v->cmdAceptar->isEnabled(), f.aceptar);
            EXPECT_EQ(v->lvwPrescripciones->topLevelItemCount(), 2);
        }
    }
    EXPECT_EQ(General::TransaccionActual, nullptr);
}

// The delivery box governs its fields; unchecking empties address and telephone and keeps the
// locality. The window with an answer and two medicines is kept as a screenshot.
TEST_P(VademecumDb, HomeDeliveryAndScreenshot)
{
    sim.iniciar();
    frmVademecum* v = Abrir();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->chkEnvioDomicilio->isChecked());
    EXPECT_EQ(v->cboLocalidad->count(), 566);
    EXPECT_EQ(v->cboLocalidad->currentIndex(), -1);
    EXPECT_EQ(v->txtDomicilio->maxLength(), 100);
    EXPECT_EQ(v->txtTelefono->maxLength(), 15);
    v->txtDomicilio->setText("SAN MARTIN 1234");
    v->txtTelefono->setText("2614000000");
    v->cboLocalidad->setCurrentIndex(0);
    v->chkEnvioDomicilio->setChecked(false);
    v->chkEnvioDomicilio_Click();
    for (QWidget* w : std::initializer_list<QWidget*>{v->txtDomicilio, v->lblDireccion, v->cboLocalidad,
                                                      v->lblLocalidad, v->txtTelefono, v->lblTelefono})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(v->txtDomicilio->text(), "");
    EXPECT_EQ(v->txtTelefono->text(), "");
    EXPECT_EQ(v->cboLocalidad->currentIndex(), 0);
    v->chkEnvioDomicilio->setChecked(true);
    v->chkEnvioDomicilio_Click();
    EXPECT_TRUE(v->cboLocalidad->isEnabled());

    v->txtTarjeta->setText("6001234567");
    Buscar(v, DruvexSim::VademecumEjemplo());
    ASSERT_EQ(v->lvwMedicamentos->topLevelItemCount(), 3);
    v->lvwMedicamentos_ItemClick(v->lvwMedicamentos->topLevelItem(0));
    v->lvwMedicamentos_ItemClick(v->lvwMedicamentos->topLevelItem(2));
    Captura(v->parentWidget(), "vademecum-busqueda.png");
}

INSTANTIATE_TEST_SUITE_P(Engines, VademecumDb, DbEngines(), DbEngineName);
