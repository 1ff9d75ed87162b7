#pragma once
#include "config/CondicionSQL.h"

#include <QString>
#include <memory>

class Database;
class DbResult;

// One row of Prestaciones (services). Keeps one connection for its life, opened on first use.
class clsPrestacion {
public:
    QString CodigoPrestacion;
    QString CodigoInterno;
    QString Valor1;
    QString Valor2;
    QString Descripcion;
    QString Observaciones;
    qint32 CantidadItems = 0;
    QString Condicion;
    // The insurer of the row as loaded, so that a rewrite of the table keeps it.
    qint32 IdObraSocial = 0;

    // 1 insert (IdObraSocial written as 0, whatever pIdObraSocial holds), 2 delete, 3 update
    // (IdObraSocial from pIdObraSocial, blank giving 0); delete and update take sCondicion as
    // their clause. Always returns false; failures are raised.
    bool Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pCodigoPrestacion,
                  const QString& pCodigoInterno, const QString& pValor1, const QString& pValor2,
                  const QString& pDescripcion, const QString& pObservaciones, const QString& sCondicion);
    // The same with a condition whose values are bound (options 2 and 3).
    bool Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pCodigoPrestacion,
                  const QString& pCodigoInterno, const QString& pValor1, const QString& pValor2,
                  const QString& pDescripcion, const QString& pObservaciones, const CondicionSQL& condicion);
    // The rows of the condition, or of the service code; null when neither gives a condition.
    // The first row fills CodigoPrestacion, CodigoInterno and Descripcion.
    std::shared_ptr<DbResult> Buscar(const QString& sWhere, QString& pCodigoPrestacion);
    // The rows of a condition whose values are bound; the first row fills the fields.
    std::shared_ptr<DbResult> Buscar(const CondicionSQL& condicion);
    // The valuation sheet: a header line, then one line per insurer, plan and service code
    // with the number of logged services and spreadsheet formulas; all companies when
    // pCodigoEmpresa is empty.
    QString BuscarValoracion(const QString& pCodigoEmpresa);

private:
    std::shared_ptr<DbResult> Leer(const QString& clausula, const QVariantList& valores);
    std::shared_ptr<Database> rdoConnection;
};
