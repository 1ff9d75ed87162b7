#include "txlog/clsTransacciones.h"

#include "platform/Database.h"
#include "platform/Lineas.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/modLog.h"

namespace {

const QString kFuente = QStringLiteral("Quorvan.clsTransaccion");

QString Campo(const QString& registro, int desde, int largo)
{
    return Vb::Trim(Vb::Mid(registro, desde, largo));
}

// A numeric answer field: 0 when blank, else its value (error 13 when it is not a number).
qint64 Entero64(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    return t.isEmpty() ? 0 : Vb::CLng64(Vb::CDbl(t));
}

qint16 Entero16(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    return t.isEmpty() ? qint16(0) : Vb::CInt(t);
}

// The insurer's company code as a number; NULL when it is empty or not a whole number, so the
// transaction is still logged.
QVariant CodigoEmpresaComoValor(const QString& codigo)
{
    bool ok = false;
    const qint32 n = Vb::Trim(codigo).toInt(&ok);
    return ok ? QVariant(n) : QVariant(QMetaType(QMetaType::Int));
}

struct Item {
    QString codigo;
    qint32 cantidad;
};

}

qint64 clsTransacciones::SaveTransaccion(const QString& sSVL1, const QString& CodigoEmpresa, const QString& sSVL2,
                                         qint16 pCantidadPrestaciones, const DatosPrescriptor& prescriptor)
{
    QList<Item> items;
    try {
        Operacion = Vb::Mid(sSVL1, 6, 2);
        Tarjeta = Vb::Mid(sSVL1, 8, 100);
        TipoLectura = Vb::Mid(sSVL1, 108, 1);
        Prestador = Campo(sSVL1, 109, 11);
        PrestadorSolicitante = Vb::Trim(prescriptor.CuitEfector).remove(QLatin1Char('-'));
        // A dental reference ("OD", "OO") is letters before the number: no parent ticket to keep,
        // and the answered transaction must still be logged.
        const QString padre = Vb::Trim(Vb::Mid(sSVL1, 131, 12));
        TicketPadre = Vb::IsNumeric(padre) ? Entero64(padre) : 0;
        FechaPrestacion = Campo(sSVL1, 181, 8);
        HoraPrestacion = Campo(sSVL1, 189, 4);
        TipoMatriculaMPrescriptor = Vb::Trim(Vb::Left(prescriptor.Provincia, 1))
            + Vb::Trim(Vb::Left(prescriptor.TipoMatricula, 1));
        MatriculaMedicoPrescriptor = Vb::Trim(prescriptor.Matricula);
        CodigoAutorizacion = static_cast<qint32>(Entero64(Vb::Mid(sSVL1, 237, 1))); // one digit
        NumeroAutorizacion = Campo(sSVL1, 238, 12);
        Ticket = Entero64(Vb::Mid(sSVL1, 261, 12));
        Fecha = Campo(sSVL1, 279, 8);
        Hora = Campo(sSVL1, 287, 4);
        PlanAsociado = Campo(sSVL1, 291, 5);
        TipoAsociado = Entero16(Vb::Mid(sSVL1, 296, 1));
        const QString monto = Campo(sSVL1, 297, 11);
        MontoAbonar = monto.isEmpty() ? 0.0 : Vb::CDbl(monto) / 100;
        Error = Entero16(Vb::Mid(sSVL1, 308, 4));
        Comentario = Campo(sSVL1, 312, 40);
        NumeroTrxPrestador = Entero64(Vb::Mid(sSVL1, 352, 12));

        // One item per record as the client ended them, never more than it announced: a
        // record of the wrong length spoils only itself.
        QStringList registros = Lineas::Separar(sSVL2);
        if (!registros.isEmpty() && registros.last().isEmpty())
            registros.removeLast();
        const int n = qMin<int>(qMax<int>(pCantidadPrestaciones, 0), registros.size());
        for (int i = 0; i < n; ++i) {
            const QString cantidad = Campo(registros.at(i), 18, 2);
            items.append({Campo(registros.at(i), 8, 10), cantidad.isEmpty() ? 0 : Vb::CLng(cantidad)});
        }
    } catch (const VbError& e) {
        throw VbError(e.number, kFuente, e.description);
    }

    try {
        m_cn = std::make_shared<Database>();
        m_cn->Open();
        m_cn->UseFullSync();
    } catch (const VbError& e) {
        throw ErrorRegistroTicket(e.number, kFuente, e.description, QString(), Ticket);
    }

    int corridas = 0;
    const auto guardar = [&] {
        m_cn->EnTransaccion([&] {
            // Run again after a lost connection or a busy conflict: the first attempt may
            // have been stored (a COMMIT whose answer was lost).
            if (++corridas > 1 && YaRegistrada())
                return;
            m_cn->Execute(QStringLiteral(
                              "INSERT INTO Transaccion (Operacion, Tarjeta, TipoLectura, Prestador, "
                              "PrestadorSolicitante, TicketPadre, FechaPrestacion, HoraPrestacion, "
                              "TipoMatriculaMPrescriptor, MatriculaMedicoPrescriptor, CodigoAutorizacion, "
                              "NumeroAutorizacion, Ticket, Fecha, Hora, PlanAsociado, TipoAsociado, MontoAbonar, "
                              "Error, Comentario, NumeroTrxPrestador, CodigoEmpresa) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                          modLog::Valores({Operacion, Tarjeta, TipoLectura, Prestador, PrestadorSolicitante, TicketPadre,
                           FechaPrestacion, HoraPrestacion, TipoMatriculaMPrescriptor, MatriculaMedicoPrescriptor,
                           CodigoAutorizacion, NumeroAutorizacion, Ticket, Fecha, Hora, PlanAsociado,
                           static_cast<int>(TipoAsociado), MontoAbonar, static_cast<int>(Error), Comentario,
                           NumeroTrxPrestador, CodigoEmpresaComoValor(CodigoEmpresa)}));
            for (const Item& it : items)
                m_cn->Execute(QStringLiteral("INSERT INTO ItemPrestaciones (Ticket, CodigoPrestacion, Cantidad) "
                                             "Values (?, ?, ?)"),
                              modLog::Valores({Ticket, it.codigo, it.cantidad}));
        });
    };
    try {
        Database::Guardado guardado(*m_cn); // both attempts are one save
        for (int intento = 1;; ++intento) {
            try {
                guardar();
                break;
            } catch (const DbError& e) {
                if (!(e.isConnectionLost() || e.isBusyConflict()))
                    throw;
                // A look at the rows cannot see a commit still running on the server: every
                // attempt whose COMMIT answer was lost asks it, the rerun's as the first's.
                if (m_cn->ConfirmacionPerdida() && m_cn->engine() == Database::Engine::PostgreSQL) {
                    switch (m_cn->PreguntarConfirmacion()) {
                    case Database::Confirmacion::Hecha:
                        return Ticket;
                    case Database::Confirmacion::Deshecha:
                        break;
                    case Database::Confirmacion::SinComprobar: {
                        ErrorRegistroTicket sinComprobar(
                            e.number, kFuente,
                            QStringLiteral(
                                "No se pudo comprobar si el ticket y sus items quedaron guardados en la base local"),
                            e.description, Ticket);
                        sinComprobar.sinComprobar = true;
                        throw sinComprobar;
                    }
                    }
                }
                // Once more in all, the database layer's own rerun after a lost connection included.
                if (intento > 1 || corridas > 1)
                    throw;
            }
        }
    } catch (const ErrorRegistroTicket&) {
        throw;
    } catch (const VbError& e) {
        throw ErrorRegistroTicket(e.number, kFuente,
                                  QStringLiteral("Error al guardar el ticket y sus items en la base local"),
                                  e.description, Ticket);
    }
    return Ticket;
}

bool clsTransacciones::YaRegistrada()
{
    return m_cn->Query(QStringLiteral("SELECT COUNT(*) FROM Transaccion WHERE Ticket = ? AND Fecha = ? AND Hora = ?"),
                       modLog::Valores({Ticket, Fecha, Hora}))
               .value(0)
               .toLongLong()
        > 0;
}
