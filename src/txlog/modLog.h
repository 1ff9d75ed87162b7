#pragma once
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

class Database;

// What the two log writers (clsTxOSDE, clsTxGenerica) share: numbering, the export of their
// tables to delimited text files and the pending-transactions listing. Every routine raises
// what it meets; the writers give it their own source.
namespace modLog {

// Inside a catch block: raises the error being handled again with the writer's source, its
// number and description unchanged.
[[noreturn]] void Relanzar(const QString& fuente);

// The next number of a log header table: its largest NumeroTransaccion plus 1 (1 for an empty
// table); error 6 beyond the 32-bit range. Meant to run inside a write-locking transaction.
qint32 NumeroSiguiente(Database& cn, const QString& tabla);

// The values of a log statement, with every unset text given as an empty text: the log stores
// "" for a field never set, not NULL.
QVariantList Valores(QVariantList valores);

// What a log save wrote: the header row of `tabla` numbered `numero`, its `columnas` with the
// `valores` written, and in `tablaLineas` one row of `columnasLineas` per entry of `lineas`.
struct Escrito {
    QString tabla;
    qint32 numero = 0;
    QStringList columnas;
    QVariantList valores;
    QString tablaLineas;
    QStringList columnasLineas;
    QList<QVariantList> lineas;
    // Inserts the header row with `valores` (unset texts empty), numbered `numero`; the lines
    // of an earlier try are forgotten.
    void InsertarCabecera(Database& cn, qint32 numero, const QVariantList& valores);
    // Inserts one line with these values (unset texts empty) and keeps them.
    void InsertarLinea(Database& cn, const QVariantList& valores);
};

// What was saved, as the clerk is told when the save's answer is lost.
enum class Clase { Solicitud, Captura };

// After a save whose COMMIT's answer was lost (cn.ConfirmacionPerdida()):
// returns when it was stored, so the clerk does not store it twice. On PostgreSQL the server
// says; on SQLite, which commits in the process, the header row under its number must hold
// what was written and its lines those written, each once (every desk logs under the same
// terminal, and another may have taken the number after a rollback). Otherwise raises with
// `fuente`: not stored, which may be repeated, or not known, with the number the save took and
// where to check it before repeating it.
void ComprobarGuardado(Database& cn, const Escrito& escrito, const QString& fuente, Clase clase);

// Today as yyyymmdd, from the program's clock.
QString FechaHoy();

// The separator of an export line: a tab for exactly "TAB", else the text itself.
QString Separador(const QString& Delimiter);

// A value as an export line writes it: empty for null, whole numbers in decimal, other numbers
// as the runtime prints them, texts unchanged.
QString TextoExportado(const QVariant& valor);

// Writes every row of `sql` into `archivo`, one line per row as it is read, into a temporary
// file that replaces `archivo` only when whole and on disk. `alContar` gets the number of rows
// before the first one is written (not called when there are none), `porFila` the count of
// rows written after each row. Returns the rows written.
qint32 ExportarConsulta(Database& cn, const QString& sql, const QVariantList& params, const QString& archivo,
                        const QString& Delimiter, const std::function<void(qint32)>& alContar,
                        const std::function<void(qint32)>& porFila);

// Export of one log family: `tablas` the header table, then its child tables, `sufijos` the
// file name endings of the detail files. Takes only numbers up to the largest header number at
// its start; the joined form takes only requests with rows in every table. After all files
// are on disk, deletes exactly what was written, in one transaction. `exportar` writes one
// query into one file (the writer's own ExportFile with its events).
using ExportarArchivo = std::function<qint32(const QString& sql, const QVariantList& params, const QString& archivo)>;
qint32 Exportar(Database& cn, const QStringList& tablas, const QStringList& sufijos, const QString& DestDir,
                bool Detail, const QString& ObraSocial, const ExportarArchivo& exportar);

// The queries and forms that tell one log's pending-transactions listing from the other's.
// "%1" in a query stands for the terminal condition.
struct FormaListado {
    QString fuente;
    bool filtraObraSocial;        // the insurer id is the first value of the member, void and transaction queries
    QString consultaAfiliados;    // totals: Afiliado, Tickets by member (dates, condition)
    QString consultaPrestaciones; // totals: the member's services count (member [, condition])
    bool prestacionesPorTerminal; // whether that count takes the terminal condition
    QString consultaAnulaciones;  // totals: voids (dates, condition)
    QString consultaTransacciones; // details: Afiliado, NombreAfiliado, NumeroTransaccion, FechaTransaccion
    QString consultaServicios;    // details: the services of one transaction
    QString columnaServicio;      // the service code column of that query
    QString antesDescripcion;     // between the code and its description
    bool afiliadoComoNumero;      // totals: the member written as its numeric value
};

// The listing's header, up to and with its column line.
QString Encabezado(const QString& ObraSocial, qint32 TipoReporte, const QString& FechaDesde,
                   const QString& FechaHasta);
// The body alone.
QString ArmarListado(Database& cn, const FormaListado& forma, const QString& ObraSocial, qint32 TipoReporte,
                     const QString& FechaDesde, const QString& FechaHasta, qint16 TerminalDesde,
                     qint16 TerminalHasta, bool GroupTerminal);

}
