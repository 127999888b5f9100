#include "sim/CountingModel.h"

#include <algorithm>
#include <cmath>

namespace tz4::sim {

namespace {

constexpr double kPlateauEfficiency = 0.005;
constexpr double kThresholdVolts = 2820.0;
constexpr double kThresholdWidth = 15.0; // volts; the onset is a few tens of volts wide
constexpr double kPlateauBackground = 15.0;
constexpr double kPurgeTimeConstant = 30.0; // seconds at full flow

double onset(int volts)
{
    return 1.0 / (1.0 + std::exp(-(volts - kThresholdVolts) / kThresholdWidth));
}

} // namespace

double CountingModel::efficiency(int volts) const
{
    return failed_ ? 0.0 : kPlateauEfficiency * onset(volts);
}

double CountingModel::backgroundRate(int volts) const
{
    if (failed_)
        return 0.0;
    return (kPlateauBackground + moisture_) * onset(volts);
}

double CountingModel::observedRate(double trueRate) const
{
    return trueRate <= 0 ? 0.0 : trueRate / (1.0 + trueRate * kDeadTime);
}

int CountingModel::count(double trueRate, double seconds, std::mt19937_64& random) const
{
    if (seconds <= 0)
        return 0;
    const double mean = observedRate(trueRate) * seconds;
    if (mean <= 0)
        return 0;
    std::poisson_distribution<long long> poisson(mean);
    // The observed rate never exceeds 1 / dead time, so the reading stays within 16 bits.
    return int(std::lround(double(poisson(random)) / seconds));
}

void CountingModel::purge(double seconds, double litresPerMinute)
{
    if (seconds <= 0 || litresPerMinute <= 0)
        return;
    moisture_ *= std::exp(-seconds * (litresPerMinute / 1.9) / kPurgeTimeConstant);
}

} // namespace tz4::sim
