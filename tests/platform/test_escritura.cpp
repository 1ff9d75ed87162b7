#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
QStringList Entradas(const TempFolder& t)
{
    return QDir(t.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
}

TEST(EscrituraSegura, WholeOrNothing)
{
    struct Case { int fallarEn; int escrituras; bool ok; const char* queda; };
    // Operations are counted write by write, then the rename.
    const Case cases[] = {
        {0, 2, true, "nuevo-nuevo"},
        {1, 2, false, "viejo"},
        {2, 2, false, "viejo"},
        {3, 2, false, "viejo"}, // the rename
        {4, 2, true, "nuevo-nuevo"},
    };
    for (const auto& c : cases) {
        TempFolder t;
        t.write("a.txt", "viejo");
        EscrituraSegura::FallarEnOperacion(c.fallarEn);
        EscrituraSegura w(t.file("a.txt"));
        bool ok = w.Abrir();
        for (int i = 0; i < c.escrituras && ok; ++i)
            ok = w.Escribir(i ? "-nuevo" : "nuevo");
        ok = ok && w.Confirmar(true);
        EscrituraSegura::FallarEnOperacion(0);
        EXPECT_EQ(ok, c.ok) << c.fallarEn;
        EXPECT_EQ(ok, w.Error().isEmpty()) << c.fallarEn;
        EXPECT_EQ(t.read("a.txt"), QByteArray(c.queda)) << c.fallarEn;
        EXPECT_EQ(Entradas(t), QStringList{"a.txt"}) << "no temporary file left, case " << c.fallarEn;
    }
}

TEST(EscrituraSegura, UnconfirmedOrUnwritableLeavesNothing)
{
    TempFolder t;
    {
        EscrituraSegura w(t.file("b.txt"));
        ASSERT_TRUE(w.Abrir());
        ASSERT_TRUE(w.Escribir("parte"));
    }
    EXPECT_TRUE(Entradas(t).isEmpty());
    QString error;
    EXPECT_FALSE(EscrituraSegura::EscribirArchivo(t.file("falta/c.txt"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Lineas, EveryEndingInOnePass)
{
    struct Case { const char* texto; QStringList lineas; };
    const Case cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a", ""}},
        {"\n\r\n\r", {"", "", "", ""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lineas::Separar(QString::fromLatin1(c.texto)), c.lineas) << c.texto;
}
