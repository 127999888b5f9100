#include "tests/mainwin/MainWindowFixture.h"

#include "core/MessageCatalog.h"

#include <algorithm>

using namespace tz4;
using tz4::test::MainWindowFixture;

namespace {

sim::SimOptions withFaults(const QStringList& faults, bool cold = false)
{
    sim::SimOptions options;
    options.faults = faults;
    options.cold = cold;
    return options;
}

// The log records in the order written, without their time stamps.
QStringList logTexts(const QString& log)
{
    QStringList texts;
    const QStringList records = log.split(QString(57, QLatin1Char('#')) + QStringLiteral("\r\n[Now:"));
    for (qsizetype i = 1; i < records.size(); ++i)
        texts << records[i].section(QStringLiteral("]\r\n"), 1).chopped(4);
    return texts;
}

} // namespace

using ConnectSequence = MainWindowFixture;

TEST_F(ConnectSequence, LoadStartsAFreshLogAndTheBar)
{
    setDataDirectory(home.path());
    QFile old(serialDebugLogPath());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old run\r\n");
    old.close();

    start();
    const QString log = serialLog();
    const QString hashes(57, QLatin1Char('#'));
    EXPECT_TRUE(log.startsWith(hashes + QStringLiteral("\r\n# TZ-4 Debug Used Serial Log File Vantrel Co.,Ltd\r\n"
                                                       "# Write Date Time :")));
    EXPECT_TRUE(log.endsWith(QStringLiteral("\r\n# This File is Process and Serial Historys\r\n") + hashes +
                             QStringLiteral("\r\n\r\n")));
    EXPECT_FALSE(log.contains(QStringLiteral("old run")));
    EXPECT_EQ(main->ConnectPhase(), 0);
    EXPECT_EQ(status.Caption(), QStringLiteral("Init System"));
    EXPECT_EQ(status.Max(), 100.0f);
    EXPECT_EQ(status.Value(), 50.0f);

    body->setSerialLog(QStringLiteral("[CS] -> [00000]\r\n"));
    main->DebugLogWrite(1, QStringLiteral("first\r\nsecond"));
    main->DebugLogWrite(0, QStringLiteral("plain"));
    const QString records = serialLog().mid(log.size());
    EXPECT_TRUE(records.startsWith(hashes + QStringLiteral("\r\n[Now:")));
    EXPECT_TRUE(records.contains(QStringLiteral("]\r\nfirst\r\nsecond\r\n[CS] -> [00000]\r\n\r\n\r\n") + hashes));
    EXPECT_TRUE(records.endsWith(QStringLiteral("]\r\nplain\r\n\r\n")));
}

TEST_F(ConnectSequence, AWarmInstrumentBecomesReadyOnceAndStaysReady)
{
    start();
    EXPECT_EQ(main->GetBodyStatus(), MainControl::Ready);
    EXPECT_EQ(status.Locked(), 0);
    EXPECT_GE(status.refreshes, 1);
    EXPECT_EQ(status.captions.mid(1, 3), (QStringList{GetRes(3043), GetRes(3045), GetRes(3076)}));
    EXPECT_TRUE(status.captions.contains(GetRes(3075)));
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("TZ-4 Initialize Finished"));
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("TZ-4 Ready"));
    EXPECT_GE(body->HV_Volts(), 2501);

    const QStringList texts = logTexts(serialLog());
    ASSERT_GE(texts.size(), 6);
    EXPECT_EQ(texts[0], QStringLiteral("TZ-4 Connect Process Sequence (Body Initialize)"));
    EXPECT_EQ(texts[1], QStringLiteral("TZ-4 Connect Process Sequence Successfull (Body Initialize)"));
    EXPECT_EQ(texts[2], QStringLiteral("TZ-4 Connect Process Sequence (Hv Volt Set Before Light Adjust 50nW)"));
    EXPECT_TRUE(texts.contains(QStringLiteral("TZ-4 Connect Process Sequence (Hv Volt Set Process)")));
    EXPECT_TRUE(texts.last().startsWith(QStringLiteral("TZ-4 Connect Process Sequence Successfull(Hv Volt = ")));

    const int writes = line->writes;
    const qsizetype messages = reporter.shown.size();
    EXPECT_EQ(main->GetBodyStatus(), MainControl::Ready);
    EXPECT_EQ(line->writes, writes);
    EXPECT_EQ(reporter.shown.size(), messages);
}

TEST_F(ConnectSequence, SettingsTheInstrumentCannotUseAreLoggedAndShownOnceOnConnect)
{
    start(withFaults({}, true)); // cold: the first sequence stops at the warm-up
    const QStringList notes{QStringLiteral("TZ4Sys.ini line 18: [BaudRate] 38400 does not fit a 16-bit number"),
                            QStringLiteral("TZ4Sys.ini line 19: [DataBits] 9 cannot be used")};
    main->setUnusableSettings(notes);
    QFile log(home.filePath(QStringLiteral("Caution.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    for (const QString& note : notes)
        EXPECT_TRUE(logged.contains(QStringLiteral(" : 380 : modMain:GetSystemFile : ") + note)) << logged.toStdString();
    EXPECT_TRUE(reporter.shown.isEmpty());

    EXPECT_EQ(main->GetBodyStatus(), MainControl::WarmingUp);
    ASSERT_FALSE(reporter.shown.isEmpty());
    EXPECT_EQ(reporter.shown.first().text,
              QStringLiteral("The settings file holds values the instrument cannot use:\r\n") + notes.join(QStringLiteral("\r\n")));
    const auto mentions = [this] {
        return std::count_if(reporter.shown.begin(), reporter.shown.end(),
                             [](const auto& m) { return m.text.contains(QStringLiteral("[BaudRate]")); });
    };
    EXPECT_EQ(mentions(), 1);
    main->GetBodyStatus();
    EXPECT_EQ(mentions(), 1);
}

TEST_F(ConnectSequence, AnEmptyLightSpanIsMeasuredFirst)
{
    start(withFaults({QStringLiteral("span-empty")}));
    EXPECT_EQ(main->GetBodyStatus(), MainControl::Ready);
    const QStringList texts = logTexts(serialLog());
    const qsizetype setUp = texts.indexOf(QStringLiteral("TZ-4 Connect Process Sequence (Light Area Setting Process)"));
    ASSERT_GE(setUp, 0);
    EXPECT_TRUE(texts[setUp + 1].startsWith(QStringLiteral("TZ4 Light Base Data Process Sucsess\r\nEyemax = ")));
    EXPECT_TRUE(texts[setUp + 1].contains(QStringLiteral("\r\nF4.Min = ")));
    EXPECT_EQ(texts[setUp + 2], QStringLiteral("TZ-4 Connect Process Sequence Successfull (Light Area Setting Process)"));
    for (qint16 i = 1; i <= 4; ++i)
        EXPECT_GT(body->SetLightSpanRange(i), 0) << i;
}

TEST_F(ConnectSequence, ABarHeldByAnotherActivityIsLeftAlone)
{
    start();
    status.setLocked(2);
    status.captions.clear();
    EXPECT_EQ(main->GetBodyStatus(), MainControl::Ready);
    EXPECT_TRUE(status.captions.isEmpty()) << status.captions.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(status.Locked(), 2);
}

TEST_F(ConnectSequence, AColdInstrumentWaitsForItsWarmUp)
{
    start(withFaults({}, true));
    EXPECT_EQ(main->GetBodyStatus(), MainControl::WarmingUp);
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("Now Warming Up.\r\nWait30minutes."));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Now Warming Up"));
    EXPECT_TRUE(main->tmrWarmUpEnabled());
    EXPECT_TRUE(logTexts(serialLog()).contains(QStringLiteral("TZ-4 Connect Process Sequence (Now Worming Up Process)")));

    clock.advance(600 * 1000);
    EXPECT_EQ(status.Max(), 1800.0f);
    EXPECT_NEAR(status.Value(), 600.0f, 2.0f);
    EXPECT_EQ(status.ToolTipText(), QStringLiteral("WarmUp Time About 20 Minute"));
    EXPECT_EQ(status.Caption(), status.ToolTipText()) << "the bar itself says how long";
    EXPECT_EQ(main->CoolBarToolTip(), status.ToolTipText());
    EXPECT_EQ(main->ConnectPhase(), MainControl::WarmingUp);

    clock.advance(1300 * 1000);
    EXPECT_FALSE(main->tmrWarmUpEnabled());
    EXPECT_EQ(status.BarColor(), basicColour(4));
    EXPECT_EQ(status.Caption(), QStringLiteral("Warm-up finished: choose Measurement > Connect to go on"));
    EXPECT_TRUE(status.ToolTipText().isEmpty());
    EXPECT_EQ(main->ConnectPhase(), MainControl::WarmingUp);
    EXPECT_EQ(main->GetBodyStatus(), MainControl::Ready);
    EXPECT_EQ(status.BarColor(), basicColour(1)) << "back to its normal colour";
    EXPECT_EQ(status.Caption(), QStringLiteral("TZ-4 Ready"));
}

TEST_F(ConnectSequence, ASelfDiagnosisFaultIsReportedAndClosesThePort)
{
    start(withFaults({QStringLiteral("diag-fail")}));
    EXPECT_EQ(main->GetBodyStatus(), MainControl::NotConnected);
    ASSERT_EQ(reporter.shown.size(), 1);
    // The box names the units that failed, and only those.
    const QString box = reporter.shown[0].text;
    EXPECT_TRUE(box.startsWith(QStringLiteral("Self-diagnosis errer at TZ-4\r\n"))) << box;
    EXPECT_TRUE(box.contains(QStringLiteral("TZ-4 QM-5 Eyeris Origin Error*****"))) << box;
    EXPECT_TRUE(box.contains(QStringLiteral("TZ-4 QS-6 Dry Air 3 Error*****"))) << box;
    EXPECT_FALSE(box.contains(QStringLiteral("OK"))) << box;
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Connection Failed"));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(status.captions.last(), QStringLiteral("No Connect"));
    EXPECT_FALSE(body->PortOpen());

    const QStringList texts = logTexts(serialLog());
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("TZ-4 Connect Process Sequence (Diag Error)\r\nTZ-4 QM-5 Memory OK\r\n")));
    EXPECT_TRUE(texts[0].contains(QStringLiteral("TZ-4 QM-5 Eyeris Origin Error*****\r\n")));
    EXPECT_TRUE(texts[0].contains(QStringLiteral("TZ-4 QS-6 Dry Air 3 Error*****")));
}

// An instrument that answers nothing is a connection problem, not a self-diagnosis with every
// item in error; one that answers with fault flags keeps the self-diagnosis report.
TEST_F(ConnectSequence, ASilentInstrumentIsReportedAsUnreachable)
{
    start(withFaults({QStringLiteral("no-reply")}));
    EXPECT_EQ(main->GetBodyStatus(), MainControl::NotConnected);
    ASSERT_EQ(reporter.shown.size(), 1);
    // The step's own message, then what the link saw.
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("Cannot communicate with TZ-4. Check the connection.\r\n"
                                                     "Cause: SS -> no reply within the time-out, reading the light unit's self-diagnosis"));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Connection Failed"));
    const QStringList texts = logTexts(serialLog());
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("TZ-4 Connect Process Sequence (No Conenct)\r\nCause: SS"))) << texts[0];
    EXPECT_EQ(texts[0].count(QStringLiteral("Error*****")), 0);
    EXPECT_EQ(status.captions.mid(status.captions.size() - 2),
              (QStringList{QStringLiteral("Connection Failed"), QStringLiteral("No Connect")}));

    // Connect stays available for another try once the sequence has given up.
    EXPECT_TRUE(main->connectAvailable());
}

// 2500 V is where the ramp starts, so an instrument left there has never been set: the anode
// set-up runs instead of refusing the connection.
TEST_F(ConnectSequence, AnAnodeLeftAt2500VoltsIsSetUpAndTheInstrumentBecomesReady)
{
    start();
    ASSERT_EQ(main->GetBodyStatus(), MainControl::Ready);
    body->setHV_Volts(2500);
    // The program starts again beside the instrument as it was left.
    main = std::make_unique<MainControl>(clock, *body, status);
    main->Load();
    status.captions.clear();
    EXPECT_EQ(main->GetBodyStatus(), MainControl::Ready);
    EXPECT_TRUE(status.captions.contains(GetRes(3075))) << status.captions.join(QLatin1Char('|'));
    EXPECT_GE(body->HV_Volts(), 2501);
    EXPECT_EQ(status.Caption(), GetRes(3063)) << "the bar rests on the ready state";
}

TEST_F(ConnectSequence, ClosingWritesTheSettingsOnlyWhenThePortIsClosed)
{
    start();
    ASSERT_EQ(main->GetBodyStatus(), MainControl::Ready);
    const QString settings = home.filePath(QStringLiteral("TZ4Sys.ini"));
    EXPECT_TRUE(main->Unload());
    EXPECT_FALSE(body->PortOpen());
    EXPECT_FALSE(QFile::exists(settings)) << "an open port is closed and the file left alone";

    EXPECT_TRUE(main->Unload());
    EXPECT_TRUE(QFile::exists(settings));
}
