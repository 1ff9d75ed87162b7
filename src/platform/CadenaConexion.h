#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>

// The ODBC connection string from the program's setting to the driver manager: the few keys the
// program adds for psqlODBC, and the form Qt's ODBC driver needs so that the driver manager
// receives the string as it was meant.
namespace CadenaConexion {

// One entry of a connection string, in its order: a key and its value as written (braces kept),
// or a bare text (a data source name written alone). `texto` is the entry as it stood, from
// `inicio` in the string.
struct Entrada {
    QString clave;
    QString valor;
    QString texto;
    bool sinClave = false;
    qsizetype inicio = 0;
};
// Entries are separated by ";" outside braces; empty ones are dropped. Braces quote a value
// only where it begins with one, and "}}" inside them is a "}", as the driver manager and
// psqlODBC read them.
QList<Entrada> Partir(const QString& cadena);
// A value as the driver reads it: without its braces ("}}" a "}") and surrounding blanks.
QString SinLlaves(const QString& valor);
// Whether the entry has one of these keys (without regard to case).
bool EsClave(const Entrada& e, std::initializer_list<const char*> nombres);
// The value (SinLlaves) of the last entry with one of these keys, as a driver reads a key given
// twice; none when no entry has it.
std::optional<QString> Valor(const QString& cadena, std::initializer_list<const char*> claves);
// The keys of a libpq connection text ("clave=valor clave='valor con blancos'"), in lower case.
QStringList ClavesLibpq(const QString& opciones);

// `cadena` with `entradas` ("clave=valor") where they change how no entry of its own reads:
// first, or after a data source name written alone first. Nothing then stands before them to
// join them to another entry, and each entry of the string keeps its neighbours and stays the
// last when it was (psqlODBC takes a braced value holding "}" whole only there).
QString Anteponer(const QString& cadena, const QStringList& entradas);
// `cadena` with every entry of that key given `valor` in place, or with the key added
// (Anteponer) when none has it; the rest as written.
QString Poner(const QString& cadena, const char* clave, const QString& valor);

// The definition of a data source in odbc.ini (`driver` false) or of a driver in odbcinst.ini
// (`driver` true), keys in lower case; empty when there is none.
using Lector = std::function<QHash<QString, QString>(const QString& seccion, bool driver)>;

// What the program adds to a psqlODBC connection (Database::Limites): the driver's TCP
// keepalives (seconds), and libpq's tcp_user_timeout (milliseconds) and connect_timeout
// (seconds) through the driver's pqopt.
struct Agregados {
    int keepaliveInactivaS = 0;
    int keepaliveIntervaloS = 0;
    int sinAcuseMs = 0;
    int conexionS = 0;
};

// The string the driver manager is to receive: a bare data source name gets its "DSN=", and a
// psqlODBC connection gets each added key that neither the string nor its data source's
// definition names, itself or as its libpq equivalent inside pqopt (the driver refuses a
// pqopt key that an ordinary key also sets). A pqopt in the string replaces the data source's
// own whole, so the libpq keys go into the pqopt in force, the string's or else the data
// source's, first, so that its own text ends it as before (a trailing "\" escapes nothing of
// ours). A pqopt holding "}" cannot be braced again and gets none of them. The added keys go
// where Anteponer puts them; the rest of the string stays as written. Other drivers' strings
// are left as they are.
QString Completar(const QString& cadena, const Agregados& agregados, const Lector& lector);

// What to hand Qt's ODBC driver so that the driver manager receives `cadena` as it stands.
// That driver puts "FILEDSN=" before any string holding ".dsn", and "DSN=" before one that holds
// neither "DRIVER=" nor "SERVER=": such a string goes with its data source name first and
// without its "DSN=" key. A string holding ".dsn" cannot pass: empty, and `rechazo` says why.
QString ParaQt(const QString& cadena, QString* rechazo);

} // namespace CadenaConexion
