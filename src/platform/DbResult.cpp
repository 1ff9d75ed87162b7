#include "platform/Database.h"

// ---------------------------------------------------------------------------------------------
// DbResult

DbResult::DbResult(QStringList columns, QList<QVariantList> rows, QList<int> types, QList<int> sizes)
    : DbResult(std::move(columns), std::move(rows))
{
    m_types = std::move(types);
    m_sizes = std::move(sizes);
}

DbResult::DbResult(QStringList columns, QList<QVariantList> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns.at(i).toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}

int DbResult::columnIndex(const QString& column) const
{
    QString key = column.toLower();
    auto it = m_index.constFind(key);
    if (it != m_index.constEnd())
        return it.value();
    // "Tabla.Columna" finds the column the driver reported without its table.
    const int dot = key.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        it = m_index.constFind(key.mid(dot + 1));
        if (it != m_index.constEnd())
            return it.value();
    }
    return -1;
}

bool DbResult::hasColumn(const QString& column) const
{
    return columnIndex(column) >= 0;
}

QVariant DbResult::operator[](const QString& column) const
{
    const int i = columnIndex(column);
    if (i < 0)
        throw VbError(3265, QStringLiteral("Database"),
                      QStringLiteral("Item not found in this collection: %1").arg(column));
    return value(i);
}

QVariant DbResult::value(int index) const
{
    if (m_pos < 0 || m_pos >= m_rows.size())
        throw VbError(40022, QStringLiteral("Database"), QStringLiteral("No current row"));
    const QVariantList& row = m_rows.at(m_pos);
    if (index < 0 || index >= row.size())
        throw VbError(3265, QStringLiteral("Database"),
                      QStringLiteral("Item not found in this collection: %1").arg(index));
    return row.at(index);
}
