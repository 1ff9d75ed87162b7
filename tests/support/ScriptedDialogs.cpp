#include "support/ScriptedDialogs.h"

#include <QDialog>

int ScriptedDialogs::msgBox(const QString& text, int style, const QString& title)
{
    shown.append({QStringLiteral("msgbox"), text, title, style});
    if (!msgAnswers.isEmpty()) return msgAnswers.takeFirst();
    switch (style & 0x7) {
    case Vbc::vbYesNo: case Vbc::vbYesNoCancel: return Vbc::vbYes;
    case Vbc::vbRetryCancel: return Vbc::vbRetry;
    case Vbc::vbAbortRetryIgnore: return Vbc::vbAbort;
    default: return Vbc::vbOK;
    }
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title, const QString&, bool* ok)
{
    shown.append({QStringLiteral("input"), prompt, title, 0});
    const bool has = !textAnswers.isEmpty();
    if (ok) *ok = has;
    return has ? textAnswers.takeFirst() : QString();
}

QString ScriptedDialogs::openFileName(const QString& caption, const QString&, const QString&)
{
    shown.append({QStringLiteral("open"), caption, QString(), 0});
    return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
}

QString ScriptedDialogs::saveFileName(const QString& caption, const QString&, const QString&)
{
    shown.append({QStringLiteral("save"), caption, QString(), 0});
    return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
}

QString ScriptedDialogs::folderName(const QString& caption, const QString& dir)
{
    shown.append({QStringLiteral("folder"), caption, dir, 0});
    return textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
}

int ScriptedDialogs::execModal(QDialog* dialog)
{
    shown.append({QStringLiteral("modal"), dialog->objectName(), dialog->windowTitle(), 0});
    return modalHandler ? modalHandler(dialog) : dialog->exec();
}

QStringList ScriptedDialogs::messages() const
{
    QStringList r;
    for (const auto& s : shown)
        if (s.kind == QLatin1String("msgbox")) r << s.text;
    return r;
}
