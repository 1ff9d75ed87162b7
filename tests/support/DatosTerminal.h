#pragma once
#include <QString>

class Database;

// Rows of a configured terminal for the window and start-up tests, the real-program test and
// the benchmarks: the terminal's row, insurers, providers, logged transactions and their
// ticket files.
namespace DatosTerminal {

struct Parametros {
    int id = 1;
    QString workDir;
    QString defaultOS = QStringLiteral("OSDE BINARIO");
    int defaultActividad = 1;
    QString impresora;
};
void Terminal(Database& db, const Parametros& t);

void ObraSocial(Database& db, int id, const QString& nombre, int empresa, int actividad, bool onLine = true);
void Prestador(Database& db, int id, const QString& nombre, const QString& cuit, const QString& licencia,
               bool predeterminado = false);

struct Logueada {
    qint64 ticket = 1;
    QString fecha = QStringLiteral("20240315");
    QString hora = QStringLiteral("1031");
    QString prestador = QStringLiteral("20123456789");
    QString tarjeta = QStringLiteral("6280000012345678");
    QString operacion = QStringLiteral("02");
    int error = 0;
    QString comentario = QStringLiteral("APROBADA");
    int empresa = 5;
};
void Transaccion(Database& db, const Logueada& t);
// The ticket file the log keeps for it (Windows-1252).
void ArchivoTicket(const Logueada& t, const QByteArray& contenido);

// The client's answer to a logged transaction, as the log reads it: the 383-character header
// record with its ticket, answer date and time, and one 160-character service record (code,
// quantity) ended in CR LF.
QString Svl1Respondido(qint64 ticket, const QString& fecha = QStringLiteral("20240315"),
                       const QString& hora = QStringLiteral("1031"));
QString Svl2Respondido(const QString& codigo, const QString& cantidad);

}
