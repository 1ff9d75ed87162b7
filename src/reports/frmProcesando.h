#pragma once
#include <QDialog>
#include <QList>
#include <QPixmap>

class EsperaCliente;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// The wait for the remote report's answer: watches the report folder's status file (through
// EsperaCliente) with a small animation. After the answer limit it says "Tiempo de espera
// excedido." and only "Cancelar" ends it; an answer that comes later is not taken.
class frmProcesando : public QDialog {
    Q_OBJECT
public:
    explicit frmProcesando(QWidget* parent = nullptr);
    ~frmProcesando() override;

    QLabel* Label1 = nullptr;
    QLabel* imgEspera = nullptr;
    QFrame* Shape1 = nullptr;
    QPushButton* cmdCancelar = nullptr;
    // The animation, every 500 ms.
    QTimer* TimerKelpa = nullptr;
    // The wait's tick, which ends it at the answer limit.
    QTimer* TimerCard_timeout = nullptr;
    QList<QPixmap> ImlEspera;

    // Shows the dialog modally while it waits for the status file of the report folder;
    // true when the client answered, false when the user cancelled.
    bool Cargar();
    void Descargar();

    void TimerKelpa_Timer();
    void TimerCard_timeout_Timer();
    void cmdCancelar_Click();

    EsperaCliente& Espera() { return *m_Espera; }
    int Cuadro() const { return m_Cuadro; }

    void reject() override;

private:
    void Terminada();

    EsperaCliente* m_Espera = nullptr;
    bool m_Resultado = false;
    bool m_Cancelado = false;
    int m_Cuadro = 0;
};
