#pragma once
#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

class ComboBloqueable;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The member's emergency clinical data as read from the chip card. A working child of the main
// window: the opener puts it into the MDI area and calls Form_Load; cmdCerrar_Click closes the
// window that holds it. Each opening is a fresh window.
class frmHistoriaClinica : public QWidget {
    Q_OBJECT
public:
    explicit frmHistoriaClinica(QWidget* parent = nullptr);

    QLabel* lblGrupoSanguineo;
    ComboBloqueable* cboGrupoSanguineo;
    QGroupBox* fraAlergia;
    QList<QRadioButton*> optAlergia; // 0 "No", 1 "Si"
    QLineEdit* txtAlergia;
    QGroupBox* fraDiabetes;
    QList<QRadioButton*> optDiabetes; // 0 "No", 1 "Si"
    QLabel* lblTelefono;
    QLineEdit* txtTelefono;
    QLabel* lblOtros;
    QPlainTextEdit* txtOtros;
    QPushButton* cmdLeer;
    QPushButton* cmdGrabar;
    QPushButton* cmdCerrar;

    // The data changed since they were read. Nothing sets it: nothing can be written to a card,
    // so there is no change to keep.
    bool bModifico = false;

    // Left, top, width and height at load, in twips.
    static QRect GeometriaCarga();
    // A history of NUL characters and blanks only is a card without a history.
    static bool HistoriaVacia(const QString& texto);

    // There is no card-presence test: a card is taken as present.
    bool ExisteTarjeta() const { return true; }

    void Form_Load();
    void cmdLeer_Click();
    void optAlergia_Click(int Index);
    void cmdGrabar_Click();
    void cmdCerrar_Click();

private:
    void HabilitarControles(bool habilitar);
    bool ValidarDatos();
    void CargarHistoria(const QString& texto);
    // The MDI sub-window that holds the form, or the form itself when it stands alone.
    QWidget* marco();
};
