#include "app/DialogosArchivo.h"

#include "platform/Lineas.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QTextStream>

DialogosArchivo::DialogosArchivo(const QString& archivo)
{
    QFile f(archivo);
    if (f.open(QIODevice::ReadOnly)) m_respuestas = Lineas::Separar(QString::fromUtf8(f.readAll()));
}

QString DialogosArchivo::Siguiente()
{
    return m_respuestas.isEmpty() ? QString() : m_respuestas.takeFirst().trimmed();
}

void DialogosArchivo::Registrar(const QString& tipo, const QString& titulo, const QString& texto,
                                const QString& respuesta)
{
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    QTextStream(stderr) << "Quorvan " << tipo << " [" << titulo << "] " << t << " -> " << respuesta << Qt::endl;
}

int DialogosArchivo::msgBox(const QString& text, int style, const QString& title)
{
    int primero = Vbc::vbOK;
    switch (style & 0x7) {
    case Vbc::vbYesNo: case Vbc::vbYesNoCancel: primero = Vbc::vbYes; break;
    case Vbc::vbRetryCancel: primero = Vbc::vbRetry; break;
    case Vbc::vbAbortRetryIgnore: primero = Vbc::vbAbort; break;
    default: break;
    }
    const QString r = Siguiente().toLower();
    int respuesta = primero;
    bool numero = false;
    const int n = r.toInt(&numero);
    if (numero) respuesta = n;
    else if (r == QLatin1String("si") || r == QStringLiteral("sí")) respuesta = Vbc::vbYes;
    else if (r == QLatin1String("no")) respuesta = Vbc::vbNo;
    else if (r == QLatin1String("aceptar")) respuesta = Vbc::vbOK;
    else if (r == QLatin1String("cancelar")) respuesta = Vbc::vbCancel;
    Registrar(QStringLiteral("mensaje"), title.isEmpty() ? Dialogs::kAppTitle : title, text, QString::number(respuesta));
    return respuesta;
}

QString DialogosArchivo::inputBox(const QString& prompt, const QString& title, const QString&, bool* ok)
{
    const QString r = Siguiente();
    if (ok) *ok = true;
    Registrar(QStringLiteral("entrada"), title, prompt, r);
    return r;
}

QString DialogosArchivo::openFileName(const QString& caption, const QString&, const QString&)
{
    Registrar(QStringLiteral("abrir"), caption, QString(), QString());
    return QString();
}

QString DialogosArchivo::saveFileName(const QString& caption, const QString&, const QString&)
{
    Registrar(QStringLiteral("guardar"), caption, QString(), QString());
    return QString();
}

QString DialogosArchivo::folderName(const QString& caption, const QString&)
{
    Registrar(QStringLiteral("carpeta"), caption, QString(), QString());
    return QString();
}

int DialogosArchivo::execModal(QDialog* dialog)
{
    // The wait for the communications client is no question: it runs and closes by itself.
    if (dialog->objectName() == QLatin1String("frmProcesandoCO")) return dialog->exec();
    // "pulsar cmdUno cmdDos": the window is shown and those buttons are pressed in turn.
    if (!m_respuestas.isEmpty() && m_respuestas.first().trimmed().startsWith(QLatin1String("pulsar "))) {
        const QStringList botones = Siguiente().mid(7).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        Registrar(QStringLiteral("ventana"), dialog->windowTitle(), dialog->objectName(), botones.join(QLatin1Char(' ')));
        dialog->show();
        QCoreApplication::processEvents();
        for (const QString& nombre : botones) {
            auto* boton = dialog->findChild<QAbstractButton*>(nombre);
            if (!boton || !dialog->isVisible()) {
                Registrar(QStringLiteral("ventana"), dialog->windowTitle(), nombre, QStringLiteral("sin ese botón"));
                break;
            }
            boton->click();
            QCoreApplication::processEvents();
        }
        if (dialog->isVisible()) dialog->reject();
        return dialog->result();
    }
    Registrar(QStringLiteral("ventana"), dialog->windowTitle(), dialog->objectName(), QStringLiteral("cerrada"));
    return QDialog::Rejected;
}
