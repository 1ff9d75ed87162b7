#pragma once
#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

class EsperaCliente;
class QLabel;
class QPushButton;
class QTimer;

// The wait dialog: shows an `EsperaCliente` waiting for the client's status file in the
// terminal folder, with a small animation, or runs it hidden in a local event loop. The
// rules of the wait live in `EsperaCliente`; this window only shows it.
class frmProcesandoCO : public QDialog {
    Q_OBJECT
public:
    explicit frmProcesandoCO(QWidget* parent = nullptr);
    ~frmProcesandoCO() override;

    // Waits and returns the result text: the status file's text, trimmed, or one of the
    // texts of the wait, which all begin with "-".
    QString Cargar(qint32 timeOut, bool cancelarPorTimeOut, const QString& carpetaTerminal, bool& visible,
                   QString& carpetaBase);
    // Ends the wait and unloads the window.
    void Descargar();

    void TimerEspera_Timer();
    void TimerForzarTimeOut_Timer();
    void cmdCancelar_Click();

    // Length of one tick in ms (see EsperaCliente).
    static void setDuracionTick(int ms);
    static int DuracionTick();

    // The four animation frames, drawn in code, under the keys "TAMBOR1" to "TAMBOR4".
    static QPixmap DibujarTambor(int cuadro);

    // The wait's own timers.
    QTimer* TimerEspera = nullptr;
    QTimer* TimerForzarTimeOut = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QLabel* imgEspera = nullptr;
    QLabel* lblEspera = nullptr;
    QStringList ImlEsperaKeys;
    QList<QPixmap> ImlEspera;

    // State of the wait, readable by tests.
    EsperaCliente& Espera() { return *m_Espera; }
    bool Esperando() const;
    qint16 Reinicios() const;
    qint16 Cuadro() const;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Cerrar();

    EsperaCliente* m_Espera = nullptr;
    bool m_Visible = false;
    bool m_Modal = false;
};
