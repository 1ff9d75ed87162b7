#pragma once
#include <QFont>
#include <QString>

class EsperaCliente;

// The remote report's link test and the settings of its exchange with the communications
// client.
namespace modReporte {

// The report folder below the working folder, for the whole run. The report window makes it,
// with its upload and download folders, before each link test; the client finds it by the
// trigger of the same name in tx.
extern const QString DirectorioReporte;

// How long the link test waits for the client and the wait dialog for the answer, in ms.
struct Limites {
    qint32 EnlaceMs = 60000;
    qint32 RespuestaMs = 15000;
};
const Limites& LimitesActuales();
// Tests shorten the waits; no argument restores the program's.
void setLimites(const Limites& limites = Limites());

// Asks the client for a sign of life: the control record "V0000000" and the trigger of the
// report folder `carpeta`, then waits (window events running) until its status file
// appears, `espera` is cancelled, or the link limit passes. True when the client answered.
// An error on the way is shown (its description) and gives False; a False result deletes
// the control record and a trigger not taken when `carpeta` is not empty. `espera` is the caller's wait, so that it
// can be cancelled; without one a wait of its own is used.
bool VerificarComunicacion(const QString& carpeta, EsperaCliente* espera = nullptr);

// The font of the report boxes: the family asked for, fixed-pitch when the system lacks it.
QFont FuenteReporte(const QString& familia);

}
