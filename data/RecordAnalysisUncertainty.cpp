#include "data/RecordAnalysis.h"

#include "data/LeastSquares.h"

#include <algorithm>
#include <cmath>

namespace tz4 {

FitMoments FitMoments::of(const RecordPoints& points)
{
    FitMoments moments;
    for (size_t i = 0; i < size_t(points.count()); ++i) {
        if (points.fit[i]) {
            const double x = points.plotX[i];
            moments.sx += x;
            moments.sxx += x * x;
            ++moments.m;
        }
    }
    return moments;
}

// Propagates the least-squares covariance of intercept and gradient, and the standard error of
// the ground mean where the ground enters the result, into the work function.
void RecordAnalysis::calcUncertainty(const RecordSettings& s, const RecordPoints& p)
{
    uncertainty_ = 0;
    uncertaintyStatistical_ = 0;
    uncertaintyRange_ = 0;
    if (workFunction_ == 0 || gradient_ == 0)
        return;
    const FitMoments moments = FitMoments::of(p);
    const double sx = moments.sx, sxx = moments.sxx, d = moments.d();
    const int m = moments.m;
    if (m < 3 || d <= 0)
        return;
    calcRangeUncertainty(s, p);
    const double a = intercept_, b = gradient_, phi = workFunction_;
    double residuals = 0;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        if (p.fit[i]) {
            const double r = p.plotY[i] - (a + b * p.plotX[i]);
            residuals += r * r;
        }
    }
    const double s2 = residuals / (m - 2);
    const double varA = s2 * sxx / d, varB = s2 * m / d, covAB = -s2 * sx / d;
    const double variance = (varA + phi * phi * varB + 2 * phi * covAB) / (b * b) + groundVariance(s, p, moments);
    uncertaintyStatistical_ = std::sqrt(std::max(0.0, variance));
    uncertainty_ = std::hypot(uncertaintyStatistical_, uncertaintyRange_);
}

// The part of the work function's variance the ground level brings. A ground that averages
// below zero is not taken off (the level stays 0), so the offset it leaves in every point counts
// beside the scatter of its mean.
double RecordAnalysis::groundVariance(const RecordSettings& s, const RecordPoints& p, const FitMoments& moments) const
{
    const double groundSpread = std::hypot(groundStdError_, groundLeftIn_);
    if (!(groundSpread > 0))
        return 0;
    const double n = s.powerNumber, b = gradient_, phi = workFunction_;
    const bool powered = s.powered();
    if (!s.gndDown) {
        const double mean = powered ? std::pow(double(groundLevel_), 1.0 / n) : double(groundLevel_);
        double term = 0;
        if (groundLevel_ > 0)
            term = (powered ? n * std::pow(mean, n - 1) : 1.0) * groundSpread / b;
        else
            term = (powered ? std::pow(groundSpread, n) : groundSpread) / b;
        return term * term;
    }
    // Moving the subtracted ground by dg moves every fitted value by dy/dg; follow it through
    // the linear fit: dphi = -(da + phi db) / b.
    const double sx = moments.sx, sxx = moments.sxx, d = moments.d();
    const int m = moments.m;
    double da = 0, db = 0;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        if (!p.fit[i] || p.plotY[i] <= 0)
            continue;
        const double y = p.plotY[i];
        const double dy = powered ? -n * std::pow(y, (n - 1) / n) : -1.0;
        da += (sxx - sx * p.plotX[i]) / d * dy;
        db += (m * p.plotX[i] - sx) / d * dy;
    }
    const double term = -(da + phi * db) / b * groundSpread;
    return term * term;
}

// The work function the same regression gives for another choice of fit points, with the
// ground level as it stands.
float RecordAnalysis::workFunctionOf(const RecordSettings& s, const RecordPoints& p,
                                     const std::vector<char>& fitFlags) const
{
    LineSums sums;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        if (fitFlags[i])
            sums.add(p.plotX[i], p.plotY[i]);
    }
    if (sums.m < 3)
        return 0;
    float gradient = 0, intercept = 0;
    sums.fit(gradient, intercept);
    if (gradient == 0)
        return 0;
    return float(s.gndDown ? -double(intercept) / gradient : (double(groundLevel_) - intercept) / gradient);
}

// Moves each end of the fit range by one point, out and in, and keeps the largest shift of the
// result. A point is only taken in when it has a plotted value: a clipped zero is not part of a
// straight line.
void RecordAnalysis::calcRangeUncertainty(const RecordSettings& s, const RecordPoints& p)
{
    uncertaintyRange_ = 0;
    const int count = p.count();
    int first = -1, last = -1;
    for (int i = 0; i < count; ++i) {
        if (p.fit[size_t(i)]) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return;
    std::vector<char> flags(p.fit.begin(), p.fit.begin() + count);
    double widest = 0;
    auto tryWith = [&](int index, char value) {
        if (index < 0 || index >= count || (value && !(p.plotY[size_t(index)] > 0)))
            return;
        const char kept = flags[size_t(index)];
        flags[size_t(index)] = value;
        const float moved = workFunctionOf(s, p, flags);
        flags[size_t(index)] = kept;
        if (moved != 0)
            widest = std::max(widest, std::abs(double(moved) - workFunction_));
    };
    tryWith(first - 1, 1);
    tryWith(first, 0);
    tryWith(last, 0);
    tryWith(last + 1, 1);
    uncertaintyRange_ = widest;
}

} // namespace tz4
