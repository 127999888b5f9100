#include "instrument/Tz4LightModel.h"

#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Registers.h"
#include "instrument/Tz4Sequences.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"

#include <cmath>

namespace tz4 {

namespace {

// Span memory addresses of one record's three fields.
constexpr int MinimumOffset = 0;
constexpr int MaximumOffset = 5;
constexpr int RangeOffset = 10;

constexpr int DarkReadings = 10;

} // namespace

Tz4LightModel::Tz4LightModel(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences, LightCalibration& calibration)
    : link_(link), registers_(registers), sequences_(sequences), calibration_(calibration)
{
}

qint16 Tz4LightModel::CalcLightRange(double power)
{
    EnterProcedure here("uclTz4Body:CalcLightRange");
    return LightCalibration::rangeFor(power);
}

qint16 Tz4LightModel::CalcFilter(double power) const
{
    EnterProcedure here("uclTz4Body:CalcFilter");
    return calibration_.filterFor(power);
}

float Tz4LightModel::SetLightMin() const
{
    EnterProcedure here("uclTz4Body:SetLightMin(Get)");
    return float(calibration_.span(4).minimum);
}

float Tz4LightModel::SetLightMax() const
{
    EnterProcedure here("uclTz4Body:SetLightMax(Get)");
    return float(calibration_.span(1).maximum);
}

float Tz4LightModel::SetLightSpanMin(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanMin(Get)");
    return float(calibration_.span(Numbers).minimum);
}

float Tz4LightModel::SetLightSpanMax(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanMax(Get)");
    return float(calibration_.span(Numbers).maximum);
}

qint16 Tz4LightModel::SetLightSpanRange(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanRange(Get)");
    return calibration_.span(Numbers).range;
}

void Tz4LightModel::writeSpan(const char* process, int address, const QString& value)
{
    link_.setLastProcess(QLatin1String(process));
    const bool ok = link_.WriteRS232C(QStringLiteral("BO") + formatNumber(address, QStringLiteral("00")))
                    && link_.WriteRS232C(QStringLiteral("BL") + value);
    if (!ok)
        link_.reportFailure();
}

void Tz4LightModel::setSetLightSpanMin(qint16 Numbers, float power)
{
    EnterProcedure here("uclTz4Body:SetLightSpanMin(Let)");
    calibration_.span(Numbers).minimum = power;
    writeSpan("SetLightMin", Numbers + MinimumOffset, uncheckPointDelim(formatNumber(power, QStringLiteral("0000.000"))));
}

void Tz4LightModel::setSetLightSpanMax(qint16 Numbers, float power)
{
    EnterProcedure here("uclTz4Body:SetLightSpanMax(Let)");
    calibration_.span(Numbers).maximum = power;
    writeSpan("SetLightMax", Numbers + MaximumOffset, uncheckPointDelim(formatNumber(power, QStringLiteral("0000.000"))));
}

void Tz4LightModel::setSetLightSpanRange(qint16 Numbers, qint16 range)
{
    EnterProcedure here("uclTz4Body:SetLightSpanRange(Let)");
    calibration_.span(Numbers).range = range;
    writeSpan("SetLightRange", Numbers + RangeOffset, formatNumber(range, QStringLiteral("00000000")));
}

float Tz4LightModel::LightRangeAdjust(qint16 Range) const
{
    EnterProcedure here("uclTz4Body:LightRangeAdjust(Get)");
    return Range >= 1 && Range < LightCalibration::Ranges ? float(calibration_.rangeGain(Range)) : 0.0f;
}

float Tz4LightModel::PhotoDiodeAdjust(float Eng) const
{
    EnterProcedure here("uclTz4Body:PhotoDiodeAdjust(Get)");
    return float(calibration_.sensitivityAt(double(Eng) * 100.0));
}

float Tz4LightModel::LightWatt(float diode, float dark)
{
    EnterProcedure here("uclTz4Body:LightWatt");
    if (!link_.isOpen() || link_.Canceled())
        return 0;
    return calibration_.power(diode, dark, registers_.held().lightRange, double(roundHalfEven(double(registers_.Energen()) * 100.0)));
}

void Tz4LightModel::LightRangeToPower(double power)
{
    EnterProcedure here("uclTz4Body:LightRangeToPower");
    if (link_.isOpen())
        registers_.setLightRange(CalcLightRange(power));
}

void Tz4LightModel::FilterToPower(double power)
{
    EnterProcedure here("uclTz4Body:FilterToPower");
    if (link_.isOpen())
        registers_.setFilter(CalcFilter(power));
}

float Tz4LightModel::averageDiode(int readings)
{
    qint32 sum = 0;
    for (int i = 0; i < readings; ++i) {
        sum += qint32(roundHalfEven(registers_.DiodeVolts()));
        link_.clock().processEvents();
    }
    return float(sum) / float(readings);
}

float Tz4LightModel::BackLight()
{
    EnterProcedure here("uclTz4Body:BackLight(Get)");
    if (!link_.isOpen())
        return 0;
    const qint16 remembered = registers_.held().filter;
    sequences_.InitFilter();
    registers_.CpsValue(); // makes the instrument refresh its photodiode reading
    const float dark = averageDiode(DarkReadings);
    registers_.setFilter(remembered);
    return dark;
}

float Tz4LightModel::GetLightPower()
{
    EnterProcedure here("uclTz4Body:GetLightPower");
    if (!link_.isOpen()) {
        lastLight_ = 0;
        return 0;
    }
    float power = 0;
    // Two ranges whose readings point at each other repeat until the run is cancelled.
    for (;;) {
        if (link_.Canceled()) {
            lastLight_ = 0;
            return 0;
        }
        const float dark = BackLight();
        registers_.CpsValue();
        const float diode = registers_.DiodeVolts();
        power = LightWatt(diode, dark);
        const qint16 wanted = CalcLightRange(power);
        if (wanted == registers_.LightRange())
            break;
        registers_.setLightRange(wanted);
    }
    lastLight_ = power;
    return power;
}

} // namespace tz4
