#pragma once
#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <functional>

// Stands in for the user at every dialog: records what was shown and answers from a queue
// (an empty queue answers the first button, an empty input, no file).
class ScriptedDialogs : public DialogProvider {
public:
    struct Shown {
        QString kind; // "msgbox", "input", "open", "save", "folder", "modal"
        QString text;
        QString title; // for "folder": where the picker opens
        int style = 0;
    };

    ScriptedDialogs() { Dialogs::install(this); }
    ~ScriptedDialogs() override { Dialogs::install(nullptr); }

    QList<Shown> shown;
    QList<int> msgAnswers;
    QList<QString> textAnswers;
    // Called for a modal form instead of exec(); when empty the form really runs modally.
    std::function<int(QDialog*)> modalHandler;

    int msgBox(const QString& text, int style, const QString& title) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& deflt, bool* ok) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString folderName(const QString& caption, const QString& dir) override;
    int execModal(QDialog* dialog) override;

    QStringList messages() const;
    void clear() { shown.clear(); }
};
