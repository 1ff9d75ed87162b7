#pragma once
#include "platform/Dialogs.h"

#include <QStringList>

// The program's test aid QUORVAN_DIALOGOS: every dialog is answered from a file, one answer a
// line (a button number, or "si", "no", "aceptar", "cancelar"; the text of an input box), and
// with the first button once the file is used up; each dialog shown is logged on stderr.
// Modal windows are logged and closed without being shown, except the wait for the client and
// one answered "pulsar" and the object names of its buttons: it is shown and they are pressed.
class DialogosArchivo : public DialogProvider {
public:
    explicit DialogosArchivo(const QString& archivo);

    int msgBox(const QString& text, int style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& deflt, bool* ok) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString folderName(const QString& caption, const QString& dir) override;
    int execModal(QDialog* dialog) override;

private:
    QString Siguiente();
    static void Registrar(const QString& tipo, const QString& titulo, const QString& texto, const QString& respuesta);
    QStringList m_respuestas;
};
