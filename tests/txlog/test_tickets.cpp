#include "txlog/modTickets.h"

#include "platform/Paths.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Places `texto` at the 1-based position of a blank record.
void Poner(QString& registro, int posicion, const QString& texto)
{
    registro.replace(posicion - 1, texto.size(), texto);
}

struct Respuesta {
    QString ticket = QStringLiteral("000000012345");
    QString fecha = QStringLiteral("20240315");
    QString hora = QStringLiteral("1031");
    QString mensaje = QStringLiteral("APROBADA D'ANGELO");
};

// The answered header, field by field at the positions of its layout.
QString Svl1(const Respuesta& r)
{
    QString s(383, QLatin1Char(' '));
    Poner(s, 6, QStringLiteral("02"));
    Poner(s, 8, QStringLiteral("6280000012345678"));
    Poner(s, 108, QStringLiteral("M"));
    Poner(s, 109, QStringLiteral("20123456789"));
    Poner(s, 131, QStringLiteral("000000000077"));
    Poner(s, 181, QStringLiteral("20240314"));
    Poner(s, 189, QStringLiteral("0930"));
    Poner(s, 237, QStringLiteral("1"));
    Poner(s, 238, QStringLiteral("AUT000000042"));
    Poner(s, 261, r.ticket);
    Poner(s, 279, r.fecha);
    Poner(s, 287, r.hora);
    Poner(s, 291, QStringLiteral("AB210"));
    Poner(s, 296, QStringLiteral("2"));
    Poner(s, 297, QStringLiteral("00000004250"));
    Poner(s, 308, QStringLiteral("0000"));
    Poner(s, 312, r.mensaje);
    Poner(s, 352, QStringLiteral("987654321098"));
    return s;
}

// One service record: 160 characters and CR LF, code at 8-17, quantity at 18-19.
QString Svl2(const QString& codigo, const QString& cantidad, int largo = 160)
{
    QString s(largo, QLatin1Char(' '));
    Poner(s, 8, codigo.leftJustified(10));
    Poner(s, 18, cantidad);
    return s.left(largo) + QStringLiteral("\r\n");
}

class GuardarTicketDb : public DbFixture {
protected:
    QStringList Archivos() const
    {
        return QDir(Paths::Join(Paths::DataDir(), QStringLiteral("Tickets"))).entryList(QDir::Files);
    }
    QByteArray Leer(const QString& nombre) const
    {
        QFile f(Paths::Join(Paths::Join(Paths::DataDir(), QStringLiteral("Tickets")), nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<falta>");
    }
    int Filas(const char* tabla) const
    {
        return Connect()->Query(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(tabla))).RowCount();
    }
    ScriptedDialogs dialogs;
};

} // namespace

TEST_P(GuardarTicketDb, BlankOrReservedTicketLogsNothing)
{
    for (const char* numero : {"            ", "  98000000  "}) {
        Respuesta r;
        r.ticket = QString::fromLatin1(numero);
        modTickets::GuardarTicket(Svl1(r), QStringLiteral("TICKET"), QStringLiteral("5"), Svl2("420101", "01"), 1);
    }
    EXPECT_EQ(Filas("Transaccion"), 0);
    EXPECT_TRUE(Archivos().isEmpty());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_P(GuardarTicketDb, LogsTheRowsAndWritesTheTicketFile)
{
    const QString ticket = QStringLiteral("OSDE\r\nSeñor D'Angelo\r\nTotal 42,50");
    const DatosPrescriptor prescriptor{QStringLiteral(" 20-12345678-3 "), QStringLiteral("B - Buenos Aires"),
                                       QStringLiteral("P - Provincial"), QStringLiteral(" 123456 ")};
    modTickets::GuardarTicket(Svl1({}), ticket, QStringLiteral("5"),
                              Svl2("420101", "01") + Svl2("420102", " 2"), 2, prescriptor);
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('|').toStdString();

    auto cn = Connect();
    DbResult t = cn->Query(QStringLiteral("SELECT * FROM Transaccion"));
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t["Operacion"].toString(), QStringLiteral("02"));
    EXPECT_EQ(t["Tarjeta"].toString(), QStringLiteral("6280000012345678").leftJustified(100));
    EXPECT_EQ(t["TipoLectura"].toString(), QStringLiteral("M"));
    EXPECT_EQ(t["Prestador"].toString(), QStringLiteral("20123456789"));
    EXPECT_EQ(t["PrestadorSolicitante"].toString(), QStringLiteral("20123456783"));
    EXPECT_EQ(t["TicketPadre"].toLongLong(), 77);
    EXPECT_EQ(t["FechaPrestacion"].toString(), QStringLiteral("20240314"));
    EXPECT_EQ(t["HoraPrestacion"].toString(), QStringLiteral("0930"));
    EXPECT_EQ(t["TipoMatriculaMPrescriptor"].toString(), QStringLiteral("BP"));
    EXPECT_EQ(t["MatriculaMedicoPrescriptor"].toString(), QStringLiteral("123456"));
    EXPECT_EQ(t["CodigoAutorizacion"].toInt(), 1);
    EXPECT_EQ(t["NumeroAutorizacion"].toString(), QStringLiteral("AUT000000042"));
    EXPECT_EQ(t["Ticket"].toLongLong(), 12345);
    EXPECT_EQ(t["PlanAsociado"].toString(), QStringLiteral("AB210"));
    EXPECT_EQ(t["TipoAsociado"].toInt(), 2);
    EXPECT_DOUBLE_EQ(t["MontoAbonar"].toDouble(), 42.5);
    EXPECT_EQ(t["Error"].toInt(), 0);
    EXPECT_EQ(t["Comentario"].toString(), QStringLiteral("APROBADA D'ANGELO"));
    EXPECT_EQ(t["NumeroTrxPrestador"].toLongLong(), 987654321098LL);
    EXPECT_EQ(t["CodigoEmpresa"].toInt(), 5);

    DbResult i = cn->Query(QStringLiteral("SELECT Ticket, CodigoPrestacion, Cantidad FROM ItemPrestaciones"));
    ASSERT_EQ(i.RowCount(), 2);
    EXPECT_EQ(i["CodigoPrestacion"].toString(), QStringLiteral("420101"));
    EXPECT_EQ(i["Cantidad"].toInt(), 1);
    i.MoveNext();
    EXPECT_EQ(i["Ticket"].toLongLong(), 12345);
    EXPECT_EQ(i["CodigoPrestacion"].toString(), QStringLiteral("420102"));
    EXPECT_EQ(i["Cantidad"].toInt(), 2);

    // Windows-1252, the text as received, nothing added.
    EXPECT_EQ(Archivos(), QStringList{QStringLiteral("12345202403151031.prn")});
    EXPECT_EQ(Leer(QStringLiteral("12345202403151031.prn")), QByteArray("OSDE\r\nSe\xf1or D'Angelo\r\nTotal 42,50"));

    // The same ticket again: a second row, the file replaced.
    modTickets::GuardarTicket(Svl1({}), QStringLiteral("OTRO"), QStringLiteral("5"), QString(), 0);
    EXPECT_EQ(Filas("Transaccion"), 2);
    EXPECT_EQ(Leer(QStringLiteral("12345202403151031.prn")), QByteArray("OTRO"));
}

TEST_P(GuardarTicketDb, WideTicketsOddCompanyCodesAndRecordsOfTheWrongLength)
{
    Respuesta r;
    r.ticket = QStringLiteral("987654321012");
    // Three announced, two sent; the first record short: neither shifts the second.
    modTickets::GuardarTicket(Svl1(r), QStringLiteral("T"), QString(),
                              Svl2("111", "  ", 90) + Svl2("222", "03"), 3);
    r.ticket = QStringLiteral("000000000002");
    modTickets::GuardarTicket(Svl1(r), QStringLiteral("T"), QStringLiteral("ab"), QString(), 0);
    ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('|').toStdString();

    auto cn = Connect();
    DbResult t = cn->Query(QStringLiteral("SELECT Ticket, CodigoEmpresa FROM Transaccion ORDER BY Ticket"));
    ASSERT_EQ(t.RowCount(), 2);
    EXPECT_TRUE(t["CodigoEmpresa"].isNull());
    t.MoveNext();
    EXPECT_EQ(t["Ticket"].toLongLong(), 987654321012LL);
    EXPECT_TRUE(t["CodigoEmpresa"].isNull());
    DbResult i = cn->Query(QStringLiteral("SELECT CodigoPrestacion, Cantidad FROM ItemPrestaciones ORDER BY 1"));
    ASSERT_EQ(i.RowCount(), 2);
    EXPECT_EQ(i["CodigoPrestacion"].toString(), QStringLiteral("111"));
    EXPECT_EQ(i["Cantidad"].toInt(), 0);
    i.MoveNext();
    EXPECT_EQ(i["CodigoPrestacion"].toString(), QStringLiteral("222"));
    EXPECT_EQ(i["Cantidad"].toInt(), 3);
    EXPECT_TRUE(Archivos().contains(QStringLiteral("987654321012202403151031.prn")));
}

TEST_P(GuardarTicketDb, FailuresAreShownAndKeepRowsAndFilesConsistent)
{
    // A time holding a path separator: the rows stay, nothing is written anywhere.
    Respuesta r;
    r.hora = QStringLiteral("../x");
    modTickets::GuardarTicket(Svl1(r), QStringLiteral("T"), QStringLiteral("5"), QString(), 0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().startsWith(QStringLiteral("Error: ")));
    EXPECT_EQ(Filas("Transaccion"), 1);
    EXPECT_TRUE(Archivos().isEmpty());
    EXPECT_FALSE(QFile::exists(Paths::Join(Paths::DataDir(), QStringLiteral("x.prn"))));

    // A failing item insert: neither row, but the ticket file of the operation the insurer
    // answered, and a critical message that says so with the database's reason.
    dialogs.clear();
    Connect()->Execute(QStringLiteral("DROP TABLE ItemPrestaciones"));
    modTickets::GuardarTicket(Svl1({}), QStringLiteral("T"), QStringLiteral("5"), Svl2("420101", "01"), 1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style & 0x70, Vbc::vbCritical);
    const QStringList lineas = dialogs.shown[0].text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lineas.size(), 5) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(lineas[0], QStringLiteral("Error: Error al guardar el ticket y sus items en la base local"));
    EXPECT_EQ(lineas[1], QStringLiteral("Ticket número 12345."));
    EXPECT_EQ(lineas[2], QStringLiteral("La obra social respondió la operación, pero no quedó registrada en la base local."));
    EXPECT_EQ(lineas[3], QStringLiteral("Se guardó el archivo del ticket %1.")
                             .arg(Paths::Join(modTickets::CarpetaTickets(), QStringLiteral("12345202403151031.prn"))));
    EXPECT_TRUE(lineas[4].startsWith(QStringLiteral("Motivo: ")) && lineas[4].contains(QStringLiteral("itemprestaciones"), Qt::CaseInsensitive))
        << lineas[4].toStdString();
    EXPECT_EQ(Filas("Transaccion"), 1);
    EXPECT_EQ(Leer(QStringLiteral("12345202403151031.prn")), QByteArray("T"));
}

INSTANTIATE_TEST_SUITE_P(Engines, GuardarTicketDb, DbEngines(), DbEngineName);
