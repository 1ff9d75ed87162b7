#pragma once
#include "config/Coleccion.h"
#include "platform/Database.h"
#include "txlog/clsPrestacionTxGenerica.h"

#include <QObject>
#include <QString>
#include <memory>

// The off-line log's writer: one capture of an insurer that is not on-line, logged into
// TGenerica_svl1 and TGenerica_svl2 on the connection of its clsLog; also the reports' way to
// query the log. Errors are raised with the source "Quorvan.clsTxGenerica".
class clsTxGenerica : public QObject {
    Q_OBJECT
public:
    using Lineas = Coleccion<clsPrestacionTxGenerica>;

    clsTxGenerica();

    qint32 MaxRow = 0;
    qint16 IdTerminal = 0;
    QString CodigoTransaccion;
    QString CuitPrestador;
    QString Banda;
    QString NombreAfiliado;
    QString NumeroAfiliado;
    qint32 NumeroAutorizacion = 0;
    qint32 TipoMatricula = 0;
    qint32 NumeroMatricula = 0;
    QString FormaIngreso;
    QString NombreMedico;
    QString ObraSocial;
    std::shared_ptr<Lineas> Prestaciones() const { return m_Prestaciones; }
    void setPrestaciones(std::shared_ptr<Lineas> lineas) { m_Prestaciones = std::move(lineas); }

    // Numbers the capture (largest plus one, under a write lock) and stores it with its lines
    // in one transaction; the insurer is looked up by name (0 when unknown).
    void Save();
    qint32 Export(const QString& DestDir, bool Detail, const QString& Delimiter);
    qint32 ExportFile(const QString& strSQL, const QString& strFile, const QString& Delimiter);
    QString PrintReport(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                        qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal);
    // Runs a query on the log connection; its errors are the database layer's, unchanged.
    DbResult Resolver_sql(const QString& sSql);
    DbResult Resolver_sql(const QString& sSql, const QVariantList& valores);

    std::shared_ptr<Database> Coneccion() const { return m_cn; }
    void setConeccion(std::shared_ptr<Database> cn) { m_cn = std::move(cn); }

signals:
    void RowCount(qint32 MaxRow);

private:
    QString ArmarListado(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                         qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal);
    qint32 ExportarArchivo(const QString& sql, const QVariantList& params, const QString& archivo,
                           const QString& Delimiter);
    Database& cn();
    std::shared_ptr<Lineas> m_Prestaciones;
    std::shared_ptr<Database> m_cn;
};
