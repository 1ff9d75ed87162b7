#pragma once
// The floor a job is measured against: the least work that gives the same result, timed in the
// same process, alternately with the program's case, on the same database. Its reading runs
// the program's own statement on one ODBC statement with every column bound as text and
// fetched in blocks, and on SQLite also through SQLite's own C API.
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace Suelo {

// One value of the current row: its bytes (UTF-8, or UTF-16 where `utf16`), a number where
// `esEntero`, or null.
struct Celda {
    const char* datos = nullptr;
    qsizetype bytes = 0;
    bool nulo = true;
    bool utf16 = false;
    bool esEntero = false;
    qint64 entero = 0;
    QString Texto() const
    {
        if (nulo) return QString();
        if (esEntero) return QString::number(entero);
        return utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t*>(datos), bytes / 2)
                     : QString::fromUtf8(datos, bytes);
    }
};

class Odbc {
public:
    // Integer columns bound as 64-bit numbers (Celda::entero) rather than as their text.
    bool enteros = false;

    // `utf8`: texts as the SQLite driver keeps them; else UTF-16, as psqlODBC's Unicode driver.
    Odbc(const QString& conexion, bool utf8) : m_utf8(utf8)
    {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
        QByteArray cs = conexion.toUtf8();
        if (!SQL_SUCCEEDED(SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(cs.data()), SQL_NTS, nullptr,
                                            0, nullptr, SQL_DRIVER_NOPROMPT)))
            throw std::runtime_error("floor: no ODBC connection");
    }
    // Runs a statement that returns nothing the floor needs (a PRAGMA), with `valores` bound.
    void Ejecutar(const QString& sql, const QVariantList& valores = {})
    {
        SQLHSTMT st = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &st);
        QByteArray texto = sql.toUtf8();
        Enlazados enlazados(st, valores);
        SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(texto.data()), SQL_NTS);
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
    ~Odbc()
    {
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }

    // Calls fila(const Celda*, int columns) for each row; returns the rows read. `valores` (texts
    // and whole numbers) are bound to the statement's markers, in order.
    template <class F>
    qint64 Leer(const QString& sql, const QVariantList& valores, F&& fila)
    {
        SQLHSTMT st = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &st);
        constexpr SQLULEN kFilas = 128;
        SQLULEN traidas = 0;
        std::vector<SQLUSMALLINT> estados(kFilas);
        SQLSetStmtAttr(st, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
        SQLULEN filas = SQL_SUCCEEDED(SQLSetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE,
                                                     reinterpret_cast<SQLPOINTER>(kFilas), 0))
                            ? kFilas
                            : 1;
        SQLSetStmtAttr(st, SQL_ATTR_ROWS_FETCHED_PTR, &traidas, 0);
        SQLSetStmtAttr(st, SQL_ATTR_ROW_STATUS_PTR, estados.data(), 0);
        QByteArray texto = sql.toUtf8();
        QVariantList enlazar = valores;
        // The SQLite driver steps through the rows only of a statement without parameters (with
        // one it reads the whole result at execute): the values are read from a table of the
        // connection's own, as the program's cursor reads them.
        if (m_utf8 && !valores.isEmpty()) {
            Ejecutar(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS ValorSuelo (Numero INTEGER PRIMARY KEY, Valor)"));
            Ejecutar(QStringLiteral("DELETE FROM temp.ValorSuelo"));
            QByteArray conValores;
            int k = 0;
            for (const char c : texto) {
                if (c != '?') {
                    conValores += c;
                    continue;
                }
                Ejecutar(QStringLiteral("INSERT INTO temp.ValorSuelo (Numero, Valor) VALUES (%1, ?)").arg(k),
                         {valores.value(k)});
                conValores += "(SELECT +Valor FROM temp.ValorSuelo WHERE Numero = " + QByteArray::number(k++) + ")";
            }
            texto = conValores;
            enlazar.clear();
        }
        Enlazados enlazados(st, enlazar);
        if (!SQL_SUCCEEDED(SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(texto.data()), SQL_NTS))) {
            SQLFreeHandle(SQL_HANDLE_STMT, st);
            throw std::runtime_error("floor: statement failed");
        }
        SQLSMALLINT columnas = 0;
        SQLNumResultCols(st, &columnas);
        std::vector<QByteArray> datos(columnas);
        std::vector<std::vector<SQLLEN>> indicadores(columnas, std::vector<SQLLEN>(filas));
        std::vector<SQLLEN> anchos(columnas);
        std::vector<bool> numero(columnas);
        for (SQLUSMALLINT c = 0; c < columnas; ++c) {
            SQLULEN declarado = 0;
            SQLSMALLINT tipo = 0;
            SQLDescribeCol(st, c + 1, nullptr, 0, nullptr, &tipo, &declarado, nullptr, nullptr);
            numero[c] = enteros && (tipo == SQL_INTEGER || tipo == SQL_SMALLINT || tipo == SQL_BIGINT ||
                                    tipo == SQL_TINYINT);
            const SQLLEN caracteres = SQLLEN(std::clamp<SQLULEN>(declarado, 32, 1024)) + 1;
            anchos[c] = numero[c] ? SQLLEN(sizeof(qint64)) : m_utf8 ? caracteres * 3 : caracteres * 2;
            datos[c].resize(qsizetype(anchos[c] * SQLLEN(filas)));
            SQLBindCol(st, c + 1, numero[c] ? SQL_C_SBIGINT : m_utf8 ? SQL_C_CHAR : SQL_C_WCHAR, datos[c].data(),
                       anchos[c], indicadores[c].data());
        }
        std::vector<Celda> celdas(columnas);
        qint64 n = 0;
        SQLRETURN r;
        while (SQL_SUCCEEDED(r = SQLFetch(st))) {
            for (SQLULEN i = 0; i < traidas; ++i) {
                for (int c = 0; c < columnas; ++c) {
                    const SQLLEN ind = indicadores[c][i];
                    Celda& x = celdas[c];
                    x.utf16 = !m_utf8;
                    x.nulo = ind == SQL_NULL_DATA;
                    x.datos = datos[c].constData() + anchos[c] * SQLLEN(i);
                    x.esEntero = numero[c];
                    if (x.esEntero) {
                        memcpy(&x.entero, x.datos, sizeof x.entero);
                        continue;
                    }
                    x.bytes = x.nulo ? 0 : std::min<SQLLEN>(ind, anchos[c] - (m_utf8 ? 1 : 2));
                    if (ind >= anchos[c]) throw std::runtime_error("floor: value longer than its buffer");
                }
                fila(celdas.data(), int(columnas));
                ++n;
            }
        }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        if (r != SQL_NO_DATA) throw std::runtime_error("floor: fetch failed");
        return n;
    }

private:
    // Values bound to a statement's markers, kept while it runs: texts as UTF-8, whole numbers
    // as 64-bit integers.
    struct Enlazados {
        std::vector<QByteArray> textos;
        std::vector<qint64> numeros;
        std::vector<SQLLEN> largos;
        Enlazados(SQLHSTMT st, const QVariantList& valores)
            : textos(size_t(valores.size())), numeros(size_t(valores.size())), largos(size_t(valores.size()))
        {
            for (qsizetype i = 0; i < valores.size(); ++i) {
                const QVariant& v = valores.at(i);
                const SQLUSMALLINT n = SQLUSMALLINT(i + 1);
                if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
                    textos[size_t(i)] = v.toString().toUtf8();
                    largos[size_t(i)] = textos[size_t(i)].size();
                    SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, SQLULEN(largos[size_t(i)]), 0,
                                     textos[size_t(i)].data(), largos[size_t(i)], &largos[size_t(i)]);
                } else {
                    numeros[size_t(i)] = v.toLongLong();
                    SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &numeros[size_t(i)], 0,
                                     nullptr);
                }
            }
        }
    };

    bool m_utf8;
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
};

// The same through SQLite's C API, on the database file.
class ApiSqlite {
public:
    // Integer values as numbers (Celda::entero) rather than as their text.
    bool enteros = false;

    explicit ApiSqlite(const QString& archivo)
    {
        if (sqlite3_open_v2(archivo.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("floor: no SQLite database");
    }
    ~ApiSqlite() { sqlite3_close(m_db); }
    void Ejecutar(const QString& sql) { sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }
    template <class F>
    qint64 Leer(const QString& sql, const QVariantList& valores, F&& fila)
    {
        sqlite3_stmt* st = nullptr;
        const QByteArray texto = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, texto.constData(), int(texto.size()), &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        for (qsizetype i = 0; i < valores.size(); ++i) {
            const QVariant& v = valores.at(i);
            if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
                const QByteArray t = v.toString().toUtf8();
                sqlite3_bind_text(st, int(i + 1), t.constData(), int(t.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(st, int(i + 1), v.toLongLong());
            }
        }
        const int columnas = sqlite3_column_count(st);
        std::vector<Celda> celdas(columnas);
        qint64 n = 0;
        int r;
        while ((r = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < columnas; ++c) {
                Celda& x = celdas[c];
                const int tipo = sqlite3_column_type(st, c);
                x.nulo = tipo == SQLITE_NULL;
                x.esEntero = enteros && tipo == SQLITE_INTEGER;
                if (x.esEntero) {
                    x.entero = sqlite3_column_int64(st, c);
                    continue;
                }
                x.datos = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                x.bytes = sqlite3_column_bytes(st, c);
            }
            fila(celdas.data(), columnas);
            ++n;
        }
        sqlite3_finalize(st);
        if (r != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(m_db));
        return n;
    }

private:
    sqlite3* m_db = nullptr;
};

// The settings of the program's reading connection on SQLite (Database::OpenCursor): the file
// read through a memory map, sorts kept in memory up to 64 MB.
template <class Lector>
void ComoElLector(Lector& l)
{
    l.Ejecutar(QStringLiteral("PRAGMA mmap_size=268435456"));
    l.Ejecutar(QStringLiteral("PRAGMA cache_size=-65536"));
}

// The median of the times taken, in milliseconds.
inline double Mediana(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The machine's load average over the last minute: the machine is shared, and each ratio is
// reported beside it.
inline double Carga()
{
    double carga[1] = {-1};
    return getloadavg(carga, 1) == 1 ? carga[0] : -1;
}

// A job's counters against its floor: the floor's median, the ratio of the medians, the ratio
// of the minima (the runs each disturbed least) and the load when the timings ended.
// `sufijo` names a second floor ("_capi").
template <class Estado>
void Informar(Estado& state, const std::vector<double>& programa, const std::vector<double>& suelo,
              const std::string& sufijo = std::string())
{
    if (programa.empty() || suelo.empty()) return;
    const std::string nombre = sufijo.empty() ? std::string("floor") : sufijo.substr(1);
    state.counters[nombre + "_ms"] = Mediana(suelo);
    state.counters["ratio" + sufijo] = Mediana(programa) / Mediana(suelo);
    state.counters["ratio_min" + sufijo] =
        *std::min_element(programa.begin(), programa.end()) / *std::min_element(suelo.begin(), suelo.end());
    state.counters["carga"] = Carga();
}

template <class F>
double Medir(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

}
