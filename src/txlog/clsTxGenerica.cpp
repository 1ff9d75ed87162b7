#include "txlog/clsTxGenerica.h"

#include "engine/modUtils.h"
#include "platform/VbError.h"
#include "txlog/modLog.h"

namespace {

const QString kFuente = QStringLiteral("Quorvan.clsTxGenerica");

const modLog::FormaListado& Forma()
{
    static const modLog::FormaListado forma{
        kFuente,
        true,
        QStringLiteral("SELECT NumeroAfiliado AS Afiliado, COUNT(*) AS Tickets FROM TGenerica_svl1 "
                       "WHERE IdObraSocial = ? AND CodigoTransaccion <> '4A' AND FechaTransaccion BETWEEN ? AND ?%1 "
                       "GROUP BY NumeroAfiliado"),
        QStringLiteral("SELECT COUNT(*) AS Prestaciones FROM TGenerica_svl1 T1, TGenerica_svl2 T2 "
                       "WHERE T1.NumeroTransaccion = T2.NumeroTransaccion AND NumeroAfiliado = ?%1"),
        true,
        QStringLiteral("SELECT COUNT(*) AS Anulaciones FROM TGenerica_svl1 WHERE CodigoTransaccion = '4A' "
                       "AND IdObraSocial = ? AND FechaTransaccion BETWEEN ? AND ?%1"),
        QStringLiteral("SELECT NumeroAfiliado AS Afiliado, NombreAfiliado, NumeroTransaccion, FechaTransaccion "
                       "FROM TGenerica_svl1 WHERE IdObraSocial = ? AND FechaTransaccion BETWEEN ? AND ?%1 "
                       "ORDER BY NumeroAfiliado"),
        QStringLiteral("SELECT * FROM TGenerica_svl2 WHERE NumeroTransaccion = ?"),
        QStringLiteral("CodigoPrestacion"),
        QStringLiteral(" - "),
        false,
    };
    return forma;
}

}

clsTxGenerica::clsTxGenerica() : m_Prestaciones(std::make_shared<Lineas>()) {}

Database& clsTxGenerica::cn()
{
    if (!m_cn)
        throw VbError(91, kFuente, QStringLiteral("El registro no tiene conexión a la base de datos"));
    return *m_cn;
}

void clsTxGenerica::Save()
{
    try {
        Database& db = cn();
        qint32 idObraSocial = 0;
        {
            const DbResult r = db.Query(QStringLiteral("SELECT * FROM ObrasSociales WHERE Nombre = ?"), {ObraSocial});
            if (r.RowCount() > 0)
                idObraSocial = modUtils::NuloANumero(r[QStringLiteral("IdObraSocial")]);
        }
        // Outside the transaction: after a lost COMMIT answer it names the row to look for.
        modLog::Escrito escrito;
        escrito.tabla = QStringLiteral("TGenerica_svl1");
        escrito.columnas = QStringList{
            QStringLiteral("IdTerminal"), QStringLiteral("NumeroTransaccion"), QStringLiteral("CodigoTransaccion"),
            QStringLiteral("CuitPrestador"), QStringLiteral("Banda"), QStringLiteral("NombreAfiliado"),
            QStringLiteral("NumeroAfiliado"), QStringLiteral("NumeroAutorizacion"), QStringLiteral("TipoMatricula"),
            QStringLiteral("NumeroMatricula"), QStringLiteral("FormaIngreso"), QStringLiteral("NombreMedico"),
            QStringLiteral("FechaTransaccion"), QStringLiteral("IdObraSocial")};
        escrito.tablaLineas = QStringLiteral("TGenerica_svl2");
        escrito.columnasLineas = QStringList{QStringLiteral("NumeroTransaccion"), QStringLiteral("CodigoPrestacion"),
                                             QStringLiteral("CodigoAutorizacion"), QStringLiteral("Diagnostico")};
        try {
            db.EnTransaccionDeEscritura(QStringLiteral("TGenerica_svl1"), [&] {
                const qint32 numero = modLog::NumeroSiguiente(db, QStringLiteral("TGenerica_svl1"));
                escrito.InsertarCabecera(
                    db, numero,
                    {static_cast<int>(IdTerminal), numero, CodigoTransaccion, CuitPrestador, Banda, NombreAfiliado,
                     NumeroAfiliado, QString::number(NumeroAutorizacion), TipoMatricula, NumeroMatricula, FormaIngreso,
                     NombreMedico, modLog::FechaHoy(), idObraSocial});
                for (const auto& l : *m_Prestaciones)
                    escrito.InsertarLinea(db, {numero, l->CodigoPrestacion, l->CodigoAutorizacion, l->Diagnostico});
            });
        } catch (const DbError&) {
            // A retry by the clerk would store it twice.
            if (!db.ConfirmacionPerdida() || escrito.numero == 0) throw;
            modLog::ComprobarGuardado(db, escrito, kFuente, modLog::Clase::Captura);
        }
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

DbResult clsTxGenerica::Resolver_sql(const QString& sSql)
{
    return cn().Query(sSql);
}

DbResult clsTxGenerica::Resolver_sql(const QString& sSql, const QVariantList& valores)
{
    return cn().Query(sSql, valores);
}

qint32 clsTxGenerica::ExportarArchivo(const QString& sql, const QVariantList& params, const QString& archivo,
                                      const QString& Delimiter)
{
    return modLog::ExportarConsulta(
        cn(), sql, params, archivo, Delimiter, [this](qint32 total) { MaxRow = total; },
        [this](qint32 n) { emit RowCount(n); });
}

qint32 clsTxGenerica::ExportFile(const QString& strSQL, const QString& strFile, const QString& Delimiter)
{
    try {
        return ExportarArchivo(strSQL, {}, strFile, Delimiter);
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

qint32 clsTxGenerica::Export(const QString& DestDir, bool Detail, const QString& Delimiter)
{
    try {
        return modLog::Exportar(cn(), {QStringLiteral("TGenerica_svl1"), QStringLiteral("TGenerica_svl2")},
                                {QStringLiteral("_Cabecera.txt"), QStringLiteral("_Detalle.txt")}, DestDir, Detail,
                                ObraSocial, [&](const QString& sql, const QVariantList& params, const QString& archivo) {
                                    return ExportarArchivo(sql, params, archivo, Delimiter);
                                });
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

QString clsTxGenerica::ArmarListado(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                                    qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal)
{
    return modLog::ArmarListado(cn(), Forma(), ObraSocial, TipoReporte, FechaDesde, FechaHasta, TerminalDesde,
                                TerminalHasta, GroupTerminal);
}

QString clsTxGenerica::PrintReport(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                                   qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal)
{
    try {
        const QString encabezado = modLog::Encabezado(ObraSocial, TipoReporte, FechaDesde, FechaHasta);
        return encabezado + ArmarListado(TipoReporte, FechaDesde, FechaHasta, TerminalDesde, TerminalHasta, GroupTerminal);
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}
