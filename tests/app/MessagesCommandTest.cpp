#include "core/MessageCatalog.h"
#include "tests/app/HeadlessRun.h"

#include <gtest/gtest.h>

using namespace tz4;
using tz4::test::HeadlessRun;
using tz4::test::runTz4;

namespace {

// The listing as the catalogue itself would print it.
QByteArray expectedListing(Language language)
{
    QByteArray text;
    for (int id : messageIds())
        text += QByteArray::number(id) + '\t' + messageText(id, language).toUtf8() + '\n';
    return text;
}

} // namespace

TEST(MessagesCommand, ListsEveryTextUnexpandedInEnglish)
{
    const HeadlessRun run = runTz4({QStringLiteral("messages"), QStringLiteral("--lang"), QStringLiteral("en")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expectedListing(Language::English));

    const QList<QByteArray> lines = run.out.split('\n');
    EXPECT_TRUE(lines.contains("101\tEN"));
    EXPECT_TRUE(lines.contains("1017\tMeasure Energy~1~2[eV] - ~1~3[eV]~1~4Points"));
    for (int id : {201, 265, 1004, 1030, 2001, 2006, 3001, 3082, 4001, 4005, 5001, 5095, 6001, 6110, 7001, 7098})
        EXPECT_TRUE(run.out.contains('\n' + QByteArray::number(id) + '\t')) << id;
}

TEST(MessagesCommand, ListsJapaneseAsUtf8)
{
    const HeadlessRun run = runTz4({QStringLiteral("messages"), QStringLiteral("--lang"), QStringLiteral("ja")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expectedListing(Language::Japanese));
    EXPECT_TRUE(run.out.startsWith("101\tJA\n"));
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n217\tファイル(&F)\n").toUtf8())) << run.out.toStdString();
}

TEST(MessagesCommand, RefusesAnUnknownLanguage)
{
    const HeadlessRun run = runTz4({QStringLiteral("messages"), QStringLiteral("--lang"), QStringLiteral("fr")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("fr")) << run.err.toStdString();
}
