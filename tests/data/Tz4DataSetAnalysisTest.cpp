#include "data/Tz4DataSet.h"
#include "core/RecordParameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tz4;

namespace {

// A W record analysed with power number 0.5: ground points at 3.4–3.6 eV counting 4 cps, fit
// points from 5.5 eV lying on the line sqrt(yield) = 3E − 15 (plus `offset` cps).
clsTz4DataSet lineRecord(bool gndDown, double offset)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    r.setDataCount(16);
    for (int i = 0; i < 16; ++i) {
        const double e = i < 5 ? 3.4 + 0.05 * i : 5.5 + 0.05 * (i - 5);
        r.setOrgValueX(float(e), i);
        r.setOrgValueY(float(i < 5 ? 4.0 : std::pow(3 * e - 15, 2) + offset), i);
        r.setValueG(i < 5, i);
    }
    r.setExpLog(true);
    r.setGndDown(gndDown);
    // Fit rectangle around the line part: x 5.45–6.1, any height.
    r.setParameters(param::FitX1, 5.45);
    r.setParameters(param::FitX2, 6.1);
    r.setParameters(param::FitY1, -1);
    r.setParameters(param::FitY2, 1e6);
    return r;
}

} // namespace

TEST(WorkFunction, MeetsTheGroundLineOrZero)
{
    clsTz4DataSet plain = lineRecord(false, 0);
    EXPECT_FLOAT_EQ(plain.GroundLevel(), 2.0f);
    EXPECT_NEAR(plain.Gradient(), 3.0f, 1e-4);
    EXPECT_NEAR(plain.Intercept(), -15.0f, 1e-3);
    EXPECT_NEAR(plain.WorkFunction(), 17.0 / 3.0, 1e-4);
    EXPECT_NEAR(plain.Correlation(), 1.0f, 1e-5);
    EXPECT_FLOAT_EQ(plain.Parameters(param::WorkFunction).toFloat(), plain.WorkFunction());
    EXPECT_EQ(plain.Parameters(param::GroundLevel).toFloat(), 2.0f);

    // With the ground subtracted the same line must come out of yield − 4.
    clsTz4DataSet down = lineRecord(true, 4);
    EXPECT_FLOAT_EQ(down.GroundLevel(), 2.0f);
    EXPECT_NEAR(down.Intercept(), -15.0f, 1e-3);
    EXPECT_NEAR(down.WorkFunction(), 5.0, 1e-4);
    EXPECT_FLOAT_EQ(down.ValueY(0), 0.0f) << "a point at the ground is plotted at 0";
}

TEST(WorkFunction, RefusedRegressionGivesZeros)
{
    clsTz4DataSet none = lineRecord(false, 0);
    none.setParameters(param::FitX1, 10);
    none.setParameters(param::FitX2, 11); // the fit rectangle holds no point
    EXPECT_EQ(none.Gradient(), 0.0f);
    EXPECT_EQ(none.Intercept(), 0.0f);
    EXPECT_EQ(none.WorkFunction(), 0.0f);
    EXPECT_EQ(none.Correlation(), 0.0f);

    clsTz4DataSet same;
    same.setKey(QStringLiteral("W"));
    same.setDataCount(4);
    for (int i = 0; i < 4; ++i) {
        same.setOrgValueX(5.0f, i);
        same.setOrgValueY(float(10 + i), i);
        same.setValueF(true, i);
    }
    same.Refresh();
    EXPECT_EQ(same.Gradient(), 0.0f);
    EXPECT_EQ(same.WorkFunction(), 0.0f);
}

TEST(WorkFunction, GraphValuesFollowTheFlags)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    r.setDataCount(3);
    const float rates[] = {1, 16, 100};
    for (int i = 0; i < 3; ++i) {
        r.setOrgValueX(float(4 + i), i);
        r.setOrgValueY(rates[i], i);
    }
    r.setValueG(true, 1); // ground 16 cps
    r.setExpLog(true);
    r.setGndDown(true);
    EXPECT_FLOAT_EQ(r.GroundLevel(), 4.0f);
    EXPECT_FLOAT_EQ(r.ValueY(0), 0.0f) << "below the ground";
    EXPECT_FLOAT_EQ(r.ValueY(2), std::sqrt(84.0f));

    r.setParameters(param::PowerNumber, 2); // accepted, but switches the power and its inverse off
    EXPECT_FLOAT_EQ(r.GroundLevel(), 16.0f);
    EXPECT_FLOAT_EQ(r.ValueY(2), 84.0f);
    r.setExpLog(false);
    r.setParameters(param::PowerNumber, 0.5);
    EXPECT_FLOAT_EQ(r.ValueY(2), 84.0f);
    EXPECT_FLOAT_EQ(r.DataY(0), 0.0f);
    EXPECT_FLOAT_EQ(r.DataY(1), 84.0f);
    EXPECT_FLOAT_EQ(r.DataY(2), 84.0f / 11);
    EXPECT_FLOAT_EQ(r.DataX(2), 1.0f);

    clsTz4DataSet single;
    single.setKey(QStringLiteral("C"));
    single.setDataCount(1);
    single.setOrgValueY(100, 0);
    single.setExpLog(true);
    EXPECT_FLOAT_EQ(single.ValueY(0), 2.0f);
    EXPECT_FLOAT_EQ(single.DataX(2), 1.0f);
    EXPECT_FLOAT_EQ(single.DataY(2), 1.0f);
}

TEST(WorkFunction, GroundRectangleReplacesAddsAndRemovesFlags)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("L"));
    r.setDataCount(4);
    for (int i = 0; i < 4; ++i) {
        r.setOrgValueX(float(i), i);
        r.setOrgValueY(float(i), i);
    }
    r.Refresh();
    r.setValueG(true, 3);
    r.setParameters(param::GroundX1, 1); // x1
    r.setParameters(param::GroundX2, 0); // x2 below x1: bounds are ordered
    r.setParameters(param::GroundY1, 0);
    r.setParameters(param::GroundY2, 1);
    r.AddGFlag();
    EXPECT_TRUE(r.ValueG(0) && r.ValueG(1) && !r.ValueG(2) && r.ValueG(3));
    r.RefreshGFlag();
    EXPECT_TRUE(r.ValueG(0) && r.ValueG(1) && !r.ValueG(2) && !r.ValueG(3));
    r.setParameters(param::GroundX1, 1);
    r.setParameters(param::GroundX2, 1);
    r.setParameters(param::GroundY2, 1);
    r.DelGFlag();
    EXPECT_TRUE(r.ValueG(0) && !r.ValueG(1));
}

TEST(WorkFunction, DifferenceRecordSubtractsTheLine)
{
    clsTz4DataSet r = lineRecord(false, 0);
    // Points on the line give nothing; a point above it keeps the excess yield.
    r.setOrgValueY(float(std::pow(3 * 5.55 - 15, 2) + 40), 6);
    r.setValueF(false, 6);
    r.Refresh();
    r.setParameters(param::SampleName, QStringLiteral("Au"));
    const float gradient = r.Gradient(), intercept = r.Intercept();
    ASSERT_TRUE(r.CreateWfSubtruct());
    EXPECT_EQ(r.Parameters(param::SampleName).toString(), QStringLiteral("Au_Dif"));
    EXPECT_FALSE(r.GndDown());
    EXPECT_FALSE(r.ValueF(6));
    const double line = 5.55 * gradient + intercept;
    const double plotted = std::sqrt(std::pow(3 * 5.55 - 15, 2) + 40);
    EXPECT_NEAR(r.OrgValueY(6), plotted * plotted - line * line, 1e-2);
    EXPECT_NEAR(r.OrgValueY(6), 40.0, 1e-2);
    EXPECT_NEAR(r.OrgValueY(10), 0.0, 1e-2);
    EXPECT_FLOAT_EQ(r.OrgValueY(0), 4.0f) << "below the line: the point's own yield";

    r.setParameters(param::PowerNumber, 2);
    EXPECT_FALSE(r.CreateWfSubtruct()) << "only for a power number below 2";
}

// A scan like the instrument's: yield A·(E − 5.10)² over a background, Poisson counting noise.
TEST(WorkFunction, GeneratedSpectrumGivesItsThresholdWithAnHonestUncertainty)
{
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        std::mt19937 random(seed);
        clsTz4DataSet r;
        r.setKey(QStringLiteral("W"));
        const int count = 57; // 3.4 to 6.2 eV in 0.05 eV steps
        r.setDataCount(count);
        const double countingTime = 10;
        for (int i = 0; i < count; ++i) {
            const double e = 3.4 + 0.05 * i;
            const double rate = (e > 5.10 ? 2000 * (e - 5.10) * (e - 5.10) : 0) + 5;
            std::poisson_distribution<int> counts(rate * countingTime);
            r.setOrgValueX(float(e), i);
            r.setOrgValueY(float(counts(random) / countingTime), i);
        }
        r.setExpLog(true);
        r.setGndDown(true);
        r.Refresh();
        r.setParameters(param::GroundX1, 3.4);
        r.setParameters(param::GroundX2, 4.8);
        r.setParameters(param::GroundY1, -1e6);
        r.setParameters(param::GroundY2, 1e6);
        r.RefreshGFlag();
        r.setParameters(param::FitX1, 5.4);
        r.setParameters(param::FitX2, 6.2);
        r.setParameters(param::FitY1, -1e6);
        r.setParameters(param::FitY2, 1e6);
        const double error = r.WorkFunction() - 5.10;
        EXPECT_NEAR(r.WorkFunction(), 5.10, 0.02) << "seed " << seed;
        EXPECT_GT(r.WorkFunctionUncertainty(), 0.0);
        EXPECT_LT(r.WorkFunctionUncertainty(), 0.05);
        EXPECT_LE(std::fabs(error), 2 * r.WorkFunctionUncertainty()) << "seed " << seed;

        // Without the subtraction the line meets the ground level sqrt(5) instead, which the
        // yield reaches sqrt(5 / 2000) eV above the threshold.
        r.setGndDown(false);
        r.Refresh();
        EXPECT_NEAR(r.WorkFunction(), 5.10 + std::sqrt(5.0 / 2000), 0.02) << "seed " << seed;
        EXPECT_GT(r.WorkFunctionUncertainty(), 0.0);
    }
}
