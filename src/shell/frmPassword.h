#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The access code in front of the configuration window.
class frmPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmPassword(QWidget* parent = nullptr);

    // Shows the dialog modally; with `arranque` (start-up) it is titled "Configuración" and its
    // cancel button, "Cerrar", ends the program. Returns when the dialog and any configuration
    // window opened from it have closed.
    static void Inicio(bool arranque);

    // The code that opens the configuration for this command line.
    static QString ClaveEsperada(const QString& lineaComando);

    QLabel* Label1;
    QLineEdit* txtClave;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // Also Enter in txtClave.
    void cmdAceptar_Click();
    void cmdCancelar_Click();

    // The close box and Escape.
    void reject() override;
};
