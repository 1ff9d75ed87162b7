#include "shell/frmPassword.h"

#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Salida.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/frmMain.h"
#include "shell/modVentanas.h"
#include "platform/ReglasEntrada.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kCerrar = QStringLiteral("Cerrar");
const QString kModoOculto = QStringLiteral("KESTRIMA");
}

frmPassword::frmPassword(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Clave de acceso"));
    Label1 = new QLabel(QStringLiteral("Ingrese clave: "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtClave = new QLineEdit(this);
    txtClave->setObjectName(QStringLiteral("txtClave"));
    txtClave->setEchoMode(QLineEdit::Password);
    txtClave->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    Label1->setBuddy(txtClave);
    cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAutoDefault(false);

    auto* grilla = new QGridLayout(this);
    grilla->addWidget(Label1, 0, 0);
    grilla->addWidget(txtClave, 0, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    grilla->addLayout(botones, 1, 0, 1, 2);
    setFixedWidth(320);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmPassword::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmPassword::cmdCancelar_Click);
    // The box is the whole dialog and "Aceptar" checks the code itself: Enter in it is "Aceptar".
    connect(txtClave, &QLineEdit::returnPressed, this, &frmPassword::cmdAceptar_Click);
    ReglasEntrada::PrepararVentana(this);
}

void frmPassword::Inicio(bool arranque)
{
    frmPassword dialogo(frmMain::Instancia());
    if (arranque) {
        dialogo.setWindowTitle(QStringLiteral("Configuración"));
        dialogo.cmdCancelar->setText(kCerrar);
    }
    Dialogs::ExecModal(&dialogo);
}

QString frmPassword::ClaveEsperada(const QString& lineaComando)
{
    return lineaComando == kModoOculto ? QStringLiteral("9307") : QStringLiteral("80613");
}

void frmPassword::cmdAceptar_Click()
{
    try {
        if (Vb::Trim(txtClave->text()) != ClaveEsperada(General::LineaComando)) {
            Dialogs::MsgBox(QStringLiteral("La clave es incorrecta"), Vbc::vbOKOnly);
            return;
        }
        QDialog::accept();
        modVentanas::MostrarConfiguracion(false);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmPassword::cmdCancelar_Click()
{
    if (cmdCancelar->text() == kCerrar) Salida::Solicitar(0);
    QDialog::reject();
}

void frmPassword::reject() { cmdCancelar_Click(); }
