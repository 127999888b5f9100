#include "tests/instrument/FakeInstrument.h"

#include "core/Tz4Error.h"
#include "core/RecordParameters.h"

using namespace tz4;
using tz4::test::EventTrail;
using tz4::test::FakeBody;
using tz4::test::ScriptedBody;

namespace {

using LightSpans = ScriptedBody;
using LightModel = FakeBody;

} // namespace

TEST(LightRangeChoice, UpperBoundsAreInclusive)
{
    const std::pair<double, int> table[] = {{0, 1},   {20, 1},    {20.001, 2}, {50, 2},    {50.5, 3},
                                            {100, 3}, {200, 4},   {500, 5},    {1000, 6},  {2000, 7},
                                            {5000, 8}, {5000.1, 9}, {-1, 9}};
    for (const auto& [power, range] : table)
        EXPECT_EQ(uclTz4Body::CalcLightRange(power), range) << power;
}

TEST_F(LightSpans, FilterChoiceFollowsTheSpanTable)
{
    const float maxima[] = {800, 300, 100, 40};
    for (qint16 f = 1; f <= 4; ++f)
        body.setSetLightSpanMax(f, maxima[f - 1]);
    body.setSetLightSpanMin(4, 5);
    const std::pair<double, int> table[] = {{50, 3}, {40, 4}, {5, 4},   {4, 99},   {900, 99},
                                            {300, 2}, {300.5, 1}, {800, 1}, {100.01, 2}};
    for (const auto& [power, filter] : table)
        EXPECT_EQ(body.CalcFilter(power), filter) << power;
    EXPECT_FLOAT_EQ(body.SetLightMin(), 5.0f);
    EXPECT_FLOAT_EQ(body.SetLightMax(), 800.0f);
}

TEST_F(LightSpans, SpanPropertiesWriteTheSpanMemory)
{
    body.setSetLightSpanMax(1, 512.5f);
    body.setSetLightSpanRange(2, 7);
    body.setSetLightSpanMin(0, 1.25f);
    EXPECT_EQ(line.commands(), QStringList({"BO06", "BL0512.500", "BO12", "BL00000007", "BO00", "BL0001.250"}));
    EXPECT_EQ(body.LastProcess(), "SetLightMin");
    EXPECT_FLOAT_EQ(body.SetLightSpanMax(1), 512.5f);
    EXPECT_EQ(body.SetLightSpanRange(2), 7);

    tz4::test::Spy errors(&body, &uclTz4Body::ReceiveError);
    line.clearSent();
    line.on("BO08", "ERROR 15");
    body.setSetLightSpanMax(3, 10);
    EXPECT_EQ(line.commands(), QStringList({"BO08"}));
    EXPECT_EQ(errors.size(), 1);
    EXPECT_THROW(body.setSetLightSpanMax(5, 1), Tz4Error);
    EXPECT_THROW(body.SetLightSpanMin(-1), Tz4Error);
}

TEST_F(LightModel, PowerComesFromDiodeAboveDarkThroughGainAndSensitivity)
{
    body.setLightRange(2); // gain 2.5
    instrument.waveTenths = 3100;
    body.LightWave();      // 4.00 eV: entry 12, sensitivity 0.0013
    EXPECT_NEAR(body.LightWatt(100, 10), 90 / 2.5 / 1.3, 1e-4);
    EXPECT_EQ(body.LightWatt(9, 10), 0.0f);
    body.setCanceled(true);
    EXPECT_EQ(body.LightWatt(100, 10), 0.0f);
    body.setCanceled(false);
    body.setPortOpen(false);
    EXPECT_EQ(body.LightWatt(100, 10), 0.0f);
}

TEST_F(LightModel, DarkLevelIsMeasuredWithTheLightBlockedAndTheFilterRestored)
{
    body.setFilter(3);
    line.clearSent();
    instrument.dark = 12.4;
    EXPECT_FLOAT_EQ(body.BackLight(), 12.0f);
    QStringList expected = {"FO1", "TS", "CS"};
    for (int i = 0; i < 10; ++i)
        expected << "KS";
    expected << "FS3";
    EXPECT_EQ(line.commands(), expected);
    EXPECT_THROW(body.setBackLight(1), Tz4Error);
}

TEST_F(LightModel, AutomaticRangeSettlesOnTheRangeThePowerCallsFor)
{
    instrument.power = [](const tz4::test::FakeInstrument&) { return 700.0; };
    body.setFilter(1);
    body.setLightRange(9);
    EXPECT_NEAR(body.GetLightPower(), 700, 0.05);
    EXPECT_EQ(body.LightRange(), 6);
    EXPECT_NEAR(body.LastLight(), 700, 0.05);
    EXPECT_EQ(line.commands().count("RS6"), 1);
}

TEST_F(LightModel, SetLightPowerSearchesTheIrisFromAbove)
{
    EventTrail trail(body, &uclTz4Body::ProcSetLight);
    // Iris 0 passes 200 nW, 2000 passes nothing.
    instrument.power = [](const tz4::test::FakeInstrument& i) { return (2000 - i.iris) / 10.0; };
    body.SetLightPower(50);
    EXPECT_EQ(trail.types, QList<int>({0, 2, 2, 3}));
    EXPECT_NEAR(trail.values[1].first.toDouble(), 100, 0.01);
    EXPECT_EQ(trail.values[1].second.toInt(), 1000);
    EXPECT_EQ(trail.values[2].second.toInt(), 1500);
    EXPECT_NEAR(trail.values[3].first.toDouble(), 50, 0.01);
    EXPECT_NEAR(record.parameter(param::MeasuredLight).toDouble(), 50, 0.01);
    EXPECT_NEAR(body.LastLight(), 50, 0.01);
    EXPECT_FALSE(body.Busy());
    EXPECT_EQ(body.Filter(), 0);
    const QStringList sent = line.commands();
    EXPECT_EQ(sent.mid(0, 6), QStringList({"XO1", "XS0020", "FS4", "RS2", "TS0500", "FO1"}));
    EXPECT_TRUE(sent.contains("ES1500"));
}

TEST_F(LightModel, SetLightPowerReportsAPowerThatMissesTheTarget)
{
    EventTrail trail(body, &uclTz4Body::ProcSetLight);
    instrument.power = [](const tz4::test::FakeInstrument& i) { return i.filter ? 47.0 : 0.0; };
    body.SetLightPower(50);
    ASSERT_FALSE(trail.types.isEmpty());
    EXPECT_EQ(trail.types.last(), 11);
    EXPECT_NEAR(trail.values.back().first.toDouble(), 47, 0.01);
    EXPECT_EQ(trail.types.count(2), int(trail.types.size()) - 2);

    trail.types.clear();
    body.setBusy(true);
    body.SetLightPower(50);
    body.MakeLightBase(4.5f);
    EXPECT_EQ(trail.types, QList<int>({12}));
    body.setBusy(false);
    body.setPortOpen(false);
    body.SetLightPower(50);
    EXPECT_EQ(trail.types, QList<int>({12, 13}));
}

TEST_F(LightModel, MakeLightBaseMeasuresEveryFilterAndWritesTheSpanMemory)
{
    EventTrail trail(body, &uclTz4Body::ProcBase);
    // Filter transmissions 1000, 300, 100, 30 nW with the iris open; 5 % leaks when closed.
    instrument.power = [](const tz4::test::FakeInstrument& i) {
        const double open[] = {0, 1000, 300, 100, 30};
        return open[i.filter] * (0.05 + 0.95 * (2000 - i.iris) / 2000.0);
    };
    body.MakeLightBase(4.5f);
    EXPECT_EQ(trail.types, QList<int>({0, 7, 8, 9, 2, 2, 2, 3}));
    EXPECT_NEAR(trail.values[1].first.toDouble(), 50, 0.05);   // filter 1, iris closed
    EXPECT_NEAR(trail.values[2].first.toDouble(), 300, 0.05);  // filter 2, iris open
    EXPECT_EQ(trail.values[4].first.toInt(), 2);
    const auto& spans = body.lightSpans();
    EXPECT_NEAR(spans[2].maximum, 175, 2);  // the iris found puts filter 2 half way
    EXPECT_NEAR(spans[1].maximum, 1000, 0.1);
    EXPECT_NEAR(spans[3].maximum / spans[2].maximum, 1.0 / 3, 1e-3);
    EXPECT_NEAR(spans[4].minimum, 1.5, 0.01);
    EXPECT_EQ(spans[1].range, 6);
    EXPECT_EQ(spans[0].maximum, 100); // record 0 is never measured
    const QStringList sent = line.commands();
    for (const char* address : {"BO01", "BO07", "BO06", "BO11", "BO08", "BO13", "BO09", "BO14", "BO04"})
        EXPECT_TRUE(sent.contains(address)) << address;
    EXPECT_FALSE(body.Busy());
}

TEST_F(LightModel, CancelledLightBaseClearsTheSpanTableAndMakesSafe)
{
    EventTrail trail(body, &uclTz4Body::ProcBase);
    instrument.power = [](const tz4::test::FakeInstrument&) { return 100.0; };
    QObject::connect(&body, &uclTz4Body::ProcBase, &trail.context, [this](qint32 type, const QVariant&, const QVariant&) {
        if (type == 7)
            body.setCanceled(true);
    });
    body.MakeLightBase(4.5f);
    EXPECT_EQ(trail.types, QList<int>({0, 7, 9, 5}));
    for (const auto& span : body.lightSpans()) {
        EXPECT_EQ(span.minimum, 0);
        EXPECT_EQ(span.maximum, 0);
        EXPECT_EQ(span.range, 0);
    }
    EXPECT_EQ(line.commands().mid(line.commands().size() - 3), QStringList({"FO1", "GS0", "XO1"}));
    EXPECT_FALSE(body.Busy());
}
