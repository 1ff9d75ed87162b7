#pragma once
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class SeguimientoCarpeta;

// The working window of operation 98: writes the insurer's transactions logged in a range of
// dates in one of four fixed-width layouts (or as a workbook), then offers the purge.
class frmExportarDatos : public QWidget {
    Q_OBJECT
public:
    explicit frmExportarDatos(QWidget* parent = nullptr);

    // Left edge of the window in the main window's working area, in twips.
    static constexpr int kIzquierda = 1365;

    QList<QPushButton*> cmdExportar; // 0 "Exportar &xls", 1 "&Exportar txt"
    QComboBox* Drive1;
    QTreeView* dir1;
    QGroupBox* frmFechas;
    QLineEdit* txtFechaHasta;
    QLineEdit* txtFechaDesde;
    QList<QLabel*> Label3;
    QList<QLabel*> Label1;
    QPushButton* cmdCerrar;
    QLabel* lblObraSocial;
    QLabel* lblTitulo;
    QLabel* lblDestino;

    // Set by the main window: the company code of the insurer chosen there (its lblEmpresa),
    // and its layout of the working windows.
    std::function<QString()> CodigoEmpresa;
    std::function<void()> MDIForm_Resize;

    void Inicio(qint32 formato);
    void Form_Load();
    void Drive1_Change();
    // False (after its message) when the field holds a text that is not a date.
    bool txtFechaDesde_LostFocus();
    bool txtFechaHasta_LostFocus();
    void cmdExportar_Click(qint16 Index);
    void cmdCerrar_Click();

    // The folder the text file goes to: the folder list's current folder, which "Destino" names
    // and the list keeps in sight.
    QString CarpetaDestino() const;
    void setCarpetaDestino(const QString& carpeta);
    QString Formato() const { return m_formato; }

private:
    bool VerificarFecha(QLineEdit* campo, const QString& mensaje);

    QString m_formato; // "1" to "4" once Inicio chose a layout
    QFileSystemModel* m_carpetas;
    SeguimientoCarpeta* m_seguimiento;
};
