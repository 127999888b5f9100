#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"
#include "instrument/ProcType.h"

#include <cmath>

namespace tz4 {

namespace {

// Span memory addresses of one record's three fields.
constexpr int MinimumOffset = 0;
constexpr int MaximumOffset = 5;
constexpr int RangeOffset = 10;

} // namespace

qint16 uclTz4Body::CalcLightRange(double power)
{
    EnterProcedure here("uclTz4Body:CalcLightRange");
    return LightCalibration::rangeFor(power);
}

qint16 uclTz4Body::CalcFilter(double power) const
{
    EnterProcedure here("uclTz4Body:CalcFilter");
    return light_.filterFor(power);
}

float uclTz4Body::SetLightMin() const
{
    EnterProcedure here("uclTz4Body:SetLightMin(Get)");
    return float(light_.span(4).minimum);
}

float uclTz4Body::SetLightMax() const
{
    EnterProcedure here("uclTz4Body:SetLightMax(Get)");
    return float(light_.span(1).maximum);
}

float uclTz4Body::SetLightSpanMin(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanMin(Get)");
    return float(light_.span(Numbers).minimum);
}

float uclTz4Body::SetLightSpanMax(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanMax(Get)");
    return float(light_.span(Numbers).maximum);
}

qint16 uclTz4Body::SetLightSpanRange(qint16 Numbers) const
{
    EnterProcedure here("uclTz4Body:SetLightSpanRange(Get)");
    return light_.span(Numbers).range;
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
    light_.span(Numbers).minimum = power;
    writeSpan("SetLightMin", Numbers + MinimumOffset, uncheckPointDelim(formatNumber(power, QStringLiteral("0000.000"))));
}

void uclTz4Body::setSetLightSpanMax(qint16 Numbers, float power)
{
    EnterProcedure here("uclTz4Body:SetLightSpanMax(Let)");
    light_.span(Numbers).maximum = power;
    writeSpan("SetLightMax", Numbers + MaximumOffset, uncheckPointDelim(formatNumber(power, QStringLiteral("0000.000"))));
}

void uclTz4Body::setSetLightSpanRange(qint16 Numbers, qint16 range)
{
    EnterProcedure here("uclTz4Body:SetLightSpanRange(Let)");
    light_.span(Numbers).range = range;
    writeSpan("SetLightRange", Numbers + RangeOffset, formatNumber(range, QStringLiteral("00000000")));
}

} // namespace tz4

namespace tz4 {

float uclTz4Body::LightWatt(float diode, float dark)
{
    EnterProcedure here("uclTz4Body:LightWatt");
    if (!line_.isOpen() || canceled_)
        return 0;
    return light_.power(diode, dark, lightRange_, double(roundHalfEven(double(Energen()) * 100.0)));
}

void uclTz4Body::LightRangeToPower(double power)
{
    EnterProcedure here("uclTz4Body:LightRangeToPower");
    if (line_.isOpen())
        setLightRange(CalcLightRange(power));
}

void uclTz4Body::FilterToPower(double power)
{
    EnterProcedure here("uclTz4Body:FilterToPower");
    if (line_.isOpen())
        setFilter(CalcFilter(power));
}

float uclTz4Body::averageDiode(int readings)
{
    qint32 sum = 0;
    for (int i = 0; i < readings; ++i) {
        sum += qint32(roundHalfEven(DiodeVolts()));
        clock_.processEvents();
    }
    return float(sum) / float(readings);
}

float uclTz4Body::BackLight()
{
    EnterProcedure here("uclTz4Body:BackLight(Get)");
    if (!line_.isOpen())
        return 0;
    const qint16 remembered = filter_;
    InitFilter();
    CpsValue(); // makes the instrument refresh its photodiode reading
    const float dark = averageDiode(10);
    setFilter(remembered);
    return dark;
}

void uclTz4Body::setBackLight(float)
{
    EnterProcedure here("uclTz4Body:BackLight(Let)");
    throw Tz4Error(err::PropertyReadOnly, QStringLiteral("Set not supported (read-only property)"));
}

float uclTz4Body::GetLightPower()
{
    EnterProcedure here("uclTz4Body:GetLightPower");
    if (!line_.isOpen()) {
        lastLight_ = 0;
        return 0;
    }
    float power = 0;
    // Two ranges whose readings point at each other repeat until the run is cancelled.
    for (;;) {
        if (canceled_) {
            lastLight_ = 0;
            return 0;
        }
        const float dark = BackLight();
        CpsValue();
        const float diode = DiodeVolts();
        power = LightWatt(diode, dark);
        const qint16 wanted = CalcLightRange(power);
        if (wanted == LightRange())
            break;
        setLightRange(wanted);
    }
    lastLight_ = power;
    return power;
}

void uclTz4Body::SetLightPower(float Target)
{
    EnterProcedure here("uclTz4Body:SetLightPower");
    if (!beginProcedure(&uclTz4Body::ProcSetLight))
        return;
    const ProcedureGuard guard(*this, true);
    StageToPhotoDiode();
    FilterToPower(Target);
    LightRangeToPower(Target);
    setMeasTime(5);
    setOverTime(450);
    emit ProcSetLight(proc::Started, {}, {});

    const float dark = BackLight();
    InitEyeris();
    // Halving search on the iris; a larger value passes less light, and the iris is always
    // approached from its origin when it has to open further.
    qint32 iris = 1000;
    qint32 previous = 0;
    float power = 0;
    while (iris != previous && !canceled_) {
        setEyeris(qint16(iris));
        CpsValue();
        const qint32 distance = std::abs(iris - previous);
        const int readings = int(qMax<qint64>(1, roundHalfEven(30.0 / distance)));
        power = LightWatt(averageDiode(readings), dark);
        emit ProcSetLight(proc::PointMeasured, power, iris);
        const qint32 step = qint32(roundHalfEven(distance / 2.0));
        previous = iris;
        if (power > Target + 0.1) {
            iris += step;
        } else if (power < Target - 0.1) {
            InitEyeris();
            iris -= step;
        } else {
            break;
        }
    }
    InitEyeris();
    if (!canceled_) {
        setEyeris(qint16(iris));
        lastLight_ = power;
        if (datas_)
            datas_->setParameter(22, power);
        const bool close = 0.95 * Target < power && power < 1.05 * Target;
        emit ProcSetLight(close ? proc::Finished : proc::LightOutOfTolerance, power, iris);
    }
    if (canceled_) {
        InitFilter();
        lastLight_ = 0;
        BodyCancelProcess();
        emit ProcSetLight(proc::Cancelled, {}, {});
    }
    InitFilter(); // the light stays blocked until a measurement opens it
    busy_ = false;
    Refresh();
}

void uclTz4Body::MakeLightBase(float SetUpEng)
{
    EnterProcedure here("uclTz4Body:MeasLightBase");
    if (!beginProcedure(&uclTz4Body::ProcBase))
        return;
    const ProcedureGuard guard(*this, true);
    setOverTime(450);
    setMeasTime(2);
    StageToPhotoDiode();
    setLightWave(260);
    WaitIdle();
    InitEyeris();
    InitFilter();
    setEnergen(SetUpEng);
    WaitIdle();
    emit ProcBase(proc::Started, {}, {});

    // The instrument reports an overflowing reading as 99999.
    const auto checked = [](float reading) { return reading == 99999.0f ? 0.0f : reading; };
    if (!canceled_) {
        setFilter(1);
        setEyeris(2000);
        setLightRange(9);
        setSetLightSpanMin(1, checked(GetLightPower()));
        emit ProcBase(proc::BaseSpanMinimum, SetLightSpanMin(1), {});
    }
    if (!canceled_) {
        setFilter(2);
        InitEyeris();
        setLightRange(9);
        setSetLightSpanMax(2, checked(GetLightPower()));
        emit ProcBase(proc::BaseSpanMaximum, SetLightSpanMax(2), {});
    }

    // Find the iris that puts filter 2 half way between filter 1's least and filter 2's most.
    const float mid = float((light_.span(1).minimum + light_.span(2).maximum) / 2.0);
    LightRangeToPower(mid);
    InitEyeris();
    qint32 iris = 1000;
    qint32 previous = 0;
    while (iris != previous && !canceled_) {
        setEyeris(qint16(iris));
        float power = GetLightPower();
        const qint32 step = qint32(roundHalfEven(std::abs(iris - previous) / 2.0));
        previous = iris;
        if (power > mid + 0.1) {
            iris += step;
        } else {
            power = GetLightPower();
            if (power >= mid - 0.1)
                break;
            InitEyeris();
            iris -= step;
        }
    }
    InitEyeris();
    setEyeris(qint16(iris));
    emit ProcBase(proc::BaseIris, iris, {});
    InitFilter();

    if (!canceled_) {
        setFilter(1);
        InitEyeris();
        setLightRange(9);
        setSetLightSpanMax(1, checked(GetLightPower()));
        setSetLightSpanRange(1, LightRange());
        setEyeris(qint16(iris));
        for (qint16 f = 2; f <= 4; ++f) {
            setFilter(f);
            setSetLightSpanMax(f, GetLightPower());
            setSetLightSpanRange(f, LightRange());
            clock_.processEvents();
            emit ProcBase(proc::PointMeasured, f, light_.span(f).maximum);
        }
        setEyeris(2000);
        setSetLightSpanMin(4, GetLightPower());
        setSetLightSpanRange(4, LightRange());
        emit ProcBase(proc::Finished, iris, {});
    }
    if (canceled_) {
        for (qint16 r = 0; r < 5; ++r) {
            setSetLightSpanMin(r, 0);
            setSetLightSpanMax(r, 0);
            setSetLightSpanRange(r, 0);
        }
        BodyCancelProcess();
        emit ProcBase(proc::Cancelled, {}, {});
    }
    InitFilter();
    busy_ = false;
    Refresh();
}

} // namespace tz4
