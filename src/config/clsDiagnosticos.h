#pragma once
#include "config/CondicionSQL.h"

#include <QString>
#include <memory>

class Database;
class DbResult;

// One row of Diagnosticos. Keeps one connection for its life, opened on first use.
class clsDiagnosticos {
public:
    QString Codigo;
    QString Diagnostico;
    QString Condicion;

    // 1 insert, 2 delete, 3 update; delete and update take sCondicion as their clause. Always
    // returns false; failures are raised (source "clsDiagnostico").
    bool Procesar(int iOpcion, const QString& pCodigo, const QString& pDiagnostico, const QString& sCondicion);
    // The same with a condition whose values are bound (options 2 and 3).
    bool Procesar(int iOpcion, const QString& pCodigo, const QString& pDiagnostico, const CondicionSQL& condicion);
    // The rows of the condition, or of the code; null when neither gives a condition. The
    // first row fills Codigo and Diagnostico.
    std::shared_ptr<DbResult> Buscar(const QString& sWhere, QString& Codigo);
    // The rows of a condition whose values are bound; the first row fills the fields.
    std::shared_ptr<DbResult> Buscar(const CondicionSQL& condicion);

private:
    std::shared_ptr<DbResult> Leer(const QString& clausula, const QVariantList& valores);
    std::shared_ptr<Database> rdoConnection;
};
