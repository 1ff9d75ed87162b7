#pragma once
#include "engine/EsperaCliente.h"
#include "reports/frmMultiselect.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class clsLog;
class clsReporte;

// The report of the requests logged for one provider and a range of dates, from the local
// log or asked of the communications client; previewed, printed or saved. Opened modally by
// the main window's reports menu through frmReporte::Mostrar.
class frmReporte : public QDialog {
    Q_OBJECT
public:
    // The local report's statement and the values bound to its "?".
    struct ConsultaReporte {
        QString Sql;
        QVariantList Valores;
    };

    explicit frmReporte(QWidget* parent = nullptr);
    ~frmReporte() override;

    // Loads the window and shows it modally through the dialogs facade.
    static void Mostrar(QWidget* parent = nullptr);

    // The header and footer files below the data folder.
    static QString ArchivoCabecera();
    static QString ArchivoPie();

    QList<QPushButton*> cmdOpcion; // "Vista Previa", "Imprimir", "Archivo", "Cerrar", "Cancelar"
    QTabWidget* SSTab1 = nullptr;
    QGroupBox* fmefiltrar = nullptr;
    QGroupBox* fmeTipoInforme = nullptr;
    QGroupBox* fmeordenar = nullptr;
    QGroupBox* fmeFecha = nullptr;
    QLineEdit* txtFecha_desde = nullptr;
    QLineEdit* txtFecha_hasta = nullptr;
    QLabel* lbldesde = nullptr;
    QLabel* lblhasta = nullptr;
    QList<QRadioButton*> optOrdenar; // "Prescriptor", "Efector", "Nº Transacción"
    QList<QRadioButton*> opcremoto;  // "Local", "Remoto"
    QComboBox* cmbObraSocial = nullptr;
    QComboBox* cmbEfector = nullptr;
    QComboBox* cmbPrestador = nullptr;
    QLabel* lblOS = nullptr;
    QLabel* lblEfector = nullptr;
    QLabel* lblPrestador = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cmbFuente = nullptr;
    QPlainTextEdit* txtcabecera = nullptr;
    QPlainTextEdit* txtPie = nullptr;
    QPushButton* cmdGrabar = nullptr;

    void Form_Load();
    void cmbFuente_Click();
    void cmdGrabar_Click();
    void cmbEfector_Click();
    void opcremoto_Click(int Index);
    void txtFecha_desde_LostFocus();
    void txtFecha_hasta_LostFocus();
    void cmdOpcion_Click(int Index);

    // Fills the builder and has it build the text; false when no report was built (a remote
    // exchange that failed or was cancelled).
    bool GenerarReporte();
    // The local query; an empty statement when "Algunos" has nothing chosen.
    ConsultaReporte ArmarConsultaReporte();
    void CargarOpcionesEfector(QComboBox* combo);
    void CargarObrasSociales();
    void CargarPrestadores();

    const QList<frmMultiselect::Item>& EfectoresSeleccionados() const { return m_EfectoresSeleccionados; }
    bool CancelarConsulta() const { return m_CancelarConsulta; }
    // The link test's wait, so a test can see it running.
    EsperaCliente& EsperaEnlace() { return *m_EsperaEnlace; }

    void reject() override;

    // Writes a text file (a saved report, the title and footer texts) in Windows-1252, whole or
    // not at all, for the user alone; VbError 75 naming the file when it cannot.
    static void GrabarTexto(const QString& archivo, const QString& texto);

private:
    bool ConsultaRemota();
    void VistaPrevia(const QString& texto);
    void Imprimir(const QString& texto);
    void GuardarArchivo(const QString& texto);
    bool RevisarFecha(QLineEdit* caja);
    void Ocupar(bool ocupado);
    static QString LeerTexto(const QString& archivo);

    std::unique_ptr<clsReporte> m_Reporte;
    std::shared_ptr<clsLog> m_Log;
    QList<frmMultiselect::Item> m_EfectoresSeleccionados;
    bool m_CancelarConsulta = false;
    bool m_Ocupado = false;
    EsperaCliente* m_EsperaEnlace = nullptr;
};
