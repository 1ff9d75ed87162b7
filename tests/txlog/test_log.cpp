#include "txlog/clsLog.h"

#include "platform/Platform.h"
#include "platform/VbError.h"
#include "support/DbFixture.h"
#include "support/ErrorDe.h"

#include <QMutex>
#include <utility>
#include <QThread>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<clsPrestacionTxOSDE> Linea(const QString& aupre, qint16 cantidad, const QString& aures = QString())
{
    auto l = std::make_shared<clsPrestacionTxOSDE>();
    l->AUPRE = aupre;
    l->AUTIP = 1;
    l->AUCAN = cantidad;
    l->AURES = aures;
    return l;
}

class LogDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Platform::setClock([] { return QDateTime(QDate(2024, 3, 15), QTime(10, 0)); });
    }
    void TearDown() override
    {
        Platform::setClock({});
        DbFixture::TearDown();
    }
    int Filas(const QString& sql) const { return Connect()->Query(sql).RowCount(); }
    template <class F>
    VbError Falla(F&& f)
    {
        try {
            f();
        } catch (const VbError& e) {
            return e;
        }
        ADD_FAILURE() << "no error raised";
        return VbError(0, QString(), QString());
    }
};

} // namespace

TEST_P(LogDb, RequestLogNumbersStoresAndAnswersItsLines)
{
    clsLog log;
    auto tx = log.TxOSDE();
    tx->IdTerminal = 999;
    tx->AUASOA = QStringLiteral("0001234");
    tx->NombreAfiliado = QStringLiteral("O'Brien, Ana");
    tx->AUMONT = QStringLiteral("1250");
    tx->Prestaciones()->Add(Linea(QStringLiteral("420101"), 1, QStringLiteral("A1")));
    tx->Prestaciones()->Add(Linea(QStringLiteral("420101"), 2, QStringLiteral("B2")));
    ASSERT_EQ(tx->Save(false), 1);
    tx->UpdateRsp(1);
    tx->setPrestaciones(std::make_shared<clsTxOSDE::Lineas>());
    tx->Prestaciones()->Add(std::make_shared<clsPrestacionTxOSDE>()); // never set: texts empty, numbers 0
    ASSERT_EQ(tx->Save(true), 2);

    auto cn = Connect();
    DbResult h = cn->Query(QStringLiteral("SELECT * FROM TOSDE_svl1 ORDER BY NumeroTransaccion"));
    ASSERT_EQ(h.RowCount(), 2);
    EXPECT_EQ(h["NombreAfiliado"].toString(), QStringLiteral("O'Brien, Ana"));
    EXPECT_EQ(h["FechaTransaccion"].toString(), QStringLiteral("20240315"));
    EXPECT_EQ(h["Diferida"].toInt(), 0);
    EXPECT_EQ(h["AUCUIT"].toString(), QString());
    EXPECT_FALSE(h["AUCUIT"].isNull());
    h.MoveNext();
    EXPECT_EQ(h["Diferida"].toInt(), 1);
    // The same AUPRE twice: both rows end with the later code.
    DbResult l = cn->Query(QStringLiteral("SELECT AURES, AUCAN FROM TOSDE_svl2 WHERE NumeroTransaccion = 1"));
    ASSERT_EQ(l.RowCount(), 2);
    EXPECT_EQ(l["AURES"].toString(), QStringLiteral("B2"));
    l.MoveNext();
    EXPECT_EQ(l["AURES"].toString(), QStringLiteral("B2"));
    DbResult vacia = cn->Query(QStringLiteral("SELECT * FROM TOSDE_svl2 WHERE NumeroTransaccion = 2"));
    EXPECT_EQ(vacia["AUPRE"].toString(), QString());
    EXPECT_FALSE(vacia["AUPRE"].isNull());
    EXPECT_EQ(vacia["AUTIP"].toString(), QStringLiteral("0"));
    // The answer is stored untouched by Save.
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT AUMONT FROM TOSDE_svl3 WHERE NumeroTransaccion = 1")).value(0).toString(),
              QStringLiteral("1250"));
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TOSDE_svl3")), 1);
}

TEST_P(LogDb, DeferredRequestsAreFoundAndAnsweredOnce)
{
    clsLog log;
    auto tx = log.TxOSDE();
    tx->IdTerminal = 999;
    tx->AUASOA = QStringLiteral("0001234");
    tx->Prestaciones()->Add(Linea(QStringLiteral("420101"), 3));
    const qint32 diferida = tx->Save(true);
    tx->Save(false);
    tx->IdTerminal = 5;
    tx->Save(true);

    tx->IdTerminal = 999;
    auto lista = tx->GetTxDiferidas(0);
    ASSERT_EQ(lista->Count(), 1);
    EXPECT_EQ(lista->Item_(1)->NroTransaccion, diferida);
    EXPECT_EQ(lista->Item_(1)->AUASOA, QStringLiteral("0001234"));
    EXPECT_EQ(tx->GetTxDiferidas(7)->Count(), 0);
    auto lineas = tx->GetPrestacionesDif(diferida);
    ASSERT_EQ(lineas->Count(), 1);
    EXPECT_EQ(lineas->Item_(1)->AUCAN, 3);

    tx->AUAUTO = QStringLiteral("  S  ");
    tx->AUMONT = QStringLiteral("1250");
    tx->Prestaciones()->Item_(1)->AURES = QStringLiteral("OK");
    tx->UpdateDiferida(diferida);
    EXPECT_EQ(tx->GetTxDiferidas(0)->Count(), 0);
    DbResult r = Connect()->Query(QStringLiteral("SELECT AUAUTO, AUMONT FROM TOSDE_svl3 WHERE NumeroTransaccion = ?"),
                                  {diferida});
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r["AUAUTO"].toString(), QStringLiteral("S"));
    EXPECT_EQ(r["AUMONT"].toString(), QStringLiteral("12.5"));
    EXPECT_EQ(tx->GetPrestacionesDif(diferida)->Item_(1)->AURES, QStringLiteral("OK"));

    // Answered already, or no such request: nothing changes.
    for (qint32 numero : {diferida, 99}) {
        const VbError e = Falla([&] { tx->UpdateDiferida(numero); });
        EXPECT_EQ(e.number, 3021);
        EXPECT_EQ(e.source, QStringLiteral("Quorvan.clsTxOSDE"));
    }
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TOSDE_svl3")), 2);
}

TEST_P(LogDb, AFailingSaveLeavesNothingOfTheRequest)
{
    clsLog log;
    auto osde = log.TxOSDE();
    osde->Prestaciones()->Add(Linea(QStringLiteral("1"), 1));
    auto generica = log.TxGenerica();
    auto linea = std::make_shared<clsPrestacionTxGenerica>();
    generica->Prestaciones()->Add(linea);
    auto cn = Connect();
    cn->Execute(QStringLiteral("DROP TABLE TOSDE_svl3"));
    cn->Execute(QStringLiteral("DROP TABLE TGenerica_svl2"));
    EXPECT_EQ(Falla([&] { osde->Save(false); }).source, QStringLiteral("Quorvan.clsTxOSDE"));
    EXPECT_EQ(Falla([&] { generica->Save(); }).source, QStringLiteral("Quorvan.clsTxGenerica"));
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TOSDE_svl1")), 0);
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TOSDE_svl2")), 0);
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TGenerica_svl1")), 0);

    // The largest number taken: an overflow, nothing stored.
    cn->Execute(QStringLiteral("INSERT INTO TOSDE_svl1 (NumeroTransaccion) VALUES (2147483647)"));
    const VbError e = Falla([&] { osde->Save(true); });
    EXPECT_EQ(e.number, VbError::Overflow);
    EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TOSDE_svl1")), 1);
}

TEST_P(LogDb, OfflineLogNumbersAndFindsItsInsurer)
{
    Connect()->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre) VALUES (7, 'D''Elia Salud')"));
    clsLog log;
    auto tx = log.TxGenerica();
    tx->IdTerminal = 3;
    tx->ObraSocial = QStringLiteral("D'Elia Salud");
    tx->NumeroAfiliado = QStringLiteral("A-1");
    auto linea = std::make_shared<clsPrestacionTxGenerica>();
    linea->CodigoPrestacion = 420101;
    linea->Diagnostico = QStringLiteral("J'01");
    tx->Prestaciones()->Add(linea);
    tx->Save();
    tx->ObraSocial = QStringLiteral("Nadie");
    tx->setPrestaciones(std::make_shared<clsTxGenerica::Lineas>());
    tx->Save();

    DbResult h = tx->Resolver_sql(
        QStringLiteral("SELECT NumeroTransaccion, IdObraSocial, NumeroAutorizacion, TipoMatricula, FechaTransaccion "
                       "FROM TGenerica_svl1 WHERE IdTerminal = ? ORDER BY NumeroTransaccion"),
        {3});
    ASSERT_EQ(h.RowCount(), 2);
    EXPECT_EQ(h["NumeroTransaccion"].toInt(), 1);
    EXPECT_EQ(h["IdObraSocial"].toInt(), 7);
    EXPECT_EQ(h["NumeroAutorizacion"].toString(), QStringLiteral("0"));
    EXPECT_EQ(h["FechaTransaccion"].toString(), QStringLiteral("20240315"));
    h.MoveNext();
    EXPECT_EQ(h["NumeroTransaccion"].toInt(), 2);
    EXPECT_EQ(h["IdObraSocial"].toInt(), 0);
    DbResult l = tx->Resolver_sql(QStringLiteral("SELECT * FROM TGenerica_svl2"));
    ASSERT_EQ(l.RowCount(), 1);
    EXPECT_EQ(l["Diagnostico"].toString(), QStringLiteral("J'01"));
    EXPECT_THROW(tx->Resolver_sql(QStringLiteral("SELECT * FROM NoExiste")), DbError);
}

TEST_P(LogDb, TwoLogsSavingAtOnceNeverShareANumber)
{
    constexpr int kPorHilo = 200;
    QStringList errores;
    QMutex mutex;
    auto trabajo = [&](const QString& hilo) {
        try {
            clsLog log;
            auto tx = log.TxOSDE();
            for (int i = 0; i < kPorHilo; ++i) {
                const QString marca = QStringLiteral("%1-%2").arg(hilo).arg(i);
                tx->AUASOA = marca;
                tx->setPrestaciones(std::make_shared<clsTxOSDE::Lineas>());
                tx->Prestaciones()->Add(Linea(marca, 1));
                tx->Save(false);
            }
        } catch (const VbError& e) {
            QMutexLocker l(&mutex);
            errores << e.description;
        }
    };
    std::unique_ptr<QThread> a(QThread::create(trabajo, QStringLiteral("a")));
    std::unique_ptr<QThread> b(QThread::create(trabajo, QStringLiteral("b")));
    a->start();
    b->start();
    a->wait();
    b->wait();
    ASSERT_TRUE(errores.isEmpty()) << errores.join('|').toStdString();

    auto cn = Connect();
    DbResult r = cn->Query(QStringLiteral("SELECT COUNT(DISTINCT NumeroTransaccion), MIN(NumeroTransaccion), "
                                          "MAX(NumeroTransaccion) FROM TOSDE_svl1"));
    EXPECT_EQ(r.value(0).toInt(), 2 * kPorHilo);
    EXPECT_EQ(r.value(1).toInt(), 1);
    EXPECT_EQ(r.value(2).toInt(), 2 * kPorHilo);
    // Every line under its own header.
    EXPECT_EQ(cn->Query(QStringLiteral("SELECT COUNT(*) FROM TOSDE_svl1 T1, TOSDE_svl2 T2 WHERE "
                                       "T1.NumeroTransaccion = T2.NumeroTransaccion AND T1.AUASOA = T2.AUPRE"))
                  .value(0)
                  .toInt(),
              2 * kPorHilo);
}

TEST_P(LogDb, AnOlderHeaderTableGetsAUniqueNumberUnlessOneIsRepeated)
{
    auto cn = Connect();
    for (bool repetido : {false, true}) {
        cn->Execute(QStringLiteral("DROP TABLE TGenerica_svl1"));
        cn->Execute(QStringLiteral("CREATE TABLE TGenerica_svl1 (IdTerminal INTEGER, NumeroTransaccion INTEGER NOT NULL)"));
        cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl1 VALUES (1, 1)"));
        if (repetido)
            cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl1 VALUES (2, 1)"));
        cn->EnsureSchema();
        bool rechazado = false;
        try {
            cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl1 VALUES (3, 1)"));
        } catch (const DbError& e) {
            rechazado = e.isUniqueViolation();
        }
        EXPECT_EQ(rechazado, !repetido);
        EXPECT_EQ(Filas(QStringLiteral("SELECT * FROM TGenerica_svl1")), repetido ? 3 : 1);
    }
}

// A COMMIT whose answer never came back. On SQLite the writer looks at what was kept: kept
// whole, as after a save; gone, its number since taken by another terminal, or other lines under
// the same header (the first line twice in place of both): not stored. No look possible: it
// says so. On PostgreSQL the server's word stands, whatever is done to the rows after the commit.
TEST_P(LogDb, ASaveWhoseCommitAnswerWasLostTellsTheTruth)
{
    const QString noGuardada = "La %1 no se guardó: se perdió la conexión a la base de datos al confirmarla. Puede repetirla.";
    const QString sinComprobar = "No se pudo comprobar si la %1 número 1 quedó guardada. No la repita antes de comprobarlo%2.";
    // `luego` runs on another connection once the server has committed ("%2": the writer's
    // change of its lines); no `mensaje`: stored once.
    const struct { const char* que; const char* luego; QString mensaje; int filas; } casos[] = {
        {"kept", "", "", 1},
        {"rolled back", "DELETE FROM %1", noGuardada, 0},
        {"number taken by another terminal", "UPDATE %1 SET IdTerminal = 77", noGuardada, 1},
        {"same header, other lines", "%2", noGuardada, 1},
        {"no look possible", "ALTER TABLE %1 RENAME TO Apartada", sinComprobar, 1},
    };
    clsLog log;
    log.TxOSDE()->Prestaciones()->Add(Linea(QStringLiteral("420101"), 1, QStringLiteral("A1")));
    log.TxOSDE()->Prestaciones()->Add(Linea(QStringLiteral("420102"), 2));
    log.TxGenerica()->Prestaciones()->Add(std::make_shared<clsPrestacionTxGenerica>());
    log.TxGenerica()->Prestaciones()->Add(std::make_shared<clsPrestacionTxGenerica>());
    log.TxGenerica()->Prestaciones()->Item_(2)->CodigoPrestacion = 5;
    const struct { QString tabla; std::function<void()> guardar; QString otrasLineas, clase, donde; } escritores[] = {
        {"TOSDE_svl1", [&] { EXPECT_EQ(log.TxOSDE()->GuardarSolicitud(true), 1); },
         "UPDATE TOSDE_svl2 SET AUPRE = '420101', AUCAN = '1'", "solicitud",
         " en el reporte local de \"Reportes\", que lista las solicitudes registradas"},
        {"TGenerica_svl1", [&] { log.TxGenerica()->Save(); }, "UPDATE TGenerica_svl2 SET CodigoPrestacion = 0",
         "captura", ""},
    };
    auto cn = Connect();
    for (const auto& w : escritores)
        for (const auto& c : casos) {
            SCOPED_TRACE(w.tabla.toStdString() + ": " + c.que);
            cn->Execute("DELETE FROM " + w.tabla);
            cn->Execute("DELETE FROM " + QString(w.tabla).replace("svl1", "svl2"));
            bool visto = false;
            log.TxOSDE()->Coneccion()->setTrasConfirmar([&](Database& db) {
                if (std::exchange(visto, true)) return false;
                if (isPostgreSQL()) CortarConexion(ProcesoServidor(db));
                if (*c.luego)
                    Connect()->Execute(QString::fromUtf8(c.luego).replace("%1", w.tabla).replace("%2", w.otrasLineas));
                return true;
            });
            const QString mensaje = ErrorDe(w.guardar);
            log.TxOSDE()->Coneccion()->setTrasConfirmar({});
            if (QByteArray(c.luego).contains("Apartada")) cn->Execute("ALTER TABLE Apartada RENAME TO " + w.tabla);
            EXPECT_TRUE(visto);
            const QString esperado =
                isPostgreSQL() ? QString() : QString(c.mensaje).replace("%1", w.clase).replace("%2", w.donde);
            EXPECT_EQ(mensaje.toStdString(), esperado.toStdString());
            EXPECT_EQ(Filas("SELECT * FROM " + w.tabla), c.filas);
        }
}

INSTANTIATE_TEST_SUITE_P(Engines, LogDb, DbEngines(), DbEngineName);
