#include "engine/General.h"
#include "engine/modUtils.h"
#include "platform/VbError.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(FormatearNumero, FieldTable)
{
    struct Case { QVariant value; int width; const char* expected; };
    const Case cases[] = {
        {QStringLiteral("42"), 5, "00042"},
        {QStringLiteral("  "), 3, "000"},
        {7654321, 6, "654321"},
        {987654, 4, "7654"},
        {QStringLiteral("42"), 0, ""},
        {1.5, 5, "001.5"},
        {QStringLiteral("1.50"), 5, "001.5"},
        {-5, 4, "00-5"},
        {QVariant(), 3, "000"},
        {QStringLiteral(" 0042 "), 6, "000042"},
        {QStringLiteral("98765432109876543210"), 20, "98765432109876543210"},
        {QStringLiteral("98765432109876543210"), 22, "0098765432109876543210"},
        {QStringLiteral("98765432109876543210"), 4, "3210"},
        {Q_INT64_C(123456789012), 12, "123456789012"},
        {QStringLiteral("1E3"), 5, "01000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(General::FormatearNumero(c.value, c.width), QString::fromLatin1(c.expected))
            << c.value.toString().toStdString() << " / " << c.width;
}

TEST(FormatearNumero, NonNumericTextIsATypeMismatch)
{
    for (const char* text : {"12a", "abc", "1 2"}) {
        try {
            General::FormatearNumero(QString::fromLatin1(text), 4);
            FAIL() << text;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, VbError::TypeMismatch);
        }
    }
}

TEST(FormatearNumeroCampo, RefusesValuesThatWouldBeCut)
{
    EXPECT_EQ(General::FormatearNumeroCampo(99, 2, "Cantidad", "x"), "99");
    EXPECT_EQ(General::FormatearNumeroCampo(QStringLiteral("007"), 2, "Cantidad", "x"), "07");
    EXPECT_EQ(General::FormatearNumeroCampo(QString(), 2, "Cantidad", "x"), "00");
    for (const QVariant& v : {QVariant(100), QVariant(QStringLiteral("-15")), QVariant(1.5)}) {
        try {
            General::FormatearNumeroCampo(v, 2, "Cantidad", "clsItemTicket");
            FAIL() << v.toString().toStdString();
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, VbError::Overflow);
            EXPECT_EQ(e.source, "clsItemTicket");
            EXPECT_TRUE(e.description.contains("Cantidad"));
        }
    }
}

TEST(FormatearTexto, FieldTable)
{
    struct Case { QVariant value; int width; QString expected; };
    const Case cases[] = {
        {QStringLiteral("  AB C  "), 6, QStringLiteral("AB C  ")},
        {QStringLiteral("ABCDEFG"), 3, QStringLiteral("ABC")},
        {QVariant(), 4, QStringLiteral("    ")},
        {QString(), 2, QStringLiteral("  ")},
        {QStringLiteral("a\r\nb\tc"), 7, QStringLiteral("a  b c ")},
        {QString::fromUtf8("Ñandú€"), 6, QString::fromUtf8("Ñandú€")},
        {QString::fromUtf8("a中b"), 4, QStringLiteral("a?b ")},
        {12, 4, QStringLiteral("12  ")},
        {QStringLiteral("x"), 0, QString()},
    };
    for (const auto& c : cases) EXPECT_EQ(General::FormatearTexto(c.value, c.width), c.expected);
}

TEST(Archivos, ListAndDelete)
{
    TempFolder tmp;
    EXPECT_EQ(General::ListarArchivos(tmp.file("missing/"))->size(), 0);
    EXPECT_EQ(General::ListarArchivos(tmp.path())->size(), 0);
    tmp.write("a.txt", "1");
    tmp.write("_SVL.1", "2");
    tmp.write(".hidden", "3");
    tmp.mkdir("sub");
    const auto list = General::ListarArchivos(tmp.path());
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->size(), 3);
    EXPECT_TRUE(list->contains(tmp.file("_SVL.1")));
    EXPECT_FALSE(list->contains(tmp.file("sub")));

    QStringList toDelete = *list;
    toDelete.prepend(tmp.file("gone.txt")); // a listed file that no longer exists is skipped
    EXPECT_TRUE(General::BorrarArchivos(toDelete));
    EXPECT_EQ(General::ListarArchivos(tmp.path())->size(), 0);
    EXPECT_TRUE(General::BorrarArchivos({}));
    EXPECT_FALSE(General::BorrarArchivos({tmp.file("sub")}));
}

TEST(Hex, BytesFilesAndFailures)
{
    EXPECT_EQ(modUtils::BytesAHex(QByteArray("\x0A\xFF", 2)), "0AFF");
    EXPECT_EQ(modUtils::BytesAHex(QByteArray()), "");

    TempFolder tmp;
    tmp.write("in.bin", QByteArray("\x00\x7F\x80", 3));
    tmp.write("empty.bin", QByteArray());
    EXPECT_EQ(modUtils::LeerArchivoComoHex(tmp.file("in.bin")), "007F80");
    EXPECT_EQ(modUtils::LeerArchivoComoHex(tmp.file("empty.bin")), "");
    modUtils::ConvertirArchivoAHex(tmp.file("in.bin"), tmp.file("out.hex"));
    EXPECT_EQ(tmp.read("out.hex"), QByteArray("007F80"));

    ScriptedDialogs dialogs;
    EXPECT_THROW(modUtils::ConvertirArchivoAHex(tmp.file("none.bin"), tmp.file("out2.hex")), VbError);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, "No encuento archivo");
    EXPECT_EQ(dialogs.shown[0].title, "Error");
    EXPECT_EQ(dialogs.shown[0].style, Vbc::vbCritical);
    EXPECT_FALSE(tmp.exists("out2.hex"));
}

TEST(General, RepeatCheckReset)
{
    General::SVL1Actual = "a";
    General::SVL2Actual = "b";
    General::SVL1Anterior = "c";
    General::SVL2Anterior = "d";
    General::ReiniciarControlRepeticion();
    EXPECT_TRUE(General::SVL1Actual.isEmpty() && General::SVL2Actual.isEmpty() && General::SVL1Anterior.isEmpty() &&
                General::SVL2Anterior.isEmpty());
}
