#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <cmath>

namespace tz4 {

namespace {

// Span memory addresses of one record's three fields.
constexpr int MinimumOffset = 0;
constexpr int MaximumOffset = 5;
constexpr int RangeOffset = 10;

void checkRecord(qint16 numbers)
{
    if (numbers < 0 || numbers > 4)
        throw Tz4Error(err::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
}

} // namespace

qint16 uclTz4Body::CalcLightRange(double power)
{
    EnterProcedure here("uclTz4Body:CalcLightRange");
    if (power < 0)
        return 9;
    static constexpr double upper[] = {20, 50, 100, 200, 500, 1000, 2000, 5000};
    for (int i = 0; i < 8; ++i)
        if (power <= upper[i])
            return qint16(i + 1);
    return 9;
}

qint16 uclTz4Body::CalcFilter(double power) const
{
    EnterProcedure here("uclTz4Body:CalcFilter");
    const auto single = [](double value) { return double(float(value)); };
    if (single(spans_[4].minimum) <= power && power <= single(spans_[4].maximum))
        return 4;
    for (int f = 3; f >= 1; --f)
        if (single(spans_[f + 1].maximum) < power && power <= single(spans_[f].maximum))
            return qint16(f);
    return 99;
}

float uclTz4Body::SetLightMin() const
{
    EnterProcedure here("uclTz4Body:SetLightMin(Get)");
    return float(spans_[4].minimum);
}

float uclTz4Body::SetLightMax() const
{
    EnterProcedure here("uclTz4Body:SetLightMax(Get)");
    return float(spans_[1].maximum);
}

float uclTz4Body::SetLightSpanMin(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanMin(Get)");
    checkRecord(Numbers);
    return float(spans_[Numbers].minimum);
}

float uclTz4Body::SetLightSpanMax(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanMax(Get)");
    checkRecord(Numbers);
    return float(spans_[Numbers].maximum);
}

qint16 uclTz4Body::SetLightSpanRange(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanRange(Get)");
    checkRecord(Numbers);
    return spans_[Numbers].range;
}

void uclTz4Body::writeSpan(const char* process, int address, const QString& value)
{
    lastProcess_ = QLatin1String(process);
    const bool ok = WriteRS232C(QStringLiteral("BO") + formatNumber(address, QStringLiteral("00")))
                    && WriteRS232C(QStringLiteral("BL") + value);
    if (!ok)
        reportFailure();
}

void uclTz4Body::setSetLightSpanMin(qint16 Numbers, float power)
{
    EnterProcedure here("uclTz4Body:SetLightSpanMin(Let)");
    checkRecord(Numbers);
    spans_[Numbers].minimum = power;
    writeSpan("SetLightMin", Numbers + MinimumOffset, uncheckPointDelim(formatNumber(power, QStringLiteral("0000.000"))));
}

void uclTz4Body::setSetLightSpanMax(qint16 Numbers, float power)
{
    EnterProcedure here("uclTz4Body:SetLightSpanMax(Let)");
    checkRecord(Numbers);
    spans_[Numbers].maximum = power;
    writeSpan("SetLightMax", Numbers + MaximumOffset, uncheckPointDelim(formatNumber(power, QStringLiteral("0000.000"))));
}

void uclTz4Body::setSetLightSpanRange(qint16 Numbers, qint16 range)
{
    EnterProcedure here("uclTz4Body:SetLightSpanRange(Let)");
    checkRecord(Numbers);
    spans_[Numbers].range = range;
    writeSpan("SetLightRange", Numbers + RangeOffset, formatNumber(range, QStringLiteral("00000000")));
}

} // namespace tz4
