#pragma once
#include "entry/FilaPrestacion.h"

#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "Prestación": adds service lines to the entry window's service list, one after another, or
// changes its selected line. It writes straight into that list (`lvwPrestacionesPOS`) and
// keeps its own copy of it in step; what the operation allows and whether it takes dental
// data come from the entry window's state (EstadoEmuladorPOS). The opener constructs it, sets
// AddNew, calls Form_Load, fills the boxes for a change and shows it through
// Dialogs::ExecModal.
class frmPrestacion : public QDialog {
    Q_OBJECT
public:
    // `lineaObraSocial`: the insurer list's selected line, "(activity) name".
    frmPrestacion(QTreeWidget* lvwPrestacionesPOS, const QString& lineaObraSocial, QWidget* parent = nullptr);

    // True: each accept adds a line; false: it changes the entry window's selected line.
    bool AddNew = true;

    QLabel* lblAUPRE;
    QLineEdit* txtAUPRE;
    QPushButton* cmdBuscar;
    QLabel* lblNombre;
    QLineEdit* txtNombre;
    QLabel* lblAUTIP;
    QComboBox* cmbTipo;
    QLabel* lblAUARA;
    QComboBox* cmbArancel;
    QLabel* lblAUCAN;
    QLineEdit* txtAUCAN;
    QLabel* lblAUODP;
    QComboBox* cboAUODP;
    QLineEdit* txtAUODP;
    QLabel* lblAUODC;
    QList<QCheckBox*> chkCara; // "Mesial", "Oclusal", "Distal", "Vestibular", "Lingual"
    QLineEdit* txtAUODC;
    QTreeWidget* lvwPrestaciones;
    QPushButton* cmdOk;
    QPushButton* cmdDel;
    QPushButton* cmdCancel;

    // The insurer translates service codes into its own (kept for the code lookups, which the
    // list offers no catalogue for).
    bool UtilizaCI() const { return m_utilizaCI; }

    // A tooth sector entry: the name, 20 blanks and the code.
    static QString ItemPieza(const QString& nombre, const QString& codigo);
    // A typed service code as the line keeps it: a number is zero-padded to 8 characters
    // (a longer one keeps its last 8); anything else stays as typed.
    static QString CodigoRellenado(const QString& codigo);
    // Sub-item 5 of a line: the tooth number for "Pieza", else the sector's code.
    static QString PiezaDeLinea(const QString& textoSector, const QString& numeroPieza);
    // The faces text after box `indice` was ticked or cleared.
    static QString CarasTrasClic(const QString& caras, int indice, bool marcada);

    void Form_Load();
    void cboAUODP_Click();
    void cboAUODP_LostFocus();
    void chkCara_Click(int Index);
    void txtAUCAN_GotFocus();
    void txtAUPRE_LostFocus();
    void cmdBuscar_Click();
    void cmdOk_Click();
    void cmdDel_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool DatosDentales() const;
    bool PiezaElegida() const;
    FilaPrestacion Fila() const;
    void Agregar();
    void Modificar();
    void Limpiar();

    QTreeWidget* m_lista;
    QString m_lineaObraSocial;
    bool m_utilizaCI = false;
};
