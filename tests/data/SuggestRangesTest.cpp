#include "tests/data/ScanGenerator.h"

#include "data/AnalysisRanges.h"
#include "data/LowCountBias.h"
#include "data/SuggestRanges.h"

#include <gtest/gtest.h>

using namespace tz4;
using tz4::test::generatedScan;
using tz4::test::ScanSpec;

namespace {

ScanSpec metal(double phi) { return {phi, 0.5, 1000}; }
ScanSpec organic(double phi) { return {phi, 1.0 / 3, 1000}; }

} // namespace

TEST(SuggestRanges, FindsGroundBelowAndAStraightFitAboveTheThreshold)
{
    int covered = 0, cases = 0;
    for (const ScanSpec& shape : {metal(4.4), metal(5.0), metal(5.5), organic(4.5), organic(5.2)}) {
        for (unsigned seed : {1u, 2u, 3u}) {
            const clsTz4DataSet record = generatedScan(shape, seed);
            const SuggestedRanges s = SuggestRanges(record);
            ASSERT_TRUE(s.found) << s.refusal.toStdString();
            const double phi = shape.workFunction;
            EXPECT_NEAR(s.workFunction, phi, shape.power < 0.5 ? 0.03 : 0.02) << phi << " seed " << seed;
            EXPECT_FLOAT_EQ(s.ground.from, 3.8f);
            EXPECT_LT(s.ground.to, phi);
            EXPECT_GT(s.fit.from, phi) << "the fit starts above the threshold";
            EXPECT_GE((s.fit.to - s.fit.from) / 0.05, 4 - 1e-3) << "at least five points";
            covered += std::abs(s.workFunction - phi) <= 2 * s.uncertainty;
            ++cases;

            // The ranges give the stated result once applied, and suggesting changed nothing.
            EXPECT_EQ(record.WorkFunction(), 0.0f);
            clsTz4DataSet applied = record;
            ApplyRanges(applied, s.ground, s.fit);
            EXPECT_EQ(applied.WorkFunction(), s.workFunction);
            EXPECT_EQ(applied.WorkFunctionUncertainty(), s.uncertainty);
        }
    }
    EXPECT_GE(covered, cases * 85 / 100) << "the uncertainty covers the error at two standard uncertainties";
}

// A film near the top of the scan rises over few points, and their noise can look like a bend;
// a bend the noise explains must not cut the fit short of the scan's end.
TEST(SuggestRanges, FitsAStraightScanUpToItsEnd)
{
    int toTheEnd = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const SuggestedRanges s = SuggestRanges(generatedScan(organic(5.5), seed));
        ASSERT_TRUE(s.found) << s.refusal.toStdString();
        EXPECT_NEAR(s.workFunction, 5.5, 0.03) << "seed " << seed;
        toTheEnd += s.fit.to == 6.2f;
    }
    EXPECT_GE(toTheEnd, 10) << "of 12 scans";
}

TEST(SuggestRanges, WorksOnScansInAnyOrderAndWithoutGroundSubtraction)
{
    const clsTz4DataSet rising = generatedScan(metal(5.0), 4);
    clsTz4DataSet falling = rising;
    for (int i = 0; i < rising.DataCount(); ++i) {
        falling.setOrgValueX(rising.OrgValueX(rising.DataCount() - 1 - i), i);
        falling.setOrgValueY(rising.OrgValueY(rising.DataCount() - 1 - i), i);
    }
    falling.Refresh();
    const SuggestedRanges up = SuggestRanges(rising), down = SuggestRanges(falling);
    ASSERT_TRUE(down.found) << down.refusal.toStdString();
    EXPECT_NEAR(down.workFunction, up.workFunction, 1e-5) << "the same points, summed in another order";
    EXPECT_EQ(down.fit.from, up.fit.from);

    clsTz4DataSet plain = rising;
    plain.setGndDown(false);
    const SuggestedRanges s = SuggestRanges(plain);
    ASSERT_TRUE(s.found) << s.refusal.toStdString();
    EXPECT_NEAR(s.workFunction, 5.0, 0.03);
}

TEST(SuggestRanges, RefusesAScanWithoutThresholdGroundOrPoints)
{
    ScanSpec allGround = metal(6.6);
    SuggestedRanges s = SuggestRanges(generatedScan(allGround, 1));
    EXPECT_FALSE(s.found);
    EXPECT_TRUE(s.refusal.startsWith(QStringLiteral("no threshold"))) << s.refusal.toStdString();

    ScanSpec noGround = metal(3.5);
    s = SuggestRanges(generatedScan(noGround, 1));
    EXPECT_FALSE(s.found);
    EXPECT_TRUE(s.refusal.startsWith(QStringLiteral("no ground"))) << s.refusal.toStdString();

    ScanSpec short_ = metal(5.0);
    short_.start = 4.9;
    short_.end = 5.2;
    s = SuggestRanges(generatedScan(short_, 1));
    EXPECT_FALSE(s.found);
    EXPECT_EQ(s.refusal, QStringLiteral("the record has 7 points; suggesting ranges needs at least 8"));

    clsTz4DataSet line;
    line.setKey(QStringLiteral("T"));
    EXPECT_FALSE(SuggestRanges(line).found);
}

TEST(AnalysisRanges, SayWhatIsMissingForAWorkFunction)
{
    clsTz4DataSet r = generatedScan(metal(5.0), 7);
    auto missing = [&](EnergyRange ground, EnergyRange fit) {
        ApplyRanges(r, ground, fit);
        return MissingForResult(r).toStdString();
    };
    EXPECT_EQ(missing({3.8f, 4.8f}, {5.2f, 5.7f}), "");
    EXPECT_EQ(missing({3.8f, 4.8f}, {7.0f, 8.0f}), "the fit range holds no points");
    EXPECT_EQ(missing({3.8f, 4.8f}, {5.5f, 5.52f}), "the fit range holds a single point; a line needs at least two");
    EXPECT_EQ(missing({2.0f, 3.0f}, {5.2f, 5.7f}), "the ground range holds no points");
    EXPECT_EQ(missing({5.8f, 6.2f}, {5.2f, 5.7f}),
              "the ground range reaches into the fit range; the ground must lie below the threshold");
}

// The range part is the largest move of the result when either end of the fit range moves by
// one point; on a line that bends at the top it is the move from dropping the top point.
TEST(WorkFunctionUncertainty, RangePartFollowsTheEndsOfTheFitRange)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    r.setParameters(param::PowerNumber, 0.5f);
    r.setExpLog(true);
    r.setGndDown(true);
    const int count = 30;
    r.setDataCount(count);
    for (int i = 0; i < count; ++i) {
        const double e = 4.5 + 0.05 * i;
        const double root = e > 5.0 ? 20 * (e - 5.0) - (e > 5.6 ? 30 * (e - 5.6) * (e - 5.6) : 0) : 0;
        r.setOrgValueX(float(e), i);
        r.setOrgValueY(float(root * root + 1), i);
    }
    r.Refresh();
    ApplyRanges(r, {4.5f, 4.9f}, {5.1f, 5.5f});
    EXPECT_NEAR(r.WorkFunction(), 5.0, 1e-3);
    EXPECT_LT(r.WorkFunctionUncertaintyRange(), 1e-3) << "a straight stretch hardly moves";

    ApplyRanges(r, {4.5f, 4.9f}, {5.1f, 5.9f});
    const double phi = r.WorkFunction();
    const double stat = r.WorkFunctionUncertaintyStatistical(), range = r.WorkFunctionUncertaintyRange();
    EXPECT_GT(range, 1e-3);
    EXPECT_DOUBLE_EQ(r.WorkFunctionUncertainty(), std::hypot(stat, range));

    double widest = 0;
    for (EnergyRange fit : {EnergyRange{5.05f, 5.9f}, {5.15f, 5.9f}, {5.1f, 5.85f}, {5.1f, 5.95f}}) {
        clsTz4DataSet moved = r;
        ApplyRanges(moved, {4.5f, 4.9f}, fit);
        widest = std::max(widest, std::abs(double(moved.WorkFunction()) - phi));
    }
    EXPECT_NEAR(range, widest, 1e-6);
}

// A background counted high leaves the ground averaging below zero; the level stays 0 and the
// offset stays in every point, so the uncertainty must carry it, not only the ground's scatter.
TEST(WorkFunctionUncertainty, CoversAGroundLeftBelowZero)
{
    auto scan = [](double offset) {
        clsTz4DataSet r;
        r.setKey(QStringLiteral("W"));
        r.setParameters(param::PowerNumber, 0.5f);
        r.setExpLog(true);
        r.setGndDown(true);
        const int count = 35;
        r.setDataCount(count);
        for (int i = 0; i < count; ++i) {
            const double e = 4.5 + 0.05 * i;
            const double root = e > 5.0 ? 20 * (e - 5.0) : 0;
            r.setOrgValueX(float(e), i);
            r.setOrgValueY(float(root * root + offset + (i % 2 ? 0.5 : -0.5)), i);
        }
        r.Refresh();
        ApplyRanges(r, {4.5f, 4.9f}, {5.3f, 6.0f});
        return r;
    };
    const clsTz4DataSet above = scan(3), below = scan(-3);
    EXPECT_NEAR(above.WorkFunction(), 5.0, 2e-3) << "a positive ground is taken off";
    EXPECT_EQ(below.GroundLevel(), 0.0f);
    const double shift = below.WorkFunction() - 5.0;
    EXPECT_GT(shift, 0.01) << "the offset left in pulls the weak points down";
    EXPECT_LE(shift, 2 * below.WorkFunctionUncertaintyStatistical());
    EXPECT_GT(below.WorkFunctionUncertaintyStatistical(), 5 * above.WorkFunctionUncertaintyStatistical());
}

// The estimate agrees with what dropping the highest reading does to the same readings.
TEST(LowCountBias, PredictsTheShiftOfDroppingTheHighestReading)
{
    ScanSpec weak = metal(4.85);
    weak.amplitude = 250;
    weak.seconds = 3;
    ScanSpec plain = weak;
    plain.dropHighest = false;
    double estimated = 0, measured = 0;
    const int seeds = 40;
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        clsTz4DataSet dropped = generatedScan(weak, seed);
        clsTz4DataSet kept = generatedScan(plain, seed);
        ApplyRanges(dropped, {3.8f, 4.7f}, {4.95f, 5.5f});
        ApplyRanges(kept, {3.8f, 4.7f}, {4.95f, 5.5f});
        estimated += EstimateLowCountBias(dropped).shift;
        measured += dropped.WorkFunction() - kept.WorkFunction();
    }
    estimated /= seeds;
    measured /= seeds;
    EXPECT_GT(estimated, 0.0) << "the weak points lose most, so the line crosses later";
    EXPECT_NEAR(estimated, measured, 0.3 * std::abs(measured));
}

TEST(LowCountBias, WarnsWithTheCountingTimeThatAvoidsIt)
{
    ScanSpec weak = metal(4.85);
    weak.amplitude = 250;
    weak.seconds = 3;
    clsTz4DataSet r = generatedScan(weak, 3);
    ApplyRanges(r, {3.8f, 4.7f}, {4.95f, 5.5f});
    const LowCountBias bias = EstimateLowCountBias(r);
    ASSERT_TRUE(bias.significant);
    EXPECT_GT(bias.countingTime, 3);
    EXPECT_EQ(r.LowCountWarning(), LowCountWarningText(bias));
    EXPECT_TRUE(r.LowCountWarning().contains(QStringLiteral("a counting time of %1 s").arg(bias.countingTime)))
        << r.LowCountWarning().toStdString();

    // At the suggested time the same scan no longer warrants it.
    weak.seconds = bias.countingTime;
    clsTz4DataSet longer = generatedScan(weak, 3);
    ApplyRanges(longer, {3.8f, 4.7f}, {4.95f, 5.5f});
    const LowCountBias after = EstimateLowCountBias(longer);
    EXPECT_LT(std::abs(after.shift), std::abs(bias.shift));
    EXPECT_LT(std::abs(after.shift), 1.5 * after.uncertainty / 4) << "within the scatter of a fresh scan's uncertainty";

    clsTz4DataSet none;
    none.setKey(QStringLiteral("W"));
    EXPECT_TRUE(none.LowCountWarning().isEmpty()) << "no result, no warning";
}
