#pragma once
#include "config/CondicionSQL.h"

#include <QString>
#include <QVariant>
#include <memory>

class Database;
class DbResult;

// One row of Efectores (performing professionals). Keeps one connection for its life, opened on first use.
class clsEfector {
public:
    qint16 idEfector = 0;
    QString Nombre;
    QString Cuit;
    QString TipoMatricula;
    QString Matricula;
    qint16 Baja = 0;
    qint16 idEspecialidad = 0;
    QString Especialidad;
    qint32 CantidadItems = 0;
    QString Condicion;

    // 1 insert (the database gives IdEfector), 2 delete, 3 update; delete and update take
    // sCondicion as their clause. Always returns false; failures are raised.
    bool Procesar(int iOpcion, const QString& pNombre, const QString& pCuit, const QString& pMatricula,
                  const QString& pTipoMatricula, const QVariant& pBaja, const QString& sCondicion,
                  qint16 pidEspecialidad);
    // The same with a condition whose values are bound (options 2 and 3).
    bool Procesar(int iOpcion, const QString& pNombre, const QString& pCuit, const QString& pMatricula,
                  const QString& pTipoMatricula, const QVariant& pBaja, const CondicionSQL& condicion,
                  qint16 pidEspecialidad);
    // The rows of the condition, or of the registration; null when neither gives a condition.
    std::shared_ptr<DbResult> Buscar(const QString& sWhere, const QString& Matricula, const QString& TipoMatricula);
    // The rows of a condition whose values are bound; the first row fills the fields.
    std::shared_ptr<DbResult> Buscar(const CondicionSQL& condicion);

private:
    std::shared_ptr<DbResult> Leer(const QString& clausula, const QVariantList& valores);
    std::shared_ptr<Database> rdoConnection;
};
