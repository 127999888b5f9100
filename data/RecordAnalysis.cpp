#include "data/RecordAnalysis.h"

#include "data/LeastSquares.h"

#include <algorithm>
#include <cmath>

namespace tz4 {

namespace {

double power(double base, double exponent)
{
    return exponent == 0.5 ? std::sqrt(base) : std::pow(base, exponent);
}

} // namespace

void RecordAnalysis::refresh(int kind, const RecordSettings& settings, const RecordCalibration& calibration,
                             RecordPoints& points)
{
    filter(kind, settings, calibration, points);
    if (kind == KindW || kind == KindT)
        fWork(kind, settings, points);
}

void RecordAnalysis::filter(int kind, const RecordSettings& s, const RecordCalibration& c, RecordPoints& p)
{
    // A C record's counts go through its calibration line, which stands as its line.
    if (kind == KindC) {
        gradient_ = c.lineGradient();
        intercept_ = c.lineIntercept();
    }
    if (p.count() < 1)
        return;
    const size_t count = size_t(p.count());
    switch (kind) {
    case KindW: filterScan(s, c, p); break;
    case KindC:
    case KindD: filterCounts(s, p); break;
    case KindT:
        for (size_t i = 0; i < count; ++i) {
            p.plotX[i] = !s.expLog ? p.x[i] : (p.x[i] > 0 ? log10Single(p.x[i]) : 0.0f);
            p.plotY[i] = p.y[i];
        }
        break;
    default:
        std::copy_n(p.x.begin(), count, p.plotX.begin());
        std::copy_n(p.y.begin(), count, p.plotY.begin());
        break;
    }
    p.measureRanges();
}

// The yield corrected for the light where the adjustment record is applied, then the ground
// taken off and the power applied.
void RecordAnalysis::filterScan(const RecordSettings& s, const RecordCalibration& c, RecordPoints& p)
{
    const size_t count = size_t(p.count());
    const bool corrected = s.adjustFlag && s.adjustNo >= 1;
    for (size_t i = 0; i < count; ++i) {
        const float energy = p.x[i];
        p.plotX[i] = energy;
        p.plotY[i] = p.y[i];
        const float light = corrected ? c.lightAt(energy) : 0.0f;
        if (light != 0)
            p.plotY[i] = float(((double(p.y[i]) * s.measLight) / light) * energy / 5.9);
    }
    calcBase(s, p);
    const double n = s.powerNumber;
    const double g = s.powered() ? power(groundLevel_, 1.0 / n) : double(groundLevel_);
    const bool subtract = s.gndDown && groundLevel_ > 0;
    for (size_t i = 0; i < count; ++i) {
        double y = p.plotY[i];
        if (subtract)
            y = std::max(0.0, y - g);
        if (s.powered())
            y = y > 0 ? power(y, n) : 0.0;
        p.plotY[i] = float(y);
    }
}

// Counts as they are, or their logarithm, through the calibration line where it is applied.
void RecordAnalysis::filterCounts(const RecordSettings& s, RecordPoints& p) const
{
    const bool calibrated = s.adjustFlag && s.adjustNo >= 1;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        p.plotX[i] = p.x[i];
        if (!s.adjustFlag && !s.expLog) {
            p.plotY[i] = p.y[i];
            continue;
        }
        float y = p.y[i] > 0 ? log10Single(p.y[i]) : 0.0f;
        if (calibrated)
            y = float(double(gradient_) * y + intercept_ + s.thick);
        p.plotY[i] = y;
    }
}

// The ground level, in plotted (powered) units, from the light-corrected values of the ground points.
void RecordAnalysis::calcBase(const RecordSettings& s, const RecordPoints& p)
{
    float sum = 0;
    int m = 0;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        if (p.ground[i]) {
            sum += p.plotY[i];
            ++m;
        }
    }
    groundLevel_ = 0;
    groundStdError_ = 0;
    groundLeftIn_ = 0;
    if (m == 0)
        return;
    const double mean = double(sum) / m;
    if (sum > 0)
        groundLevel_ = float(s.powered() ? power(mean, s.powerNumber) : mean);
    else
        groundLeftIn_ = -mean;
    if (m >= 2) {
        double squares = 0;
        for (size_t i = 0; i < size_t(p.count()); ++i) {
            if (p.ground[i])
                squares += (p.plotY[i] - mean) * (p.plotY[i] - mean);
        }
        groundStdError_ = std::sqrt(squares / (m - 1) / m);
    }
}

void RecordAnalysis::fWork(int kind, const RecordSettings& s, const RecordPoints& p)
{
    LineSums sums;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        if (p.fit[i] && !(kind == KindT && p.ground[i]))
            sums.add(p.plotX[i], p.plotY[i]);
    }
    sums.fit(gradient_, intercept_);
    if (kind == KindW) {
        calcWorkFunction(s);
        min2Exp(p);
        calcUncertainty(s, p);
    }
}

void RecordAnalysis::calcWorkFunction(const RecordSettings& s)
{
    if (gradient_ == 0)
        workFunction_ = 0;
    else if (!s.gndDown)
        workFunction_ = float((double(groundLevel_) - intercept_) / gradient_);
    else
        workFunction_ = float(-double(intercept_) / gradient_);
}

void RecordAnalysis::min2Exp(const RecordPoints& p)
{
    const size_t count = size_t(p.count());
    float sumX = 0, sumY = 0;
    int m = 0;
    for (size_t i = 0; i < count; ++i) {
        if (p.fit[i]) {
            sumX += p.plotX[i];
            sumY += p.plotY[i];
            ++m;
        }
    }
    correlation_ = 0;
    if (m == 0)
        return;
    const double meanX = double(sumX) / m;
    const double meanY = double(sumY) / m;
    float a = 0, b = 0, c = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!p.fit[i])
            continue;
        const double dx = p.plotX[i] - meanX;
        const double dy = p.plotY[i] - meanY;
        a += float(dx * dx);
        b += float(dy * dy);
        c += float(dy * p.plotX[i]);
    }
    const double spread = std::sqrt(double(b) / m) * std::sqrt(double(a) / m);
    if (spread != 0)
        correlation_ = float((double(c) / m) / spread);
}

void RecordAnalysis::subtractFit(const RecordSettings& s, RecordPoints& p) const
{
    const double inverse = 1.0 / s.powerNumber;
    for (size_t i = 0; i < size_t(p.count()); ++i) {
        const double line = double(p.x[i]) * gradient_ + intercept_;
        const double graphY = p.plotY[i];
        const double b = graphY > 0 ? std::pow(graphY, inverse) : 0.0;
        if (line <= 0) {
            p.y[i] = float(b);
        } else {
            const double a = std::pow(line, inverse);
            p.y[i] = float(a < b ? b - a : 0.0);
        }
    }
}

} // namespace tz4
