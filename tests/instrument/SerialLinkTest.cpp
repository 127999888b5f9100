#include "tests/instrument/ScriptedLine.h"
#include "tests/support/TestSupport.h"

#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"
#include "instrument/ErrorTexts.h"


using namespace tz4;
using tz4::test::ScriptedBody;
using tz4::test::errorNumberOf;

namespace {

using SerialLink = ScriptedBody;

} // namespace

TEST_F(SerialLink, SendsCommandWithOneCarriageReturnAndLogsTheExchange)
{
    tz4::test::Spy data(&body, &uclTz4Body::ReceiveData);
    line.on("ES", "0123");
    body.setOverTime(10);

    EXPECT_TRUE(body.WriteRS232C("ES"));

    EXPECT_EQ(line.rawWrites, QByteArray("ES\r"));
    EXPECT_EQ(body.replyLine(), "0123");
    const QString expected = "[ES       (2)     ] -> [0123]";
    EXPECT_EQ(body.SerialLog(), expected + "\r\n");
    ASSERT_EQ(data.size(), 1);
    EXPECT_EQ(data[0][0].toString(), expected);
    EXPECT_EQ(errorLocation(), "uclTz4Body:WriteRS232C");
}

TEST_F(SerialLink, LogLineCutsLongCommandsAndWritesFractionalTimeOutsInTheLocale)
{
    body.setOverTime(1);
    EXPECT_EQ(body.MeasDataProtocol("ABCDEFGHIJKL", " x "), "[ABCDEFGHI(0.2)   ] -> [ x ]");
    EXPECT_EQ(body.MeasDataProtocol("KS", "   "), "[KS       (0.2)   ] -> [CR]");
    tz4::test::ScopedLocale german{QLocale(QLocale::German, QLocale::Germany)};
    EXPECT_EQ(body.MeasDataProtocol("KS", "1"), "[KS       (0,2)   ] -> [1]");
    EXPECT_EQ(body.ChkPointDelim("1.5.x"), "1,5,x");
    EXPECT_EQ(body.UncheckPointDelim("1,5"), "1.5");
}

TEST_F(SerialLink, AssemblesARepliesSplitOverSeveralReceiveEvents)
{
    line.queueChunks("ES", {"0", "12", "3\r"});
    EXPECT_TRUE(body.WriteRS232C("ES"));
    EXPECT_EQ(body.replyLine(), "0123");
    EXPECT_EQ(line.sent.back().atMs, 0);
    EXPECT_EQ(clock.nowMs(), 3 * line.delayMs);
}

TEST_F(SerialLink, KeepsTheSecondOfTwoMergedRepliesForTheNextCommand)
{
    line.queueChunks("AA", {"11\r22\r"});
    line.on("BB", "33");
    EXPECT_TRUE(body.WriteRS232C("AA"));
    EXPECT_EQ(body.replyLine(), "11");
    EXPECT_TRUE(body.WriteRS232C("BB"));
    EXPECT_EQ(body.replyLine(), "22");
    // A line feed after the CR is not special: it starts a later reply.
    line.queueChunks("CC", {"44\r\n"});
    line.on("DD", "55");
    body.WriteRS232C("CC");
    EXPECT_EQ(body.replyLine(), "33");
    body.WriteRS232C("DD");
    EXPECT_EQ(body.replyLine(), "44");
    body.WriteRS232C("DD");
    EXPECT_EQ(body.replyLine(), "\n55");
}

TEST_F(SerialLink, InstrumentErrorRepliesCarryTheirNumberAndDoNotCancel)
{
    line.on("ES1234", "error 5");
    EXPECT_FALSE(body.WriteRS232C("ES1234"));
    EXPECT_EQ(body.ErrorNumber(1), 5);
    EXPECT_EQ(body.ErrorStyle(), 0);
    EXPECT_EQ(body.ErrorDescription(), "TZ4 QM-5 EEPROM Not Write");
    EXPECT_FALSE(body.Canceled());
    EXPECT_TRUE(body.SerialLog().endsWith("] -> [error 5]\r\n"));
    EXPECT_TRUE(body.WriteRS232C("FS"));
}

TEST_F(SerialLink, BareErrorReplyIsAConversionFailureForTheCaller)
{
    line.on("XX", "ERROR");
    EXPECT_EQ(errorNumberOf([&] { body.WriteRS232C("XX"); }), err::TypeMismatch);
    EXPECT_TRUE(body.SerialLog().endsWith("] -> [ERROR]\r\n"));
    // The port is released: the next command goes out normally.
    EXPECT_TRUE(body.WriteRS232C("FS"));
    EXPECT_EQ(line.commands(), QStringList({"XX", "FS"}));
}

TEST_F(SerialLink, EmptyReplyIsASuccessLoggedAsCR)
{
    line.on("KS", "");
    EXPECT_TRUE(body.WriteRS232C("KS"));
    EXPECT_EQ(body.replyLine(), "");
    EXPECT_TRUE(body.SerialLog().endsWith("] -> [CR]\r\n"));
}

TEST_F(SerialLink, TimesOutAfterOverTimePlusOneTicksThenRefusesUntilCanceledIsCleared)
{
    body.setOverTime(10);
    line.withhold("ES");
    tz4::test::Spy data(&body, &uclTz4Body::ReceiveData);

    EXPECT_FALSE(body.WriteRS232C("ES"));
    EXPECT_GT(clock.nowMs(), 2000);
    EXPECT_LE(clock.nowMs(), 2200);
    EXPECT_EQ(body.ErrorNumber(1), 1);
    EXPECT_EQ(body.ErrorStyle(), 1);
    EXPECT_EQ(body.ErrorDescription(), "RS232C Receive Time Out");
    EXPECT_TRUE(body.Canceled());
    EXPECT_TRUE(body.SerialLog().endsWith("] -> [TimeOver!]\r\n"));

    const QString logBefore = body.SerialLog();
    const qint64 then = clock.nowMs();
    EXPECT_FALSE(body.WriteRS232C("FS"));
    EXPECT_EQ(clock.nowMs(), then);
    EXPECT_EQ(body.ErrorNumber(1), 9);
    EXPECT_EQ(body.SerialLog(), logBefore);
    EXPECT_EQ(data.last()[0].toString(), "[FS       (2)     ] -> [Design Mode!]");
    EXPECT_EQ(line.commands(), QStringList({"ES"}));

    body.setCanceled(false);
    EXPECT_TRUE(body.WriteRS232C("FS"));
}

TEST_F(SerialLink, WithoutTicksAWaitLastsUntilTheTimerIsEnabled)
{
    body.setTimerEnable(false);
    EXPECT_FALSE(body.TimerEnable());
    body.setOverTime(10);
    line.withhold("ES");
    clock.startTimer(60000, [this] { body.setTimerEnable(true); }, false);
    EXPECT_FALSE(body.WriteRS232C("ES"));
    EXPECT_GT(clock.nowMs(), 62000);
    EXPECT_LE(clock.nowMs(), 62200);
}

TEST_F(SerialLink, ClosedPortFailsWithErrorSixAndCancels)
{
    body.setPortOpen(false);
    EXPECT_FALSE(body.PortOpen());
    EXPECT_FALSE(body.WriteRS232C("ES"));
    EXPECT_EQ(body.ErrorNumber(1), 6);
    EXPECT_EQ(body.ErrorDescription(), "TZ4 No Connect");
    EXPECT_TRUE(body.Canceled());
    EXPECT_TRUE(body.SerialLog().endsWith("] -> [No Connected]\r\n"));
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(SerialLink, TrafficLogIsEmptiedOnceItGrowsBeyondTwentyThousandCharacters)
{
    body.setSerialLog(QString(20000, 'x'));
    body.WriteRS232C("FS");
    EXPECT_TRUE(body.SerialLog().startsWith("xxx"));
    EXPECT_GT(body.SerialLog().size(), 20000);
    body.WriteRS232C("FS");
    EXPECT_EQ(body.SerialLog(), "[FS       (12)    ] -> [0]\r\n");
}

TEST_F(SerialLink, SerialSettingsFollowTheirAcceptanceRules)
{
    EXPECT_EQ(line.settingsText, "19200,N,7,1");
    body.setPortOpen(false);

    body.setCommPort(0);
    EXPECT_EQ(body.CommPort(), 0);
    body.setPortOpen(true);
    EXPECT_EQ(line.portNumber, 1);
    body.setPortOpen(false);
    body.setCommPort(17);
    body.setPortOpen(true);
    EXPECT_EQ(line.portNumber, 1);

    body.setBaudRate(9600);
    EXPECT_EQ(line.settingsText, "9600,n,7,1");
    body.setBaudRate(1000);
    EXPECT_EQ(body.BaudRate(), 9600);
    body.setBaudRate(0);
    body.setBaudRate(-300);
    EXPECT_EQ(body.BaudRate(), 9600);
    EXPECT_EQ(line.settingsText, "9600,n,7,1");

    body.setDataBits(9);
    body.setStopBits(3);
    EXPECT_EQ(line.settingsText, "9600,n,7,1");
    body.setDataBits(8);
    body.setStopBits(2);
    body.setParityBits(1);
    EXPECT_EQ(line.settingsText, "9600,e,8,2");
    body.setParityBits(2);
    EXPECT_EQ(line.settingsText, "9600,o,8,2");
    body.setParityBits(7);
    EXPECT_EQ(body.ParityBits(), 7);
    EXPECT_EQ(line.settingsText, "9600,n,8,2");

    body.setPortOpen(false);
    body.setParityBits(1);
    body.setPortOpen(true);
    EXPECT_EQ(line.settingsText, "9600,E,8,2");
}

TEST_F(SerialLink, ErrorNumberWithStyleZeroAsksBothUnits)
{
    line.on("SS", "24040");
    line.on("SO", "224040");
    EXPECT_EQ(body.ErrorNumber(0), 2);
    EXPECT_EQ(line.commands(), QStringList({"SS", "SO"}));
}

TEST_F(SerialLink, WaitIdleAllowsFiveMinutesAndRestoresTheTimeOut)
{
    body.setOverTime(33);
    body.WaitIdle();
    EXPECT_EQ(line.commands(), QStringList({"KS"}));
    EXPECT_EQ(line.overTimes(), QList<int>({1500}));
    EXPECT_EQ(body.OverTime(), 33);
    EXPECT_EQ(body.LastProcess(), "WaitIdle");
}

TEST_F(SerialLink, CancelProcessMakesTheInstrumentSafeAndStaysCanceled)
{
    body.StageX();
    line.clearSent();
    body.setCanceled(true);
    body.BodyCancelProcess();
    EXPECT_EQ(line.commands(), QStringList({"FO1", "GS0", "XO1"}));
    EXPECT_TRUE(body.Canceled());
    EXPECT_FLOAT_EQ(body.StageX(), 0.4f);
}

TEST(ErrorTexts, ReservedNumbersShareOneTextAndUnknownOnesHaveNone)
{
    for (int reserved : {7, 8, 17, 20, 29, 40})
        EXPECT_EQ(GetErrorString(reserved), "Reserve Error") << reserved;
    for (int unknown : {-1, 52})
        EXPECT_EQ(GetErrorString(unknown), "") << unknown;
}

TEST_F(SerialLink, AFailureEscapingAWaitStillReleasesThePort)
{
    body.setTimerEnable(false);
    line.withhold("ES");
    // Nothing can ever end this wait: the virtual clock refuses to wait for ever.
    EXPECT_THROW(body.WriteRS232C("ES"), std::logic_error);
    body.setTimerEnable(true);
    EXPECT_TRUE(body.WriteRS232C("FS"));
}
