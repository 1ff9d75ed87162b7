#include "config/clsConfig.h"

#include "platform/ValoresBD.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "support/DbFixture.h"
#include "txlog/FilasTransacciones.h"
#include "txlog/clsTransacciones.h"

#include <gtest/gtest.h>
#include <cmath>
#include <iterator>

namespace {

class TransaccionesLista : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        cn = Connect();
        Insurer(1, QStringLiteral("OSDE Ambulatorio"), 5, 1);
        Insurer(3, QStringLiteral("Salud Sur"), 6, 1);
    }
    void TearDown() override
    {
        cn.reset();
        DbFixture::TearDown();
    }

    void Insurer(int id, const QString& nombre, int empresa, int actividad)
    {
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) "
                                   "VALUES (?, ?, ?, ?)"),
                    {id, nombre, empresa, actividad});
    }
    // A row as the transaction log writes it.
    void Transaccion(const QString& prestador, qint64 ticket, const QString& fecha, int empresa)
    {
        cn->Execute(QStringLiteral(
                        "INSERT INTO Transaccion (Operacion, Tarjeta, TipoLectura, Prestador, PrestadorSolicitante, "
                        "TicketPadre, FechaPrestacion, HoraPrestacion, TipoMatriculaMPrescriptor, "
                        "MatriculaMedicoPrescriptor, CodigoAutorizacion, NumeroAutorizacion, Ticket, Fecha, Hora, "
                        "PlanAsociado, TipoAsociado, MontoAbonar, Error, Comentario, NumeroTrxPrestador, "
                        "CodigoEmpresa) VALUES ('02', '  6280000012345678  ', 'M', ?, '20999', ?, ?, '1030', 'MP', "
                        "'123456', NULL, NULL, ?, ?, '1031', 'AB210', 2, 12.5, 0, '  Aprobada  ', ?, ?)"),
                    {prestador, qint64(ticket + 1000000000000LL), fecha, ticket, fecha,
                     qint64(987654321098LL), empresa});
    }
    QList<qint64> Tickets(const clsConfig& c)
    {
        QList<qint64> t;
        for (const auto& x : *c.Transacciones()) t << x->Ticket;
        return t;
    }

    std::unique_ptr<Database> cn;
};

} // namespace

TEST_P(TransaccionesLista, ListsEachTransactionUnderEachInsurerOfItsCompanyInDateOrder)
{
    Insurer(2, QStringLiteral("OSDE Internación"), 5, 2); // the same company, another activity
    Transaccion(QStringLiteral("20111"), 123456789012LL, QStringLiteral("20240103"), 5);
    Transaccion(QStringLiteral("20222"), 2, QStringLiteral("20240101"), 6);
    Transaccion(QStringLiteral("20111"), 3, QStringLiteral("20240102"), 99); // no such insurer
    clsConfig cfg;
    cfg.LoadTransacciones(QString());
    ASSERT_EQ(Tickets(cfg), (QList<qint64>{2, 3, 123456789012LL, 123456789012LL}));
    QStringList nombres = {cfg.Transacciones()->Item_(3)->ObraSocial, cfg.Transacciones()->Item_(4)->ObraSocial};
    nombres.sort();
    EXPECT_EQ(nombres, (QStringList{"OSDE Ambulatorio", "OSDE Internación"}));

    const auto& t = *cfg.Transacciones()->Item_(3);
    EXPECT_EQ(t.TicketPadre, 1123456789012LL);
    EXPECT_EQ(t.NumeroTrxPrestador, 987654321098LL);
    EXPECT_EQ(t.Tarjeta, QStringLiteral("6280000012345678"));
    EXPECT_EQ(t.Comentario, QStringLiteral("Aprobada"));
    EXPECT_EQ(t.Prestador, QStringLiteral("20111"));
    EXPECT_EQ(t.Fecha, QStringLiteral("20240103"));
    EXPECT_EQ(t.Hora, QStringLiteral("1031"));
    EXPECT_EQ(t.HoraPrestacion, QStringLiteral("1030"));
    EXPECT_EQ(t.MontoAbonar, 12.5);
    EXPECT_EQ(t.TipoAsociado, 2);
    EXPECT_EQ(t.CodigoAutorizacion, 0);   // null reads as 0
    EXPECT_EQ(t.NumeroAutorizacion, ""); // null reads as ""
    EXPECT_EQ(cfg.Transacciones()->Item_(1)->ObraSocial, QStringLiteral("Salud Sur"));
    EXPECT_EQ(cfg.Transacciones()->Item_(2)->ObraSocial, QString());
}

TEST_P(TransaccionesLista, EachCallListsOnlyItsProvider)
{
    Transaccion(QStringLiteral("20111"), 1, QStringLiteral("20240102"), 5);
    Transaccion(QStringLiteral("20222"), 2, QStringLiteral("20240101"), 6);
    Transaccion(QStringLiteral("20111"), 3, QStringLiteral("20240101"), 6);
    Transaccion(QStringLiteral("20'33"), 4, QStringLiteral("20240101"), 6);
    clsConfig cfg;
    cfg.LoadTransacciones(QStringLiteral("20111"));
    EXPECT_EQ(Tickets(cfg), (QList<qint64>{3, 1}));
    cfg.LoadTransacciones(QStringLiteral("20222"));
    EXPECT_EQ(Tickets(cfg), QList<qint64>{2});
    // The tax number is a value, not SQL.
    cfg.LoadTransacciones(QStringLiteral("20'33"));
    EXPECT_EQ(Tickets(cfg), QList<qint64>{4});
    cfg.LoadTransacciones(QStringLiteral("' OR '1'='1"));
    EXPECT_TRUE(Tickets(cfg).isEmpty());

    const auto vacia = cfg.Transacciones();
    cfg.LoadTransacciones(QStringLiteral("nadie"));
    EXPECT_EQ(cfg.Transacciones(), vacia); // an empty collection stays in place
}

TEST_P(TransaccionesLista, ARequiredValueMissingEndsTheLoad)
{
    // Columns the log always fills; a null (or an empty number) there is a broken row.
    const QStringList requeridas = {"Ticket",      "Error",          "Fecha",
                                    "FechaPrestacion", "Hora",       "HoraPrestacion",
                                    "MatriculaMedicoPrescriptor", "Comentario", "MontoAbonar",
                                    "NumeroTrxPrestador", "TicketPadre", "TipoAsociado"};
    Transaccion(QStringLiteral("20111"), 1, QStringLiteral("20240101"), 5);
    clsConfig cfg;
    for (const QString& columna : requeridas) {
        SCOPED_TRACE(columna.toStdString());
        cn->Execute(QStringLiteral("DELETE FROM Transaccion WHERE Ticket = 2 OR Ticket IS NULL"));
        Transaccion(QStringLiteral("20111"), 2, QStringLiteral("20240102"), 5);
        cn->Execute(QStringLiteral("UPDATE Transaccion SET %1 = NULL WHERE Ticket = 2").arg(columna));
        EXPECT_THROW(cfg.LoadTransacciones(QStringLiteral("20111")), VbError);
        // The rows before the broken one were added (where a null date sorts is the engine's choice).
        if (columna != QLatin1String("Fecha")) EXPECT_EQ(Tickets(cfg), QList<qint64>{1});
        // The start list, which reads only the fields it shows, fails on it too, and keeps nothing.
        FilasTransacciones filas;
        EXPECT_THROW(cfg.LoadFilasTransacciones(QStringLiteral("20111"), filas), VbError);
        EXPECT_EQ(filas.Cantidad(), 0);
    }
}

TEST_P(TransaccionesLista, AmountsReadAsTheirTextReadsThem)
{
    // Fifteen significant digits, as the amount's text has them.
    const double importes[] = {12.5, 0.1, 1234.567, 0.00001, 1.0000000000000002, 123456789012.34, -7.25, -0.0};
    qint64 ticket = 1;
    for (double importe : importes) {
        Transaccion(QStringLiteral("20111"), ticket, QStringLiteral("20240101"), 5);
        cn->Execute(QStringLiteral("UPDATE Transaccion SET MontoAbonar = ? WHERE Ticket = ?"), {importe, ticket++});
    }
    clsConfig cfg;
    cfg.LoadTransacciones(QStringLiteral("20111"));
    ASSERT_EQ(cfg.Transacciones()->Count(), int(std::size(importes)));
    for (const auto& t : *cfg.Transacciones()) {
        const double importe = importes[t->Ticket - 1];
        const double esperado = Vb::CDbl(ValoresBD::NuloATexto(QVariant(importe)));
        EXPECT_EQ(t->MontoAbonar, esperado) << importe;
        EXPECT_EQ(std::signbit(t->MontoAbonar), std::signbit(esperado)) << importe;
    }
}

TEST_P(TransaccionesLista, UnusualValuesReadAsStored)
{
    // Each value goes into the second of two rows.
    struct Caso {
        const char* columna;
        QVariant valor;
        QVariant esperado;
        QVariant (*campo)(const clsTransacciones&);
    };
    const auto comentario = [](const clsTransacciones& t) { return QVariant(t.Comentario); };
    const auto tarjeta = [](const clsTransacciones& t) { return QVariant(t.Tarjeta); };
    const auto monto = [](const clsTransacciones& t) { return QVariant(t.MontoAbonar); };
    const Caso casos[] = {
        {"Comentario", QStringLiteral(""), QStringLiteral(""), comentario},
        {"Tarjeta", QStringLiteral(" %s ñ€😀 "), QStringLiteral("%s ñ€😀"), tarjeta},
        {"Tarjeta", QVariant(), QStringLiteral(""), tarjeta},
        {"Tarjeta", QString(QChar(0xFEFF)) + "6280", QString(QChar(0xFEFF)) + "6280", tarjeta}, // not a byte-order mark
        {"Operacion", QVariant(), QStringLiteral(""), [](const clsTransacciones& t) { return QVariant(t.Operacion); }},
        {"MatriculaMedicoPrescriptor", QStringLiteral(""), QStringLiteral(""),
         [](const clsTransacciones& t) { return QVariant(t.MatriculaMedicoPrescriptor); }},
        {"CodigoEmpresa", QVariant(), QStringLiteral(""),
         [](const clsTransacciones& t) { return QVariant(t.ObraSocial + t.CodigoEmpresa); }},
        {"CodigoAutorizacion", -2147483647, -2147483647,
         [](const clsTransacciones& t) { return QVariant(t.CodigoAutorizacion); }},
        {"MontoAbonar", 1e20, 1e20, monto},
        {"MontoAbonar", 0.1 + 0.2, 0.3, monto},
        {"MontoAbonar", -1e-7, -1e-7, monto},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.columna) + " = " + caso.valor.toString().toStdString());
        cn->Execute(QStringLiteral("DELETE FROM Transaccion"));
        Transaccion(QStringLiteral("20111"), 1, QStringLiteral("20240101"), 5);
        Transaccion(QStringLiteral("20111"), 2, QStringLiteral("20240102"), 5);
        cn->Execute(QStringLiteral("UPDATE Transaccion SET %1 = ? WHERE Ticket = 2").arg(QLatin1String(caso.columna)),
                    {caso.valor});
        clsConfig cfg;
        cfg.LoadTransacciones(QStringLiteral("20111"));
        ASSERT_EQ(Tickets(cfg), (QList<qint64>{1, 2}));
        EXPECT_EQ(caso.campo(*cfg.Transacciones()->Item_(2)), caso.esperado);
        EXPECT_EQ(cfg.Transacciones()->Item_(1)->Comentario, QStringLiteral("Aprobada"));
        // The start list shows the same of the row, whichever way it reads it.
        const auto leida = cfg.Transacciones()->Item_(2);
        FilasTransacciones filas;
        cfg.LoadFilasTransacciones(QStringLiteral("20111"), filas);
        ASSERT_EQ(filas.Cantidad(), 2);
        const auto vista = [](const auto& t) {
            return QStringList({t->Tarjeta, t->Comentario, t->Operacion, t->ObraSocial, t->Prestador, t->CodigoEmpresa});
        };
        EXPECT_EQ(vista(filas.Transaccion(filas[0].ticket == 2 ? 0 : 1)), vista(leida));
    }
}

// The probe for rows the start list cannot take and the partial index that answers it are
// written apart: should they drift, every load of the list would read the whole log.
TEST_P(TransaccionesLista, TheIndexAnswersTheProbeForIncompleteRows)
{
    if (isPostgreSQL()) cn->Execute(QStringLiteral("SET enable_seqscan = off"));
    for (const bool porPrestador : {false, true}) {
        const QString sql = clsConfig::SentenciaIncompletas(!isPostgreSQL(), porPrestador).replace('?', "'20111'");
        const DbResult r = cn->Query((isPostgreSQL() ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + sql);
        QString plan;
        for (const auto& fila : r.Rows())
            for (const auto& v : fila) plan += v.toString() + '\n';
        EXPECT_TRUE(plan.contains("IX_Transaccion_Incompleta", Qt::CaseInsensitive)) << porPrestador << ": " << plan.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, TransaccionesLista, DbEngines(), DbEngineName);
