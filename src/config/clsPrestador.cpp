#include "config/clsPrestador.h"

#include "config/modTablas.h"
#include "platform/Database.h"
#include "platform/Vb.h"

using namespace modTablas;
using namespace ValoresBD;

namespace {
const QString kFuente = QStringLiteral("clsPrestador");

int MatPrescriptor(QString t)
{
    if (t.isEmpty())
        t = QStringLiteral("0");
    return t == QLatin1String("1") ? 1 : 0;
}
}

bool clsPrestador::Procesar(int iOpcion, const QString& pIdPrestador, const QString& pNombre, const QString& pCuit,
                            const QString& pRequierePrescripcion, const QString& pOdontologo,
                            const QString& pcodigoOSDE, const QString& pPredeterminado, const QString& pFilial,
                            const QString& pAdmisor, const QVariant& pBaja, const QVariant& pLicencia,
                            const QString& sCondicion, const QString& pRequiereMatPrescriptor)
{
    return Procesar(iOpcion, pIdPrestador, pNombre, pCuit, pRequierePrescripcion, pOdontologo, pcodigoOSDE,
                    pPredeterminado, pFilial, pAdmisor, pBaja, pLicencia, SinValores(sCondicion),
                    pRequiereMatPrescriptor);
}

bool clsPrestador::Procesar(int iOpcion, const QString& pIdPrestador, const QString& pNombre, const QString& pCuit,
                            const QString& pRequierePrescripcion, const QString& pOdontologo,
                            const QString& pcodigoOSDE, const QString& pPredeterminado, const QString& pFilial,
                            const QString& pAdmisor, const QVariant& pBaja, const QVariant& pLicencia,
                            const CondicionSQL& condicion, const QString& pRequiereMatPrescriptor)
{
    const QString clausula = Clausula(condicion.Texto);
    try {
        QString sql;
        QVariantList p;
        switch (iOpcion) {
        case 1: {
            QString id = pIdPrestador;
            if (id.isEmpty() || Vb::Val(id) == 0)
                id = QString::number(MaxID());
            sql = QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, "
                                 "codigoOSDE, Predeterminado, Filial, Admisor, Baja, Licencia, RequiereMatPrescriptor) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
            p = {NumeroParaGuardar(id), TextoParaGuardar(pNombre), TextoParaGuardar(pCuit),
                 VerdadNoCero(pRequierePrescripcion), NumeroParaGuardar(pOdontologo),
                 NumeroParaGuardar(pcodigoOSDE), VerdadNoCero(pPredeterminado), NumeroParaGuardar(pFilial),
                                   NumeroParaGuardar(pAdmisor), VerdadNoCero(pBaja),
                 Vb::CStr(pLicencia), MatPrescriptor(pRequiereMatPrescriptor)};
            break;
        }
        case 2:
            sql = QStringLiteral("DELETE FROM Prestadores") + clausula;
            p = condicion.Valores;
            break;
        case 3:
            sql = QStringLiteral("UPDATE Prestadores SET Nombre = ?, Cuit = ?, RequierePrescripcion = ?, Odontologo = ?, "
                                 "codigoOSDE = ?, Predeterminado = ?, Filial = ?, Admisor = ?, Baja = ?, "
                                 "RequiereMatPrescriptor = ?, Licencia = ?") + clausula;
            p = {TextoParaGuardar(pNombre), TextoParaGuardar(pCuit), VerdadNoCero(pRequierePrescripcion),
                 NumeroParaGuardar(pOdontologo), NumeroParaGuardar(pcodigoOSDE),
                 VerdadNoCero(pPredeterminado), NumeroParaGuardar(pFilial), NumeroParaGuardar(pAdmisor),
                              VerdadNoCero(pBaja),
                 MatPrescriptor(pRequiereMatPrescriptor), Vb::CStr(pLicencia)};
            p += condicion.Valores;
            break;
        default:
            OpcionInvalida(kFuente);
        }
        Ejecutar(rdoConnection, sql, p, kFuente);
    } catch (const DbError& e) {
        // A provider that is already there: recognised by SQLSTATE, whatever the driver.
        if (e.isUniqueViolation())
            return false;
        Relanzar(kFuente);
    } catch (...) {
        Relanzar(kFuente);
    }
    return false;
}

std::shared_ptr<DbResult> clsPrestador::Buscar(const QString& sWhere, const QString& pCuit)
{
    QString condicion;
    QVariantList p;
    if (!sWhere.isEmpty()) {
        condicion = CondicionBuscar(sWhere);
    } else if (!pCuit.isEmpty() && Vb::Val(pCuit) != 0) {
        condicion = QStringLiteral(" WHERE (Cuit=?)");
        p = {pCuit};
    } else {
        return nullptr;
    }
    return Leer(condicion, p);
}

std::shared_ptr<DbResult> clsPrestador::Buscar(const CondicionSQL& condicion)
{
    return Leer(Clausula(condicion.Texto), condicion.Valores);
}

std::shared_ptr<DbResult> clsPrestador::Leer(const QString& clausula, const QVariantList& valores)
{
    auto rs = Consultar(rdoConnection,
                       QStringLiteral("SELECT IdPrestador, Nombre, Cuit, RequierePrescripcion, Odontologo, codigoOSDE, "
                       "Predeterminado, Filial, Admisor, Baja, Licencia, RequiereMatPrescriptor FROM Prestadores ") + clausula, valores, kFuente);
    try {
        if (!rs->EOF_()) {
            idPrestador = AEntero16(rs->value(0));
            Nombre = ATexto(rs->value(1));
            Cuit = ATexto(rs->value(2));
            RequierePrescripcion = NuloAVerdad(rs->value(3));
            Odontologo = AEntero16(rs->value(4));
            codigoOSDE = ADoble(rs->value(5));
            Predeterminado = NuloAVerdad(rs->value(6));
            Filial = AEntero16(rs->value(7));
            Admisor = AEntero16(rs->value(8));
            Baja = AEntero16(rs->value(9));
            Licencia = ATexto(rs->value(10));
            RequiereMatPrescriptor = AEntero16(rs->value(11));
        }
    } catch (...) {
        Relanzar(kFuente);
    }
    return rs;
}

qint32 clsPrestador::MaxID()
{
    try {
        Conectar(rdoConnection);
        const DbResult rs = rdoConnection->Query(QStringLiteral("SELECT MAX(Prestadores.IdPrestador) FROM Prestadores"));
        if (rs.EOF_())
            return 0;
        const QVariant v = rs.value(0);
        if (!v.isValid() || v.isNull() || Vb::Val(Vb::CStr(v)) == 0)
            return 1;
        return AEntero32(v) + 1;
    } catch (...) {
        Relanzar(kFuente);
    }
}
