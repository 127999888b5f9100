#include "sim/YieldModel.h"

#include <gtest/gtest.h>

#include <cmath>

using tz4::sim::YieldModel;

TEST(YieldModel, SquareRootYieldIsLinearAboveThresholdForPowerNumberOneHalf)
{
    YieldModel sample(5.10, 0.5, 1e-5);
    EXPECT_EQ(sample.electronsPerPhoton(4.0), 0.0);
    EXPECT_EQ(sample.electronsPerPhoton(5.10), 0.0);
    // sqrt(Y) = sqrt(A) (E - phi): equal energy steps give equal increments.
    const double step1 = std::sqrt(sample.electronsPerPhoton(5.6)) - std::sqrt(sample.electronsPerPhoton(5.4));
    const double step2 = std::sqrt(sample.electronsPerPhoton(6.2)) - std::sqrt(sample.electronsPerPhoton(6.0));
    EXPECT_NEAR(step1, step2, 1e-12);
    EXPECT_NEAR(std::sqrt(sample.electronsPerPhoton(6.1)), std::sqrt(1e-5) * 1.0, 1e-9);

    YieldModel linear(4.5, 1.0, 2e-5);
    EXPECT_NEAR(linear.electronsPerPhoton(5.5), 2e-5, 1e-15);
    EXPECT_NEAR(linear.electronsPerPhoton(6.5), 4e-5, 1e-15);
}
