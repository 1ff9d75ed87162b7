#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsDiagnosticos.h"
#include "engine/General.h"
#include "entry/frmDiagnosticos.h"
#include "entry/frmInformeMedico.h"
#include "platform/EntradaSinNulos.h"
#include "platform/EscrituraSegura.h"
#include "platform/Platform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(Diagnosticos, MostrarReturnsTheSelectedCodeOrNothing)
{
    General::gConfig = std::make_shared<clsConfig>();
    auto lista = std::make_shared<Coleccion<clsDiagnosticos>>();
    for (const char* c : {"Z00", "A09", "J11"}) {
        auto d = std::make_shared<clsDiagnosticos>();
        d->Codigo = QLatin1String(c);
        d->Diagnostico = QStringLiteral("Diagnóstico ") + d->Codigo;
        lista->Add(d);
    }
    General::gConfig->setDiagnosticosCol(lista);

    struct Caso {
        const char* nombre;
        std::function<void(frmDiagnosticos*)> usuario;
        const char* codigo;
    };
    const Caso casos[] = {
        {"second row, accept", [](frmDiagnosticos* f) { f->lvwDiagnosticos->topLevelItem(1)->setSelected(true); f->cmdAceptar_Click(); }, "A09"},
        {"no row, accept", [](frmDiagnosticos* f) { f->cmdAceptar_Click(); }, ""},
        {"close box", [](frmDiagnosticos* f) { f->reject(); }, ""},
    };
    ScriptedDialogs dialogs;
    frmDiagnosticos form;
    for (const Caso& k : casos) {
        QStringList filas;
        dialogs.modalHandler = [&](QDialog*) {
            for (int i = 0; i < form.lvwDiagnosticos->topLevelItemCount(); ++i)
                filas << form.lvwDiagnosticos->topLevelItem(i)->text(0);
            k.usuario(&form);
            return form.result();
        };
        // The same picker reopened: a code chosen before is not returned again.
        EXPECT_EQ(form.Mostrar(), QLatin1String(k.codigo)) << k.nombre;
        EXPECT_EQ(filas, (QStringList{"Z00", "A09", "J11"})) << k.nombre; // in the configuration's order
    }
    General::gConfig.reset();
}

// Answers the save dialog and keeps where it proposed to save.
class DialogosGuardar : public ScriptedDialogs {
public:
    QString propuesto;
    QString respuesta;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override
    {
        propuesto = dir;
        ScriptedDialogs::saveFileName(caption, dir, filter);
        return respuesta;
    }
};

class InformeMedico : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_trabajo = General::DirectorioTrabajo;
        General::DirectorioTrabajo = carpeta.path();
        Platform::setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(10, 0)); });
        dialogs.respuesta = carpeta.file(QStringLiteral("informe.txt"));
    }
    void TearDown() override
    {
        Platform::setClock({});
        EscrituraSegura::FallarEnOperacion(0);
        General::DirectorioTrabajo = m_trabajo;
    }
    // Opens the editor over `texto` for the provider "Dr. A/B"; the user does `usuario`.
    int Abrir(const std::function<void(frmInformeMedico*)>& usuario)
    {
        frmInformeMedico form(QStringLiteral("Dr. A/B"), QStringLiteral("6001234"), &protocolo);
        int resultado = -1;
        dialogs.modalHandler = [&](QDialog*) {
            mostrado = form.txtInforme->toPlainText();
            usuario(&form);
            resultado = form.result();
            return resultado;
        };
        form.Cargar(texto, nullptr);
        return resultado;
    }
    TempFolder carpeta;
    DialogosGuardar dialogs;
    QLineEdit protocolo;
    QString texto;
    QString mostrado;
    QString m_trabajo;
};

TEST_F(InformeMedico, HeaderNameAndFile)
{
    EXPECT_EQ(frmInformeMedico::FechaLarga(QDate(2024, 3, 5)), QStringLiteral("martes, 5 de marzo de 2024"));
    const int r = Abrir([](frmInformeMedico* f) {
        f->txtInforme->moveCursor(QTextCursor::End);
        f->txtInforme->insertPlainText(QStringLiteral("Reposo, señor.  "));
        f->cmdAceptar_Click();
    });
    EXPECT_EQ(r, int(QDialog::Accepted));
    EXPECT_EQ(mostrado, QStringLiteral("Mendoza, martes, 5 de marzo de 2024\n\n\nDr: Dr. A/B\n\nCredencial Afliado: 6001234\n"));
    EXPECT_EQ(dialogs.propuesto, carpeta.path() + QStringLiteral("InformeMedico Dr. A-B 05032024"));
    EXPECT_EQ(carpeta.read(QStringLiteral("informe.txt")).toStdString(),
              QByteArray("Mendoza, martes, 5 de marzo de 2024\r\n\r\n\r\nDr: Dr. A/B\r\n\r\nCredencial Afliado: 6001234\r\n"
                         "Reposo, se\xF1or.  \r\n").toStdString());
    EXPECT_EQ(protocolo.text(), dialogs.respuesta);
    EXPECT_EQ(QFile::permissions(carpeta.file(QStringLiteral("informe.txt"))) & 0x0777,
              QFileDevice::ReadUser | QFileDevice::WriteUser) << "for the user alone";
    EXPECT_TRUE(texto.endsWith(QStringLiteral("Reposo, señor."))); // kept trimmed

    // Reopened: the kept text, no new header; a cancel clears it and leaves the path.
    Abrir([](frmInformeMedico* f) { f->cmdCancelar_Click(); });
    EXPECT_TRUE(mostrado.endsWith(QStringLiteral("señor.")));
    EXPECT_TRUE(texto.isEmpty());
    EXPECT_EQ(protocolo.text(), dialogs.respuesta);
}

TEST_F(InformeMedico, EditorStaysOpenWhenNothingIsSaved)
{
    struct Caso {
        const char* nombre;
        bool sinArchivo;
        bool fallaEscritura;
        int mensajes;
    };
    const Caso casos[] = {{"save dialog cancelled", true, false, 0}, {"disk full", false, true, 1}};
    for (const Caso& k : casos) {
        dialogs.clear();
        dialogs.respuesta = k.sinArchivo ? QString() : carpeta.file(QStringLiteral("nuevo.txt"));
        protocolo.setText(QStringLiteral("anterior.txt"));
        texto = QStringLiteral("   ");
        const int r = Abrir([&](frmInformeMedico* f) {
            if (k.fallaEscritura) EscrituraSegura::FallarEnOperacion(1);
            f->cmdAceptar_Click();
        });
        EXPECT_NE(r, int(QDialog::Accepted)) << k.nombre;
        EXPECT_EQ(protocolo.text(), QStringLiteral("anterior.txt")) << k.nombre;
        EXPECT_FALSE(carpeta.exists(QStringLiteral("nuevo.txt"))) << k.nombre;
        EXPECT_TRUE(texto.isEmpty()) << k.nombre; // blanks only are kept as ""
        int criticos = 0;
        for (const auto& s : dialogs.shown) criticos += s.kind == QLatin1String("msgbox") && s.style == Vbc::vbCritical;
        EXPECT_EQ(criticos, k.mensajes) << k.nombre;
    }
}

// A second report of the day for the same provider proposes the same name: the editor asks
// before it replaces the first, and "No" leaves the first as it was.
TEST_F(InformeMedico, AsksBeforeReplacingTheDaysReport)
{
    const QString pregunta = QStringLiteral("El archivo ") + dialogs.respuesta + QStringLiteral(" ya existe. ¿Desea reemplazarlo?");
    const struct {
        const char* escrito;
        QList<int> respuestas;
        QStringList mensajes;
        bool aceptado;
        const char* archivo;
    } casos[] = {
        {"Primero", {}, {}, true, "Primero\r\n"},
        {"Segundo", {Vbc::vbNo}, {pregunta}, false, "Primero\r\n"},
        {"Tercero", {Vbc::vbYes}, {pregunta}, true, "Tercero\r\n"},
    };
    for (const auto& c : casos) {
        dialogs.clear();
        dialogs.msgAnswers = c.respuestas;
        texto = QStringLiteral("x");
        const int r = Abrir([&](frmInformeMedico* f) {
            f->show();
            f->txtInforme->selectAll();
            QTest::keyClicks(f->txtInforme, QLatin1String(c.escrito));
            QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
        });
        EXPECT_EQ(dialogs.messages(), c.mensajes) << c.escrito;
        EXPECT_EQ(r == int(QDialog::Accepted), c.aceptado) << c.escrito;
        EXPECT_EQ(carpeta.read(QStringLiteral("informe.txt")), QByteArray(c.archivo)) << c.escrito;
        for (const auto& s : dialogs.shown)
            if (s.kind == QLatin1String("msgbox")) EXPECT_EQ(s.style, Vbc::vbYesNo | Vbc::vbQuestion | Vbc::vbDefaultButton2);
    }
}

}

// A NUL pasted into a text box is a blank at once: in the editor, in the file and in the kept
// text, as in a line box.
TEST_F(InformeMedico, APastedNulBecomesABlank)
{
    EntradaSinNulos::Instalar(); // as the program does at start
    QApplication::clipboard()->setText(QStringLiteral("dolor") + QChar(0) + QStringLiteral("agudo"));
    QString enCaja;
    Abrir([&enCaja](frmInformeMedico* f) {
        f->show();
        f->txtInforme->setFocus();
        f->txtInforme->moveCursor(QTextCursor::End);
        QTest::keyClick(f->txtInforme, Qt::Key_V, Qt::ControlModifier);
        enCaja = f->txtInforme->toPlainText();
        QTest::mouseClick(f->cmdAceptar, Qt::LeftButton);
    });
    EXPECT_TRUE(enCaja.endsWith(QStringLiteral("dolor agudo"))) << enCaja.toStdString();
    EXPECT_TRUE(carpeta.read(QStringLiteral("informe.txt")).endsWith("dolor agudo\r\n"));
    EXPECT_TRUE(texto.endsWith(QStringLiteral("dolor agudo")));

    protocolo.show();
    protocolo.setFocus();
    protocolo.clear();
    QTest::keyClick(&protocolo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(protocolo.text(), QStringLiteral("dolor agudo"));
}

// Text read with a NUL after each character (UTF-16 taken as bytes), NULs before a combining
// mark, a run of them at the end: pasted into the editor and into a line box, a blank for each
// NUL, every other code unit where it was; in both the paste is one undo step, its undo never
// brings a NUL back, and the cursor lands where a paste of blanks leaves it, after a redo too.
TEST_F(InformeMedico, NulsInAPasteBecomeBlanksAndNothingElseChanges)
{
    EntradaSinNulos::Instalar();
    const QChar nul(0);
    QString intercalado;
    for (int i = 0; i < 400; ++i) intercalado += QString(QChar(u'a' + i % 26)) + nul;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, rehacer = Qt::ControlModifier | Qt::ShiftModifier;
    for (const QString& pegado : {intercalado, "Jose" + QString(2, nul) + QChar(0x301) + " Perez" + nul + "Garcia" + nul + "Lopez",
                                  "a" + QString(nul) + "b" + QString(2, nul) + " "}) {
        const QString esperado = QString(pegado).replace(nul, QLatin1Char(' '));
        SCOPED_TRACE(esperado.left(20).toStdString());
        QApplication::clipboard()->setText(pegado);
        Abrir([&](frmInformeMedico* f) {
            f->show();
            QPlainTextEdit* e = f->txtInforme;
            e->moveCursor(QTextCursor::End);
            // Paste, undo, redo: the text after each, the cursor at its end.
            for (const auto& [tecla, mod, texto] : {std::tuple{Qt::Key_V, ctrl, mostrado + esperado},
                                                    {Qt::Key_Z, ctrl, mostrado}, {Qt::Key_Z, rehacer, mostrado + esperado}}) {
                QTest::keyClick(e, tecla, mod);
                EXPECT_EQ(e->toPlainText().toStdString(), texto.toStdString());
                EXPECT_EQ(e->textCursor().position(), texto.size());
            }
            // Text the program sets: the cursor at its start, as with blanks.
            e->setPlainText(QString(2, nul) + pegado);
            EXPECT_EQ(e->toPlainText(), "  " + esperado);
            EXPECT_EQ(e->textCursor().position(), 0);
            f->reject();
        });
        protocolo.show();
        protocolo.setText("x");
        QTest::keyClick(&protocolo, Qt::Key_V, ctrl);
        EXPECT_EQ(protocolo.cursorPosition(), 1 + esperado.size());
        QTest::keyClicks(&protocolo, "z");
        // Undo, undo, redo: the letter typed after the paste is a step of its own, the paste one.
        for (const auto& [mod, texto] : {std::pair{ctrl, "x" + esperado}, {ctrl, QString("x")}, {rehacer, "x" + esperado}}) {
            QTest::keyClick(&protocolo, Qt::Key_Z, mod);
            EXPECT_EQ(protocolo.text().toStdString(), texto.toStdString());
        }
    }
}
