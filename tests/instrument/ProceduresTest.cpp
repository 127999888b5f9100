#include "tests/instrument/FakeInstrument.h"

#include "core/Tz4Error.h"
#include "core/RecordParameters.h"

using namespace tz4;
using tz4::test::EventTrail;
using tz4::test::FakeBody;
using tz4::test::FakeInstrument;
using tz4::test::ScriptedBody;

namespace {

using CountAverage = ScriptedBody;

class Procedures : public FakeBody {
protected:
    Procedures()
    {
        record.values = {{18, 4.0}, {19, 6.0}, {20, 0.05}, {21, 5.5}, {22, 50.0}, {26, 3}, {33, 3}};
        // The sample counts 5/s in the dark and 105/s with light on it.
        instrument.counts = [](const FakeInstrument& i) { return i.filter != 0 && i.grid ? 105 : 5; };
        body.setSumLost(0); // no dead-time correction, so expected rates stay round
        line.clearSent();
    }
};

} // namespace

TEST_F(CountAverage, DropsTheHighestReadingAndCorrectsForDeadTime)
{
    line.on("TS", "100");
    line.queue("CS", {"10", "30", "20"});
    EXPECT_FLOAT_EQ(body.GetCpsAvarage(3), 15.0f);
    // A set does not mark the counting time as read: the first count still asks for it.
    EXPECT_EQ(line.commands(), QStringList({"TS0100", "TS", "CS", "CS", "CS"}));
    EXPECT_EQ(body.OverTime(), 50);
    EXPECT_EQ(body.MeasTime(), 1);

    body.setSumLost(0.001f);
    line.queue("CS", {"10", "30", "20"});
    EXPECT_FLOAT_EQ(body.GetCpsAvarage(3), 15.0f / 0.985f);

    line.queue("CS", {"0", "0", "0"});
    EXPECT_FLOAT_EQ(body.GetCpsAvarage(3), 0.0f);
}

TEST_F(CountAverage, NeedsTwoReadingsAndSendsNothingWhenCancelled)
{
    EXPECT_EQ(body.GetCpsAvarage(1), 0.0f);
    EXPECT_TRUE(line.sent.empty());
    body.setCanceled(true);
    EXPECT_EQ(body.GetCpsAvarage(5), 0.0f);
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(Procedures, ScanRangeMustBeAWholeNumberOfSteps)
{
    EXPECT_TRUE(body.EngSetStatus());
    record.values[20] = 0.03;
    EXPECT_FALSE(body.EngSetStatus());
    record.values[20] = 0.05;
    record.values[19] = 4.0;
    EXPECT_FALSE(body.EngSetStatus());
    body.setSetDatas(nullptr);
    EXPECT_FALSE(body.EngSetStatus());
}

TEST_F(Procedures, WorkFunctionScanGivesOnePointPerStep)
{
    EventTrail trail(body, &uclTz4Body::ProcWork);
    body.MeasWork();
    ASSERT_EQ(trail.types.size(), 44);
    EXPECT_EQ(trail.types.first(), 0);
    EXPECT_EQ(trail.types[1], 1);
    EXPECT_EQ(trail.types.count(2), 41);
    EXPECT_EQ(trail.types.last(), 3);
    EXPECT_NEAR(trail.values[1].second.toDouble(), 5.0, 1e-4); // background
    EXPECT_DOUBLE_EQ(trail.values[2].first.toDouble(), 4.0);
    EXPECT_DOUBLE_EQ(trail.values[42].first.toDouble(), 6.0);
    EXPECT_NEAR(trail.values[2].second.toDouble(), 100.0, 1e-4); // net of the background
    EXPECT_FALSE(body.Busy());
    EXPECT_EQ(body.SerialLog().count("\r\n"), line.commands().size());

    // Every point goes to its energy (approached from above) and waits for the grating to stop.
    const QStringList sent = line.commands();
    EXPECT_EQ(sent.mid(0, 2), QStringList({"LO1", "KS"}));
    EXPECT_TRUE(sent.contains("LS3100"));
    EXPECT_TRUE(sent.contains("LS2067"));
    EXPECT_EQ(sent.count("GS1"), 1);
}

TEST_F(Procedures, ScanRunsDownwardsWithANegativeStep)
{
    EventTrail trail(body, &uclTz4Body::ProcWork);
    record.values = {{18, 5.0}, {19, 4.9}, {20, -0.05}, {22, 50.0}, {33, 2}};
    body.MeasWork();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 2, 2, 3}));
    EXPECT_DOUBLE_EQ(trail.values[4].first.toDouble(), 4.9);
}

TEST_F(Procedures, CancellingAScanEndsSafely)
{
    EventTrail trail(body, &uclTz4Body::ProcWork);
    QObject::connect(&body, &uclTz4Body::ProcWork, &trail.context, [this](qint32 type, const QVariant& energy, const QVariant&) {
        if (type == 2 && energy.toDouble() >= 4.2)
            body.setCanceled(true);
    });
    body.MeasWork();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 2, 2, 2, 2, 5}));
    const QStringList sent = line.commands();
    EXPECT_EQ(sent.mid(sent.size() - 3), QStringList({"FO1", "GS0", "XO1"}));
    EXPECT_EQ(instrument.filter, 0);
    EXPECT_FALSE(instrument.grid);
    EXPECT_FLOAT_EQ(body.StageX(), 0.4f);
    EXPECT_TRUE(body.Canceled());
    EXPECT_FALSE(body.Busy());
}

TEST_F(Procedures, AFailureMidScanReleasesBusyAndLeavesTheInstrumentSafe)
{
    // The end energy is unreadable: the scan fails after the grid went on.
    record.values.erase(19);
    EXPECT_THROW(body.MeasWork(), Tz4Error);
    EXPECT_FALSE(body.Busy());
    EXPECT_FALSE(instrument.grid);
    EXPECT_EQ(instrument.filter, 0);
    const QStringList sent = line.commands();
    EXPECT_EQ(sent.mid(sent.size() - 3), QStringList({"FO1", "GS0", "XO1"}));

    // The next procedure is not refused as busy.
    record.values[19] = 4.1;
    EventTrail trail(body, &uclTz4Body::ProcWork);
    body.setCanceled(false);
    body.MeasWork();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 2, 2, 3}));
}

TEST_F(Procedures, RefusedWhileBusyOrWithThePortClosed)
{
    EventTrail cps(body, &uclTz4Body::ProcCps);
    EventTrail volts(body, &uclTz4Body::ProcVolts);
    body.setBusy(true);
    body.MeasCps();
    EXPECT_EQ(body.HvSet(), 0);
    EXPECT_EQ(cps.types, QList<int>({12}));
    EXPECT_EQ(volts.types, QList<int>({12}));
    EXPECT_TRUE(line.sent.empty());

    body.setBusy(false);
    body.setPortOpen(false);
    body.MeasCps();
    EXPECT_EQ(cps.types, QList<int>({12, 13}));
    EXPECT_TRUE(line.sent.empty());
    EXPECT_FALSE(body.Busy());
}

TEST_F(Procedures, CountingRateRepeatsAtOneEnergy)
{
    EventTrail trail(body, &uclTz4Body::ProcCps);
    body.MeasCps();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 2, 2, 3}));
    EXPECT_NEAR(trail.values[1].first.toDouble(), 5.5, 1e-3);
    EXPECT_EQ(trail.values[4].first.toInt(), 3);
    EXPECT_NEAR(trail.values[4].second.toDouble(), 100.0, 1e-3);
    EXPECT_EQ(line.commands().mid(0, 6), QStringList({"DS1", "JS0250", "GS0", "XO1", "XS0100", "FO1"}));
}

TEST_F(Procedures, ThicknessComesFromTheCalibrationLine)
{
    EventTrail trail(body, &uclTz4Body::ProcThick);
    record.values[30] = 10.0;
    record.values[40] = 2.0;
    record.values[41] = 1.0;
    body.MeasThickAdjust();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 2, 2, 3}));
    EXPECT_NEAR(trail.values[2].second.toDouble(), 105.0, 1e-3); // the reading before subtraction
    EXPECT_NEAR(trail.values[5].first.toDouble(), 10.0 - (2.0 * 2.0 + 1.0), 1e-4);
    EXPECT_NEAR(trail.values[5].second.toDouble(), 100.0, 1e-3);

    // No light, no counts: a mean of 0 reports 0 instead of a logarithm.
    instrument.counts = [](const FakeInstrument&) { return 5; };
    body.MeasThickAdjust();
    EXPECT_EQ(trail.values.back().first.toDouble(), 0.0);

    record.values[33] = "many";
    EXPECT_THROW(body.MeasThickAdjust(), Tz4Error);
}

TEST_F(Procedures, LightSpectrumReportsPowerPerEnergy)
{
    EventTrail trail(body, &uclTz4Body::ProcLight);
    record.values[19] = 4.2;
    instrument.power = [](const FakeInstrument& i) { return i.filter ? i.energy() * 10 : 0.0; };
    body.MeasAdjLight();
    EXPECT_EQ(trail.types, QList<int>({0, 1, 2, 2, 2, 2, 2, 3}));
    EXPECT_NEAR(trail.values[1].first.toDouble(), 10.0, 1e-4); // dark level
    EXPECT_NEAR(trail.values[3].second.toDouble(), 1240.0 / 306.2 * 10, 0.05);
}

TEST_F(Procedures, AnodeVoltageIsSetAMarginAboveTheOnsetOfCounting)
{
    EventTrail trail(body, &uclTz4Body::ProcVolts);
    instrument.counts = [](const FakeInstrument& i) {
        if (!i.grid || i.filter == 0)
            return 20;
        return i.highVolts >= 2730 ? 12 : 3;
    };
    EXPECT_EQ(body.HvSet(), 2870);
    EXPECT_EQ(trail.types.count(2), 23);
    EXPECT_EQ(trail.types.first(), 0);
    EXPECT_EQ(trail.types.last(), 3);
    EXPECT_EQ(trail.values.back().first.toInt(), 2870);
    EXPECT_EQ(trail.values.back().second.toInt(), 20);
    EXPECT_EQ(record.parameter(param::AnodeVoltage).toInt(), 2870);
    EXPECT_EQ(instrument.highVolts, 2870);
    EXPECT_EQ(instrument.filter, 0);
}

TEST_F(Procedures, HighBackgroundIsPurgedAndRetriedThenGivenUp)
{
    EventTrail trail(body, &uclTz4Body::ProcVolts);
    int dirty = 2;
    instrument.counts = [&dirty](const FakeInstrument& i) {
        if (i.grid && i.filter != 0)
            return i.highVolts >= 2600 ? 50 : 0;
        return dirty > 0 ? 150 : 30;
    };
    // The background reading is the second of two at the working voltage.
    QObject::connect(&body, &uclTz4Body::ProcVolts, &trail.context, [&dirty](qint32 type, const QVariant&, const QVariant&) {
        if (type == 6)
            --dirty;
    });
    const qint64 start = clock.nowMs();
    EXPECT_EQ(body.HvSet(), 2740);
    EXPECT_EQ(trail.types.count(6), 2);
    EXPECT_EQ(trail.types.last(), 3);
    EXPECT_GE(clock.nowMs() - start, 2 * 60000);
    EXPECT_TRUE(line.commands().contains("JS1900"));

    trail.types.clear();
    dirty = 100;
    EXPECT_EQ(body.HvSet(), 1);
    EXPECT_EQ(trail.types.count(6), 2);
    EXPECT_EQ(trail.types.last(), 4);
    EXPECT_EQ(instrument.highVolts, 1);
}

TEST_F(Procedures, AnodeVoltageGivesUpWhenNothingCounts)
{
    EventTrail trail(body, &uclTz4Body::ProcVolts);
    instrument.counts = [](const FakeInstrument&) { return 0; };
    EXPECT_EQ(body.HvSet(), 1);
    EXPECT_EQ(trail.types.count(2), 150);
    EXPECT_EQ(trail.types.last(), 4);
}
