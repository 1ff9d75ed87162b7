// Which data source the program opens (QUORVAN_DSN, the data source "Quorvan", or the embedded
// SQLite file, the only one under QUORVAN_EMBEBIDA), and the string Qt's ODBC driver is given
// for it.
#include "platform/Database.h"

#include "platform/ArchivosPropios.h"
#include "platform/CadenaConexion.h"
#include "platform/DatabaseInterno.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>

using namespace DatabaseInterno;

bool Database::DsnDefined(const QString& dsn)
{
    const QStringList names = Odbc::get().list(true);
    for (const QString& n : names)
        if (n.compare(dsn, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString Database::SQLiteConnectionString(const QString& file)
{
    // The driver registered by libsqliteodbc, or its library when unixODBC does not list it.
    QString driver;
    const QStringList drivers = Odbc::get().list(false);
    for (const QString& d : drivers)
        if (d.compare(QLatin1String("SQLite3"), Qt::CaseInsensitive) == 0)
            driver = d;
    if (driver.isEmpty()) {
        const QStringList candidates = {
            QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so"),
            QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so"),
            QStringLiteral("/usr/lib/odbc/libsqlite3odbc.so"),
            QStringLiteral("/usr/local/lib/libsqlite3odbc.so"),
        };
        driver = candidates.first();
        for (const QString& c : candidates)
            if (QFile::exists(c)) {
                driver = c;
                break;
            }
    }
    // The driver takes the file name as it stands (no braces), up to the next ";".
    return QStringLiteral("Driver={%1};Database=%2;Timeout=5000;JournalMode=WAL;SyncPragma=NORMAL;"
                          "StepAPI=0;LongNames=0;BigInt=1")
        .arg(driver, file);
}

QStringList Database::ArchivosEmbebidos()
{
    // QUORVAN_EMBEBIDA (the demo) keeps the data in the data folder's own database, whatever
    // else the account defines.
    if (qEnvironmentVariable("QUORVAN_EMBEBIDA").isEmpty()
        && (!qEnvironmentVariable("QUORVAN_DSN").trimmed().isEmpty() || DsnDefined(QStringLiteral("Quorvan"))))
        return {};
    const QString archivo = Paths::Join(Paths::DataDir(), QStringLiteral("Quorvan.db"));
    return {archivo, archivo + QStringLiteral("-wal"), archivo + QStringLiteral("-shm"),
            archivo + QStringLiteral("-journal")};
}

QString Database::ProgramConnectionString()
{
    const QStringList archivos = ArchivosEmbebidos();
    if (archivos.isEmpty()) {
        const QString env = qEnvironmentVariable("QUORVAN_DSN");
        return env.trimmed().isEmpty() ? QStringLiteral("DSN=Quorvan") : env;
    }
    // The driver opens these by name, following a link: one planted there is refused first.
    if (const QString rechazo = ArchivosPropios::Rechazo(archivos); !rechazo.isEmpty())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"), rechazo, QStringLiteral("08001"));
    // Qt's ODBC driver would take the file's string for a file data source.
    if (Paths::DataDir().contains(QLatin1String(".dsn"), Qt::CaseInsensitive))
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("No se pudo abrir la base de datos: la carpeta de datos %1 contiene \".dsn\" en "
                                     "su ruta, que el controlador ODBC toma por un origen de datos en archivo; use "
                                     "otra carpeta de datos (QUORVAN_HOME) o un origen de datos \"Quorvan\"")
                          .arg(QDir::toNativeSeparators(Paths::DataDir())),
                      QStringLiteral("08001"));
    QDir().mkpath(Paths::DataDir());
    // SQLite gives its journal files the database's mode: private from the first byte.
    ArchivosPropios::CrearArchivo(archivos.first());
    return SQLiteConnectionString(archivos.first());
}

namespace DatabaseInterno {

// The string for Qt's ODBC driver: psqlODBC's keepalives and libpq's bounds added where neither
// the string nor its data source names them, in the form that reaches the driver manager as meant.
QString ParaElControlador(const QString& connectionString)
{
    const Database::Limites l = Database::LimitesSesion();
    const QString completa = CadenaConexion::Completar(
        connectionString, {l.keepaliveInactivaS, l.keepaliveIntervaloS, l.sinAcuseMs, l.conexionS},
        [](const QString& seccion, bool driver) { return Odbc::get().section(seccion, driver); });
    QString rechazo;
    const QString paraQt = CadenaConexion::ParaQt(completa, &rechazo);
    if (!rechazo.isEmpty())
        throw DbError(DbError::NumeroErrorOdbc, QStringLiteral("Database"),
                      QStringLiteral("No se pudo abrir la base de datos: %1").arg(rechazo), QStringLiteral("08001"));
    return paraQt;
}

} // namespace DatabaseInterno
