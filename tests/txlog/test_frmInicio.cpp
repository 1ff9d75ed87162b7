#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Printers.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/clsTransacciones.h"
#include "txlog/frmInicio.h"
#include "txlog/frmTicket.h"
#include "txlog/modTickets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(frmInicio, RulesOfTheRows)
{
    const struct {
        const char* codigo;
        const char* nombre;
    } operaciones[] = {{"12", "Anulación"}, {"02", "Anulación"}, {"43", "Verificación completa"},
                       {"80", "Reimpresión de ticket"}, {"99", "99"}, {"05", "5"}, {"X1", "X1"}};
    for (const auto& o : operaciones) EXPECT_EQ(frmInicio::NombreOperacion(o.codigo), o.nombre) << o.codigo;

    clsTransacciones t;
    t.Error = 51;
    t.Operacion = "41";
    t.Fecha = "20240315";
    t.Hora = "0905";
    t.ObraSocial = "MEDIFE";
    t.Ticket = 77;
    t.Tarjeta = "  6280000012345678  ";
    t.Comentario = "12 AFILIADO SUSPENDIDO";
    EXPECT_EQ(frmInicio::TextosFila(t), (QStringList{"51", "Verificar afiliado", "15/03/2024 09:05", "MEDIFE", "77",
                                                     "6280000012345678", " AFILIADO SUSPENDIDO", "20240315 09:05"}));
    t.Comentario = "APROBADA";
    EXPECT_EQ(frmInicio::TextosFila(t)[6], "APROBADA");

    for (const char* bueno : {"1", " 123456789012 "}) EXPECT_TRUE(frmInicio::NumeroTicketValido(bueno)) << bueno;
    for (const char* malo : {"", "-5", "+5", "1.5", "1e3", "12a", "1234567890123", "1 2"})
        EXPECT_FALSE(frmInicio::NumeroTicketValido(malo)) << malo;
}

TEST(frmInicio, LayoutInTwips)
{
    const auto bajo = frmInicio::CalcularDisposicion(7000, 5000);
    EXPECT_EQ(bajo.altoNuevo, 7260);
    EXPECT_EQ(bajo.anchoNuevo, 0);
    const auto angosto = frmInicio::CalcularDisposicion(7260, 6000);
    EXPECT_EQ(angosto.altoNuevo, 0);
    EXPECT_EQ(angosto.anchoNuevo, 6015);
    const auto d = frmInicio::CalcularDisposicion(10040, 13000);
    EXPECT_EQ(d.altoNuevo + d.anchoNuevo, 0);
    EXPECT_EQ(d.listaTop, 620);
    EXPECT_EQ(d.listaAncho, 12880);
    EXPECT_EQ(d.listaAlto, 8240);
    EXPECT_EQ(d.frameTop, 8920);
    EXPECT_EQ(d.cerrarLeft, 11665);
    EXPECT_EQ(d.cerrarTop, 9425);
}

namespace {

// Three logged transactions of two providers; the list on both engines.
class ListaDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        frmProcesandoCO::setDuracionTick(40);
        auto db = Connect();
        DatosTerminal::Terminal(*db, {1, wf.path()});
        DatosTerminal::ObraSocial(*db, 1, "OSDE BINARIO", 5, 1);
        DatosTerminal::Prestador(*db, 1, "CLINICA DEL SOL", "30700000049", "00001234", true);
        DatosTerminal::Prestador(*db, 2, "DR PEREZ", "20123456789", "");
        filas[0] = {1001, "20240316", "0800", "30700000049"};
        filas[1] = {900, "20240315", "1031", "20123456789"};
        filas[2] = {1002, "20240315", "1700", "30700000049"};
        filas[2].error = 51;
        filas[2].comentario = "51 AFILIADO SUSPENDIDO";
        for (const auto& f : filas) DatosTerminal::Transaccion(*db, f);
        General::gConfig = std::make_shared<clsConfig>();
        ASSERT_TRUE(General::gConfig->LoadConfig(1, false));
        dialogs.modalHandler = [this](QDialog* d) {
            modales << d->objectName();
            if (auto* t = qobject_cast<frmTicket*>(d)) abierto = {t->txtPreView->toPlainText(), t->IdTicket()};
            return d->objectName() == "frmProcesandoCO" ? d->exec() : 0;
        };
        lista.Form_Load();
    }
    void TearDown() override
    {
        sim.detener();
        frmProcesandoCO::setDuracionTick(1000);
        General::gConfig.reset();
        General::TransaccionActual.reset();
        DbFixture::TearDown();
    }
    QStringList Columna(int c) const
    {
        QStringList r;
        for (int i = 0; i < lista.lvwTransacciones->topLevelItemCount(); ++i)
            r << lista.lvwTransacciones->topLevelItem(i)->text(c - 1);
        return r;
    }
    void Elegir(const QString& prestador)
    {
        lista.cboNombre->setCurrentIndex(lista.cboNombre->findText(prestador));
        lista.cmdFiltrar_Click();
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    QStringList modales;
    QStringList abierto;
    DruvexSim sim{wf.path()};
    DatosTerminal::Logueada filas[3];
    frmInicio lista;
};

}

TEST_P(ListaDb, ListsFiltersAndSortsByColumnText)
{
    EXPECT_EQ(lista.cboNombre->currentText(), "TODOS");
    EXPECT_EQ(Columna(5), (QStringList{"900", "1002", "1001"})) << "ascending by date and time";
    EXPECT_TRUE(lista.lvwTransacciones->isColumnHidden(7));
    EXPECT_EQ(lista.lvwTransacciones->columnWidth(6),
              lista.lvwTransacciones->fontMetrics().horizontalAdvance(QString(50, ' ')));
    EXPECT_GE(lista.lvwTransacciones->columnWidth(2),
              lista.lvwTransacciones->fontMetrics().horizontalAdvance("15/03/2024 17:00"))
        << "dates are never cut";
    const auto* suspendida = lista.lvwTransacciones->topLevelItem(1);
    EXPECT_EQ(suspendida->text(6), " AFILIADO SUSPENDIDO");
    EXPECT_EQ(suspendida->icon(0).cacheKey(), lista.ImageList1[1].cacheKey());
    EXPECT_EQ(frmInicio::TransaccionDeFila(suspendida)->Ticket, 1002);

    lista.lvwTransacciones_ColumnClick(3);
    EXPECT_EQ(Columna(5), (QStringList{"1001", "1002", "900"}));
    lista.lvwTransacciones_ColumnClick(3);
    EXPECT_EQ(Columna(5), (QStringList{"900", "1002", "1001"}));
    lista.lvwTransacciones_ColumnClick(5);
    EXPECT_EQ(Columna(5), (QStringList{"900", "1002", "1001"})) << "ticket text, descending";

    Elegir("DR PEREZ");
    EXPECT_EQ(Columna(5), QStringList{"900"});
    // Closed and opened again: the choice shows "TODOS" and the rows match it.
    lista.Form_Load();
    EXPECT_EQ(Columna(5).size(), 3);
    Elegir("TODOS");
    EXPECT_EQ(Columna(5).size(), 3);
}

TEST_P(ListaDb, AMouseClickOpensTheStoredTicketAndTheKeyboardDoesNot)
{
    auto* fila = lista.lvwTransacciones->topLevelItem(0);
    lista.lvwTransacciones_ItemClick(fila);
    lista.lvwTransacciones_MouseDown();
    lista.lvwTransacciones_ItemClick(fila);
    EXPECT_EQ(dialogs.messages(), QStringList{"No se encuentra el directorio de los tickets: " +
                                              modTickets::CarpetaTickets() + "/"});

    DatosTerminal::ArchivoTicket(filas[0], "OTRO");
    dialogs.clear();
    lista.lvwTransacciones_MouseDown();
    lista.lvwTransacciones_ItemClick(fila);
    EXPECT_EQ(dialogs.messages(), QStringList{"No se encuentra el archivo del ticket: " +
                                              modTickets::ArchivoTicket(900, "20240315", "1031")});

    DatosTerminal::ArchivoTicket(filas[1], "CLINICA\r\nTOTAL \xf1\r\n");
    dialogs.clear();
    lista.lvwTransacciones_ItemClick(fila);
    EXPECT_TRUE(modales.isEmpty()) << "a row chosen with the keyboard opens nothing";
    lista.lvwTransacciones_MouseDown();
    lista.lvwTransacciones_ItemClick(fila);
    EXPECT_EQ(modales, QStringList{"frmTicket"});
    EXPECT_EQ(abierto, (QStringList{"\nCLINICA\nTOTAL ñ", "900"}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(ListaDb, ReprintChecksTheNumberAndTheProviderThenAsksTheInsurer)
{
    sim.iniciar();
    RecordingPrinter::install();
    for (const char* numero : {"", "-5", "1234567890123"}) {
        lista.txtNrotransaccion->setText(numero);
        lista.cmdBuscar_Click();
    }
    lista.txtNrotransaccion->setText("4521");
    lista.cmdBuscar_Click();
    EXPECT_EQ(dialogs.messages(), (QStringList{"Debe ingresar el nº de transacción",
                                               "El nº de transacción ingresado no es correcto",
                                               "El nº de transacción ingresado no es correcto",
                                               "Debe seleccionar un prestador"}));
    EXPECT_TRUE(sim.tomas().isEmpty());

    Elegir("CLINICA DEL SOL");
    dialogs.clear();
    lista.cmdBuscar_Click();
    ASSERT_EQ(sim.tomas().size(), 1);
    const QByteArray svl1 = sim.tomas()[0].upload.value("_svl.1");
    EXPECT_EQ(svl1.mid(5, 2), "80");
    EXPECT_EQ(svl1.mid(108, 11), "30700000049");
    EXPECT_EQ(svl1.mid(130, 12).trimmed(), "4521");
    EXPECT_TRUE(sim.tomas()[0].upload.value("_svl.0").endsWith("00001234"));
    EXPECT_TRUE(modales.contains("frmMuestraTicket"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(Connect()->Query("SELECT * FROM Transaccion").RowCount(), 3) << "a reprint is not logged";
    EXPECT_TRUE(RecordingPrinter::trabajos().isEmpty()) << "nor printed";
    RecordingPrinter::uninstall();
}

INSTANTIATE_TEST_SUITE_P(Engines, ListaDb, DbEngines(), DbEngineName);
