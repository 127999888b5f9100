#include "data/Tz4DataSet.h"

#include "data/LeastSquares.h"

#include <algorithm>
#include <cmath>

namespace tz4 {

// The work function the same regression gives for another choice of fit points, with the
// ground level as it stands.
float clsTz4DataSet::workFunctionOf(const std::vector<char>& fitFlags) const
{
    LineSums sums;
    for (int i = 0; i < dataCount_; ++i) {
        if (fitFlags[size_t(i)])
            sums.add(plotX_[size_t(i)], plotY_[size_t(i)]);
    }
    if (sums.m < 3)
        return 0;
    float gradient = 0, intercept = 0;
    sums.fit(gradient, intercept);
    if (gradient == 0)
        return 0;
    return float(gndDown_ ? -double(intercept) / gradient : (double(groundLevel_) - intercept) / gradient);
}

// Moves each end of the fit range by one point, out and in, and keeps the largest shift of the
// result. A point is only taken in when it has a plotted value: a clipped zero is not part of a
// straight line.
void clsTz4DataSet::calcRangeUncertainty()
{
    workFunctionUncertaintyRange_ = 0;
    int first = -1, last = -1;
    for (int i = 0; i < dataCount_; ++i) {
        if (fFlags_[size_t(i)]) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return;
    std::vector<char> flags(fFlags_.begin(), fFlags_.begin() + dataCount_);
    double widest = 0;
    auto tryWith = [&](int index, char value) {
        if (index < 0 || index >= dataCount_ || (value && !(plotY_[size_t(index)] > 0)))
            return;
        const char kept = flags[size_t(index)];
        flags[size_t(index)] = value;
        const float moved = workFunctionOf(flags);
        flags[size_t(index)] = kept;
        if (moved != 0)
            widest = std::max(widest, std::abs(double(moved) - workFunction_));
    };
    tryWith(first - 1, 1);
    tryWith(first, 0);
    tryWith(last, 0);
    tryWith(last + 1, 1);
    workFunctionUncertaintyRange_ = widest;
}

} // namespace tz4
