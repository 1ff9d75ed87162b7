#include "platform/Mail.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace Mail {

bool DireccionValida(const QString& direccion)
{
    // Local part: the atom characters of RFC 5322 and dots; domain: labels of letters,
    // digits and hyphens separated by dots.
    static const QRegularExpression re(QStringLiteral(
        "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
        "@[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*$"));
    return direccion.size() <= 254 && re.match(direccion).hasMatch();
}

namespace {
QByteArray encabezadoAsunto(const QString& asunto)
{
    bool ascii = true;
    for (const QChar c : asunto)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) ascii = false;
    if (ascii) return asunto.toLatin1();
    return "=?UTF-8?B?" + asunto.toUtf8().toBase64() + "?=";
}
}

QByteArray ComponerMensaje(const MensajeCorreo& m)
{
    if (!DireccionValida(m.destinatario)) return {};
    if (m.asunto.contains(QLatin1Char('\r')) || m.asunto.contains(QLatin1Char('\n'))) return {};
    QString cuerpo = m.cuerpo;
    cuerpo.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    cuerpo.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!cuerpo.endsWith(QLatin1Char('\n'))) cuerpo += QLatin1Char('\n');
    QByteArray r;
    r += "To: " + m.destinatario.toLatin1() + "\n";
    r += "Subject: " + encabezadoAsunto(m.asunto) + "\n";
    r += "MIME-Version: 1.0\n";
    r += "Content-Type: text/plain; charset=UTF-8\n";
    r += "Content-Transfer-Encoding: 8bit\n";
    r += "\n";
    r += cuerpo.toUtf8();
    return r;
}

namespace {
MailSender* g_installed = nullptr;
}

MailSender& sender()
{
    static SendmailSender sendmail;
    return g_installed ? *g_installed : sendmail;
}

void install(MailSender* s) { g_installed = s; }

}

QString SendmailSender::Programa()
{
    const QString env = qEnvironmentVariable("QUORVAN_SENDMAIL");
    if (!env.isEmpty()) return env;
    // Debian keeps it in /usr/sbin, which is not on every user's PATH.
    const QString sbin = QStringLiteral("/usr/sbin/sendmail");
    return QFileInfo(sbin).isExecutable() ? sbin : QStringLiteral("sendmail");
}

bool SendmailSender::enviar(const MensajeCorreo& mensaje, QString* error)
{
    auto fallo = [error](const QString& motivo) {
        if (error) *error = motivo;
        return false;
    };
    const QByteArray mime = Mail::ComponerMensaje(mensaje);
    if (mime.isEmpty()) return fallo(QStringLiteral("La dirección de correo no es válida"));

    const QString programa = Programa();
    QProcess p;
    p.setProgram(programa);
    p.setArguments({QStringLiteral("-t"), QStringLiteral("-i")});
    p.start();
    if (!p.waitForStarted(10000))
        return fallo(QStringLiteral("No se pudo ejecutar %1: %2").arg(programa, p.errorString()));
    p.write(mime);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        return fallo(QStringLiteral("%1 no terminó a tiempo").arg(programa));
    }
    if (p.exitStatus() != QProcess::NormalExit)
        return fallo(QStringLiteral("%1 terminó de forma anormal").arg(programa));
    if (p.exitCode() != 0) {
        const QString salida = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        QString motivo = QStringLiteral("%1 terminó con el código %2").arg(programa).arg(p.exitCode());
        if (!salida.isEmpty()) motivo += QStringLiteral(": ") + salida;
        return fallo(motivo);
    }
    if (error) error->clear();
    return true;
}
