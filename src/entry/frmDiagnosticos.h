#pragma once
#include <QDialog>
#include <QString>

class QPushButton;
class QTreeWidget;

// "Diagnósticos": picks one diagnosis of the configuration's list for the entry window's
// diagnosis boxes. Mostrar shows it modally and returns the chosen code.
class frmDiagnosticos : public QDialog {
    Q_OBJECT
public:
    explicit frmDiagnosticos(QWidget* parent = nullptr);

    QTreeWidget* lvwDiagnosticos; // "Código", "Descripción"
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // The chosen code; "" when the picker was cancelled, closed or accepted without a row.
    QString Mostrar();

    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();

private:
    QString m_codigo;
};
