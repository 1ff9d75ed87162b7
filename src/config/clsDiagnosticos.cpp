#include "config/clsDiagnosticos.h"

#include "config/modTablas.h"
#include "platform/Database.h"
#include "platform/Vb.h"

using namespace modTablas;
using namespace ValoresBD;

namespace {
const QString kFuente = QStringLiteral("clsDiagnostico");
}

bool clsDiagnosticos::Procesar(int iOpcion, const QString& pCodigo, const QString& pDiagnostico,
                               const QString& sCondicion)
{
    const QString clausula = Clausula(sCondicion);
    try {
        QString sql;
        QVariantList p;
        switch (iOpcion) {
        case 1:
            sql = QStringLiteral("INSERT INTO Diagnosticos (Codigo, Diagnostico) VALUES (?, ?)");
            p = {TextoParaGuardar(pCodigo), TextoParaGuardar(pDiagnostico)};
            break;
        case 2:
            sql = QStringLiteral("DELETE FROM Diagnosticos") + clausula;
            break;
        case 3:
            sql = QStringLiteral("UPDATE Diagnosticos SET Codigo = ?, Diagnostico = ?") + clausula;
            p = {TextoParaGuardar(pCodigo), TextoParaGuardar(pDiagnostico)};
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

std::shared_ptr<DbResult> clsDiagnosticos::Buscar(const QString& sWhere, QString& pCodigo)
{
    QString condicion;
    QVariantList p;
    if (!sWhere.isEmpty()) {
        condicion = CondicionBuscar(sWhere);
    } else if (!Vb::Trim(pCodigo).isEmpty()) {
        condicion = QStringLiteral(" WHERE (Codigo=?)");
        p = {Vb::Trim(pCodigo)};
    } else {
        return nullptr;
    }
    try {
        Conectar(rdoConnection);
        auto rs = std::make_shared<DbResult>(
            rdoConnection->Query(QStringLiteral("SELECT Codigo, Diagnostico, Baja FROM Diagnosticos ") + condicion, p));
        if (!rs->EOF_()) {
            Codigo = ATexto(rs->value(0));
            Diagnostico = ATexto(rs->value(1));
        }
        return rs;
    } catch (...) {
        Relanzar(kFuente);
    }
}
