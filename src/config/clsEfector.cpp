#include "config/clsEfector.h"

#include "config/modTablas.h"
#include "platform/Database.h"

using namespace modTablas;
using namespace ValoresBD;

namespace {
const QString kFuente = QStringLiteral("clsEfector");
}

bool clsEfector::Procesar(int iOpcion, const QString& pNombre, const QString& pCuit, const QString& pMatricula,
                          const QString& pTipoMatricula, const QVariant& pBaja, const QString& sCondicion,
                          qint16 pidEspecialidad)
{
    return Procesar(iOpcion, pNombre, pCuit, pMatricula, pTipoMatricula, pBaja, SinValores(sCondicion),
                    pidEspecialidad);
}

bool clsEfector::Procesar(int iOpcion, const QString& pNombre, const QString& pCuit, const QString& pMatricula,
                          const QString& pTipoMatricula, const QVariant& pBaja, const CondicionSQL& condicion,
                          qint16 pidEspecialidad)
{
    const QString clausula = Clausula(condicion.Texto);
    try {
        QString sql;
        QVariantList p;
        switch (iOpcion) {
        case 1:
            sql = QStringLiteral("INSERT INTO Efectores (Nombre, Cuit, Matricula, TipoMatricula, Baja, idEspecialidad) "
                                 "VALUES (?, ?, ?, ?, ?, ?)");
            p = {TextoParaGuardar(pNombre), TextoParaGuardar(pCuit), TextoParaGuardar(pMatricula),
                 TextoParaGuardar(pTipoMatricula), VerdadNoCero(pBaja), pidEspecialidad};
            break;
        case 2:
            sql = QStringLiteral("DELETE FROM Efectores") + clausula;
            p = condicion.Valores;
            break;
        case 3:
            sql = QStringLiteral("UPDATE Efectores SET Nombre = ?, Cuit = ?, Matricula = ?, TipoMatricula = ?, Baja = ?, "
                                 "idEspecialidad = ?") + clausula;
            p = {TextoParaGuardar(pNombre), TextoParaGuardar(pCuit), TextoParaGuardar(pMatricula),
                 TextoParaGuardar(pTipoMatricula), VerdadNoCero(pBaja), pidEspecialidad};
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

std::shared_ptr<DbResult> clsEfector::Buscar(const QString& sWhere, const QString& pMatricula,
                                             const QString& pTipoMatricula)
{
    QString condicion;
    QVariantList p;
    if (!sWhere.isEmpty()) {
        condicion = CondicionBuscar(sWhere);
    } else if (!pMatricula.isEmpty()) {
        condicion = QStringLiteral(" WHERE (Matricula=? AND TipoMatricula = ?)");
        p = {pMatricula, pTipoMatricula};
    } else {
        return nullptr;
    }
    return Leer(condicion, p);
}

std::shared_ptr<DbResult> clsEfector::Buscar(const CondicionSQL& condicion)
{
    return Leer(Clausula(condicion.Texto), condicion.Valores);
}

std::shared_ptr<DbResult> clsEfector::Leer(const QString& clausula, const QVariantList& valores)
{
    auto rs = Consultar(rdoConnection,
                       QStringLiteral("SELECT Matricula, TipoMatricula, Nombre, Cuit, Baja, Efectores.idEspecialidad, "
                       "Especialidades.Especialidad FROM Efectores LEFT JOIN Especialidades "
                       "ON Efectores.idEspecialidad = Especialidades.idEspecialidad ") + clausula, valores, kFuente);
    try {
        if (!rs->EOF_()) {
            Matricula = ATexto(rs->value(0));
            TipoMatricula = ATexto(rs->value(1));
            Nombre = ATexto(rs->value(2));
            Cuit = ATexto(rs->value(3));
            Baja = AEntero16(rs->value(4));
            idEspecialidad = AEntero16(rs->value(5));
            Especialidad = NuloATexto(rs->value(6));
        }
    } catch (...) {
        Relanzar(kFuente);
    }
    return rs;
}
