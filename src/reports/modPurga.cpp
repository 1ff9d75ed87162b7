#include "reports/modPurga.h"

#include "platform/Database.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace modPurga {

QString FechaCorte(const QDate& fecha) { return fecha.addMonths(-3).toString(QStringLiteral("yyyyMMdd")); }

void Purgar(Database& cn, const QString& fechaCorte, const QString& codigoEmpresa)
{
    bool ok = false;
    const qint64 empresa = Vb::Trim(codigoEmpresa).toLongLong(&ok);
    if (!ok)
        throw VbError(VbError::TypeMismatch, QStringLiteral("frmControlFecha"),
                      QStringLiteral("Código de empresa inválido: ") + codigoEmpresa);
    const QVariantList valores{fechaCorte, empresa};
    cn.EnTransaccion([&] {
        // Ticket numbers repeat across insurers: an item goes only with the last transaction
        // that carries its ticket.
        cn.Execute(QStringLiteral(
                       "DELETE FROM ItemPrestaciones WHERE ticket IN "
                       "(SELECT ticket FROM Transaccion WHERE Fecha < ? and CodigoEmpresa = ?) "
                       "AND NOT EXISTS (SELECT 1 FROM Transaccion t WHERE t.Ticket = ItemPrestaciones.ticket "
                       "AND (t.Fecha >= ? OR t.Fecha IS NULL OR t.CodigoEmpresa <> ? OR t.CodigoEmpresa IS NULL))"),
                   valores + valores);
        cn.Execute(QStringLiteral("DELETE FROM Transaccion WHERE Fecha < ? and CodigoEmpresa = ?"), valores);
    });
}

}
