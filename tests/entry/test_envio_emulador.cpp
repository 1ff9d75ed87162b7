#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "entry/EnvioEmuladorPOS.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmEmuladorPOS.h"
#include "entry/frmPrestacion.h"
#include "platform/Database.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "reports/frmReporte.h"
#include "reports/frmTransacciones.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/frmInicio.h"
#include "txlog/modTickets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <map>

namespace {

QByteArray B(int n) { return QByteArray(n, ' '); }
QByteArray P(const QByteArray& s, int n) { return s + B(n - s.size()); }

// A request record: blanks, then the given bytes at their 1-based positions, CR LF at the end.
QByteArray Registro(int largo, const std::map<int, QByteArray>& en)
{
    QByteArray r = B(largo - 2) + "\r\n";
    for (const auto& [pos, bytes] : en) r.replace(pos - 1, bytes.size(), bytes);
    return r;
}

// The header as every send writes it (version 1.2.15, 15/03/2024 09:05), with the fields of one
// operation laid over it.
QByteArray Cabecera(std::map<int, QByteArray> campos)
{
    std::map<int, QByteArray> r = {{1, "P1215"},  {108, "2"},      {109, "30700000049"}, {131, "000000"},
                                   {181, "20240315"}, {189, "0905"}, {213, "01"},          {215, "000000"},
                                   {255, "0"},      {256, "00000"},  {308, "0000"},        {352, "000000000250"}};
    for (const auto& [pos, bytes] : campos) r[pos] = bytes;
    return Registro(383, r);
}

// One service line as the engine writes it.
QByteArray Item(const QByteArray& tipo, const QByteArray& codigo, const QByteArray& cantidad,
                const QByteArray& pieza, const QByteArray& caras, const QByteArray& arancel)
{
    return "FF000" + P(tipo, 2) + P(codigo, 10) + cantidad + P(pieza, 2) + P(caras, 5) + arancel + "00000000000" +
           B(48) + "0000" + B(70) + "\r\n";
}

struct Linea {
    const char* codigo;
    int tipo;       // cmbTipo index
    const char* cantidad;
    int sector = -1; // cboAUODP index (1 "Pieza")
    const char* pieza = "";
    QList<int> caras;
};

// The entry window of the main window on a terminal read from the database, the client
// simulated on the working folder, printing recorded.
class EnvioDb : public DbFixture {
public:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        frmProcesandoCO::setDuracionTick(40);
        auto cn = Connect();
        DatosTerminal::ObraSocial(*cn, 1, "Osde Binario", 11, 2, true);
        DatosTerminal::ObraSocial(*cn, 2, "Salud Sur", 12, 5, false);
        const QString sql = "INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, "
                            "codigoOSDE, Predeterminado, Filial, Admisor, Baja, Licencia) VALUES (?,?,?,?,?,?,?,?,?,0,?)";
        cn->Execute(sql, {1, "CLINICA SOL", "30700000049", 1, 0, 1001, 1, 7, 1, "00001234"});
        cn->Execute(sql, {2, "CENTRO DENTAL", "20111111112", 0, 1, 2002, 0, 1, 1, ""});
        cn->Execute(sql, {3, "LAB UNO", "20222222223", 0, 2, 3003, 0, 3, 1, "00003333"});
        cn->Execute("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES ('PEREZ JUAN', 1234, 'BM', 0)");
        cn->Execute("INSERT INTO Especialidades (IdEspecialidad, Especialidad) VALUES (7, 'CARDIOLOGIA')");
        cn->Execute("INSERT INTO Efectores (IdEfector, Nombre, Cuit, Matricula, TipoMatricula, Baja, IdEspecialidad) "
                    "VALUES (2, 'DR EFECTOR', '20444444445', '77', 'CM', 0, 0)");
        DatosTerminal::Terminal(*cn, {});
        cn->Execute("UPDATE Parametros SET Imprimir = 1, Impresora = 'Ticketera'");
        General::gConfig = std::make_shared<clsConfig>();
        ASSERT_TRUE(General::gConfig->LoadConfig(1, false));
        for (const auto& o : *General::gConfig->ObrasSociales()) o->BitMap = o->OnLine;
        General::gConfig->setDefaultOS(QString());
        General::DirectorioTrabajo = wf.path();
        wf.mkdir("tx");
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        General::PrestadorActual = 0;
        Platform::setProgramVersion({1, 2, 15});
        Platform::setClock([] { return QDateTime(QDate(2024, 3, 15), QTime(9, 5, 7)); });
        Platform::setRandom([] { return 0.25; });
        RecordingPrinter::install();
        dialogs.modalHandler = [this](QDialog* d) {
            if (d->objectName() == "frmProcesandoCO") return d->exec();
            modales << d->objectName();
            if (auto* p = qobject_cast<frmPrestacion*>(d)) {
                if (revisar) revisar(p);
                Escribir(p);
            }
            return int(QDialog::Accepted);
        };
        m = std::make_unique<frmMain>();
        m->resize(1024, 756);
        m->show();
        m->ObraSocial->RefrescarLista();
        Elegir("(2) Osde Binario");
        sim.iniciar();
    }
    void TearDown() override
    {
        sim.detener();
        m.reset();
        RecordingPrinter::uninstall();
        frmProcesandoCO::setDuracionTick(1000);
        Platform::resetProgramVersion();
        Platform::setClock({});
        Platform::setRandom({});
        General::gConfig.reset();
        General::TransaccionActual.reset();
        General::Licencias.clear();
        General::LicenciaSeleccionada.clear();
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
    static void Cerradas() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    frmEmuladorPOS* Forma() const { return qobject_cast<frmEmuladorPOS*>(m->FormularioTrabajo("frmEmuladorPOS")); }
    frmEmuladorPOS* Abrir(void (frmMain::*h)(), int prestador = 1)
    {
        General::PrestadorActual = prestador;
        (m.get()->*h)();
        Cerradas();
        return Forma();
    }
    // The line the service-line dialog is given next.
    void Escribir(frmPrestacion* p)
    {
        if (pendientes.isEmpty()) return;
        const Linea l = pendientes.takeFirst();
        p->txtAUPRE->setText(l.codigo);
        p->cmbTipo->setCurrentIndex(l.tipo);
        p->txtAUCAN->setText(l.cantidad);
        if (l.sector >= 0) {
            p->cboAUODP->setCurrentIndex(l.sector);
            p->cboAUODP_Click();
            p->txtAUODP->setText(l.pieza);
        }
        for (int c : l.caras) {
            p->chkCara[c]->setChecked(true);
            p->chkCara_Click(c);
        }
        p->cmdOk_Click();
    }
    void Lineas(frmEmuladorPOS* f, const QList<Linea>& lineas)
    {
        for (const Linea& l : lineas) {
            pendientes << l;
            f->cmdAdd_Click();
        }
    }
    // Card, one line and the effector's CUIT as the user types them, maybe a speciality, and the send.
    void EnviarConEfector(frmEmuladorPOS* f, bool especialidad = false)
    {
        QTest::keyClicks(f->txtTarjeta, "6001234567");
        pendientes << Linea{"420101", 0, "1"};
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        QTest::keyClicks(f->txtAUCEFE, "20444444445");
        if (especialidad) QTest::keyClick(f->cboEspecialidadEfector, Qt::Key_Down);
        QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
        Cerradas();
    }
    int Filas(const char* tabla) const { return Connect()->Query(QStringLiteral("SELECT * FROM %1").arg(tabla)).RowCount(); }
    std::string Subida(int toma, const char* archivo) const
    {
        return sim.tomas().value(toma).upload.value(archivo).toStdString();
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    QStringList modales;
    QList<Linea> pendientes;
    std::function<void(frmPrestacion*)> revisar;
    DruvexSim sim{wf.path()};
    std::unique_ptr<frmMain> m;
};

using M = frmMain;

}

// Each family from its menu entry to the client and back: the request bytes, the ticket shown
// and printed, the logged rows and ticket file, the window back empty.
TEST_P(EnvioDb, EachFamilySendsItsRequestAndLogsTheTicket)
{
    const QByteArray tarjeta = P("6001234567", 100);
    const struct Familia {
        const char* nombre;
        void (M::*menu)();
        int prestador;
        std::function<void(EnvioDb&, frmEmuladorPOS*)> llenar;
        std::map<int, QByteArray> cabecera; // over the common header of provider 1 and card 6001234567
        QByteArray items;
        QByteArray diagnosticos;
    } familias[] = {
        {"1 verificación", &M::mnuVerficarAfiliado_Click, 1, [](EnvioDb&, frmEmuladorPOS*) {},
         {{6, "41"}}, "", ""},
        {"2 con una línea", &M::mnuVerificarPrestacion_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) { t.Lineas(f, {{"420101", 0, "1"}}); },
         {{6, "42"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"4 dos líneas, prescriptor y efector", &M::mnuInformarPrestacionSinFecha_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}, {"420351", 1, "2"}});
             f->cboPrescriptores->setCurrentIndex(1);
             f->cboPrescriptores_LostFocus();
             f->cboEfectores->setCurrentIndex(f->cboEfectores->findText("DR EFECTOR"));
             f->cboEspecialidadEfector->setCurrentIndex(1);
         },
         {{6, "11"}, {120, "20444444445"}, {213, "B1"}, {215, "001234"}},
         Item("1", "420101", "01", "", "", "0") + Item("2", "420351", "02", "", "", "0"), ""},
        {"7 con fecha", &M::mnuInformarPrestacionConFecha_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             f->txtAUFECP->setText("01/03/2024");
         },
         {{6, "15"}, {181, "20240301"}, {213, "B1"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"18 preautorizada", &M::mnuInformarPrestacionAutorizada_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             f->txtAUNREF->setText("45");
         },
         {{6, "16"}, {131, "98000045"}, {213, "B1"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"5 derivación", &M::mnuInformarPrescripcion_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) { t.Lineas(f, {{"420101", 0, "1"}}); },
         {{6, "52"}, {213, "7 "}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"97 diagnóstico", &M::mnuInformarDiagnostico_Click, 1,
         [](EnvioDb&, frmEmuladorPOS* f) {
             f->txtAUNREF->setText("45");
             f->txtAUDSM1->setText("A01");
         },
         {{6, "65"}, {131, "000045"}, {213, "B1"}, {250, "D"}}, "", "A01       0000" + B(40) + "\r\n"},
        {"6 autorización", &M::mnuInformarAutorizar_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             f->cboPrescriptores->setCurrentIndex(1);
             f->cboPrescriptores_LostFocus();
         },
         {{6, "21"}, {213, "B1"}, {215, "001234"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"15 pieza y caras", &M::mnuAutorizacionOrtodoncia_Click, 2,
         [](EnvioDb& t, frmEmuladorPOS* f) { t.Lineas(f, {{"0101", 0, "1", 1, "11", {0, 1}}}); },
         {{6, "71"}, {109, "20111111112"}, {131, "OO000000"}, {213, "B1"}}, Item("1", "0101", "01", "11", "MO", "0"), ""},
        {"19 lugar de atención", &M::mnuAutorizarCirugia_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             f->cboTipoInternacion->setCurrentIndex(1);
         },
         {{6, "66"}, {213, "7 "}, {250, "I"}}, Item("1", "420101", "01", "I", "A", "0"), ""},
        {"11 admisión", &M::mnuAdmisionInternacion_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) { t.Lineas(f, {{"420101", 0, "1"}}); },
         {{6, "60"}, {213, "B1"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"12 alta con motivo", &M::mnuAltaInternacion_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             f->cmbAUFINA->setCurrentIndex(1);
         },
         {{6, "61"}, {213, "B1"}, {255, "2"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"13 con adjunto", &M::mnuEnvioProtocolo_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             t.wf.write("protocolo.txt", "AB");
             t.dialogs.textAnswers << t.wf.path() + "protocolo.txt";
             f->cmdAdjuntar_Click();
         },
         {{6, "65"}, {213, "B1"}, {250, "I"}}, Item("1", "420101", "01", "", "", "0"), ""},
        {"9 anulación 98", &M::mnuAnulacion_Click, 1, [](EnvioDb&, frmEmuladorPOS* f) { f->txtAUNREF->setText("45"); },
         {{6, "12"}, {131, "98000045"}, {213, "B1"}}, "", ""},
        {"9 anulación OD", &M::mnuAnulacion_Click, 2, [](EnvioDb&, frmEmuladorPOS* f) { f->txtAUNREF->setText("45"); },
         {{6, "12"}, {109, "20111111112"}, {131, "OD000045"}, {213, "B1"}}, "", ""},
    };
    int toma = 0;
    for (const Familia& fa : familias) {
        SCOPED_TRACE(fa.nombre);
        dialogs.clear();
        modales.clear();
        RecordingPrinter::trabajos().clear();
        frmEmuladorPOS* f = Abrir(fa.menu, fa.prestador);
        ASSERT_TRUE(f);
        f->txtTarjeta->setText("6001234567");
        fa.llenar(*this, f);
        const int transacciones = Filas("Transaccion"), items = Filas("ItemPrestaciones");
        const int lineas = f->lvwPrestaciones->topLevelItemCount();
        f->cmdAceptar_Click();
        Cerradas();
        ASSERT_TRUE(sim.esperarRespuestas(toma + 1, 5000));
        EXPECT_EQ(dialogs.messages(), QStringList{});
        QByteArray cabecera = Cabecera(fa.cabecera);
        cabecera.replace(7, 100, tarjeta);
        EXPECT_EQ(Subida(toma, "_svl.1"), cabecera.toStdString());
        EXPECT_EQ(Subida(toma, "_svl.2"), fa.items.toStdString());
        EXPECT_EQ(Subida(toma, "_svl.4"), fa.diagnosticos.toStdString());
        EXPECT_EQ(Subida(toma, "_svl.0"), std::string(fa.prestador == 1 ? "V2501102" "00001234" : "V2501102"));
        EXPECT_TRUE(modales.contains("frmMuestraTicket")) << modales.join(",").toStdString();
        ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
        EXPECT_EQ(Filas("Transaccion"), transacciones + 1);
        EXPECT_EQ(Filas("ItemPrestaciones"), items + lineas);
        EXPECT_FALSE(QDir(modTickets::CarpetaTickets()).entryList({"*.prn"}).isEmpty());
        frmEmuladorPOS* nueva = Forma();
        ASSERT_TRUE(nueva);
        EXPECT_NE(nueva, f);
        EXPECT_EQ(nueva->txtTarjeta->text(), "");
        EXPECT_EQ(nueva->lvwPrestaciones->topLevelItemCount(), 0);
        EXPECT_TRUE(m->Menu("mnuVerficarAfiliado")->isEnabled());
        ++toma;
    }
    // The effector keeps the speciality it was sent with; the protocol went with its file.
    DbResult ef = Connect()->Query("SELECT IdEspecialidad FROM Efectores WHERE Cuit = '20444444445'");
    EXPECT_EQ(ef["IdEspecialidad"].toInt(), 7);
    const QStringList subidos = sim.tomas().value(12).upload.keys();
    EXPECT_EQ(subidos.filter("_svl.").size() + 1, subidos.size()) << subidos.join(",").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, EnvioDb, DbEngines(), DbEngineName);

// The header texts the send decides: the card track's prefix, the insurer's reference rule, the
// practice date and the documentation letter.
TEST(EnvioEmuladorPOS, HeaderTexts)
{
    using namespace EnvioEmuladorPOS;
    const QString x22 = QString(22, '7');
    const struct {
        QString obtenido, esperado;
    } casos[] = {
        {TarjetaEnvio(" 123" + x22 + "9 "), x22 + "9"}, // 26 characters lose "123"
        {TarjetaEnvio("123" + x22), "123" + x22},       // 25 are sent whole
        {TicketReferencia("OSDE NACIONAL", "98", 45, "45"), "98000045"},
        {TicketReferencia("osde binario", "98", 1234567, "1234567"), "98234567"},
        {TicketReferencia("SALUD SUR", "98", 45, "0045"), "9845"},
        {FechaMensaje("05/03/2024"), "20240305"},
        {DocumentacionExtra(13, false), "I"},
        {DocumentacionExtra(19, true), "C"},
        {DocumentacionExtra(97, true), "D"},
        {DocumentacionExtra(4, true), ""},
        {CodigoFinal("CARDIOLOGIA" + QString(100, ' ') + "7"), "7"},
        {CodigoFinal("   "), ""},
        {NumeroReferencia(0.9999), "1001"},
    };
    for (const auto& c : casos) EXPECT_EQ(c.obtenido, c.esperado);
    EXPECT_FALSE(DeOperacion(10));
    EXPECT_EQ(DeOperacion(19)->codigo, 20);
}

// What a failed or refused send shows, what it logs and which provider-transaction number the
// next send carries; rows run in order on one terminal.
TEST_P(EnvioDb, FailuresAndRefusals)
{
    // Every draw differs (the terminal folders' names draw from it too).
    quint32 semilla = 7;
    Platform::setRandom([&semilla] {
        semilla = semilla * 1103515245u + 12345u;
        return double(semilla >> 8) / double(1u << 24);
    });
    const QString kFalla = "Error en la transacción.\r\nFalla de comunicación.";
    const auto guion = [](DruvexSim::Modo modo, bool sinTicket = false) {
        DruvexSim::Guion g;
        g.modo = modo;
        g.sinTicket = sinTicket;
        if (modo == DruvexSim::Modo::Rechazar) {
            g.codigoRespuesta = "0051";
            g.mensaje = "AFILIADO INEXISTENTE";
        }
        return g;
    };
    const struct Caso {
        const char* nombre;
        void (M::*menu)(); // null: the window of the row before sends again
        int prestador;
        std::function<void(EnvioDb&, frmEmuladorPOS*)> preparar;
        std::optional<DruvexSim::Guion> respuesta; // none: nothing reaches the client
        QStringList mensajes;
        int icono;             // of the last message
        bool ticket;           // the ticket window was shown
        bool registrada;       // a Transaccion row was logged
        bool recargada;        // the window came back empty
        bool mismoNumero;      // the provider-transaction number of the last request sent
    } casos[] = {
        {"sin respuesta", &M::mnuVerficarAfiliado_Click, 1, {}, guion(DruvexSim::Modo::NoTomar),
         {"-1: Cancelado por Time Out"}, Vbc::vbInformation, false, false, false, false},
        {"reenvío aprobado", nullptr, 1, {}, guion(DruvexSim::Modo::Aprobar), {}, 0, true, true,
         true, true},
        {"rechazo sin ticket", &M::mnuVerficarAfiliado_Click, 1, {}, guion(DruvexSim::Modo::Rechazar, true),
         {"0051\r\nAFILIADO INEXISTENTE"}, Vbc::vbExclamation, false, true, false, false},
        {"rechazo con ticket", &M::mnuVerficarAfiliado_Click, 1, {}, guion(DruvexSim::Modo::Rechazar), {}, 0, true,
         true, false, false},
        {"ERROR en el ticket", &M::mnuVerficarAfiliado_Click, 1, {}, guion(DruvexSim::Modo::ErrorEnTicket), {}, 0,
         true, true, false, false},
        {"estado vacío", &M::mnuVerficarAfiliado_Click, 1, {}, guion(DruvexSim::Modo::EstadoVacio),
         {"-2: Error inesperado en comunicación\r\nError en configuración de druvex"},
         Vbc::vbCritical, false, false, false, false},
        {"sin carpeta de trabajo", nullptr, 1,
         [](EnvioDb&, frmEmuladorPOS*) { General::DirectorioTrabajo.clear(); }, {}, {kFalla}, Vbc::vbCritical, false,
         false, false, false},
        {"segundo reenvío", nullptr, 1, {}, guion(DruvexSim::Modo::Aprobar), {}, 0, true, true,
         true, true},
        {"varias licencias", &M::mnuVerficarAfiliado_Click, 2,
         [](EnvioDb&, frmEmuladorPOS*) { General::Licencias = {"00000001", "00000002"}; }, {},
         {"Debe seleccionar una única licencia para realizar transacciones"}, Vbc::vbInformation, false, false, false,
         false},
        {"sin obra social", &M::mnuVerficarAfiliado_Click, 1,
         [](EnvioDb&, frmEmuladorPOS*) { General::gConfig->setDefaultOS("NINGUNA"); }, {},
         {"Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha."}, Vbc::vbCritical, false, false, false,
         false},
        {"13 con un adjunto que ya no está", &M::mnuEnvioProtocolo_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) {
             t.Lineas(f, {{"420101", 0, "1"}});
             t.wf.write("borrado.txt", "AB");
             t.dialogs.textAnswers << t.wf.path() + "borrado.txt";
             f->cmdAdjuntar_Click();
             QFile::remove(t.wf.path() + "borrado.txt");
         },
         {}, {"No se pudo adjuntar archivo."}, Vbc::vbCritical, false, false, false, false},
        {"13 sin adjunto", &M::mnuEnvioProtocolo_Click, 1,
         [](EnvioDb& t, frmEmuladorPOS* f) { t.Lineas(f, {{"420101", 0, "1"}}); }, {},
         {"Debe adjuntar un archivo para realizar esta operación."}, Vbc::vbInformation, false, false, false, false},
    };
    const QString trabajo = General::DirectorioTrabajo;
    const QString obraSocial = General::gConfig->DefaultOS();
    QByteArray ultimoNumero;
    int fila = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        General::DirectorioTrabajo = trabajo;
        General::gConfig->setDefaultOS(obraSocial);
        General::Licencias.clear();
        frmEmuladorPOS* f = c.menu ? Abrir(c.menu, c.prestador) : Forma();
        ASSERT_TRUE(f);
        // A card of its own: the engine sends a repeated request's earlier record again.
        f->txtTarjeta->setText(QString("60012345%1").arg(++fila));
        if (c.preparar) c.preparar(*this, f);
        if (c.respuesta) sim.encolarGuion(*c.respuesta);
        dialogs.clear();
        modales.clear();
        const int tomas = sim.tomas().size(), filas = Filas("Transaccion");
        f->cmdAceptar_Click();
        Cerradas();
        QStringList mensajes = dialogs.messages();
        for (QString& t : mensajes) t.replace("-1: Cancelado por ejecucion fallida", "-1: Cancelado por Time Out");
        EXPECT_EQ(mensajes.join(" | ").toStdString(), c.mensajes.join(" | ").toStdString());
        if (!dialogs.shown.isEmpty()) EXPECT_EQ(dialogs.shown.last().style & 0xF0, c.icono);
        EXPECT_EQ(modales.contains("frmMuestraTicket"), c.ticket);
        EXPECT_EQ(Filas("Transaccion"), filas + (c.registrada ? 1 : 0));
        EXPECT_EQ(Forma() != f, c.recargada);
        EXPECT_TRUE(Forma()->cmdAceptar->isEnabled());
        ASSERT_EQ(sim.tomas().size(), tomas + (c.respuesta ? 1 : 0));
        if (!c.respuesta) continue;
        const QByteArray numero = sim.tomas().last().upload.value("_svl.1").mid(351, 12);
        EXPECT_EQ(numero == ultimoNumero, c.mismoNumero) << numero.constData();
        ultimoNumero = numero;
    }
}

// An insurer that is not on-line: the request is logged as deferred with the entered lines,
// nothing is sent and the window comes back empty.
TEST_P(EnvioDb, OffLineRequestIsLoggedAsDeferred)
{
    frmEmuladorPOS* f = Abrir(&M::mnuInformarPrestacionSinFecha_Click);
    ASSERT_TRUE(f);
    General::ObraSocialOnLine = false;
    Lineas(f, {{"420101", 0, "1"}, {"420351", 1, "2"}});
    f->cmdAceptar_Click();
    Cerradas();
    EXPECT_EQ(dialogs.messages(), QStringList{});
    EXPECT_TRUE(sim.tomas().isEmpty());
    EXPECT_TRUE(General::ObraSocialOnLine);
    ASSERT_TRUE(Forma());
    EXPECT_NE(Forma(), f);
    EXPECT_EQ(Forma()->lvwPrestaciones->topLevelItemCount(), 0);
    auto cn = Connect();
    DbResult h = cn->Query("SELECT * FROM TOSDE_svl1");
    ASSERT_EQ(h.RowCount(), 1);
    EXPECT_EQ(h["IdTerminal"].toInt(), 999);
    EXPECT_NE(h["Diferida"].toInt(), 0);
    EXPECT_EQ(h["AUCUIT"].toString(), "30700000049");
    QStringList codigos;
    for (DbResult l = cn->Query("SELECT AUPRE, AUCAN FROM TOSDE_svl2 ORDER BY AUPRE"); !l.EOF_(); l.MoveNext())
        codigos << l["AUPRE"].toString() + "x" + l["AUCAN"].toString();
    EXPECT_EQ(codigos, (QStringList{"420101x1", "420351x2"}));
    // No answer yet: the answer row comes with the later send.
    EXPECT_EQ(Filas("TOSDE_svl3"), 0);
}

// A request logged by the window's own send while its insurer is not on-line carries the
// insurer's AUISOA; the report window's "Local" preview lists it under that insurer only.
TEST_P(EnvioDb, TheLocalReportListsALoggedRequestUnderItsInsurer)
{
    Connect()->Execute("UPDATE ObrasSociales SET AUISOA = 610044 WHERE IdObraSocial = 1");
    for (const auto& o : *General::gConfig->ObrasSociales()) o->AUISOA = o->Nombre == "Osde Binario" ? 610044 : 0;
    frmEmuladorPOS* f = Abrir(&M::mnuInformarPrestacionSinFecha_Click);
    ASSERT_TRUE(f);
    General::ObraSocialOnLine = false;
    EnviarConEfector(f);
    EXPECT_EQ(Connect()->Query("SELECT AUISOA FROM TOSDE_svl1").value(0).toString(), "610044");

    QMap<QString, QString> vistas; // by the insurer's AUISOA as the list shows it
    QString vista;
    dialogs.modalHandler = [&](QDialog* d) {
        if (auto* v = qobject_cast<frmTransacciones*>(d)) vista = v->txtReporte->toPlainText();
        if (auto* r = qobject_cast<frmReporte*>(d)) {
            r->show();
            for (int i = 0; i < r->cmbObraSocial->count(); ++i) {
                QTest::keyClick(r->cmbObraSocial, i == 0 ? Qt::Key_Home : Qt::Key_Down);
                QTest::mouseClick(r->cmdOpcion[0], Qt::LeftButton);
                vistas[Vb::Trim(Vb::Right(r->cmbObraSocial->currentText(), 15))] = vista;
            }
        }
        return 0;
    };
    m->mnuReportes_Click();
    ASSERT_EQ(vistas.keys(), (QStringList{"0", "610044"}));
    EXPECT_TRUE(vistas["610044"].contains("DR EFECTOR")) << vistas["610044"].toStdString();
    EXPECT_TRUE(vistas["0"].contains("SIN INFORMACION")) << vistas["0"].toStdString();
}

// An effector typed by CUIT while the speciality list shows "none" keeps its stored speciality
// whatever the answer; a real choice replaces it, in the table and the loaded configuration.
TEST_P(EnvioDb, TheSpecialityNoneKeepsTheEffectorsStoredOne)
{
    const struct { const char* nombre; bool elegir; DruvexSim::Modo modo; } casos[] = {
        {"elegida, aprobada", true, DruvexSim::Modo::Aprobar},
        {"ninguna, aprobada", false, DruvexSim::Modo::Aprobar},
        {"ninguna, rechazada", false, DruvexSim::Modo::Rechazar},
        {"ninguna, sin respuesta", false, DruvexSim::Modo::NoTomar},
    };
    for (const auto& k : casos) {
        SCOPED_TRACE(k.nombre);
        DruvexSim::Guion g;
        g.modo = k.modo;
        sim.encolarGuion(g);
        EnviarConEfector(Abrir(&M::mnuInformarPrestacionSinFecha_Click), k.elegir);
        EXPECT_EQ(Connect()->Query("SELECT IdEspecialidad FROM Efectores WHERE Cuit = '20444444445'").value(0).toInt(), 7);
        for (const auto& ef : *General::gConfig->Efectores())
            if (ef->Cuit == "20444444445") EXPECT_EQ(ef->idEspecialidad, 7);
    }
}

// The service list's buttons, the discharge that voids an order and the attachment's size limit.
TEST_P(EnvioDb, LinesAndAttachment)
{
    // A line given back to the dialog for a change, as its boxes show it.
    const struct {
        Linea linea;
        const char* sector;
        const char* pieza;
        QList<bool> caras;
    } cambios[] = {
        {{"0101", 1, "2", 1, "11", {0, 1}}, "Pieza", "11", {true, true, false, false, false}},
        {{"0102", 0, "1", 9, "", {4}}, "Superior Derecho", "", {false, false, false, false, true}},
    };
    frmEmuladorPOS* f = Abrir(&M::mnuAutorizacionOrtodoncia_Click, 2);
    ASSERT_TRUE(f);
    for (const auto& c : cambios) {
        SCOPED_TRACE(c.linea.codigo);
        Lineas(f, {c.linea});
        QTreeWidgetItem* item = f->lvwPrestaciones->topLevelItem(f->lvwPrestaciones->topLevelItemCount() - 1);
        f->lvwPrestaciones->setCurrentItem(item);
        ASSERT_TRUE(f->cmdMod->isEnabled());
        QStringList visto;
        revisar = [&](frmPrestacion* p) {
            visto << p->txtAUPRE->text() << p->cmbTipo->currentText() << p->txtAUCAN->text()
                  << p->cboAUODP->currentText().section("  ", 0, 0) << p->txtAUODP->text() << p->cmdOk->text();
            for (QCheckBox* chk : p->chkCara) visto << (chk->isChecked() ? "x" : "-");
        };
        f->cmdMod_Click();
        revisar = nullptr;
        QStringList esperado = {c.linea.codigo, item->text(1), c.linea.cantidad, c.sector, c.pieza, "Modificar"};
        for (bool m : c.caras) esperado << (m ? "x" : "-");
        EXPECT_EQ(visto.join("|").toStdString(), esperado.join("|").toStdString());
    }
    while (f->lvwPrestaciones->topLevelItemCount() > 0) {
        f->lvwPrestaciones->setCurrentItem(f->lvwPrestaciones->topLevelItem(0));
        f->cmdDel_Click();
    }
    EXPECT_FALSE(f->cmdMod->isEnabled());
    EXPECT_FALSE(f->cmdDel->isEnabled());

    // One service line only for this provider type; voiding the order adds the void line.
    f = Abrir(&M::mnuInformarPrestacionSinFecha_Click, 3);
    ASSERT_TRUE(f);
    Lineas(f, {{"420101", 0, "1"}, {"420102", 0, "1"}});
    EXPECT_EQ(f->lvwPrestaciones->topLevelItemCount(), 1);
    f->txtAUWREF->clear();
    f->cmbAUFINA->setCurrentIndex(f->cmbAUFINA->findText("Anula", Qt::MatchStartsWith));
    f->cmbAUFINA_Click();
    EXPECT_EQ(f->txtAUWREF->text(), "98");
    QTreeWidgetItem* anula = f->lvwPrestaciones->topLevelItem(1);
    ASSERT_TRUE(anula);
    EXPECT_EQ((QStringList{anula->text(0), anula->text(1), anula->text(2), anula->text(3)}),
              (QStringList{"000000", "1", "0", "0"}));
    EXPECT_EQ(dialogs.messages(), QStringList{});

    // The file dialog opens again after a file over the limit, until one fits or none is chosen.
    wf.write("limite.pdf", QByteArray(1000000, 'x'));
    wf.write("grande.PDF", QByteArray(1000001, 'x'));
    const QString kGrande = "El tamaño del archivo excede el límite = 1 Mb";
    const QString kNinguno = "No ha seleccionado ningún archivo";
    const struct {
        QStringList elegidos; // "" cancels
        QStringList mensajes;
        const char* adjunto;
    } archivos[] = {
        {{"limite.pdf"}, {}, "limite.pdf"},
        {{"grande.PDF", "limite.pdf"}, {kGrande}, "limite.pdf"},
        {{"grande.PDF", ""}, {kGrande, kNinguno}, ""},
    };
    for (const auto& a : archivos) {
        SCOPED_TRACE(a.elegidos.join(",").toStdString());
        dialogs.clear();
        for (const QString& e : a.elegidos) dialogs.textAnswers << (e.isEmpty() ? QString() : wf.path() + e);
        f->cmdAdjuntar_Click();
        EXPECT_EQ(dialogs.messages(), a.mensajes);
        const QString ruta = *a.adjunto ? wf.path() + a.adjunto : QString();
        EXPECT_EQ(EstadoEmuladorPOS::Instancia().ArchivoAdjunto, ruta);
        EXPECT_EQ(EstadoEmuladorPOS::Instancia().NombreArchivoAdjunto, QString(a.adjunto));
        EXPECT_EQ(f->txtProtocolo->text(), ruta);
    }
    EXPECT_EQ(frmEmuladorPOS::ArmarFiltroArchivos("", "Archivos", "*.PDF;*.TXT"), "Archivos (*.PDF *.pdf *.TXT *.txt)");
}

// A NUL the client leaves in the answer's comment and in a ticket line is a blank in the ticket
// shown, in the stored row and in the start screen's list (SQLite kept the text only up to it,
// PostgreSQL refused the row).
TEST_P(EnvioDb, ANulFromTheClientIsABlank)
{
    DruvexSim::Guion g;
    g.mensaje = QStringLiteral("APROBADA") + QChar(0) + QStringLiteral("CON NUL");
    g.ticket = {QStringLiteral("LINEA") + QChar(0) + QStringLiteral("UNO")};
    sim.setGuion(g);
    QString ticket;
    dialogs.modalHandler = [&ticket](QDialog* d) {
        if (d->objectName() == "frmProcesandoCO") return d->exec();
        if (auto* t = d->findChild<QTextEdit*>("rtextTicket")) ticket = t->toPlainText();
        return int(QDialog::Accepted);
    };
    frmEmuladorPOS* f = Abrir(&M::mnuVerficarAfiliado_Click);
    ASSERT_TRUE(f);
    QTest::keyClicks(f->txtTarjeta, "6001234567");
    QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
    Cerradas();
    ASSERT_TRUE(sim.esperarRespuestas(1, 5000));
    EXPECT_TRUE(ticket.contains("LINEA UNO")) << ticket.toStdString();
    DbResult t = Connect()->Query("SELECT Comentario FROM Transaccion");
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t["Comentario"].toString().trimmed(), "APROBADA CON NUL");

    m->mnuInicio_Click();
    Cerradas();
    auto* lista = qobject_cast<frmInicio*>(m->FormularioTrabajo("frmInicio"));
    ASSERT_TRUE(lista);
    ASSERT_EQ(lista->lvwTransacciones->model()->rowCount(), 1);
    EXPECT_EQ(lista->TextoDeFila(0, 7).trimmed(), "APROBADA CON NUL");
}
