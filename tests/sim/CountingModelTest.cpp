#include "sim/CountingModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using tz4::sim::CountingModel;

TEST(CountingModel, HostDeadTimeCorrectionRecoversTheTrueRate)
{
    CountingModel counter;
    const double tau = CountingModel::kDeadTime;
    for (double rate : {10.0, 1000.0, 5000.0, 15000.0}) {
        const double observed = counter.observedRate(rate);
        EXPECT_LT(observed, rate);
        EXPECT_NEAR(observed / (1 - tau * observed), rate, rate * 1e-9);
    }
    // Even a flood of ions cannot push the reading past 16 bits.
    EXPECT_LT(counter.observedRate(1e9), 32767);
    std::mt19937_64 random(3);
    EXPECT_LT(counter.count(1e9, 1.0, random), 32767);
}

TEST(CountingModel, CountsArePoissonAndRepeatableFromTheSeed)
{
    CountingModel counter;
    std::mt19937_64 a(42), b(42), other(43);
    std::vector<int> first, second, third;
    for (int i = 0; i < 2000; ++i) {
        first.push_back(counter.count(400, 1.0, a));
        second.push_back(counter.count(400, 1.0, b));
        third.push_back(counter.count(400, 1.0, other));
    }
    EXPECT_EQ(first, second);
    EXPECT_NE(first, third);

    double sum = 0, squares = 0;
    for (int n : first) {
        sum += n;
        squares += double(n) * n;
    }
    const double mean = sum / first.size();
    const double variance = squares / first.size() - mean * mean;
    EXPECT_NEAR(mean, counter.observedRate(400), 2.0);
    EXPECT_NEAR(variance / mean, 1.0, 0.12);

    // A ten-second count reports the rate per second with a tenth of the spread.
    std::mt19937_64 c(7);
    double s = 0, q = 0;
    for (int i = 0; i < 1000; ++i) {
        const int n = counter.count(400, 10.0, c);
        s += n;
        q += double(n) * n;
    }
    const double m = s / 1000;
    EXPECT_NEAR((q / 1000 - m * m) / m, 0.1, 0.03);
}

TEST(CountingModel, DryAirPurgeClearsMoistureBackground)
{
    CountingModel counter;
    counter.setMoistureBackground(250);
    EXPECT_GE(counter.backgroundRate(2900), 100);
    counter.purge(60, 0.0);
    EXPECT_GE(counter.backgroundRate(2900), 100);
    counter.purge(60, 1.9);
    EXPECT_LT(counter.backgroundRate(2900), 100);
}
