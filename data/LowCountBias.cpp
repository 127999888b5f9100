#include "data/LowCountBias.h"

#include "data/Tz4DataSet.h"
#include "core/RecordParameters.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <numbers>
#include <vector>

namespace tz4 {

namespace {

constexpr int LongestCountingTime = 3600;
constexpr double MostIntensityFactor = 10;

// Expected largest of `readings` standard normal values.
double normalMaximum(int readings)
{
    constexpr double step = 0.01;
    double sum = 0;
    for (double z = -8; z <= 8; z += step) {
        const double density = std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi);
        const double below = 0.5 * std::erfc(-z / std::sqrt(2.0));
        sum += z * readings * density * std::pow(below, readings - 1) * step;
    }
    return sum;
}

// Expected largest of `readings` Poisson readings of mean `mean`: exact for weak rates, where
// the readings are few whole numbers, and the normal limit above.
double poissonMaximum(double mean, int readings, double normalMax)
{
    if (mean <= 0)
        return 0;
    if (mean > 50)
        return mean + std::sqrt(mean) * normalMax;
    const int last = int(mean + 12 * std::sqrt(mean) + 20);
    double cumulative = 0, sum = 0;
    for (int k = 0; k <= last; ++k) {
        cumulative += std::exp(k * std::log(mean) - mean - std::lgamma(k + 1.0));
        sum += 1 - std::pow(std::min(cumulative, 1.0), readings);
    }
    return sum;
}

// How much lower the mean of the readings is once the highest is dropped.
double dropBias(double mean, int readings, double normalMax)
{
    return (std::max(mean, 0.0) - poissonMaximum(mean, readings, normalMax)) / (readings - 1);
}

struct FitPoint {
    double net;         // counting rate with the background taken off, cps
    double linear;      // plotted value before the power, ground subtracted
    double correction;  // light correction the plotted value carries
    double weight;      // d(work function) / d(plotted value)
};

struct Scan {
    std::vector<FitPoint> points;
    double background = 0;
    double power = 1;
    int readings = 0;
    double uncertainty = 0;

    // The shift for `readings` seconds per point and the intensity times `factor`.
    double shift(int seconds, double factor) const
    {
        const double normalMax = normalMaximum(seconds);
        const double backgroundBias = dropBias(background, seconds, normalMax);
        double total = 0;
        for (const FitPoint& p : points) {
            const double lin = p.linear * factor;
            if (lin <= 0)
                continue;
            const double delta = p.correction * (dropBias(p.net * factor + background, seconds, normalMax) - backgroundBias);
            const double dy = power == 1 ? delta : power * std::pow(lin, power - 1) * delta;
            total += p.weight / std::pow(factor, power) * dy;
        }
        return total;
    }

    // The uncertainty scales with the counting noise of the points.
    double uncertaintyAt(int seconds, double factor) const
    {
        return uncertainty * std::sqrt(double(readings - 1) / (seconds - 1)) / std::sqrt(factor);
    }

    bool significant(int seconds, double factor) const
    {
        return std::abs(shift(seconds, factor)) > uncertaintyAt(seconds, factor) / 4;
    }
};

// The scan's fitted points with what the bias of each depends on; none when fewer than two
// points were fitted.
std::optional<Scan> fittedScan(const clsTz4DataSet& record, int readings, double uncertainty)
{
    Scan scan;
    scan.readings = readings;
    scan.uncertainty = uncertainty;
    scan.background = std::max(0.0, record.Parameters(param::BackgroundCps).toDouble());
    const double n = record.Parameters(param::PowerNumber).toDouble();
    const bool powered = record.ExpLog() && n > 0 && n < 2;
    scan.power = powered ? n : 1;
    const double ground = record.GndDown() && record.GroundLevel() > 0
                              ? (powered ? std::pow(double(record.GroundLevel()), 1 / n) : double(record.GroundLevel()))
                              : 0.0;

    double sx = 0, sxx = 0;
    int m = 0;
    for (int i = 0; i < record.DataCount(); ++i) {
        if (record.ValueF(i)) {
            sx += record.ValueX(i);
            sxx += double(record.ValueX(i)) * record.ValueX(i);
            ++m;
        }
    }
    const double d = m * sxx - sx * sx;
    if (m < 2 || d <= 0)
        return std::nullopt;
    const double phi = record.WorkFunction(), b = record.Gradient();
    for (int i = 0; i < record.DataCount(); ++i) {
        if (!record.ValueF(i))
            continue;
        const double x = record.ValueX(i), y = record.ValueY(i), net = record.OrgValueY(i);
        if (!(y > 0) || !(net > 0))
            continue;
        FitPoint p;
        p.net = net;
        p.linear = powered ? std::pow(y, 1 / n) : y;
        p.correction = (p.linear + ground) / net;
        p.weight = -((sxx - sx * x) / d + phi * (m * x - sx) / d) / b;
        scan.points.push_back(p);
    }
    return scan;
}

// The shift falls with the counting time (and, where the background weighs, with the
// intensity); finds the least of each that keeps it below a quarter of the uncertainty.
void findRemedies(const Scan& scan, int readings, double measuredLight, LowCountBias& result)
{
    if (!scan.significant(LongestCountingTime, 1)) {
        int low = readings, high = LongestCountingTime;
        while (high - low > 1) {
            const int mid = (low + high) / 2;
            (scan.significant(mid, 1) ? low : high) = mid;
        }
        result.countingTime = high;
    }
    if (!scan.significant(readings, MostIntensityFactor)) {
        double low = 1, high = MostIntensityFactor;
        for (int step = 0; step < 30; ++step) {
            const double mid = (low + high) / 2;
            (scan.significant(readings, mid) ? low : high) = mid;
        }
        result.intensity = high * measuredLight;
    }
}

} // namespace

LowCountBias EstimateLowCountBias(const clsTz4DataSet& record)
{
    LowCountBias result;
    // Weighed against the counting statistics alone: that part shrinks with longer counting, as the
    // shift does, while the fit-range part belongs to the choice of range.
    result.uncertainty = record.WorkFunctionUncertaintyStatistical();
    const int readings = int(std::lround(record.Parameters(param::CountingTime).toDouble()));
    if (record.Kind() != clsTz4DataSet::KindW || record.Gradient() == 0 || result.uncertainty <= 0 || readings < 2)
        return result;
    const std::optional<Scan> scan = fittedScan(record, readings, result.uncertainty);
    if (!scan)
        return result;
    result.shift = scan->shift(readings, 1);
    result.significant = std::abs(result.shift) > result.uncertainty / 4;
    if (result.significant)
        findRemedies(*scan, readings, record.Parameters(param::MeasuredLight).toDouble(), result);
    return result;
}

QString LowCountWarningText(const LowCountBias& bias)
{
    if (!bias.significant)
        return {};
    QString remedy;
    if (bias.countingTime > 0 && bias.intensity > 0)
        remedy = QStringLiteral("; a counting time of %1 s or a UV intensity of %2 nW would avoid it")
                     .arg(bias.countingTime)
                     .arg(std::ceil(bias.intensity));
    else if (bias.countingTime > 0)
        remedy = QStringLiteral("; a counting time of %1 s would avoid it").arg(bias.countingTime);
    else if (bias.intensity > 0)
        remedy = QStringLiteral("; a UV intensity of %1 nW would avoid it").arg(std::ceil(bias.intensity));
    return QStringLiteral("Low counts: dropping the highest reading of each point shifts the work function by about "
                          "%1 eV, more than a quarter of its statistical uncertainty (%2 eV)%3.")
        .arg(bias.shift, 0, 'f', 3)
        .arg(bias.uncertainty, 0, 'f', 3)
        .arg(remedy);
}

} // namespace tz4
