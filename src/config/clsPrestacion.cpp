#include "config/clsPrestacion.h"

#include "config/modTablas.h"
#include "platform/Database.h"
#include "platform/Vb.h"

using namespace modTablas;
using namespace ValoresBD;

namespace {
const QString kFuente = QStringLiteral("clsPrestacion");
const QString kCrLf = QStringLiteral("\r\n");
}

bool clsPrestacion::Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pCodigoPrestacion,
                             const QString& pCodigoInterno, const QString& pValor1, const QString& pValor2,
                             const QString& pDescripcion, const QString& pObservaciones, const QString& sCondicion)
{
    return Procesar(iOpcion, pIdObraSocial, pCodigoPrestacion, pCodigoInterno, pValor1, pValor2, pDescripcion,
                    pObservaciones, SinValores(sCondicion));
}

bool clsPrestacion::Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pCodigoPrestacion,
                             const QString& pCodigoInterno, const QString& pValor1, const QString& pValor2,
                             const QString& pDescripcion, const QString& pObservaciones, const CondicionSQL& condicion)
{
    const QString clausula = Clausula(condicion.Texto);
    try {
        QString sql;
        QVariantList p = {TextoParaGuardar(pCodigoPrestacion), TextoParaGuardar(pCodigoInterno),
                          TextoParaGuardar(pValor1), TextoParaGuardar(pValor2),
                          TextoParaGuardar(pDescripcion), TextoParaGuardar(pObservaciones)};
        switch (iOpcion) {
        case 1:
            sql = QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, Valor2, "
                                 "Descripcion, Observaciones) VALUES (0, ?, ?, ?, ?, ?, ?)");
            break;
        case 2:
            sql = QStringLiteral("DELETE FROM Prestaciones") + clausula;
            p = condicion.Valores;
            break;
        case 3:
            // The insurer the caller passes, so that a refresh of a row keeps the one it had.
            sql = QStringLiteral("UPDATE Prestaciones SET IdObraSocial = ?, CodigoPrestacion = ?, CodigoInterno = ?, "
                                 "Valor1 = ?, Valor2 = ?, Descripcion = ?, Observaciones = ?") + clausula;
            p.prepend(NumeroParaGuardar(pIdObraSocial));
            p += condicion.Valores;
            break;
        default:
            OpcionInvalida(kFuente);
        }
        Ejecutar(rdoConnection, sql, p, kFuente);
    } catch (...) {
        Relanzar(kFuente);
    }
    return false;
}

std::shared_ptr<DbResult> clsPrestacion::Buscar(const QString& sWhere, QString& pCodigoPrestacion)
{
    QString condicion;
    QVariantList p;
    if (!sWhere.isEmpty()) {
        condicion = CondicionBuscar(sWhere);
    } else if (!Vb::Trim(pCodigoPrestacion).isEmpty()) {
        condicion = QStringLiteral(" WHERE (CodigoPrestacion=?)");
        p = {Vb::Trim(pCodigoPrestacion)};
    } else {
        return nullptr;
    }
    return Leer(condicion, p);
}

std::shared_ptr<DbResult> clsPrestacion::Buscar(const CondicionSQL& condicion)
{
    return Leer(Clausula(condicion.Texto), condicion.Valores);
}

std::shared_ptr<DbResult> clsPrestacion::Leer(const QString& clausula, const QVariantList& valores)
{
    auto rs = Consultar(rdoConnection,
                       QStringLiteral("SELECT IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, Valor2, Descripcion, "
                       "Observaciones FROM Prestaciones ") + clausula, valores, kFuente);
    try {
        if (!rs->EOF_()) {
            CodigoPrestacion = ATexto(rs->value(1));
            CodigoInterno = ATexto(rs->value(2));
            Descripcion = ATexto(rs->value(5));
        }
    } catch (...) {
        Relanzar(kFuente);
    }
    return rs;
}

QString clsPrestacion::BuscarValoracion(const QString& pCodigoEmpresa)
{
    try {
        // Each logged service line counts once: the insurer's name comes from one row per
        // company (a company has one row per activity), and the catalogue, where a code may
        // stand under several insurers, is not joined at all.
        QString sql = QStringLiteral(
            "SELECT os.Nombre, Transaccion.PlanAsociado, ItemPrestaciones.CodigoPrestacion, "
            "COUNT(ItemPrestaciones.CodigoPrestacion) AS Cantidad "
            "FROM (Transaccion INNER JOIN ItemPrestaciones ON Transaccion.Ticket = ItemPrestaciones.Ticket) "
            "INNER JOIN (SELECT Empresa, MIN(Nombre) AS Nombre FROM ObrasSociales GROUP BY Empresa) os "
            "ON Transaccion.CodigoEmpresa = os.Empresa");
        QVariantList p;
        if (!pCodigoEmpresa.isEmpty()) {
            sql += QStringLiteral(" WHERE os.Empresa = ?");
            p << NumeroParaGuardar(pCodigoEmpresa);
        }
        sql += QStringLiteral(" GROUP BY os.Nombre, Transaccion.PlanAsociado, ItemPrestaciones.CodigoPrestacion"
                              " ORDER BY os.Nombre, Transaccion.PlanAsociado, ItemPrestaciones.CodigoPrestacion");
        Conectar(rdoConnection);
        DbResult rs = rdoConnection->Query(sql, p);
        QString out = QStringLiteral("OBRA SOCIAL, PLAN, C. PRESTACION, CANTIDAD, IMPORTE, TOTAL") + kCrLf;
        int n = 2;
        for (; !rs.EOF_(); rs.MoveNext(), ++n) {
            const QString fila = QString::number(n);
            out += ATexto(rs.value(0)) + QLatin1Char(',') + ATexto(rs.value(1)) + QLatin1Char(',') +
                   ATexto(rs.value(2)) + QLatin1Char(',') + QString::number(rs.value(3).toLongLong()) +
                   QStringLiteral(", ,") + QStringLiteral("=D") + fila + QStringLiteral("*E") + fila + kCrLf;
        }
        return out;
    } catch (...) {
        Relanzar(kFuente);
    }
}
