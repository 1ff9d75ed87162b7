#pragma once
#include "entry/DialogoComun.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class clsTransaccion;
class CMsgRequerimientoPOS;
class ChequeosAlSalir;
class EstadoEmuladorPOS;
class ValoresEmuladorPOS;
namespace PantallaEmuladorPOS {
struct Pantalla;
}

// The window on which an on-line operation of an insurer is entered: provider, member card,
// prescriber, effector, dates, diagnoses, service lines and an attachment. A working child of
// the main window, which
//   - sets General::OperacionActual first and puts it into its MDI area,
//   - calls Form_Load (nothing loads it implicitly), then LimpiarPrestador and cboNombre_Click,
//     and shows it.
// One window serves one operation from its load to its closing; its variables live in
// EstadoEmuladorPOS and outlive it. The layout of each operation is PantallaEmuladorPOS, the
// field rules ReglasEmuladorPOS.
class frmEmuladorPOS : public QWidget {
    Q_OBJECT
public:
    explicit frmEmuladorPOS(QWidget* parent = nullptr);
    ~frmEmuladorPOS() override;

    // The variables that outlive the window.
    EstadoEmuladorPOS& Estado() const;

    // Provider
    QLabel* lblPrestador;
    QComboBox* cboNombre; // item data: the provider's id
    QLabel* lblCodigoOSDE;
    QLineEdit* txtcodigoOSDE;
    QLabel* lblLicencia; // the provider's account code
    QLineEdit* txtFilialPrestador;
    // Member and security code
    QLabel* lblTarjeta;
    QLineEdit* txtTarjeta;
    QLabel* lblCsc;
    QLineEdit* txtCSC;
    QLabel* lblDocumento;
    QComboBox* cboTipoDocumento; // text, 100 blanks, code
    QLineEdit* txtNumeroDocumento;
    // Reference, practice date and time, discharge, diagnoses
    QLabel* lblAUWREF;
    QLineEdit* txtAUWREF;
    QLabel* lblAUNREF;
    QLineEdit* txtAUNREF;
    QLabel* lblAUFECP;
    QLineEdit* txtAUFECP;
    QLabel* lblAUHORP;
    QLineEdit* txtAUHORP;
    QLabel* lblFinalizacion;
    QComboBox* cmbAUFINA;
    QLabel* lblAUDSM1;
    QLineEdit* txtAUDSM1;
    QLabel* lblAUDSM2;
    QLineEdit* txtAUDSM2;
    QList<QPushButton*> cmdBuscarDiag; // 0: first diagnosis, 1: second
    // Service lines: code, then type, tariff, quantity, dental face, dental piece, description.
    QTreeWidget* lvwPrestaciones;
    QPushButton* cmdAdd;
    QPushButton* cmdMod;
    QPushButton* cmdDel;
    // Prescriber (or, for operations 5 and 19, the referral)
    QGroupBox* fmePrescriptor;
    QLabel* lblPrescriptor;
    QComboBox* cboPrescriptores;
    QLabel* lblEspcecialidadPrescriptor;
    QComboBox* cboEspecialidadPrescriptor;
    QLabel* lblAUTMAT;
    QComboBox* cboTipoMatricula;
    QComboBox* cboProvincia;
    QLabel* lblAUNMAT;
    QLineEdit* txtAUNMAT;
    QLineEdit* txtFilial;
    QLabel* lblLugar;
    QComboBox* cboTipoInternacion;
    // Effector
    QGroupBox* fmeEfector;
    QLabel* lblEfector;
    QComboBox* cboEfectores; // item data: the effector's id
    QLabel* lblEspecialidadEfector;
    QComboBox* cboEspecialidadEfector;
    QLabel* lblAUCEFE;
    QLineEdit* txtAUCEFE;
    // Protocol and attachment
    QGroupBox* frmProtocolo;
    QList<QRadioButton*> optTipoInforme; // 0 "Protocolo Quirúrgico", 1 "Informe médico"
    QLineEdit* txtProtocolo;
    QPushButton* cmdInforme;
    QPushButton* cmdAdjuntar;
    DialogoComun CommonDialog1;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // Lifecycle
    void Form_Load();
    void Form_Unload();
    void cmdCancelar_Click();
    // The layout of the current operation and provider.
    void ConfigurarPantalla();

    // Provider, prescriber and effector
    void cboNombre_Click();
    void LimpiarPrestador();
    void cboEfectores_Click();
    void cboPrescriptores_LostFocus();
    void cboTipoMatricula_LostFocus();
    void cboProvincia_LostFocus();
    void txtAUNMAT_LostFocus();
    void txtcodigoOSDE_LostFocus();
    void BuscarMedicoPorMatricula(QComboBox* prescriptores, QComboBox* tipo, QComboBox* jurisdiccion,
                                  const QString& numero);
    void BuscarProvincia(const QString& letra);
    void BuscarCodigoCombo(QComboBox* combo, QString codigo);
    void BuscarPrestadorPorCodigoOSDE(const QString& codigo, QComboBox* combo);
    QString BuscarFilialPorCodigoOSDE(const QString& codigo) const;

    // Key filters (a refused key is cleared and beeps) and the checks on leaving a field.
    void txtCSC_KeyPress(int& KeyAscii);
    void txtAUNREF_KeyPress(int& KeyAscii);
    void txtAUWREF_KeyPress(int& KeyAscii);
    void txtTarjeta_KeyPress(int& KeyAscii);
    void txtAUNMAT_KeyPress(int& KeyAscii);
    void txtcodigoOSDE_KeyPress(int& KeyAscii);
    void ValidarCodigoSeguridad(bool& valido);
    void txtAUFECP_LostFocus();
    void txtAUNREF_LostFocus();
    void txtAUWREF_LostFocus();
    void txtAUCEFE_LostFocus();

    // Service lines, diagnoses and the attachment
    void cmdAdd_Click();
    void cmdMod_Click();
    void cmdDel_Click();
    // The list's selection: modify and delete serve a selected line only.
    void lvwPrestaciones_Click();
    void cmdBuscarDiag_Click(int Index);
    void cmbAUFINA_Click();
    void cmdAdjuntar_Click();
    void cmdInforme_Click();
    // A file dialog's filter with one more entry: `descripcion` and the ";"-separated
    // `patron`, each extension in both letter cases (file names are case-sensitive here).
    static QString ArmarFiltroArchivos(const QString& filtro, const QString& descripcion, const QString& patron);
    template <class C>
    static void VaciarColeccion(C& col)
    {
        while (!col.isEmpty()) col.removeFirst();
    }
    // The largest file that may be attached, in bytes.
    static constexpr qint64 kLimiteAdjunto = 1000000;

    // The send of the current operation.
    void cmdAceptar_Click();
    // The window's values as the request's checks read them.
    ValoresEmuladorPOS Valores() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void AplicarPantalla(const PantallaEmuladorPOS::Pantalla& p);
    QWidget* Marco();
    void Cerrar();
    // Escape: what "Cancelar" does, unless a popup or a modal window has the keyboard.
    bool Escape(const QKeyEvent* tecla);
    // Runs a handler at its boundary: an error is shown, never passed on.
    template <class F>
    void Atrapar(F&& f);

    QHash<QString, QWidget*> m_Controles;
    QHash<QObject*, void (frmEmuladorPOS::*)(int&)> m_Teclas;
    // The way out of a refused send, its short exit and its final clean-up.
    void SalidaEnvio();
    void SalidaCorta();
    void LimpiezaEnvio();
    // Closes this window and opens a fresh one for the same operation (this one is deleted
    // later); this window when there is no main window to reopen it.
    frmEmuladorPOS* Recargar();

    std::shared_ptr<clsTransaccion> m_Transaccion;
    std::unique_ptr<CMsgRequerimientoPOS> m_Mensaje;
    bool m_Descargado = false;
    // The fields' leave checks; every way out sets its closing first.
    ChequeosAlSalir* m_Salida;
};
