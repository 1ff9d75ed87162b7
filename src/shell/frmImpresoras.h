#pragma once
#include <QDialog>
#include <QRect>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

// "Definir impresora": the ticket printer and whether tickets are printed, chosen without the
// configuration's access code. An ordinary window: the main window stays usable.
class frmImpresoras : public QDialog {
    Q_OBJECT
public:
    explicit frmImpresoras(QWidget* parent = nullptr);

    // Opens the one printer window (or brings it to the front), loaded afresh.
    static frmImpresoras* Mostrar();

    QLabel* lblImpresora;
    QListWidget* lstImpresoras;
    QCheckBox* chkImprimir;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void Form_Load();
    // Key codes as the form's key events give them (116 is F5).
    void lstImpresoras_KeyDown(int KeyCode);
    void lstImpresoras_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // The message of an OK on a terminal whose configuration row is missing.
    static QString TextoSinTerminal(qint16 terminal);

    // Geometry in twips: the window's client size and each control's place.
    struct Disposicion {
        QRect ventana, lblImpresora, lstImpresoras, chkImprimir, cmdOK, cmdCancel;
    };
    static Disposicion CalcularDisposicion();

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void CargarImpresoras();
};
