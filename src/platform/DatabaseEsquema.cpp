// The schema script shipped inside the program, and what of it a database still lacks, made under
// the schema lock.
#include "platform/Database.h"

#include "platform/DatabaseInterno.h"
#include "platform/RelojDeArena.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <algorithm>

namespace {

QMutex g_schemaMutex;
QSet<QString>& schemaEnsured()
{
    static QSet<QString> set;
    return set;
}

QString tableOfSection(const QString& line)
{
    // "-- table: Nombre"
    return line.mid(line.indexOf(QLatin1Char(':')) + 1).trimmed();
}

} // namespace

void Database::EnsureSchemaOnce(const QString& cs)
{
    // Once per data source and process: the classes that open a connection per call must not
    // pay for the check each time.
    {
        QMutexLocker lock(&g_schemaMutex);
        if (schemaEnsured().contains(cs))
            return;
    }
    EnsureSchema();
    QMutexLocker lock(&g_schemaMutex);
    schemaEnsured().insert(cs);
}

QString Database::SchemaScript(Engine engine)
{
    const QString name = engine == Engine::PostgreSQL ? QStringLiteral(":/db/schema-postgresql.sql")
                                                      : QStringLiteral(":/db/schema-sqlite.sql");
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        throw VbError(53, QStringLiteral("Database"), QStringLiteral("No encuentro el esquema %1").arg(name));
    return QString::fromUtf8(f.readAll());
}

QStringList Database::SplitStatements(const QString& script)
{
    QStringList out;
    QString current;
    bool inQuote = false;
    bool inDollar = false;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& rawLine : lines) {
        const QString line = rawLine;
        if (!inQuote && !inDollar && line.trimmed().startsWith(QLatin1String("--")))
            continue;
        for (int i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (!inQuote && c == QLatin1Char('$') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('$')) {
                inDollar = !inDollar;
                current += QLatin1String("$$");
                ++i;
                continue;
            }
            if (!inDollar && c == QLatin1Char('\''))
                inQuote = !inQuote;
            if (!inQuote && !inDollar && c == QLatin1Char(';')) {
                if (!current.trimmed().isEmpty())
                    out << current.trimmed();
                current.clear();
                continue;
            }
            current += c;
        }
        current += QLatin1Char('\n');
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

namespace {

// The shipped script in its parts: "-- table: Name" heads a section that runs only when its
// table is missing; "-- setup" (PostgreSQL's collation) runs before the first missing table;
// "-- always" holds the indexes every database must end up with; "-- unless: <query>" heads
// statements that run only when the query finds no row (a unique index that an older
// database's rows would violate).
struct Esquema {
    struct Seccion {
        QString tabla;
        QString texto;
    };
    struct Condicional {
        QString consulta;
        QString texto;
    };
    QList<Seccion> secciones;
    QString setup;
    QString always;
    QList<Condicional> condicionales;
};

Esquema LeerEsquema(const QString& script)
{
    Esquema e;
    QString* destino = nullptr;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("-- table:"))) {
            e.secciones.append({tableOfSection(t), QString()});
            destino = &e.secciones.last().texto;
        } else if (t.startsWith(QLatin1String("-- setup"))) {
            destino = &e.setup;
        } else if (t.startsWith(QLatin1String("-- always"))) {
            destino = &e.always;
        } else if (t.startsWith(QLatin1String("-- unless:"))) {
            e.condicionales.append({tableOfSection(t), QString()});
            destino = &e.condicionales.last().texto;
        } else if (destino) {
            *destino += line + QLatin1Char('\n');
        }
    }
    return e;
}

// The index a statement creates or drops, by its lower-case name; empty for any other.
QString IndiceDe(const QString& sentencia, bool* crea)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(CREATE\s+(?:UNIQUE\s+)?INDEX|DROP\s+INDEX)\s+(?:IF\s+(?:NOT\s+)?EXISTS\s+)?(\w+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(sentencia);
    if (!m.hasMatch())
        return QString();
    *crea = m.captured(1).startsWith(QLatin1String("CREATE"), Qt::CaseInsensitive);
    return m.captured(2).toLower();
}

// Whether an index statement still has work to do; any other statement always has.
bool Pendiente(const QString& sentencia, const QSet<QString>& indices)
{
    bool crea = false;
    const QString indice = IndiceDe(sentencia, &crea);
    if (indice.isEmpty())
        return true;
    return crea != indices.contains(indice);
}

bool HayPendientes(const QString& texto, const QSet<QString>& indices)
{
    const QStringList sentencias = Database::SplitStatements(texto);
    return std::any_of(sentencias.begin(), sentencias.end(),
                       [&](const QString& s) { return Pendiente(s, indices); });
}

// Lower-case names from a catalogue query; false when the engine has no catalogue we read.
bool Catalogo(Database& db, const QString& sqlite, const QString& postgresql, QSet<QString>* nombres)
{
    const QString sql = db.engine() == Database::Engine::SQLite       ? sqlite
                        : db.engine() == Database::Engine::PostgreSQL ? postgresql
                                                                      : QString();
    if (sql.isEmpty())
        return false;
    for (DbResult r = db.Query(sql); !r.EOF_(); r.MoveNext())
        nombres->insert(r.value(0).toString().toLower());
    return true;
}

bool TablaPresente(Database& db, bool catalogo, const QSet<QString>& tablas, const QString& tabla)
{
    if (catalogo)
        return tablas.contains(tabla.toLower());
    try {
        db.Query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(tabla));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

struct Catalogos {
    QSet<QString> tablas;
    QSet<QString> indices;
    bool conTablas = false;
    bool conIndices = false;
};

Catalogos LeerCatalogos(Database& db)
{
    Catalogos c;
    c.conTablas = Catalogo(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"),
                           QStringLiteral("SELECT table_name FROM information_schema.tables "
                                          "WHERE table_schema = current_schema()"),
                           &c.tablas);
    c.conIndices = Catalogo(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"),
                            QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()"),
                            &c.indices);
    return c;
}

// Whether an "unless" query finds a row. Its first row is enough: the check runs at every start
// and the query's second half groups a whole log table.
bool Encuentra(Database& db, const QString& consulta)
{
    return db.Query(QStringLiteral("SELECT 1 FROM (%1) AS u LIMIT 1").arg(consulta)).RowCount() > 0;
}

// Whether the database lacks anything the script makes: a table, an index of a section or
// of "always", an index "always" drops that is still there, or a conditional statement whose
// query finds no row and whose index is missing. Only reads.
bool FaltaAlgo(Database& db, const Esquema& e)
{
    const Catalogos c = LeerCatalogos(db);
    for (const Esquema::Seccion& s : e.secciones) {
        if (!TablaPresente(db, c.conTablas, c.tablas, s.tabla))
            return true;
    }
    // Without a catalogue of indexes the idempotent statements run, as they always did.
    if (!c.conIndices)
        return true;
    for (const Esquema::Seccion& s : e.secciones) {
        for (const QString& st : Database::SplitStatements(s.texto)) {
            bool crea = false;
            const QString indice = IndiceDe(st, &crea);
            if (crea && !c.indices.contains(indice))
                return true;
        }
    }
    if (HayPendientes(e.always, c.indices))
        return true;
    for (const Esquema::Condicional& k : e.condicionales) {
        if (HayPendientes(k.texto, c.indices) && !Encuentra(db, k.consulta))
            return true;
    }
    return false;
}

// Runs what is missing; called under the schema lock, so what it reads stays true.
void AplicarEsquema(Database& db, const Esquema& e)
{
    Catalogos c = LeerCatalogos(db);
    bool setupHecho = false;
    for (const Esquema::Seccion& s : e.secciones) {
        const bool presente = TablaPresente(db, c.conTablas, c.tablas, s.tabla);
        if (!presente && !setupHecho) {
            for (const QString& st : Database::SplitStatements(e.setup))
                db.Execute(st);
            setupHecho = true;
        }
        for (const QString& st : Database::SplitStatements(s.texto)) {
            // A table of an earlier version keeps its rows; only an index it lost is made again.
            bool crea = false;
            const QString indice = IndiceDe(st, &crea);
            if (!presente || (crea && c.conIndices && !c.indices.contains(indice)))
                db.Execute(st);
        }
    }
    c = LeerCatalogos(db);
    for (const QString& st : Database::SplitStatements(e.always)) {
        if (!c.conIndices || Pendiente(st, c.indices))
            db.Execute(st);
    }
    for (const Esquema::Condicional& k : e.condicionales) {
        if (c.conIndices && !HayPendientes(k.texto, c.indices))
            continue;
        if (Encuentra(db, k.consulta))
            continue;
        for (const QString& st : Database::SplitStatements(k.texto))
            db.Execute(st);
    }
}

} // namespace

void Database::EnsureSchema()
{
    const Esquema esquema =
        LeerEsquema(SchemaScript(m_engine == Engine::PostgreSQL ? Engine::PostgreSQL : Engine::SQLite));
    // Terminals that start together all find what is missing; the first to hold the schema
    // lock makes it, the others find it made. A database that lacks nothing (every start but
    // the first) takes no lock and runs no DDL: on PostgreSQL even CREATE INDEX IF NOT EXISTS
    // waits for every writer of its table.
    try {
        if (FaltaAlgo(*this, esquema)) {
            BeginTransEsquema();
            try {
                if (FaltaAlgo(*this, esquema))
                    AplicarEsquema(*this, esquema);
            } catch (...) {
                DeshacerEscrituraSilencioso();
                throw;
            }
            CommitTransEscritura();
        }
    } catch (...) {
        m_sentencias->Vaciar();
        throw;
    }
    // The schema statements run once; they need not stay prepared.
    m_sentencias->Vaciar();
}

void Database::BeginTransEsquema()
{
    if (m_engine != Engine::PostgreSQL) {
        BeginTransBloqueada(QString());
        return;
    }
    // Another desk's schema work may build an index over years of history, far longer than a
    // save waits for a lock: it is waited for as long as it runs (the server ends a vanished
    // holder's session), up to its own bound. The lock is asked for again and again rather than
    // waited for inside one statement, so the window stays painted under the wait pointer; each
    // refused try ends its transaction, so no transaction stays open for minutes.
    RelojDeArena reloj;
    const Limites l = LimitesSesion();
    QElapsedTimer desde;
    desde.start();
    for (;;) {
        BeginTrans();
        bool tomado = false;
        try {
            // One key per schema: the test databases are schemas of one server.
            tomado = Query(QStringLiteral("SELECT CASE WHEN pg_try_advisory_xact_lock(hashtext('quorvan.esquema.' "
                                          "|| current_schema())) THEN 1 ELSE 0 END"))
                         .value(0)
                         .toInt()
                == 1;
        } catch (...) {
            DeshacerSilencioso();
            throw;
        }
        if (tomado)
            return;
        DeshacerSilencioso();
        if (desde.elapsed() >= l.esquemaMs)
            throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                          QStringLiteral("La base de datos está siendo actualizada por otra terminal; intente nuevamente "
                                         "en unos minutos"),
                          QStringLiteral("55P03"));
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(static_cast<unsigned long>(l.esquemaIntervaloMs));
    }
}
