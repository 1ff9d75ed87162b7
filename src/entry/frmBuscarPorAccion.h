#pragma once
#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

// "Buscar prestaciones": looks a service up in the services table of every insurer by part of
// its description or by the end of its code, and writes the chosen code and description into
// the two boxes it was given (the service-line dialog's). The opener constructs it, calls
// Form_Load and shows it through Dialogs::ExecModal.
class frmBuscarPorAccion : public QDialog {
    Q_OBJECT
public:
    frmBuscarPorAccion(QLineEdit* codigoDestino, QLineEdit* nombreDestino, QWidget* parent = nullptr);

    QComboBox* cboOption; // "Descripción", "Código"
    QPushButton* cmdSearchStop;
    QPushButton* cmdSearchBegin;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    QLineEdit* txtPattern;
    QTreeWidget* lvwResult;
    QStatusBar* StatusBar;

    // A text as the search compares it: letter case and accents do not count.
    static QString Plegar(const QString& texto);
    // Whether a service matches the typed pattern: anywhere in its description, or at the end of
    // its code. The pattern's characters stand for themselves.
    static bool Coincide(const QString& codigo, const QString& descripcion, const QString& patron, bool porCodigo);

    void Form_Load();
    void cmdSearchBegin_Click();
    // Enter runs the search (when its button is enabled) and never reaches the box.
    void txtPattern_KeyPress(int& KeyAscii);
    void txtPattern_GotFocus();
    void lvwResult_ItemClick(QTreeWidgetItem* item);
    void lvwResult_Click();
    void lvwResult_DblClick();
    void lvwResult_ColumnClick(int columna);
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QLineEdit* m_codigoDestino;
    QLineEdit* m_nombreDestino;
    int m_columnaOrden = -1;
    bool m_descendente = false;
};
