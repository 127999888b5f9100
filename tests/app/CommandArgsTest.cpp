#include "app/cli/CommandArgs.h"
#include "app/cli/CommandLine.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tz4::cli;

TEST(TypedNumbers, TheDotIsAlwaysTheDecimalPointAndTheLocaleMayUseItsOwn)
{
    tz4::test::ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(parseNumber(" 4.5 "), 4.5);
    // A comma here is the decimal point, not a thousands separator of the "." notation.
    EXPECT_EQ(parseNumber("0,055"), 0.055);
    EXPECT_EQ(parseNumber("2,000"), 2.0);
    const auto range = parseRange("5,3:5,9");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 5.3);
    EXPECT_EQ(range->second, 5.9);
    EXPECT_FALSE(parseNumber("inf"));
    EXPECT_FALSE(parseRange("5.3:5.9:6"));
}

TEST(SimulatorOptions, AnInfiniteClockIsRefused)
{
    EXPECT_FALSE(parseCommandLine({"--simulate", "--sim-speed", "inf", "connect"}).error.isEmpty());
    const CommandLine line = parseCommandLine({"--sim-speed", "200", "connect"});
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_EQ(line.options.sim.speed, 200);
}
