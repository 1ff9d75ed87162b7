#include "txlog/modLog.h"

#include "engine/modUtils.h"
#include "platform/Codec1252.h"
#include "platform/Database.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace modLog {

void Relanzar(const QString& fuente)
{
    try {
        throw;
    } catch (const VbError& e) {
        throw VbError(e.number, fuente, e.description);
    } catch (const std::exception& e) {
        throw VbError(51, fuente, QString::fromLocal8Bit(e.what()));
    }
}

qint32 NumeroSiguiente(Database& cn, const QString& tabla)
{
    const DbResult r =
        cn.Query(QStringLiteral("SELECT MAX(NumeroTransaccion) AS MaxTransaccion FROM %1").arg(tabla));
    const QVariant v = r.RowCount() > 0 ? r[QStringLiteral("MaxTransaccion")] : QVariant();
    const double maximo = v.isNull() ? 0.0 : v.toDouble();
    return Vb::CLng(maximo + 1);
}

QVariantList Valores(QVariantList valores)
{
    for (QVariant& v : valores)
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            v = QVariant(QStringLiteral(""));
    return valores;
}

namespace {
QString Insercion(const QString& tabla, const QStringList& columnas)
{
    QStringList marcas;
    for (int i = 0; i < columnas.size(); ++i) marcas << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(tabla, columnas.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
}
}

void Escrito::InsertarCabecera(Database& cn, qint32 numeroNuevo, const QVariantList& valoresNuevos)
{
    numero = numeroNuevo;
    valores = Valores(valoresNuevos);
    lineas.clear();
    cn.Execute(Insercion(tabla, columnas), valores);
}

void Escrito::InsertarLinea(Database& cn, const QVariantList& valoresLinea)
{
    lineas << Valores(valoresLinea);
    cn.Execute(Insercion(tablaLineas, columnasLineas), lineas.last());
}

namespace {
// A stored value against the one written: numbers by value (drivers hand them back as text or
// as numbers), texts exactly; the driver may read an empty text back as null.
bool MismoValor(const QVariant& leido, const QVariant& escrito)
{
    if (escrito.typeId() == QMetaType::QString)
        return leido.isNull() ? escrito.toString().isEmpty() : leido.toString() == escrito.toString();
    bool ok = false;
    const double v = leido.toDouble(&ok);
    return ok && v == escrito.toDouble();
}

bool MismaFila(const QVariantList& leida, const QVariantList& escrita)
{
    for (int i = 0; i < escrita.size(); ++i)
        if (!MismoValor(leida.value(i), escrita.at(i))) return false;
    return true;
}

// The header under its number holds what was written, and its lines are the written ones, each
// matched once.
bool QuedoGuardado(Database& cn, const Escrito& escrito)
{
    const DbResult cabecera = cn.Query(QStringLiteral("SELECT %1 FROM %2 WHERE NumeroTransaccion = ?")
                                           .arg(escrito.columnas.join(QStringLiteral(", ")), escrito.tabla),
                                       {escrito.numero});
    if (cabecera.RowCount() != 1 || !MismaFila(cabecera.Rows().first(), escrito.valores)) return false;
    QList<QVariantList> guardadas =
        cn.Query(QStringLiteral("SELECT %1 FROM %2 WHERE NumeroTransaccion = ?")
                     .arg(escrito.columnasLineas.join(QStringLiteral(", ")), escrito.tablaLineas),
                 {escrito.numero})
            .Rows();
    if (guardadas.size() != escrito.lineas.size()) return false;
    for (const QVariantList& escrita : escrito.lineas) {
        const auto igual = std::find_if(guardadas.begin(), guardadas.end(),
                                        [&](const QVariantList& leida) { return MismaFila(leida, escrita); });
        if (igual == guardadas.end()) return false;
        guardadas.erase(igual);
    }
    return true;
}
}

void ComprobarGuardado(Database& cn, const Escrito& escrito, const QString& fuente, Clase clase)
{
    Database::Confirmacion confirmacion = Database::Confirmacion::SinComprobar;
    if (cn.engine() == Database::Engine::PostgreSQL) {
        confirmacion = cn.PreguntarConfirmacion();
    } else {
        try {
            confirmacion = QuedoGuardado(cn, escrito) ? Database::Confirmacion::Hecha : Database::Confirmacion::Deshecha;
        } catch (const VbError&) {
        }
    }
    const QString que = clase == Clase::Solicitud ? QStringLiteral("solicitud") : QStringLiteral("captura");
    switch (confirmacion) {
    case Database::Confirmacion::Hecha:
        return;
    case Database::Confirmacion::Deshecha:
        throw VbError(DbError::NumeroErrorOdbc, fuente,
                      QStringLiteral("La %1 no se guardó: se perdió la conexión a la base de datos al confirmarla. "
                                     "Puede repetirla.")
                          .arg(que));
    case Database::Confirmacion::SinComprobar:
        break;
    }
    // The logged requests are listed by the local report; the captures by no window.
    const QString donde = clase == Clase::Solicitud
        ? QStringLiteral(" en el reporte local de \"Reportes\", que lista las solicitudes registradas")
        : QString();
    throw VbError(DbError::NumeroErrorOdbc, fuente,
                  QStringLiteral("No se pudo comprobar si la %1 número %2 quedó guardada. No la repita antes de "
                                 "comprobarlo%3.")
                      .arg(que)
                      .arg(escrito.numero)
                      .arg(donde));
}

QString FechaHoy()
{
    return Platform::Now().date().toString(QStringLiteral("yyyyMMdd"));
}

QString Separador(const QString& Delimiter)
{
    return Delimiter == QLatin1String("TAB") ? QStringLiteral("\t") : Delimiter;
}

QString TextoExportado(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    switch (valor.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        return QString::number(valor.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::ULong:
        return QString::number(valor.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return Vb::Str(valor.toDouble());
    default:
        return valor.toString();
    }
}

qint32 ExportarConsulta(Database& cn, const QString& sql, const QVariantList& params, const QString& archivo,
                        const QString& Delimiter, const std::function<void(qint32)>& alContar,
                        const std::function<void(qint32)>& porFila)
{
    EscrituraSegura salida(archivo, EscrituraSegura::Modo::Propio);
    if (!salida.Abrir())
        throw VbError(VbError::PathNotFound, QString(), salida.Error());
    const DbResult cuenta = cn.Query(QStringLiteral("SELECT COUNT(*) FROM (%1) Q").arg(sql), params);
    const qint32 total = cuenta.RowCount() > 0 ? modUtils::NuloANumero(cuenta.value(0)) : 0;
    if (total > 0 && alContar)
        alContar(total);

    const QString separador = Separador(Delimiter);
    auto cursor = cn.OpenCursor(sql, params);
    const int columnas = cursor->ColumnCount();
    qint32 escritas = 0;
    QString linea;
    QElapsedTimer desdeEventos;
    desdeEventos.start();
    while (cursor->Next()) {
        linea.clear();
        for (int c = 0; c < columnas; ++c) {
            linea += TextoExportado(cursor->value(c));
            linea += separador;
        }
        linea += QLatin1String("\r\n");
        if (!salida.Escribir(Codec1252::encode(linea)))
            throw VbError(75, QString(), salida.Error());
        ++escritas;
        if (porFila)
            porFila(escritas);
        // The windows stay responsive; a few times a second is enough for that.
        if (desdeEventos.elapsed() >= 40 && QCoreApplication::instance()) {
            QCoreApplication::processEvents();
            desdeEventos.restart();
        }
    }
    cursor->Close();
    if (!salida.Confirmar(true))
        throw VbError(75, QString(), salida.Error());
    return escritas;
}

qint32 Exportar(Database& cn, const QStringList& tablas, const QStringList& sufijos, const QString& DestDir,
                bool Detail, const QString& ObraSocial, const ExportarArchivo& exportar)
{
    // Requests logged while the files are written wait for the next export.
    const DbResult r = cn.Query(QStringLiteral("SELECT MAX(NumeroTransaccion) AS Tope FROM %1").arg(tablas.first()));
    const qint64 tope = r.RowCount() > 0 ? r.value(0).toLongLong() : 0;
    const QString base = DestDir + QLatin1Char('/') + ObraSocial;
    qint32 total = 0;
    QString claves; // the condition on NumeroTransaccion of what was written
    const QString tablaClaves = QStringLiteral("ExportacionClavesLog");
    if (Detail) {
        for (int i = 0; i < tablas.size(); ++i)
            total += exportar(QStringLiteral("SELECT * FROM %1 WHERE NumeroTransaccion <= ?").arg(tablas.at(i)),
                              {tope}, base + sufijos.at(i));
        claves = QStringLiteral("NumeroTransaccion <= %1").arg(tope);
    } else {
        // The requests with rows in every table, fixed before the file is written: one
        // completed meanwhile is neither written nor deleted.
        QString desde = QStringLiteral("%1 T1").arg(tablas.first());
        QString donde = QStringLiteral("T1.NumeroTransaccion <= %1").arg(tope);
        QString existe;
        for (int i = 1; i < tablas.size(); ++i) {
            desde += QStringLiteral(", %1 T%2").arg(tablas.at(i)).arg(i + 1);
            donde += QStringLiteral(" AND T1.NumeroTransaccion = T%1.NumeroTransaccion").arg(i + 1);
            existe += QStringLiteral(" AND EXISTS (SELECT 1 FROM %1 X WHERE X.NumeroTransaccion = "
                                     "T1.NumeroTransaccion)").arg(tablas.at(i));
        }
        cn.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(tablaClaves));
        cn.Execute(QStringLiteral("CREATE TEMPORARY TABLE %1 AS SELECT T1.NumeroTransaccion AS Numero FROM %2 T1 "
                                  "WHERE T1.NumeroTransaccion <= %3%4")
                       .arg(tablaClaves, tablas.first())
                       .arg(tope)
                       .arg(existe));
        claves = QStringLiteral("NumeroTransaccion IN (SELECT Numero FROM %1)").arg(tablaClaves);
        try {
            total = exportar(QStringLiteral("SELECT * FROM %1 WHERE %2 AND T1.%3").arg(desde, donde, claves), {},
                             base + QStringLiteral(".txt"));
        } catch (...) {
            try {
                cn.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(tablaClaves));
            } catch (...) {
            }
            throw;
        }
    }
    cn.EnTransaccionDeEscritura(tablas.first(), [&] {
        for (int i = tablas.size() - 1; i >= 0; --i)
            cn.Execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(tablas.at(i), claves));
    });
    if (!Detail)
        cn.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(tablaClaves));
    return total;
}

// ---------------------------------------------------------------------------------------------
// Pending-transactions listing

namespace {

QString Campo(const QString& texto, int ancho)
{
    return texto.leftJustified(ancho, QLatin1Char(' '));
}

QString FechaConsulta(const QString& fecha, const QString& fuente)
{
    const QDate d = Vb::ParseDate(fecha);
    if (!d.isValid())
        throw VbError(VbError::TypeMismatch, fuente,
                      QStringLiteral("La fecha \"%1\" no es válida (dd/mm/aaaa)").arg(fecha));
    return d.toString(QStringLiteral("yyyyMMdd"));
}

QString TextoCrudo(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

}

QString Encabezado(const QString& ObraSocial, qint32 TipoReporte, const QString& FechaDesde,
                   const QString& FechaHasta)
{
    QString t = QStringLiteral("\r\nListado de Transacciones Pendientes - ");
    if (TipoReporte == 0)
        t += QStringLiteral("Totales");
    else if (TipoReporte == 1)
        t += QStringLiteral("Detalles");
    t += QStringLiteral("\r\nFecha Desde: ") + FechaDesde + QStringLiteral("\r\nFecha Hasta: ") + FechaHasta;
    t += QStringLiteral("\r\n\t") + ObraSocial + QStringLiteral("\r\n");
    if (TipoReporte == 0)
        t += Campo(QStringLiteral("Afiliado"), 25) + QLatin1Char('\t') + Campo(QStringLiteral("Tickets"), 10)
            + QLatin1Char('\t') + Campo(QStringLiteral("Prestaciones"), 10);
    else
        t += QStringLiteral("Afiliado - Prestaciones Por Fecha");
    return t + QStringLiteral("\r\n");
}

QString ArmarListado(Database& cn, const FormaListado& forma, const QString& ObraSocial, qint32 TipoReporte,
                     const QString& FechaDesde, const QString& FechaHasta, qint16 TerminalDesde,
                     qint16 TerminalHasta, bool GroupTerminal)
{
    const QString desde = FechaConsulta(FechaDesde, forma.fuente);
    const QString hasta = FechaConsulta(FechaHasta, forma.fuente);

    qint32 idObraSocial = 0;
    {
        const DbResult r = cn.Query(QStringLiteral("SELECT * FROM ObrasSociales WHERE Nombre = ?"), {ObraSocial});
        if (r.RowCount() > 0)
            idObraSocial = modUtils::NuloANumero(r[QStringLiteral("IdObraSocial")]);
    }

    QString condicion;
    QVariantList terminales;
    if (TerminalDesde != 0 || TerminalHasta != 0) {
        if (TerminalDesde != 0 && TerminalHasta == 0) {
            const DbResult r = cn.Query(QStringLiteral("SELECT MAX(IdTerminal) AS Terminal FROM Parametros"));
            TerminalHasta = Vb::CInt(static_cast<double>(r.RowCount() > 0 ? modUtils::NuloANumero(r.value(0)) : 0));
        }
        condicion = QStringLiteral(" AND idTerminal BETWEEN ? AND ?");
        terminales = {static_cast<int>(TerminalDesde), static_cast<int>(TerminalHasta)};
    }
    QVariantList porFechas;
    if (forma.filtraObraSocial)
        porFechas << idObraSocial;
    porFechas << desde << hasta;
    porFechas += terminales;

    QString cuerpo;
    if (TipoReporte == 0) {
        qint32 atendidos = 0, tickets = 0, prestaciones = 0;
        QString sql = forma.consultaAfiliados.arg(condicion);
        if (GroupTerminal)
            sql += QStringLiteral(", idTerminal");
        const DbResult afiliados = cn.Query(sql, porFechas);
        const QString sqlPrestaciones = forma.consultaPrestaciones.arg(forma.prestacionesPorTerminal ? condicion : QString());
        for (DbResult r = afiliados; !r.EOF_(); r.MoveNext()) {
            const QVariant afiliado = r[QStringLiteral("Afiliado")];
            const qint32 suyos = modUtils::NuloANumero(r[QStringLiteral("Tickets")]);
            const QString miembro = forma.afiliadoComoNumero ? Vb::Str(Vb::Val(TextoCrudo(afiliado)))
                                                             : modUtils::NuloATexto(afiliado);
            QVariantList p{TextoCrudo(afiliado)};
            if (forma.prestacionesPorTerminal)
                p += terminales;
            const DbResult c = cn.Query(sqlPrestaciones, p);
            const qint32 servicios = c.RowCount() > 0 ? modUtils::NuloANumero(c.value(0)) : 0;
            cuerpo += Campo(miembro, 25) + QLatin1Char('\t') + Campo(QString::number(suyos), 10) + QLatin1Char('\t')
                + Campo(QString::number(servicios), 10) + QStringLiteral("\r\n");
            tickets += suyos;
            prestaciones += servicios;
            if (suyos > 0)
                ++atendidos;
        }
        const DbResult a = cn.Query(forma.consultaAnulaciones.arg(condicion), porFechas);
        const qint32 anulaciones = a.RowCount() > 0 ? modUtils::NuloANumero(a.value(0)) : 0;
        cuerpo += QStringLiteral("\r\nCantidad de Afiliados Atendidos: %1\r\nCantidad Total de Tickets: %2\r\n"
                                 "Cantidad Total de Prestaciones: %3\r\nCantidad Total de Anulaciones: %4")
                      .arg(atendidos)
                      .arg(tickets)
                      .arg(prestaciones)
                      .arg(anulaciones);
        return cuerpo;
    }

    QString ultimaFecha, ultimoAfiliado;
    const QString sqlDescripcion =
        QStringLiteral("SELECT Descripcion FROM Prestaciones WHERE IdObraSocial = ? AND CodigoPrestacion = ?");
    for (DbResult r = cn.Query(forma.consultaTransacciones.arg(condicion), porFechas); !r.EOF_(); r.MoveNext()) {
        const QString fecha = TextoCrudo(r[QStringLiteral("FechaTransaccion")]);
        if (fecha != ultimaFecha) {
            cuerpo += QStringLiteral("\r\n\t") + Vb::Right(fecha, 2) + QLatin1Char('/') + Vb::Mid(fecha, 5, 2)
                + QLatin1Char('/') + Vb::Left(fecha, 4) + QStringLiteral(": \r\n\r\n");
            ultimaFecha = fecha;
        }
        const QString afiliado = TextoCrudo(r[QStringLiteral("Afiliado")]);
        if (afiliado != ultimoAfiliado) {
            cuerpo += Campo(Vb::Trim(afiliado), 25) + QStringLiteral(" - ")
                + modUtils::NuloATexto(r[QStringLiteral("NombreAfiliado")]) + QStringLiteral("\r\n");
            ultimoAfiliado = afiliado;
        }
        for (DbResult s = cn.Query(forma.consultaServicios, {r[QStringLiteral("NumeroTransaccion")]}); !s.EOF_();
             s.MoveNext()) {
            const QString codigo = modUtils::NuloATexto(s[forma.columnaServicio]);
            const DbResult d = cn.Query(sqlDescripcion, {idObraSocial, codigo});
            cuerpo += QLatin1Char('\t') + codigo + forma.antesDescripcion
                + (d.RowCount() > 0 ? modUtils::NuloATexto(d.value(0)) : QStringLiteral("Sin Descripción"))
                + QStringLiteral("\r\n");
        }
    }
    return cuerpo;
}

}
