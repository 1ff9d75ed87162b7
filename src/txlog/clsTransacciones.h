#pragma once
#include "txlog/DatosPrescriptor.h"

#include "platform/VbError.h"

#include <QString>
#include <memory>

class Database;

// The rows of an answered transaction could not be stored. The description is what the user
// has always been shown; `causa` is the database's own reason and `ticket` the number answered.
class ErrorRegistroTicket : public VbError {
public:
    ErrorRegistroTicket(qint32 number, QString source, QString description, QString causa, qint64 ticket)
        : VbError(number, std::move(source), std::move(description)), causa(std::move(causa)), ticket(ticket)
    {
    }
    QString causa;
    qint64 ticket = 0;
    // The answer of the COMMIT was lost and the server could not say whether it stored them.
    bool sinComprobar = false;
};

// One logged transaction of the history table Transaccion. The ticket numbers are 64-bit:
// the answer field that carries them has 12 digits.
class clsTransacciones {
public:
    QString Operacion;
    QString Tarjeta;
    QString TipoLectura;
    QString Prestador;
    QString PrestadorSolicitante;
    qint64 TicketPadre = 0;
    QString FechaPrestacion;
    QString HoraPrestacion;
    QString TipoMatriculaMPrescriptor;
    QString MatriculaMedicoPrescriptor;
    qint32 CodigoAutorizacion = 0;
    QString NumeroAutorizacion;
    qint64 Ticket = 0;
    QString Fecha;
    QString Hora;
    QString PlanAsociado;
    qint16 TipoAsociado = 0;
    double MontoAbonar = 0;
    qint16 Error = 0;
    QString Comentario;
    qint64 NumeroTrxPrestador = 0;
    QString ObraSocial; // insurer name, filled when rows are read back
    QString CodigoEmpresa; // insurer's company code, filled when rows are read back

    // Fills the fields from the answered header and writes the Transaccion row with one
    // ItemPrestaciones row per answered service record, in one database transaction, on a
    // connection of its own. Returns the ticket number. A field that is not a number raises
    // its conversion error. When the rows cannot be stored (the connection does not open, a
    // statement or the commit fails) nothing of them stays and ErrorRegistroTicket is raised:
    // "Error al guardar el ticket y sus items en la base local" for a failing statement, the
    // opening's own description otherwise; source "Quorvan.clsTransaccion". After a lost
    // connection or a busy conflict the rows are tried once more, unless the first attempt was
    // stored: PostgreSQL says so of a COMMIT whose answer was lost (when it cannot, nothing is
    // tried and the error says so, `sinComprobar`); otherwise a row with the same ticket, date
    // and time shows it.
    qint64 SaveTransaccion(const QString& sSVL1, const QString& CodigoEmpresa, const QString& sSVL2,
                           qint16 pCantidadPrestaciones, const DatosPrescriptor& prescriptor = {});

private:
    // Whether the Transaccion row of this ticket, date and time is there.
    bool YaRegistrada();
    std::shared_ptr<Database> m_cn;
};
