#include "config/clsObraSocial.h"

#include "config/modTablas.h"
#include "platform/Database.h"

using namespace modTablas;
using namespace ValoresBD;

namespace {
const QString kFuente = QStringLiteral("clsObraSocial");

QVariant NumeroOCero(const QString& t)
{
    return t.trimmed().isEmpty() ? QVariant(qint64(0)) : NumeroParaGuardar(t);
}
}

bool clsObraSocial::Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pNombre, bool pOnLine,
                             bool pUtilizaCI, const QString& pAUISOA, const QString& pEmpresa,
                             const QString& pActividad, const QString& pFilialOS, bool pUtilizaCSC,
                             const QString& sCondicion)
{
    return Procesar(iOpcion, pIdObraSocial, pNombre, pOnLine, pUtilizaCI, pAUISOA, pEmpresa, pActividad, pFilialOS,
                    pUtilizaCSC, SinValores(sCondicion));
}

bool clsObraSocial::Procesar(int iOpcion, const QString& pIdObraSocial, const QString& pNombre, bool pOnLine,
                             bool pUtilizaCI, const QString& pAUISOA, const QString& pEmpresa,
                             const QString& pActividad, const QString& pFilialOS, bool pUtilizaCSC,
                             const CondicionSQL& condicion)
{
    const QString clausula = Clausula(condicion.Texto);
    try {
        QString sql;
        QVariantList p;
        switch (iOpcion) {
        case 1:
            sql = QStringLiteral("INSERT INTO ObrasSociales (Nombre, OnLine, UtilizarCI, IdObraSocial, AUISOA, Empresa, "
                                 "Actividad, FilialOS, UtilizaCSC) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
            p = {TextoParaGuardar(pNombre.trimmed()), pOnLine, pUtilizaCI, NumeroParaGuardar(pIdObraSocial),
                 NumeroOCero(pAUISOA),
                 NumeroOCero(pEmpresa), NumeroOCero(pActividad), NumeroOCero(pFilialOS), pUtilizaCSC};
            break;
        case 2:
            sql = QStringLiteral("DELETE FROM ObrasSociales") + clausula;
            p = condicion.Valores;
            break;
        case 3:
            // An empty number writes 0, as the insert does.
            sql = QStringLiteral("UPDATE ObrasSociales SET Nombre = ?, OnLine = ?, UtilizarCI = ?, IdObraSocial = ?, "
                                 "AUISOA = ?, Empresa = ?, Actividad = ?, UtilizaCSC = ?, FilialOS = ?") + clausula;
            p = {TextoParaGuardar(pNombre), pOnLine, pUtilizaCI, NumeroParaGuardar(pIdObraSocial),
                 NumeroOCero(pAUISOA), NumeroOCero(pEmpresa),
                 NumeroOCero(pActividad), pUtilizaCSC, NumeroOCero(pFilialOS)};
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

std::shared_ptr<DbResult> clsObraSocial::Buscar(const QString& sWhere, qint32 pEmpresa, qint32 pActividad)
{
    QString condicion;
    QVariantList p;
    if (!sWhere.isEmpty()) {
        condicion = CondicionBuscar(sWhere);
    } else if (pEmpresa != 0) {
        // Two insurers may share a company and activity; the first row must be the same one
        // whatever index the engine walks, so the table update renames the account file's own.
        condicion = QStringLiteral(" WHERE (Empresa=? AND Actividad=?) ORDER BY IdObraSocial");
        p = {pEmpresa, pActividad};
    } else {
        return nullptr;
    }
    return Leer(condicion, p);
}

std::shared_ptr<DbResult> clsObraSocial::Buscar(const CondicionSQL& condicion)
{
    return Leer(Clausula(condicion.Texto), condicion.Valores);
}

std::shared_ptr<DbResult> clsObraSocial::Leer(const QString& clausula, const QVariantList& valores)
{
    auto rs = Consultar(rdoConnection,
                       QStringLiteral("SELECT Nombre, OnLine, UtilizarCI, IdObraSocial, AUISOA, Empresa, Actividad, FilialOS, "
                       "UtilizaCSC FROM ObrasSociales ") + clausula, valores, kFuente);
    try {
        if (!rs->EOF_()) {
            Nombre = ATexto(rs->value(0));
            OnLine = NuloAVerdad(rs->value(1));
            UtilizaCI = NuloAVerdad(rs->value(2));
            IdObraSocial = AEntero16(rs->value(3));
            AUISOA = ADoble(rs->value(4));
            Empresa = AEntero16(rs->value(5));
            Actividad = AEntero16(rs->value(6));
            FilialOS = AEntero16(rs->value(7));
            UtilizaCSC = NuloAVerdad(rs->value(8));
        }
    } catch (...) {
        Relanzar(kFuente);
    }
    return rs;
}
