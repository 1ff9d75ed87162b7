// The purge after an export on both engines: the cut-off three months back, the typed date,
// other insurers and shared tickets kept, and a failure that deletes nothing.
#include "engine/General.h"
#include "platform/Platform.h"
#include "reports/frmControlFecha.h"
#include "reports/modPurga.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

class Purga : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Platform::setClock([] { return QDateTime(QDate(2024, 6, 15), QTime(18, 45)); });
        General::ConexionBD = std::shared_ptr<Database>(Connect().release());
    }
    // Every case starts from these rows.
    void Sembrar()
    {
        General::ConexionBD->Execute("DELETE FROM ItemPrestaciones");
        General::ConexionBD->Execute("DELETE FROM Transaccion");
        auto trx = [&](qint64 ticket, const QString& fecha, int empresa, int items) {
            General::ConexionBD->Execute("INSERT INTO Transaccion (Ticket, Fecha, CodigoEmpresa) VALUES (?, ?, ?)",
                                         {ticket, fecha, empresa});
            for (int i = 0; i < items; ++i)
                General::ConexionBD->Execute(
                    "INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) VALUES (?, ?, 1)",
                    {ticket, QString::number(420100 + i)});
        };
        trx(1, "20240314", 7, 2); // the day before the cut-off
        trx(2, "20240315", 7, 1); // the cut-off day stays
        trx(3, "20240101", 8, 1); // another insurer
        trx(4, "20240101", 7, 0); // a ticket number that another insurer's transaction
        trx(4, "20240601", 8, 2); // still carries: its items stay
        trx(6, "20240501", 7, 1);
    }
    void TearDown() override
    {
        General::ConexionBD.reset();
        Platform::setClock({});
        DbFixture::TearDown();
    }
    QString Filas(const QString& sql) const
    {
        QStringList filas;
        for (DbResult r = General::ConexionBD->Query(sql); !r.EOF_(); r.MoveNext())
            filas << r.value(0).toString() + ":" + r.value(1).toString();
        return filas.join(' ');
    }
    QString Transacciones() const { return Filas("SELECT Ticket, CodigoEmpresa FROM Transaccion ORDER BY 1, 2"); }
    QString Items() const
    {
        return Filas("SELECT Ticket, CodigoPrestacion FROM ItemPrestaciones ORDER BY 1, 2");
    }
};

const QString kTodas = "1:7 2:7 3:8 4:7 4:8 6:7";
const QString kTodosItems = "1:420100 1:420101 2:420100 3:420100 4:420100 4:420101 6:420100";

TEST_P(Purga, PorFechaYEmpresa)
{
    const struct {
        const char* caso;
        QString empresa;
        std::function<void(frmControlFecha&)> pasos;
        QStringList mensajes;
        bool abierta;
        QString transacciones, items;
    } casos[] = {
        {"si", "7", [](frmControlFecha& f) { f.cmdSi_Click(); }, {}, false,
         "2:7 3:8 4:8 6:7", "2:420100 3:420100 4:420100 4:420101 6:420100"},
        {"fecha futura", " 7 ",
         [](frmControlFecha& f) {
             f.cmdNo_Click();
             f.txtFechaActual->setText("15/09/2024");
             f.cmdOK_Click();
         },
         {"Se borrarán 4 transacciones de la empresa 7 anteriores al 15/06/2024. ¿Desea continuar?"}, false,
         "3:8 4:8", "3:420100 4:420100 4:420101"},
        {"fecha invalida", "7",
         [](frmControlFecha& f) {
             f.cmdNo_Click();
             f.txtFechaActual->setText("31/02/2024");
             f.cmdOK_Click();
             f.txtFechaActual->setText("");
             f.cmdOK_Click();
         },
         {"Fecha inválida", "Fecha inválida"}, true, kTodas, kTodosItems},
        {"otra empresa", "8", [](frmControlFecha& f) { f.cmdSi_Click(); }, {}, false, "1:7 2:7 4:7 4:8 6:7",
         "1:420100 1:420101 2:420100 4:420100 4:420101 6:420100"},
        {"sin empresa", "", [](frmControlFecha& f) { f.cmdSi_Click(); },
         {"No se pudo realizar limpieza de la base de datos"}, false, kTodas, kTodosItems},
    };
    for (const auto& c : casos) {
        Sembrar();
        ScriptedDialogs dialogs;
        frmControlFecha f(c.empresa);
        f.Form_Load();
        f.show();
        c.pasos(f);
        EXPECT_EQ(dialogs.messages(), c.mensajes) << c.caso;
        EXPECT_EQ(f.isVisible(), c.abierta) << c.caso;
        EXPECT_EQ(Transacciones().toStdString(), c.transacciones.toStdString()) << c.caso;
        EXPECT_EQ(Items().toStdString(), c.items.toStdString()) << c.caso;
    }
}

// Driven by hand: a typed date after today asks first, naming what the deletion would take;
// a typed date up to today goes without a question, as "Si" does.
TEST_P(Purga, FechaPosteriorPreguntaAntes)
{
    const QString todas = "Se borrarán 4 transacciones de la empresa 7 anteriores al 01/10/2051. ¿Desea continuar?";
    const struct {
        const char* caso;
        const char* fecha; // typed after "No"
        QList<int> respuestas;
        QStringList mensajes;
        bool abierta;
        QString transacciones;
    } casos[] = {
        {"typo de 2025, no", "01/01/2052", {Vbc::vbNo}, {todas}, true, kTodas},
        {"typo de 2025, si", "01/01/2052", {Vbc::vbYes}, {todas}, false, "3:8 4:8"},
        {"fecha de hoy", "15/06/2024", {}, {}, false, "2:7 3:8 4:8 6:7"},
        {"fecha pasada", "01/06/2024", {}, {}, false, "1:7 2:7 3:8 4:8 6:7"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Sembrar();
        ScriptedDialogs dialogs;
        dialogs.msgAnswers = c.respuestas;
        frmControlFecha f("7");
        f.Form_Load();
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(f.cmdNo, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), c.fecha);
        QTest::mouseClick(f.cmdOK, Qt::LeftButton);
        EXPECT_EQ(dialogs.messages(), c.mensajes);
        if (!dialogs.shown.isEmpty())
            EXPECT_EQ(dialogs.shown[0].style, Vbc::vbYesNo | Vbc::vbQuestion | Vbc::vbDefaultButton2);
        EXPECT_EQ(f.isVisible(), c.abierta);
        EXPECT_EQ(Transacciones().toStdString(), c.transacciones.toStdString());
    }
}

// The items go first; when the transactions cannot be deleted, neither are the items.
TEST_P(Purga, FallaDelSegundoBorradoNoBorraNada)
{
    Sembrar();
    if (isPostgreSQL()) {
        General::ConexionBD->Execute("CREATE FUNCTION bloquear() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                     "'bloqueado'; END $$ LANGUAGE plpgsql");
        General::ConexionBD->Execute(
            "CREATE TRIGGER no_borrar BEFORE DELETE ON Transaccion FOR EACH ROW EXECUTE FUNCTION bloquear()");
    } else {
        General::ConexionBD->Execute(
            "CREATE TRIGGER no_borrar BEFORE DELETE ON Transaccion BEGIN SELECT RAISE(ABORT, 'bloqueado'); END");
    }
    ScriptedDialogs dialogs;
    frmControlFecha* f = frmControlFecha::Mostrar("7", nullptr);
    EXPECT_EQ(f->windowTitle(), "Mantenimiento de la base de datos");
    EXPECT_EQ(f->Label1->text(), "La fecha actual es correcta 15/06/2024 ?");
    EXPECT_TRUE(f->txtFechaActual->isHidden() && f->cmdOK->isHidden() && f->Label2->isHidden());
    EXPECT_TRUE(f->cmdSi->isEnabled());
    f->cmdSi_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "No se pudo realizar limpieza de la base de datos");
    EXPECT_EQ(dialogs.shown[0].title, "Error de manteniento");
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
    EXPECT_EQ(Transacciones(), kTodas);
    EXPECT_EQ(Items(), kTodosItems);
    EXPECT_EQ(modPurga::FechaCorte(QDate(2024, 5, 31)), "20240229");
}

INSTANTIATE_TEST_SUITE_P(Engines, Purga, DbEngines(), DbEngineName);

}
