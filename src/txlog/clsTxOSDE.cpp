#include "txlog/clsTxOSDE.h"

#include "engine/modUtils.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/modLog.h"

namespace {

const QString kFuente = QStringLiteral("Quorvan.clsTxOSDE");
const QString kSqlRespuesta = QStringLiteral(
    "INSERT INTO TOSDE_svl3 (NumeroTransaccion, AUAUTO, AUWHOO, AUREST, AULEYD, AULEYP, AUMONT, AUSYST) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

// A stored text as it stands; empty for null.
QString Texto(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

qint16 Entero16(const QVariant& v)
{
    return Vb::CInt(static_cast<double>(modUtils::NuloANumero(v)));
}

const modLog::FormaListado& Forma()
{
    static const modLog::FormaListado forma{
        kFuente,
        false,
        QStringLiteral("SELECT AUASOA AS Afiliado, COUNT(*) AS Tickets FROM TOSDE_svl1 "
                       "WHERE NOT (AUTRAC = '04' AND AUATRC = 'A') AND FechaTransaccion BETWEEN ? AND ?%1 "
                       "GROUP BY AUASOA"),
        QStringLiteral("SELECT COUNT(*) AS Prestaciones FROM TOSDE_svl1 T1, TOSDE_svl2 T2 "
                       "WHERE T1.NumeroTransaccion = T2.NumeroTransaccion AND AUASOA = ?%1"),
        false,
        QStringLiteral("SELECT COUNT(*) AS Anulaciones FROM TOSDE_svl1 WHERE AUTRAC = '04' AND AUATRC = 'A' "
                       "AND FechaTransaccion BETWEEN ? AND ?%1"),
        QStringLiteral("SELECT AUASOA AS Afiliado, NombreAfiliado, NumeroTransaccion, FechaTransaccion "
                       "FROM TOSDE_svl1 WHERE FechaTransaccion BETWEEN ? AND ?%1 ORDER BY AUASOA"),
        QStringLiteral("SELECT AUPRE AS Prestacion FROM TOSDE_svl2 WHERE NumeroTransaccion = ?"),
        QStringLiteral("Prestacion"),
        QString(),
        true,
    };
    return forma;
}

}

clsTxOSDE::clsTxOSDE() : m_Prestaciones(std::make_shared<Lineas>()) {}

Database& clsTxOSDE::cn()
{
    if (!m_cn)
        throw VbError(91, kFuente, QStringLiteral("El registro no tiene conexión a la base de datos"));
    return *m_cn;
}

qint32 clsTxOSDE::InsertarSolicitud(Database& db, bool Diferida, modLog::Escrito& escrito)
{
    const qint32 numero = modLog::NumeroSiguiente(db, QStringLiteral("TOSDE_svl1"));
    escrito.tabla = QStringLiteral("TOSDE_svl1");
    escrito.columnas = QStringList{
        QStringLiteral("IdTerminal"), QStringLiteral("NumeroTransaccion"), QStringLiteral("AUCUIT"),
        QStringLiteral("AUISOA"), QStringLiteral("AUFILA"), QStringLiteral("AUASOA"), QStringLiteral("AUBENA"),
        QStringLiteral("AUDIGA"), QStringLiteral("AUVERA"), QStringLiteral("AUTRAC"), QStringLiteral("AUATRC"),
        QStringLiteral("AUMANA"), QStringLiteral("AUWREF"), QStringLiteral("AUNREF"), QStringLiteral("AUTMAT"),
        QStringLiteral("AUNMAT"), QStringLiteral("AUCEFE"), QStringLiteral("AUFECP"), QStringLiteral("AUDSM1"),
        QStringLiteral("AUDSM2"), QStringLiteral("AUFINA"), QStringLiteral("NombreMedico"),
        QStringLiteral("NombreAfiliado"), QStringLiteral("FechaTransaccion"), QStringLiteral("Diferida")};
    escrito.tablaLineas = QStringLiteral("TOSDE_svl2");
    escrito.columnasLineas = QStringList{QStringLiteral("NumeroTransaccion"), QStringLiteral("AUPRE"),
                                         QStringLiteral("AUTIP"),             QStringLiteral("AUARA"),
                                         QStringLiteral("AUCAN"),             QStringLiteral("AUODP"),
                                         QStringLiteral("AUODC")};
    escrito.InsertarCabecera(db, numero,
                             {static_cast<int>(IdTerminal), numero, AUCUIT, AUISOA, AUFILA, AUASOA, AUBENA, AUDIGA,
                              AUVERA, AUTRAC, AUATRC, AUMANA, AUWREF, AUNREF, AUTMAT, AUNMAT, AUCEFE, AUFECP, AUDSM1,
                              AUDSM2, AUFINA, NombreMedico, NombreAfiliado, modLog::FechaHoy(), Diferida ? 1 : 0});
    for (const auto& l : *m_Prestaciones)
        escrito.InsertarLinea(db, {numero, l->AUPRE, QString::number(l->AUTIP), QString::number(l->AUARA),
                                   QString::number(l->AUCAN), l->AUODP, l->AUODC});
    if (!Diferida)
        db.Execute(kSqlRespuesta, modLog::Valores({numero, AUAUTO, AUWHOO, AUREST, AULEYD, AULEYP, AUMONT, AUSYST}));
    return numero;
}

qint32 clsTxOSDE::Save(bool Diferida)
{
    try {
        Database& db = cn();
        qint32 numero = 0;
        modLog::Escrito escrito;
        db.EnTransaccionDeEscritura(QStringLiteral("TOSDE_svl1"),
                                    [&] { numero = InsertarSolicitud(db, Diferida, escrito); });
        return numero;
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

qint32 clsTxOSDE::GuardarSolicitud(bool Diferida)
{
    try {
        Database& db = cn();
        // Outside the transaction: after a lost COMMIT answer it names the row to look for.
        modLog::Escrito escrito;
        try {
            db.EnTransaccionDeEscritura(QStringLiteral("TOSDE_svl1"), [&] {
                InsertarSolicitud(db, Diferida, escrito);
                ActualizarRespuestas(escrito.numero);
            });
        } catch (const DbError&) {
            // A retry by the clerk would store it twice.
            if (!db.ConfirmacionPerdida() || escrito.numero == 0) throw;
            modLog::ComprobarGuardado(db, escrito, kFuente, modLog::Clase::Solicitud);
        }
        return escrito.numero;
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

void clsTxOSDE::ActualizarRespuestas(qint32 NroTransaccion)
{
    for (const auto& l : *m_Prestaciones)
        cn().Execute(QStringLiteral("UPDATE TOSDE_svl2 SET AURES = ? WHERE NumeroTransaccion = ? AND AUPRE = ?"),
                     modLog::Valores({l->AURES, NroTransaccion, l->AUPRE}));
}

void clsTxOSDE::UpdateRsp(qint32 NroTransaccion)
{
    try {
        ActualizarRespuestas(NroTransaccion);
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

std::shared_ptr<Coleccion<clsTxDiferida>> clsTxOSDE::GetTxDiferidas(qint16 Terminal)
{
    try {
        auto lista = std::make_shared<Coleccion<clsTxDiferida>>();
        const qint16 terminal = Terminal == 0 ? IdTerminal : Terminal;
        for (DbResult r = cn().Query(QStringLiteral("SELECT * FROM TOSDE_svl1 WHERE IdTerminal = ? AND Diferida = 1"),
                                     {static_cast<int>(terminal)});
             !r.EOF_(); r.MoveNext()) {
            auto d = std::make_shared<clsTxDiferida>();
            d->NroTransaccion = modUtils::NuloANumero(r[QStringLiteral("NumeroTransaccion")]);
            d->AUASOA = Texto(r[QStringLiteral("AUASOA")]);
            d->AUATRC = Texto(r[QStringLiteral("AUATRC")]);
            d->AUBENA = Texto(r[QStringLiteral("AUBENA")]);
            d->AUCUIT = Texto(r[QStringLiteral("AUCUIT")]);
            d->AUDIGA = Texto(r[QStringLiteral("AUDIGA")]);
            d->AUVERA = Texto(r[QStringLiteral("AUVERA")]);
            d->AUDSM1 = Texto(r[QStringLiteral("AUDSM1")]);
            d->AUDSM2 = Texto(r[QStringLiteral("AUDSM2")]);
            d->AUFECP = Texto(r[QStringLiteral("AUFECP")]);
            d->AUFILA = Texto(r[QStringLiteral("AUFILA")]);
            d->AUFINA = Texto(r[QStringLiteral("AUFINA")]);
            d->AUISOA = Texto(r[QStringLiteral("AUISOA")]);
            d->AUMANA = Texto(r[QStringLiteral("AUMANA")]);
            d->AUNMAT = Texto(r[QStringLiteral("AUNMAT")]);
            d->AUNREF = Texto(r[QStringLiteral("AUNREF")]);
            d->AUTMAT = Texto(r[QStringLiteral("AUTMAT")]);
            d->AUTRAC = Texto(r[QStringLiteral("AUTRAC")]);
            d->AUWREF = Texto(r[QStringLiteral("AUWREF")]);
            lista->Add(d);
        }
        return lista;
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

std::shared_ptr<clsTxOSDE::Lineas> clsTxOSDE::GetPrestacionesDif(qint32 NroTransaccion)
{
    try {
        auto lista = std::make_shared<Lineas>();
        for (DbResult r = cn().Query(QStringLiteral("SELECT * FROM TOSDE_svl2 WHERE NumeroTransaccion = ?"),
                                     {NroTransaccion});
             !r.EOF_(); r.MoveNext()) {
            auto l = std::make_shared<clsPrestacionTxOSDE>();
            l->AUPRE = Texto(r[QStringLiteral("AUPRE")]);
            l->AUTIP = Entero16(r[QStringLiteral("AUTIP")]);
            l->AUARA = Entero16(r[QStringLiteral("AUARA")]);
            l->AUCAN = Entero16(r[QStringLiteral("AUCAN")]);
            l->AUODP = Texto(r[QStringLiteral("AUODP")]);
            l->AUODC = Texto(r[QStringLiteral("AUODC")]);
            l->AURES = Texto(r[QStringLiteral("AURES")]);
            lista->Add(l);
        }
        return lista;
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

void clsTxOSDE::UpdateDiferida(qint32 NroTransaccion)
{
    try {
        Database& db = cn();
        db.EnTransaccionDeEscritura(QStringLiteral("TOSDE_svl1"), [&] {
            // Only a request still waiting for its answer gets one: never a second answer row.
            if (db.Execute(QStringLiteral("UPDATE TOSDE_svl1 SET Diferida = 0 WHERE NumeroTransaccion = ? "
                                          "AND Diferida = 1"),
                           modLog::Valores({NroTransaccion}))
                < 1)
                throw VbError(3021, kFuente,
                              QStringLiteral("La transacción %1 no es una solicitud diferida").arg(NroTransaccion));
            db.Execute(kSqlRespuesta, modLog::Valores({NroTransaccion, Vb::Trim(AUAUTO), Vb::Trim(AUWHOO), Vb::Trim(AUREST),
                                       Vb::Trim(AULEYD), Vb::Trim(AULEYP), Vb::Str(Vb::Val(AUMONT) / 100), AUSYST}));
            ActualizarRespuestas(NroTransaccion);
        });
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

qint32 clsTxOSDE::ExportarArchivo(const QString& sql, const QVariantList& params, const QString& archivo,
                                  const QString& Delimiter)
{
    return modLog::ExportarConsulta(
        cn(), sql, params, archivo, Delimiter, [this](qint32 total) { MaxRow = total; },
        [this](qint32 n) { emit RowCount(n); });
}

qint32 clsTxOSDE::ExportFile(const QString& strSQL, const QString& strFile, const QString& Delimiter)
{
    try {
        return ExportarArchivo(strSQL, {}, strFile, Delimiter);
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

qint32 clsTxOSDE::Export(const QString& DestDir, bool Detail, const QString& Delimiter)
{
    try {
        return modLog::Exportar(
            cn(), {QStringLiteral("TOSDE_svl1"), QStringLiteral("TOSDE_svl2"), QStringLiteral("TOSDE_svl3")},
            {QStringLiteral("_Cabecera.txt"), QStringLiteral("_Detalle.txt"), QStringLiteral("_Respuesta.txt")},
            DestDir, Detail, ObraSocial,
            [&](const QString& sql, const QVariantList& params, const QString& archivo) {
                return ExportarArchivo(sql, params, archivo, Delimiter);
            });
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}

QString clsTxOSDE::ArmarListado(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                                qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal)
{
    return modLog::ArmarListado(cn(), Forma(), ObraSocial, TipoReporte, FechaDesde, FechaHasta, TerminalDesde,
                                TerminalHasta, GroupTerminal);
}

QString clsTxOSDE::PrintReport(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                               qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal)
{
    try {
        const QString encabezado = modLog::Encabezado(ObraSocial, TipoReporte, FechaDesde, FechaHasta);
        return encabezado + ArmarListado(TipoReporte, FechaDesde, FechaHasta, TerminalDesde, TerminalHasta, GroupTerminal);
    } catch (...) {
        modLog::Relanzar(kFuente);
    }
}
