#pragma once
#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;
class QTextEdit;

// Shows the answered ticket with its barcode; prints it or mails a copy to the patient.
class frmMuestraTicket : public QDialog {
    Q_OBJECT
public:
    explicit frmMuestraTicket(QWidget* parent = nullptr);

    QTextEdit* rtextTicket;
    QLabel* lblCodigo;
    QPushButton* cmdImprimir;
    QPushButton* cmdEnviarCopia;
    QPushButton* cmdAceptar;

    // Keeps the arguments and shows the window modally. With no printer device the printer
    // selection is offered first.
    void Cargar(const QString& Ticket, qint32 Lineas, const QString& PrinterDevice, const QString& FontName,
                qint16 FontSize, qint16 LargoHoja, qint16 Copias, bool EnviarCopia, const QString& CodigoBarras);
    void Form_Load();
    void cmdImprimir_Click();
    void cmdEnviarCopia_Click();
    void cmdAceptar_Click();

    // What Cargar kept.
    QString Ticket() const { return m_Ticket; }
    QString PrinterDevice() const { return m_PrinterDevice; }
    // The barcode label's caption: the barcode text as received.
    QString CodigoBarras() const { return m_CodigoBarras; }
    // The symbol shown; null when there is no barcode or it cannot be encoded.
    QImage ImagenCodigo() const { return m_Imagen; }

private:
    QString m_Ticket;
    qint32 m_Lineas = 0;
    QString m_PrinterDevice;
    QString m_FontName;
    qint16 m_FontSize = 0;
    qint16 m_LargoHoja = 0;
    qint16 m_Copias = 0;
    bool m_EnviarCopia = false;
    QString m_CodigoBarras;
    QImage m_Imagen;
};
