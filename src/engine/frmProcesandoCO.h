#pragma once
#include <QDialog>
#include <QEventLoop>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QFileSystemWatcher;
class QLabel;
class QPushButton;
class QTimer;

// The wait for the communications client: ends when the client's status file "estado.rsp"
// appears in the terminal folder, or by itself when the time allowed has run out. It waits
// as a modal dialog with a small animation, or hidden in a local event loop; in both cases
// the CPU stays idle, since the folder is watched and the one-second tick only keeps the
// time-out arithmetic (and is the fallback when a change notice is missed).
class frmProcesandoCO : public QDialog {
    Q_OBJECT
public:
    explicit frmProcesandoCO(QWidget* parent = nullptr);
    ~frmProcesandoCO() override;

    // Waits and returns the result text: the status file's text, trimmed, or one of the
    // texts of this window, which all begin with "-".
    QString Cargar(qint32 timeOut, bool cancelarPorTimeOut, const QString& carpetaTerminal, bool& visible,
                   QString& carpetaBase);
    // Ends the wait and unloads the window.
    void Descargar();

    void TimerEspera_Timer();
    void TimerForzarTimeOut_Timer();
    void cmdCancelar_Click();

    // Length of one tick in ms (1000 in the program); every interval of the wait scales
    // with it, so tests run a 30-second time-out in well under a second per tick.
    static void setDuracionTick(int ms);
    static int DuracionTick();

    // The four animation frames, drawn in code, under the keys "TAMBOR1" to "TAMBOR4".
    static QPixmap DibujarTambor(int cuadro);

    QTimer* TimerEspera = nullptr;
    QTimer* TimerForzarTimeOut = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QLabel* imgEspera = nullptr;
    QLabel* lblEspera = nullptr;
    QStringList ImlEsperaKeys;
    QList<QPixmap> ImlEspera;

    // State of the wait, readable by tests.
    bool Esperando() const { return m_Esperando; }
    qint16 Reinicios() const { return m_Reinicios; }
    qint16 Cuadro() const { return m_Cuadro; }
    QString ArchivoDisparo() const { return m_ArchivoDisparo; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Takes the status file when it is there; `desdeTick` tells a tick from a folder notice.
    // True when the wait ended.
    bool RevisarRespuesta(bool desdeTick);
    QString ArchivoCompletado() const;
    qint64 Escalar(qint64 ms) const;

    QFileSystemWatcher* m_Watcher = nullptr;
    QEventLoop* m_Loop = nullptr;

    QString m_Resultado;
    bool m_Visible = false;
    bool m_Modal = false;
    qint32 m_SegundosPermitidos = 0;
    qint16 m_Segundos = 0;
    qint16 m_Cuadro = 0;
    qint16 m_Reinicios = 0;
    bool m_Esperando = false;
    bool m_TimedOut = false;
    bool m_Forzado = false;
    bool m_Respondido = false;
    bool m_VacioVisto = false;
    qint32 m_IntervaloForzado = 0;
    bool m_CancelarPorTimeOut = false;
    QString m_CarpetaTerminal;
    QString m_ArchivoDisparo;

    static int s_DuracionTick;
};
