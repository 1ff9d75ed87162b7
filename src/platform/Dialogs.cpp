#include "platform/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

int DialogProvider::execModal(QDialog* dialog) { return dialog->exec(); }

QString DialogProvider::saveFileNameWith(const QString& caption, const QString& dir, const QString& filter,
                                         const OpcionesGuardar&)
{
    return saveFileName(caption, dir, filter);
}

int QtDialogProvider::msgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box;
    box.setText(text);
    box.setWindowTitle(title);
    switch (style & 0x70) {
    case Vbc::vbCritical: box.setIcon(QMessageBox::Critical); break;
    case Vbc::vbQuestion: box.setIcon(QMessageBox::Question); break;
    case Vbc::vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case Vbc::vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct B { QMessageBox::StandardButton qt; int vb; };
    QList<B> buttons;
    switch (style & 0x7) {
    case Vbc::vbOKCancel: buttons = {{QMessageBox::Ok, Vbc::vbOK}, {QMessageBox::Cancel, Vbc::vbCancel}}; break;
    case Vbc::vbAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, Vbc::vbAbort}, {QMessageBox::Retry, Vbc::vbRetry}, {QMessageBox::Ignore, Vbc::vbIgnore}};
        break;
    case Vbc::vbYesNoCancel:
        buttons = {{QMessageBox::Yes, Vbc::vbYes}, {QMessageBox::No, Vbc::vbNo}, {QMessageBox::Cancel, Vbc::vbCancel}};
        break;
    case Vbc::vbYesNo: buttons = {{QMessageBox::Yes, Vbc::vbYes}, {QMessageBox::No, Vbc::vbNo}}; break;
    case Vbc::vbRetryCancel: buttons = {{QMessageBox::Retry, Vbc::vbRetry}, {QMessageBox::Cancel, Vbc::vbCancel}}; break;
    default: buttons = {{QMessageBox::Ok, Vbc::vbOK}}; break;
    }
    QMessageBox::StandardButtons all;
    for (const auto& b : buttons) all |= b.qt;
    box.setStandardButtons(all);
    const int defIndex = (style & Vbc::vbDefaultButton3) ? 2 : (style & Vbc::vbDefaultButton2) ? 1 : 0;
    if (defIndex < buttons.size()) box.setDefaultButton(buttons[defIndex].qt);
    const int r = box.exec();
    for (const auto& b : buttons)
        if (b.qt == r) return b.vb;
    return buttons.size() > 1 ? Vbc::vbCancel : Vbc::vbOK;
}

QString QtDialogProvider::inputBox(const QString& prompt, const QString& title, const QString& deflt, bool* ok)
{
    bool accepted = false;
    const QString r = QInputDialog::getText(nullptr, title, prompt, QLineEdit::Normal, deflt, &accepted);
    if (ok) *ok = accepted;
    return accepted ? r : QString();
}

QString QtDialogProvider::openFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, dir, filter);
}

QString QtDialogProvider::saveFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(nullptr, caption, dir, filter);
}

QString QtDialogProvider::saveFileNameWith(const QString& caption, const QString& dir, const QString& filter,
                                           const OpcionesGuardar& opciones)
{
    QFileDialog dialogo(nullptr, caption, dir, filter);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setDefaultSuffix(opciones.extension);
    dialogo.setOption(QFileDialog::DontConfirmOverwrite, !opciones.confirmarReemplazo);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return QString();
    return dialogo.selectedFiles().first();
}

QString QtDialogProvider::folderName(const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(nullptr, caption, dir);
}

namespace Dialogs {
namespace {
DialogProvider* g_installed = nullptr;
}

DialogProvider& provider()
{
    static QtDialogProvider qtProvider;
    return g_installed ? *g_installed : qtProvider;
}

void install(DialogProvider* p) { g_installed = p; }

int MsgBox(const QString& text, int style, const QString& title)
{
    return provider().msgBox(text, style, title.isEmpty() ? kAppTitle : title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& deflt, bool* ok)
{
    return provider().inputBox(prompt, title.isEmpty() ? kAppTitle : title, deflt, ok);
}

QString OpenFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return provider().openFileName(caption, dir, filter);
}

QString SaveFileName(const QString& caption, const QString& dir, const QString& filter)
{
    return provider().saveFileName(caption, dir, filter);
}

QString SaveFileName(const QString& caption, const QString& dir, const QString& filter, const OpcionesGuardar& opciones)
{
    QString nombre = provider().saveFileNameWith(caption, dir, filter, opciones);
    if (!nombre.isEmpty() && !opciones.extension.isEmpty() && QFileInfo(nombre).suffix().isEmpty())
        nombre += QLatin1Char('.') + opciones.extension;
    return nombre;
}

QString FolderName(const QString& caption, const QString& dir) { return provider().folderName(caption, dir); }

int ExecModal(QDialog* dialog) { return provider().execModal(dialog); }
}
