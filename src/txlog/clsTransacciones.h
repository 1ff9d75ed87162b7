#pragma once
#include <QString>

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
};
