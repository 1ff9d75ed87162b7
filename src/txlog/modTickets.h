#pragma once
#include "txlog/DatosPrescriptor.h"

#include <QString>

// The log of answered transactions: the rows and the ticket file of each.
namespace modTickets {

// Logs an answered transaction (its Transaccion and ItemPrestaciones rows) and saves its
// ticket text as a file in "Tickets" below the data folder. A blank ticket number or
// "98000000" logs nothing. Every failure is shown ("Error: " and its description) and never
// reaches the caller; when the file fails the rows stay. When the rows cannot be stored the
// file is still written, and a critical message names the ticket, the file (or why it could not
// be written) and the database's reason, so support can reconcile the operation the insurer
// answered.
void GuardarTicket(const QString& sSVL1, const QString& sTicket, const QString& CodigoEmpresa, const QString& sSVL2,
                   qint16 pCantidadPrestaciones, const DatosPrescriptor& prescriptor = {});

// The folder of the ticket files ("Tickets" below the data folder).
QString CarpetaTickets();

// The ticket file of a logged transaction: the ticket number without leading zeros, the answer
// date (yyyymmdd) and time (hhmm), ".prn", in CarpetaTickets(). Raises error 52 ("nombre de
// archivo incorrecto") when the date or time would lead out of the folder.
QString ArchivoTicket(qint64 ticket, const QString& fecha, const QString& hora);

}
