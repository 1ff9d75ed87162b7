#pragma once
#include <QDate>
#include <QDialog>
#include <QString>
#include <memory>

class QPlainTextEdit;
class QPushButton;
class clsTransacciones;

// A stored ticket: shown, printed with its barcode line, and voided through the
// communications client. The void goes to the insurer of the logged transaction it belongs to.
class frmTicket : public QDialog {
    Q_OBJECT
public:
    explicit frmTicket(QWidget* parent = nullptr);
    ~frmTicket() override;

    QPlainTextEdit* txtPreView;
    QPushButton* cmdImprimir;
    QPushButton* cmdAnular;
    QPushButton* Command1;

    // Keeps the ticket number and its logged transaction, shows the text and runs modally.
    void Cargar(const QString& sContenido, const QString& sIdTicket, std::shared_ptr<clsTransacciones> transaccion);
    void cmdImprimir_Click();
    void cmdAnular_Click();
    void Command1_Click();

    QString IdTicket() const { return m_IdTicket; }
    std::shared_ptr<clsTransacciones> Transaccion() const { return m_Transaccion; }

    // The barcode line: "*", the date as yyyymmdd, "JW", the ticket number, "*".
    static QString TextoCodigoBarras(const QDate& fecha, const QString& idTicket);

private:
    QString m_IdTicket;
    std::shared_ptr<clsTransacciones> m_Transaccion;
};
