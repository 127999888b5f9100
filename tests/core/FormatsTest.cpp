#include "core/Formats.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tz4;
using tz4::test::ScopedLocale;

TEST(FormatNumber, FixedPicturesPadAndRoundHalfAwayFromZero)
{
    EXPECT_EQ(formatNumber(3.14159, "0.00"), "3.14");
    EXPECT_EQ(formatNumber(2.675, "0.00"), "2.68");
    EXPECT_EQ(formatNumber(-2.5, "0"), "-3");
    EXPECT_EQ(formatNumber(0.5, "#0.00"), "0.50");
    EXPECT_EQ(formatNumber(0.04, "##0.0"), "0.0");
    EXPECT_EQ(formatNumber(1234.56, "###0"), "1235");
    EXPECT_EQ(formatNumber(-0.3, "###0.0"), "-0.3");
    EXPECT_EQ(formatNumber(12345.678, "####0.0"), "12345.7");
    EXPECT_EQ(formatNumber(7, "0000"), "0007");
    EXPECT_EQ(formatNumber(123456, "0000"), "123456");
    EXPECT_EQ(formatNumber(0.1234567, "0.000000"), "0.123457");
    EXPECT_EQ(formatNumber(5.1, "0000.000"), "0005.100");
    EXPECT_EQ(formatNumber(42, "00000000"), "00000042");
    EXPECT_EQ(formatNumber(9.96, "0.0"), "10.0");
    EXPECT_EQ(formatNumber(99.5, "#0"), "100");
}

TEST(FormatNumber, ValuesThatRoundToZeroLoseTheirSign)
{
    EXPECT_EQ(formatNumber(-0.004, "0.00"), "0.00");
    EXPECT_EQ(formatNumber(-0.0, "0"), "0");
}

TEST(FormatNumber, HashPlaceholdersShowNothingForMissingDigits)
{
    EXPECT_EQ(formatNumber(0, "##"), "");
    EXPECT_EQ(formatNumber(0.5, "#.##"), ".5");
    EXPECT_EQ(formatNumber(1.5, "0.##"), "1.5");
    EXPECT_EQ(formatNumber(1, "0.##"), "1.");
    EXPECT_EQ(formatNumber(12.5, ".00"), "12.50");
}

TEST(FormatNumber, ScientificPictures)
{
    EXPECT_EQ(formatNumber(12345.0, "0.00E+00"), "1.23E+04");
    EXPECT_EQ(formatNumber(0.000123, "0.00E+00"), "1.23E-04");
    EXPECT_EQ(formatNumber(0.0, "0.00E+00"), "0.00E+00");
    EXPECT_EQ(formatNumber(-9.996e7, "0.00E+00"), "-1.00E+08");
    EXPECT_EQ(formatNumber(12345.0, "0.00E+"), "1.23E+4");
    EXPECT_EQ(formatNumber(12345.0, "0.00E-00"), "1.23E04");
    EXPECT_EQ(formatNumber(0.05, "0.0e-0"), "5.0e-2");
}

TEST(FormatNumber, EscapedAndQuotedLiteralsAreCopied)
{
    EXPECT_EQ(formatNumber(12.34, "##0.0\\n\\W"), "12.3nW");
    EXPECT_EQ(formatNumber(5, "0\"x\""), "5x");
    EXPECT_EQ(formatNumber(5, "\"[\"0\"]\""), "[5]");
    EXPECT_EQ(formatNumber(0.256, "0.0%"), "25.6%");
    // A percentage beyond the largest double is shown as such, not taken apart digit by digit.
    EXPECT_EQ(formatNumber(1e307, "0%"), "inf");
}

TEST(FormatNumber, UsesTheLocaleSeparators)
{
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(localeDecimalSeparator(), QLatin1Char(','));
    EXPECT_EQ(formatNumber(3.14159, "0.00"), "3,14");
    EXPECT_EQ(formatNumber(1234567, "#,##0"), "1.234.567");
    EXPECT_EQ(formatNumber(12345.0, "0.00E+00"), "1,23E+04");
}

TEST(ShortestText, GivesTheShortestDecimalOfTheValue)
{
    EXPECT_EQ(shortestText(1.25f), "1.25");
    EXPECT_EQ(shortestText(0.1f), "0.1");
    EXPECT_EQ(shortestText(3.3f), "3.3");
    EXPECT_EQ(shortestText(8.0), "8");
    EXPECT_EQ(shortestText(9.75), "9.75");
    EXPECT_EQ(shortestText(-250.0), "-250");
    EXPECT_EQ(shortestText(0.0f), "0");
    EXPECT_EQ(shortestText(0.00012), "0.00012");
    EXPECT_EQ(shortestText(1.5e20), "1.5E+20");
    EXPECT_EQ(shortestText(2e-7f), "2E-07");
    {
        ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(shortestText(1.25f), "1,25");
    }
}

TEST(FormatDate, TheStoredPicturesAndLiterals)
{
    const QDateTime when(QDate(2024, 3, 7), QTime(9, 5, 2));
    EXPECT_EQ(formatDate(when, R"(mm"/"dd"/"yy hh":"nn":"ss)"), "03/07/24 09:05:02");
    EXPECT_EQ(formatDate(when, "YYMMDDHHNNSS"), "240307090502");
    EXPECT_EQ(formatDate(when, "yyyy-mm-dd"), "2024-03-07");
    EXPECT_EQ(formatDate(when, "hh:mm"), "09:05");
    EXPECT_EQ(formatDate(when, "\\d\\a\\y d"), "day 7");
}

TEST(GeneralDate, ShortDateThenTimeWithoutZone)
{
    const QDateTime when(QDate(2024, 3, 7), QTime(13, 5, 2));
    const QString text = generalDate(when);
    EXPECT_EQ(text, QLocale().toString(when.date(), QLocale::ShortFormat) + " 13:05:02");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(-0.6), -1);
    EXPECT_EQ(roundHalfEven(1e30), std::numeric_limits<qint64>::max());
    EXPECT_EQ(roundHalfEven(-1e30), std::numeric_limits<qint64>::min());
}

TEST(PointDelim, SwapsOnlyWhenTheLocaleUsesAnotherSeparator)
{
    EXPECT_EQ(uncheckPointDelim("1,5"), "1,5");
    EXPECT_EQ(chkPointDelim("1.5"), "1.5");
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(uncheckPointDelim("1,5"), "1.5");
    EXPECT_EQ(chkPointDelim("1.5"), "1,5");
}
