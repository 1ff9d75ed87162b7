#pragma once
#include "platform/Platform.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// The about box: the program's name, version and version texts, the system-information tool,
// and the one place the user starts the update wizard from.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr qint32 HKEY_LOCAL_MACHINE = static_cast<qint32>(0x80000002u);

    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLabel* picIcon;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QPushButton* cmdActualizar;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void cmdActualizar_Click();

    // Starts the program the registry names for system information; without one, says so.
    void StartSysInfo();
    // One value of a key under `KeyRoot` (only HKEY_LOCAL_MACHINE is kept) into `KeyVal`: a
    // text as it stands, a number as "&h" and eight hexadecimal digits. False, with `KeyVal`
    // emptied, when the key or the value is missing or the text would not fit 1024 characters.
    bool GetKeyValue(qint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

    // "Versión 2.5.7"
    static QString LineaVersion(const Platform::Version& version);
    // The company, the legal notice and the comments, one a line.
    static QString Descripcion();
};
