#pragma once
#include "engine/CarpetaTerminal.h"

#include <QObject>
#include <QString>

class QEventLoop;
class QFileSystemWatcher;
class QTimer;

// How long a wait for the communications client may last.
struct LimitesEspera {
    // The time allowed, in ms, counted in whole ticks.
    qint32 TiempoMs = 30000;
    // The safety timer ends the wait as a failed run after this many ms; it is restarted when
    // the wait is extended.
    qint32 SeguridadMs = 35000;
    // The safety timer runs from the start (otherwise only after an extension).
    bool SeguridadDesdeElInicio = true;
    // Times the wait is extended when the client took the request but has not answered yet.
    qint16 Extensiones = 1;
    // No time-out and no safety timer: the wait lasts until the file is there (or gone) or it
    // is cancelled.
    bool SinTiempoLimite = false;
    // Interval of the wait's own tick in real ms; 0 is the engine's tick (DuracionTick), and a
    // negative value starts no tick timer: the owner calls Tick() from its own timer.
    qint32 TickMs = 0;

    // The limits of an exchange: the safety timer is the time allowed plus five seconds, and
    // runs from the start only for waits under 100 seconds.
    static LimitesEspera DeIntercambio(qint32 tiempoMs);
    // A wait without any limit, ticked every `tickMs` (negative: by its owner).
    static LimitesEspera SinLimite(qint32 tickMs);
};

// The wait for the client's status file, without a window: it watches the status file's
// folder (the one-second tick keeps the time-out arithmetic and is the fallback for a missed
// notice), extends the wait once when the client took the request but has not answered, and
// ends by itself at the time-out or at the safety timer. A window shows it; a hidden wait runs
// it in a local event loop. The CPU stays idle while it waits.
class EsperaCliente : public QObject {
    Q_OBJECT
public:
    explicit EsperaCliente(QObject* parent = nullptr);
    ~EsperaCliente() override;

    // Starts waiting for the status file `archivoEstado` of a terminal folder (found there in
    // any case; one that is a link, not a regular file (a pipe or a socket too) or too large
    // ends the wait at once with a text beginning with "-" that names it). `archivoDisparo`
    // is the trigger whose presence at the time-out tells that the client never took the
    // request (it is then taken back); empty when there is none. The first tick runs at once,
    // so an answer that is already there ends the wait here.
    void Iniciar(const QString& archivoEstado, const QString& archivoDisparo, const LimitesEspera& limites);
    // Starts waiting until no file `archivo` (in any case) is left in its folder, as a marker
    // another program removes; Resultado() is then empty.
    void IniciarAusencia(const QString& archivo, const LimitesEspera& limites);
    // Runs a local event loop until the wait ends; returns Resultado().
    QString Esperar();

    // The status file's text, trimmed, or one of these texts, which all begin with "-":
    // "-1: Cancelado por Time Out", "-1: Cancelado por ejecucion fallida", "-2: Error
    // inesperado en comunicación" (an empty status, read twice), "-<n>: <description>" of an
    // error; empty when cancelled.
    QString Resultado() const;

    // The one-second tick, the safety timer and the cancel, as their timers and button call them.
    void Tick();
    void ForzarTimeOut();
    void Cancelar();

    bool Esperando() const { return m_Esperando; }
    // The status file was taken (the wait did not end by time-out, safety timer or cancel).
    bool Respondida() const { return m_Respondido; }
    qint16 Reinicios() const { return m_Reinicios; }
    // The animation frame of the last tick, 1 to 4.
    qint16 Cuadro() const { return m_Cuadro; }

    QTimer* TimerEspera = nullptr;
    QTimer* TimerForzarTimeOut = nullptr;

    // Length of one tick in ms (1000 in the program); every interval of the wait scales with
    // it, so tests run a 30-second time-out in well under a second per tick.
    static void setDuracionTick(int ms);
    static int DuracionTick();

signals:
    // A tick inside the time allowed, with its animation frame.
    void Avance(int cuadro);
    // The wait is over.
    void Terminada();

private:
    void Empezar(const QString& archivo, const QString& archivoDisparo, const LimitesEspera& limites, bool ausencia);
    // Takes the status file when it is there; `desdeTick` tells a tick from a folder notice.
    // True when the wait ended.
    bool Revisar(bool desdeTick);
    void Terminar();
    qint64 Escalar(qint64 ms) const;

    QFileSystemWatcher* m_Watcher = nullptr;
    QEventLoop* m_Loop = nullptr;
    LimitesEspera m_Limites;
    QString m_ArchivoEstado;
    CarpetaTerminal m_Terminal; // the folder holding the status file
    CarpetaTerminal m_Disparo;  // named as the trigger, in its working folder
    QString m_Resultado;
    qint16 m_Segundos = 0;
    qint16 m_Cuadro = 0;
    qint16 m_Reinicios = 0;
    bool m_Esperando = false;
    bool m_TimedOut = false;
    bool m_Forzado = false;
    bool m_Respondido = false;
    bool m_VacioVisto = false;
    bool m_Ausencia = false;

    static int s_DuracionTick;
};
