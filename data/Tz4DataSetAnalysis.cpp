#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
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

bool clsTz4DataSet::Rect::contains(float x, float y) const
{
    return std::min(x1, x2) <= x && x <= std::max(x1, x2) && std::min(y1, y2) <= y && y <= std::max(y1, y2);
}

void clsTz4DataSet::setGndDown(bool on)
{
    gndDown_ = on;
    FilterData();
}

void clsTz4DataSet::setExpLog(bool on)
{
    expLog_ = on;
    Refresh();
}

void clsTz4DataSet::setAdjustFlag(bool on)
{
    adjustFlag_ = on;
    Refresh();
}

void clsTz4DataSet::Refresh()
{
    FilterData();
    if (kind_ == KindW || kind_ == KindT)
        fWork();
}

void clsTz4DataSet::FilterData()
{
    if (dataCount_ < 1)
        return;
    const size_t count = size_t(dataCount_);
    const double n = powerNumber_;
    switch (kind_) {
    case KindW: {
        const bool corrected = adjustFlag_ && adjustNo_ >= 1;
        for (size_t i = 0; i < count; ++i) {
            const float energy = dataX_[i];
            plotX_[i] = energy;
            plotY_[i] = dataY_[i];
            if (!corrected)
                continue;
            // One light-table entry per 0.05 eV from 3.4 eV; a point outside the table stays uncorrected.
            const qint64 k = roundHalfEven(double(energy) * 20 - 68);
            if (k < 0 || k >= qint64(lightTable_.size()) || lightTable_[size_t(k)] == 0)
                continue;
            plotY_[i] = float(((double(dataY_[i]) * measLight_) / lightTable_[size_t(k)]) * energy / 5.9);
        }
        calcBase();
        const double g = powered() ? power(groundLevel_, 1.0 / n) : double(groundLevel_);
        const bool subtract = gndDown_ && groundLevel_ > 0;
        for (size_t i = 0; i < count; ++i) {
            double y = plotY_[i];
            if (subtract)
                y = std::max(0.0, y - g);
            if (powered())
                y = y > 0 ? power(y, n) : 0.0;
            plotY_[i] = float(y);
        }
        break;
    }
    case KindC:
    case KindD: {
        const bool calibrated = adjustFlag_ && adjustNo_ >= 1;
        for (size_t i = 0; i < count; ++i) {
            plotX_[i] = dataX_[i];
            if (!adjustFlag_ && !expLog_) {
                plotY_[i] = dataY_[i];
                continue;
            }
            float y = dataY_[i] > 0 ? log10Single(dataY_[i]) : 0.0f;
            if (calibrated)
                y = float(double(gradient_) * y + intercept_ + thick_);
            plotY_[i] = y;
        }
        break;
    }
    case KindT:
        for (size_t i = 0; i < count; ++i) {
            plotX_[i] = !expLog_ ? dataX_[i] : (dataX_[i] > 0 ? log10Single(dataX_[i]) : 0.0f);
            plotY_[i] = dataY_[i];
        }
        break;
    default:
        std::copy_n(dataX_.begin(), count, plotX_.begin());
        std::copy_n(dataY_.begin(), count, plotY_.begin());
        break;
    }

    float minX = 1e21f, minY = 1e21f, maxX = -1e21f, maxY = -1e21f;
    for (size_t i = 0; i < count; ++i) {
        minX = std::min(minX, plotX_[i]);
        maxX = std::max(maxX, plotX_[i]);
        minY = std::min(minY, plotY_[i]);
        maxY = std::max(maxY, plotY_[i]);
    }
    if (minX > 1e20f)
        minX = -1;
    if (minY > 1e20f)
        minY = -1;
    if (maxX < -1e20f)
        maxX = -1;
    if (maxY < -1e20f)
        maxY = -1;
    rangeX_[0] = minX;
    rangeX_[1] = maxX;
    rangeY_[0] = minY;
    rangeY_[1] = maxY;
    if (dataCount_ >= 2) {
        rangeX_[2] = float((double(maxX) - minX) / (dataCount_ - 1));
        rangeY_[2] = float((double(maxY) - minY) / 11);
    } else {
        rangeX_[2] = 1;
        rangeY_[2] = 1;
    }
}

// The ground level, in plotted (powered) units, from the light-corrected values of the ground points.
void clsTz4DataSet::calcBase()
{
    float sum = 0;
    int m = 0;
    for (int i = 0; i < dataCount_; ++i) {
        if (gFlags_[size_t(i)]) {
            sum += plotY_[size_t(i)];
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
        groundLevel_ = float(powered() ? power(mean, powerNumber_) : mean);
    else
        groundLeftIn_ = -mean;
    if (m >= 2) {
        double squares = 0;
        for (int i = 0; i < dataCount_; ++i) {
            if (gFlags_[size_t(i)])
                squares += (plotY_[size_t(i)] - mean) * (plotY_[size_t(i)] - mean);
        }
        groundStdError_ = std::sqrt(squares / (m - 1) / m);
    }
}

void clsTz4DataSet::fWork()
{
    LineSums sums;
    for (int i = 0; i < dataCount_; ++i) {
        const size_t p = size_t(i);
        if (fFlags_[p] && !(kind_ == KindT && gFlags_[p]))
            sums.add(plotX_[p], plotY_[p]);
    }
    sums.fit(gradient_, intercept_);
    if (kind_ == KindW) {
        calcWorkFunction();
        min2Exp();
        calcUncertainty();
    }
}

void clsTz4DataSet::calcWorkFunction()
{
    if (gradient_ == 0)
        workFunction_ = 0;
    else if (!gndDown_)
        workFunction_ = float((double(groundLevel_) - intercept_) / gradient_);
    else
        workFunction_ = float(-double(intercept_) / gradient_);
}

void clsTz4DataSet::min2Exp()
{
    float sumX = 0, sumY = 0;
    int m = 0;
    for (int i = 0; i < dataCount_; ++i) {
        if (fFlags_[size_t(i)]) {
            sumX += plotX_[size_t(i)];
            sumY += plotY_[size_t(i)];
            ++m;
        }
    }
    correlation_ = 0;
    if (m == 0)
        return;
    const double meanX = double(sumX) / m;
    const double meanY = double(sumY) / m;
    float a = 0, b = 0, c = 0;
    for (int i = 0; i < dataCount_; ++i) {
        if (!fFlags_[size_t(i)])
            continue;
        const double dx = plotX_[size_t(i)] - meanX;
        const double dy = plotY_[size_t(i)] - meanY;
        a += float(dx * dx);
        b += float(dy * dy);
        c += float(dy * plotX_[size_t(i)]);
    }
    const double spread = std::sqrt(double(b) / m) * std::sqrt(double(a) / m);
    if (spread != 0)
        correlation_ = float((double(c) / m) / spread);
}

// Propagates the least-squares covariance of intercept and gradient, and the standard error of
// the ground mean where the ground enters the result, into the work function.
void clsTz4DataSet::calcUncertainty()
{
    workFunctionUncertainty_ = 0;
    workFunctionUncertaintyStatistical_ = 0;
    workFunctionUncertaintyRange_ = 0;
    if (workFunction_ == 0 || gradient_ == 0)
        return;
    double sx = 0, sxx = 0;
    int m = 0;
    for (int i = 0; i < dataCount_; ++i) {
        if (fFlags_[size_t(i)]) {
            sx += plotX_[size_t(i)];
            sxx += double(plotX_[size_t(i)]) * plotX_[size_t(i)];
            ++m;
        }
    }
    const double d = m * sxx - sx * sx;
    if (m < 3 || d <= 0)
        return;
    calcRangeUncertainty();
    const double a = intercept_, b = gradient_, phi = workFunction_;
    double residuals = 0;
    for (int i = 0; i < dataCount_; ++i) {
        if (fFlags_[size_t(i)]) {
            const double r = plotY_[size_t(i)] - (a + b * plotX_[size_t(i)]);
            residuals += r * r;
        }
    }
    const double s2 = residuals / (m - 2);
    const double varA = s2 * sxx / d, varB = s2 * m / d, covAB = -s2 * sx / d;
    double variance = (varA + phi * phi * varB + 2 * phi * covAB) / (b * b);

    // A ground that averages below zero is not taken off (the level stays 0), so the offset it
    // leaves in every point counts beside the scatter of its mean.
    const double groundSpread = std::hypot(groundStdError_, groundLeftIn_);
    if (groundSpread > 0) {
        const double n = powerNumber_;
        const double mean = powered() ? power(groundLevel_, 1.0 / n) : double(groundLevel_);
        if (!gndDown_) {
            double term = 0;
            if (groundLevel_ > 0)
                term = (powered() ? n * std::pow(mean, n - 1) : 1.0) * groundSpread / b;
            else
                term = (powered() ? std::pow(groundSpread, n) : groundSpread) / b;
            variance += term * term;
        } else {
            // Moving the subtracted ground by dg moves every fitted value by dy/dg; follow it
            // through the linear fit: dphi = -(da + phi db) / b.
            double da = 0, db = 0;
            for (int i = 0; i < dataCount_; ++i) {
                const size_t p = size_t(i);
                if (!fFlags_[p] || plotY_[p] <= 0)
                    continue;
                const double y = plotY_[p];
                const double dy = powered() ? -n * std::pow(y, (n - 1) / n) : -1.0;
                da += (sxx - sx * plotX_[p]) / d * dy;
                db += (m * plotX_[p] - sx) / d * dy;
            }
            const double term = -(da + phi * db) / b * groundSpread;
            variance += term * term;
        }
    }
    workFunctionUncertaintyStatistical_ = std::sqrt(std::max(0.0, variance));
    workFunctionUncertainty_ = std::hypot(workFunctionUncertaintyStatistical_, workFunctionUncertaintyRange_);
}

void clsTz4DataSet::RefreshGFlag()
{
    for (int i = 0; i < dataCount_; ++i)
        gFlags_[size_t(i)] = groundRect_.contains(plotX_[size_t(i)], plotY_[size_t(i)]);
}

void clsTz4DataSet::AddGFlag()
{
    for (int i = 0; i < dataCount_; ++i) {
        if (groundRect_.contains(plotX_[size_t(i)], plotY_[size_t(i)]))
            gFlags_[size_t(i)] = 1;
    }
}

void clsTz4DataSet::DelGFlag()
{
    for (int i = 0; i < dataCount_; ++i) {
        if (groundRect_.contains(plotX_[size_t(i)], plotY_[size_t(i)]))
            gFlags_[size_t(i)] = 0;
    }
}

void clsTz4DataSet::applyFitRect()
{
    for (int i = 0; i < dataCount_; ++i)
        fFlags_[size_t(i)] = fitRect_.contains(plotX_[size_t(i)], plotY_[size_t(i)]);
}

bool clsTz4DataSet::CreateWfSubtruct()
{
    EnterProcedure here("clsTz4DataSet:CreateWfSubtruct");
    if (!(powerNumber_ > 0 && powerNumber_ < 2))
        return false;
    FilterData();
    const double inverse = 1.0 / powerNumber_;
    for (int i = 0; i < dataCount_; ++i) {
        const size_t p = size_t(i);
        const double line = double(dataX_[p]) * gradient_ + intercept_;
        const double graphY = plotY_[p];
        const double b = graphY > 0 ? std::pow(graphY, inverse) : 0.0;
        if (line <= 0) {
            dataY_[p] = float(b);
        } else {
            const double a = std::pow(line, inverse);
            dataY_[p] = float(a < b ? b - a : 0.0);
        }
    }
    sampleName_ += QStringLiteral("_Dif");
    adjustNo_ = 0;
    groundRect_ = {};
    fitRect_ = {};
    adjustFlag_ = false;
    expLog_ = true;
    gndDown_ = false;
    std::fill(gFlags_.begin(), gFlags_.end(), 0);
    std::fill(fFlags_.begin(), fFlags_.end(), 0);
    setKey(letterOfKind(kind_));
    const bool stored = dataBaseName_.isEmpty() || AddDatas();
    Refresh();
    return stored;
}

} // namespace tz4
