#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The ODBC connection string from the program's setting to the driver manager: the few keys the
// program adds for psqlODBC, and the form Qt's ODBC driver needs so that the driver manager
// receives the string as it was meant.
namespace CadenaConexion {

// One entry of a connection string, in its order: a key and its value as written (braces kept),
// or a bare text (a data source name written alone). `texto` is the entry as it stood.
struct Entrada {
    QString clave;
    QString valor;
    QString texto;
    bool sinClave = false;
};
// Entries are separated by ";" outside braces; empty ones are dropped.
QList<Entrada> Partir(const QString& cadena);
// A value without its braces and surrounding blanks.
QString SinLlaves(const QString& valor);
// The keys of a libpq connection text ("clave=valor clave='valor con blancos'"), in lower case.
QStringList ClavesLibpq(const QString& opciones);

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
// source's, keeping what it holds. Other drivers' strings are left as they are.
QString Completar(const QString& cadena, const Agregados& agregados, const Lector& lector);

// What to hand Qt's ODBC driver so that the driver manager receives `cadena` as it stands.
// That driver puts "FILEDSN=" before any string holding ".dsn", and "DSN=" before one that holds
// neither "DRIVER=" nor "SERVER=": such a string goes with its data source name first and
// without its "DSN=" key. A string holding ".dsn" cannot pass: empty, and `rechazo` says why.
QString ParaQt(const QString& cadena, QString* rechazo);

} // namespace CadenaConexion
