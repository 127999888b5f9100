#include "datawin/LightSignal.h"

#include "mainwin/StatusBar.h"

namespace tz4 {

namespace {

// The bounds are compared as single-precision values, as the record holds them.
float bound(double factor, float target) { return float(factor * double(target)); }

} // namespace

quint32 GetLightSignal(float value, float target)
{
    if (value <= bound(0.8, target) || value >= bound(1.2, target))
        return basicColour(12);
    if (value <= bound(0.95, target) || value >= bound(1.05, target))
        return basicColour(14);
    return basicColour(10);
}

bool uvIntensityInBand(float value, float target)
{
    return value >= bound(0.8, target) && value <= bound(1.2, target);
}

} // namespace tz4
