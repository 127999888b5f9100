#include "tests/instrument/FakeInstrument.h"

#include "core/Tz4Error.h"
#include "instrument/ErrorTexts.h"
#include "instrument/ProcType.h"
#include "instrument/ReplyNumbers.h"
#include "sim/SimulatorLine.h"
#include "sim/YieldModel.h"
#include "core/RecordParameters.h"

#include <cmath>

using namespace tz4;
using tz4::test::EventTrail;
using tz4::test::FakeRecord;

namespace {

// The component on the in-process simulator, connected and initialised, all in virtual time.
class SimulatedInstrument : public ::testing::Test {
protected:
    explicit SimulatedInstrument(sim::SimOptions options = {}) : line(clock, options), body(clock, line)
    {
        body.setTimerEnable(true);
    }

    void connectAndInit()
    {
        ASSERT_TRUE(body.Connected());
        body.InitBody();
        ASSERT_FALSE(body.Canceled());
        body.setSetDatas(&record);
    }

    // A register reply as the instrument gives it, bypassing every cache.
    double ask(const QString& command)
    {
        EXPECT_TRUE(body.WriteRS232C(command)) << command.toStdString();
        return replyToDouble(body.replyLine());
    }

    VirtualClock clock;
    sim::SimulatorLine line;
    uclTz4Body body;
    FakeRecord record;
};

struct Fit {
    double slope = 0;
    double intercept = 0;
    double r2 = 0;
};

Fit fitLine(const std::vector<std::pair<double, double>>& points)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
    const double n = double(points.size());
    for (const auto& [x, y] : points) {
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
        syy += y * y;
    }
    Fit fit;
    fit.slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    fit.intercept = (sy - fit.slope * sx) / n;
    const double r = (n * sxy - sx * sy) / std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
    fit.r2 = r * r;
    return fit;
}

} // namespace

TEST_F(SimulatedInstrument, ConnectsDiagnosesAndLoadsItsCalibration)
{
    connectAndInit();
    EXPECT_TRUE(body.Diag(0).startsWith('2'));
    EXPECT_TRUE(body.Diag(1).startsWith('2'));
    EXPECT_GT(body.SumLost(), 0.0f);
    EXPECT_LT(body.SumLost(), 0.01f);
    for (qint16 range = 1; range <= 9; ++range)
        EXPECT_GT(body.LightRangeAdjust(range), 0.0f) << range;
    EXPECT_GT(body.PhotoDiodeAdjust(5.0f), 0.0f);
    EXPECT_GT(body.SetLightMax(), body.SetLightMin());
    EXPECT_EQ(body.WarmUpTime(), 0);
    EXPECT_FALSE(body.Busy());
}

TEST_F(SimulatedInstrument, LightPowerConvergesOnTheTarget)
{
    connectAndInit();
    EventTrail trail(body, &uclTz4Body::ProcSetLight);
    body.SetLightPower(50);
    ASSERT_GE(trail.types.size(), 3);
    EXPECT_EQ(trail.types.first(), 0);
    EXPECT_EQ(trail.types.last(), 3);
    EXPECT_NEAR(body.LastLight(), 50, 2.5);
    EXPECT_NEAR(record.parameter(param::MeasuredLight).toDouble(), body.LastLight(), 1e-3);
    EXPECT_EQ(ask("FS"), 0); // the light ends blocked
}

TEST_F(SimulatedInstrument, LightBaseFillsAPlausibleSpanTable)
{
    connectAndInit();
    EventTrail trail(body, &uclTz4Body::ProcBase);
    body.MakeLightBase(4.5f);
    EXPECT_EQ(trail.types, QList<int>({0, 7, 8, 9, 2, 2, 2, 3})) << body.SerialLog().right(3000).toStdString();
    const auto& spans = body.lightSpans();
    EXPECT_GT(spans[1].maximum, spans[2].maximum);
    EXPECT_GT(spans[2].maximum, spans[3].maximum);
    EXPECT_GT(spans[3].maximum, spans[4].maximum);
    EXPECT_GT(spans[4].maximum, spans[4].minimum);
    EXPECT_GT(spans[4].minimum, 0);
}

TEST_F(SimulatedInstrument, AnodeVoltageIsFoundOnTheCarbonReference)
{
    connectAndInit();
    EventTrail trail(body, &uclTz4Body::ProcVolts);
    const qint16 volts = body.HvSet();
    EXPECT_EQ(trail.types.last(), 3);
    EXPECT_GE(volts, 2640);
    EXPECT_LE(volts, 4130);
    EXPECT_EQ(ask("VS"), volts);
    EXPECT_LT(trail.values.back().second.toInt(), 100);
    EXPECT_EQ(record.parameter(param::AnodeVoltage).toInt(), volts);
}

TEST_F(SimulatedInstrument, CancelDuringAScanLeavesFilterGridAndStageSafe)
{
    connectAndInit();
    record.values = {{18, 4.0}, {19, 6.0}, {20, 0.05}, {22, 50.0}, {33, 3}};
    EventTrail trail(body, &uclTz4Body::ProcWork);
    QObject::connect(&body, &uclTz4Body::ProcWork, &trail.context, [this](qint32 type, const QVariant&, const QVariant&) {
        if (type == 2)
            body.setCanceled(true);
    });
    body.MeasWork();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 5}));
    body.setCanceled(false);
    EXPECT_EQ(ask("FS"), 0);
    EXPECT_EQ(ask("GS"), 0);
    EXPECT_NEAR(ask("XS"), 40, 0.5); // origin, in hundredths
}

TEST_F(SimulatedInstrument, WorkFunctionScanGivesALinearSquareRootYieldAboveThreshold)
{
    connectAndInit();
    EventTrail volts(body, &uclTz4Body::ProcVolts);
    body.HvSet();
    ASSERT_EQ(volts.types.last(), 3);

    record.values = {{18, 4.5}, {19, 6.2}, {20, 0.05}, {22, 50.0}, {33, 10}};
    std::vector<std::pair<double, double>> above;
    int points = 0;
    QObject context;
    QObject::connect(&body, &uclTz4Body::ProcWork, &context, [&](qint32 type, const QVariant& energy, const QVariant& net) {
        if (type != 2)
            return;
        ++points;
        // Yield per photon: the counts normalised by the photon flux at this energy.
        const double e = energy.toDouble();
        const double photons = sim::YieldModel::photonsPerSecond(line.simulator().lightPower(), e);
        if (e >= 5.3 && photons > 0)
            above.push_back({e, std::sqrt(std::max(0.0, net.toDouble()) / photons)});
    });
    EventTrail trail(body, &uclTz4Body::ProcWork);
    body.MeasWork();
    EXPECT_EQ(trail.types.last(), 3);
    EXPECT_EQ(points, 35);
    ASSERT_GE(above.size(), 10u);
    const Fit fit = fitLine(above);
    EXPECT_GT(fit.r2, 0.98);
    EXPECT_NEAR(-fit.intercept / fit.slope, 5.10, 0.1);
}

namespace {

// The component on a simulator showing the given faults.
struct FaultyRig {
    explicit FaultyRig(const QStringList& faults, double speed = 1.0)
        : line(clock, options(faults, speed)), body(clock, line)
    {
        body.setTimerEnable(true);
    }
    static sim::SimOptions options(const QStringList& faults, double speed)
    {
        sim::SimOptions o;
        o.faults = faults;
        o.speed = speed;
        return o;
    }
    VirtualClock clock;
    sim::SimulatorLine line;
    uclTz4Body body;
};

} // namespace

TEST(SimulatedFaults, SplitRepliesAreReassembledTransparently)
{
    FaultyRig clean({});
    FaultyRig split({"split"});
    ASSERT_TRUE(clean.body.Connected());
    ASSERT_TRUE(split.body.Connected());
    clean.body.InitBody();
    split.body.InitBody();
    EXPECT_FALSE(split.body.Canceled());
    EXPECT_EQ(split.body.SumLost(), clean.body.SumLost());
    EXPECT_EQ(split.body.PhotoDiodeAdjust(5.0f), clean.body.PhotoDiodeAdjust(5.0f));
    EXPECT_EQ(split.body.SetLightMax(), clean.body.SetLightMax());
}

// The purge gives the counter a minute of the instrument's time: a simulator run a thousand
// times faster must not keep the program waiting a minute of its own.
TEST(SimulatedFaults, AHumidCounterIsPurgedInTheInstrumentsTime)
{
    FaultyRig rig({"high-background"}, 1000);
    ASSERT_TRUE(rig.body.Connected());
    rig.body.InitBody();
    FakeRecord record;
    rig.body.setSetDatas(&record);
    EventTrail trail(rig.body, &uclTz4Body::ProcVolts);
    const qint64 start = rig.clock.nowMs();
    EXPECT_GE(rig.body.HvSet(), 2640);
    EXPECT_TRUE(trail.types.contains(proc::PurgeRunning));
    EXPECT_EQ(trail.types.last(), proc::Finished);
    EXPECT_LT(rig.clock.nowMs() - start, 5000);
}

TEST(SimulatedFaults, LinkFailuresReachTheOwnerWithTheirNumbers)
{
    FaultyRig rig({"no-reply@CS", "error:16@ES", "door-open"});
    ASSERT_TRUE(rig.body.Connected());
    tz4::test::Spy errors(&rig.body, &uclTz4Body::ReceiveError);

    rig.body.setEyeris(100);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.last(), QVariantList({0, 16}));

    EXPECT_TRUE(rig.body.Door());
    rig.body.setGridVolts(true);
    EXPECT_EQ(errors.last(), QVariantList({0, 14}));
    EXPECT_FALSE(rig.body.Canceled());

    rig.body.setMeasTime(1);
    const qint64 before = rig.clock.nowMs();
    rig.body.CpsValue();
    EXPECT_EQ(errors.last(), QVariantList({1, 1}));
    EXPECT_GT(rig.clock.nowMs() - before, 12000); // the 60-tick time-out in force
    EXPECT_TRUE(rig.body.Canceled());
}

TEST(SimulatedFaults, AFailingDiagnosisRefusesTheConnection)
{
    FaultyRig rig({"diag-fail"});
    EXPECT_FALSE(rig.body.Connected());
}

TEST(SimulatedFaults, LineNoiseIsAFailedCommandNotAnAnswer)
{
    FaultyRig rig({"garbage@ES", "garbage@GS"});
    ASSERT_TRUE(rig.body.Connected());
    QList<qint32> errors;
    QObject::connect(&rig.body, &uclTz4Body::ReceiveError, [&](qint32, qint32 number) { errors << number; });
    EXPECT_EQ(rig.body.Eyeris(), 0);
    rig.body.setGridVolts(true); // a setter whose garbled acknowledgement must not pass as done
    EXPECT_EQ(errors, QList<qint32>({linkerr::UnreadableReply, linkerr::UnreadableReply}));
    ASSERT_EQ(rig.body.commandFailures().size(), 2);
    EXPECT_EQ(rig.body.commandFailures()[1].command, QStringLiteral("GS1"));
    EXPECT_FALSE(rig.body.commandFailures()[1].reply.isEmpty());
    EXPECT_FALSE(rig.body.Canceled()) << "noise is reported, it does not cancel the run";
    EXPECT_FALSE(rig.body.LinkLost());
}

TEST(SimulatedFaults, AnodeVoltageSetUpFailsOnADeadDetectorAndPurgesAHumidOne)
{
    FaultyRig dead({"detector-fail"});
    ASSERT_TRUE(dead.body.Connected());
    dead.body.InitBody();
    EventTrail deadTrail(dead.body, &uclTz4Body::ProcVolts);
    EXPECT_EQ(dead.body.HvSet(), 1);
    EXPECT_EQ(deadTrail.types.last(), 4);

    FaultyRig humid({"high-background"});
    ASSERT_TRUE(humid.body.Connected());
    humid.body.InitBody();
    EventTrail humidTrail(humid.body, &uclTz4Body::ProcVolts);
    humid.body.HvSet();
    EXPECT_GE(humidTrail.types.count(6), 1);
    EXPECT_EQ(humidTrail.types.last(), 3) << humidTrail.types.size();
}
