#include "config/modTablas.h"

#include "platform/Vb.h"

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

bool Verdad(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        throw VbError(94, QString(), QStringLiteral("Invalid use of Null"));
    if (valor.typeId() == QMetaType::Bool)
        return valor.toBool();
    if (valor.typeId() == QMetaType::QString) {
        const QString t = valor.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("verdadero"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("falso"), Qt::CaseInsensitive) == 0)
            return false;
        if (!Vb::IsNumeric(t))
            throw VbError(VbError::TypeMismatch, QString(), QStringLiteral("Type mismatch"));
        return Vb::Val(t) != 0;
    }
    return Vb::CDblValue(valor) != 0;
}

QVariant Numero(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return QVariant(qint64(0));
    if (!Vb::IsNumeric(t))
        throw VbError(VbError::TypeMismatch, QString(), QStringLiteral("Type mismatch"));
    const QString digits = Vb::ValIntegerDigits(t);
    if (!digits.isEmpty()) {
        bool ok = false;
        const qint64 n = digits.toLongLong(&ok);
        if (ok)
            return QVariant(n);
    }
    return QVariant(Vb::Val(t));
}

QString Texto(const QString& texto)
{
    return texto.isNull() ? QStringLiteral("") : texto;
}

QString ATexto(const QVariant& valor)
{
    return Vb::CStr(valor);
}

qint16 AEntero16(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return 0;
    return Vb::CInt(Vb::Val(Vb::CStr(valor)));
}

qint32 AEntero32(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return 0;
    return Vb::CLng(Vb::Val(Vb::CStr(valor)));
}

double ADoble(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return 0;
    return Vb::Val(Vb::CStr(valor));
}

bool AFlag(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return false;
    return Vb::Val(Vb::CStr(valor)) != 0;
}

}
