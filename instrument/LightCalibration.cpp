#include "instrument/LightCalibration.h"

#include "core/Formats.h"
#include "core/Tz4Error.h"

namespace tz4 {

namespace {

[[noreturn]] void subscriptOutOfRange()
{
    throw Tz4Error(err::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
}

} // namespace

LightCalibration::LightCalibration() { rangeGain_[0] = 1.0; }

qint16 LightCalibration::rangeFor(double power)
{
    if (power < 0)
        return 9;
    static constexpr double upper[] = {20, 50, 100, 200, 500, 1000, 2000, 5000};
    for (int i = 0; i < 8; ++i)
        if (power <= upper[i])
            return qint16(i + 1);
    return 9;
}

qint16 LightCalibration::filterFor(double power) const
{
    const auto single = [](double value) { return double(float(value)); };
    if (single(spans_[4].minimum) <= power && power <= single(spans_[4].maximum))
        return 4;
    for (int f = 3; f >= 1; --f)
        if (single(spans_[f + 1].maximum) < power && power <= single(spans_[f].maximum))
            return qint16(f);
    return 99;
}

LightCalibration::Span& LightCalibration::span(int filter)
{
    if (filter < 0 || filter >= Filters)
        subscriptOutOfRange();
    return spans_[size_t(filter)];
}

const LightCalibration::Span& LightCalibration::span(int filter) const
{
    return const_cast<LightCalibration*>(this)->span(filter);
}

double LightCalibration::sensitivityAt(double hundredths) const
{
    const qint64 entry = roundHalfEven((hundredths - 340.0) / 5.0);
    if (entry < 0 || entry >= SensitivityEntries)
        subscriptOutOfRange();
    return sensitivity_[size_t(entry)];
}

float LightCalibration::power(float diode, float dark, int range, double hundredths) const
{
    if (range < 0 || range >= Ranges)
        subscriptOutOfRange();
    const double gain = rangeGain_[size_t(range)];
    const double sensitivity = sensitivityAt(hundredths);
    const double net = diode - dark > 0 ? double(diode) - double(dark) : 0.0;
    if (gain == 0 || sensitivity == 0)
        throw Tz4Error(err::DivisionByZero, QStringLiteral("Division by zero"));
    return float(net / gain / (sensitivity * 1000.0));
}

} // namespace tz4
