#include "tests/instrument/FakeInstrument.h"

#include "core/Tz4Error.h"
#include "instrument/ErrorTexts.h"


using namespace tz4;
using tz4::test::ScriptedBody;

namespace {

using Sequences = ScriptedBody;

} // namespace

TEST_F(Sequences, ConnectedOpensThePortAndAcceptsAnsweringUnitsAtOnce)
{
    body.setPortOpen(false);
    line.on("SS", "24040");
    line.on("SO", "224040");
    EXPECT_TRUE(body.Connected());
    EXPECT_TRUE(body.PortOpen());
    EXPECT_EQ(line.commands(), QStringList({"SS", "SO"}));
    EXPECT_EQ(line.overTimes(), QList<int>({20, 20}));
}

TEST_F(Sequences, ConnectedGivesUpAfterThreeDiagnosesOrAnUnopenablePort)
{
    line.on("SS", "34040");
    EXPECT_FALSE(body.Connected());
    EXPECT_EQ(line.commands(), QStringList({"SS", "SS", "SS"}));

    line.clearSent();
    line.on("SS", "24040");
    line.on("SO", "324040");
    EXPECT_FALSE(body.Connected());
    EXPECT_EQ(line.commands().size(), 6);

    body.setPortOpen(false);
    line.failOpen = true;
    line.clearSent();
    EXPECT_FALSE(body.Connected());
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(Sequences, DiagnosisOfASilentUnitSetsEveryFaultFlag)
{
    tz4::test::Spy errors(&body, &uclTz4Body::ReceiveError);
    line.withhold("SS");
    EXPECT_EQ(body.Diag(0), "3FFFF");
    EXPECT_EQ(body.Diag(1), "33FFFF"); // fails at once: the time-out cancelled
    EXPECT_EQ(errors.size(), 2);
    line.clearSent();
    EXPECT_EQ(body.Diag(2), "");
    EXPECT_TRUE(line.sent.empty());
    EXPECT_EQ(body.LastProcess(), "Diag1");
}

TEST_F(Sequences, InitBodyLoadsCalibrationSpansAndRegisters)
{
    tz4::test::scriptCalibration(line);
    line.on("OO", "600");
    line.on("LS", "2500");
    line.on("ES", "2000");
    tz4::test::Spy errors(&body, &uclTz4Body::ReceiveError);
    body.InitBody();

    const QStringList sent = line.commands();
    EXPECT_EQ(sent.first(), "WS0000");
    EXPECT_EQ(sent.count("WO"), 2 + 8 + 1 + 18 + 118);
    const QStringList tail = {"ES", "RS", "AS", "DS", "GS", "HO", "IO", "JS", "KS", "LS", "PS", "QS", "US", "XS", "VS", "FS"};
    EXPECT_EQ(sent.mid(sent.size() - tail.size()), tail);
    EXPECT_EQ(sent.mid(sent.indexOf("OS"), 4), QStringList({"OS", "OO", "BO00", "BL"}));
    EXPECT_EQ(sent.mid(sent.indexOf("BO14") - 2, 4), QStringList({"BO13", "BL", "BO14", "BL"}));
    EXPECT_EQ(body.OverTime(), 20);
    EXPECT_FALSE(body.Busy());
    EXPECT_TRUE(errors.isEmpty());

    EXPECT_FLOAT_EQ(body.SumLost(), 0.001f);
    EXPECT_FLOAT_EQ(body.LightRangeAdjust(3), 3.5f);
    EXPECT_EQ(body.LightRangeAdjust(10), 0.0f);
    EXPECT_FLOAT_EQ(body.PhotoDiodeAdjust(3.4f), 0.0001f);
    EXPECT_FLOAT_EQ(body.PhotoDiodeAdjust(6.3f), 0.0059f);
    EXPECT_FLOAT_EQ(body.PhotoDiodeAdjust(6.35f), 0.0f); // the last entry is never loaded
    EXPECT_THROW(body.PhotoDiodeAdjust(6.4f), Tz4Error);
    EXPECT_NEAR(body.WarmUpTime(), 1200, 5); // the remaining reads take a moment
    EXPECT_DOUBLE_EQ(body.lightSpans()[0].minimum, 1.5);
    EXPECT_DOUBLE_EQ(body.lightSpans()[4].maximum, 500);
    EXPECT_EQ(body.lightSpans()[2].range, 3);
    EXPECT_FLOAT_EQ(body.SetLightMin(), 5.0f);
    EXPECT_FLOAT_EQ(body.SetLightMax(), 200.0f);

    // Read-once registers now answer from the cache.
    line.clearSent();
    EXPECT_EQ(body.Eyeris(), 2000);
    EXPECT_TRUE(line.sent.empty());

    body.StageToSample(5);
    EXPECT_EQ(line.commands(), QStringList({"XO1", "XS0150"}));
    EXPECT_EQ(line.overTimes(), QList<int>({50, 50}));
    EXPECT_FLOAT_EQ(body.StageX(), 15.0f);
    line.clearSent();
    body.StageToPhotoDiode();
    body.StageToCerbon();
    body.StageToSampleOut();
    EXPECT_EQ(line.commands(), QStringList({"XO1", "XS0020", "XO1", "XS1400", "XO1", "XS1550"}));
    EXPECT_EQ(body.LastProcess(), "StageToSampleOut");
}

TEST_F(Sequences, InitBodyKeepsWordsThatAreNotNumbersButStopsAtAnUnreadableSpan)
{
    line.queue("WO", {"x", "y"});
    line.on("BL", "");
    EXPECT_THROW(body.InitBody(), Tz4Error);
    EXPECT_FALSE(body.Busy()) << "a failure must not leave every later procedure refused";
    EXPECT_FLOAT_EQ(body.SumLost(), 1.0f);
    EXPECT_EQ(line.commands().last(), "BL");
}

TEST_F(Sequences, InitBodyOnAClosedPortFailsAtTheFirstSpanRecord)
{
    body.setPortOpen(false);
    EXPECT_THROW(body.InitBody(), Tz4Error);
    EXPECT_FALSE(body.Busy());
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(Sequences, WarmUpIsCountedDownByTheTick)
{
    line.on("OO", "600");
    body.Refresh();
    EXPECT_EQ(line.commands(), QStringList({"OS", "OO"}));
    EXPECT_EQ(body.WarmUpTime(), 1200);
    clock.advance(10000);
    EXPECT_EQ(body.WarmUpTime(), 1190);
    clock.advance(1200000);
    EXPECT_EQ(body.WarmUpTime(), 0);

    line.on("OO", "1800");
    body.Refresh();
    EXPECT_EQ(body.WarmUpTime(), 0);

    line.on("OO", "-30");
    body.Refresh();
    EXPECT_EQ(body.WarmUpTime(), 0) << "a negative burn time is no reading";
    EXPECT_EQ(body.ErrorDescription(), GetErrorString(linkerr::UnreadableReply));

    line.on("OO", "100");
    line.on("OS", "ERROR 12");
    body.Refresh();
    EXPECT_EQ(body.WarmUpTime(), 0);
    EXPECT_THROW(body.setWarmUpTime(5), Tz4Error);
}

TEST_F(Sequences, SingleMovesUpdateTheCacheOnlyOnSuccess)
{
    line.on("ES", "0100");
    body.Eyeris();
    body.StageX();
    body.LimitEyeris();
    line.clearSent();
    EXPECT_EQ(body.Eyeris(), 2000);
    EXPECT_TRUE(line.sent.empty());
    body.InitEyeris();
    EXPECT_EQ(body.Eyeris(), 0);

    body.InitLight();
    EXPECT_FLOAT_EQ(body.Energen(), 1240.0f / 250.0f);
    EXPECT_EQ(line.overTimes().last(), 600);
    body.LimitStageX();
    EXPECT_FLOAT_EQ(body.StageX(), 160.0f);
    body.InitStageX();
    EXPECT_FLOAT_EQ(body.StageX(), 0.4f);

    line.on("XL1", "ERROR 43");
    body.LimitStageX();
    EXPECT_FLOAT_EQ(body.StageX(), 0.4f);

    // A failed origin move stops a positioning before the target is sent.
    line.clearSent();
    line.on("XO1", "ERROR 42");
    body.StageToSample(5);
    EXPECT_EQ(line.commands(), QStringList({"XO1"}));
    EXPECT_FLOAT_EQ(body.StageX(), 0.4f);
}
