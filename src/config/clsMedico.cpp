#include "config/clsMedico.h"

#include "config/modTablas.h"
#include "platform/Database.h"

using namespace modTablas;
using namespace ValoresBD;

namespace {
const QString kFuente = QStringLiteral("clsMedico");
}

bool clsMedico::Procesar(int iOpcion, const QString& pApellidoNombre, const QString& pMatricula,
                         const QString& pTipoMatricula, bool pBaja)
{
    // The name goes in as a bound value, apostrophes and all ("D'Angelo" stays "D'Angelo").
    const QString clausula = Clausula(Condicion);
    try {
        QString sql;
        QVariantList p;
        switch (iOpcion) {
        case 1:
            sql = QStringLiteral("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES (?, ?, ?, ?)");
            p = {pApellidoNombre, NumeroParaGuardar(pMatricula), pTipoMatricula, pBaja};
            break;
        case 2:
            sql = QStringLiteral("DELETE FROM Medicos") + clausula;
            break;
        case 3:
            sql = QStringLiteral("UPDATE Medicos SET ApellidoNombre = ?, Matricula = ?, TipoMatricula = ?, Baja = ?")
                + clausula;
            p = {pApellidoNombre, NumeroParaGuardar(pMatricula), pTipoMatricula, pBaja};
            break;
        default:
            throw DbError(DbError::NumeroErrorOdbc, kFuente, QStringLiteral("42000: Sentencia SQL vacía"),
                          QStringLiteral("42000"));
        }
        Conectar(rdoConnection);
        rdoConnection->Execute(sql, p);
    } catch (...) {
        Relanzar(kFuente);
    }
    return false;
}

std::shared_ptr<DbResult> clsMedico::Buscar(const QString& sWhere, qint32 pMatricula, const QString& pTipoMatricula)
{
    QString condicion;
    QVariantList p;
    if (!sWhere.isEmpty()) {
        condicion = CondicionBuscar(sWhere);
    } else if (pMatricula != 0) {
        condicion = QStringLiteral(" WHERE (Matricula=? AND TipoMatricula = ?)");
        p = {pMatricula, pTipoMatricula};
    } else {
        return nullptr;
    }
    try {
        Conectar(rdoConnection);
        auto rs = std::make_shared<DbResult>(rdoConnection->Query(
            QStringLiteral("SELECT Matricula, TipoMatricula, ApellidoNombre, Baja FROM Medicos ") + condicion, p));
        if (!rs->EOF_()) {
            Matricula = ATexto(rs->value(0));
            TipoMatricula = ATexto(rs->value(1));
            ApellidoNombre = ATexto(rs->value(2));
            Baja = AEntero16(rs->value(3));
        }
        return rs;
    } catch (...) {
        Relanzar(kFuente);
    }
}
