#include "reports/modPurga.h"

#include "platform/Database.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

namespace modPurga {

QString FechaCorte(const QDate& fecha) { return fecha.addMonths(-3).toString(QStringLiteral("yyyyMMdd")); }

namespace {
// The values of the purge's condition; a company code that is not a number is refused.
QVariantList Condicion(const QString& fechaCorte, const QString& codigoEmpresa)
{
    bool ok = false;
    const qint64 empresa = Vb::Trim(codigoEmpresa).toLongLong(&ok);
    if (!ok)
        throw VbError(VbError::TypeMismatch, QStringLiteral("frmControlFecha"),
                      QStringLiteral("Código de empresa inválido: ") + codigoEmpresa);
    return {fechaCorte, empresa};
}
}

qint64 Contar(Database& cn, const QString& fechaCorte, const QString& codigoEmpresa)
{
    const DbResult r = cn.Query(QStringLiteral("SELECT COUNT(*) FROM Transaccion WHERE Fecha < ? and CodigoEmpresa = ?"),
                                Condicion(fechaCorte, codigoEmpresa));
    return r.EOF_() ? 0 : r.value(0).toLongLong();
}

QString Pregunta(qint64 transacciones, const QString& codigoEmpresa, const QString& fechaCorte)
{
    const QString fecha = QDate::fromString(fechaCorte, QStringLiteral("yyyyMMdd")).toString(QStringLiteral("dd/MM/yyyy"));
    return QStringLiteral("Se borrarán %1 transacciones de la empresa %2 anteriores al %3. ¿Desea continuar?")
        .arg(transacciones)
        .arg(Vb::Trim(codigoEmpresa), fecha);
}

void Purgar(Database& cn, const QString& fechaCorte, const QString& codigoEmpresa)
{
    const QVariantList valores = Condicion(fechaCorte, codigoEmpresa);
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
