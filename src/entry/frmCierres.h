#pragma once
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class clsTransaccion;

// The batch close (operation 21) and the close query (operation 20) with the insurer. A working
// child of the main window, which
//   - sets General::OperacionActual to 20 or 21 beforehand,
//   - puts it into its MDI area, sets MDIForm_Resize and calls Form_Load, then shows it.
// Each "Aceptar" sends one close request through the window's clsTransaccion, which is
// General::TransaccionActual from Form_Load to Form_Unload. The main window closes it as
// "frmCierres".
class frmCierres : public QWidget {
    Q_OBJECT
public:
    explicit frmCierres(QWidget* parent = nullptr);
    ~frmCierres() override;

    QLabel* lblNombre;
    QComboBox* cboNombre; // item data: the provider's id
    QLabel* lblLicencia;
    QLabel* lblFechaDesde;
    QLineEdit* txtFechaDesde;
    QLabel* lblFechaHasta;
    QLineEdit* txtFechaHasta;
    QLabel* lblNumeroCierre;
    QLineEdit* txtNumeroCierre;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // Set by the main window: its layout of the child windows.
    std::function<void()> MDIForm_Resize;

    // Left, top, width and height at load, in twips: beside the side bar, at the top.
    static QRect GeometriaCarga();

    // The CUIT of the provider chosen in cboNombre.
    QString CuitPrestador() const { return m_Cuit; }
    // The window's exchange, shared with General::TransaccionActual while it is open.
    std::shared_ptr<clsTransaccion> Transaccion() const { return m_Transaccion; }

    void Form_Load();
    void Form_Unload();
    void cboNombre_Click();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void txtFechaDesde_LostFocus();
    void txtFechaHasta_LostFocus();
    // KeyAscii becomes 0 when the key is refused.
    void txtNumeroCierre_KeyPress(int& KeyAscii);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // The date check of one field: false (message, focus back) for a text that cannot travel.
    bool RevisarFecha(QLineEdit* caja, const QString& mensaje);
    // A close answered with an error code but no ticket would tell the user nothing.
    void MostrarRespuestaSinTicket(const clsTransaccion& tx);
    // The MDI sub-window that holds the form, or the form itself when it stands alone.
    QWidget* marco();

    std::shared_ptr<clsTransaccion> m_Transaccion;
    QString m_Cuit;
};
