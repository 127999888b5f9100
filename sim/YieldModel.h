#pragma once

namespace tz4::sim {

// Photoemission of a surface: electrons per incident photon, A (E - phi)^(1/n) above the
// work function phi and nothing below it.
class YieldModel {
public:
    // A: electrons per photon at one eV above threshold.
    static constexpr double kDefaultEfficiency = 1.1e-5;

    YieldModel(double workFunction, double powerNumber, double efficiency = kDefaultEfficiency);

    double workFunction() const { return workFunction_; }
    double powerNumber() const { return powerNumber_; }
    double electronsPerPhoton(double energy) const;

    // Photons per second carried by `powerNw` nanowatts at photon energy `energy` eV.
    static double photonsPerSecond(double powerNw, double energy);

private:
    double workFunction_;
    double powerNumber_;
    double efficiency_;
};

} // namespace tz4::sim
