#pragma once

#include <random>

namespace tz4::sim {

// The open-air counter: photoelectrons become ions that the anode counts once the anode
// voltage is high enough. Counting efficiency rises steeply to a plateau around 2850 V, the
// counter has a dead time after every pulse, and it sees a small background of its own.
class CountingModel {
public:
    // Dead time of the counter, seconds; the factory stores the same value in calibration memory.
    static constexpr double kDeadTime = 0.000050;

    // Fraction of the emitted photoelectrons counted at anode voltage `volts`.
    double efficiency(int volts) const;
    // Counts per second with no photoelectrons (cosmic rays, discharges, moisture).
    double backgroundRate(int volts) const;
    // Rate the counter reports for a true rate: the non-paralysable dead-time law.
    double observedRate(double trueRate) const;
    // One counting period: Poisson counts of the observed rate over `seconds`, reported per second.
    int count(double trueRate, double seconds, std::mt19937_64& random) const;

    // A dead counter counts nothing at all.
    void setFailed(bool failed) { failed_ = failed; }
    // Extra background from a humid counter; dry-air purging reduces it.
    void setMoistureBackground(double rate) { moisture_ = rate; }
    // Accumulates purge time at a flow of `litresPerMinute`.
    void purge(double seconds, double litresPerMinute);

private:
    bool failed_ = false;
    double moisture_ = 0.0;
};

} // namespace tz4::sim
