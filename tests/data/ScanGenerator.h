#pragma once

#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace tz4::test {

// A work-function scan counted the way the instrument counts it: per point `seconds`
// one-second Poisson readings of yield plus background with the highest dropped, less the
// background counted the same way with the light blocked.
struct ScanSpec {
    double workFunction = 5.0;
    double power = 0.5;        // n: the yield grows as (E - phi)^(1/n)
    double amplitude = 1000;   // cps one eV above the threshold
    double background = 15;    // cps
    int seconds = 10;
    double start = 3.8, end = 6.2, step = 0.05;
    bool dropHighest = true;
};

inline float countedRate(double rate, int seconds, bool dropHighest, std::mt19937_64& random)
{
    std::poisson_distribution<int> poisson(std::max(rate, 1e-9));
    std::vector<int> readings(static_cast<size_t>(seconds));
    for (int& r : readings)
        r = poisson(random);
    double sum = 0;
    for (int r : readings)
        sum += r;
    if (!dropHighest)
        return float(sum / seconds);
    return float((sum - *std::max_element(readings.begin(), readings.end())) / (seconds - 1));
}

inline clsTz4DataSet generatedScan(const ScanSpec& shape, unsigned seed)
{
    std::mt19937_64 random(seed);
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    const int count = int(std::lround((shape.end - shape.start) / shape.step)) + 1;
    const float background = countedRate(shape.background, shape.seconds, shape.dropHighest, random);
    r.setDataCount(count);
    for (int i = 0; i < count; ++i) {
        const double e = shape.start + shape.step * i;
        const double yield = e > shape.workFunction ? shape.amplitude * std::pow(e - shape.workFunction, 1 / shape.power) : 0;
        r.setOrgValueX(float(std::lround(e * 100) / 100.0), i);
        r.setOrgValueY(countedRate(yield + shape.background, shape.seconds, shape.dropHighest, random) - background, i);
    }
    r.setParameters(param::PowerNumber, float(shape.power));
    r.setParameters(param::BackgroundCps, background);
    r.setParameters(param::CountingTime, shape.seconds);
    r.setParameters(param::MeasuredLight, 20.0f);
    r.setExpLog(true);
    r.setGndDown(true);
    r.Refresh();
    return r;
}

} // namespace tz4::test
