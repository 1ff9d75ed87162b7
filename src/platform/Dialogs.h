#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// Message box styles and answers as the system's forms use them.
namespace Vbc {
enum : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };
}

// A save dialog's options: the extension ("rpt", without the point) a name without one gets,
// and whether the dialog asks before replacing a file (a form that asks itself turns it off).
struct OpcionesGuardar {
    QString extension;
    bool confirmarReemplazo = true;
};

// Every message, question, input, file and folder dialog and every modal form goes through
// this provider, so tests can answer them and see what the user would have seen.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    virtual int msgBox(const QString& text, int style, const QString& title) = 0;
    virtual QString inputBox(const QString& prompt, const QString& title, const QString& deflt, bool* ok) = 0;
    virtual QString openFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    virtual QString folderName(const QString& caption, const QString& dir) = 0;
    // A save dialog with options; the default asks saveFileName.
    virtual QString saveFileNameWith(const QString& caption, const QString& dir, const QString& filter,
                                     const OpcionesGuardar& opciones);
    // Runs a modal form; the default is QDialog::exec.
    virtual int execModal(QDialog* dialog);
};

// The real Qt dialogs.
class QtDialogProvider : public DialogProvider {
public:
    int msgBox(const QString& text, int style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& deflt, bool* ok) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString folderName(const QString& caption, const QString& dir) override;
    QString saveFileNameWith(const QString& caption, const QString& dir, const QString& filter,
                             const OpcionesGuardar& opciones) override;
};

namespace Dialogs {
// Title used when a caller gives none.
inline const QString kAppTitle = QStringLiteral("Quorvan");

int MsgBox(const QString& text, int style = Vbc::vbOKOnly, const QString& title = QString());
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& deflt = QString(),
                 bool* ok = nullptr);
QString OpenFileName(const QString& caption, const QString& dir = QString(), const QString& filter = QString());
QString SaveFileName(const QString& caption, const QString& dir = QString(), const QString& filter = QString());
// The same with options; a chosen name without extension gets `opciones.extension`.
QString SaveFileName(const QString& caption, const QString& dir, const QString& filter, const OpcionesGuardar& opciones);
QString FolderName(const QString& caption, const QString& dir = QString());
int ExecModal(QDialog* dialog);

// Installs a provider (tests); nullptr restores the Qt one. Not owned.
void install(DialogProvider* provider);
DialogProvider& provider();
}
