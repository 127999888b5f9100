#include "tests/sim/SimTestSupport.h"

#include "sim/LightModel.h"

#include <gtest/gtest.h>

#include <cmath>

using tz4::sim::LightModel;
using tz4::sim::test::Conversation;

namespace {

constexpr double kRangeUpper[] = {20, 50, 100, 200, 500, 1000, 2000, 5000};

int rangeFor(double power)
{
    for (int r = 0; r < 8; ++r)
        if (power <= kRangeUpper[r])
            return r + 1;
    return 9;
}

} // namespace

TEST(LightModel, FilterZeroBlocksAndTheIrisClosesMonotonically)
{
    LightModel light;
    EXPECT_EQ(light.power(5.9, 0, 0), 0.0);
    double previous = light.power(5.9, 1, 0);
    for (int iris = 50; iris <= 2000; iris += 50) {
        const double p = light.power(5.9, 1, iris);
        EXPECT_LT(p, previous) << iris;
        previous = p;
    }
    for (int f = 2; f <= 4; ++f)
        EXPECT_LT(light.power(5.9, f, 0), light.power(5.9, f - 1, 0));
    // One iris step changes the power by far less than the 0.1 nW the intensity search needs.
    EXPECT_LT(light.power(5.9, 3, 999) - light.power(5.9, 3, 1000), 0.05);
}

TEST(LightModel, EachRangeReadsItsPowersUnclippedAndOverloadsReadAboveItsTop)
{
    LightModel light;
    for (double e = 3.40; e <= 6.36; e += 0.05)
        for (int r = 1; r <= 8; ++r) {
            const double atTop = light.diodeReading(kRangeUpper[r - 1], e, r);
            EXPECT_LT(atTop, LightModel::kDiodeFullScale) << e << " range " << r;
            // What the host computes from a clipped reading must point it to a higher range.
            const double clipped = (LightModel::kDiodeFullScale - light.darkLevel(r)) / light.rangeGain(r)
                                   / (light.sensitivity(e) * 1000);
            EXPECT_GT(clipped, kRangeUpper[r - 1]) << e << " range " << r;
        }
    // The brightest light stays readable in the least sensitive range.
    for (double e = 3.40; e <= 6.36; e += 0.05)
        EXPECT_LT(light.diodeReading(light.power(e, 1, 0), e, 9), LightModel::kDiodeFullScale);
}

// The host's power formula, with its tables read from the calibration memory, recovers the
// power on the photodiode across energies, filters and ranges.
TEST(LightModel, HostFormulaRecoversThePowerOnThePhotodiode)
{
    Conversation c;
    auto twoWords = [&] { return c.twoWords().toDouble(); };
    double gain[10] = {1};
    c.text("WS0016");
    for (int r = 1; r <= 9; ++r)
        gain[r] = twoWords();
    double sensitivity[60] = {};
    c.text("WS0064");
    for (int k = 0; k < 59; ++k)
        sensitivity[k] = twoWords();

    c.text("XS0300"); // photodiode under the light
    c.text("TS0100");
    for (const double energy : {3.5, 4.2, 5.0, 5.9, 6.2}) {
        for (const auto& [filter, iris] : {std::pair{1, 0}, std::pair{3, 800}, std::pair{4, 2000}}) {
            const int wave = int(std::lround(12400.0 / energy));
            c.text("LS" + QByteArray::number(wave));
            c.text("ES" + QByteArray::number(iris).rightJustified(4, '0'));
            const double truePower = c.line.simulator().light().power(12400.0 / wave, filter, iris);
            const int range = rangeFor(truePower);
            c.text("RS" + QByteArray::number(range));

            c.text("FS0");
            c.text("CS");
            double dark = 0;
            for (int i = 0; i < 10; ++i)
                dark += std::round(c.number("KS"));
            dark /= 10;
            c.text("FS" + QByteArray::number(filter));
            c.text("CS");
            const double diode = c.number("KS");

            const double hostEnergy = 1240.0 / (wave / 10.0);
            const int k = int(std::nearbyint(std::nearbyint(hostEnergy * 100 - 340) / 5));
            const double power = std::max(0.0, diode - dark) / gain[range] / (sensitivity[k] * 1000);
            EXPECT_NEAR(power, truePower, std::max(0.005 * truePower, 0.05))
                << energy << " eV, filter " << filter << ", iris " << iris;
        }
    }
}

TEST(LightModel, PhotodiodeSeesOnlyDarkWhenTheStageIsElsewhere)
{
    Conversation c;
    c.text("FS1");
    c.text("RS1");
    c.text("XS1000");
    c.text("CS");
    const double away = c.number("KS");
    EXPECT_NEAR(away, c.line.simulator().light().darkLevel(1), 6);
    c.text("XS0300");
    c.text("CS");
    EXPECT_EQ(c.number("KS"), LightModel::kDiodeFullScale); // 800 nW overloads range 1
}
