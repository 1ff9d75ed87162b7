#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

class EsperaCliente;
class QFrame;
class QLabel;
class Bloqueo;
class QPushButton;
class QTimer;
class TiraCeldas;

// The update wizard's one window: it asks the communications client for a new Quorvan, lists
// what the answer offers, waits until Quorvan has closed, puts the new program in place, starts
// it and leaves its result marker. Its own buttons drive the steps.
class frmUpgradeWizard : public QDialog {
    Q_OBJECT
public:
    // How a close was asked for.
    enum ModoCierre { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2 };

    // The state of the window for the life of the program.
    struct Estado {
        qint16 Paso = 0;
        QString CarpetaBase;     // without a trailing "/"
        QString CarpetaTerminal; // CarpetaBase + "/termupg"
        qint16 Major = 0;
        qint16 Minor = 0;
        qint16 Revision = 0;
        QString RutaPrograma;
        QString ArchivoActualizacion;
        bool Encontrado = false;
        QStringList Paginas;
        qint16 Celda = 0;
    };

    // `argumentos`: the command line without the program's own name.
    explicit frmUpgradeWizard(const QStringList& argumentos, QWidget* parent = nullptr);
    ~frmUpgradeWizard() override;

    QLabel* lblDescripcion = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QTimer* tmrDownload = nullptr;
    QLabel* imgLive = nullptr;
    TiraCeldas* pcLive = nullptr;
    QLabel* imgUpgradeWizard = nullptr;
    QFrame* Line1 = nullptr;

    // ---- Handlers --------------------------------------------------------------------------
    void Form_Load();
    void cmdBack_Click();
    void cmdNext_Click();
    void cmdCancelar_Click();
    // `cancel` becomes 1 when the window stays.
    void Form_QueryUnload(int& cancel, int unloadMode);
    void tmrDownload_Timer();

    // ---- The exchange ----------------------------------------------------------------------
    void Transaccion();
    void ProcesarRespuesta();
    // Returns only when nothing was installed (false); after an installation the program ends.
    bool InstalarActualizacion();

    const Estado& EstadoAsistente() const { return m_Estado; }
    bool EsperandoRespuesta() const;
    bool EsperandoCierreQuorvan() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void MostrarPaso();
    void AlTerminarEsperaRespuesta();
    void TerminarPaso3();
    void Terminar(int codigo);
    QString CarpetaDisparo() const;
    // Writes the result marker; a failure is shown, naming the marker, and gives false.
    bool EscribirListo(const QByteArray& valor);

    QStringList m_Argumentos;
    Estado m_Estado;
    std::unique_ptr<Bloqueo> m_Bloqueo;
    EsperaCliente* m_EsperaRespuesta = nullptr;
    EsperaCliente* m_EsperaCierre = nullptr;
    bool m_Instalando = false;
    bool m_Terminando = false;
};
