#pragma once
#include <QDialog>
#include <QDateTime>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// After an export: asks whether today's date is right and deletes the insurer's log rows
// older than three months before it. Not modal; one instance, opened anew by each export.
class frmControlFecha : public QDialog {
    Q_OBJECT
public:
    // `codigoEmpresa` is the insurer the export used: the purge applies to it even when the
    // main window's choice changes while the dialog is open.
    explicit frmControlFecha(const QString& codigoEmpresa, QWidget* parent = nullptr);

    // Closes an open instance, then loads and shows a new one without waiting.
    static frmControlFecha* Mostrar(const QString& codigoEmpresa, QWidget* parent);

    QPushButton* cmdOK;
    QPushButton* cmdNo;
    QPushButton* cmdSi;
    QLineEdit* txtFechaActual;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label1;

    void Form_Load();
    void cmdSi_Click();
    void cmdNo_Click();
    // False (after its message) when the typed date is empty or not a date.
    bool txtFechaActual_LostFocus();
    void cmdOK_Click();

private:
    // False when the user declined the question about a date after today: nothing was
    // deleted and the dialog stays open. A failure has been reported and counts as done.
    bool PurgarTransacciones(const QDateTime& fecha, bool preguntar = false);
    // The height for the rows shown at the fixed width, the wrapped explanation whole.
    void AjustarAlto();

    QString m_codigoEmpresa;
};
