#pragma once
#include "config/Coleccion.h"
#include "platform/Database.h"
#include "txlog/clsPrestacionTxOSDE.h"
#include "txlog/clsTxDiferida.h"
#include "txlog/modLog.h"

#include <QObject>
#include <QString>
#include <memory>

// The request log's writer: one insurer request with its service lines and answer, logged
// into TOSDE_svl1, TOSDE_svl2 and TOSDE_svl3 on the connection of its clsLog. Errors are
// raised with the source "Quorvan.clsTxOSDE".
class clsTxOSDE : public QObject {
    Q_OBJECT
public:
    using Lineas = Coleccion<clsPrestacionTxOSDE>;

    clsTxOSDE();

    qint16 IdTerminal = 0;
    QString ObraSocial;
    qint32 MaxRow = 0;
    QString AUCUIT;
    QString AUISOA;
    QString AUFILA;
    QString AUASOA;
    QString AUBENA;
    QString AUDIGA;
    QString AUVERA;
    QString AUTRAC;
    QString AUATRC;
    QString AUMANA;
    QString AUWREF;
    QString AUNREF;
    QString AUTMAT;
    QString AUCEFE;
    QString AUNMAT;
    QString AUFECP;
    QString AUDSM1;
    QString AUDSM2;
    QString AUFINA;
    QString FechaTransaccion; // not stored: a save stores the current date
    QString NombreMedico;
    QString NombreAfiliado;
    std::shared_ptr<Lineas> Prestaciones() const { return m_Prestaciones; }
    void setPrestaciones(std::shared_ptr<Lineas> lineas) { m_Prestaciones = std::move(lineas); }
    QString AUAUTO;
    QString AUWHOO;
    QString AUREST;
    QString AULEYD;
    QString AULEYP;
    QString AUMONT;
    QString AUSYST;

    // Numbers the request (largest plus one, under a write lock) and stores its header, its
    // lines and, when not deferred, its answer as they stand, in one transaction.
    qint32 Save(bool Diferida);
    // The deferred requests of a terminal (0: this writer's IdTerminal).
    std::shared_ptr<Coleccion<clsTxDiferida>> GetTxDiferidas(qint16 Terminal);
    // The service lines of one request.
    std::shared_ptr<Lineas> GetPrestacionesDif(qint32 NroTransaccion);
    // Stores the answer of a deferred request (five fields trimmed, AUMONT divided by 100),
    // marks it answered and stores the lines' answer codes, in one transaction. A number that
    // is not a deferred request changes nothing and raises error 3021.
    void UpdateDiferida(qint32 NroTransaccion);
    qint32 Export(const QString& DestDir, bool Detail, const QString& Delimiter);
    qint32 ExportFile(const QString& strSQL, const QString& strFile, const QString& Delimiter);
    QString PrintReport(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                        qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal);
    // Stores each line's AURES in the rows of the request with its AUPRE; no transaction.
    void UpdateRsp(qint32 NroTransaccion);
    // Save and UpdateRsp in one transaction: the request is stored whole, answer codes
    // included, or not at all. Returns its number.
    qint32 GuardarSolicitud(bool Diferida);

    std::shared_ptr<Database> Coneccion() const { return m_cn; }
    void setConeccion(std::shared_ptr<Database> cn) { m_cn = std::move(cn); }

signals:
    void RowCount(qint32 MaxRow);

private:
    QString ArmarListado(qint32 TipoReporte, const QString& FechaDesde, const QString& FechaHasta,
                         qint16 TerminalDesde, qint16 TerminalHasta, bool GroupTerminal);
    qint32 ExportarArchivo(const QString& sql, const QVariantList& params, const QString& archivo,
                           const QString& Delimiter);
    void ActualizarRespuestas(qint32 NroTransaccion);
    // Numbers the request and inserts its header, lines and (not deferred) answer.
    qint32 InsertarSolicitud(Database& db, bool Diferida, modLog::Escrito& escrito);
    Database& cn();
    std::shared_ptr<Lineas> m_Prestaciones;
    std::shared_ptr<Database> m_cn;
};
