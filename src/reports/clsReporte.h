#pragma once
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

class clsLog;

// The report text: the report window fills the public variables, calls Make_Report_txt and
// shows, prints or saves strReport_txt. The detail comes from a query of the log (local
// report) or is the answer text of the communications client (remote report).
class clsReporte {
public:
    // The log whose connection runs the query; made on first use when the caller set none.
    std::shared_ptr<clsLog> conexion;
    qint16 Origen = 0; // 0 local, 1 remote
    QString strObraSocial;
    QString strCabecera;
    QString strPie;
    QString strPrestador;
    QString strFecha_Desde;
    QString strFecha_Hasta;
    QString strAgrupar_por;
    QString strOrdenar_por;
    // The local query with one "?" per value of valoresSql_Detalle; empty for a remote report.
    QString strsSql_Detalle;
    QVariantList valoresSql_Detalle;
    QString strDetalle;
    QString strTituloDetalle;
    QString strReport_txt;

    // Builds the detail and appends the whole report to strReport_txt. A failing query is
    // raised to the caller.
    void Make_Report_txt();

    // One column's text in a detail line: "fechatransaccion" as dd/mm/yyyy, "aucuit" as
    // xx-xxxxxxxx-x, a number zero-filled to the column's size (AnchoNumerico), anything else as it stands;
    // null gives "".
    static QString TextoColumna(const QString& nombre, const QVariant& valor, int tipoOdbc, int tamano);
    // How many digits a number of the ODBC type and size is zero-filled to; -1 for a type
    // that does not hold numbers.
    static int AnchoNumerico(int tipoOdbc, int tamano);

    static const QString kSinInformacion;
};
