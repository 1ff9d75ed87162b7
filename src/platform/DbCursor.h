#pragma once
// Reached through platform/Database.h, the database layer's one door.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <string_view>

class Database;
class QSqlDriver;
class QSqlQuery;

// The rows of one query, fetched one at a time from the driver (see Database::OpenCursor).
// Values are read by position or by name without regard to case; null comes back as an
// invalid QVariant.
class DbCursor {
public:
    ~DbCursor();
    DbCursor(const DbCursor&) = delete;
    DbCursor& operator=(const DbCursor&) = delete;

    // Moves to the next row; false at the end. A failure while fetching raises DbError.
    bool Next();
    int ColumnCount() const { return m_columns.size(); }
    const QStringList& Columns() const { return m_columns; }
    QVariant value(int index) const;
    QVariant value(const QString& column) const;
    // The value without a copy, valid until the next row.
    const QVariant& Valor(int index) const;
    // The UTF-8 bytes of text column `index` of the current row, valid until the next row,
    // without a QString made of them: true only where the cursor holds them so (the SQLite
    // driver's texts read into bound buffers, not null, whole in their buffer). Otherwise
    // false, and Valor gives the value.
    bool Utf8(int index, std::string_view& bytes) const;
    // The same in UTF-16, where the cursor holds the text so (psqlODBC's texts read into bound
    // buffers).
    bool Utf16(int index, QStringView& texto) const;
    void Close();

private:
    friend class Database;
    DbCursor(Database* owner, QString sql, QVariantList params, std::unique_ptr<QSqlQuery> query,
             qint64 serieValores);
    // Takes the columns of a freshly executed statement.
    void Empezar(std::unique_ptr<QSqlQuery> query);
    bool Avanzar();
    // Its connection was lost and opened again: the rows it had not yet read are gone.
    void Cortar();
    // Binds every column to buffers of a block of rows, when the driver allows it.
    void EmpezarBloques(const class QSqlDriver* driver);
    // Unbinds them, leaving the statement as Qt made it.
    void SoltarBloques();
    // Takes the current row of the block from the buffers; a text that fits its buffer is
    // left there until it is asked for.
    void LeerFilaDelBloque();
    // Makes the value of a text left in the block's buffer.
    void TomarDelBloque(int i) const;
    // Where the current row's text `index` is in the block's buffer (null when it is not there
    // alone) and its length in bytes.
    const char* EnBloque(int index, qsizetype& bytes) const;
    // Reads the current row's columns up to `index` straight from the driver, in order.
    void LeerHasta(int index) const;
    // Reads text column `i` of the current row from the driver, in pieces when it is long.
    void LeerTexto(int i) const;
    struct Columna {
        enum Tipo { Texto, Entero32, Entero64, Doble } tipo = Texto;
        int largo = 0;     // characters of a text's buffer
        int declarado = 0; // characters the driver declares for a text
    };
    Database* m_owner;
    QString m_sql;
    QVariantList m_params;
    bool m_cortado = false;  // its connection was lost: Next raises
    bool m_devolvio = false; // it returned a row
    bool m_repetido = false; // it was run again after a lost connection
    qint64 m_serieValores = 0; // its values' number in the connection's table, 0 for none
    std::unique_ptr<QSqlQuery> m_query;
    QStringList m_columns;
    QList<Columna> m_tipos;
    void* m_stmt = nullptr; // read directly when set; otherwise through Qt
    mutable QVariantList m_fila; // the current row's values read so far
    mutable QList<bool> m_enBloque; // text still only in the block's buffer, per column
    mutable int m_leidas = 0;
    mutable QByteArray m_texto; // a text's buffer
    bool m_utf8 = false;        // texts read in UTF-8 rather than UTF-16
    bool m_enFila = false;      // on a row
    struct Bloque;
    std::unique_ptr<Bloque> m_bloque; // set while rows come in blocks
};
