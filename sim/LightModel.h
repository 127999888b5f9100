#pragma once

namespace tz4::sim {

// The optical path of the light unit: lamp behind the monochromator, filter wheel, iris, and
// the reference photodiode with its switchable amplifier. Powers are in nanowatts at the
// sample plane, photon energies in eV.
class LightModel {
public:
    static constexpr int kRanges = 9;
    static constexpr int kFilters = 5;          // position 0 blocks the light
    static constexpr int kIrisClosed = 2000;    // least light; 0 is wide open
    static constexpr int kDiodeFullScale = 99999;

    // Power leaving the monochromator at `energy` with filter 1 and the iris wide open.
    double lampPower(double energy) const;
    double filterTransmission(int filter) const;
    // Fraction of the light the iris passes at `position` (0..2000).
    double irisFraction(int position) const;
    double power(double energy, int filter, int iris) const;

    // Amplifier gain of light range 1..9 (range 1 is the most sensitive).
    double rangeGain(int range) const;
    // Photodiode response per nanowatt, scaled so that reading = power x gain x sensitivity x 1000.
    double sensitivity(double energy) const;
    // Photodiode reading with no light, in the given range.
    double darkLevel(int range) const;
    // Noise-free reading for `power` on the photodiode, clipped at full scale.
    double diodeReading(double power, double energy, int range) const;
};

} // namespace tz4::sim
