#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "shell/VentanaPrincipalObraSocial.h"
#include "shell/frmObraSocial.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "txlog/frmOSGenerica.h"
#include "txlog/frmPrestacionGenerica.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// The main window as the insurer list sees it: what it was asked, in order.
class Principal : public VentanaPrincipalObraSocial {
public:
    QStringList pedidos;
    void ActualizarTituloPrincipal() override { pedidos << QStringLiteral("titulo"); }
    void HabilitarSoloEnLinea(bool h) override { pedidos << (h ? QStringLiteral("en linea") : QStringLiteral("fuera de linea")); }
    void DescargarFormulario(const QString& nombre) override { pedidos << nombre; }
};

const QStringList kCierra{"frmEmuladorPOS", "frmCierres", "frmInicio", "frmOSGenerica", "frmVademecum"};

class ObraSocialDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        General::gConfig = std::make_shared<clsConfig>();
        General::gConfig->setIdTerminal(General::gConfig->getIdTerminal(home() + QStringLiteral("/")));
        General::ObraSocialOnLine = false;
        General::ObraSocialUtilizaCSC = false;
        EstadoEmuladorPOS::Instancia() = EstadoEmuladorPOS{};
        obras = {{QStringLiteral("osde"), 1, true, false, 10, false, false, 1},
                 {QStringLiteral("OSDE Binario"), 2, true, false, 11, true, true, 2},
                 {QStringLiteral("Salud Sur"), 5, false, false, 12, true, true, 41},
                 {QStringLiteral("Salud Sur"), 5, true, false, 99, false, false, 43},
                 {QStringLiteral("JWK"), 3, true, false, 13, false, false, 3}};
        ConfiguracionPrueba::ObrasSociales(obras);
        lista.Principal = &principal;
    }
    void TearDown() override
    {
        General::gConfig.reset();
        General::NumeroTerminal = 0;
        General::OperacionActual = 0;
        DbFixture::TearDown();
    }
    QStringList Lineas() const
    {
        QStringList t;
        for (int i = 0; i < lista.lstObraSocial->count(); ++i) t << lista.lstObraSocial->item(i)->text();
        return t;
    }
    QString DefaultGuardado() const
    {
        DbResult r = Connect()->Query(QStringLiteral("SELECT DefaultOS, DefaultActividad FROM Parametros WHERE IdTerminal = ?"),
                                      {int(General::gConfig->IdTerminal())});
        return r["DefaultOS"].toString() + QLatin1Char('/') + r["DefaultActividad"].toString();
    }

    QList<ConfiguracionPrueba::ObraSocial> obras;
    ScriptedDialogs dialogs;
    Principal principal;
    frmObraSocial lista;
};

TEST(ObraSocialReglas, LinesAndSkippedNames)
{
    EXPECT_EQ(frmObraSocial::Linea(5, QStringLiteral("Salud Sur")), QStringLiteral("(5) Salud Sur"));
    for (const auto& [nombre, omitida] : {std::pair{"osde", true}, {"Osde Nacional", true}, {"jwk", true},
                                          {"OSDE Binario", false}, {" OSDE", false}})
        EXPECT_EQ(frmObraSocial::Omitida(QString::fromLatin1(nombre)), omitida) << nombre;
}

TEST_P(ObraSocialDb, RefreshListsSelectsTheDefaultAndAppliesTheSelection)
{
    General::gConfig->setDefaultOS(QString());
    lista.RefrescarLista();
    EXPECT_EQ(Lineas(), (QStringList{"(2) OSDE Binario", "(5) Salud Sur", "(5) Salud Sur"}));
    EXPECT_EQ(lista.LineaSeleccionada(), QString());
    EXPECT_TRUE(principal.pedidos.isEmpty());

    General::gConfig->setDefaultOS(QStringLiteral("OSDE Binario"));
    General::gConfig->setDefaultActividad(QStringLiteral("2"));
    lista.RefrescarLista();
    EXPECT_EQ(lista.LineaSeleccionada(), QStringLiteral("(2) OSDE Binario"));
    EXPECT_EQ(lista.txtObraSocialSeleccionada->text(), QStringLiteral("(2) OSDE Binario"));
    EXPECT_EQ(lista.lblObraSocial->text(), QStringLiteral("Actividad y Obra Social Seleccionada"));
    EXPECT_EQ(lista.lblEmpresa->text(), QStringLiteral("11"));
    EXPECT_EQ(EstadoEmuladorPOS::Instancia().NombreObraSocial, QStringLiteral("OSDE Binario"));
    EXPECT_TRUE(General::ObraSocialOnLine);
    EXPECT_TRUE(General::ObraSocialUtilizaCSC);
    EXPECT_EQ(principal.pedidos, (QStringList{"titulo", "en linea"} + kCierra));

    // Selecting the second line of a repeated insurer takes the first one configured.
    principal.pedidos.clear();
    lista.lstObraSocial->setCurrentRow(2);
    EXPECT_FALSE(General::ObraSocialOnLine);
    EXPECT_TRUE(General::ObraSocialUtilizaCSC);
    EXPECT_EQ(lista.lblEmpresa->text(), QStringLiteral("12"));
    EXPECT_EQ(principal.pedidos, (QStringList{"titulo", "fuera de linea"} + kCierra));
    EXPECT_EQ(DefaultGuardado(), QStringLiteral("Salud Sur/5"));
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // An insurer that is no longer configured keeps the previous flags.
    ConfiguracionPrueba::ObrasSociales({obras[1]});
    lista.lstObraSocial->setCurrentRow(1);
    EXPECT_FALSE(General::ObraSocialOnLine);
    EXPECT_EQ(lista.lblEmpresa->text(), QStringLiteral("12"));

    lista.HabilitarSeleccion(false);
    EXPECT_FALSE(lista.lstObraSocial->isEnabled());
    lista.HabilitarSeleccion(true);
    EXPECT_TRUE(lista.lstObraSocial->isEnabled());
}

TEST_P(ObraSocialDb, AFailingDefaultStoreIsReportedAndTheWindowsStillClose)
{
    General::gConfig->setDefaultOS(QString());
    lista.RefrescarLista();
    Connect()->Execute(QStringLiteral("DROP TABLE Parametros"));
    lista.lstObraSocial->setCurrentRow(1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_EQ(principal.pedidos, (QStringList{"titulo", "fuera de linea"} + kCierra));
}

// An off-line insurer chosen in the list, an operation opening the capture, two rows added in
// the dialog and the capture stored.
TEST_P(ObraSocialDb, OffLineCaptureEndToEnd)
{
    auto cn = Connect();
    ConfiguracionPrueba::GuardarObrasSociales(*cn, {obras[2]});
    General::gConfig->setDefaultOS(QString());
    lista.RefrescarLista();
    lista.lstObraSocial->setCurrentRow(1);
    ASSERT_FALSE(General::ObraSocialOnLine);

    General::OperacionActual = 4;
    General::NumeroTerminal = 7;
    QMdiArea area;
    auto* form = new frmOSGenerica;
    QPointer<QMdiSubWindow> sub = area.addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    form->LineaObraSocial = [this] { return lista.LineaSeleccionada(); };
    form->Form_Load();
    sub->show();
    form->txtNombre->setText(QStringLiteral("Ana Pérez"));
    form->txtNumeroAfiliado->setText(QStringLiteral("123456"));
    dialogs.modalHandler = [](QDialog* d) {
        auto* dlg = static_cast<frmPrestacionGenerica*>(d);
        for (const char* codigo : {"420101", "420102"}) {
            dlg->txtPrestacion->setText(QString::fromLatin1(codigo));
            dlg->txtDiagnostico->setText(QStringLiteral("J01"));
            dlg->cmdOK_Click();
        }
        dlg->cmdCancel_Click();
        return 0;
    };
    form->cmdAdd_Click();
    form->cmdAceptar_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sub.isNull());
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(QLatin1Char('|')).toStdString();

    DbResult h = cn->Query(QStringLiteral("SELECT * FROM TGenerica_svl1"));
    ASSERT_EQ(h.RowCount(), 1);
    EXPECT_EQ(h["IdObraSocial"].toInt(), 41);
    EXPECT_EQ(h["CodigoTransaccion"].toString(), QStringLiteral("2A"));
    EXPECT_EQ(h["FormaIngreso"].toString(), QStringLiteral("M"));
    EXPECT_EQ(h["IdTerminal"].toInt(), 7);
    DbResult l = cn->Query(QStringLiteral("SELECT * FROM TGenerica_svl2 ORDER BY CodigoPrestacion"));
    ASSERT_EQ(l.RowCount(), 2);
    EXPECT_EQ(l["CodigoPrestacion"].toInt(), 420101);
    EXPECT_EQ(l["NumeroTransaccion"].toInt(), h["NumeroTransaccion"].toInt());
    l.MoveNext();
    EXPECT_EQ(l["CodigoPrestacion"].toInt(), 420102);
    EXPECT_EQ(l["Diagnostico"].toString(), QStringLiteral("J01"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ObraSocialDb, DbEngines(), DbEngineName);

}
