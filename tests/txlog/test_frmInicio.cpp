#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "engine/frmProcesandoCO.h"
#include "platform/Emblema.h"
#include "platform/Printers.h"
#include "support/DatosTerminal.h"
#include "support/DbFixture.h"
#include "support/DruvexSim.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "txlog/clsTransacciones.h"
#include "txlog/ModeloTransacciones.h"
#include "txlog/frmInicio.h"
#include "txlog/frmTicket.h"
#include "txlog/modTickets.h"

#include "SueloLista.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
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

// Rows whose texts defeat the shortcuts: the widest row is found whatever the characters, and a
// code beyond the range of int shows its decimal text.
TEST(frmInicio, WidestRowAndCodesOutOfRange)
{
    const struct {
        int columna;
        QStringList textos;
    } anchos[] = {
        {5, {"MMMMMM", "\t\tB", "ii"}},
        {3, {"WWWW", QString::fromUtf16(u"A\u0085\u0085\u0085B"), "i"}},
        {2, {"20240315", "2024\t0315", "20240316"}},
        {6, {"APROBADA", "12\tOK", "Sin conexión"}},
        {4, {"99999", "-9223372036854775808", "7"}},
    };
    const QFontMetrics fm(QFont(QStringLiteral("DejaVu Sans"), 10));
    for (const auto& caso : anchos) {
        ModeloTransacciones m({});
        int mayor = 0;
        for (const QString& texto : caso.textos) {
            clsTransacciones t;
            t.Fecha = caso.columna == 2 ? texto : "20240315";
            t.Hora = "0905";
            if (caso.columna == 4) t.Ticket = texto.toLongLong();
            else (caso.columna == 5 ? t.Tarjeta : caso.columna == 3 ? t.ObraSocial : t.Comentario) = texto;
            m.Filas().Agregar(t);
        }
        m.Mostrar(7, false);
        for (int r = 0; r < m.rowCount(); ++r) mayor = std::max(mayor, fm.horizontalAdvance(m.Texto(r, caso.columna)));
        const int fila = m.FilaMasAncha(caso.columna, fm);
        ASSERT_GE(fila, 0);
        EXPECT_EQ(fm.horizontalAdvance(m.Texto(fila, caso.columna)), mayor) << caso.columna;
    }
    for (const char* codigo : {"99999999999", "-99999999999", "2147483648", "4294967298"})
        EXPECT_EQ(frmInicio::NombreOperacion(codigo), codigo);
    EXPECT_EQ(frmInicio::NombreOperacion("2147483647"), "2147483647");
    EXPECT_EQ(frmInicio::NombreOperacion("62"), "Anulación");
}

// 4,096 cards of 16 digits fill a block of card bytes exactly; the rows after it still read
// their own cards, none or one; each of 3,000 providers is kept once.
TEST(frmInicio, RowsAfterAFullCardBlock)
{
    FilasTransacciones filas;
    std::string_view repetidos[FilasTransacciones::Repetidos] = {};
    std::vector<std::string> tarjetas;
    for (int i = 0; i < 4096; ++i) tarjetas.push_back(QString::number(6280000000000000LL + i).toStdString());
    tarjetas.insert(tarjetas.end(), {"", "", "6280000099999999", ""});
    for (size_t i = 0; i < tarjetas.size(); ++i) {
        repetidos[FilasTransacciones::Prestador] = tarjetas[i % 3000];
        filas.Agregar(1, 0, repetidos, tarjetas[i]);
        ASSERT_EQ(filas.Tarjeta(int(i)), tarjetas[i]) << i;
    }
    for (int i = 0; i < filas.Cantidad(); ++i) ASSERT_EQ(filas.Tarjeta(i), tarjetas[size_t(i)]) << i;
    for (int i = 0; i < filas.Cantidad(); ++i) ASSERT_EQ(filas.Transaccion(i)->Prestador.toStdString(), tarjetas[size_t(i) % 3000]) << i;
    EXPECT_EQ(filas.Valores(FilasTransacciones::Prestador), 3000);
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
        if (IsSkipped() || HasFatalFailure()) return;
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
            if (auto* t = qobject_cast<frmTicket*>(d)) {
                abierto = {t->txtPreView->toPlainText(), t->IdTicket(),
                           t->Transaccion() ? t->Transaccion()->Prestador : "sin transacción"};
                icono = t->windowIcon().pixmap(48).toImage();
                if (anular) t->cmdAnular_Click();
            }
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
        for (int i = 0; i < lista.lvwTransacciones->model()->rowCount(); ++i) r << lista.TextoDeFila(i, c);
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
    QImage icono; // the ticket window's
    bool anular = false; // an opened ticket is voided
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
    const QModelIndex suspendida = lista.lvwTransacciones->model()->index(1, 0);
    EXPECT_EQ(lista.TextoDeFila(1, 7), " AFILIADO SUSPENDIDO");
    EXPECT_EQ(qvariant_cast<QIcon>(suspendida.data(Qt::DecorationRole)).cacheKey(), lista.ImageList1[1].cacheKey());
    EXPECT_EQ(lista.TransaccionDeFila(1)->Ticket, 1002);

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
    const int fila = 0;
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
    EXPECT_EQ(abierto, (QStringList{"\nCLINICA\nTOTAL ñ", "900", "20123456789"}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// A row purged since it was listed is voided with the provider and card it shows; with a log that
// cannot answer, its ticket opens from its file alone.
TEST_P(ListaDb, AListedRowOpensAndVoidsWithoutTheLog)
{
    sim.iniciar();
    DatosTerminal::ArchivoTicket(filas[1], "TICKET 900\r\n");
    Connect()->Execute("DELETE FROM Transaccion WHERE Ticket = 900");
    anular = true;
    lista.lvwTransacciones_MouseDown();
    lista.lvwTransacciones_ItemClick(0);
    ASSERT_EQ(sim.tomas().size(), 1);
    const QByteArray svl1 = sim.tomas()[0].upload.value("_svl.1");
    EXPECT_EQ((svl1.mid(108, 11) + ' ' + svl1.mid(7, 16) + ' ' + svl1.mid(130, 12).trimmed()).toStdString(), "20123456789 6280000012345678 900");

    anular = false;
    Connect()->Execute("ALTER TABLE Transaccion RENAME TO TransaccionAparte");
    lista.lvwTransacciones_MouseDown();
    lista.lvwTransacciones_ItemClick(0);
    EXPECT_EQ(abierto, (QStringList{"\nTICKET 900", "900", "20123456789"}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(ListaDb, OnAShownListOnlyAClickOnARowOpensItsTicket)
{
    for (const auto& f : filas) DatosTerminal::ArchivoTicket(f, "TICKET " + QByteArray::number(f.ticket) + "\r\n");
    lista.resize(900, 600);
    lista.setWindowIcon(lista.ImageList1.value(0)); // as the main window shows the list
    lista.show();
    lista.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&lista));
    QTreeView* lvw = lista.lvwTransacciones;
    const auto clicFila = [&](int fila) {
        QTest::mouseClick(lvw->viewport(), Qt::LeftButton, {}, lvw->visualRect(lvw->model()->index(fila, 1)).center());
    };
    clicFila(0);
    EXPECT_EQ(modales, QStringList{"frmTicket"});
    EXPECT_EQ(abierto, (QStringList{"\nTICKET 900", "900", "20123456789"}));
    EXPECT_EQ(icono, EmblemaPrograma().toImage()) << "the program's icon, not the list's tick";

    // Below the rows, then "...", then back into the list with Tab, the arrow keys, Tab away
    // and back: the current row moves, nothing opens.
    modales.clear();
    QTest::mouseClick(lvw->viewport(), Qt::LeftButton, {}, QPoint(20, lvw->viewport()->height() - 4));
    QTest::mouseClick(lista.cmdFiltrar, Qt::LeftButton);
    lista.cmdFiltrar->setFocus();
    QTest::keyClick(lista.cmdFiltrar, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), lvw);
    for (const auto tecla : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) QTest::keyClick(lvw, tecla);
    EXPECT_EQ(lvw->currentIndex().row(), 1);
    QTest::keyClick(lvw, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), lvw);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), lvw);
    EXPECT_TRUE(modales.isEmpty());
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // A header click sorts and opens nothing; the row under the mouse is the one opened.
    QTest::mouseClick(lvw->header()->viewport(), Qt::LeftButton, {},
                      QPoint(lvw->header()->sectionViewportPosition(4) + 5, lvw->header()->height() / 2));
    EXPECT_EQ(Columna(5), (QStringList{"900", "1002", "1001"}));
    EXPECT_TRUE(modales.isEmpty());
    clicFila(2);
    EXPECT_EQ(modales, QStringList{"frmTicket"});
    EXPECT_EQ(abierto.value(1), "1001");
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

namespace {

// A log of a few hundred rows with accents, repeated tickets and many rows on the same date and
// time; the cells and order the list shows after each header click are kept in a reference file.
// Rows whose sort key is equal are compared as a group: the read order of equal dates is the
// engine's.
class ListaReferencia : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        auto db = Connect();
        DatosTerminal::Terminal(*db, {1, wf.path()});
        const char* financiadores[] = {"OSDE Binario", "Sanatorio Güemes", "Obra Social Ñandú", "ÁREA MÉDICA"};
        for (int i = 0; i < 4; ++i) DatosTerminal::ObraSocial(*db, i + 1, financiadores[i], i + 1, 1);
        DatosTerminal::Prestador(*db, 1, "CLINICA DEL SOL", "30700000049", "00001234", true);
        DatosTerminal::Prestador(*db, 2, "DR PEREZ", "20123456789", "");
        const char* operaciones[] = {"02", "12", "41", "43", "80", "99", "X1"};
        const char* horas[] = {"0800", "0805", "1230", "0800", "1231"};
        const char* comentarios[] = {"APROBADA", "51 AFILIADO SUSPENDIDO", "00 Autorización otorgada",
                                     "Sin conexión con el financiador", "5X rara", "12"};
        db->EnTransaccion([&] {
            for (int i = 0; i < 300; ++i) {
                DatosTerminal::Logueada t;
                t.ticket = 950 + i % 120;
                t.fecha = QDate(2024, 2, 27).addDays(i % 9).toString("yyyyMMdd");
                t.hora = horas[i % 5];
                t.prestador = i % 3 == 0 ? "20123456789" : "30700000049";
                t.tarjeta = i % 4 == 0 ? QString("  6280%1 ").arg(i) : QString("Ñ%1").arg(i % 40);
                t.operacion = operaciones[i % 7];
                t.error = i % 3 == 1 ? 51 : 0;
                t.comentario = comentarios[i % 6];
                t.empresa = 1 + i % 5; // 5 has no insurer
                DatosTerminal::Transaccion(*db, t);
            }
        });
        General::gConfig = std::make_shared<clsConfig>();
        ASSERT_TRUE(General::gConfig->LoadConfig(1, false));
        lista.Form_Load();
    }
    void TearDown() override
    {
        General::gConfig.reset();
        DbFixture::TearDown();
    }
    // The rows as shown, one line each (the eight texts and the image), with the rows of equal
    // key (column `clave`, from 1) sorted among themselves.
    QStringList Filas(int clave) const
    {
        const QAbstractItemModel* m = lista.lvwTransacciones->model();
        QStringList filas, grupo;
        QString anterior;
        for (int r = 0; r <= m->rowCount(); ++r) {
            const QString llave = r < m->rowCount() ? m->index(r, clave - 1).data().toString() : QString();
            if (r == m->rowCount() || llave != anterior) {
                grupo.sort();
                filas += grupo;
                grupo.clear();
            }
            if (r == m->rowCount()) break;
            anterior = llave;
            QStringList celdas;
            for (int c = 0; c < m->columnCount(); ++c) celdas << m->index(r, c).data().toString();
            const auto icono = qvariant_cast<QIcon>(m->index(r, 0).data(Qt::DecorationRole)).cacheKey();
            celdas << (icono == lista.ImageList1[0].cacheKey() ? "1" : icono == lista.ImageList1[1].cacheKey() ? "2" : "?");
            grupo << celdas.join('|');
        }
        return filas;
    }

    TempFolder wf;
    ScriptedDialogs dialogs;
    frmInicio lista;
};

}

TEST_P(ListaReferencia, ShowsTheRecordedCellsAndOrder)
{
    // Widths in a font of our choosing, so the recorded ones do not follow the system's.
    lista.lvwTransacciones->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    lista.cmdFiltrar_Click();
    QStringList vista;
    const auto anchos = [&] {
        QStringList w;
        for (int c = 0; c < 7; ++c) w << QString::number(lista.lvwTransacciones->columnWidth(c));
        return "# anchos " + w.join(' ');
    };
    const auto anotar = [&](const QString& paso, int clave) { vista << "# " + paso << Filas(clave); };
    anotar("carga", 8);
    vista << anchos();
    // Each click flips the order; "Fecha" sorts by the hidden key.
    for (int columna : {2, 4, 3, 1, 7, 6, 5}) {
        lista.lvwTransacciones_ColumnClick(columna);
        anotar(QString("columna %1").arg(columna), columna == 3 ? 8 : columna);
    }
    lista.cboNombre->setCurrentIndex(lista.cboNombre->findText("DR PEREZ"));
    lista.cmdFiltrar_Click();
    anotar("DR PEREZ", 5);
    vista << anchos();

    const QString archivo = QStringLiteral(QUORVAN_TEST_SOURCE_DIR "/txlog/referencia/lista_transacciones.txt");
    QFile f(archivo);
    if (qEnvironmentVariableIsSet("QUORVAN_GRABAR_REFERENCIA")) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((vista.join('\n') + '\n').toUtf8());
        GTEST_SKIP() << "recorded " << archivo.toStdString();
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << archivo.toStdString();
    const QStringList esperada = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(vista.size(), esperada.size());
    for (int i = 0; i < vista.size(); ++i) ASSERT_EQ(vista[i], esperada[i]) << "line " << i + 1;
}

// The benchmarks' floor is only a floor if it shows this very list: same cells, images, order
// and widths, for every provider and for one.
TEST_P(ListaReferencia, TheBenchmarkFloorShowsTheSameList)
{
    // A second insurer of company 1: its 60 transactions are listed under both.
    DatosTerminal::ObraSocial(*Connect(), 5, "OSDE Binario Internación", 1, 2);
    Suelo::Odbc odbc(connectionString(), !isPostgreSQL());
    odbc.enteros = true;
    Suelo::ModeloLista modelo(lista.ImageList1);
    QTreeView vista;
    vista.setModel(&modelo);
    vista.setRootIsDecorated(false);
    vista.header()->setStretchLastSection(false);
    vista.header()->setMinimumSectionSize(1);
    vista.header()->setSortIndicatorShown(true);
    for (const char* prestador : {"TODOS", "DR PEREZ"}) {
        lista.cboNombre->setCurrentIndex(lista.cboNombre->findText(prestador));
        lista.cmdFiltrar_Click();
        const bool uno = QByteArray(prestador) != "TODOS";
        const QFontMetrics fm(vista.font());
        modelo.Empezar(fm);
        odbc.Leer(Suelo::ModeloLista::Sentencia(uno), uno ? QVariantList{"20123456789"} : QVariantList(),
                  [&](const Suelo::Celda* c, int) { modelo.Agregar(c); });
        modelo.Terminar(vista);
        ASSERT_EQ(modelo.rowCount(), uno ? 120 : 360);
        EXPECT_EQ(Suelo::Diferencia(*lista.lvwTransacciones, vista).toStdString(), "") << prestador;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ListaReferencia, DbEngines(), DbEngineName);
