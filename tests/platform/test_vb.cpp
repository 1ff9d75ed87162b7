#include "platform/Codec1252.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <gtest/gtest.h>

TEST(Vb, LeadingNumberReading)
{
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"12abc", 12}, {"abc", 0}, {" 1 2", 12}, {"\t3\n4", 34}, {"2.5", 2.5}, {"-7.25x", -7.25},
        {"&H10", 16}, {"&h1F", 31}, {"&O17", 15}, {"&HFFFF", -1}, {"1E3", 1000}, {"1e", 1},
        {"", 0}, {"+5", 5}, {".5", 0.5}, {"1.2.3", 1.2}, {"--1", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Vb::Val(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(Vb, IntegerDigitsKeepWideNumbers)
{
    EXPECT_EQ(Vb::ValIntegerDigits("98765432109876543210"), "98765432109876543210");
    EXPECT_EQ(Vb::ValIntegerDigits("-0012x"), "-12");
    EXPECT_EQ(Vb::ValIntegerDigits("000"), "0");
    EXPECT_EQ(Vb::ValIntegerDigits("1.5"), "");
    EXPECT_EQ(Vb::ValIntegerDigits("abc"), "");
}

TEST(Vb, RoundingHalfToEvenAndErrors)
{
    EXPECT_EQ(Vb::CInt(2.5), 2);
    EXPECT_EQ(Vb::CInt(3.5), 4);
    EXPECT_EQ(Vb::CInt(-2.5), -2);
    EXPECT_EQ(Vb::CLng(2147483647.0), 2147483647);
    try { Vb::CInt(32768.0); FAIL(); } catch (const VbError& e) { EXPECT_EQ(e.number, 6); }
    try { Vb::CLng(2147483648.0); FAIL(); } catch (const VbError& e) { EXPECT_EQ(e.number, 6); }
    try { Vb::CLng(QStringLiteral("12a")); FAIL(); } catch (const VbError& e) { EXPECT_EQ(e.number, 13); }
    EXPECT_EQ(Vb::CLng(QStringLiteral(" 12 ")), 12);
}

TEST(Vb, TextHelpers)
{
    EXPECT_EQ(Vb::Trim("  a b \t "), "a b \t");
    EXPECT_EQ(Vb::Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Vb::Mid("abc", 5, 2), "");
    EXPECT_EQ(Vb::Mid("abc", 2, 99), "bc");
    EXPECT_EQ(Vb::Mid("abc", 2), "bc");
    EXPECT_EQ(Vb::Left("abc", 5), "abc");
    EXPECT_EQ(Vb::Right("abc", 2), "bc");
    EXPECT_EQ(Vb::Right("abc", -1), "");
}

TEST(Vb, NumberToText)
{
    struct Case { double v; const char* text; };
    const Case cases[] = {{1.0, "1"}, {1.5, "1.5"}, {-5, "-5"}, {0.5, "0.5"}, {123456789012345.0, "123456789012345"},
                          {1e16, "1E+16"}, {9.87654321098765e19, "9.87654321098765E+19"}, {0.1 + 0.2, "0.3"},
                          // small numbers keep every significant digit
                          {1.000001e-12, "1.000001E-12"}, {1e-15, "1E-15"}, {1.5e-5, "1.5E-05"},
                          {0.0001, "0.0001"}, {-2.25e-7, "-2.25E-07"}};
    for (const auto& c : cases) EXPECT_EQ(Vb::Str(c.v), QString::fromLatin1(c.text));
}

TEST(Vb, IsNumericAndDates)
{
    EXPECT_TRUE(Vb::IsNumeric(" 12 "));
    EXPECT_TRUE(Vb::IsNumeric("-1.5E3"));
    EXPECT_TRUE(Vb::IsNumeric("&H1F"));
    EXPECT_FALSE(Vb::IsNumeric("1 2"));
    EXPECT_FALSE(Vb::IsNumeric("E001"));
    EXPECT_FALSE(Vb::IsNumeric(""));
    EXPECT_EQ(Vb::ParseDate("31/12/2026"), QDate(2026, 12, 31));
    EXPECT_FALSE(Vb::ParseDate("31/02/2026").isValid());
    EXPECT_FALSE(Vb::ParseDate("1/2/2026").isValid());
}

TEST(Codec1252, RoundTripsEveryByteAndMapsSpecials)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    EXPECT_EQ(Codec1252::encode(Codec1252::decode(all)), all);
    EXPECT_EQ(Codec1252::encode(QStringLiteral("Ñá€")), QByteArray("\xD1\xE1\x80"));
    EXPECT_EQ(Codec1252::decode(QByteArray("\x80\x9F")), QString::fromUtf8("€Ÿ"));
    EXPECT_EQ(Codec1252::toRepresentable(QString::fromUtf8("a\u4E2Db\U0001F600c")), "a?b?c");
}
