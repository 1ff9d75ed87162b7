#pragma once
// What the units of the database layer share among themselves (Database, DatabaseOrigen,
// DatabaseEsquema, DatabasePerdida, CursorPorPasos, DbCursor, DbCursorLectura, OdbcDirecto).
// Nothing outside them includes it: the rest of the program reaches the database through
// Database.h alone.
#include "platform/Database.h"

#include <QAtomicInteger>
#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>

class QSqlDriver;

namespace DatabaseInterno {

// ---------------------------------------------------------------------------------------------
// unixODBC, reached at run time through the same library the Qt driver uses, for the few
// calls Qt does not offer: the data sources and drivers that are defined, and the SQLSTATE of
// a failure.

struct Odbc {
    using AllocHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*);
    using FreeHandle = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE);
    using SetEnvAttr = SQLRETURN (*)(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER);
    using DataSources = SQLRETURN (*)(SQLHENV, SQLUSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*,
                                      SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);
    using Drivers = DataSources;
    using GetDiagRec = SQLRETURN (*)(SQLSMALLINT, SQLHANDLE, SQLSMALLINT, SQLCHAR*, SQLINTEGER*,
                                     SQLCHAR*, SQLSMALLINT, SQLSMALLINT*);
    using GetData = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
    using SetStmtAttr = SQLRETURN (*)(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER);
    using BindCol = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
    using Fetch = SQLRETURN (*)(SQLHSTMT);
    using SetPos = SQLRETURN (*)(SQLHSTMT, SQLSETPOSIROW, SQLUSMALLINT, SQLUSMALLINT);
    using FreeStmt = SQLRETURN (*)(SQLHSTMT, SQLUSMALLINT);
    using GetInfo = SQLRETURN (*)(SQLHDBC, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*);
    using GetConnectAttr = SQLRETURN (*)(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER, SQLINTEGER*);

    AllocHandle alloc = nullptr;
    FreeHandle free = nullptr;
    SetEnvAttr setEnv = nullptr;
    DataSources dataSources = nullptr;
    Drivers drivers = nullptr;
    GetDiagRec diag = nullptr;
    GetData getData = nullptr;
    SetStmtAttr setStmtAttr = nullptr;
    BindCol bindCol = nullptr;
    Fetch fetch = nullptr;
    SetPos setPos = nullptr;
    FreeStmt freeStmt = nullptr;
    GetInfo getInfo = nullptr;
    GetConnectAttr getConnectAttr = nullptr;
    // From unixODBC's installer library: odbc.ini and odbcinst.ini as the driver manager reads
    // them (user file, then system; ODBCINI and ODBCSYSINI honoured).
    using GetProfileString = int (*)(const char*, const char*, const char*, char*, int, const char*);
    GetProfileString profileString = nullptr;
    bool bloques() const { return setStmtAttr && bindCol && fetch && setPos && freeStmt && getInfo && getData; }

    static const Odbc& get();

    // The keys of a data source (odbc.ini) or a driver (odbcinst.ini), in lower case.
    QHash<QString, QString> section(const QString& name, bool driver) const;

    // Names listed by SQLDataSources (dataSources true) or SQLDrivers.
    QStringList list(bool wantDataSources) const;
};

// The statement handle of a query, and the connection handle Qt's ODBC driver holds; null
// where Qt does not hand them out.
void* statementHandle(const QSqlQuery& q);
void* connectionHandle(const QSqlDriver* driver);

// Numbers the Qt connections; also spreads the waits of connections that collided.
extern QAtomicInteger<quint64> g_connectionCounter;

// A value as it is bound (see Database.cpp).
QVariant bindable(const QVariant& v);

// The connection string for Qt's ODBC driver (see DatabaseOrigen.cpp); DbError when it cannot be
// handed over as meant.
QString ParaElControlador(const QString& connectionString);

// Rows a block fetch brings at once: enough to make the calls per row negligible, few enough
// that the buffers stay in the cache.
constexpr SQLULEN kFilasPorBloque = 128;
// Text columns declared wider than this (characters) are read with SQLGetData.
constexpr int kTextoMaximoEnlazado = 1024;

// A text read from the driver into `v` (see DbCursorLectura.cpp).
void GuardarTexto(QVariant& v, const char* datos, qsizetype bytes, bool utf8);

} // namespace DatabaseInterno

// The buffers of a block fetch: per column, one value per row of the block (column-wise
// binding), with its length or null indicator.
struct DbCursor::Bloque {
    QList<QByteArray> datos;
    QList<QList<SQLLEN>> indicadores;
    QList<SQLLEN> ancho; // bytes of one row's value
    QList<SQLUSMALLINT> estados;
    SQLULEN filas = 1;   // rows a fetch asks for
    SQLULEN traidas = 0; // rows the last fetch brought
    SQLULEN actual = 0;
    bool terminado = false;
};

// The prepared statements of one connection, by their text. Callers that build a condition
// into the text make a new entry per call; when the cache is full the statement used least
// recently goes, so the ones run for every line of a long list stay prepared.
struct Database::Sentencias {
    static constexpr int kMaximo = 64;
    struct Entrada {
        QSqlQuery* q = nullptr;
        quint64 uso = 0;
    };
    QHash<QString, Entrada> porTexto;
    quint64 reloj = 0;
    ~Sentencias() { Vaciar(); }
    void Vaciar()
    {
        for (auto& e : porTexto)
            delete e.q;
        porTexto.clear();
    }
    void Quitar(const QString& sql) { delete porTexto.take(sql).q; }
    QSqlQuery* Buscar(const QString& sql)
    {
        auto it = porTexto.find(sql);
        if (it == porTexto.end())
            return nullptr;
        it->uso = ++reloj;
        return it->q;
    }
    void Agregar(const QString& sql, QSqlQuery* q)
    {
        if (porTexto.size() >= kMaximo) {
            auto viejo = porTexto.begin();
            for (auto it = porTexto.begin(); it != porTexto.end(); ++it)
                if (it->uso < viejo->uso)
                    viejo = it;
            delete viejo->q;
            porTexto.erase(viejo);
        }
        porTexto.insert(sql, Entrada{q, ++reloj});
    }
};
