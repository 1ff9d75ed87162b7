#include "config/Coleccion.h"

#include <QString>
#include <gtest/gtest.h>

namespace {
struct Elem {
    int n = 0;
};
std::shared_ptr<Elem> elem(int n)
{
    auto e = std::make_shared<Elem>();
    e->n = n;
    return e;
}
int errorDe(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.number;
    }
    return 0;
}
}

TEST(Coleccion, KeysAreUniqueWithoutRegardToCaseAndEarlierItemsStay)
{
    Coleccion<Elem> c;
    c.Add(elem(1), QStringLiteral("Ñandú 1"));
    c.Add(elem(2), QStringLiteral("OSDE 1"));
    c.Add(elem(3));
    c.Add(elem(4));
    EXPECT_EQ(errorDe([&] { c.Add(elem(5), QStringLiteral("osde 1")); }), 457);
    EXPECT_EQ(errorDe([&] { c.Add(elem(6), QStringLiteral("ñANDÚ 1")); }), 457);
    ASSERT_EQ(c.Count(), 4);
    int orden = 0;
    for (const auto& e : c) EXPECT_EQ(e->n, ++orden);
    EXPECT_EQ(c.Item_(QStringLiteral("Osde 1"))->n, 2);
    EXPECT_EQ(c.Item_(QStringLiteral("ÑANDÚ 1"))->n, 1);
    EXPECT_TRUE(c.Contains(QStringLiteral("oSdE 1")));
    EXPECT_FALSE(c.Contains(QStringLiteral("OSDE 2")));
}

TEST(Coleccion, PositionsFromOneAndMissingKeys)
{
    Coleccion<Elem> c;
    c.Add(elem(1), QStringLiteral("a"));
    c.Add(elem(2), QStringLiteral("b"));
    c.Add(elem(3), QStringLiteral("c"));
    struct Case { std::function<void()> f; int error; };
    const Case cases[] = {
        {[&] { c.Item_(0); }, 9},
        {[&] { c.Item_(4); }, 9},
        {[&] { c.Item_(QStringLiteral("z")); }, 5},
        {[&] { c.Item_(QString()); }, 5},
        {[&] { c.Remove(QStringLiteral("z")); }, 5},
        {[&] { c.Item_(3); }, 0},
    };
    for (const auto& k : cases) EXPECT_EQ(errorDe(k.f), k.error);

    c.Remove(QStringLiteral("B"));
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Item_(2)->n, 3);
    // A removed key can be used again.
    c.Add(elem(4), QStringLiteral("b"));
    EXPECT_EQ(c.Item_(QStringLiteral("b"))->n, 4);
    c.Remove(1);
    EXPECT_FALSE(c.Contains(QStringLiteral("a")));
    EXPECT_EQ(c.Key(1), QStringLiteral("c"));
}

// ---------------------------------------------------------------- the service catalogue

#include "config/clsPrestacion.h"
#include "config/clsPrestaciones.h"
#include "platform/Codec1252.h"
#include "platform/Database.h"
#include "platform/Vb.h"
#include "support/DbFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

// One services line, fields at their widths: internal code 15, code 15, value 1 15, value 2
// 15, description 150, observations 150.
QByteArray LineaServicio(const QString& interno, const QString& codigo, const QString& v1, const QString& v2,
                         const QString& descripcion, const QString& observaciones)
{
    const QString l = interno.leftJustified(15, ' ') + codigo.leftJustified(15, ' ') + v1.leftJustified(15, ' ')
                      + v2.leftJustified(15, ' ') + descripcion.leftJustified(150, ' ')
                      + observaciones.leftJustified(150, ' ');
    return Codec1252::encode(l) + "\r\n";
}

QStringList Servicios(Database& cn)
{
    DbResult rs = cn.Query(QStringLiteral("SELECT * FROM Prestaciones ORDER BY IdObraSocial, CodigoInterno"));
    QStringList filas;
    for (; !rs.EOF_(); rs.MoveNext()) {
        QStringList v;
        for (int c = 0; c < rs.ColumnCount(); ++c) v << Vb::CStr(rs.value(c));
        filas << v.join(QLatin1Char('|'));
    }
    return filas;
}

class CatalogoDb : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        cn = Connect();
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) VALUES (?, ?, 1, 1)"),
                    {31, QStringLiteral("Ñandú D'Angelo")});
        cn->Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, Empresa, Actividad) VALUES (32, 'Otra', 2, 1)"));
        cat.cnQuorvan = Connect();
        cat.strArchivoPrestaciones = QStringLiteral("Ñandú D'Angelo");
    }
    std::unique_ptr<Database> cn;
    clsPrestaciones cat;
    TempFolder dir;
    ScriptedDialogs dialogs;
};

TEST_P(CatalogoDb, ImportNormalisesCodesAndReimportStoresTheSameTexts)
{
    cn->Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno) VALUES (32, '1', '123')"));
    const QString largo = QStringLiteral("Consulta D'Angelo en C:\\Estandar, Ñandú ") + QString(80, QLatin1Char('x'));
    dir.write(QStringLiteral("serv.txt"),
              LineaServicio(QStringLiteral("000123"), QStringLiteral("0420101"), QStringLiteral("0012.50"),
                            QStringLiteral("007"), largo, QStringLiteral("Obs ñ"))
                  + LineaServicio(QStringLiteral("A-12"), QStringLiteral("X 1"), QString(), QString(),
                                  QStringLiteral("Otra"), QString())
                  + LineaServicio(QString(), QStringLiteral("9"), QString(), QString(), QString(), QString()));
    const QStringList esperado = {
        QStringLiteral("31|9|0|0|0|0|0"),
        QStringLiteral("31|420101|123|0012.50|7|") + largo + QStringLiteral("|Obs ñ"),
        QStringLiteral("31|X 1|A-12|0|0|Otra|0"),
        QStringLiteral("32|1|123|||Descripcion|Observaciones"),
    };
    cat.Add(dir.file(QStringLiteral("serv.txt")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    QStringList filas = Servicios(*cn);
    // The other insurer's row was there before (empty texts stand where the defaults are).
    ASSERT_EQ(filas.size(), 4);
    EXPECT_EQ(filas.mid(0, 3), esperado.mid(0, 3));
    cat.Add(dir.file(QStringLiteral("serv.txt")));
    EXPECT_EQ(Servicios(*cn), filas);

    auto col = cat.Load();
    ASSERT_EQ(col->Count(), 4);
    EXPECT_EQ(col->Item_(1)->CodigoInterno, QStringLiteral("0")); // ordered by internal code
    EXPECT_EQ(col->Item_(4)->CodigoInterno, QStringLiteral("A-12"));
    int conValores = 0;
    for (const auto& p : *col)
        if (p->CodigoPrestacion == QLatin1String("420101")) {
            EXPECT_EQ(p->Valor1, QStringLiteral("0012.50"));
            EXPECT_EQ(p->Valor2, QStringLiteral("7"));
            EXPECT_EQ(p->Descripcion, largo);
            ++conValores;
        }
    EXPECT_EQ(conValores, 1);

    cat.Remove(QStringLiteral("420101"));
    EXPECT_EQ(Servicios(*cn).size(), 3);
    cat.RemoveAll();
    ASSERT_EQ(Servicios(*cn).size(), 1); // the other insurer's service stays
    cat.strArchivoPrestaciones = QStringLiteral("Nadie");
    cat.RemoveAll();
    EXPECT_EQ(Servicios(*cn).size(), 1);
}

TEST_P(CatalogoDb, FailedImportRollsBackEveryLineAndSaysWhy)
{
    QByteArray archivo;
    for (int i = 1; i <= 9; ++i)
        archivo += LineaServicio(QString::number(i), QString::number(100 + i), QString(), QString(),
                                 QStringLiteral("Línea %1").arg(i), QString());
    // The tenth line repeats the first line's service code, which a unique index refuses.
    archivo += LineaServicio(QStringLiteral("10"), QStringLiteral("101"), QString(), QString(), QString(), QString());
    dir.write(QStringLiteral("serv.txt"), archivo);
    cn->Execute(QStringLiteral("CREATE UNIQUE INDEX UX_Prueba ON Prestaciones (CodigoPrestacion)"));

    cat.Add(dir.file(QStringLiteral("no-existe.txt")));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    cat.Add(dir.file(QStringLiteral("serv.txt")));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("Error al guardar prestaciones\n")));
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbInformation);
    EXPECT_TRUE(Servicios(*cn).isEmpty());

    dialogs.clear();
    cat.strArchivoPrestaciones = QStringLiteral("Nadie");
    cat.Add(dir.file(QStringLiteral("serv.txt")));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Error al guardar prestaciones\nLa Obra Social no existe"));
    EXPECT_TRUE(Servicios(*cn).isEmpty());
    EXPECT_EQ(cat.Load()->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogoDb, DbEngines(), DbEngineName);

}
