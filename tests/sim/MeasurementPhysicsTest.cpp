#include "tests/sim/SimTestSupport.h"

#include "sim/CountingModel.h"
#include "sim/LightModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using tz4::sim::test::Conversation;
using tz4::sim::test::withFaults;

namespace {

QByteArray four(int value) { return QByteArray::number(value).rightJustified(4, '0'); }

// Puts `nanowatts` on the stage at 5.9 eV with filter 3 and returns the iris position.
int setLight(Conversation& c, double nanowatts)
{
    c.text("LS2102");
    const double energy = 12400.0 / 2102;
    int iris = 0;
    while (iris < 2000 && c.line.simulator().light().power(energy, 3, iris) > nanowatts)
        ++iris;
    c.text("ES" + four(iris));
    c.text("FS3");
    return iris;
}

// The anode-voltage search as the host runs it: ramp from 2500 V in 10 V steps until one
// second of counting on the carbon reference gives 10 counts.
int rampToTenCounts(Conversation& c)
{
    c.text("XS0600");
    c.text("TS0100");
    c.text("GS1");
    for (int v = 2500; v < 4000; v += 10) {
        c.text("VS" + four(v));
        if (c.number("CS") >= 10)
            return v;
    }
    return 4000;
}

double backgroundAt(Conversation& c, int volts)
{
    c.text("VS" + four(volts));
    c.text("GS0");
    c.text("FS0");
    c.text("TS1000");
    c.text("CS");
    return c.number("CS");
}

} // namespace

TEST(MeasurementPhysics, CarbonReferenceAt50nWFindsAWorkingVoltageWithLowBackground)
{
    Conversation c;
    setLight(c, 50);
    const int onset = rampToTenCounts(c);
    EXPECT_GE(onset, 2650);
    EXPECT_LE(onset, 2800);
    EXPECT_LT(backgroundAt(c, onset + 140), 100);
}

TEST(MeasurementPhysics, DeadDetectorNeverReachesTenCounts)
{
    Conversation c(withFaults({"detector-fail"}));
    setLight(c, 50);
    EXPECT_EQ(rampToTenCounts(c), 4000);
}

TEST(MeasurementPhysics, HumidCounterNeedsADryAirPurge)
{
    Conversation c(withFaults({"high-background"}));
    setLight(c, 50);
    const int onset = rampToTenCounts(c);
    EXPECT_GE(backgroundAt(c, onset + 140), 100);
    c.text("DS1");
    c.text("JS1900");
    c.clock.advance(60'000);
    c.text("JS0250");
    EXPECT_LT(backgroundAt(c, onset + 140), 100);
}

TEST(MeasurementPhysics, GridOffOrLightBlockedLeavesOnlyBackground)
{
    Conversation c;
    setLight(c, 50);
    c.text("XS1000");
    c.text("VS2870");
    c.text("TS1000");
    c.text("LS2000");
    c.text("GS1");
    const double lit = c.number("CS");
    c.text("GS0");
    const double gridOff = c.number("CS");
    c.text("GS1");
    c.text("FS0");
    const double blocked = c.number("CS");
    EXPECT_GT(lit, 500);
    EXPECT_LT(gridOff, 40);
    EXPECT_LT(blocked, 40);
}

// A work-function scan of a phi = 5.10 eV sample, background subtracted and corrected for
// dead time as the host does, has a square-root yield that is a straight line meeting zero
// at the work function.
TEST(MeasurementPhysics, WorkFunctionScanGivesLinearSquareRootYieldAboveThreshold)
{
    Conversation c;
    setLight(c, 30);
    c.text("XS1000");
    c.text("VS2870");
    c.text("TS1000");
    c.text("GS0");
    c.text("FS0");
    const double background = c.number("CS");
    c.text("FS3");
    c.text("GS1");

    const double tau = tz4::sim::CountingModel::kDeadTime;
    std::vector<double> energies, roots;
    double highest = 0, belowThreshold = 0;
    for (int e = 340; e <= 620; e += 5) {
        const double energy = e / 100.0;
        c.text("LS" + four(int(std::lround(12400.0 / energy))));
        const double reading = c.number("CS");
        const double rate = reading / (1 - tau * reading) - background;
        highest = std::max(highest, rate);
        if (energy < 5.0)
            belowThreshold = std::max(belowThreshold, std::abs(rate));
        if (energy >= 5.3) {
            energies.push_back(energy);
            roots.push_back(std::sqrt(std::max(0.0, rate)));
        }
    }
    EXPECT_GT(highest, 500);
    EXPECT_LT(highest, 5000);
    EXPECT_LT(belowThreshold, 15);

    const double n = energies.size();
    double sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
    for (size_t i = 0; i < energies.size(); ++i) {
        sx += energies[i];
        sy += roots[i];
        sxx += energies[i] * energies[i];
        sxy += energies[i] * roots[i];
        syy += roots[i] * roots[i];
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double intercept = (sy - slope * sx) / n;
    const double r = (n * sxy - sx * sy) / std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
    EXPECT_GT(r, 0.995);
    EXPECT_NEAR(-intercept / slope, 5.10, 0.08);
}
