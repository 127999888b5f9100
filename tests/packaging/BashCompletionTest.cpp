#include "tests/support/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// What the completion offers for the words typed so far (the last one is being completed).
QStringList offered(const QString& program, const QStringList& typed)
{
    QString words = QStringLiteral("COMP_WORDS=(%1").arg(program);
    for (const QString& word : typed)
        words += QStringLiteral(" '%1'").arg(word);
    words += QLatin1Char(')');
    const QString function = program.endsWith(QLatin1String("tz4-sim")) ? QStringLiteral("_tz4_sim") : QStringLiteral("_tz4");
    const QString script = QStringLiteral("source '%1'; %2; COMP_CWORD=%3; %4; printf '%s\\n' \"${COMPREPLY[@]}\"")
                               .arg(QStringLiteral(TZ4_SOURCE_DIR "/packaging/tz4.bash-completion"), words)
                               .arg(typed.size())
                               .arg(function);
    QProcess bash;
    bash.start(QStringLiteral("bash"), {QStringLiteral("-c"), script});
    bash.waitForFinished(30000);
    return QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString program() { return tz4::test::builtProgram(QStringLiteral("tz4")); }

} // namespace

TEST(BashCompletion, OffersEveryCommandTheProgramKnows)
{
    QProcess help;
    help.start(program(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(30000));
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    const QString commandsPart = text.mid(text.indexOf(QStringLiteral("\ncommands:\n")));
    QStringList commands;
    for (const auto& m : QRegularExpression(QStringLiteral("(?m)^  ([a-z][a-z-]*)")).globalMatch(commandsPart))
        commands << m.captured(1);
    ASSERT_GT(commands.size(), 20);
    QStringList offeredCommands = offered(program(), {QString()});
    commands.sort();
    offeredCommands.sort();
    EXPECT_EQ(offeredCommands, commands);
}

TEST(BashCompletion, CompletesOptionsAndTheirValuesForTheCommandAtHand)
{
    EXPECT_EQ(offered(program(), {QStringLiteral("--lang"), QString()}), (QStringList{"en", "ja"}));
    EXPECT_EQ(offered(program(), {QStringLiteral("--home"), QStringLiteral("/tmp"), QStringLiteral("measure"), QString()}),
              (QStringList{"work", "cps", "light", "calib"}));
    EXPECT_EQ(offered(program(), {QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--st")}),
              (QStringList{"--start", "--step"}));
    EXPECT_EQ(offered(program(), {QStringLiteral("ports"), QStringLiteral("--js")}), (QStringList{"--json"}));
    EXPECT_EQ(offered(program(), {QStringLiteral("search"), QStringLiteral("--kind"), QString()}),
              (QStringList{"W", "C", "L", "D", "T"}));
    // --port offers the ports the program itself lists.
    QProcess ports;
    ports.start(program(), {QStringLiteral("ports")});
    ASSERT_TRUE(ports.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(ports.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList portValues = offered(program(), {QStringLiteral("--port"), QStringLiteral("/dev/tty")});
    for (const QString& line : lines)
        EXPECT_TRUE(portValues.contains(line.section(QLatin1Char('\t'), 0, 0))) << line.toStdString();
    EXPECT_EQ(offered(tz4::test::builtProgram(QStringLiteral("tz4-sim")), {QStringLiteral("--sim-f")}),
              (QStringList{"--sim-fault"}));
}
