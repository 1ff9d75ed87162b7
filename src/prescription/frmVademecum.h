#pragma once
#include <QIcon>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "prescription/GeneralVademecum.h"

class ChequeosAlSalir;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The working window on which the front desk looks medicines up in the insurer's catalogue for
// one member and sends a prescription of up to three of them, with optional home delivery. The
// opener puts it into the MDI area, sets MDIForm_Resize and calls Form_Load once; the menu shows
// an open one again as it was.
class frmVademecum : public QWidget {
    Q_OBJECT
public:
    explicit frmVademecum(QWidget* parent = nullptr);

    QLabel* lblEtiqueta;
    QComboBox* cboNombre;
    QLineEdit* txtcodigoOSDE;
    QLabel* lblLicencia;
    QLabel* lblCsc;
    QLineEdit* txtCSC;
    QLabel* lblTarjeta;
    QLineEdit* txtTarjeta;
    QLabel* Label4;
    QLineEdit* txtMedicamento;
    QLabel* Label1;
    QLineEdit* txtMonodroga;
    QLabel* Label3;
    QLineEdit* txtAccion;
    QPushButton* cmdBuscar;
    QTreeWidget* lvwMedicamentos;
    QGroupBox* Frame1;
    QTreeWidget* lvwPrescripciones;
    QPushButton* cmdEliminar;
    QCheckBox* chkEnvioDomicilio;
    QLabel* lblDireccion;
    QLineEdit* txtDomicilio;
    QLabel* lblLocalidad;
    QComboBox* cboLocalidad;
    QLabel* lblTelefono;
    QLineEdit* txtTelefono;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;
    // 16 x 16 images: 0 "sumar", 1 "ver".
    QList<QIcon> ImageList1;
    QStringList ImageList1Keys;

    // Lays the main window's children out again (the opener's MDIForm_Resize).
    std::function<void()> MDIForm_Resize;

    // Where the window stands in the working area, in twips.
    static constexpr int kIzquierda = 1365;
    static constexpr int kArriba = 0;
    // Columns of the answer list and of the prescription list.
    static QStringList ColumnasMedicamentos();
    static QStringList ColumnasPrescripciones();

    QString TarjetaAfiliado() const;
    void setTarjetaAfiliado(const QString& tarjeta);

    void Form_Load();
    void cboNombre_Click();
    // Key filter and leaving the field; a refused key is cleared to 0.
    void txtcodigoOSDE_KeyPress(int& KeyAscii);
    void txtcodigoOSDE_LostFocus();
    void txtCSC_KeyPress(int& KeyAscii);
    // The security code check of leaving the field; false when it was refused.
    bool ValidarCSC();
    void cmdCancelar_Click();
    void chkEnvioDomicilio_Click();
    void cmdBuscar_Click();
    void lvwMedicamentos_ColumnClick(int columna);
    void lvwMedicamentos_ItemClick(QTreeWidgetItem* item);
    void lvwPrescripciones_ItemClick(QTreeWidgetItem* item);
    void lvwPrescripciones_Click();
    void cmdEliminar_Click();
    void cmdAceptar_Click();

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void MostrarDatosEnvio();
    void CargarLocalidades();
    void MostrarMedicamentos(QString respuesta);
    void AgregarMedicamento(const QString& nombre, const QString& presentacion, const QString& troquel);
    void BuscarPrestadorPorCodigo();
    // The way out of a send: menus on and the arrow again.
    void SalidaEnvio(bool habilitarAceptar);
    void Descargar();
    // The MDI sub-window that holds the form, or the form itself when it stands alone.
    QWidget* marco();

    General::OrdenLista m_Orden;
    // The leave checks of the provider code and the security code.
    ChequeosAlSalir* m_Salida;
};
