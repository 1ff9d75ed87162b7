#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "entry/frmBuscarPorAccion.h"
#include "entry/frmPrestacion.h"
#include "support/ConfiguracionPrueba.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

std::string Texto(const QStringList& l) { return l.join(QLatin1Char('|')).toStdString(); }

std::string Filas(const QTreeWidget* lista)
{
    QStringList r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i) {
        QStringList c;
        for (int j = 0; j < lista->columnCount(); ++j) c << lista->topLevelItem(i)->text(j);
        r << c.join(QLatin1Char(','));
    }
    return Texto(r);
}

class BuscarDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        auto cn = Connect();
        const char* const filas[][4] = {{"41", "012", "Consulta clínica", "a"},
                                        {"42", "012", "CONSULTA CLÍNICA", "b"},
                                        {"41", "512", "Radiografía", ""},
                                        {"41", "1203", "Curación", ""},
                                        {"41", "900", "100% cobertura", ""}};
        for (const auto& f : filas)
            cn->Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, "
                                       "Valor1, Valor2, Descripcion, Observaciones) VALUES (?, ?, 'I', '1', '2', ?, ?)"),
                        {QString::fromUtf8(f[0]), QString::fromUtf8(f[1]), QString::fromUtf8(f[2]),
                         QString::fromUtf8(f[3])});
        form = std::make_unique<frmBuscarPorAccion>(&codigo, &nombre);
        form->Form_Load();
    }
    void TearDown() override
    {
        form.reset();
        DbFixture::TearDown();
    }
    std::string Buscar(int opcion, const QString& patron)
    {
        form->cboOption->setCurrentIndex(opcion);
        form->txtPattern->setText(patron);
        int enter = 13;
        form->txtPattern_KeyPress(enter);
        EXPECT_EQ(enter, 0);
        QStringList codigos;
        for (int i = 0; i < form->lvwResult->topLevelItemCount(); ++i) codigos << form->lvwResult->topLevelItem(i)->text(0);
        codigos.sort();
        return Texto(codigos);
    }
    ScriptedDialogs dialogs;
    QLineEdit codigo, nombre;
    std::unique_ptr<frmBuscarPorAccion> form;
};

TEST_P(BuscarDb, ListsEveryMatchingRowAlikeOnBothEngines)
{
    struct Caso {
        int opcion;
        const char* patron;
        const char* codigos;
    };
    const Caso busquedas[] = {{1, "12", "012|012|512"},
                              {0, "consulta clinica", "012|012"},
                              {0, " RADIOGRAFÍA ", "512"},
                              {0, "%", "900"},
                              {0, "_", ""},
                              {0, "   ", ""}}; // a blank pattern keeps the rows of the search before
    for (const Caso& k : busquedas) EXPECT_EQ(Buscar(k.opcion, QString::fromUtf8(k.patron)), k.codigos) << k.patron;
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // The same code under two insurers: both rows whole, every column.
    Buscar(0, QStringLiteral("CONSULTA"));
    EXPECT_EQ(Filas(form->lvwResult), "012,Consulta clínica,I,1,2,a|012,CONSULTA CLÍNICA,I,1,2,b");

    form->lvwResult->setFocus();
    form->lvwResult_DblClick(); // nothing selected: nothing written
    EXPECT_TRUE(codigo.text().isEmpty());
    form->lvwResult->topLevelItem(1)->setSelected(true);
    form->lvwResult_Click();
    EXPECT_TRUE(form->cmdOK->isEnabled());
    form->lvwResult_DblClick();
    EXPECT_EQ(codigo.text(), QStringLiteral("012"));
    EXPECT_EQ(nombre.text(), QStringLiteral("CONSULTA CLÍNICA"));

    Buscar(1, QStringLiteral("2"));
    for (const char* primero : {"012", "512"}) { // the same column twice sorts descending
        form->lvwResult_ColumnClick(0);
        EXPECT_EQ(form->lvwResult->topLevelItem(0)->text(0), QLatin1String(primero));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, BuscarDb, DbEngines(), DbEngineName);

// The service-line dialog over an entry list of two lines, for a dental operation.
class LineaPrestacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        EstadoEmuladorPOS& e = EstadoEmuladorPOS::Instancia();
        guardado = e;
        e.DatosDentales = true;
        e.TipoPrestador = 1;
        General::HabilitarCodigoPrestacion = General::HabilitarTipoArancel = General::HabilitarPiezaDental =
            General::HabilitarCaraDental = true;
        General::gConfig = std::make_shared<clsConfig>();
        ConfiguracionPrueba::ObrasSociales({{QStringLiteral("Salud Sur"), 5, true, true, 12}});
        lista.setColumnCount(7);
        for (const char* c : {"420101", "420102"})
            lista.addTopLevelItem(new QTreeWidgetItem(QString::fromLatin1("%1|1. Ambulatoria|4. Gastos|2|MO|36|Consulta")
                                                          .arg(QLatin1String(c)).split(QLatin1Char('|'))));
    }
    void TearDown() override
    {
        form.reset();
        EstadoEmuladorPOS::Instancia() = guardado;
        General::HabilitarCodigoPrestacion = General::HabilitarTipoArancel = General::HabilitarPiezaDental =
            General::HabilitarCaraDental = false;
        General::gConfig.reset();
    }
    frmPrestacion* Abrir(bool alta)
    {
        form = std::make_unique<frmPrestacion>(&lista, QStringLiteral("(5) Salud Sur"));
        form->AddNew = alta;
        form->Form_Load();
        return form.get();
    }
    void Sector(const char* nombre)
    {
        form->cboAUODP->setCurrentIndex(form->cboAUODP->findText(QLatin1String(nombre), Qt::MatchStartsWith));
        form->cboAUODP_Click();
    }
    EstadoEmuladorPOS guardado;
    ScriptedDialogs dialogs;
    QTreeWidget lista;
    std::unique_ptr<frmPrestacion> form;
};

TEST_F(LineaPrestacion, AddChecksTheToothAndWritesBothLists)
{
    struct Caso {
        const char* sector;
        const char* pieza;
        const char* mensaje; // empty: the line is added
        const char* columna5;
    };
    const Caso casos[] = {
        {"Pieza", "10", "No es un valor válido de pieza. Rango entre 11 y 85", ""},
        {"Pieza", "86", "No es un valor válido de pieza. Rango entre 11 y 85", ""},
        {"Pieza", "", "Debe ingresar el número de la pieza dental", ""},
        {"Pieza", "11", "", "11"},
        {"Pieza", "85", "", "85"},
        {"Superior Derecho", "", "", "SD"},
        {"", "", "", ""},
    };
    frmPrestacion* f = Abrir(true);
    EXPECT_TRUE(f->UtilizaCI());
    EXPECT_EQ(f->txtAUCAN->text(), QStringLiteral("1"));
    EXPECT_TRUE(f->txtAUODP->isEnabled()); // add mode opens on "Pieza"
    int filas = 2;
    for (const Caso& k : casos) {
        dialogs.clear();
        f->txtAUPRE->setText(QStringLiteral("1234"));
        f->txtAUPRE_LostFocus();
        Sector(k.sector);
        f->txtAUODP->setText(QLatin1String(k.pieza));
        f->cmdOk_Click();
        if (*k.mensaje) {
            EXPECT_EQ(dialogs.messages(), QStringList{QString::fromUtf8(k.mensaje)}) << k.sector << k.pieza;
            continue;
        }
        ++filas;
        ASSERT_EQ(lista.topLevelItemCount(), filas);
        EXPECT_EQ(Texto({FilaPrestacion::De(lista.topLevelItem(filas - 1)).codigo,
                         FilaPrestacion::De(lista.topLevelItem(filas - 1)).pieza}),
                  Texto({QStringLiteral("00001234"), QLatin1String(k.columna5)}));
        EXPECT_EQ(f->lvwPrestaciones->topLevelItemCount(), filas);
        EXPECT_TRUE(f->txtAUPRE->text().isEmpty());
        EXPECT_EQ(f->txtAUCAN->text(), QStringLiteral("1"));
    }
    dialogs.clear();
    f->txtAUPRE->clear();
    Sector("");
    f->cmdOk_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Debe ingresar al menos el Código de la Prestación")});
}

TEST_F(LineaPrestacion, HelpersOfTheBoxes)
{
    for (const auto& [typed, kept] : {std::pair{"1234", "00001234"}, {"ABC", "ABC"}, {"123456789", "23456789"}})
        EXPECT_EQ(frmPrestacion::CodigoRellenado(QLatin1String(typed)), QLatin1String(kept));
    QString caras;
    for (const auto& [indice, marcada] : {std::pair{0, true}, {2, true}, {0, false}})
        caras = frmPrestacion::CarasTrasClic(caras, indice, marcada);
    EXPECT_EQ(caras, QStringLiteral("D"));
}

TEST_F(LineaPrestacion, SingleLineProviderAndDelete)
{
    EstadoEmuladorPOS::Instancia().TipoPrestador = 2;
    delete lista.takeTopLevelItem(1);
    frmPrestacion* f = Abrir(true);
    f->txtAUPRE->setText(QStringLiteral("420103"));
    f->cmdOk_Click(); // one line already: just closes
    EXPECT_EQ(lista.topLevelItemCount(), 1);
    EXPECT_EQ(f->result(), int(QDialog::Accepted));

    EstadoEmuladorPOS::Instancia().TipoPrestador = 1;
    lista.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("420109")}));
    f = Abrir(true);
    f->lvwPrestaciones->setCurrentItem(f->lvwPrestaciones->topLevelItem(1));
    f->cmdDel_Click();
    EXPECT_EQ(lista.topLevelItemCount(), 1);
    EXPECT_EQ(lista.topLevelItem(0)->text(0), QStringLiteral("420101"));
}

TEST_F(LineaPrestacion, ChangeRefusedWithoutToothLeavesTheLine)
{
    const std::string antes = Filas(&lista);
    lista.setCurrentItem(lista.topLevelItem(1));
    frmPrestacion* f = Abrir(false);
    f->txtAUPRE->setText(QStringLiteral("999"));
    Sector("Pieza");
    f->cmdOk_Click();
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Debe ingresar el número de la pieza dental")});
    EXPECT_EQ(Filas(&lista), antes);

    // An empty quantity stays empty; the dialog's own list is not touched.
    Sector("Superior ");
    f->txtAUCAN->clear();
    f->cmdOk_Click();
    EXPECT_EQ(Texto({lista.topLevelItem(1)->text(0), lista.topLevelItem(1)->text(3), lista.topLevelItem(1)->text(5)}),
              "999||SU");
    EXPECT_EQ(f->lvwPrestaciones->topLevelItem(1)->text(0), QStringLiteral("420102"));
}

}
