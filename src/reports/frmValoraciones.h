#pragma once
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The valuation of the logged services, for one insurer or all, written as a comma-separated
// file below the data folder. Each "Aceptar" writes the day's report and leaves the window open.
class frmValoraciones : public QDialog {
    Q_OBJECT
public:
    explicit frmValoraciones(QWidget* parent = nullptr);

    // Loads the window and runs it modally.
    static void Mostrar(QWidget* parent);

    QLineEdit* txtFechaHasta;
    QLineEdit* txtFechaDesde;
    QPushButton* cmdCancelar;
    QPushButton* cmdAceptar;
    QComboBox* cboObraSocial;
    QLabel* lblPath;
    QLabel* Label4;
    QLabel* Label1;
    QLabel* lblOS;

    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
};
