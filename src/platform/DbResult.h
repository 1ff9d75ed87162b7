#pragma once
// Reached through platform/Database.h, the database layer's one door.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A result set read whole into memory, so the statement is closed before the next write.
// Columns are found by name without regard to case; values may be null.
class DbResult {
public:
    DbResult() = default;
    DbResult(QStringList columns, QList<QVariantList> rows);
    // With each column's ODBC SQL data type (SQL_VARCHAR 12, SQL_WVARCHAR -9, SQL_INTEGER 4 ...)
    // and size (characters of a text, digits of a number) as the driver describes them.
    DbResult(QStringList columns, QList<QVariantList> rows, QList<int> types, QList<int> sizes);

    bool EOF_() const { return m_pos >= m_rows.size(); }
    bool eof() const { return EOF_(); }
    void MoveNext() { ++m_pos; }
    void MoveFirst() { m_pos = 0; }
    int RowCount() const { return m_rows.size(); }
    int ColumnCount() const { return m_columns.size(); }
    const QStringList& Columns() const { return m_columns; }
    // The current row's value; a missing column raises error 3265 ("Item not found").
    QVariant operator[](const QString& column) const;
    QVariant value(const QString& column) const { return (*this)[column]; }
    QVariant value(int index) const;
    bool hasColumn(const QString& column) const;
    const QList<QVariantList>& Rows() const { return m_rows; }
    // The column's ODBC type and size; 0 when the driver did not say.
    int ColumnType(int index) const { return index >= 0 && index < m_types.size() ? m_types.at(index) : 0; }
    int ColumnSize(int index) const { return index >= 0 && index < m_sizes.size() ? m_sizes.at(index) : 0; }

private:
    int columnIndex(const QString& column) const;
    QStringList m_columns;
    QHash<QString, int> m_index; // lower-case name to position
    QList<QVariantList> m_rows;
    QList<int> m_types;
    QList<int> m_sizes;
    int m_pos = 0;
};
