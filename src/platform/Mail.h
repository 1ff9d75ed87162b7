#pragma once
#include <QByteArray>
#include <QString>

// One plain-text message to one recipient.
struct MensajeCorreo {
    QString destinatario;
    QString asunto;
    QString cuerpo;
};

// Hands a message to the mail system. A false answer carries the reason in `error`.
class MailSender {
public:
    virtual ~MailSender() = default;
    virtual bool enviar(const MensajeCorreo& mensaje, QString* error) = 0;
};

// The system's mail transfer agent: `sendmail -t -i` reads the MIME message on its input.
// QUORVAN_SENDMAIL names another program in its place.
class SendmailSender : public MailSender {
public:
    bool enviar(const MensajeCorreo& mensaje, QString* error) override;
    // The program that is run.
    static QString Programa();
};

namespace Mail {

// True for one bare address "name@domain": printable ASCII only, no blanks, no control
// characters and nothing a header could be split or extended with.
bool DireccionValida(const QString& direccion);

// The MIME message as the transfer agent reads it: headers, a blank line, the body in UTF-8
// with LF line ends. Refuses (empty result) an invalid recipient or a subject with line breaks.
QByteArray ComponerMensaje(const MensajeCorreo& mensaje);

// The sender in use; tests install their own (not owned); nullptr restores sendmail.
MailSender& sender();
void install(MailSender* sender);

}
