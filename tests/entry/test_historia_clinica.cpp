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
const QString kVacia = QStringLiteral("La tarjeta no contiene historial clínico");
const QString kPregunta = QStringLiteral("Esta acción modifica los datos de la tarjeta, está seguro que desea continuar?");
const QString kNoGrabada = QStringLiteral("La tarjeta no fue grabada: el lector no permite escribir.");

QByteArray tarjeta(const QByteArray& historia)
{
    QByteArray t(256, '\x33');
    t.replace(132, 100, historia.leftJustified(100, '\0', true));
    return t;
}

// The window as the main window holds it: a child of the MDI area, loaded.
class HistoriaClinica : public ::testing::Test {
protected:
    void SetUp() override
    {
        VendraComboCardApi::LectorEncontrado = false;
        VendraComboCardApi::HandleLector = 0;
        area.resize(800, 700);
        form = new frmHistoriaClinica;
        sub = area.addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        sub->show();
    }

    // Whether the data controls take the user's input: enabled and not locked.
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

TEST(frmHistoriaClinicaGeometria, LoadsAtTheDocumentedPlaceInTwips)
{
    EXPECT_EQ(frmHistoriaClinica::GeometriaCarga(), QRect(0, 10, 5055, 8100));
    const struct {
        QString texto;
        bool vacia;
    } casos[] = {{QString(100, QChar(0)), true},
                 {QString(50, QChar(0)) + QString(50, QLatin1Char(' ')), true},
                 {QString(), true},
                 {QStringLiteral("A") + QString(99, QLatin1Char(' ')), false},
                 {QString(99, QChar(0)) + QChar(0xD1), false}};
    for (const auto& c : casos) EXPECT_EQ(frmHistoriaClinica::HistoriaVacia(c.texto), c.vacia) << c.texto.size();
}

TEST_F(HistoriaClinica, AfterLoadEverythingButReadAndCloseIsOff)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Historia Clínica"));
    EXPECT_EQ(sub->geometry(), QRect(0, 1, 337, 540));
    EXPECT_FALSE(form->bModifico);
    EXPECT_EQ(editables(), kApagados);
    EXPECT_FALSE(form->txtAlergia->isEnabled());
    EXPECT_FALSE(form->cmdGrabar->isEnabled());
    EXPECT_TRUE(form->cmdLeer->isEnabled());
    EXPECT_TRUE(form->cmdCerrar->isEnabled());
    EXPECT_EQ(form->cboGrupoSanguineo->count(), 8);
    EXPECT_EQ(form->cboGrupoSanguineo->itemText(0), QStringLiteral("O-"));
    EXPECT_EQ(form->cboGrupoSanguineo->itemText(7), QStringLiteral("AB+"));
}

TEST_F(HistoriaClinica, AReadThatDidNotHappenLeavesTheWindowAsItWas)
{
    auto lector = TransporteHidSimulado::Lector(tarjeta("A+"));
    lector.abrible = false;
    struct Caso {
        QList<TransporteHidSimulado::Dispositivo> dispositivos;
        bool falla;
        QString mensaje;
        int estilo;
    };
    const Caso casos[] = {
        {{}, false, QStringLiteral("No se encontró el lector de tarjetas."), Vbc::vbInformation},
        {{lector}, false, kLeerFallo, Vbc::vbCritical},
        {{TransporteHidSimulado::Lector(tarjeta("A+"))}, true, kLeerFallo, Vbc::vbCritical},
    };
    for (const Caso& c : casos) {
        hid.dispositivos = c.dispositivos;
        if (c.falla) hid.fallarEn(20, TransporteHidSimulado::Fallo::RespuestaCorta);
        dialogs.clear();
        form->cmdLeer_Click();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, c.mensaje);
        EXPECT_EQ(dialogs.shown[0].style, c.estilo);
        EXPECT_EQ(editables(), kApagados);
        EXPECT_EQ(form->cboGrupoSanguineo->currentIndex(), -1);
        EXPECT_FALSE(form->optAlergia[0]->isChecked());
    }
}

TEST_F(HistoriaClinica, ABlankCardGivesTheEmptyHistory)
{
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta(QByteArray(40, ' ')))};
    form->cmdLeer_Click();
    ASSERT_EQ(dialogs.messages(), QStringList{kVacia});
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
    EXPECT_EQ(editables(), kEncendidos);
    EXPECT_EQ(form->cboGrupoSanguineo->currentText(), QStringLiteral("O-"));
    EXPECT_TRUE(form->optAlergia[0]->isChecked());
    EXPECT_TRUE(form->optDiabetes[0]->isChecked());
    EXPECT_FALSE(form->txtAlergia->isEnabled());
    EXPECT_FALSE(form->cmdGrabar->isEnabled());

    // A later failed read leaves the data controls on.
    hid.dispositivos.clear();
    form->cmdLeer_Click();
    EXPECT_EQ(editables(), kEncendidos);
}

TEST_F(HistoriaClinica, ACardWithDataTurnsTheControlsOnAndLeavesThemUntouched)
{
    form->txtTelefono->setText(QStringLiteral("01143215678"));
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta("A+ S PENICILINA N 01143215678"))};
    form->cmdLeer_Click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(editables(), kEncendidos);
    EXPECT_EQ(form->cboGrupoSanguineo->currentIndex(), -1);
    EXPECT_EQ(form->txtTelefono->text(), QStringLiteral("01143215678"));
    EXPECT_FALSE(form->optAlergia[0]->isChecked() || form->optAlergia[1]->isChecked());
    EXPECT_FALSE(form->txtAlergia->isEnabled());
}

TEST_F(HistoriaClinica, AllergyReasonFollowsTheOptionsAndIsRequiredToWrite)
{
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta(""))};
    form->cmdLeer_Click();
    dialogs.clear();

    form->optAlergia[1]->setChecked(true);
    EXPECT_TRUE(form->txtAlergia->isEnabled());
    form->txtAlergia->setText(QStringLiteral("   "));
    form->cmdGrabar_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Debe cargar el motivo de la alergia"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Aviso"));
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);

    form->txtAlergia->setText(QStringLiteral("Penicilina"));
    form->optAlergia[0]->setChecked(true);
    EXPECT_TRUE(form->txtAlergia->text().isEmpty());
    EXPECT_FALSE(form->txtAlergia->isEnabled());
}

TEST_F(HistoriaClinica, WritingAsksAndNeverReportsAWrite)
{
    for (const int respuesta : {Vbc::vbNo, Vbc::vbYes}) {
        dialogs.clear();
        dialogs.msgAnswers = {respuesta};
        form->cmdGrabar_Click();
        ASSERT_GE(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, kPregunta);
        EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Grabar tarjeta"));
        EXPECT_EQ(dialogs.shown[0].style & 0x7, Vbc::vbYesNo);
        if (respuesta == Vbc::vbNo) {
            EXPECT_EQ(dialogs.shown.size(), 1);
        } else {
            ASSERT_EQ(dialogs.shown.size(), 2);
            EXPECT_EQ(dialogs.shown[1].text, kNoGrabada);
            EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Grabar tarjeta"));
            EXPECT_EQ(dialogs.shown[1].style, Vbc::vbCritical);
        }
        EXPECT_FALSE(dialogs.messages().contains(QStringLiteral("Los datos ha sido grabados en la tarjeta del afiliado")));
    }
}

TEST_F(HistoriaClinica, ClosingAsksOnlyWhenSomethingChanged)
{
    form->bModifico = true;
    dialogs.msgAnswers = {Vbc::vbNo};
    form->cmdCerrar_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Perderá los cambios realizados en la historia clínica. Seguro que desea salir?"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Atención"));
    EXPECT_FALSE(cerrada());

    dialogs.msgAnswers = {Vbc::vbYes};
    form->cmdCerrar_Click();
    EXPECT_TRUE(cerrada());
}

TEST_F(HistoriaClinica, ClosingAnUneditedWindowAsksNothing)
{
    form->cmdCerrar_Click();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(cerrada());
}

// QUORVAN_SCREENSHOTS=<folder> keeps the picture of the window after a read of a blank card.
TEST_F(HistoriaClinica, Screenshot)
{
    hid.dispositivos = {TransporteHidSimulado::Lector(tarjeta(""))};
    form->cmdLeer_Click();
    const QImage imagen = sub->grab().toImage();
    EXPECT_EQ(imagen.size(), QSize(337, 540));
    const QString carpeta = qEnvironmentVariable("QUORVAN_SCREENSHOTS");
    if (!carpeta.isEmpty()) EXPECT_TRUE(imagen.save(QDir(carpeta).filePath("frmHistoriaClinica.png")));
}
