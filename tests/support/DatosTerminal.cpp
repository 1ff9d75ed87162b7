#include "support/DatosTerminal.h"

#include "platform/Database.h"
#include "txlog/modTickets.h"

#include <QDir>
#include <QFile>

namespace DatosTerminal {

void Terminal(Database& db, const Parametros& t)
{
    db.Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal, CheckApp, Imprimir, Impresora, Copias, Largohoja, "
                              "WorkDir, FontName, FontSize, DefaultOS, DefaultActividad) "
                              "VALUES (?, 0, 0, ?, 1, 40, ?, 'Predeterminada', 10, ?, ?)"),
               {t.id, t.impresora, t.workDir, t.defaultOS, t.defaultActividad});
}

void ObraSocial(Database& db, int id, const QString& nombre, int empresa, int actividad, bool onLine)
{
    db.Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, OnLine, Empresa, Actividad) "
                              "VALUES (?, ?, ?, ?, ?)"),
               {id, nombre, onLine ? 1 : 0, empresa, actividad});
}

void Prestador(Database& db, int id, const QString& nombre, const QString& cuit, const QString& licencia,
               bool predeterminado)
{
    db.Execute(QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, Predeterminado, Admisor, Baja, "
                              "Licencia) VALUES (?, ?, ?, ?, 1, 0, ?)"),
               {id, nombre, cuit, predeterminado ? 1 : 0, licencia});
}

void Transaccion(Database& db, const Logueada& t)
{
    db.Execute(QStringLiteral("INSERT INTO Transaccion (Operacion, Tarjeta, TipoLectura, Prestador, PrestadorSolicitante, "
                              "TicketPadre, FechaPrestacion, HoraPrestacion, TipoMatriculaMPrescriptor, "
                              "MatriculaMedicoPrescriptor, CodigoAutorizacion, NumeroAutorizacion, Ticket, Fecha, Hora, "
                              "PlanAsociado, TipoAsociado, MontoAbonar, Error, Comentario, NumeroTrxPrestador, "
                              "CodigoEmpresa) VALUES (?, ?, 'M', ?, '', 0, ?, ?, '', '', 1, 'AUT000000042', ?, ?, ?, "
                              "'AB210', 1, 42.5, ?, ?, 0, ?)"),
               {t.operacion, t.tarjeta.leftJustified(100), t.prestador, t.fecha, t.hora, t.ticket, t.fecha, t.hora,
                t.error, t.comentario, t.empresa});
}

void ArchivoTicket(const Logueada& t, const QByteArray& contenido)
{
    QDir().mkpath(modTickets::CarpetaTickets());
    QFile f(modTickets::ArchivoTicket(t.ticket, t.fecha, t.hora));
    if (f.open(QIODevice::WriteOnly)) f.write(contenido);
}


namespace {
void Poner(QString& registro, int posicion, const QString& texto)
{
    registro.replace(posicion - 1, texto.size(), texto);
}
}

QString Svl1Respondido(qint64 ticket, const QString& fecha, const QString& hora)
{
    QString s(383, QLatin1Char(' '));
    Poner(s, 6, QStringLiteral("02"));
    Poner(s, 8, QStringLiteral("6280000012345678"));
    Poner(s, 108, QStringLiteral("M"));
    Poner(s, 109, QStringLiteral("20123456789"));
    Poner(s, 181, QStringLiteral("20240314"));
    Poner(s, 189, QStringLiteral("0930"));
    Poner(s, 261, QString::number(ticket).rightJustified(12, QLatin1Char('0')));
    Poner(s, 279, fecha);
    Poner(s, 287, hora);
    Poner(s, 297, QStringLiteral("00000004250"));
    Poner(s, 308, QStringLiteral("0000"));
    Poner(s, 312, QStringLiteral("APROBADA"));
    return s;
}

QString Svl2Respondido(const QString& codigo, const QString& cantidad)
{
    QString s(160, QLatin1Char(' '));
    Poner(s, 8, codigo.leftJustified(10));
    Poner(s, 18, cantidad);
    return s + QStringLiteral("\r\n");
}

}
