#pragma once
#include "shell/FilasConfiguracion.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The configuration window's variables that outlive the window.
struct EstadoConfigurar {
    // Opened because the terminal has no configuration yet; set by the opener.
    bool bFirstRun = false;
    bool ConfiguracionIncompleta = false;
    // The account code in use when the window was loaded.
    QString LicenciaInicial;
};

// The terminal's whole configuration, modal. Every opening loads afresh into a new gConfig.
class frmConfigurar : public QDialog {
    Q_OBJECT
public:
    explicit frmConfigurar(QWidget* parent = nullptr);
    ~frmConfigurar() override;

    // Sets bFirstRun, loads the window and shows it modally until it closes.
    static void Mostrar(bool bFirstRun);
    // The open window, or null.
    static frmConfigurar* Instancia();
    static EstadoConfigurar& Estado();
    // The window's client size, in twips.
    static QSize TamanoVentana();

    QTabWidget* tabConfiguracion;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // 0 "Directorio"
    QComboBox* cboDirectorio;
    QPushButton* cmdDir;
    QPushButton* cmdAplicar;
    QGroupBox* frmTerminal;
    QLineEdit* txtDireccionTerminal;
    QLineEdit* txtTelefonoTerminal;
    QLineEdit* txtLatitud;
    QLineEdit* txtLongitud;
    QList<QLabel*> Label3;
    // 1 "Financiador"
    QTreeWidget* lvwObraSocial;
    QLineEdit* txtNombreOS;
    QLineEdit* txtAUISOA;
    QLineEdit* txtEmpresa;
    QLineEdit* txtActividad;
    QLineEdit* txtFilialOS;
    QRadioButton* optTransLocal;
    QRadioButton* optTransOnLine;
    QCheckBox* chkUtilizaCSC;
    QCheckBox* chkCodigoInterno;
    QPushButton* cmdAgregarOS;
    QPushButton* cmdEliminarOS;
    // 2 "Prestador"
    QTreeWidget* lvwPrestadores;
    QLineEdit* txtNombre;
    QLineEdit* txtCUIT;
    QLineEdit* txtcodigoOSDE;
    QLineEdit* txtFilial;
    QLineEdit* txtLicencia;
    QComboBox* cmbTipo;
    QCheckBox* chkPrescripcion;
    QCheckBox* chkAdmisores;
    QPushButton* cmbpredeterminado;
    QPushButton* cmdAgregarLicencia;
    QPushButton* cmdEliminarLicencia;
    // Images by key, in order: "predeterminado", "bajar", "subir".
    QList<QPair<QString, QIcon>> Imglist;
    // 3 "Efector"
    QTreeWidget* lvwEfectores;
    QLineEdit* txtidEfector;
    QLineEdit* txtNombreEfector;
    QLineEdit* txtCuitEfector;
    QLineEdit* txtMatriculaEfector;
    QComboBox* cboEspecialidadEfector;
    QComboBox* cboTipoMatriculaEfector;
    QComboBox* cboProvinciaEfector;
    QCheckBox* chkBajaEfector;
    QPushButton* cmdEditarEfector;
    QPushButton* cmdGuardarEfector;
    // 4 "Varios"
    QCheckBox* chkTimer;
    QComboBox* cboDelimitadores;
    QComboBox* cmbDB;
    QCheckBox* chkIngresoAutomatico;
    // 5 "Impresora"
    QListWidget* lstImpresoras;
    QCheckBox* chkImprimir;
    QComboBox* cmbCopias;
    QComboBox* cmbLargoHoja;
    QComboBox* cmbFuente;
    QComboBox* cmbTamaño;
    // 6 "Operaciones"
    QTreeWidget* lvwOperaciones;
    // Images by key, in order: "Si", "No".
    QList<QPair<QString, QIcon>> imgOperaciones;
    // 7 "Actualizar"
    QGroupBox* Frame2;
    QCheckBox* chkPrestadores;
    QCheckBox* chkTPrestadores;
    QCheckBox* chkEfectores;
    QCheckBox* chkTEfectores;
    QCheckBox* chkMedicos;
    QCheckBox* chkTMedicos;
    QCheckBox* chkObras;
    QCheckBox* chkTObras;
    QCheckBox* chkPrestaciones;
    QCheckBox* chkTPrestaciones;
    QCheckBox* chkDiagnosticos;
    QCheckBox* chkTDiagnosticos;
    QPushButton* cmdActualizar;
    QCheckBox* chkActualizaInicio;
    QLabel* Label1;
    QGroupBox* fraLicencias;
    QTreeWidget* lvwLicencias;

    void Form_Load();
    void Form_Unload();
    // Checks and stores the whole configuration (database and registry), then closes the window
    // and resets the main window; a check that fails stops there with its message.
    void cmdAceptar_Click();
    // Fetches the ticked reference tables through the client and reloads what was fetched.
    void cmdActualizar_Click();
    void CargarListaPrestadores();
    void CargarListaEfectores();
    void CargarListaObrasSociales();
    void cmbpredeterminado_Click();
    void lstImpresoras_KeyDown(int KeyCode);
    // Providers and accounts.
    void cmdAgregarLicencia_Click();
    void cmdEliminarLicencia_Click();
    void lvwLicencias_DblClick();
    void lvwPrestadores_DblClick();
    // Insurers: the buttons change gConfig's collection at once.
    void cmdAgregarOS_Click();
    void cmdEliminarOS_Click();
    // Enter adds the insurer.
    void txtNombreOS_KeyPress(int KeyAscii);
    // Operations: a double click switches the icon of every selected row; storing reads them.
    void lvwOperaciones_DblClick();
    // Sets the operations in use from the provider types and saves them at once; run by the
    // table update after the provider table was fetched in full.
    void AplicarDependenciasOperaciones();
    // Working folder: "Aplicar" checks the typed folder and makes it the newest recent one; the
    // "..." button picks one; "Cancelar" (also the close box and Escape) closes, or offers to end
    // the program while the configuration is not usable.
    void cmdAplicar_Click();
    void cmdDir_Click();
    void cmdCancelar_Click();
    // The folder picker, opened at `sMessage` when that folder exists, else at "/"; empty when
    // cancelled. `Browse` and `RootFolder` are the picker's flags and root as callers pass them
    // (1: folders only; 17: the whole file system), which is all this platform's picker offers.
    QString BrowseFolders(QWidget* owner, const QString& sMessage, int Browse, int RootFolder);
    // Effectors.
    void cmdEditarEfector_Click();
    void cmdGuardarEfector_Click();
    // Check-box rules, run on every change of the box.
    void chkActualizaInicio_Click();
    void chkIngresoAutomatico_Click();
    void chkMedicos_Click();
    void chkEfectores_Click();
    void chkPrestadores_Click();
    void chkPrestaciones_Click();
    void chkDiagnosticos_Click();
    void chkObras_Click();
    void chkTObras_Click();

    // A list row as the exchange format, and back.
    static FilasConfiguracion::Fila LeerFila(const QTreeWidgetItem* item);
    static QString ClaveIcono(const QTreeWidgetItem* item);

    void done(int r) override;
    void reject() override;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void CrearControles();
    void CargarListaOperaciones();
    void CargarDirectoriosRecientes();
    void GuardarDirectoriosRecientes(const QString& folder);
    void CargarListaLicencias();
    void CargarImpresoras();
    void HabilitarImprimir();
    // Closing without storing: gConfig as the database has it.
    void RecargarSinGuardar();
    QTreeWidgetItem* AgregarFila(QTreeWidget* lista, const FilasConfiguracion::Fila& fila);
    void PonerIcono(QTreeWidgetItem* item, const QList<QPair<QString, QIcon>>& imagenes, const QString& clave);

    // What a taken-back provider carries that no control shows.
    QString m_RequiereMat;
    std::optional<qint16> m_TipoSinTexto;
    // The id of the insurer taken back to be edited.
    std::optional<qint16> m_IdObraSocialQuitada;
    bool m_Descargada = false;
};
