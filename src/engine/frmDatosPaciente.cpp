#include "engine/frmDatosPaciente.h"

#include "platform/Dialogs.h"
#include "platform/Mail.h"
#include "platform/Vb.h"
#include "platform/ReglasEntrada.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {
const QString kTitulo = QStringLiteral("Envío de copia al paciente");
}

frmDatosPaciente::frmDatosPaciente(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDatosPaciente"));
    setWindowTitle(QStringLiteral("Envío copia al paciente"));
    setModal(true);

    txtEmail = new QLineEdit(this);
    txtEmail->setObjectName(QStringLiteral("txtEmail"));
    txtCelular = new QLineEdit(this);
    txtCelular->setObjectName(QStringLiteral("txtCelular"));
    txtCelular->setPlaceholderText(QStringLiteral("Ingrese el código de área"));
    txtCelular->setToolTip(QStringLiteral("Ingrese el código de área"));
    cboEmpresa = new QComboBox(this);
    cboEmpresa->setObjectName(QStringLiteral("cboEmpresa"));
    cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto* campos = new QFormLayout;
    campos->addRow(QStringLiteral("Email:"), txtEmail);
    campos->addRow(QStringLiteral("Celular:"), txtCelular);
    campos->addRow(QStringLiteral("Empresa:"), cboEmpresa);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addLayout(botones);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmDatosPaciente::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmDatosPaciente::cmdCancelar_Click);
    ReglasEntrada::PrepararVentana(this);
}

void frmDatosPaciente::EnviarCopia(QString& Ticket)
{
    m_Ticket = Ticket;
    Form_Load();
    Dialogs::ExecModal(this);
}

void frmDatosPaciente::Form_Load()
{
    cboEmpresa->clear();
    cboEmpresa->addItems({QStringLiteral("Claro"), QStringLiteral("Movistar"), QStringLiteral("Nextel"),
                          QStringLiteral("Personal")});
}

void frmDatosPaciente::cmdAceptar_Click()
{
    const QString email = Vb::Trim(txtEmail->text());
    // Only a bare name@domain goes into the message's header: anything else could add headers
    // or recipients of its own.
    if (email.isEmpty() || !Mail::DireccionValida(email)) {
        Dialogs::MsgBox(QStringLiteral("Debe ingresar el email del paciente"), Vbc::vbInformation, kTitulo);
        txtEmail->setFocus();
        return;
    }
    MensajeCorreo m;
    m.destinatario = email;
    m.asunto = QStringLiteral("Copia del Ticket");
    m.cuerpo = m_Ticket;
    QString motivo;
    bool enviado = false;
    try {
        enviado = Mail::sender().enviar(m, &motivo);
    } catch (const std::exception& e) {
        motivo = QString::fromLocal8Bit(e.what());
    }
    if (!enviado) {
        // The user must know the patient got nothing; the window stays for another try.
        Dialogs::MsgBox(QStringLiteral("No se pudo enviar la copia al paciente: ") + motivo, Vbc::vbCritical,
                        kTitulo);
        return;
    }
    accept();
}

void frmDatosPaciente::cmdCancelar_Click() { reject(); }
