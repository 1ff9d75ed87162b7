#pragma once
#include "platform/Platform.h"
#include "platform/TablaProcesos.h"

#include <QList>
#include <QString>
#include <QStringList>

// The two programs Quorvan starts itself: the update wizard, built beside it, and the
// communications client Druvex, installed beside the program's folder. The paths are pure
// functions of the program's folder (as the system gives it: no trailing "/" except for "/").
namespace ProgramasExternos {

inline const QString kAsistente = QStringLiteral("UpgradeWizardQuorvan");
inline const QString kCarpetaCliente = QStringLiteral("DRUVEX Cliente/");
inline const QString kProgramaCliente = QStringLiteral("Druvex32.exe");

// The folder of a full path: "/opt/q/Quorvan" gives "/opt/q", "/Quorvan" gives "/".
QString CarpetaDe(const QString& rutaPrograma);
// The wizard beside the program.
QString RutaAsistente(const QString& carpetaPrograma);
// The wizard's five arguments: the working folder as it stands, "major.minor.revision", the
// program's full path, "" and "0.0.0".
QStringList ArgumentosAsistente(const QString& directorioTrabajo, const Platform::Version& version,
                                const QString& rutaPrograma);
// Starts the wizard without waiting; a failure shows "Imposible realizar la actualización del
// software." titled with the error's number and description.
void EjecutarActualizador();

// The program's folder cut back to its last "/", which stays ("/" stays "/").
QString CarpetaPadre(const QString& carpetaPrograma);
// "<parent>/DRUVEX Cliente/", where the client is installed.
QString CarpetaCliente(const QString& carpetaPrograma);
// A running copy of the client: its program's file name or its command name, trimmed, is
// "druvex32.exe" in any case (a script shows the name only as its command).
bool EsCliente(const TablaProcesos::Proceso& proceso);
// The running clients of `usuario` and those of anybody else (or of an owner unknown).
struct Clientes {
    QList<qint64> propios;
    QList<qint64> ajenos;
};
Clientes BuscarClientes(const QList<TablaProcesos::Proceso>& procesos, qint64 usuario);
// Why no client is started while another user's runs, with its process numbers.
QString MensajeClienteAjeno(const QList<qint64>& pids);
// Ends `pids`: SIGTERM, SIGKILL to those left after `msTerminar`, then waits until all are
// gone or `msTotal` have passed, letting events run meanwhile. True when none is left.
bool DetenerProcesos(TablaProcesos& tabla, const QList<qint64>& pids, int msTerminar = 2000, int msTotal = 3000);
// Ends the user's running clients and starts it again from its folder, detached; the main
// window is locked while it waits for them to end. Shows why when the process list cannot be
// read, another user's client runs (nothing is ended or started then), a copy will not end
// (nothing is started then) or the start fails; no error reaches the caller.
void ReiniciarClienteComunicaciones();

}
