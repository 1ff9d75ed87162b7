#pragma once
#include "txlog/DatosPrescriptor.h"

#include <QString>
#include <memory>

class Database;

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
    // its conversion error; a failing statement rolls everything back and raises "Error al
    // guardar el ticket y sus items en la base local"; source "Quorvan.clsTransaccion".
    qint64 SaveTransaccion(const QString& sSVL1, const QString& CodigoEmpresa, const QString& sSVL2,
                           qint16 pCantidadPrestaciones, const DatosPrescriptor& prescriptor = {});

private:
    std::shared_ptr<Database> m_cn;
};
