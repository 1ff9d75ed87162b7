#pragma once
#include <QString>
#include <exception>
#include <functional>
#include <memory>

class QWidget;
class clsConfig;
class clsObraSocial;
class clsTransaccion;

// What the reprint of the transaction list and the void of the stored ticket window share:
// the insurer they go to, a sender set up from the configuration, the request that refers to
// an earlier ticket, and how an unexpected failure is shown.
namespace modEnvioTicket {

// The terminal's default insurer: name equal to DefaultOS and activity, as decimal text, equal
// to DefaultActividad. Error 91 when there is none.
std::shared_ptr<clsObraSocial> ObraSocialPredeterminada(const clsConfig& cfg);
// The insurer of a logged transaction's company: the default insurer when it has that company,
// else the only configured insurer with it. Error 91 for none, 5 for several.
std::shared_ptr<clsObraSocial> ObraSocialDeEmpresa(const clsConfig& cfg, const QString& codigoEmpresa);

// A new sender, also put into TransaccionActual, addressed to the insurer, with the configured
// printer settings, showing the answered ticket and no error list.
std::shared_ptr<clsTransaccion> NuevoEnvio(const clsConfig& cfg, const clsObraSocial& os, bool imprimir);

// Fills the request header of an operation that refers to ticket `ticket`, sends it and reads
// the first error code: a local failure ("-1...") is shown titled "Transacción". True when the
// insurer answered. The sender is finished in every case that reached the client.
bool EnviarReferencia(clsTransaccion& tx, qint32 operacion, const QString& cuit, const QString& tarjeta,
                      const QString& ticket, const std::function<void(clsTransaccion&)>& alResponder = {});

// The configuration, or error 91 when start-up could not create it.
const clsConfig& ConfiguracionCargada(const QString& origen);

// "<number>: <description>" CR LF "Source: <source>", critical icon.
void MostrarErrorInesperado(const std::exception& e);
// Arrow pointer on the window and on the screen.
void PunteroNormal(QWidget* ventana);

}
