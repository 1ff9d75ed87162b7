#include "reports/clsReporte.h"

#include "entry/modCuit.h"
#include "platform/Database.h"
#include "platform/Vb.h"
#include "txlog/clsLog.h"

#include <cmath>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kSeparador = QStringLiteral("   ");
}

const QString clsReporte::kSinInformacion = QStringLiteral("       SIN INFORMACION             ");

int clsReporte::AnchoNumerico(int tipoOdbc, int tamano)
{
    // The most digits a column of the type is zero-filled to. The drivers describe the same
    // column differently (the embedded SQLite driver calls every integer a BIGINT of 20 and a
    // SMALLINT 6 wide, PostgreSQL's an INTEGER of 10 and a SMALLINT of 5, a DOUBLE PRECISION
    // 54 or 17 wide), so the size counts only up to the digits the type's values are made of:
    // the log's integers are 32-bit numbers.
    int tope = 0;
    switch (tipoOdbc) {
    case -6: tope = 3; break;            // TINYINT
    case 5: tope = 5; break;             // SMALLINT
    case 4: case -5: tope = 10; break;   // INTEGER, BIGINT
    case 7: tope = 7; break;             // REAL
    case 6: case 8: tope = 15; break;    // FLOAT, DOUBLE
    case 2: case 3: return tamano;       // NUMERIC, DECIMAL: their declared precision
    default: return -1;                  // not a number
    }
    return qMin(tamano, tope);
}

QString clsReporte::TextoColumna(const QString& nombre, const QVariant& valor, int tipoOdbc, int tamano)
{
    if (!valor.isValid() || valor.isNull()) return QString();
    const QString texto = Vb::CStr(valor);
    if (nombre.compare(QLatin1String("fechatransaccion"), Qt::CaseInsensitive) == 0)
        return Vb::Mid(texto, 7, 2) + QLatin1Char('/') + Vb::Mid(texto, 5, 2) + QLatin1Char('/') + Vb::Mid(texto, 1, 4);
    if (nombre.compare(QLatin1String("aucuit"), Qt::CaseInsensitive) == 0) return modCuit::FormaCuit(texto);
    // Texts stay as they are whatever the driver calls them (VARCHAR, WVARCHAR, CHAR ...):
    // only numbers are zero-filled, so both engines give the same report.
    const int ancho = AnchoNumerico(tipoOdbc, tamano);
    if (ancho < 0 || !Vb::IsNumeric(texto)) return texto;
    const double numero = Vb::Val(texto);
    const qint64 entero = static_cast<qint64>(std::llround(numero));
    QString digitos = QString::number(entero < 0 ? -entero : entero);
    if (digitos.size() < ancho) digitos = digitos.rightJustified(ancho, QLatin1Char('0'));
    return entero < 0 ? QLatin1Char('-') + digitos : digitos;
}

void clsReporte::Make_Report_txt()
{
    QString detalle;
    if (strsSql_Detalle.isEmpty()) {
        detalle = strDetalle;
    } else {
        if (!conexion) conexion = std::make_shared<clsLog>();
        DbResult rs = conexion->TxGenerica()->Resolver_sql(strsSql_Detalle, valoresSql_Detalle);
        const int columnas = rs.ColumnCount();
        for (; !rs.EOF_(); rs.MoveNext()) {
            for (int i = 0; i < columnas; ++i)
                detalle += kSeparador + TextoColumna(rs.Columns().at(i), rs.value(i), rs.ColumnType(i), rs.ColumnSize(i));
            detalle += kCrLf;
        }
    }
    strDetalle = detalle.isEmpty() ? kSinInformacion : detalle;
    strReport_txt += strCabecera + kCrLf + QStringLiteral("       PRESTADOR: ") + strPrestador + kCrLf + kCrLf +
                     QStringLiteral("       Desde ") + strFecha_Desde + QStringLiteral("    Hasta ") + strFecha_Hasta +
                     kCrLf + QStringLiteral("       Ordenado por ") + strOrdenar_por + kCrLf + kCrLf +
                     strTituloDetalle + kCrLf + strDetalle + kCrLf + strPie + kCrLf;
}
