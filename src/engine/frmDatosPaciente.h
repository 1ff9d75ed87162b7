#pragma once
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Mails a copy of the ticket to the patient.
class frmDatosPaciente : public QDialog {
    Q_OBJECT
public:
    explicit frmDatosPaciente(QWidget* parent = nullptr);

    QLineEdit* txtEmail;
    QLineEdit* txtCelular;
    QComboBox* cboEmpresa;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // Keeps the ticket text and shows the window modally.
    void EnviarCopia(QString& Ticket);
    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();

    QString Ticket() const { return m_Ticket; }

private:
    QString m_Ticket;
};
