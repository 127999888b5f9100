#include "sim/YieldModel.h"

#include <gtest/gtest.h>

#include <cmath>

using tz4::sim::YieldModel;

TEST(YieldModel, NoEmissionAtOrBelowTheWorkFunction)
{
    YieldModel gold(5.10, 0.5);
    EXPECT_EQ(gold.electronsPerPhoton(4.0), 0.0);
    EXPECT_EQ(gold.electronsPerPhoton(5.10), 0.0);
    EXPECT_GT(gold.electronsPerPhoton(5.15), 0.0);
}

TEST(YieldModel, SquareRootYieldIsLinearAboveThresholdForPowerNumberOneHalf)
{
    YieldModel sample(5.10, 0.5, 1e-5);
    // sqrt(Y) = sqrt(A) (E - phi): equal energy steps give equal increments.
    const double step1 = std::sqrt(sample.electronsPerPhoton(5.6)) - std::sqrt(sample.electronsPerPhoton(5.4));
    const double step2 = std::sqrt(sample.electronsPerPhoton(6.2)) - std::sqrt(sample.electronsPerPhoton(6.0));
    EXPECT_NEAR(step1, step2, 1e-12);
    EXPECT_NEAR(std::sqrt(sample.electronsPerPhoton(6.1)), std::sqrt(1e-5) * 1.0, 1e-9);

    YieldModel linear(4.5, 1.0, 2e-5);
    EXPECT_NEAR(linear.electronsPerPhoton(5.5), 2e-5, 1e-15);
    EXPECT_NEAR(linear.electronsPerPhoton(6.5), 4e-5, 1e-15);
}

TEST(YieldModel, PhotonFluxFollowsPowerAndEnergy)
{
    // 1 nW of 1 eV photons is 6.24e9 photons per second.
    EXPECT_NEAR(YieldModel::photonsPerSecond(1.0, 1.0), 6.2415e9, 1e6);
    EXPECT_NEAR(YieldModel::photonsPerSecond(50.0, 5.0), 50.0 / 5.0 * 6.2415e9, 1e7);
    EXPECT_EQ(YieldModel::photonsPerSecond(0.0, 5.0), 0.0);
}
