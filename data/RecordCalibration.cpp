#include "data/RecordCalibration.h"

#include "core/Formats.h"
#include "data/LeastSquares.h"

namespace tz4 {

namespace {

// The table's entry for an energy in eV.
qint64 lightIndex(double energy)
{
    return roundHalfEven(energy * 20 - 68);
}

} // namespace

void RecordCalibration::setLightPoints(const std::vector<std::pair<double, float>>& points)
{
    const size_t m = points.size();
    if (m == 0)
        return;
    lightTable_.assign(m < 14 ? 71 : 5 * m + 1, 0.0f);
    // A light point outside the table's energies cannot correct anything and is left out.
    for (const auto& [hundredths, value] : points) {
        const qint64 index = roundHalfEven(hundredths / 5 - 68);
        if (index >= 0 && index < qint64(lightTable_.size()))
            lightTable_[size_t(index)] = value;
    }
}

float RecordCalibration::lightAt(float energy) const
{
    const qint64 k = lightIndex(double(energy));
    return k >= 0 && k < qint64(lightTable_.size()) ? lightTable_[size_t(k)] : 0.0f;
}

void RecordCalibration::fitLine(const std::vector<std::pair<float, float>>& points)
{
    LineSums sums;
    for (const auto& [cps, thickness] : points)
        sums.add(cps > 0 ? log10Single(cps) : 0.0f, thickness);
    sums.fit(gradient_, intercept_);
}

float RecordCalibration::thicknessOf(float cps) const
{
    return cps <= 0 ? 0.0f : float(double(log10Single(cps)) * gradient_ + intercept_);
}

QString RecordCalibration::memberName(int member) const
{
    return member >= 0 && member < memberCount() ? members_[size_t(member)].second : QString();
}

QString RecordCalibration::memberSeqNo(int member) const
{
    return member >= 0 && member < memberCount() ? QString::number(members_[size_t(member)].first) : QString();
}

} // namespace tz4
