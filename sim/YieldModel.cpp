#include "sim/YieldModel.h"

#include <cmath>

namespace tz4::sim {

YieldModel::YieldModel(double workFunction, double powerNumber, double efficiency)
    : workFunction_(workFunction), powerNumber_(powerNumber), efficiency_(efficiency)
{
}

double YieldModel::electronsPerPhoton(double energy) const
{
    const double excess = energy - workFunction_;
    if (excess <= 0 || powerNumber_ <= 0)
        return 0.0;
    return efficiency_ * std::pow(excess, 1.0 / powerNumber_);
}

double YieldModel::photonsPerSecond(double powerNw, double energy)
{
    constexpr double kElementaryCharge = 1.602176634e-19;
    if (energy <= 0 || powerNw <= 0)
        return 0.0;
    return powerNw * 1e-9 / (energy * kElementaryCharge);
}

} // namespace tz4::sim
