#include "instrument/Tz4LightProcedures.h"

#include "instrument/LightCalibration.h"
#include "instrument/ProcType.h"
#include "instrument/Tz4LightModel.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Registers.h"
#include "instrument/Tz4Sequences.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/MeasurementParameters.h"
#include "core/RecordParameters.h"

#include <cmath>

namespace tz4 {

namespace {

constexpr qint16 ProcedureOverTime = 450;
constexpr qint16 IrisClosed = 2000; // the iris passes less light the larger its value
constexpr qint32 IrisStart = 1000;
constexpr qint16 MostSensitiveRange = 9;
constexpr double PowerTolerance = 0.1; // nW either side of the target
// The instrument reports an overflowing reading as 99999.
constexpr float OverflowReading = 99999.0f;

float checked(float reading) { return reading == OverflowReading ? 0.0f : reading; }

} // namespace

Tz4LightProcedures::Tz4LightProcedures(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences,
                                       Tz4LightModel& model, MeasurementParameters* const& record,
                                       ProcEvent setLight, ProcEvent base)
    : link_(link), registers_(registers), sequences_(sequences), model_(model), record_(record),
      setLight_(std::move(setLight)), base_(std::move(base))
{
}

void Tz4LightProcedures::SetLightPower(float Target)
{
    EnterProcedure here("uclTz4Body:SetLightPower");
    if (!beginProcedure(link_, setLight_))
        return;
    const ProcedureGuard guard(link_, &sequences_);
    sequences_.StageToPhotoDiode();
    model_.FilterToPower(Target);
    model_.LightRangeToPower(Target);
    registers_.setMeasTime(5);
    link_.setOverTime(ProcedureOverTime);
    setLight_(proc::Started, {}, {});

    const float dark = model_.BackLight();
    sequences_.InitEyeris();
    qint32 iris = IrisStart;
    const float power = searchIris(Target, dark, iris);
    finishLightPower(Target, power, iris);
}

// Halving search on the iris; the iris is always approached from its origin when it has to
// open further. Answers the last power read; `iris` is where the search stopped.
float Tz4LightProcedures::searchIris(float Target, float dark, qint32& iris)
{
    qint32 previous = 0;
    float power = 0;
    while (iris != previous && !link_.Canceled()) {
        registers_.setEyeris(qint16(iris));
        registers_.CpsValue();
        const qint32 distance = std::abs(iris - previous);
        const int readings = int(qMax<qint64>(1, roundHalfEven(30.0 / distance)));
        power = model_.LightWatt(model_.averageDiode(readings), dark);
        setLight_(proc::PointMeasured, power, iris);
        const qint32 step = qint32(roundHalfEven(distance / 2.0));
        previous = iris;
        if (power > Target + PowerTolerance) {
            iris += step;
        } else if (power < Target - PowerTolerance) {
            sequences_.InitEyeris();
            iris -= step;
        } else {
            break;
        }
    }
    return power;
}

void Tz4LightProcedures::finishLightPower(float Target, float power, qint32 iris)
{
    sequences_.InitEyeris();
    if (!link_.Canceled()) {
        registers_.setEyeris(qint16(iris));
        model_.setLastLight(power);
        if (record_)
            record_->setParameter(param::MeasuredLight, power);
        const bool close = 0.95 * Target < power && power < 1.05 * Target;
        setLight_(close ? proc::Finished : proc::LightOutOfTolerance, power, iris);
    }
    if (link_.Canceled()) {
        sequences_.InitFilter();
        model_.setLastLight(0);
        sequences_.BodyCancelProcess();
        setLight_(proc::Cancelled, {}, {});
    }
    sequences_.InitFilter(); // the light stays blocked until a measurement opens it
    link_.setBusy(false);
    sequences_.Refresh();
}

void Tz4LightProcedures::MakeLightBase(float SetUpEng)
{
    EnterProcedure here("uclTz4Body:MeasLightBase");
    if (!beginProcedure(link_, base_))
        return;
    const ProcedureGuard guard(link_, &sequences_);
    prepareBase(SetUpEng);
    measureBaseEnds();
    const qint32 iris = findMiddleIris();
    if (!link_.Canceled())
        measureSpans(iris);
    if (link_.Canceled())
        clearSpans();
    sequences_.InitFilter();
    link_.setBusy(false);
    sequences_.Refresh();
}

void Tz4LightProcedures::prepareBase(float SetUpEng)
{
    link_.setOverTime(ProcedureOverTime);
    registers_.setMeasTime(2);
    sequences_.StageToPhotoDiode();
    registers_.setLightWave(260);
    link_.WaitIdle();
    sequences_.InitEyeris();
    sequences_.InitFilter();
    registers_.setEnergen(SetUpEng);
    link_.WaitIdle();
    base_(proc::Started, {}, {});
}

// The least power of filter 1 (iris closed) and the most of filter 2 (iris open).
void Tz4LightProcedures::measureBaseEnds()
{
    if (!link_.Canceled()) {
        registers_.setFilter(1);
        registers_.setEyeris(IrisClosed);
        registers_.setLightRange(MostSensitiveRange);
        model_.setSetLightSpanMin(1, checked(model_.GetLightPower()));
        base_(proc::BaseSpanMinimum, model_.SetLightSpanMin(1), {});
    }
    if (!link_.Canceled()) {
        registers_.setFilter(2);
        sequences_.InitEyeris();
        registers_.setLightRange(MostSensitiveRange);
        model_.setSetLightSpanMax(2, checked(model_.GetLightPower()));
        base_(proc::BaseSpanMaximum, model_.SetLightSpanMax(2), {});
    }
}

// The iris that puts filter 2 half way between filter 1's least and filter 2's most.
qint32 Tz4LightProcedures::findMiddleIris()
{
    const float mid = float((model_.calibration().span(1).minimum + model_.calibration().span(2).maximum) / 2.0);
    model_.LightRangeToPower(mid);
    sequences_.InitEyeris();
    qint32 iris = IrisStart;
    qint32 previous = 0;
    while (iris != previous && !link_.Canceled()) {
        registers_.setEyeris(qint16(iris));
        float power = model_.GetLightPower();
        const qint32 step = qint32(roundHalfEven(std::abs(iris - previous) / 2.0));
        previous = iris;
        if (power > mid + PowerTolerance) {
            iris += step;
        } else {
            power = model_.GetLightPower();
            if (power >= mid - PowerTolerance)
                break;
            sequences_.InitEyeris();
            iris -= step;
        }
    }
    sequences_.InitEyeris();
    registers_.setEyeris(qint16(iris));
    base_(proc::BaseIris, iris, {});
    sequences_.InitFilter();
    return iris;
}

void Tz4LightProcedures::measureSpans(qint32 iris)
{
    registers_.setFilter(1);
    sequences_.InitEyeris();
    registers_.setLightRange(MostSensitiveRange);
    model_.setSetLightSpanMax(1, checked(model_.GetLightPower()));
    model_.setSetLightSpanRange(1, registers_.LightRange());
    registers_.setEyeris(qint16(iris));
    for (qint16 f = 2; f < LightCalibration::Filters; ++f) {
        registers_.setFilter(f);
        model_.setSetLightSpanMax(f, model_.GetLightPower());
        model_.setSetLightSpanRange(f, registers_.LightRange());
        link_.clock().processEvents();
        base_(proc::PointMeasured, f, model_.calibration().span(f).maximum);
    }
    registers_.setEyeris(IrisClosed);
    model_.setSetLightSpanMin(4, model_.GetLightPower());
    model_.setSetLightSpanRange(4, registers_.LightRange());
    base_(proc::Finished, iris, {});
}

// A cancelled measurement leaves no half-measured table behind.
void Tz4LightProcedures::clearSpans()
{
    for (qint16 r = 0; r < LightCalibration::Filters; ++r) {
        model_.setSetLightSpanMin(r, 0);
        model_.setSetLightSpanMax(r, 0);
        model_.setSetLightSpanRange(r, 0);
    }
    sequences_.BodyCancelProcess();
    base_(proc::Cancelled, {}, {});
}

} // namespace tz4
