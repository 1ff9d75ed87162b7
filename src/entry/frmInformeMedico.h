#pragma once
#include <QDate>
#include <QDialog>
#include <QString>

class DialogProvider;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Informe Médico": the medical report of the patient being entered. It starts from a header
// (place and date, provider, member card), saves the text under a name the user confirms and
// hands the text and the file's path back to the entry window: the text to the string given
// to Cargar, the path to the attachment box given here.
class frmInformeMedico : public QDialog {
    Q_OBJECT
public:
    // `prestador`, `tarjeta`: the entry window's provider and card texts as they stand;
    // `txtProtocolo`: its attachment box.
    frmInformeMedico(const QString& prestador, const QString& tarjeta, QLineEdit* txtProtocolo,
                     QWidget* parent = nullptr);

    QPlainTextEdit* txtInforme;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    // `sTexto` is the entry window's kept report text: shown when not empty, else a new header
    // is written into it; accept stores the trimmed report there, cancel empties it. The save
    // dialog goes through `dialogo` (the program's dialogs when null). Shows the editor modally.
    void Cargar(QString& sTexto, DialogProvider* dialogo);

    // "martes, 5 de marzo de 2024"
    static QString FechaLarga(const QDate& fecha);
    static QString Encabezado(const QDate& fecha, const QString& prestador, const QString& tarjeta);
    // The file name offered: "InformeMedico <provider> ddmmyyyy", with what cannot stand in a
    // file name replaced.
    static QString NombrePropuesto(const QString& prestador, const QDate& fecha);
    // The report as its file holds it: Windows-1252, every line ended by CR LF.
    static QByteArray ContenidoArchivo(const QString& texto);

    void cmdAceptar_Click();
    void cmdCancelar_Click();

private:
    QString Texto() const;

    QString m_prestador;
    QString m_tarjeta;
    QLineEdit* m_protocolo;
    QString* m_texto = nullptr;
    DialogProvider* m_dialogo = nullptr;
};
