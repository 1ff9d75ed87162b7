#pragma once
#include "config/CondicionSQL.h"

#include <QString>
#include <memory>

class Database;
class DbResult;

// One row of Medicos (doctors). Keeps one connection for its life, opened on first use.
class clsMedico {
public:
    QString ApellidoNombre;
    QString Matricula;
    QString TipoMatricula;
    qint16 Baja = 0;
    qint32 CantidadItems = 0;
    // The clause of delete and update: set it before calling Procesar.
    QString Condicion;

    // 1 insert, 2 delete, 3 update, the last two on the rows of Condicion (every row when it
    // is empty). Always returns false; failures are raised.
    bool Procesar(int iOpcion, const QString& pApellidoNombre, const QString& pMatricula,
                  const QString& pTipoMatricula, bool pBaja);
    // The same with a condition whose values are bound (options 2 and 3).
    bool Procesar(int iOpcion, const QString& pApellidoNombre, const QString& pMatricula,
                  const QString& pTipoMatricula, bool pBaja, const CondicionSQL& condicion);
    // The rows of the condition, or of the registration; null when neither gives a condition.
    std::shared_ptr<DbResult> Buscar(const QString& sWhere, qint32 Matricula, const QString& TipoMatricula);
    // The rows of a condition whose values are bound; the first row fills the fields.
    std::shared_ptr<DbResult> Buscar(const CondicionSQL& condicion);

private:
    std::shared_ptr<DbResult> Leer(const QString& clausula, const QVariantList& valores);
    std::shared_ptr<Database> rdoConnection;
};
