#include "sim/LightModel.h"

#include <algorithm>
#include <cmath>

namespace tz4::sim {

namespace {

// Relative transmissions of the mesh filters in the wheel.
constexpr double kFilterTransmission[LightModel::kFilters] = {0.0, 1.0, 0.375, 0.125, 0.05};

// Calibrated amplifier gains: full scale sits at about twice the upper power of each range
// (20, 50, 100, 200, 500, 1000, 2000, 5000 nW), so an overloaded range always reads high.
constexpr double kRangeGain[LightModel::kRanges] = {25.12, 10.03, 4.987, 2.512, 1.004,
                                                    0.5013, 0.2497, 0.1002, 0.02508};

constexpr double kIrisLeak = 0.1; // the closed iris still passes a tenth of the light

} // namespace

double LightModel::lampPower(double energy) const
{
    // Broad deuterium-like hump: the photon flux (power / energy) is nearly flat from 5 to 6.3 eV
    // and falls off towards the near UV.
    const double x = (energy - 5.6) / 2.2;
    return 775.0 * std::exp(-x * x) * energy / 5.6;
}

double LightModel::filterTransmission(int filter) const
{
    return filter >= 0 && filter < kFilters ? kFilterTransmission[filter] : 0.0;
}

double LightModel::irisFraction(int position) const
{
    const double opening = 1.0 - std::clamp(position, 0, kIrisClosed) / double(kIrisClosed);
    return kIrisLeak + (1.0 - kIrisLeak) * opening * opening;
}

double LightModel::power(double energy, int filter, int iris) const
{
    return lampPower(energy) * filterTransmission(filter) * irisFraction(iris);
}

double LightModel::rangeGain(int range) const
{
    return kRangeGain[std::clamp(range, 1, kRanges) - 1];
}

double LightModel::sensitivity(double energy) const
{
    // UV-enhanced silicon: responsivity falls gently towards the deep UV.
    const double x = energy - 3.4;
    return 0.14 - 0.018 * x - 0.0012 * x * x;
}

double LightModel::darkLevel(int range) const
{
    return 80.0 + 4.0 * rangeGain(range);
}

double LightModel::diodeReading(double power, double energy, int range) const
{
    const double reading = power * rangeGain(range) * sensitivity(energy) * 1000.0 + darkLevel(range);
    return std::min(reading, double(kDiodeFullScale));
}

} // namespace tz4::sim
