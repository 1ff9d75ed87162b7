#pragma once
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class clsTxGenerica;

// The off-line capture: a transaction of an insurer that is not on-line, typed by the user and
// stored in the off-line log; nothing is sent and no ticket is made. A working child of the
// main window, which
//   - puts it into its MDI area (QMdiArea::addSubWindow) and sets LineaObraSocial and
//     MDIForm_Resize below,
//   - sets General::OperacionActual (and General::NumeroTerminal at start-up) beforehand,
//   - calls Form_Load, which places the window at GeometriaCarga() and asks the main window to
//     lay out its children, then shows it.
// The form closes the window that holds it after a save and on "Cancelar"; the main window
// closes it as "frmOSGenerica" in DescargarFormularios and when another insurer is chosen.
class frmOSGenerica : public QWidget {
    Q_OBJECT
public:
    explicit frmOSGenerica(QWidget* parent = nullptr);

    QLabel* lblNombrePrestador;
    QComboBox* cboNombre; // item data: the provider's id
    QRadioButton* optBanda;
    QRadioButton* optManual;
    QLineEdit* txtBanda;
    QGroupBox* fraManual;
    QLabel* lblNombre;
    QLineEdit* txtNombre;
    QLabel* lblNumeroAfiliado;
    QLineEdit* txtNumeroAfiliado;
    QLabel* lblAUNREF;
    QLineEdit* txtNumeroAutorizacion;
    QLabel* lblTipoMatricula;
    QLineEdit* txtTipoMatricula;
    QLabel* lblMatricula;
    QLineEdit* txtNumeroMatricula;
    QLabel* lblNombreMedico;
    QLineEdit* txtNombreMedico;
    QTreeWidget* lvwPrestaciones; // text service code, then authorisation code and diagnosis
    QPushButton* cmdAdd;
    QPushButton* cmdMod;
    QPushButton* cmdDel;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // Set by the main window: the insurer list's selected line, "(activity) name".
    std::function<QString()> LineaObraSocial;
    // Set by the main window: its layout of the child windows.
    std::function<void()> MDIForm_Resize;

    // Left, top, width and height at load, in twips: beside the side bar, at the top.
    static QRect GeometriaCarga();
    // The code logged for an operation: "2A", "2B", "2D", "4A", or none.
    static QString CodigoTransaccion(qint16 operacion);
    // The void needs only the number of the transaction to void.
    static bool EsAnulacion(qint16 operacion) { return operacion == 9; }

    // What "Aceptar" checks, and the first failure: its message and the control that gets the focus.
    struct Captura {
        qint16 operacion = 0;
        bool banda = false;
        QString textoBanda;
        QString numeroAfiliado;
        QString numeroAutorizacion;
        int filas = 0;
        QString tipoMatricula;
        QString numeroMatricula;
    };
    struct Falla {
        QString mensaje;
        QString control;
        bool operator==(const Falla& o) const { return mensaje == o.mensaje && control == o.control; }
    };
    // The member data first, then the three number boxes, which hold digits only (or nothing).
    static std::optional<Falla> VerificarCaptura(const Captura& c);

    // The chosen provider's CUIT; empty when none was chosen.
    QString CuitPrestador() const { return m_cuitPrestador; }
    // Puts the capture as typed into the writer's fields; a number too large for 32 bits
    // raises the overflow error.
    void LlenarCaptura(clsTxGenerica& tx) const;

    void Form_Load();
    void cboNombre_Click();
    void optBanda_Click();
    void optManual_Click();
    void txtNumeroAfiliado_Validate(bool& Cancel);
    void cmdAdd_Click();
    void cmdMod_Click();
    void cmdDel_Click();
    void lvwPrestaciones_Click();
    void cmdAceptar_Click();
    void cmdCancelar_Click();

private:
    static std::optional<Falla> VerificarDatos(const Captura& c);
    void DisponerPorOperacion(qint16 operacion);
    Captura CapturaActual() const;
    QTreeWidgetItem* FilaSeleccionada() const;
    QString Linea() const;
    QWidget* marco();

    QString m_cuitPrestador;
};
