#pragma once

#include <QString>

namespace tz4 {

class clsTz4DataSet;

// Each point of a scan is the mean of its one-second readings after the highest one is
// dropped, which pulls every mean down by an amount that grows with the square root of the
// counts: weak points lose relatively more than strong ones, and the work function moves.
struct LowCountBias {
    double shift = 0;          // expected shift of the work function, eV
    double uncertainty = 0;    // the statistical uncertainty of the work function, eV
    bool significant = false;  // more than a quarter of that uncertainty
    int countingTime = 0;      // seconds per point that would keep it below; 0 when none up to an hour
    double intensity = 0;      // nW that would, at the present counting time; 0 when none up to ten times
};

// The estimate for the fit points of a W record, from their counting rates, the background,
// the counting time and the power number. Nothing significant when the record has no result.
LowCountBias EstimateLowCountBias(const clsTz4DataSet& record);

// One sentence for the operator; empty when the shift is not significant.
QString LowCountWarningText(const LowCountBias& bias);

} // namespace tz4
