#include "engine/frmDatosPaciente.h"
#include "engine/frmMostrarErrores.h"
#include "engine/frmMuestraTicket.h"
#include "platform/Mail.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "support/RecordingPrinter.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kTicket = QStringLiteral("   FARMACIA CENTRAL\r\nAFILIADO: 0001234567\r\nAUTORIZACION: 00004521\r\n"
                                       "TOTAL A ABONAR:   $ 125.50\r\n");

// Stands in for sendmail: keeps its arguments and the message it reads, or fails.
QString scriptSendmail(const TempFolder& tmp, bool falla)
{
    const QString ruta = tmp.file("sendmail");
    QString s = QStringLiteral("#!/bin/sh\necho \"$@\" > '%1args'\ncat > '%1mensaje'\n").arg(tmp.path());
    if (falla) s += QStringLiteral("echo 'relay denegado' >&2\nexit 75\n");
    tmp.write("sendmail", s.toUtf8());
    QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return ruta;
}

struct SendmailEnv {
    explicit SendmailEnv(const QString& ruta) { qputenv("QUORVAN_SENDMAIL", ruta.toUtf8()); }
    ~SendmailEnv() { qunsetenv("QUORVAN_SENDMAIL"); }
};

}

TEST(frmMostrarErrores, OneRowPerItemAndAWideCommentWidensTheColumn)
{
    frmMostrarErrores f;
    const QString largo = QStringLiteral("Afiliado suspendido por falta de pago de las cuotas de los últimos meses");
    f.colErrores = {{1, "SVL1", "0005", "Afiliado inexistente"}, {1, "SVL3", "0099", "OK"}, {1, "DRUVEX", "-1", largo}};
    const int antes = f.lvwErrores->columnWidth(3);
    ASSERT_LT(f.lvwErrores->fontMetrics().horizontalAdvance(largo), 2000);
    f.CargarErrores();

    ASSERT_EQ(f.lvwErrores->topLevelItemCount(), 3);
    const QStringList esperado[] = {{"1", "SVL1", "0005", "Afiliado inexistente"},
                                    {"1", "SVL3", "0099", "OK"},
                                    {"1", "DRUVEX", "-1", largo}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(f.lvwErrores->topLevelItem(r)->text(c), esperado[r][c]);
    EXPECT_EQ(f.lvwErrores->headerItem()->text(2), "Numero");
    EXPECT_EQ(f.windowTitle(), "Errores");
    EXPECT_GT(f.lvwErrores->columnWidth(3), antes);
    EXPECT_GE(f.lvwErrores->columnWidth(3), f.lvwErrores->fontMetrics().horizontalAdvance(largo));

    f.show();
    f.cmdAceptar->click();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_TRUE(f.isHidden());
}

class VentanaTicket : public ::testing::Test {
protected:
    void SetUp() override
    {
        Printers::setTestPrinters({QStringLiteral("Ticketera")}, QStringLiteral("Ticketera"));
        Printing::reiniciarImpresoraActiva();
        RecordingPrinter::install();
    }
    void TearDown() override
    {
        RecordingPrinter::uninstall();
        Printers::resetTestPrinters();
        Printing::reiniciarImpresoraActiva();
    }
    ScriptedDialogs dialogs;
};

TEST_F(VentanaTicket, ShowsTheTicketAndBarcodeAndPrintsIt)
{
    bool visto = false;
    dialogs.modalHandler = [&](QDialog* d) {
        auto* f = qobject_cast<frmMuestraTicket*>(d);
        if (!f) return int(QDialog::Rejected);
        visto = true;
        EXPECT_EQ(f->windowTitle(), "Ticket");
        QString esperado = kTicket;
        esperado.replace("\r\n", "\n");
        EXPECT_EQ(f->rtextTicket->toPlainText().toStdString(), esperado.toStdString());
        EXPECT_TRUE(QFontInfo(f->rtextTicket->font()).fixedPitch());
        EXPECT_FALSE(f->cmdEnviarCopia->isHidden());
        EXPECT_FALSE(f->lblCodigo->isHidden());
        EXPECT_FALSE(f->lblCodigo->pixmap().isNull());
        EXPECT_FALSE(f->ImagenCodigo().isNull());

        f->resize(520, 420); // narrower than the barcode: the window keeps it whole
        EXPECT_GE(f->lblCodigo->width(), f->lblCodigo->pixmap().width());
        f->show();
        const QImage shot = f->grab().toImage();
        EXPECT_TRUE(shot.save(QDir::current().filePath("ticket_window.png")));

        f->cmdImprimir_Click();
        f->cmdAceptar->click();
        return f->result();
    };
    frmMuestraTicket f;
    f.Cargar(kTicket, 4, "Ticketera", "Courier New", 10, 6, 1, true, "*20240305JW00004521*");
    ASSERT_TRUE(visto);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
    EXPECT_EQ(RecordingPrinter::comoTexto(RecordingPrinter::trabajos()[0].paginas[0]),
              (QStringList{"   FARMACIA CENTRAL", "AFILIADO: 0001234567", "AUTORIZACION: 00004521",
                           "TOTAL A ABONAR:   $ 125.50", "", "", "[CODIGO 20240305JW00004521 20]"}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(VentanaTicket, WithoutCopyFlagOrEncodableBarcode)
{
    dialogs.modalHandler = [&](QDialog* d) {
        auto* f = qobject_cast<frmMuestraTicket*>(d);
        EXPECT_TRUE(f->cmdEnviarCopia->isHidden());
        EXPECT_TRUE(f->lblCodigo->isHidden());
        EXPECT_FALSE(f->rtextTicket->toPlainText().isEmpty());
        f->cmdImprimir_Click();
        return int(QDialog::Accepted);
    };
    frmMuestraTicket f;
    f.Cargar(kTicket, 4, "Ticketera", "", 0, 4, 1, false, "*ÑANDÚ#*");
    ASSERT_EQ(RecordingPrinter::trabajos().size(), 1);
    EXPECT_EQ(RecordingPrinter::trabajos()[0].paginas[0].size(), 4); // ticket printed, no barcode line
}

TEST_F(VentanaTicket, NoPrinterDeviceOffersThePrinterSelectionFirst)
{
    QStringList orden;
    dialogs.modalHandler = [&](QDialog* d) {
        orden << d->objectName();
        return int(QDialog::Rejected);
    };
    frmMuestraTicket f;
    f.Cargar(kTicket, 4, "", "", 0, 4, 1, false, "");
    EXPECT_EQ(orden, (QStringList{"CommonDialog1", "frmMuestraTicket"}));
    EXPECT_EQ(f.PrinterDevice(), "Ticketera"); // the printer then current
}

TEST_F(VentanaTicket, SendCopyMailsTheTicketToThePatient)
{
    TempFolder tmp;
    SendmailEnv env(scriptSendmail(tmp, false));
    dialogs.modalHandler = [&](QDialog* d) {
        if (auto* datos = qobject_cast<frmDatosPaciente*>(d)) {
            EXPECT_EQ(datos->windowTitle(), "Envío copia al paciente");
            EXPECT_EQ(datos->cboEmpresa->count(), 4);
            EXPECT_EQ(datos->cboEmpresa->itemText(3), "Personal");
            datos->txtEmail->setText("  paciente.perez@correo.example.com ");
            datos->cmdAceptar_Click();
            return datos->result();
        }
        static_cast<frmMuestraTicket*>(d)->cmdEnviarCopia->click();
        return int(QDialog::Accepted);
    };
    frmMuestraTicket f;
    f.Cargar(kTicket, 4, "Ticketera", "", 0, 4, 1, true, "");
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();

    EXPECT_EQ(tmp.read("args"), "-t -i\n");
    const QByteArray esperado = "To: paciente.perez@correo.example.com\n"
                                "Subject: Copia del Ticket\n"
                                "MIME-Version: 1.0\n"
                                "Content-Type: text/plain; charset=UTF-8\n"
                                "Content-Transfer-Encoding: 8bit\n"
                                "\n"
                                "   FARMACIA CENTRAL\n"
                                "AFILIADO: 0001234567\n"
                                "AUTORIZACION: 00004521\n"
                                "TOTAL A ABONAR:   $ 125.50\n";
    EXPECT_EQ(tmp.read("mensaje"), esperado);
}

TEST(frmDatosPaciente, RefusedAddressesSendNothing)
{
    TempFolder tmp;
    SendmailEnv env(scriptSendmail(tmp, false));
    ScriptedDialogs dialogs;
    const char* direcciones[] = {
        "", "    ", "sin-arroba", "a@", "@dominio.com", "a b@dominio.com", "a@dominio.com\r\nBcc: todos@spam.example",
        "a@dominio.com\nSubject: x", "a@dominio.com,b@otro.com", "Juan <a@dominio.com>", "a@@dominio.com",
        "a@dominio..com", "a\t@dominio.com",
    };
    for (const char* dir : direcciones) {
        dialogs.clear();
        frmDatosPaciente f;
        f.Form_Load();
        f.show();
        f.txtEmail->setText(QString::fromLatin1(dir));
        f.cmdAceptar->click();
        ASSERT_EQ(dialogs.shown.size(), 1) << dir;
        EXPECT_EQ(dialogs.shown[0].text, "Debe ingresar el email del paciente") << dir;
        EXPECT_EQ(dialogs.shown[0].title, "Envío de copia al paciente");
        EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
        EXPECT_FALSE(f.isHidden()) << dir;
        EXPECT_FALSE(tmp.exists("mensaje")) << dir;
    }
}

TEST(frmDatosPaciente, MailFailureIsShownAndTheWindowStays)
{
    TempFolder tmp;
    struct Case { QString programa; QString motivo; };
    const Case cases[] = {
        {scriptSendmail(tmp, true), "relay denegado"},
        {tmp.file("no-existe/sendmail"), "No se pudo ejecutar"},
    };
    for (const Case& c : cases) {
        SendmailEnv env(c.programa);
        ScriptedDialogs dialogs;
        frmDatosPaciente f;
        QString texto = kTicket;
        dialogs.modalHandler = [&](QDialog*) {
            f.txtEmail->setText("paciente@correo.example.com");
            f.show();
            f.cmdAceptar->click();
            EXPECT_FALSE(f.isHidden());
            f.cmdCancelar->click();
            return f.result();
        };
        f.EnviarCopia(texto);
        EXPECT_EQ(f.result(), QDialog::Rejected);
        ASSERT_EQ(dialogs.messages().size(), 1);
        const auto& m = dialogs.shown.last();
        EXPECT_TRUE(m.text.startsWith("No se pudo enviar la copia al paciente")) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(c.motivo)) << m.text.toStdString();
        EXPECT_EQ(m.style, Vbc::vbCritical);
    }
}
