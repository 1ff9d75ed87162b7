// The report window through its handlers on both engines: loading, the header and footer
// files, the local report in each order, "Algunos", preview, printing, saving, the remote
// report with the simulated client, and the faults. Screenshots go to build/screenshots.
#include "engine/EsperaCliente.h"
#include "engine/General.h"
#include "platform/EscrituraSegura.h"
#include "platform/Platform.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "reports/clsMultiselec.h"
#include "reports/frmMultiselect.h"
#include "reports/frmProcesando.h"
#include "reports/frmReporte.h"
#include "reports/frmTransacciones.h"
#include "reports/modReporte.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace {

const QString kCrLf = "\r\n";
const QString kRaya = QString(118, '_');
const QString kLinea5 = "   0000000005   0000000001   05/03/2024   A1   T1   MP   000222   LOPEZ MARIA   20111111112   01   "
                        "1234567   00   1   PEREZ ROSA\r\n";
const QString kLinea6 = "   0000000006   0000000001   20/03/2024   A2   T2   MN   000111   GOMEZ ANA   27123456784   01   "
                        "7654321   01   2   DIAZ LUIS\r\n";
const QString kLinea7 = "   0000000007   0000000002   10/03/2024   A3   T3   MA   000333   PEREZ JUAN   20222222223   01   "
                        "1111111   02   3   SOSA EVA\r\n";

// The whole report around a detail, as the window builds it for the loaded provider and dates.
QString Reporte(const QString& orden, const QString& titulos, const QString& detalle)
{
    return "ENCABEZADO\r\n       PRESTADOR: (30-71234567-8) CLINICA DEL SOL\r\n\r\n       Desde 01/03/2024    Hasta "
           "20/03/2024\r\n       Ordenado por " +
           orden + "\r\n\r\n" + titulos + kCrLf + detalle + kCrLf + "PIE\r\n";
}

QString TitulosLocales()
{
    return kRaya + kCrLf + kCrLf +
           "                 Trx                 Prescriptor   Efector                      Asociado                 " +
           kCrLf + kRaya + kCrLf;
}

QString CarpetaCapturas()
{
    const QString carpeta = QCoreApplication::applicationDirPath() + "/../screenshots";
    QDir().mkpath(carpeta);
    return carpeta;
}

class VentanaReporte : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Platform::setClock([] { return QDateTime(QDate(2024, 3, 20), QTime(10, 0)); });
        General::DirectorioTrabajo = tmp.path();
        EsperaCliente::setDuracionTick(20);
        Printers::setTestPrinters({"Laser"}, "Laser");
        Printing::reiniciarImpresoraActiva();
        RecordingPrinter::install();
        dialogs.modalHandler = [this](QDialog* d) { return Modal(d); };
        auto cn = Connect();
        cn->Execute("INSERT INTO ObrasSociales (IdObraSocial, Nombre, AUISOA) VALUES (1, 'OSDE', 2)");
        cn->Execute("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit) VALUES (1, 'CLINICA DEL SOL', '30712345678')");
        const QList<QVariantList> efectores = {
            {1, "GOMEZ ANA", "27123456784"}, {2, "LOPEZ MARIA", "20111111112"}, {3, "PEREZ JUAN", "20222222223"}};
        for (const QVariantList& e : efectores) cn->Execute("INSERT INTO Efectores (IdEfector, Nombre, Cuit) VALUES (?, ?, ?)", e);
        // Transactions 5 to 7 are the report; the others miss one condition each. The log keeps
        // the insurer's AUISOA in six digits, as the entry window logs it.
        const QList<QVariantList> log = {
            {1, 5, "30712345678", "000002", "01", "1234567", "00", "1", "T1", "A1", "MP", "000222", "20111111112", "PEREZ ROSA", "20240305"},
            {1, 6, "30712345678", "000002", "01", "7654321", "01", "2", "T2", "A2", "MN", "000111", "27123456784", "DIAZ LUIS", "20240320"},
            {2, 7, "30712345678", "000002", "01", "1111111", "02", "3", "T3", "A3", "MA", "000333", "20222222223", "SOSA EVA", "20240310"},
            {1, 8, "30712345678", "000002", "01", "1", "00", "1", "T", "A", "MB", "1", "20111111112", "FUERA", "20240229"},
            {1, 9, "30712345678", "000002", "01", "1", "00", "1", "T", "A", "MB", "1", "20111111112", "FUERA", "20240321"},
            {1, 10, "30712345678", "000003", "01", "1", "00", "1", "T", "A", "MB", "1", "20111111112", "OTRA OS", "20240310"},
            {1, 11, "20999999990", "000002", "01", "1", "00", "1", "T", "A", "MB", "1", "20111111112", "OTRO", "20240310"},
            {1, 12, "30712345678", "000002", "01", "1", "00", "1", "T", "A", "MB", "1", "20000000000", "SIN EF", "20240310"},
        };
        for (const QVariantList& r : log)
            cn->Execute("INSERT INTO TOSDE_svl1 (IdTerminal, NumeroTransaccion, AUCUIT, AUISOA, AUFILA, AUASOA, AUBENA, "
                        "AUDIGA, AUTRAC, AUATRC, AUTMAT, AUNMAT, AUCEFE, NombreAfiliado, FechaTransaccion, Diferida) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)",
                        r);
    }
    void TearDown() override
    {
        sim.detener();
        form.reset();
        RecordingPrinter::uninstall();
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
        Printing::setBackendFactory({});
        Platform::setClock({});
        EsperaCliente::setDuracionTick(1000);
        modReporte::setLimites();
        General::DirectorioTrabajo.clear();
        DbFixture::TearDown();
    }

    // The preview is read, the picker scripted, the wait dialog runs for real.
    int Modal(QDialog* d)
    {
        if (auto* v = qobject_cast<frmTransacciones*>(d)) {
            vistas << v->txtReporte->toPlainText().replace("\n", kCrLf);
            fuentes << v->txtReporte->font().family();
            return QDialog::Accepted;
        }
        if (auto* m = qobject_cast<frmMultiselect*>(d); m && elegir) return elegir(m);
        return d->exec();
    }

    frmReporte& Abrir()
    {
        form = std::make_unique<frmReporte>();
        form->txtcabecera->setPlainText("ENCABEZADO");
        form->txtPie->setPlainText("PIE");
        return *form;
    }

    QStringList Lineas(const QString& texto) const { return Printing::LineasDeTexto(texto); }

    TempFolder tmp;
    DruvexSim sim{tmp.path()};
    ScriptedDialogs dialogs;
    std::unique_ptr<frmReporte> form;
    QStringList vistas;
    QStringList fuentes;
    std::function<int(frmMultiselect*)> elegir;
};

// A picker script: the rows whose keys are given are selected and moved with ">", then Aceptar.
std::function<int(frmMultiselect*)> Elegir(QStringList claves)
{
    return [claves](frmMultiselect* m) {
        for (const QString& c : claves) {
            const auto items = m->lvwDisponibles->findItems(c, Qt::MatchExactly, 0);
            if (items.isEmpty()) continue;
            m->lvwDisponibles->setCurrentItem(items.first());
            m->cmdTraspaso[0]->click();
        }
        m->cmdAceptar[0]->click();
        return m->result();
    };
}

}

TEST_P(VentanaReporte, LoadsAndSavesHeaderAndFooter)
{
    frmReporte& f = Abrir();
    EXPECT_EQ(f.windowTitle(), "Reporte de operaciones realizadas...");
    EXPECT_TRUE(f.opcremoto[0]->isChecked());
    EXPECT_TRUE(f.optOrdenar[0]->isChecked());
    EXPECT_EQ(f.cmbObraSocial->count(), 1);
    EXPECT_EQ(f.cmbObraSocial->currentText(), "1" + QString(100, ' ') + "2");
    EXPECT_EQ(f.cmbEfector->currentText(), "Todos");
    EXPECT_EQ(f.cmbEfector->count(), 2);
    EXPECT_EQ(f.cmbPrestador->currentText(), "(30-71234567-8) CLINICA DEL SOL");
    EXPECT_EQ(f.txtFecha_desde->text(), "01/03/2024");
    EXPECT_EQ(f.txtFecha_hasta->text(), "20/03/2024");
    EXPECT_EQ(f.cmbFuente->currentText(), "Courier New");
    EXPECT_EQ(f.SSTab1->tabText(0), "Parametros");
    EXPECT_EQ(f.SSTab1->tabText(1), "Formato");
    // Missing files were created empty.
    EXPECT_TRUE(QFile::exists(frmReporte::ArchivoCabecera()));
    EXPECT_EQ(QFileInfo(frmReporte::ArchivoPie()).size(), 0);

    f.opcremoto[1]->click();
    EXPECT_FALSE(f.cmbEfector->isEnabled());
    f.opcremoto[0]->click();
    EXPECT_TRUE(f.cmbEfector->isEnabled());

    f.txtcabecera->setPlainText("CLÍNICA\nSEGUNDA LÍNEA");
    f.txtPie->setPlainText("");
    f.cmdGrabar_Click();
    QFile cab(frmReporte::ArchivoCabecera());
    ASSERT_TRUE(cab.open(QIODevice::ReadOnly));
    EXPECT_EQ(cab.readAll(), QByteArray("CL\xCDNICA\r\nSEGUNDA L\xCDNEA"));
    EXPECT_EQ(QFileInfo(frmReporte::ArchivoPie()).size(), 0);
    frmReporte otra;
    EXPECT_EQ(otra.txtcabecera->toPlainText(), "CLÍNICA\nSEGUNDA LÍNEA");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_P(VentanaReporte, LocalReportInEachOrder)
{
    struct Caso {
        int opcion;
        QString caption, detalle;
    } casos[] = {
        {0, "Prescriptor", kLinea7 + kLinea6 + kLinea5},
        {1, "Efector", kLinea6 + kLinea5 + kLinea7},
        {2, "Nº Transacción", kLinea5 + kLinea6 + kLinea7},
    };
    frmReporte& f = Abrir();
    for (const Caso& c : casos) {
        f.optOrdenar[c.opcion]->setChecked(true);
        f.cmdOpcion_Click(0);
        ASSERT_FALSE(vistas.isEmpty());
        EXPECT_EQ(vistas.takeLast(), Reporte(c.caption, TitulosLocales(), c.detalle)) << c.opcion;
    }
    EXPECT_EQ(fuentes.last(), "Courier New");
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(VentanaReporte, SomeEffectors)
{
    frmReporte& f = Abrir();
    f.cmbEfector->setCurrentIndex(1);
    elegir = Elegir({"2", "3"});
    f.cmbEfector_Click();
    ASSERT_EQ(f.EfectoresSeleccionados().size(), 2);
    EXPECT_EQ(f.EfectoresSeleccionados()[0].Detalle, "LOPEZ MARIA");
    f.cmdOpcion_Click(0);
    EXPECT_EQ(vistas.takeLast(), Reporte("Prescriptor", TitulosLocales(), kLinea7 + kLinea5));

    elegir = Elegir({});
    f.cmbEfector_Click();
    f.cmdOpcion_Click(0);
    EXPECT_EQ(dialogs.messages(), QStringList{"Debe seleccionar al menos un efector"});
    EXPECT_EQ(vistas.takeLast(), Reporte("Prescriptor", TitulosLocales(), "       SIN INFORMACION             "));
}

TEST_P(VentanaReporte, MultiSelectionDialog)
{
    using Paso = std::function<void(frmMultiselect*)>;
    const auto elegirFila = [](QTreeWidget* l, int fila) { l->setCurrentItem(l->topLevelItem(fila)); };
    struct Caso {
        const char* nombre;
        QString sql;
        Paso paso;
        QStringList claves;
    } casos[] = {
        {"three moved, in the right list's order", "Select * from efectores order by idefector",
         [&](frmMultiselect* m) {
             elegirFila(m->lvwDisponibles, 2);
             m->cmdTraspaso[0]->click();
             m->cmdTraspaso[1]->click();
             m->cmdAceptar[0]->click();
         },
         {"3", "1", "2"}},
        {"all there and back", "Select * from efectores order by idefector",
         [&](frmMultiselect* m) {
             m->cmdTraspaso[1]->click();
             m->cmdTraspaso[2]->click();
             EXPECT_EQ(m->lvwSeleccionados->topLevelItemCount(), 0);
             EXPECT_EQ(m->lvwDisponibles->topLevelItem(2)->text(0), "3");
             m->cmdAceptar[0]->click();
         },
         {}},
        {"double clicks", "Select * from efectores order by idefector",
         [&](frmMultiselect* m) {
             elegirFila(m->lvwDisponibles, 1);
             emit m->lvwDisponibles->itemDoubleClicked(m->lvwDisponibles->currentItem(), 0);
             elegirFila(m->lvwDisponibles, 0);
             emit m->lvwDisponibles->itemDoubleClicked(m->lvwDisponibles->currentItem(), 0);
             elegirFila(m->lvwSeleccionados, 0);
             emit m->lvwSeleccionados->itemDoubleClicked(m->lvwSeleccionados->currentItem(), 0);
             m->cmdAceptar[0]->click();
         },
         {"1"}},
        {"nothing selected moves nothing", "Select * from efectores",
         [&](frmMultiselect* m) {
             m->lvwDisponibles->clearSelection();
             m->cmdTraspaso[0]->click();
             m->cmdTraspaso[3]->click();
             EXPECT_EQ(m->lvwDisponibles->topLevelItemCount(), 3);
             m->cmdAceptar[0]->click();
         },
         {}},
        {"cancel", "Select * from efectores",
         [&](frmMultiselect* m) {
             m->cmdTraspaso[1]->click();
             m->cmdAceptar[1]->click();
         },
         {}},
        {"window closed", "Select * from efectores",
         [&](frmMultiselect* m) {
             m->cmdTraspaso[1]->click();
             m->show();
             m->close();
         },
         {}},
        {"no rows", "Select * from efectores where idefector < 0",
         [&](frmMultiselect* m) {
             EXPECT_EQ(m->lvwDisponibles->topLevelItemCount(), 0);
             m->cmdAceptar[0]->click();
         },
         {}},
    };
    for (const Caso& c : casos) {
        clsMultiselec sel;
        sel.sTitulo = "efectores";
        sel.sql_Disponibles = c.sql;
        sel.int_CampoClave = 0;
        sel.int_CampoDetalle = 1;
        elegir = [&](frmMultiselect* m) {
            EXPECT_EQ(m->windowTitle(), "Selección de efectores");
            EXPECT_EQ(m->lvwDisponibles->headerItem()->text(0), "Código");
            EXPECT_EQ(m->lvwSeleccionados->columnWidth(1), 100); // 1500 twips
            c.paso(m);
            return m->result();
        };
        QStringList claves;
        for (const frmMultiselect::Item& i : sel.Seleccionar()) claves << i.Texto;
        EXPECT_EQ(claves, c.claves) << c.nombre;
    }
    clsMultiselec mala;
    mala.sql_Disponibles = "Select * from noexiste";
    EXPECT_THROW(mala.Seleccionar(), VbError);
}

TEST_P(VentanaReporte, PrintsOnTheActivePrinter)
{
    frmReporte& f = Abrir();
    f.cmdOpcion_Click(1);
    ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
    const RecordingPrinter::Trabajo& t = RecordingPrinter::trabajos()[0];
    EXPECT_EQ(t.impresora, "Laser");
    EXPECT_TRUE(t.terminado);
    ASSERT_EQ(t.paginas.size(), 1);
    EXPECT_EQ(RecordingPrinter::comoTexto(t.paginas[0]),
              Lineas(Reporte("Prescriptor", TitulosLocales(), kLinea7 + kLinea6 + kLinea5)));
    EXPECT_EQ(t.paginas[0][0].fuente, "Courier New");
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // A job that cannot start, and no printer at all.
    RecordingPrinter::install(0, true);
    f.cmdOpcion_Click(1);
    RecordingPrinter::uninstall();
    Printers::setTestPrinters({}, "");
    Printing::reiniciarImpresoraActiva();
    f.cmdOpcion_Click(1);
    EXPECT_EQ(dialogs.messages(), (QStringList{"No se pudo imprimir el reporte: impresora fuera de línea",
                                               "No se pudo imprimir el reporte: No hay ninguna impresora disponible"}));
    for (const auto& s : dialogs.shown) EXPECT_EQ(s.style, Vbc::vbCritical);
}

TEST_P(VentanaReporte, SavesToAFile)
{
    const QByteArray reporte = Reporte("Prescriptor", TitulosLocales(), kLinea7 + kLinea6 + kLinea5).toLatin1();
    frmReporte& f = Abrir();
    struct Caso {
        const char* nombre;
        QString elegido, archivo;
        QByteArray antes;
        QList<int> respuestas;
        QByteArray despues;
        int mensajes;
    } casos[] = {
        {"extension added", tmp.file("informe"), tmp.file("informe.rpt"), {}, {}, reporte, 0},
        {"existing, No", tmp.file("viejo.rpt"), tmp.file("viejo.rpt"), "VIEJO", {Vbc::vbNo}, "VIEJO", 1},
        {"existing, Yes", tmp.file("viejo.txt"), tmp.file("viejo.txt"), "VIEJO", {Vbc::vbYes}, reporte, 1},
        {"cancelled", "", tmp.file("nada.rpt"), {}, {}, {}, 0},
    };
    for (const Caso& c : casos) {
        dialogs.clear();
        if (!c.antes.isEmpty()) tmp.write(QFileInfo(c.archivo).fileName(), c.antes);
        dialogs.textAnswers = {c.elegido};
        dialogs.msgAnswers = c.respuestas;
        f.cmdOpcion_Click(2);
        EXPECT_EQ(tmp.read(QFileInfo(c.archivo).fileName()), c.despues) << c.nombre;
        EXPECT_EQ(dialogs.messages().size(), c.mensajes) << c.nombre;
        if (c.mensajes) EXPECT_EQ(dialogs.messages()[0], "El archivo ya existe, desea reemplazarlo ?");
    }
    // A write that fails says where and why.
    dialogs.clear();
    dialogs.textAnswers = {tmp.file("lleno.rpt")};
    EscrituraSegura::FallarEnOperacion(1);
    f.cmdOpcion_Click(2);
    EscrituraSegura::FallarEnOperacion(0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].contains(tmp.file("lleno.rpt")));
    EXPECT_EQ(dialogs.shown.last().style, Vbc::vbCritical);
    EXPECT_TRUE(vistas.isEmpty()) << "saving shows no preview";
}

TEST_P(VentanaReporte, RefusedDateAndFailingQueryBuildNothing)
{
    frmReporte& f = Abrir();
    f.txtFecha_desde->setText("31/02/2024");
    f.txtFecha_desde_LostFocus();
    for (int opcion : {0, 1, 2}) f.cmdOpcion_Click(opcion);
    EXPECT_EQ(dialogs.messages(), QStringList(4, "Fecha incorrecta"));
    EXPECT_EQ(dialogs.shown.size(), 4) << "no save dialog";
    f.txtFecha_desde->setText("01/03/2024");
    Connect()->Execute("DROP TABLE TOSDE_svl1");
    dialogs.clear();
    f.cmdOpcion_Click(0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_TRUE(vistas.isEmpty());
    EXPECT_TRUE(RecordingPrinter::trabajos().isEmpty());
}

namespace {
DruvexSim::Guion SoloEstado(const QString& estado = "0000")
{
    DruvexSim::Guion g;
    g.soloArchivos = true;
    g.estado = estado;
    return g;
}

DruvexSim::Guion ConRespuesta(const QString& estado = "0000 OK")
{
    DruvexSim::Guion g = SoloEstado(estado);
    const DruvexSim::LineaReporte a{"000123", "011234567001", "C", "M", "00", "012345", "27123456784",
                                    "00000150000", "00000", "0"};
    g.archivos.insert("_sal.1", DruvexSim::LineaReporteTransaccion(a) +
                                    DruvexSim::LineaReporteItem("000123", "420101", "0", "1", "01"));
    return g;
}

// The answer above as report text: the remote titles and details make the whole detail.
QString DetalleRemoto()
{
    return QString(84, '_') + kCrLf + kCrLf + "    Trx      Prescriptor   Efector      Asociado                 Monto" +
           kCrLf + "      Prestación     Cant.  Arancel" + kCrLf + QString(84, '_') + kCrLf +
           "\r\n000123  MC   00 012345     27123456784  011234567001  0 00000  00000150000\r\n" +
           "      420101   0      01      1\r\n";
}

// Presses "Cancelar" of the wait dialog once it shows.
void CancelarAlEsperar(frmReporte& f)
{
    QTimer::singleShot(50, &f, [&f] {
        auto* p = f.findChild<frmProcesando*>();
        if (p && p->isVisible()) p->cmdCancelar->click();
        else CancelarAlEsperar(f);
    });
}

const QString kNoCorre = "El Cliente DRUVEX no está corriendo. La consulta no se puede realizar.";
}

TEST_P(VentanaReporte, RemoteReport)
{
    const QByteArray pedido = QByteArray("08") + "000000000" + "        " + "20240301" + "20240320" + "00000" + "0000" +
                              "000000000000000000000000000000000000" + "    " + "30712345678" + "0000000000000000000" +
                              "\r\n";
    struct Caso {
        const char* nombre;
        QList<DruvexSim::Guion> guiones; // none: the client is not running
        std::function<void(frmReporte&)> antes;
        QStringList mensajes;
        bool reporte;
        int tomas;
    } casos[] = {
        {"answered", {SoloEstado(), ConRespuesta()}, {}, {}, true, 2},
        {"status 0 alone", {SoloEstado("0"), ConRespuesta("0")}, {}, {}, true, 2},
        {"status with an error code: shown, report built", {SoloEstado(), ConRespuesta("0051 SIN DATOS")}, {},
         {"0051 SIN DATOS"}, true, 2},
        {"client not running", {}, [](frmReporte&) { modReporte::setLimites({1000, 15000}); }, {kNoCorre}, false, 0},
        {"cancelled in the link test", {},
         [](frmReporte& f) {
             QTimer::singleShot(60, &f, [&f] {
                 EXPECT_FALSE(f.cmdOpcion[0]->isEnabled()) << "other options are off while the exchange waits";
                 EXPECT_TRUE(f.EsperaEnlace().Esperando());
                 f.cmdOpcion[4]->click();
             });
         },
         {}, false, 0},
        {"cancelled in the wait",
         {SoloEstado(), [] {
              DruvexSim::Guion g;
              g.modo = DruvexSim::Modo::TomarSinResponder;
              return g;
          }()},
         [](frmReporte& f) { CancelarAlEsperar(f); },
         {}, false, 2},
        {"request that cannot be written", {SoloEstado()},
         [this](frmReporte&) { tmp.mkdir("termrep/upload/_sal.0"); }, {"75 : "}, false, 1},
        {"answer that cannot be read", {SoloEstado(), [] {
                                             DruvexSim::Guion g = ConRespuesta();
                                             g.descargaIlegible = true;
                                             return g;
                                         }()},
         {}, {"Error de acceso a la ruta o el archivo: "}, false, 2},
    };
    for (const Caso& c : casos) {
        sim.detener();
        const int antes = sim.tomas().size();
        QDir(tmp.file("termrep")).removeRecursively();
        dialogs.clear();
        vistas.clear();
        modReporte::setLimites();
        for (const DruvexSim::Guion& g : c.guiones) sim.encolarGuion(g);
        if (!c.guiones.isEmpty()) sim.iniciar();
        frmReporte& f = Abrir();
        f.opcremoto[1]->click();
        if (c.antes) c.antes(f);
        f.cmdOpcion_Click(0);
        QStringList mensajes = dialogs.messages();
        for (int i = 0; i < mensajes.size() && i < c.mensajes.size(); ++i)
            if (mensajes[i].startsWith(c.mensajes[i])) mensajes[i] = c.mensajes[i];
        EXPECT_EQ(mensajes, c.mensajes) << c.nombre;
        EXPECT_EQ(vistas.size(), c.reporte ? 1 : 0) << c.nombre;
        if (c.reporte && !vistas.isEmpty()) EXPECT_EQ(vistas[0], Reporte("Prescriptor", "", DetalleRemoto())) << c.nombre;
        EXPECT_TRUE(f.cmdOpcion[0]->isEnabled());
        const QList<DruvexSim::Toma> tomas = sim.tomas().mid(antes);
        EXPECT_EQ(tomas.size(), c.tomas) << c.nombre;
        if (tomas.size() == 2) {
            EXPECT_EQ(tomas[0].upload.value("_svl.0"), QByteArray("V0000000"));
            EXPECT_EQ(tomas[1].upload.value("_svl.0"), QByteArray("V2501101"));
            EXPECT_EQ(tomas[1].upload.value("_sal.0"), pedido);
        }
        if (!c.reporte && c.tomas == 0) {
            EXPECT_FALSE(tmp.exists("termrep/upload/_svl.0")) << c.nombre << ": a failed link test takes its record back";
            EXPECT_FALSE(tmp.exists("termrep/upload/_sal.0")) << c.nombre << ": the request is not sent";
        }
    }
}

TEST_P(VentanaReporte, PrintsThroughThePdfBackEnd)
{
    if (isPostgreSQL()) GTEST_SKIP() << "the printout does not depend on the engine";
    const QString pdf = tmp.file("reporte.pdf");
    Printing::setBackendFactory([pdf]() -> std::unique_ptr<PrintBackend> { return std::make_unique<QtPrintBackend>(pdf); });
    Abrir().cmdOpcion_Click(1);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString texto = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& esperado : {QString("ENCABEZADO"), QString("PRESTADOR: (30-71234567-8) CLINICA DEL SOL"),
                                    QString("Desde 01/03/2024    Hasta 20/03/2024"), QString("Ordenado por Prescriptor"),
                                    QString("0000000007   0000000002   10/03/2024   A3   T3"), QString("PIE")})
        EXPECT_TRUE(texto.contains(esperado)) << esperado.toStdString() << "\n" << texto.toStdString();
}

TEST_P(VentanaReporte, Screenshots)
{
    if (isPostgreSQL()) GTEST_SKIP() << "one set of pictures";
    const QString carpeta = CarpetaCapturas();
    frmReporte& f = Abrir();
    f.txtcabecera->setPlainText("      CLINICA DEL SOL - Informe de operaciones");
    f.txtPie->setPlainText("      Fin del informe");
    f.show();
    EXPECT_TRUE(f.grab().save(carpeta + "/frmReporte.png"));
    f.SSTab1->setCurrentIndex(1);
    EXPECT_TRUE(f.grab().save(carpeta + "/frmReporte-formato.png"));

    elegir = [&](frmMultiselect* m) {
        m->lvwDisponibles->setCurrentItem(m->lvwDisponibles->topLevelItem(1));
        m->cmdTraspaso[0]->click();
        m->show();
        EXPECT_TRUE(m->grab().save(carpeta + "/frmMultiselect.png"));
        m->cmdAceptar[0]->click();
        return m->result();
    };
    f.cmbEfector->setCurrentIndex(1);
    f.cmbEfector_Click();

    frmTransacciones vista;
    vista.txtReporte->setPlainText(Reporte("Prescriptor", TitulosLocales(), kLinea7 + kLinea6 + kLinea5).replace(kCrLf, "\n"));
    vista.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(vista.grab().save(carpeta + "/frmTransacciones.png"));

    frmProcesando espera;
    espera.show();
    espera.TimerKelpa_Timer();
    EXPECT_TRUE(espera.grab().save(carpeta + "/frmProcesando.png"));
}

INSTANTIATE_TEST_SUITE_P(Engines, VentanaReporte, DbEngines(), DbEngineName);
