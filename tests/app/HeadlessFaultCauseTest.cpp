#include "tests/app/HeadlessRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSerialPort>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

struct Fault {
    QStringList options;
    const char* step;  // the catalogue's message of the step that failed
    const char* cause; // the line naming what the link saw
    int exitCode;      // 4 when nothing answered at all, 1 when the instrument answered wrongly
};

const char* const Unreachable = "Cannot communicate with TZ-4. Check the connection.";
const char* const Diagnosis = "Self-diagnosis errer at TZ-4";

} // namespace

// Every one of these once ended in the same self-diagnosis message, or in none at all.
TEST_F(HeadlessProgram, AFailedConnectionNamesTheCauseTheLinkSaw)
{
    const QString regularFile = file(QStringLiteral("TZ4Sys.ini"));
    const Fault faults[] = {
        {simulated() + QStringList{QStringLiteral("--sim-fault"), QStringLiteral("no-reply")}, Unreachable,
         "Cause: SS -> no reply within the time-out", 4},
        {simulated() + QStringList{QStringLiteral("--sim-fault"), QStringLiteral("garbage")}, Diagnosis,
         "Cause: SS -> unreadable reply [", 1},
        {simulated() + QStringList{QStringLiteral("--sim-fault"), QStringLiteral("error:5")}, Diagnosis,
         "Cause: SS -> ERROR 5 (TZ4 QM-5 EEPROM Not Write)", 1},
        {simulated() + QStringList{QStringLiteral("--sim-fault"), QStringLiteral("garbage@CS")}, "",
         "tz4: cause: CS -> unreadable reply [", 1},
        {simulated() + QStringList{QStringLiteral("--sim-fault"), QStringLiteral("merge@CS")}, "",
         "tz4: cause: CS -> unreadable reply", 1},
        // A port that does not open heard nothing: no self-diagnosis ran.
        {{QStringLiteral("--port"), QStringLiteral("/dev/null")}, Unreachable, "Cause: /dev/null is not a serial port.", 4},
        {{QStringLiteral("--port"), QDir::tempPath()}, Unreachable, "is not a serial port.", 4},
        {{QStringLiteral("--port"), regularFile}, Unreachable, "is not a serial port.", 4},
        {{QStringLiteral("--port"), QStringLiteral("/dev/no-such-tty")}, Unreachable,
         "Cause: The serial port /dev/no-such-tty is not there (unplugged", 4},
    };
    for (const Fault& f : faults) {
        const HeadlessRun run = tz4(f.options + QStringList{QStringLiteral("connect")}, 60000);
        EXPECT_EQ(run.exitCode, f.exitCode) << f.cause << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(f.step)) << f.cause << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(f.cause)) << f.cause << "\n" << run.err.toStdString();
    }
}

TEST_F(HeadlessProgram, APortHeldByAnotherProgramIsReportedAsBusy)
{
    QProcess sim;
    sim.start(test::builtProgram(QStringLiteral("tz4-sim")), {QStringLiteral("--sim-speed"), QStringLiteral("1000")});
    ASSERT_TRUE(sim.waitForStarted(10000));
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    const QString path = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QSerialPort holder(path);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite)) << holder.errorString().toStdString();

    const HeadlessRun run = tz4({QStringLiteral("--port"), path, QStringLiteral("connect")}, 60000);
    EXPECT_EQ(run.exitCode, 4) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("The serial port " + path.toUtf8() + " is in use by another program."))
        << run.err.toStdString();
    holder.close();
    sim.kill();
    sim.waitForFinished(5000);
}

// A common rate that the settings file cannot hold used to leave the line at 19200 silently.
TEST_F(HeadlessProgram, SettingsTheInstrumentCannotUseAreNamedOnceOnConnect)
{
    QFile ini(file(QStringLiteral("TZ4Sys.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Body]\tTZ-4\r\n[BaudRate]\t38400\r\n[DataBits]\t9\r\n");
    ini.close();
    const QByteArray rate = "TZ4Sys.ini line 2: [BaudRate] 38400 does not fit a 16-bit number; 19200 stays in use";
    const QByteArray bits = "TZ4Sys.ini line 3: [DataBits] 9 cannot be used; 7 stays in use";

    for (const QString& command : {QStringLiteral("connect"), QStringLiteral("measure")}) {
        QStringList args = simulated() + QStringList{command};
        if (command == QLatin1String("measure"))
            args << QStringLiteral("cps") << QStringLiteral("--count") << QStringLiteral("2")
                 << QStringLiteral("--time") << QStringLiteral("2");
        const HeadlessRun run = tz4(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err.count(rate), 1) << run.err.toStdString();
        EXPECT_EQ(run.err.count(bits), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("The settings file holds values the instrument cannot use")) << run.err.toStdString();

        QFile log(file(QStringLiteral("Caution.log")));
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QByteArray logged = log.readAll();
        EXPECT_TRUE(logged.contains(" : 380 : modMain:GetSystemFile : " + rate)) << logged.toStdString();
        EXPECT_TRUE(logged.contains(" : 380 : modMain:GetSystemFile : " + bits)) << logged.toStdString();
    }
}
