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
    return Procesar(iOpcion, pCodigo, pDiagnostico, SinValores(sCondicion));
}

bool clsDiagnosticos::Procesar(int iOpcion, const QString& pCodigo, const QString& pDiagnostico,
                               const CondicionSQL& condicion)
{
    const QString clausula = Clausula(condicion.Texto);
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
            p = condicion.Valores;
            break;
        case 3:
            sql = QStringLiteral("UPDATE Diagnosticos SET Codigo = ?, Diagnostico = ?") + clausula;
            p = {TextoParaGuardar(pCodigo), TextoParaGuardar(pDiagnostico)};
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
    return Leer(condicion, p);
}

std::shared_ptr<DbResult> clsDiagnosticos::Buscar(const CondicionSQL& condicion)
{
    return Leer(Clausula(condicion.Texto), condicion.Valores);
}

std::shared_ptr<DbResult> clsDiagnosticos::Leer(const QString& clausula, const QVariantList& valores)
{
    auto rs = Consultar(rdoConnection,
                       QStringLiteral("SELECT Codigo, Diagnostico, Baja FROM Diagnosticos ") + clausula, valores,
                                      kFuente);
    try {
        if (!rs->EOF_()) {
            Codigo = ATexto(rs->value(0));
            Diagnostico = ATexto(rs->value(1));
        }
    } catch (...) {
        Relanzar(kFuente);
    }
    return rs;
}
