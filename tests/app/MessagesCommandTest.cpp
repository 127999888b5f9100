#include "core/MessageCatalog.h"
#include "tests/support/TestSupport.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace tz4;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun runTz4(const QStringList& args)
{
    QProcess process;
    process.start(tz4::test::builtProgram(QStringLiteral("tz4")), args);
    ProgramRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

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
    const ProgramRun run = runTz4({QStringLiteral("messages"), QStringLiteral("--lang"), QStringLiteral("en")});
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
    const ProgramRun run = runTz4({QStringLiteral("messages"), QStringLiteral("--lang"), QStringLiteral("ja")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expectedListing(Language::Japanese));
    EXPECT_TRUE(run.out.startsWith("101\tJA\n"));
    EXPECT_TRUE(run.out.contains(QStringLiteral("\n217\tファイル(&F)\n").toUtf8()));
}

TEST(MessagesCommand, RefusesAnUnknownLanguage)
{
    const ProgramRun run = runTz4({QStringLiteral("messages"), QStringLiteral("--lang"), QStringLiteral("fr")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("fr"));
}
