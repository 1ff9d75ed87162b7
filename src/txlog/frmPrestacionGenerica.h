#pragma once
#include <QDialog>
#include <QList>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The modal dialog in which the off-line capture form adds service rows, one after another, or
// changes its selected row. It shows the services catalogue and writes into the capture form's
// list `destino` (text service code, then authorisation code and diagnosis). The opener
// constructs it, calls Form_Load, fills the boxes for a change and shows it through
// Dialogs::ExecModal.
class frmPrestacionGenerica : public QDialog {
    Q_OBJECT
public:
    // `lineaObraSocial`: the insurer list's selected line, "(activity) name".
    frmPrestacionGenerica(QTreeWidget* destino, const QString& lineaObraSocial, QWidget* parent = nullptr);

    QGroupBox* fraPrestacion;
    QList<QLabel*> lblEtiqueta; // "Código Prestación:", "Código Autorización", "Diagnóstico:", "Prestaciones cargadas:"
    QLineEdit* txtPrestacion;
    QLineEdit* txtAutorizacion;
    QLineEdit* txtDiagnostico;
    QTreeWidget* lvwPrestaciones; // the services catalogue
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // True: each confirmation adds a row; false: it changes the capture form's selected row.
    bool AddNew = true;
    // The insurer translates the provider's service codes into its own internal codes.
    bool UtilizaCodigoInterno() const { return m_utilizaCI; }

    // A box that must hold a number may be left empty or with the runtime's numeric text.
    static bool ValorAceptable(const QString& texto);
    // A catalogue code as the service box takes it: its leading number in plain decimal.
    static QString CodigoComoNumero(const QString& codigo);

    void Form_Load();
    void lvwPrestaciones_ColumnClick(int columna);
    void lvwPrestaciones_ItemClick(QTreeWidgetItem* item);
    void lvwPrestaciones_DblClick(QTreeWidgetItem* item);
    void txtPrestacion_Validate(bool& Cancel);
    void txtAutorizacion_Validate(bool& Cancel);
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void ValidarNumero(QLineEdit* caja, bool& Cancel);
    void Agregar();
    void Modificar();

    QTreeWidget* m_destino;
    QString m_lineaObraSocial;
    bool m_utilizaCI = false;
    bool m_descendente = false;
};
