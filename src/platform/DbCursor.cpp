// Cursors: opened on a statement of their own, moved row by row, cut with a lost connection and
// run again where no row was read yet.
#include "platform/Database.h"

#include "platform/DatabaseInterno.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

using namespace DatabaseInterno;

std::unique_ptr<DbCursor> Database::OpenCursor(const QString& sql, const QVariantList& params, bool porPaginas)
{
    AntesDeSentencia(sql);
    if (!IsOpen())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("La conexión a la base de datos no está abierta"), QStringLiteral("08003"));
    // A SQLite connection that reads results whole at execute holds a hundred thousand rows
    // as a few million separate texts before the first is read, which costs several times
    // the reading. Outside a transaction (whose own writes only this connection sees) the
    // cursor reads through a second connection to the same file that steps through them.
    if (m_engine == Engine::SQLite && !m_inTransaction && !PorPasos()) {
        if (porPaginas) {
            if (!m_lectorPorPaginas) {
                auto lector = std::make_unique<Database>();
                lector->OpenConnectionString(ConPasos(m_connectionString));
                lector->Query(QStringLiteral("PRAGMA mmap_size=0"));
                m_lectorPorPaginas = std::move(lector);
            }
            return m_lectorPorPaginas->OpenCursor(sql, params);
        }
        if (!m_lector) {
            auto lector = std::make_unique<Database>();
            lector->OpenConnectionString(ConPasos(m_connectionString));
            // It reads the file through a memory map: a long history outgrows the page cache,
            // and reading it again page by page cost a system call and a copy per page, about
            // a third of loading a hundred thousand rows. Writes still go through the file.
            lector->Query(QStringLiteral("PRAGMA mmap_size=268435456"));
            // Its sorts stay in memory up to 64 MB: at the default 2 MB, ordering a hundred
            // thousand rows went out to temporary files and back, about 70 ms of such a load.
            // The map above leaves this cache to sorts and temporary tables.
            lector->Execute(QStringLiteral("PRAGMA cache_size=-65536"));
            m_lector = std::move(lector);
        }
        return m_lector->OpenCursor(sql, params);
    }
    std::unique_ptr<QSqlQuery> q;
    qint64 serie = 0;
    const bool enTransaccion = m_inTransaction;
    try {
        q = EjecutarCursor(sql, params, &serie);
    } catch (const DbError& e) {
        if (!TrasPerdida(e) || enTransaccion)
            throw;
    }
    if (!q) {
        // Nothing was read yet: the query runs again on the new connection.
        try {
            q = EjecutarCursor(sql, params, &serie);
        } catch (const DbError& e) {
            TrasPerdida(e);
            throw;
        }
    }
    std::unique_ptr<DbCursor> c(new DbCursor(this, sql, params, std::move(q), serie));
    m_cursores.append(c.get());
    return c;
}

std::unique_ptr<QSqlQuery> Database::EjecutarCursor(const QString& sql, const QVariantList& params, qint64* serie)
{
    const QString sentencia = ValoresAparte(sql, params, serie);
    try {
        auto q = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_name, false));
        q->setForwardOnly(true);
        // A statement without values runs at once (SQLExecDirect): psqlODBC otherwise prepares it
        // on the server first, which costs a long list about a sixth more.
        if (params.isEmpty() || *serie) {
            if (!q->exec(sentencia))
                Raise(QStringLiteral("exec"), sql, statementHandle(*q), q->lastError());
            return q;
        }
        if (!q->prepare(sentencia))
            Raise(QStringLiteral("prepare"), sql, statementHandle(*q), q->lastError());
        for (int i = 0; i < params.size(); ++i)
            q->bindValue(i, bindable(params.at(i)));
        if (!q->exec())
            Raise(QStringLiteral("exec"), sql, statementHandle(*q), q->lastError());
        return q;
    } catch (...) {
        OlvidarValores(*serie);
        *serie = 0;
        throw;
    }
}

DbCursor::DbCursor(Database* owner, QString sql, QVariantList params, std::unique_ptr<QSqlQuery> query,
                   qint64 serieValores)
    : m_owner(owner), m_sql(std::move(sql)), m_params(std::move(params)), m_serieValores(serieValores)
{
    Empezar(std::move(query));
}

void DbCursor::Empezar(std::unique_ptr<QSqlQuery> query)
{
    m_query = std::move(query);
    m_columns.clear();
    m_tipos.clear();
    m_stmt = nullptr;
    m_bloque.reset();
    const QSqlRecord rec = m_query->record();
    const QSqlDriver* driver = m_query->driver();
    // Qt's ODBC layer costs far more per value than the driver does (a copy of the field's
    // description, a length probe before each text, a variant cache), which shows on lists of
    // a hundred thousand rows. Texts, integers and doubles are therefore read here with the
    // same ODBC calls and C types Qt would use, so the values are the same; any other column
    // type, or a driver Qt does not read in Unicode, leaves the whole cursor to Qt.
    bool directa = Odbc::get().getData && statementHandle(*m_query) && driver &&
                   driver->hasFeature(QSqlDriver::Unicode) &&
                   m_query->numericalPrecisionPolicy() == QSql::LowPrecisionDouble;
    bool enlazable = true;
    for (int i = 0; i < rec.count(); ++i) {
        m_columns << rec.fieldName(i);
        // A column named after its expression is named as with the values bound.
        for (qsizetype k = 0; m_serieValores && k < m_params.size(); ++k)
            m_columns.last().replace(Database::LecturaDeValor(m_serieValores, k), QStringLiteral("?"));
        const QSqlField f = rec.field(i);
        Columna c;
        switch (f.metaType().id()) {
        case QMetaType::QString:
            c.tipo = Columna::Texto;
            // Room for the longest value the driver describes (SQLite does not hold a text to
            // its declared size, so never less than 256), as Qt sizes its buffer.
            c.largo = std::clamp(f.length() + 1, 256, 65536);
            // Bound to a buffer of its declared size; a longer value is then read apart.
            c.declarado = f.length() > 0 ? f.length() : 255;
            enlazable = enlazable && c.declarado <= kTextoMaximoEnlazado;
            break;
        case QMetaType::Short: // Qt reads a SMALLINT as a 32-bit integer too
        case QMetaType::Int: c.tipo = Columna::Entero32; break;
        case QMetaType::LongLong: c.tipo = Columna::Entero64; break;
        case QMetaType::Double: c.tipo = Columna::Doble; break;
        default: directa = false;
        }
        m_tipos << c;
    }
    m_fila.resize(m_columns.size());
    m_enBloque.fill(false, m_columns.size());
    if (!directa) return;
    m_stmt = statementHandle(*m_query);
    // The SQLite driver keeps texts in UTF-8: read so, they come without a conversion and a
    // buffer of the driver's own per value.
    m_utf8 = m_owner && m_owner->engine() == Database::Engine::SQLite;
    if (enlazable && !m_columns.isEmpty()) EmpezarBloques(driver);
}
DbCursor::~DbCursor()
{
    Close();
}

void DbCursor::Cortar()
{
    m_serieValores = 0; // they went with the connection
    Close();
    m_cortado = true;
}

void DbCursor::Close()
{
    SoltarBloques();
    m_stmt = nullptr;
    m_enFila = false;
    if (m_query) {
        m_query->finish();
        m_query.reset();
    }
    if (m_owner) {
        m_owner->m_cursores.removeOne(this);
        m_owner->OlvidarValores(m_serieValores);
        m_serieValores = 0;
        m_owner = nullptr;
    }
}

bool DbCursor::Next()
{
    if (m_cortado)
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("08S01: Se perdió la conexión a la base de datos mientras se leían las filas (%1)")
                          .arg(m_sql.simplified().left(300)),
                      QStringLiteral("08S01"));
    Database* owner = m_owner;
    try {
        const bool fila = Avanzar();
        m_devolvio = m_devolvio || fila;
        return fila;
    } catch (const DbError& e) {
        if (!owner)
            throw;
        const bool enTransaccion = owner->m_inTransaction;
        // The owner opens its connection again and cuts every cursor of the old one, this too.
        if (!owner->TrasPerdida(e) || m_devolvio || m_repetido || enTransaccion)
            throw;
    }
    // No row was read: the query runs again on the new connection, once.
    m_repetido = true;
    std::unique_ptr<QSqlQuery> q;
    try {
        q = owner->EjecutarCursor(m_sql, m_params, &m_serieValores);
    } catch (const DbError& e) {
        owner->TrasPerdida(e);
        throw; // still cut: a later Next raises too
    }
    m_cortado = false;
    m_owner = owner;
    Empezar(std::move(q));
    owner->m_cursores.append(this);
    return Next();
}

bool DbCursor::Avanzar()
{
    m_leidas = 0;
    m_enFila = false;
    if (!m_query)
        return false;
    if (m_bloque) {
        Bloque& b = *m_bloque;
        if (b.actual + 1 < b.traidas) {
            ++b.actual;
        } else {
            if (b.terminado) return false;
            b.traidas = 0;
            const SQLRETURN r = Odbc::get().fetch(m_stmt);
            if (r == SQL_NO_DATA || (SQL_SUCCEEDED(r) && b.traidas == 0)) {
                b.terminado = true;
                return false;
            }
            if (!SQL_SUCCEEDED(r) && m_owner)
                m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
            b.actual = 0;
        }
        if (b.estados.at(qsizetype(b.actual)) == SQL_ROW_ERROR && m_owner)
            m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
        LeerFilaDelBloque();
        m_enFila = true;
        return true;
    }
    if (m_query->next()) {
        m_enFila = true;
        return true;
    }
    if (m_query->lastError().isValid() && m_owner)
        m_owner->Raise(QStringLiteral("fetch"), m_sql, statementHandle(*m_query), m_query->lastError());
    return false;
}
QVariant DbCursor::value(int index) const
{
    return Valor(index);
}

const QVariant& DbCursor::Valor(int index) const
{
    if (!m_query || !m_enFila)
        throw VbError(40022, QStringLiteral("Database"), QStringLiteral("No current row"));
    if (index < 0 || index >= m_columns.size())
        throw VbError(3265, QStringLiteral("Database"),
                      QStringLiteral("Item not found in this collection: %1").arg(index));
    if (m_bloque && m_enBloque.at(index))
        TomarDelBloque(index);
    else if (m_stmt)
        LeerHasta(index);
    else
        m_fila[index] = m_query->isNull(index) ? QVariant() : m_query->value(index);
    return m_fila.at(index);
}

QVariant DbCursor::value(const QString& column) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return value(i);
    throw VbError(3265, QStringLiteral("Database"), QStringLiteral("Item not found in this collection: %1").arg(column));
}
