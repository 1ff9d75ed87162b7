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
    return Procesar(iOpcion, pApellidoNombre, pMatricula, pTipoMatricula, pBaja, SinValores(Condicion));
}

bool clsMedico::Procesar(int iOpcion, const QString& pApellidoNombre, const QString& pMatricula,
                         const QString& pTipoMatricula, bool pBaja, const CondicionSQL& condicion)
{
    // The name goes in as a bound value, apostrophes and all ("D'Angelo" stays "D'Angelo").
    const QString clausula = Clausula(condicion.Texto);
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
            p = condicion.Valores;
            break;
        case 3:
            sql = QStringLiteral("UPDATE Medicos SET ApellidoNombre = ?, Matricula = ?, TipoMatricula = ?, Baja = ?")
                + clausula;
            p = {pApellidoNombre, NumeroParaGuardar(pMatricula), pTipoMatricula, pBaja};
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
    return Leer(condicion, p);
}

std::shared_ptr<DbResult> clsMedico::Buscar(const CondicionSQL& condicion)
{
    return Leer(Clausula(condicion.Texto), condicion.Valores);
}

std::shared_ptr<DbResult> clsMedico::Leer(const QString& clausula, const QVariantList& valores)
{
    auto rs = Consultar(rdoConnection,
                       QStringLiteral("SELECT Matricula, TipoMatricula, ApellidoNombre, Baja FROM Medicos ") + clausula, valores, kFuente);
    try {
        if (!rs->EOF_()) {
            Matricula = ATexto(rs->value(0));
            TipoMatricula = ATexto(rs->value(1));
            ApellidoNombre = ATexto(rs->value(2));
            Baja = AEntero16(rs->value(3));
        }
    } catch (...) {
        Relanzar(kFuente);
    }
    return rs;
}
