#pragma once

#include <cmath>

namespace tz4 {

// log10 as the analysis has always computed it: both logarithms rounded to single first.
inline float log10Single(float value)
{
    const float ln = float(std::log(double(value)));
    const float ln10 = float(std::log(10.0));
    return ln / ln10;
}

// A straight-line fit whose sums are kept in single precision and whose formulas run in
// double, so stored lines and work functions keep their exact values.
struct LineSums {
    float sx = 0;
    float sxx = 0;
    float sxy = 0;
    float sy = 0;
    int m = 0;

    void add(float x, float y)
    {
        sx += x;
        sxx += x * x;
        sxy += x * y;
        sy += y;
        ++m;
    }

    // A degenerate set (no points, a zero sum or a vertical line) gives gradient and intercept 0.
    void fit(float& gradient, float& intercept) const
    {
        if (m == 0 || sx == 0 || sxx == 0 || sy == 0 || float(double(m) * sxx) == float(double(sx) * sx)) {
            gradient = 0;
            intercept = 0;
            return;
        }
        const double d = double(m) * sxx - double(sx) * sx;
        gradient = float((double(m) * sxy - double(sy) * sx) / d);
        intercept = float((double(sy) * sxx - double(sxy) * sx) / d);
    }
};

} // namespace tz4
