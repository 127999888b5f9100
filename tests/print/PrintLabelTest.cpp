#include "core/Formats.h"
#include "print/LabelFormat.h"
#include "print/PrintLabels.h"
#include "tests/support/TestSupport.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <numbers>

using namespace tz4;

namespace {

clsTz4PrintLabel label(const QVariant& value, const QString& format, const QString& fore = QStringLiteral("Work Function : "),
                       const QString& back = QStringLiteral(" eV"))
{
    clsTz4PrintLabel l;
    l.setValue(value);
    l.setFormatString(format);
    l.setForeCaption(fore);
    l.setBackCaption(back);
    return l;
}

TEST(PrintLabel, StartsAsTheDefaultsSay)
{
    const clsTz4PrintLabel fresh;
    EXPECT_EQ(fresh.Value(), QVariant(1));
    EXPECT_EQ(fresh.Caption(), QStringLiteral("1"));
    EXPECT_FALSE(fresh.Binding());
    EXPECT_EQ(fresh.BindingNumber(), 0);
    EXPECT_EQ(fresh.OriginalFontSize(), 10.0f);
    EXPECT_EQ(fresh.Font().pointSizeF(), 10.0);
    EXPECT_EQ(fresh.mmLeft(), 0.0f);
}

TEST(PrintLabel, CaptionIsForeTextValueThroughItsFormatAndBackText)
{
    EXPECT_EQ(label(std::numbers::pi, QStringLiteral("#0.00")).Caption(), QStringLiteral("Work Function : 3.14 eV"));
    // Single-precision record values round as they read.
    EXPECT_EQ(label(2.675f, QStringLiteral("#0.00")).Caption(), QStringLiteral("Work Function : 2.68 eV"));
    // A number stored as text in a template is still a number.
    EXPECT_EQ(label(QStringLiteral("4.2"), QStringLiteral("0.000")).Caption(), QStringLiteral("Work Function : 4.200 eV"));
    // Without a format the value is printed as it is.
    EXPECT_EQ(label(5.1f, {}).Caption(), QStringLiteral("Work Function : 5.1 eV"));
    EXPECT_EQ(label(QStringLiteral("Gold"), {}, QStringLiteral("Sample Name : "), {}).Caption(),
              QStringLiteral("Sample Name : Gold"));
    const QDateTime measured(QDate(2026, 5, 3), QTime(14, 5, 9));
    EXPECT_EQ(label(measured, QStringLiteral("yyyy/mm/dd hh:nn"), {}, {}).Caption(), QStringLiteral("2026/05/03 14:05"));
}

TEST(PrintLabel, NullValuePrintsOnlyItsTexts)
{
    const clsTz4PrintLabel l = label(QVariant(), QStringLiteral("#0.00"), QStringLiteral("Location : "), QStringLiteral("!"));
    EXPECT_EQ(l.Caption(), QStringLiteral("Location : !"));
    EXPECT_TRUE(l.FormatFits());
}

TEST(PrintLabel, FormatThatDoesNotFitPrintsThePlainValue)
{
    const clsTz4PrintLabel name = label(QStringLiteral("Gold"), QStringLiteral("#0.00"), QStringLiteral("Sample : "), {});
    EXPECT_EQ(name.Caption(), QStringLiteral("Sample : Gold"));
    EXPECT_FALSE(name.FormatFits());
    // A date picture on a number, a number picture on a date, a picture without placeholders.
    EXPECT_EQ(label(5.25, QStringLiteral("yyyy/mm/dd"), {}, {}).Caption(), QStringLiteral("5.25"));
    EXPECT_EQ(formatLabelValue(QDateTime(QDate(2026, 5, 3), QTime(1, 2, 3)), QStringLiteral("#0.0")),
              generalDate(QDateTime(QDate(2026, 5, 3), QTime(1, 2, 3))));
    bool fits = true;
    EXPECT_EQ(formatLabelValue(7.5, QStringLiteral("abc"), &fits), QStringLiteral("7.5"));
    EXPECT_FALSE(fits);
    // A value that is no finite number is never pushed through a number picture.
    EXPECT_EQ(formatLabelValue(std::numeric_limits<double>::infinity(), QStringLiteral("#0.00"), &fits),
              plainValueText(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(fits);
}

TEST(PrintLabel, CommaDecimalLocalePrintsItsOwnSeparator)
{
    test::ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(label(std::numbers::pi, QStringLiteral("#0.00")).Caption(), QStringLiteral("Work Function : 3,14 eV"));
    EXPECT_EQ(label(QStringLiteral("4,25"), QStringLiteral("0.0")).Caption(), QStringLiteral("Work Function : 4,3 eV"));
}

TEST(PrintLabels, KeepOrderSelectionAndUniqueKeys)
{
    clsTz4PrintLabels labels;
    clsTz4PrintLabel* first = labels.Add();
    clsTz4PrintLabel* second = labels.Add(QStringLiteral("title"), QStringLiteral("Report"));
    EXPECT_EQ(labels.Count(), 2);
    EXPECT_EQ(labels.Item(1), first);
    EXPECT_EQ(labels.Item(QStringLiteral("TITLE")), second);
    EXPECT_EQ(test::errorNumberOf([&] { labels.Add(QStringLiteral("Title")); }), err::DuplicateCollectionKey);

    labels.setSelectedItem(second);
    labels.Remove(second);
    EXPECT_EQ(labels.SelectedItem(), nullptr);
    EXPECT_EQ(labels.Count(), 1);
    EXPECT_NEAR(labels.TwipsPerMM * labels.MMPerTwips, 1.0, 1e-6);
}

} // namespace
