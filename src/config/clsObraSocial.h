#pragma once
#include "config/CondicionSQL.h"

#include <QString>
#include <memory>

class Database;
class DbResult;

// One row of ObrasSociales (insurers). Keeps one connection for its life, opened on first use.
class clsObraSocial {
public:
    qint16 IdObraSocial = 0;
    QString Nombre;
    bool OnLine = false;
    bool UtilizaCI = false; // column UtilizarCI
    double AUISOA = 0;
    qint16 Empresa = 0;
    qint16 Actividad = 0;
    qint16 FilialOS = 0;
    QString Condicion;
    bool UtilizaCSC = false;
    bool BitMap = false; // marked in the client's parameter file

    // 1 insert, 2 delete, 3 update (delete and update take sCondicion as their clause; an
    // empty one means every row). Always returns false; failures are raised.
    bool Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pNombre, bool pOnLine, bool pUtilizaCI,
                  const QString& pAUISOA, const QString& pEmpresa, const QString& pActividad,
                  const QString& pFilialOS, bool pUtilizaCSC, const QString& sCondicion);
    // The same with a condition whose values are bound (options 2 and 3).
    bool Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pNombre, bool pOnLine, bool pUtilizaCI,
                  const QString& pAUISOA, const QString& pEmpresa, const QString& pActividad,
                  const QString& pFilialOS, bool pUtilizaCSC, const CondicionSQL& condicion);
    // The rows of the condition, or of the company and activity when there is none; null when
    // neither gives a condition. The first row also fills the fields.
    std::shared_ptr<DbResult> Buscar(const QString& sWhere, qint32 Empresa, qint32 Actividad);
    // The rows of a condition whose values are bound; the first row fills the fields.
    std::shared_ptr<DbResult> Buscar(const CondicionSQL& condicion);

private:
    std::shared_ptr<DbResult> Leer(const QString& clausula, const QVariantList& valores);
    std::shared_ptr<Database> rdoConnection;
};
