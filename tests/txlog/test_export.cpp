#include "txlog/clsLog.h"

#include "platform/EscrituraSegura.h"
#include "platform/VbError.h"
#include "support/DbFixture.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class ExportDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        cn = Connect();
    }
    void TearDown() override
    {
        EscrituraSegura::FallarEnOperacion(0);
        cn.reset();
        DbFixture::TearDown();
    }
    void Cabecera(int numero, const QString& afiliado, int diferida)
    {
        cn->Execute(QStringLiteral("INSERT INTO TOSDE_svl1 (IdTerminal, NumeroTransaccion, AUCUIT, AUASOA, "
                                   "NombreAfiliado, FechaTransaccion, Diferida) VALUES (999, ?, '20123456789', ?, ?, "
                                   "'20240315', ?)"),
                    {numero, afiliado, QStringLiteral("Ñandú Ω"), diferida});
    }
    void Linea(int numero, const QString& aupre)
    {
        cn->Execute(QStringLiteral("INSERT INTO TOSDE_svl2 (NumeroTransaccion, AUPRE, AUTIP, AUARA, AUCAN, AUODP, "
                                   "AUODC, AURES) VALUES (?, ?, '1', '0', '2', '', '', 'A')"),
                    {numero, aupre});
    }
    void Respuesta(int numero)
    {
        cn->Execute(QStringLiteral("INSERT INTO TOSDE_svl3 (NumeroTransaccion, AUAUTO, AUWHOO, AUREST, AULEYD, "
                                   "AULEYP, AUMONT, AUSYST) VALUES (?, 'S', 'W', 'R', 'L1', 'L2', '12.5', NULL)"),
                    {numero});
    }
    int Filas(const char* tabla) const
    {
        return cn->Query(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(tabla))).RowCount();
    }
    std::unique_ptr<Database> cn;
    TempFolder destino;
};

// A header row as Cabecera writes it: 25 columns, nulls empty, Windows-1252 with "?".
QByteArray LineaCabecera(int numero, const char* afiliado, const char* sep, int diferida)
{
    QByteArray l = QByteArray("999") + sep + QByteArray::number(numero) + sep + "20123456789" + sep + sep + sep +
                   afiliado + sep;
    for (int i = 0; i < 16; ++i) l += sep;
    return l + "\xd1" "and\xfa ?" + sep + "20240315" + sep + QByteArray::number(diferida) + sep + "\r\n";
}

} // namespace

TEST_P(ExportDb, DetailFilesHoldEveryRowAndTheTablesAreEmptied)
{
    Cabecera(1, QStringLiteral("0001234"), 0);
    Linea(1, QStringLiteral("420101"));
    Linea(1, QStringLiteral("420102"));
    Respuesta(1);
    Cabecera(2, QStringLiteral("0005678"), 0);
    Linea(2, QStringLiteral("420103"));
    Linea(2, QStringLiteral("420104"));
    Linea(2, QStringLiteral("420105"));
    Respuesta(2);

    clsLog log;
    QList<qint32> eventos;
    QObject::connect(&log, &clsLog::RowCount, [&](qint32 n) { eventos << n; });
    log.TxOSDE()->ObraSocial = QStringLiteral("OSDE");
    ASSERT_EQ(log.TxOSDE()->Export(destino.path(), true, QStringLiteral("TAB")), 9);
    EXPECT_EQ(eventos, (QList<qint32>{1, 2, 1, 2, 3, 4, 5, 1, 2}));

    EXPECT_EQ(destino.read(QStringLiteral("OSDE_Cabecera.txt")),
              LineaCabecera(1, "0001234", "\t", 0) + LineaCabecera(2, "0005678", "\t", 0));
    EXPECT_EQ(destino.read(QStringLiteral("OSDE_Detalle.txt")),
              QByteArray("1\t420101\t1\t0\t2\t\t\tA\t\r\n"
                         "1\t420102\t1\t0\t2\t\t\tA\t\r\n"
                         "2\t420103\t1\t0\t2\t\t\tA\t\r\n"
                         "2\t420104\t1\t0\t2\t\t\tA\t\r\n"
                         "2\t420105\t1\t0\t2\t\t\tA\t\r\n"));
    EXPECT_EQ(destino.read(QStringLiteral("OSDE_Respuesta.txt")),
              QByteArray("1\tS\tW\tR\tL1\tL2\t12.5\t\t\r\n"
                         "2\tS\tW\tR\tL1\tL2\t12.5\t\t\r\n"));
    for (const char* t : {"TOSDE_svl1", "TOSDE_svl2", "TOSDE_svl3"}) EXPECT_EQ(Filas(t), 0) << t;

    // Empty tables: empty files, 0, MaxRow as it was.
    const qint32 antes = log.TxOSDE()->MaxRow;
    EXPECT_EQ(log.TxOSDE()->Export(destino.path(), true, QStringLiteral("TAB")), 0);
    EXPECT_EQ(destino.read(QStringLiteral("OSDE_Cabecera.txt")), QByteArray());
    EXPECT_EQ(log.TxOSDE()->MaxRow, antes);
}

TEST_P(ExportDb, DelimitersAreTakenLetterByLetterExceptTAB)
{
    clsLog log;
    auto tx = log.TxGenerica();
    struct Caso {
        QString delimitador;
        QByteArray esperado;
    };
    const QList<Caso> casos = {
        {QStringLiteral("tab"), "1tab420101tab0tabJ01tab\r\n"},
        {QString(), "14201010J01\r\n"},
        {QStringLiteral("||"), "1||420101||0||J01||\r\n"},
    };
    for (const Caso& c : casos) {
        cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl1 (IdTerminal, NumeroTransaccion) VALUES (1, 1)"));
        cn->Execute(QStringLiteral("INSERT INTO TGenerica_svl2 VALUES (1, 420101, 0, 'J01')"));
        tx->ObraSocial = QStringLiteral("Salud");
        ASSERT_EQ(tx->Export(destino.path(), true, c.delimitador), 2);
        EXPECT_EQ(destino.read(QStringLiteral("Salud_Detalle.txt")), c.esperado) << c.delimitador.toStdString();
    }
}

TEST_P(ExportDb, MaxRowIsKnownBeforeTheFirstRow)
{
    for (int i = 1; i <= 3; ++i) Linea(i, QStringLiteral("X"));
    clsLog log;
    auto tx = log.TxOSDE();
    tx->MaxRow = -1;
    QList<QPair<qint32, qint32>> eventos;
    QObject::connect(tx.get(), &clsTxOSDE::RowCount, [&](qint32 n) { eventos << qMakePair(tx->MaxRow, n); });
    EXPECT_EQ(tx->ExportFile(QStringLiteral("SELECT AUPRE FROM TOSDE_svl2"), destino.file(QStringLiteral("x.txt")),
                             QStringLiteral(",")),
              3);
    EXPECT_EQ(eventos, (QList<QPair<qint32, qint32>>{{3, 1}, {3, 2}, {3, 3}}));
    EXPECT_EQ(destino.read(QStringLiteral("x.txt")), QByteArray("X,\r\nX,\r\nX,\r\n"));
}

TEST_P(ExportDb, JoinedFormWritesAndDeletesOnlyCompleteRequests)
{
    Cabecera(1, QStringLiteral("0001234"), 0);
    Linea(1, QStringLiteral("420101"));
    Respuesta(1);
    Cabecera(2, QStringLiteral("0005678"), 1); // deferred: lines, no answer
    Linea(2, QStringLiteral("420102"));
    Cabecera(3, QStringLiteral("0009999"), 0); // no lines

    clsLog log;
    auto tx = log.TxOSDE();
    tx->ObraSocial = QStringLiteral("OSDE");
    // A request logged by another terminal while the file is written waits for the next export.
    std::unique_ptr<clsLog> otro;
    QObject::connect(tx.get(), &clsTxOSDE::RowCount, [&](qint32) {
        otro = std::make_unique<clsLog>();
        otro->TxOSDE()->Save(false);
    });
    ASSERT_EQ(tx->Export(destino.path(), false, QStringLiteral(";")), 1);
    QByteArray linea = LineaCabecera(1, "0001234", ";", 0);
    linea.chop(2);
    EXPECT_EQ(destino.read(QStringLiteral("OSDE.txt")),
              linea + "1;420101;1;0;2;;;A;1;S;W;R;L1;L2;12.5;;\r\n");
    QList<int> quedan;
    for (DbResult r = cn->Query(QStringLiteral("SELECT NumeroTransaccion FROM TOSDE_svl1 ORDER BY 1")); !r.EOF_();
         r.MoveNext())
        quedan << r.value(0).toInt();
    EXPECT_EQ(quedan, (QList<int>{2, 3, 4}));
    EXPECT_EQ(Filas("TOSDE_svl2"), 1);
    EXPECT_EQ(Filas("TOSDE_svl3"), 1); // the answer of request 4
}

TEST_P(ExportDb, AFailureLeavesTheTablesAndTheLastExportWhole)
{
    Cabecera(1, QStringLiteral("0001234"), 0);
    Linea(1, QStringLiteral("420101"));
    Respuesta(1);
    destino.write(QStringLiteral("OSDE_Cabecera.txt"), "anterior");
    clsLog log;
    auto tx = log.TxOSDE();
    tx->ObraSocial = QStringLiteral("OSDE");
    auto falla = [&](const QString& carpeta) {
        try {
            tx->Export(carpeta, true, QStringLiteral("TAB"));
        } catch (const VbError& e) {
            EXPECT_EQ(e.source, QStringLiteral("Quorvan.clsTxOSDE"));
            return true;
        }
        return false;
    };
    EXPECT_TRUE(falla(destino.file(QStringLiteral("no/existe"))));
    EscrituraSegura::FallarEnOperacion(1);
    EXPECT_TRUE(falla(destino.path()));
    EXPECT_EQ(destino.read(QStringLiteral("OSDE_Cabecera.txt")), QByteArray("anterior"));

    // A deletion that fails undoes the others.
    if (isPostgreSQL()) {
        cn->Execute(QStringLiteral("CREATE FUNCTION no_borrar() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'no'; "
                                   "END $$ LANGUAGE plpgsql"));
        cn->Execute(QStringLiteral("CREATE TRIGGER no_borrar BEFORE DELETE ON TOSDE_svl1 FOR EACH ROW "
                                   "EXECUTE FUNCTION no_borrar()"));
    } else {
        cn->Execute(QStringLiteral("CREATE TRIGGER no_borrar BEFORE DELETE ON TOSDE_svl1 "
                                   "BEGIN SELECT RAISE(ABORT, 'no'); END"));
    }
    EXPECT_TRUE(falla(destino.path()));
    for (const char* t : {"TOSDE_svl1", "TOSDE_svl2", "TOSDE_svl3"}) EXPECT_EQ(Filas(t), 1) << t;
}

INSTANTIATE_TEST_SUITE_P(Engines, ExportDb, DbEngines(), DbEngineName);
