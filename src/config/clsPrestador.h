#pragma once
#include "config/CondicionSQL.h"

#include <QString>
#include <QVariant>
#include <memory>

class Database;
class DbResult;

// One row of Prestadores (providers). Keeps one connection for its life: the one handed
// through setConeccion, or its own, opened on first use.
class clsPrestador {
public:
    qint16 idPrestador = 0;
    qint16 Filial = 0;
    double codigoOSDE = 0;
    QString Nombre;
    QString Cuit;
    bool RequierePrescripcion = false;
    qint16 Odontologo = 0; // provider type code
    bool Predeterminado = false;
    qint16 Admisor = 0;
    qint16 Baja = 0;
    qint16 RequiereMatPrescriptor = 0;
    QString Licencia;
    qint32 CantidadItems = 0;
    QString Condicion;

    // 1 insert (an empty or zero id takes MaxID()), 2 delete, 3 update; delete and update take
    // sCondicion as their clause. An insert of an existing provider (duplicate key) is ignored.
    // Always returns false; other failures are raised.
    bool Procesar(int iOpcion, const QString& pIdPrestador, const QString& pNombre, const QString& pCuit,
                  const QString& pRequierePrescripcion, const QString& pOdontologo, const QString& pcodigoOSDE,
                  const QString& pPredeterminado, const QString& pFilial, const QString& pAdmisor,
                  const QVariant& pBaja, const QVariant& pLicencia, const QString& sCondicion,
                  const QString& pRequiereMatPrescriptor);
    // The same with a condition whose values are bound (options 2 and 3).
    bool Procesar(int iOpcion, const QString& pIdPrestador, const QString& pNombre, const QString& pCuit,
                  const QString& pRequierePrescripcion, const QString& pOdontologo, const QString& pcodigoOSDE,
                  const QString& pPredeterminado, const QString& pFilial, const QString& pAdmisor,
                  const QVariant& pBaja, const QVariant& pLicencia, const CondicionSQL& condicion,
                  const QString& pRequiereMatPrescriptor);
    // The rows of the condition, or of the CUIT; null when neither gives a condition.
    std::shared_ptr<DbResult> Buscar(const QString& sWhere, const QString& Cuit);
    // The rows of a condition whose values are bound; the first row fills the fields.
    std::shared_ptr<DbResult> Buscar(const CondicionSQL& condicion);
    // The next free provider id (1 on an empty table).
    qint32 MaxID();
    // Runs this object's statements on the caller's connection.
    void setConeccion(std::shared_ptr<Database> cn) { rdoConnection = std::move(cn); }

private:
    std::shared_ptr<DbResult> Leer(const QString& clausula, const QVariantList& valores);
    std::shared_ptr<Database> rdoConnection;
};
