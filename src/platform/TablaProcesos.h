#pragma once
#include <QList>
#include <QString>

// The machine's running processes: listing them by name, ending one, telling when one is gone.
// The system's table reads /proc; tests install their own, which sees only what they started.
class TablaProcesos {
public:
    struct Proceso {
        qint64 pid = 0;
        // The file name of its program (empty when it cannot be read, as for another user's)
        // and its command name: a script shows only in the latter, a binary with a long name
        // only in the former.
        QString ejecutable;
        QString comando;
        // The real user id of its owner; -1 when it cannot be read.
        qint64 usuario = -1;
    };

    // The real user id of this program.
    static qint64 UsuarioActual();

    virtual ~TablaProcesos() = default;
    // Every process; false with `error` (a description for the user) when the table cannot be read.
    virtual bool Listar(QList<Proceso>& procesos, QString& error) = 0;
    // Asks the process to end (SIGTERM), or kills it (SIGKILL) when `forzar`; no result.
    virtual void Terminar(qint64 pid, bool forzar) = 0;
    // True when the process no longer runs; one that ended but was not yet reaped counts as gone.
    virtual bool Terminado(qint64 pid) = 0;

    // The table in use, and the system's own.
    static TablaProcesos& Actual();
    static TablaProcesos& Sistema();
    // Tests: nullptr restores the system's table. Not owned.
    static void Instalar(TablaProcesos* tabla);
};
