#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "txlog/clsTxGenerica.h"
#include "txlog/frmOSGenerica.h"
#include "txlog/frmPrestacionGenerica.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using Falla = frmOSGenerica::Falla;
const QString kLinea = QStringLiteral("(5) Salud Sur");

TEST(CapturaOffline, AcceptChecksInOrderWithTheirFocus)
{
    struct Caso {
        frmOSGenerica::Captura c;
        std::optional<Falla> falla;
    };
    const Falla sinBanda{QStringLiteral("Falta la lectura de la banda"), QStringLiteral("txtBanda")};
    const Falla sinAfiliado{QStringLiteral("Debe ingresar el Número de Afiliado"), QStringLiteral("txtNumeroAfiliado")};
    const Falla sinFilas{QStringLiteral("Debe informar alguna prestación"), QStringLiteral("lvwPrestaciones")};
    const Falla sinNumero{QStringLiteral("Debe ingresar el número de transacción a anular"),
                          QStringLiteral("txtNumeroAutorizacion")};
    const Caso casos[] = {
        {{4, true, "", "", "", 3}, sinBanda},
        {{4, true, "%B123", "", "", 0}, std::nullopt}, // a track is enough
        {{4, false, "", "", "", 0}, sinAfiliado},      // before the rows are looked at
        {{11, false, "", "123", "", 0}, sinFilas},
        {{4, false, "", "123", "", 1}, std::nullopt},
        {{9, false, "", "", "", 0}, sinNumero},
        {{9, true, "", "", "77", 0}, std::nullopt},    // a void needs only the number
        {{9, false, "", "", "7A", 0}, Falla{QStringLiteral("Debe ingresar un valor numérico."), "txtNumeroAutorizacion"}},
        {{4, false, "", "", "", 1, "MP", ""}, sinAfiliado}, // the member data first
    };
    for (const Caso& k : casos) EXPECT_EQ(frmOSGenerica::VerificarCaptura(k.c), k.falla) << k.c.operacion;
}

TEST(CapturaOffline, ServiceRowBoxRules)
{
    for (const auto& [texto, bien] : {std::pair{"", true}, {"12", true}, {"-1.5E3", true}, {"12a", false}, {" ", false}})
        EXPECT_EQ(frmPrestacionGenerica::ValorAceptable(QString::fromLatin1(texto)), bien) << texto;
    for (const auto& [codigo, numero] : {std::pair{"00120", "120"}, {"A1", "0"}, {"", "0"}, {"7x", "7"}})
        EXPECT_EQ(frmPrestacionGenerica::CodigoComoNumero(QString::fromLatin1(codigo)), QString::fromLatin1(numero));
}

class CapturaDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        General::gConfig = std::make_shared<clsConfig>();
        General::PrestadorActual = 0;
        General::NumeroTerminal = 3;
        General::OperacionActual = 4;
        obras = {{QStringLiteral("Salud Sur"), 5, false, true, 12, false, false, 41},
                 {QStringLiteral("Sin Codigos"), 6, false, false, 13, false, false, 42}};
        ConfiguracionPrueba::ObrasSociales(obras);
        ConfiguracionPrueba::Prestadores({{9, QStringLiteral("Clínica Norte"), QStringLiteral("30-11111111-1")},
                                          {10, QStringLiteral("Consultorio"), QStringLiteral("20-22222222-2")}});
        auto cn = Connect();
        ConfiguracionPrueba::GuardarObrasSociales(*cn, obras);
        const std::pair<const char*, const char*> catalogo[] = {
            {"880101", "420101"}, {"007", "420102"}, {"007", "420103"}, {"", "420104"}, {"A1", "420105"}};
        for (const auto& [interno, codigo] : catalogo)
            cn->Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoInterno, CodigoPrestacion, "
                                       "Descripcion) VALUES (41, ?, ?, 'Consulta')"),
                        {QString::fromLatin1(interno), QString::fromLatin1(codigo)});
    }
    void TearDown() override
    {
        delete area;
        General::gConfig.reset();
        General::NumeroTerminal = 0;
        General::OperacionActual = 0;
        DbFixture::TearDown();
    }

    frmOSGenerica* Abrir(qint16 operacion, const QString& linea = kLinea)
    {
        General::OperacionActual = operacion;
        if (!area) area = new QMdiArea;
        form = new frmOSGenerica;
        sub = area->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        form->LineaObraSocial = [linea] { return linea; };
        form->MDIForm_Resize = [this] { ++disposiciones; };
        form->Form_Load();
        sub->show();
        return form;
    }
    bool Cerrada()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return sub.isNull();
    }
    static void Fila(QTreeWidget* l, const QString& a, const QString& b, const QString& c)
    {
        l->addTopLevelItem(new QTreeWidgetItem(QStringList{a, b, c}));
    }
    static QStringList Textos(const QTreeWidget* l, int columna = 0)
    {
        QStringList t;
        for (int i = 0; i < l->topLevelItemCount(); ++i) t << l->topLevelItem(i)->text(columna);
        return t;
    }
    int Filas(const QString& tabla) const { return Connect()->Query("SELECT * FROM " + tabla).RowCount(); }
    // The focus moved from `desde` to `hacia` as Tab moves it, each in its window; where it stays.
    static QWidget* Dejar(QWidget* desde, QWidget* hacia)
    {
        for (QWidget* w : {desde, hacia}) {
            QApplication::setActiveWindow(w->window());
            w->setFocus(Qt::TabFocusReason);
        }
        return QApplication::focusWidget();
    }

    QList<ConfiguracionPrueba::ObraSocial> obras;
    ScriptedDialogs dialogs;
    QMdiArea* area = nullptr;
    frmOSGenerica* form = nullptr;
    QPointer<QMdiSubWindow> sub;
    int disposiciones = 0;
};

// Enabled by its own flag, whatever its frame's state.
bool propio(const QWidget* w) { return w->isEnabledTo(w->parentWidget()); }

TEST_P(CapturaDb, LoadLaysOutByOperationAndChoosesTheFirstProvider)
{
    struct Caso {
        qint16 operacion;
        QString etiqueta;
        bool datos;
    };
    for (const Caso& k : {Caso{4, QStringLiteral("Nº Autorización"), true}, Caso{9, QStringLiteral("Transacción:"), false}}) {
        Abrir(k.operacion);
        EXPECT_EQ(sub->pos(), QPoint(91, 0));
        EXPECT_EQ(form->lblAUNREF->text(), k.etiqueta);
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 form->cmdAdd, form->txtNombre, form->txtNumeroAfiliado, form->lblNumeroAfiliado, form->txtTipoMatricula,
                 form->txtNumeroMatricula, form->optBanda, form->txtNombreMedico, form->lblNombreMedico})
            EXPECT_EQ(propio(w), k.datos) << w->objectName().toStdString() << " " << k.operacion;
        EXPECT_TRUE(propio(form->txtNumeroAutorizacion));
        EXPECT_FALSE(propio(form->txtBanda));
        EXPECT_FALSE(propio(form->cmdMod));
        EXPECT_FALSE(propio(form->cmdDel));
        EXPECT_TRUE(form->optManual->isChecked());
        EXPECT_EQ(form->cboNombre->currentIndex(), 0);
        EXPECT_EQ(form->CuitPrestador(), QStringLiteral("30-11111111-1"));
        form->cboNombre->setCurrentIndex(1);
        EXPECT_EQ(form->CuitPrestador(), QStringLiteral("20-22222222-2"));
        EXPECT_EQ(form->lvwPrestaciones->headerItem()->text(2), QStringLiteral("Diagnóstico"));
    }
    EXPECT_EQ(disposiciones, 2);
    ConfiguracionPrueba::Prestadores({});
    Abrir(4);
    EXPECT_EQ(form->cboNombre->count(), 0);
    EXPECT_EQ(form->CuitPrestador(), QString());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(CapturaDb, EntryModesRowButtonsAndTheMemberNumberLeavingCheck)
{
    Abrir(4);
    form->optBanda->setChecked(true);
    form->txtBanda->setText(QStringLiteral("vieja"));
    form->optBanda_Click();
    EXPECT_TRUE(propio(form->txtBanda));
    EXPECT_TRUE(form->txtBanda->text().isEmpty());
    EXPECT_FALSE(propio(form->fraManual));
    form->optManual->setChecked(true);
    form->optManual_Click();
    EXPECT_FALSE(propio(form->txtBanda));
    EXPECT_TRUE(propio(form->fraManual));

    // Leaving the empty member number: refused towards the form's own controls only, and left to
    // "Aceptar", which asks for it itself.
    area->show();
    QLineEdit fuera;
    fuera.show();
    QLineEdit* afiliado = form->txtNumeroAfiliado;
    EXPECT_EQ(Dejar(afiliado, form->txtNombreMedico), afiliado);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Número de afiliado inválido.")});
    for (QWidget* destino : std::initializer_list<QWidget*>{form->cmdCancelar, form->optBanda, form->cmdAceptar, &fuera})
        EXPECT_EQ(Dejar(afiliado, destino), destino) << destino->objectName().toStdString();
    afiliado->setText(QStringLiteral("1"));
    EXPECT_EQ(Dejar(afiliado, form->txtNombreMedico), form->txtNombreMedico);
    EXPECT_EQ(dialogs.messages().size(), 1);

    Fila(form->lvwPrestaciones, "1", "0", "0");
    Fila(form->lvwPrestaciones, "2", "0", "0");
    form->lvwPrestaciones->topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(form->cmdDel->isEnabled());
    EXPECT_TRUE(form->cmdMod->isEnabled());
    form->cmdDel_Click();
    EXPECT_EQ(Textos(form->lvwPrestaciones), QStringList{"2"});
    EXPECT_FALSE(form->cmdDel->isEnabled());
    EXPECT_FALSE(form->cmdMod->isEnabled());
}

TEST_P(CapturaDb, CaptureFieldsAsStored)
{
    struct Caso {
        qint16 operacion;
        QString codigo;
    };
    for (const Caso& k : {Caso{4, "2A"}, Caso{5, "2B"}, Caso{7, "2D"}, Caso{9, "4A"}, Caso{11, ""}, Caso{97, ""}}) {
        Abrir(k.operacion);
        form->txtNombre->setText(QStringLiteral("  Pérez, Ana "));
        form->txtNumeroAfiliado->setText(QStringLiteral(" 0042 "));
        form->txtNumeroAutorizacion->setText(QStringLiteral("00123abc"));
        form->txtTipoMatricula->setText(QStringLiteral("2"));
        form->txtNumeroMatricula->setText(QStringLiteral("4567.5"));
        form->txtNombreMedico->setText(QStringLiteral("Dr. O'Neill"));
        Fila(form->lvwPrestaciones, "000420101", "0", "J01");
        Fila(form->lvwPrestaciones, "7", "12x", "");
        clsTxGenerica tx;
        form->LlenarCaptura(tx);
        EXPECT_EQ(tx.CodigoTransaccion, k.codigo) << k.operacion;
        EXPECT_EQ(tx.NumeroAutorizacion, 123);
        EXPECT_EQ(tx.NombreAfiliado, QStringLiteral("Pérez, Ana"));
        EXPECT_EQ(tx.NumeroAfiliado, QStringLiteral(" 0042 "));
        EXPECT_EQ(tx.FormaIngreso, QStringLiteral("M"));
        EXPECT_EQ(tx.TipoMatricula, 2);
        EXPECT_EQ(tx.NumeroMatricula, 4568);
        EXPECT_EQ(tx.ObraSocial, QStringLiteral("Salud Sur"));
        EXPECT_EQ(tx.IdTerminal, 3);
        EXPECT_EQ(tx.CuitPrestador, QStringLiteral("30-11111111-1"));
        ASSERT_EQ(tx.Prestaciones()->Count(), 2);
        EXPECT_EQ(tx.Prestaciones()->Item_(1)->CodigoPrestacion, 420101);
        EXPECT_EQ(tx.Prestaciones()->Item_(2)->CodigoAutorizacion, 12);
        EXPECT_EQ(tx.Prestaciones()->Item_(2)->Diagnostico, QString());
    }
    form->optBanda->setChecked(true);
    clsTxGenerica tx;
    form->LlenarCaptura(tx);
    EXPECT_EQ(tx.FormaIngreso, QStringLiteral("A"));
}

TEST_P(CapturaDb, AcceptStoresTheCaptureOrKeepsTheFormOnAFailure)
{
    Abrir(9);
    form->cmdAceptar_Click();
    EXPECT_EQ(dialogs.shown.last().text, QStringLiteral("Debe ingresar el número de transacción a anular"));
    EXPECT_EQ(dialogs.shown.last().style, Vbc::vbInformation);
    EXPECT_FALSE(Cerrada());

    // Too large for 32 bits: the error is shown, the form stays as typed, nothing is stored.
    form->txtNumeroAutorizacion->setText(QStringLiteral("99999999999"));
    form->cmdAceptar_Click();
    EXPECT_EQ(dialogs.shown.last().style, Vbc::vbCritical);
    EXPECT_FALSE(Cerrada());
    EXPECT_EQ(form->txtNumeroAutorizacion->text(), QStringLiteral("99999999999"));
    EXPECT_EQ(Filas("TGenerica_svl1"), 0);

    form->txtNumeroAutorizacion->setText(QStringLiteral("77"));
    form->cmdAceptar_Click();
    EXPECT_TRUE(Cerrada());
    DbResult r = Connect()->Query(QStringLiteral("SELECT * FROM TGenerica_svl1"));
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r["CodigoTransaccion"].toString(), QStringLiteral("4A"));
    EXPECT_EQ(r["NumeroAutorizacion"].toString(), QStringLiteral("77"));
    EXPECT_EQ(r["NombreAfiliado"].toString(), QString());
    EXPECT_EQ(r["IdObraSocial"].toInt(), 41);
    EXPECT_EQ(r["IdTerminal"].toInt(), 3);
    EXPECT_EQ(Filas("TGenerica_svl2"), 0);
}

// The three number boxes typed into and pasted into with Ctrl+V, then "Aceptar".
TEST_P(CapturaDb, NumberBoxesTakeOnlyDigitsTypedOrPasted)
{
    Abrir(4);
    area->show();
    for (QLineEdit* caja : {form->txtNumeroAutorizacion, form->txtTipoMatricula, form->txtNumeroMatricula}) {
        QTest::keyClicks(caja, "N1-2 ");
        // A pasted number loses its blanks; a letter refuses the whole paste.
        for (const char* pegado : {"3A", "4 ", "07"}) {
            QApplication::clipboard()->setText(pegado);
            QTest::keyClick(caja, Qt::Key_V, Qt::ControlModifier);
        }
        EXPECT_EQ(caja->text(), "12407") << caja->objectName().toStdString();
    }
    QTest::keyClicks(form->txtNumeroAfiliado, "42");
    Fila(form->lvwPrestaciones, "420101", "0", "0");
    // Text the program itself put there is not filtered: "Aceptar" refuses it and stores nothing.
    form->txtTipoMatricula->setText(QStringLiteral("MP"));
    QTest::mouseClick(form->cmdAceptar, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Debe ingresar un valor numérico.")});
    EXPECT_EQ(form->window()->focusWidget(), form->txtTipoMatricula);
    EXPECT_EQ(Filas("TGenerica_svl1"), 0);
    form->txtTipoMatricula->selectAll();
    QTest::keyClicks(form->txtTipoMatricula, "3");
    QTest::mouseClick(form->cmdAceptar, Qt::LeftButton);
    ASSERT_TRUE(Cerrada());
    const DbResult r = Connect()->Query("SELECT NumeroAutorizacion, TipoMatricula, NumeroMatricula FROM TGenerica_svl1");
    EXPECT_EQ(r.value(0).toString() + " " + r.value(1).toString() + " " + r.value(2).toString(), "12407 3 12407");
}

TEST_P(CapturaDb, ServiceRowDialogAddsWithTranslationAndZeros)
{
    struct Caso {
        QString linea;
        bool traduce;
    };
    // With the flag the provider's code becomes the insurer's; without it, or for an insurer
    // that is not configured, the typed code stays.
    for (const Caso& k : {Caso{kLinea, true}, Caso{"(6) Sin Codigos", false}, Caso{"(9) Desconocida", false}}) {
        Abrir(4, k.linea);
        dialogs.modalHandler = [&](QDialog* d) {
            auto* dlg = static_cast<frmPrestacionGenerica*>(d);
            EXPECT_EQ(dlg->UtilizaCodigoInterno(), k.traduce);
            EXPECT_EQ(dlg->lvwPrestaciones->topLevelItemCount(), 5); // repeated and empty internal codes too
            dlg->cmdOK_Click();                                       // nothing typed
            dlg->txtPrestacion->setText(QStringLiteral("420101"));
            dlg->cmdOK_Click();
            EXPECT_TRUE(dlg->txtPrestacion->text().isEmpty());
            dlg->txtPrestacion->setText(QStringLiteral("555"));
            dlg->txtAutorizacion->setText(QStringLiteral("31"));
            dlg->txtDiagnostico->setText(QStringLiteral("J01"));
            dlg->cmdOK_Click();
            return 0;
        };
        form->cmdAdd_Click();
        EXPECT_EQ(dialogs.messages().last(), QStringLiteral("Debe ingresar al menos el Código de la Prestación"));
        EXPECT_EQ(Textos(form->lvwPrestaciones),
                  (QStringList{k.traduce ? QStringLiteral("880101") : QStringLiteral("420101"), "555"}));
        EXPECT_EQ(Textos(form->lvwPrestaciones, 1), (QStringList{"0", "31"}));
        EXPECT_EQ(Textos(form->lvwPrestaciones, 2), (QStringList{"0", "J01"}));
    }
}

TEST_P(CapturaDb, ServiceRowDialogChangesCatalogueClicksSortAndLeavingChecks)
{
    Abrir(4);
    Fila(form->lvwPrestaciones, "1", "2", "3");
    Fila(form->lvwPrestaciones, "4", "5", "6");
    form->lvwPrestaciones->topLevelItem(1)->setSelected(true);
    dialogs.modalHandler = [&](QDialog* d) {
        auto* dlg = static_cast<frmPrestacionGenerica*>(d);
        EXPECT_EQ(dlg->cmdOK->text(), QStringLiteral("Modificar"));
        EXPECT_EQ(dlg->txtAutorizacion->text(), QStringLiteral("5"));
        dlg->txtPrestacion->clear(); // unchecked: stored as it stands
        dlg->txtAutorizacion->clear();
        dlg->cmdOK_Click();
        return 0;
    };
    form->cmdMod_Click();
    EXPECT_EQ(Textos(form->lvwPrestaciones), (QStringList{"1", ""}));
    EXPECT_EQ(Textos(form->lvwPrestaciones, 1), (QStringList{"2", ""}));
    EXPECT_EQ(Textos(form->lvwPrestaciones, 2), (QStringList{"3", "6"}));

    frmPrestacionGenerica dlg(form->lvwPrestaciones, kLinea);
    dlg.Form_Load();
    QTreeWidget* cat = dlg.lvwPrestaciones;
    dlg.lvwPrestaciones_ColumnClick(1);
    EXPECT_EQ(cat->topLevelItem(0)->text(1), QStringLiteral("420105"));
    dlg.lvwPrestaciones_ColumnClick(1);
    EXPECT_EQ(cat->topLevelItem(0)->text(1), QStringLiteral("420101"));
    dlg.lvwPrestaciones_ItemClick(cat->topLevelItem(1)); // "007"
    EXPECT_EQ(dlg.txtPrestacion->text(), QStringLiteral("7"));
    dlg.lvwPrestaciones_DblClick(cat->topLevelItem(0)); // "880101" confirmed at once
    EXPECT_EQ(Textos(form->lvwPrestaciones).last(), QStringLiteral("880101"));

    dialogs.clear();
    dlg.show();
    const struct { QLineEdit* caja; const char* texto; QWidget* destino; bool rechazado; } salidas[] = {
        {dlg.txtPrestacion, "12a", dlg.cmdCancel, false}, // the user can always close
        {dlg.txtPrestacion, "12a", dlg.txtDiagnostico, true},
        {dlg.txtAutorizacion, "x", dlg.cmdOK, true},
        {dlg.txtDiagnostico, "libre", dlg.cmdOK, false}};
    for (const auto& c : salidas) {
        c.caja->setText(QString::fromLatin1(c.texto));
        EXPECT_EQ(Dejar(c.caja, c.destino), c.rechazado ? c.caja : c.destino) << c.texto;
        c.caja->clear();
    }
    EXPECT_EQ(dialogs.messages(), QStringList(2, QStringLiteral("Debe ingresar un valor numérico.")));
}

TEST_P(CapturaDb, CatalogueFailureIsReportedAndLeavesTheDialogUsable)
{
    Connect()->Execute(QStringLiteral("DROP TABLE Prestaciones"));
    Abrir(4);
    frmPrestacionGenerica dlg(form->lvwPrestaciones, kLinea);
    dlg.Form_Load();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith(QStringLiteral("Error al cargar prestaciones\n")));
    EXPECT_EQ(dlg.lvwPrestaciones->topLevelItemCount(), 0);
    dlg.txtPrestacion->setText(QStringLiteral("420101"));
    dlg.cmdOK_Click();
    EXPECT_EQ(Textos(form->lvwPrestaciones), QStringList{"420101"});
}

INSTANTIATE_TEST_SUITE_P(Engines, CapturaDb, DbEngines(), DbEngineName);

}
