#include "config/modTablas.h"

#include <exception>

namespace modTablas {

std::shared_ptr<Database> AbrirConexion()
{
    auto cn = std::make_shared<Database>();
    cn->Open();
    return cn;
}

void Conectar(std::shared_ptr<Database>& conexion)
{
    if (!conexion)
        conexion = AbrirConexion();
}

void Relanzar(const QString& fuente)
{
    try {
        throw;
    } catch (const DbError& e) {
        throw DbError(e.number, fuente, e.description, e.sqlState, e.nativeError);
    } catch (const VbError& e) {
        throw VbError(e.number, fuente, e.description);
    } catch (const std::exception& e) {
        throw VbError(5, fuente, QString::fromLocal8Bit(e.what()));
    }
}

QString Clausula(const QString& condicion)
{
    return condicion.isEmpty() ? QString() : QStringLiteral(" WHERE (") + condicion + QStringLiteral(")");
}

QString CondicionBuscar(const QString& sWhere)
{
    if (sWhere.contains(QLatin1String("where")))
        return QStringLiteral(" ") + sWhere;
    return Clausula(sWhere);
}

void Ejecutar(std::shared_ptr<Database>& conexion, const QString& sql, const QVariantList& valores,
              const QString& fuente)
{
    try {
        Conectar(conexion);
        conexion->Execute(sql, valores);
    } catch (...) {
        Relanzar(fuente);
    }
}

std::shared_ptr<DbResult> Consultar(std::shared_ptr<Database>& conexion, const QString& sql,
                                    const QVariantList& valores, const QString& fuente)
{
    try {
        Conectar(conexion);
        return std::make_shared<DbResult>(conexion->Query(sql, valores));
    } catch (...) {
        Relanzar(fuente);
    }
}

void OpcionInvalida(const QString& fuente)
{
    throw DbError(DbError::NumeroErrorOdbc, fuente, QStringLiteral("42000: Sentencia SQL vacía"), QStringLiteral("42000"));
}

CondicionSQL SinValores(const QString& condicion) { return CondicionSQL{condicion, {}}; }

}
