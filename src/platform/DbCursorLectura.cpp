// A cursor's values read straight from the driver with the ODBC calls and C types Qt would use:
// into buffers bound to a block of rows where the driver allows it, otherwise one by one.
#include "platform/Database.h"

#include "platform/DatabaseInterno.h"
#include "platform/ValoresBD.h"

#include <QSqlError>

#include <algorithm>
#include <cstring>

using namespace DatabaseInterno;

namespace DatabaseInterno {

// A text read from the driver, in UTF-8 or UTF-16. A value equal to the column's previous one
// keeps that one's storage: a provider's history repeats its CUIT, dates, codes and answers on
// row after row, and a shared text is neither allocated nor freed again.
void GuardarTexto(QVariant& v, const char* datos, qsizetype bytes, bool utf8)
{
    const QAnyStringView leido = utf8 ? QAnyStringView(QUtf8StringView(datos, bytes))
                                      : QAnyStringView(QStringView(reinterpret_cast<const char16_t*>(datos),
                                                                   bytes / qsizetype(sizeof(SQLWCHAR))));
    if (v.typeId() == QMetaType::QString) {
        const QString* anterior = static_cast<const QString*>(v.constData());
        if (anterior->size() <= bytes && QAnyStringView::equal(*anterior, leido)) return;
    }
    v = leido.size() == 0 ? QString() : utf8 ? ValoresBD::DeUtf8(datos, bytes) : leido.toString();
}

} // namespace DatabaseInterno

void DbCursor::EmpezarBloques(const QSqlDriver* driver)
{
    // The rare text longer than its buffer is then read whole with SQLGetData, which a bound
    // column allows only where the driver says so; within a block of rows, only where the
    // driver also reads one row of a block on request (psqlODBC does, the SQLite driver
    // fetches one row at a time).
    const Odbc& odbc = Odbc::get();
    void* dbc = connectionHandle(driver);
    SQLUINTEGER extensiones = 0;
    if (!odbc.bloques() || !dbc ||
        !SQL_SUCCEEDED(odbc.getInfo(dbc, SQL_GETDATA_EXTENSIONS, &extensiones, sizeof extensiones, nullptr)) ||
        !(extensiones & SQL_GD_BOUND))
        return;
    auto b = std::make_unique<Bloque>();
    b->filas = (extensiones & SQL_GD_BLOCK) ? kFilasPorBloque : 1;
    b->estados.resize(qsizetype(b->filas));
    bool ok = SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_BIND_TYPE,
                                             reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0)) &&
              SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                             reinterpret_cast<SQLPOINTER>(b->filas), 0)) &&
              SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, &b->traidas, 0)) &&
              SQL_SUCCEEDED(odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_STATUS_PTR, b->estados.data(), 0));
    for (int i = 0; ok && i < m_tipos.size(); ++i) {
        SQLSMALLINT tipoC = SQL_C_SLONG;
        SQLLEN ancho = sizeof(SQLINTEGER);
        switch (m_tipos.at(i).tipo) {
        case Columna::Entero32: break;
        case Columna::Entero64: tipoC = SQL_C_SBIGINT; ancho = sizeof(qint64); break;
        case Columna::Doble: tipoC = SQL_C_DOUBLE; ancho = sizeof(double); break;
        case Columna::Texto: {
            // UTF-8 takes up to three bytes for each character of the basic plane.
            const SQLLEN caracteres = std::max(m_tipos.at(i).declarado, 16) + 1;
            tipoC = m_utf8 ? SQL_C_CHAR : SQL_C_WCHAR;
            ancho = m_utf8 ? caracteres * 3 : caracteres * SQLLEN(sizeof(SQLWCHAR));
            break;
        }
        }
        b->ancho << ancho;
        b->datos << QByteArray(qsizetype(ancho * SQLLEN(b->filas)), Qt::Uninitialized);
        b->indicadores << QList<SQLLEN>(qsizetype(b->filas));
        ok = SQL_SUCCEEDED(odbc.bindCol(m_stmt, SQLUSMALLINT(i + 1), tipoC, b->datos[i].data(), ancho,
                                        b->indicadores[i].data()));
    }
    m_bloque = std::move(b);
    // A driver that refuses any of it reads row by row, as Qt would.
    if (!ok) SoltarBloques();
}

void DbCursor::SoltarBloques()
{
    if (!m_bloque) return;
    if (m_stmt) {
        const Odbc& odbc = Odbc::get();
        odbc.freeStmt(m_stmt, SQL_UNBIND);
        odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        odbc.setStmtAttr(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        odbc.setStmtAttr(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(1)), 0);
    }
    m_bloque.reset();
}
void DbCursor::LeerFilaDelBloque()
{
    const Bloque& b = *m_bloque;
    const qsizetype fila = qsizetype(b.actual);
    // Once per row, not per value: a list of a hundred thousand rows reads a million values.
    QVariant* valores = m_fila.data();
    bool* enBloque = m_enBloque.data();
    const Columna* tipos = m_tipos.constData();
    for (int i = 0; i < m_tipos.size(); ++i) {
        const SQLLEN indicador = b.indicadores.at(i).at(fila);
        const char* dato = b.datos.at(i).constData() + fila * b.ancho.at(i);
        QVariant& v = valores[i];
        enBloque[i] = false;
        if (indicador == SQL_NULL_DATA) {
            v = QVariant();
            continue;
        }
        switch (tipos[i].tipo) {
        case Columna::Entero32: {
            SQLINTEGER x;
            memcpy(&x, dato, sizeof x);
            v = QVariant(int(x));
            break;
        }
        case Columna::Entero64: {
            qint64 x;
            memcpy(&x, dato, sizeof x);
            v = QVariant(x);
            break;
        }
        case Columna::Doble: {
            double x;
            memcpy(&x, dato, sizeof x);
            v = QVariant(x);
            break;
        }
        case Columna::Texto: {
            const SQLLEN cabe = b.ancho.at(i) - (m_utf8 ? 1 : SQLLEN(sizeof(SQLWCHAR)));
            if (indicador == SQL_NO_TOTAL || indicador > cabe) {
                // Longer than its buffer: this one value is read whole from the driver.
                if (b.filas > 1 &&
                    !SQL_SUCCEEDED(Odbc::get().setPos(m_stmt, SQLSETPOSIROW(fila + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE))
                    && m_owner)
                    m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
                LeerTexto(i);
            } else {
                // Made into a value only when asked for: a caller that takes the bytes (the
                // text export) or skips the column needs none.
                enBloque[i] = true;
            }
            break;
        }
        }
    }
    m_leidas = m_tipos.size();
}

void DbCursor::TomarDelBloque(int i) const
{
    const Bloque& b = *m_bloque;
    const qsizetype fila = qsizetype(b.actual);
    GuardarTexto(m_fila[i], b.datos.at(i).constData() + fila * b.ancho.at(i), qsizetype(b.indicadores.at(i).at(fila)),
                 m_utf8);
    m_enBloque[i] = false;
}

const char* DbCursor::EnBloque(int index, qsizetype& bytes) const
{
    if (!m_bloque || !m_query || !m_enFila || index < 0 || index >= m_enBloque.size() || !m_enBloque.at(index))
        return nullptr;
    const Bloque& b = *m_bloque;
    const qsizetype fila = qsizetype(b.actual);
    bytes = qsizetype(b.indicadores.at(index).at(fila));
    return b.datos.at(index).constData() + fila * b.ancho.at(index);
}

bool DbCursor::Utf8(int index, std::string_view& bytes) const
{
    qsizetype largo = 0;
    const char* datos = m_utf8 ? EnBloque(index, largo) : nullptr;
    if (!datos) return false;
    bytes = std::string_view(datos, size_t(largo));
    return true;
}

bool DbCursor::Utf16(int index, QStringView& texto) const
{
    qsizetype largo = 0;
    const char* datos = m_utf8 ? nullptr : EnBloque(index, largo);
    if (!datos) return false;
    texto = QStringView(reinterpret_cast<const char16_t*>(datos), largo / qsizetype(sizeof(char16_t)));
    return true;
}

void DbCursor::LeerTexto(int i) const
{
    // One call when the value fits (nearly always); a longer one comes in pieces, each but the
    // last filling the buffer up to its terminator.
    const auto getData = Odbc::get().getData;
    const SQLUSMALLINT n = static_cast<SQLUSMALLINT>(i + 1);
    const int largo = m_tipos.at(i).largo;
    const SQLLEN terminador = m_utf8 ? 1 : SQLLEN(sizeof(SQLWCHAR));
    const SQLLEN bytes = m_utf8 ? SQLLEN(largo) * 3 + 1 : SQLLEN(largo) * SQLLEN(sizeof(SQLWCHAR));
    if (m_texto.size() < bytes) m_texto.resize(bytes);
    QByteArray partes;
    bool enPartes = false;
    for (;;) {
        SQLLEN indicador = 0;
        SQLRETURN r = getData(m_stmt, n, m_utf8 ? SQL_C_CHAR : SQL_C_WCHAR, m_texto.data(), bytes, &indicador);
        if (r == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(r)) {
            if (m_owner) m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
            return;
        }
        if (indicador == SQL_NULL_DATA) {
            m_fila[i] = QVariant();
            return;
        }
        const bool entero = r == SQL_SUCCESS && indicador != SQL_NO_TOTAL;
        const qsizetype trozo = entero ? qsizetype(indicador) : qsizetype(bytes - terminador);
        if (entero && !enPartes) {
            GuardarTexto(m_fila[i], m_texto.constData(), trozo, m_utf8);
            return;
        }
        // In pieces the text is put together before it is decoded: a UTF-8 character may
        // straddle two of them.
        partes.append(m_texto.constData(), trozo);
        enPartes = true;
        if (entero) break;
    }
    GuardarTexto(m_fila[i], partes.constData(), partes.size(), m_utf8);
}

void DbCursor::LeerHasta(int index) const
{
    const auto getData = Odbc::get().getData;
    for (; m_leidas <= index; ++m_leidas) {
        const int i = m_leidas;
        const SQLUSMALLINT n = static_cast<SQLUSMALLINT>(i + 1);
        SQLLEN indicador = 0;
        SQLRETURN r = SQL_SUCCESS;
        QVariant& v = m_fila[i];
        switch (m_tipos.at(i).tipo) {
        case Columna::Entero32: {
            SQLINTEGER x = 0;
            r = getData(m_stmt, n, SQL_C_SLONG, &x, sizeof x, &indicador);
            v = indicador == SQL_NULL_DATA ? QVariant() : QVariant(int(x));
            break;
        }
        case Columna::Entero64: {
            qint64 x = 0;
            r = getData(m_stmt, n, SQL_C_SBIGINT, &x, sizeof x, &indicador);
            v = indicador == SQL_NULL_DATA ? QVariant() : QVariant(x);
            break;
        }
        case Columna::Doble: {
            double x = 0;
            r = getData(m_stmt, n, SQL_C_DOUBLE, &x, sizeof x, &indicador);
            v = indicador == SQL_NULL_DATA ? QVariant() : QVariant(x);
            break;
        }
        case Columna::Texto:
            LeerTexto(i);
            break;
        }
        if (!SQL_SUCCEEDED(r) && m_owner)
            m_owner->Raise(QStringLiteral("fetch"), m_sql, m_stmt, QSqlError());
    }
}
