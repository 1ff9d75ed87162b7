#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>

class Database;
class DbCursor;

// The rules of the export window, kept apart from its widgets: the four insurers' fixed-width
// layouts, the statement, and the two writers (text file and workbook) that stream the rows.
namespace modExportarDatos {

// The captions of the layout: `lblTitulo` and `lblObraSocial`; both empty outside 1 to 4.
struct Rotulos {
    QString titulo;
    QString obraSocial;
};
Rotulos RotulosDeFormato(qint32 formato);

// The columns of one result row, read by name.
struct Fila {
    QVariant Tarjeta, codigoOSDESolicitante, FechaPrestacion, HoraPrestacion, CodigoPrestacion, cantidad,
        codigoOSDE, Nombre, MatriculaMedicoPrescriptor, TipoMatriculaMPrescriptor, Ticket, Fecha,
        NumeroAutorizacion, MatriculaEfector, TipoMatriculaMEfector;
    static Fila De(const DbCursor& cursor);
};
// The column names in the statement's order (the workbook's first row).
const QStringList& Columnas();

// The text of a database value as the runtime prints it ("" for null, 12345 not 12345.0),
// untrimmed.
QString TextoDe(const QVariant& valor);
// `defecto` for null, else the value's text, untrimmed.
QString ValorODefecto(const QVariant& valor, const QString& defecto);
// A numeric field without a numeric check: the trimmed text right-aligned and zero-filled, its
// rightmost `ancho` characters when longer; null or blank gives zeros.
QString N(const QVariant& valor, int ancho);

// One line of the layout, without its line end; exactly 153, 156, 542 or 71 characters.
// Raises error 13 on an Osde effector registration kind that is not a number, error 5 for a
// layout outside 1 to 4.
QString Linea(qint32 formato, const Fila& f);

// Appends the line of the layout for one row, with its CR LF, as Windows-1252 bytes: exactly
// Linea's text encoded, with the same errors, built in place without a text per field.
void AgregarLinea(QByteArray& destino, qint32 formato, const Fila& f);

// A date field's text as a date: strict dd/mm/yyyy, error 13 otherwise.
QDate FechaDeCampo(const QString& texto);

// The statement of the export and its bound values (log dates as yyyymmdd, the company code
// as a number; error 13 when it is not one). Rows come ordered by log date, ticket and service
// code, so both engines give the same file.
struct Consulta {
    QString sql;
    QVariantList valores;
};
Consulta ArmarConsulta(qint32 formato, const QDate& desde, const QDate& hasta, const QString& codigoEmpresa);

// "DatosFormato" + insurer word + ddmmyyyy + ".txt" in the folder, with one "/" between.
QString ArchivoTexto(const QString& carpeta, const QString& obraSocial, const QDate& hoy);
// The workbook below the data folder.
QString ArchivoLibro();

// What a writer did. A failure while reading or formatting rows is raised instead, and then
// nothing is left under the file's name.
struct Resultado {
    bool hayDatos = false;
    bool escrito = false; // the whole file is on disk under its name
    QString error;        // why not, when there were data
    qint64 filas = 0;
};
// The rows, one line each ending in CR LF, in Windows-1252, streamed into a temporary file
// that replaces `ruta` only when whole and on disk. With no row nothing is written.
Resultado ExportarTexto(Database& cn, qint32 formato, const Consulta& consulta, const QString& ruta);
// The spreadsheet branch: the rows as a workbook in constant memory, the column names, then one row each with every column's text.
Resultado ExportarExcel(Database& cn, const Consulta& consulta, const QString& ruta);

}
