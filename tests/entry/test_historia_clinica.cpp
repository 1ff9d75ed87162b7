#include "entry/ComboBloqueable.h"
#include "entry/VendraComboCardApi.h"
#include "entry/frmHistoriaClinica.h"
#include "support/ScriptedDialogs.h"
#include "support/TransporteHidSimulado.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

const QString kLeerFallo = QStringLiteral("No se pudo leer la tarjeta del afiliado.");
const QString kGrabar = QStringLiteral("Grabar tarjeta");

TransporteHidSimulado::Dispositivo lector(const QByteArray& historia)
{
    QByteArray t(256, '\x33');
    t.replace(132, 100, historia.leftJustified(100, '\0', true));
    return TransporteHidSimulado::Lector(t);
}

// The window as the main window holds it: a child of the MDI area, loaded.
class HistoriaClinica : public ::testing::Test {
protected:
    void SetUp() override
    {
        VendraComboCardApi::LectorEncontrado = false, VendraComboCardApi::HandleLector = 0;
        form = new frmHistoriaClinica;
        sub = area.addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        sub->show();
    }

    // Whether each data control takes the user's input: enabled and not locked.
    QList<bool> editables() const
    {
        return {form->cboGrupoSanguineo->isEnabled() && !form->cboGrupoSanguineo->bloqueado(),
                form->optAlergia[0]->isEnabled(), form->optAlergia[1]->isEnabled(),
                form->txtTelefono->isEnabled() && !form->txtTelefono->isReadOnly(),
                form->optDiabetes[0]->isEnabled(), form->optDiabetes[1]->isEnabled(),
                form->txtOtros->isEnabled() && !form->txtOtros->isReadOnly()};
    }

    bool cerrada()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return sub.isNull();
    }

    ScriptedDialogs dialogs;
    TransporteHidSimulado hid;
    QMdiArea area;
    QPointer<QMdiSubWindow> sub;
    frmHistoriaClinica* form = nullptr;
};

const QList<bool> kApagados(7, false);
const QList<bool> kEncendidos(7, true);

}

TEST(frmHistoriaClinicaReglas, GeometryAndEmptyHistory)
{
    EXPECT_EQ(frmHistoriaClinica::GeometriaCarga(), QRect(0, 10, 5055, 8100));
    const std::pair<QString, bool> casos[] = {{QString(100, QChar(0)), true},
                                              {QString(50, QChar(0)) + QString(50, QLatin1Char(' ')), true},
                                              {QStringLiteral("A") + QString(99, QLatin1Char(' ')), false},
                                              {QString(99, QChar(0)) + QChar(0xD1), false}};
    for (const auto& [texto, vacia] : casos) EXPECT_EQ(frmHistoriaClinica::HistoriaVacia(texto), vacia);
}

TEST_F(HistoriaClinica, AfterLoadOnlyReadAndCloseAreOn)
{
    EXPECT_EQ(sub->geometry(), QRect(0, 1, 337, 540));
    EXPECT_EQ(editables(), kApagados);
    EXPECT_FALSE(form->txtAlergia->isEnabled());
    EXPECT_FALSE(form->cmdGrabar->isEnabled());
    EXPECT_TRUE(form->cmdLeer->isEnabled() && form->cmdCerrar->isEnabled());
    EXPECT_EQ(form->cboGrupoSanguineo->itemText(0), QStringLiteral("O-"));
}

TEST_F(HistoriaClinica, AReadThatDidNotHappenLeavesTheWindowAsItWas)
{
    auto cerrado = lector("A+");
    cerrado.abrible = false;
    struct Caso {
        QList<TransporteHidSimulado::Dispositivo> dispositivos;
        bool falla;
        QString mensaje;
        int estilo;
    };
    const Caso casos[] = {
        {{}, false, QStringLiteral("No se encontró el lector de tarjetas."), Vbc::vbInformation},
        {{cerrado}, false, kLeerFallo, Vbc::vbCritical},
        {{lector("A+")}, true, kLeerFallo, Vbc::vbCritical},
    };
    for (const Caso& c : casos) {
        hid.dispositivos = c.dispositivos;
        if (c.falla) hid.fallarEn(20, TransporteHidSimulado::Fallo::RespuestaCorta);
        dialogs.clear();
        form->cmdLeer_Click();
        ASSERT_EQ(dialogs.messages(), QStringList{c.mensaje});
        EXPECT_EQ(dialogs.shown[0].style, c.estilo);
        EXPECT_EQ(editables(), kApagados);
        EXPECT_EQ(form->cboGrupoSanguineo->currentIndex(), -1);
    }
}

TEST_F(HistoriaClinica, ABlankCardGivesTheEmptyHistoryAndACardWithDataIsLeftAlone)
{
    hid.dispositivos = {lector(QByteArray(40, ' '))};
    form->cmdLeer_Click();
    ASSERT_EQ(dialogs.messages(), QStringList{QStringLiteral("La tarjeta no contiene historial clínico")});
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
    EXPECT_EQ(editables(), kEncendidos);
    EXPECT_EQ(form->cboGrupoSanguineo->currentIndex(), 0);
    EXPECT_TRUE(form->optAlergia[0]->isChecked() && form->optDiabetes[0]->isChecked());
    EXPECT_FALSE(form->txtAlergia->isEnabled());

    form->cboGrupoSanguineo->setCurrentIndex(5);
    form->txtTelefono->setText(QStringLiteral("01143215678"));
    hid.dispositivos = {lector("A+ S PENICILINA")};
    dialogs.clear();
    form->cmdLeer_Click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(editables(), kEncendidos);
    EXPECT_EQ(form->cboGrupoSanguineo->currentIndex(), 5);
    EXPECT_EQ(form->txtTelefono->text(), QStringLiteral("01143215678"));
}

TEST_F(HistoriaClinica, AllergyReasonFollowsTheOptionsAndIsRequiredToWrite)
{
    form->optAlergia[1]->setChecked(true);
    EXPECT_TRUE(form->txtAlergia->isEnabled());
    form->txtAlergia->setText(QStringLiteral("   "));
    form->cmdGrabar_Click();
    ASSERT_EQ(dialogs.messages(), QStringList{QStringLiteral("Debe cargar el motivo de la alergia")});
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Aviso"));

    form->txtAlergia->setText(QStringLiteral("Penicilina"));
    form->optAlergia[0]->setChecked(true);
    EXPECT_TRUE(form->txtAlergia->text().isEmpty());
    EXPECT_FALSE(form->txtAlergia->isEnabled());
}

TEST_F(HistoriaClinica, WritingAsksAndNeverReportsAWrite)
{
    const QString pregunta =
        QStringLiteral("Esta acción modifica los datos de la tarjeta, está seguro que desea continuar?");
    for (const int respuesta : {Vbc::vbNo, Vbc::vbYes}) {
        dialogs.clear();
        dialogs.msgAnswers = {respuesta};
        form->cmdGrabar_Click();
        QStringList esperado{pregunta};
        if (respuesta == Vbc::vbYes) esperado << QStringLiteral("La tarjeta no fue grabada: el lector no permite escribir.");
        ASSERT_EQ(dialogs.messages(), esperado);
        EXPECT_EQ(dialogs.shown[0].style, Vbc::vbYesNo);
        EXPECT_EQ(dialogs.shown.last().title, kGrabar);
        if (respuesta == Vbc::vbYes) EXPECT_EQ(dialogs.shown[1].style, Vbc::vbCritical);
    }
}

TEST_F(HistoriaClinica, ClosingAsksOnlyWhenSomethingChanged)
{
    form->bModifico = true;
    dialogs.msgAnswers = {Vbc::vbNo};
    form->cmdCerrar_Click();
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("Perderá los cambios realizados en la historia clínica. Seguro que desea salir?")});
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Atención"));
    EXPECT_FALSE(cerrada());
    dialogs.msgAnswers = {Vbc::vbYes};
    form->cmdCerrar_Click();
    EXPECT_TRUE(cerrada());

    SetUp();
    dialogs.clear();
    form->cmdCerrar_Click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(cerrada());
}

// QUORVAN_SCREENSHOTS=<folder> keeps the picture of the window after reading a blank card.
TEST_F(HistoriaClinica, Screenshot)
{
    hid.dispositivos = {lector("")};
    form->cmdLeer_Click();
    const QImage imagen = sub->grab().toImage();
    const QString carpeta = qEnvironmentVariable("QUORVAN_SCREENSHOTS");
    if (!carpeta.isEmpty()) EXPECT_TRUE(imagen.save(QDir(carpeta).filePath("frmHistoriaClinica.png")));
}
