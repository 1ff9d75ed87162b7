#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmEmuladorPOS.h"
#include "platform/Database.h"
#include "platform/Platform.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

const QString kBlancos = QString(100, QLatin1Char(' '));

// The main window on a configuration read from the database: "(2) Osde Binario" on-line,
// "(5) Salud Sur" off-line; providers of types 0, 1, 2 (two rows named "LAB UNO"), 5 and one not
// taking admissions; three doctors, two effectors, two specialities.
class EmuladorDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        auto cn = Connect();
        DatosTerminal::ObraSocial(*cn, 1, "Osde Binario", 11, 2, true);
        DatosTerminal::ObraSocial(*cn, 2, "Salud Sur", 12, 5, false);
        const QString sql = "INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, "
                            "codigoOSDE, Predeterminado, Filial, Admisor, Baja, Licencia) VALUES (?,?,?,?,?,?,?,?,?,0,?)";
        cn->Execute(sql, {1, "CLINICA SOL", "30700000049", 1, 0, 1001, 1, 7, 1, "00001234"});
        cn->Execute(sql, {2, "CENTRO DENTAL", "20111111112", 0, 1, 2002, 0, 1, 1, ""});
        cn->Execute(sql, {3, "LAB UNO", "20222222223", 0, 2, 3003, 0, 3, 1, "00003333"});
        cn->Execute(sql, {4, "LAB UNO", "20333333334", 0, 2, 3004, 0, 4, 1, "00009999"});
        cn->Execute(sql, {5, "GUARDIA", "20555555556", 0, 0, 5005, 0, 5, 0, ""});
        cn->Execute(sql, {6, "SANATORIO", "20666666667", 1, 5, 6006, 0, 6, 1, ""});
        for (const QVariantList& m : {QVariantList{"PEREZ JUAN", 1234, "BM"}, QVariantList{"GOMEZ ANA", 1234, "CM"},
                                      QVariantList{"ROJAS LUIS", 555, "XO"}})
            cn->Execute("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES (?,?,?,0)", m);
        cn->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (7, 'CARDIOLOGIA')");
        cn->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (12, 'CIRUGIA')");
        const QString ef = "INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula, Baja, IdEspecialidad) "
                           "VALUES (?,?,?,?,?,0,?)";
        cn->Execute(ef, {1, "CLINICA SOL", "30700000049", "99", "BM", 12});
        cn->Execute(ef, {2, "DR EFECTOR", "20444444445", "77", "CM", 7});

        DatosTerminal::Terminal(*cn, {});
        General::gConfig = std::make_shared<clsConfig>();
        ASSERT_TRUE(General::gConfig->LoadConfig(1, false));
        for (const auto& o : *General::gConfig->ObrasSociales()) o->BitMap = o->UtilizaCSC = o->OnLine;
        General::gConfig->setDefaultOS(QString());
        General::DirectorioTrabajo = home() + "/druvex/";
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        Platform::setClock([] { return QDateTime(QDate(2024, 3, 15), QTime(9, 5, 7)); });
        m = std::make_unique<frmMain>();
        m->resize(1024, 756);
        m->show();
        m->ObraSocial->RefrescarLista();
        Elegir("(2) Osde Binario");
    }
    void TearDown() override
    {
        m.reset();
        Platform::setClock({});
        General::gConfig.reset();
        General::OperacionActual = General::SubModoOperacion = General::PrestadorActual = 0;
        General::UltimoIndiceTipoMatricula = General::UltimoIndiceProvincia = 0;
        General::ObraSocialOnLine = General::ObraSocialUtilizaCSC = false;
        General::DirectorioTrabajo.clear();
        DbFixture::TearDown();
    }
    void Elegir(const QString& linea)
    {
        const auto items = m->ObraSocial->lstObraSocial->findItems(linea, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        m->ObraSocial->lstObraSocial->setCurrentItem(items[0]);
        Cerradas();
    }
    void Cerradas() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    frmEmuladorPOS* Forma() const
    {
        return qobject_cast<frmEmuladorPOS*>(m->FormularioTrabajo("frmEmuladorPOS"));
    }
    frmEmuladorPOS* Abrir(void (frmMain::*h)())
    {
        (m.get()->*h)();
        Cerradas();
        return Forma();
    }
    static QStringList Textos(const QComboBox* c)
    {
        QStringList t;
        for (int i = 0; i < c->count(); ++i) t << c->itemText(i);
        return t;
    }
    static void Tecla(QWidget* w, int key, Qt::KeyboardModifiers mod, const QString& texto)
    {
        QKeyEvent e(QEvent::KeyPress, key, mod, texto);
        QApplication::sendEvent(w, &e);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> m;
};

using M = frmMain;
const struct {
    void (M::*h)();
    qint16 codigo;
    const char* titulo;
} kEntradas[] = {
    {&M::mnuVerficarAfiliado_Click, 1, "Verificar Afiliado"},
    {&M::mnuVerificarPrestacion_Click, 2, "Verificar Afiliado/Prestación"},
    {&M::mnuVerificarPrestador_Click, 3, "Verificación Completa"},
    {&M::mnuInformarPrestacionSinFecha_Click, 4, "Informar Prestación"},
    {&M::mnuInformarPrescripcion_Click, 5, "Informar Prescripción"},
    {&M::mnuInformarAutorizar_Click, 6, "Solicitar Autorización"},
    {&M::mnuInformarPrestacionConFecha_Click, 7, "Informar Prestación Diferida"},
    {&M::mnuConsultarAutorizacion_Click, 8, "Rescatar Solicitud"},
    {&M::mnuAnulacion_Click, 9, "Informar Anulación"},
    {&M::mnuAdmisionInternacion_Click, 11, "Admisión de Internación"},
    {&M::mnuAltaInternacion_Click, 12, "Alta de Internación"},
    {&M::mnuEnvioProtocolo_Click, 13, "Enviar Protocolo Quirúrgico"},
    {&M::mnuInformarCirugia_Click, 14, "Informar Cirugía Ya Realizada"},
    {&M::mnuAutorizacionOrtodoncia_Click, 15, "Autorización Ortodoncia"},
    {&M::mnuAutorizacionSolicitudProtesis_Click, 16, "Autorización Solicitud Prótesis"},
    {&M::mnuRescateSolicitudProtesis_Click, 17, "Rescate Solicitud Prótesis"},
    {&M::mnuInformarPrestacionAutorizada_Click, 18, "Informar Prestación Pre-Autorizada"},
    {&M::mnuAutorizarCirugia_Click, 19, "Solicitar Autorización Cirugía"},
    {&M::mnuInformarDiagnostico_Click, 97, "Informar Diagnóstico"},
};

} // namespace

// Every menu entry opens a fresh form for its operation with its lists, its provider applied,
// today's date and time, its own transaction; cancel closes it and clears the operation.
TEST_P(EmuladorDb, EachMenuEntryOpensTheFormAndCancelClosesIt)
{
    const QStringList medicos = {"", "GOMEZ ANA" + kBlancos + "1234   CM", "PEREZ JUAN" + kBlancos + "1234   BM",
                                 "ROJAS LUIS" + kBlancos + "555   XO"};
    for (const auto& f : kEntradas) {
        SCOPED_TRACE(f.codigo);
        EstadoEmuladorPOS::Instancia().sTextoInformeMedico = "informe del paciente anterior";
        frmEmuladorPOS* forma = Abrir(f.h);
        ASSERT_NE(forma, nullptr);
        EXPECT_EQ(General::OperacionActual, f.codigo);
        EXPECT_EQ(forma->windowTitle(), QString::fromUtf8(f.titulo));
        if (f.codigo == 12) EXPECT_EQ(m->windowTitle(), "Quorvan (Alta de Internación) - Alta de Internación");
        EXPECT_EQ(forma->cboTipoDocumento->count(), 8);
        EXPECT_EQ(forma->cboTipoDocumento->itemText(2), "Libreta de Enrolamiento" + kBlancos + "2");
        EXPECT_EQ(forma->cboNombre->currentText(), "CLINICA SOL");
        EXPECT_EQ(forma->txtcodigoOSDE->text(), "1001");
        EXPECT_EQ(forma->txtFilialPrestador->text(), "7");
        EXPECT_EQ(forma->lblLicencia->text(), "00001234");
        EXPECT_EQ(forma->txtAUCEFE->text(), "30-70000004-9");
        EXPECT_EQ(forma->cboEfectores->currentText(), "CLINICA SOL");
        EXPECT_EQ(forma->cboEspecialidadEfector->currentText(), "CIRUGIA" + kBlancos + "12");
        // Operation 19 lists providers as prescribers for a provider of a type other than 2.
        if (f.codigo == 19)
            EXPECT_EQ(forma->cboPrescriptores->itemText(1), "CENTRO DENTAL" + kBlancos + "2002");
        else
            EXPECT_EQ(Textos(forma->cboPrescriptores), medicos);
        const QString egresos = f.codigo == 12 ? "123456" : "01489";
        QString codigos;
        for (int i = 0; i < forma->cmbAUFINA->count(); ++i) codigos += forma->cmbAUFINA->itemText(i).right(1);
        EXPECT_EQ(codigos, egresos);
        EXPECT_EQ(forma->txtAUFECP->text(), "15/03/2024");
        EXPECT_EQ(forma->txtAUHORP->text(), "09:05:07");
        ASSERT_TRUE(General::TransaccionActual);
        EXPECT_EQ(General::TransaccionActual->PasoDRUVEX(), General::DirectorioTrabajo);
        EXPECT_TRUE(EstadoEmuladorPOS::Instancia().GenerarReferencia);
        EXPECT_EQ(EstadoEmuladorPOS::Instancia().sTextoInformeMedico, "");
        EXPECT_EQ(forma->txtAUNREF->maxLength(), f.codigo == 9 ? 10 : 6) << "an OSDE insurer";
        EXPECT_FALSE(forma->txtCSC->isHidden());
        EXPECT_EQ(m->MDIArea->activeSubWindow()->height(), 653) << "9800 twips";
        if (f.codigo == 9) EXPECT_EQ(forma->txtAUWREF->text(), "98");
        if (f.codigo == 18) EXPECT_EQ(forma->lblAUNREF->text(), "N° Trans./Autorización:");
        if (f.codigo == 19) EXPECT_EQ(forma->frmProtocolo->title(), "");

        forma->cmdCancelar_Click();
        Cerradas();
        EXPECT_EQ(General::OperacionActual, 0);
        EXPECT_EQ(Forma(), nullptr);
        EXPECT_FALSE(General::TransaccionActual);
        EXPECT_FALSE(EstadoEmuladorPOS::Instancia().GenerarReferencia);
    }
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();

    // Another insurer closes the form addressed to the first.
    ASSERT_NE(Abrir(&M::mnuVerficarAfiliado_Click), nullptr);
    Elegir("(5) Salud Sur");
    EXPECT_EQ(Forma(), nullptr);
    EXPECT_FALSE(General::TransaccionActual);

    // An off-line insurer gets the capture form.
    m->mnuInformarPrestacionSinFecha_Click();
    Cerradas();
    EXPECT_EQ(Forma(), nullptr);
    EXPECT_NE(m->FormularioTrabajo("frmOSGenerica"), nullptr);
}

// The variables outlive the form; the last send's registration choice and the last provider
// come back; the provider's type chooses the prescriber and discharge lists and the dental flags.
TEST_P(EmuladorDb, KeptVariablesAndTheProviderTypeRules)
{
    frmEmuladorPOS* forma = Abrir(&M::mnuInformarPrestacionSinFecha_Click);
    EstadoEmuladorPOS::Instancia().NumeroReferencia = "417";
    General::UltimoIndiceTipoMatricula = 2;
    General::UltimoIndiceProvincia = 3;
    forma->cboNombre->setCurrentIndex(forma->cboNombre->findData(2)); // the dental provider
    forma = Abrir(&M::mnuInformarPrestacionConFecha_Click);
    EXPECT_EQ(forma->cboNombre->currentText(), "CENTRO DENTAL");
    EXPECT_EQ(forma->cboTipoMatricula->currentText(), "O.ODONTOLOGO");
    EXPECT_EQ(forma->cboProvincia->currentText(), "B.BUENOS AIRES");
    EXPECT_EQ(EstadoEmuladorPOS::Instancia().NumeroReferencia, "417");
    // Codes 4 and 7 choose the dental fields after the provider is applied: the flags follow.
    EXPECT_TRUE(EstadoEmuladorPOS::Instancia().DatosDentales);
    EXPECT_TRUE(General::HabilitarPiezaDental && General::HabilitarCaraDental);
    forma = Abrir(&M::mnuVerficarAfiliado_Click);
    EXPECT_FALSE(General::HabilitarPiezaDental || General::HabilitarCodigoPrestacion || General::HabilitarTipoArancel);

    forma = Abrir(&M::mnuInformarPrescripcion_Click);
    forma->cboNombre->setCurrentIndex(forma->cboNombre->findData(3));
    EXPECT_EQ(forma->cboPrescriptores->itemText(4), "LAB UNO" + kBlancos + "3003");
    EXPECT_FALSE(forma->cboTipoMatricula->isVisibleTo(forma)) << "the referral";
    EXPECT_EQ(forma->txtFilial->text(), "3");
    forma->cboPrescriptores->setCurrentIndex(1);
    forma->cboPrescriptores_LostFocus();
    EXPECT_EQ(forma->txtAUNMAT->text(), "2002");
    EXPECT_EQ(forma->txtFilial->text(), "1");

    forma = Abrir(&M::mnuInformarPrestacionSinFecha_Click);
    forma->cboNombre->setCurrentIndex(forma->cboNombre->findData(6));
    forma = Abrir(&M::mnuInformarPrestacionSinFecha_Click);
    EXPECT_EQ(forma->cmbAUFINA->count(), 2) << "provider type 5";
    forma = Abrir(&M::mnuAltaInternacion_Click);
    EXPECT_EQ(forma->cmbAUFINA->count(), 6);
}

// Provider by code, prescriber by registration, effector by its list; the edge cases of each.
TEST_P(EmuladorDb, ProviderPrescriberAndEffectorLookups)
{
    frmEmuladorPOS* forma = Abrir(&M::mnuInformarPrestacionSinFecha_Click);
    const struct {
        QString codigo;
        int fila; // provider id chosen, 1 when nothing changes
        QString licencia, filial;
    } codigos[] = {{"3004", 4, "00009999", "4"}, {"3003", 3, "00003333", "3"}, {"5005", 3, "00003333", "3"},
                   {"9999", 3, "00003333", "3"}, {"1001", 1, "00001234", "7"}};
    for (const auto& c : codigos) {
        forma->txtcodigoOSDE->setText(c.codigo);
        forma->txtcodigoOSDE_LostFocus();
        EXPECT_EQ(forma->cboNombre->currentData().toInt(), c.fila) << c.codigo.toStdString();
        EXPECT_EQ(forma->lblLicencia->text(), c.licencia);
        EXPECT_EQ(forma->txtFilialPrestador->text(), c.filial);
    }
    int enter = 13;
    forma->txtcodigoOSDE->setText("3004");
    forma->txtAUNMAT_KeyPress(enter);
    EXPECT_EQ(forma->cboNombre->currentData().toInt(), 4) << "Enter in the registration looks up the provider code";

    forma->cboNombre->setCurrentIndex(forma->cboNombre->findData(1));
    forma->LimpiarPrestador();
    EXPECT_EQ(EstadoEmuladorPOS::Instancia().Cuit, 0);
    EXPECT_EQ(forma->txtcodigoOSDE->text(), "");
    EXPECT_EQ(forma->cboNombre->currentText(), "CLINICA SOL");
    forma->cboNombre_Click();

    const struct {
        QString tipo, jurisdiccion, numero, medico;
    } matriculas[] = {{"1", "B", "1234", "PEREZ JUAN"}, {"M", "C", "1234", "GOMEZ ANA"},
                      {"O", "X", "555", "ROJAS LUIS"}, {"M", "X", "555", "ROJAS LUIS"}, {"", "", "1234", "ROJAS LUIS"}};
    for (const auto& c : matriculas) {
        forma->BuscarCodigoCombo(forma->cboTipoMatricula, c.tipo);
        forma->BuscarProvincia(c.jurisdiccion);
        forma->txtAUNMAT->setText(c.numero);
        forma->txtAUNMAT_LostFocus();
        EXPECT_TRUE(forma->cboPrescriptores->currentText().startsWith(c.medico)) << c.numero.toStdString();
    }
    forma->cboPrescriptores->setCurrentIndex(2);
    forma->cboPrescriptores_LostFocus();
    EXPECT_EQ(forma->txtAUNMAT->text(), "1234");
    EXPECT_EQ(forma->cboTipoMatricula->currentText(), "M.MEDICO");
    EXPECT_EQ(forma->cboProvincia->currentText(), "B.BUENOS AIRES");

    forma->cboEfectores->setCurrentIndex(1);
    EXPECT_EQ(forma->txtAUCEFE->text(), "20-44444444-5");
    EXPECT_EQ(forma->cboEspecialidadEfector->currentText(), "CARDIOLOGIA" + kBlancos + "7");
    EXPECT_EQ(EstadoEmuladorPOS::Instancia().lMatricula, 77);
    forma->cboNombre->setCurrentIndex(forma->cboNombre->findData(2)); // its CUIT is no effector's
    EXPECT_EQ(forma->txtAUCEFE->text(), "");
    EXPECT_EQ(forma->cboEfectores->currentIndex(), -1);
}

// The key filters and the checks on leaving a field, with their messages.
TEST_P(EmuladorDb, KeyFiltersAndLeaveChecks)
{
    frmEmuladorPOS* forma = Abrir(&M::mnuConsultarAutorizacion_Click);
    const struct {
        void (frmEmuladorPOS::*filtro)(int&);
        int tecla;
        bool pasa;
    } teclas[] = {{&frmEmuladorPOS::txtCSC_KeyPress, '7', true},   {&frmEmuladorPOS::txtCSC_KeyPress, '-', false},
                  {&frmEmuladorPOS::txtCSC_KeyPress, 22, true},    {&frmEmuladorPOS::txtAUNREF_KeyPress, 'a', false},
                  {&frmEmuladorPOS::txtAUNREF_KeyPress, 8, true},  {&frmEmuladorPOS::txtAUWREF_KeyPress, 'x', false}};
    for (const auto& t : teclas) {
        int k = t.tecla;
        (forma->*t.filtro)(k);
        EXPECT_EQ(k, t.pasa ? t.tecla : 0) << t.tecla;
    }
    forma->txtAUNREF->clear();
    Tecla(forma->txtAUNREF, Qt::Key_A, Qt::NoModifier, "a");
    Tecla(forma->txtAUNREF, Qt::Key_4, Qt::NoModifier, "4");
    EXPECT_EQ(forma->txtAUNREF->text(), "4");
    forma->txtAUWREF->setText("5");
    forma->txtAUWREF_LostFocus();
    EXPECT_EQ(forma->txtAUWREF->text(), "05");

    // The card box: a copied card track is never pasted, and the clipboard is left alone.
    QClipboard* cb = QApplication::clipboard();
    for (const QString& copia : {QString(19, '1'), QString(18, '2')}) {
        cb->setText(copia);
        forma->txtTarjeta->clear();
        Tecla(forma->txtTarjeta, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
        EXPECT_EQ(forma->txtTarjeta->text(), copia.size() > 18 ? "" : copia);
        QMouseEvent mover(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(forma->txtTarjeta, &mover);
        EXPECT_EQ(cb->text(), copia);
    }

    dialogs.clear();
    const struct {
        QString fecha;
        bool valida;
    } fechas[] = {{"15/03/2024", true}, {"", false}, {"1/3/2024", false}, {"31/02/2024", false}, {"2024-03-15", false},
                  {"15-03-2024", false}};
    for (const auto& c : fechas) {
        dialogs.clear();
        forma->txtAUFECP->setText(c.fecha);
        forma->txtAUFECP_LostFocus();
        EXPECT_EQ(dialogs.messages(),
                  c.valida ? QStringList{} : QStringList{"Fecha de Práctica off-line inválida.\r\nFormato correcto: dd/mm/aaaa"})
            << c.fecha.toStdString();
    }
    dialogs.clear();
    forma->txtAUNREF->setText("12-4");
    forma->txtAUNREF_LostFocus();
    forma->txtAUNREF->setText("1234");
    forma->txtAUNREF_LostFocus();
    EXPECT_EQ(dialogs.messages(), QStringList{"Nº de autorización incorrecto"});

    for (const QString& cuit : {"20444444445", "20-44444444-5"}) {
        forma->txtAUCEFE->setText(cuit);
        forma->txtAUCEFE_LostFocus();
        EXPECT_EQ(forma->txtAUCEFE->text(), "20-44444444-5");
    }

    forma = Abrir(&M::mnuInformarPrestacionSinFecha_Click); // card security code asked and checked
    const struct {
        QString codigo, queda;
        bool valido;
    } codigos[] = {{"7", "007", true}, {"12345", "345", true}, {"123", "123", true}, {"", "", false}};
    for (const auto& c : codigos) {
        dialogs.clear();
        forma->txtCSC->setText(c.codigo);
        bool valido = !c.valido;
        forma->ValidarCodigoSeguridad(valido);
        EXPECT_EQ(valido, c.valido);
        EXPECT_EQ(forma->txtCSC->text(), c.queda);
        if (!c.valido) {
            ASSERT_EQ(dialogs.shown.size(), 1);
            EXPECT_EQ(dialogs.shown[0].title, "Código vacío");
        }
    }
    General::SubModoOperacion = 2;
    bool valido = false;
    forma->txtCSC->clear();
    forma->ValidarCodigoSeguridad(valido);
    EXPECT_TRUE(valido);
}

TEST_P(EmuladorDb, Screenshots)
{
    if (GetParam() != DbEngine::SQLite) GTEST_SKIP() << "one set of pictures is enough";
    const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(carpeta);
    const struct {
        void (M::*h)();
        const char* archivo;
        bool csc;
    } fotos[] = {{&M::mnuVerficarAfiliado_Click, "entry-01-verify.png", true},
                 {&M::mnuInformarPrestacionSinFecha_Click, "entry-04-report.png", false},
                 {&M::mnuInformarPrescripcion_Click, "entry-05-prescription.png", false},
                 {&M::mnuAltaInternacion_Click, "entry-12-discharge.png", false},
                 {&M::mnuEnvioProtocolo_Click, "entry-13-protocol.png", false},
                 {&M::mnuAutorizacionOrtodoncia_Click, "entry-15-orthodontics.png", false},
                 {&M::mnuAutorizarCirugia_Click, "entry-19-surgery.png", false}};
    for (const auto& f : fotos) {
        General::ObraSocialUtilizaCSC = f.csc;
        frmEmuladorPOS* forma = Abrir(f.h);
        ASSERT_NE(forma, nullptr);
        ASSERT_TRUE(m->MDIArea->activeSubWindow()->grab().save(carpeta + "/" + f.archivo));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, EmuladorDb, DbEngines(), DbEngineName);
