#include "instrument/Tz4Procedures.h"

#include "instrument/ProcType.h"
#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4LightModel.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Registers.h"
#include "instrument/Tz4Sequences.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/MeasurementParameters.h"
#include "core/RecordParameters.h"
#include "core/Tz4Error.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tz4 {

namespace {

constexpr float LowAirFlow = 0.25f;

// Scan bounds in whole hundredths of an eV.
struct Scan {
    qint32 start;
    qint32 end;
    qint32 step;
    bool contains(qint32 e) const { return step > 0 ? e <= end : step < 0 && e >= end; }
};

Scan scanOf(double startEv, double endEv, double stepEv)
{
    return {wholeInt16(startEv * 100), wholeInt16(endEv * 100), wholeInt16(stepEv * 100)};
}

} // namespace

Tz4Procedures::Tz4Procedures(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences, Tz4LightModel& light,
                             MeasurementParameters* const& record, MeasurementEvents events)
    : link_(link), registers_(registers), sequences_(sequences), light_(light), record_(record),
      events_(std::move(events))
{
}

void Tz4Procedures::finishProcedure(const ProcEvent& event, const QVariant& value1, const QVariant& value2)
{
    sequences_.InitFilter(); // light blocked
    if (link_.Canceled()) {
        sequences_.BodyCancelProcess();
        event(proc::Cancelled, {}, {});
    } else {
        event(proc::Finished, value1, value2);
    }
    link_.setBusy(false);
    sequences_.Refresh();
}

void Tz4Procedures::prepareChamber()
{
    registers_.setElBalve(true);
    registers_.setAirValue(LowAirFlow);
    registers_.setGridVolts(false);
}

void Tz4Procedures::approachSample(const ProcEvent& event)
{
    prepareChamber();
    sequences_.StageToSample(0);
    event(proc::Started, {}, {});
}

Tz4Procedures::Background Tz4Procedures::backgroundAtRest(const ProcEvent& event)
{
    sequences_.InitFilter();
    registers_.setEnergen(float(parameter(param::FixedEnergy)));
    link_.WaitIdle();
    registers_.setGridVolts(false);
    Background result;
    result.counts = wholeInt16(parameter(param::CountingTime));
    result.cps = GetCpsAvarage(result.counts);
    event(proc::ReferenceMeasured, registers_.Energen(), result.cps);
    return result;
}

double Tz4Procedures::parameter(int number) const
{
    if (!record_)
        throw Tz4Error(err::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    bool ok = false;
    const double value = record_->parameter(number).toDouble(&ok);
    if (!ok)
        throw Tz4Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
    return value;
}

void Tz4Procedures::scanEnergies(const ProcEvent& event, const std::function<float()>& read)
{
    const Scan scan = scanOf(parameter(param::StartEnergy), parameter(param::FinishEnergy), parameter(param::EnergyStep));
    for (qint32 e = scan.start; scan.contains(e); e += scan.step) {
        registers_.setEnergen(float(e) / 100.0f);
        link_.WaitIdle();
        const float value = read();
        link_.clock().processEvents();
        if (link_.Canceled())
            break;
        event(proc::PointMeasured, double(e) / 100.0, value);
    }
}

float Tz4Procedures::GetCpsAvarage(qint16 count)
{
    EnterProcedure here("uclTz4Body:GetCpsAvarage");
    if (count < 2)
        return 0;
    registers_.setMeasTime(1); // one second per count
    link_.setOverTime(50);
    std::vector<qint16> readings(size_t(count), 0);
    for (qint16& reading : readings)
        reading = link_.Canceled() ? 0 : registers_.CpsValue();

    // One outlier is dropped: the first of the highest readings, or the first when all are 0.
    auto dropped = std::max_element(readings.begin(), readings.end());
    if (*dropped <= 0)
        dropped = readings.begin();
    float sum = 0;
    for (auto it = readings.begin(); it != readings.end(); ++it)
        if (it != dropped)
            sum += *it;
    const float mean = sum / float(count - 1);

    // Dead-time correction of the counter.
    const float tau = sequences_.SumLost();
    if (tau * mean == 1.0f)
        return 1e10f;
    return mean / (1.0f - tau * mean);
}

void Tz4Procedures::MeasCps()
{
    EnterProcedure here("uclTz4Body:MeasCps");
    if (!beginProcedure(link_, events_.cps))
        return;
    const ProcedureGuard guard(link_, &sequences_);
    approachSample(events_.cps);
    const auto [counts, background] = backgroundAtRest(events_.cps);

    light_.FilterToPower(parameter(param::MeasuredLight));
    registers_.setGridVolts(true);
    const qint32 repeats = wholeInt32(parameter(param::MeasureCount));
    for (qint32 i = 1; i <= repeats; ++i) {
        const float net = GetCpsAvarage(counts) - background;
        link_.clock().processEvents();
        if (link_.Canceled())
            break;
        events_.cps(proc::PointMeasured, i, net);
    }
    finishProcedure(events_.cps);
}

void Tz4Procedures::MeasWork()
{
    EnterProcedure here("uclTz4Body:MeasWork");
    if (!beginProcedure(link_, events_.work))
        return;
    const ProcedureGuard guard(link_, &sequences_);
    sequences_.InitLight();
    link_.WaitIdle();
    approachSample(events_.work);

    registers_.setEnergen(float(parameter(param::StartEnergy)));
    link_.WaitIdle();
    sequences_.InitFilter();
    const qint16 counts = wholeInt16(parameter(param::CountingTime));
    const float background = GetCpsAvarage(counts);
    events_.work(proc::ReferenceMeasured, registers_.Energen(), background);

    light_.FilterToPower(parameter(param::MeasuredLight));
    registers_.setGridVolts(true);
    scanEnergies(events_.work, [&] { return GetCpsAvarage(counts) - background; });
    finishProcedure(events_.work);
}

void Tz4Procedures::MeasAdjLight()
{
    EnterProcedure here("uclTz4Body:MeasAdjLight");
    if (!beginProcedure(link_, events_.light))
        return;
    const ProcedureGuard guard(link_, &sequences_);
    sequences_.InitLight();
    link_.WaitIdle();
    prepareChamber();
    sequences_.StageToPhotoDiode();
    registers_.setMeasTime(5);
    events_.light(proc::Started, {}, {});

    float dark = 0;
    if (!link_.Canceled()) {
        sequences_.InitFilter();
        registers_.setEnergen(float(parameter(param::StartEnergy)));
        link_.WaitIdle();
        registers_.CpsValue();
        dark = light_.BackLight();
        events_.light(proc::ReferenceMeasured, dark, {});
    }
    light_.FilterToPower(parameter(param::MeasuredLight));
    scanEnergies(events_.light, [&] {
        registers_.CpsValue();
        return light_.LightWatt(registers_.DiodeVolts(), dark);
    });
    finishProcedure(events_.light);
}

void Tz4Procedures::MeasThickAdjust()
{
    EnterProcedure here("uclTz4Body:MeasThickAdjust");
    if (!beginProcedure(link_, events_.thick))
        return;
    const ProcedureGuard guard(link_, &sequences_);
    approachSample(events_.thick);
    const auto [counts, background] = backgroundAtRest(events_.thick);

    float sum = 0;
    light_.FilterToPower(parameter(param::MeasuredLight));
    registers_.setGridVolts(true);
    const qint32 repeats = wholeInt32(parameter(param::MeasureCount));
    for (qint32 i = 1; i <= repeats; ++i) {
        const float reading = GetCpsAvarage(counts);
        sum += reading - background;
        link_.clock().processEvents();
        if (link_.Canceled())
            break;
        events_.thick(proc::PointMeasured, i, reading);
    }

    sequences_.InitFilter();
    if (link_.Canceled()) {
        sequences_.BodyCancelProcess();
        events_.thick(proc::Cancelled, {}, {});
    } else {
        reportThickness(sum, repeats);
    }
    link_.setBusy(false);
    sequences_.Refresh();
}

// The thickness from the mean net count through the record's calibration line.
void Tz4Procedures::reportThickness(float sum, qint32 repeats)
{
    if (repeats == 0)
        throw Tz4Error(err::DivisionByZero, QStringLiteral("Division by zero"));
    const float mean = sum / float(repeats);
    if (mean == 0) {
        events_.thick(proc::Finished, 0, 0);
        return;
    }
    if (mean < 0)
        throw Tz4Error(err::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
    const float thickness = float(parameter(param::CalibrationThickness) - (parameter(param::Gradient) * std::log10(double(mean)) + parameter(param::Intercept)));
    events_.thick(proc::Finished, thickness, mean);
}

bool Tz4Procedures::EngSetStatus() const
{
    EnterProcedure here("uclTz4Body:EngSetStatus");
    if (!record_)
        return false;
    const qint32 start = wholeInt32(parameter(param::StartEnergy) * 100);
    const qint32 end = wholeInt32(parameter(param::FinishEnergy) * 100);
    const qint32 step = wholeInt32(parameter(param::EnergyStep) * 100);
    if (end <= start)
        return false;
    if (step == 0)
        throw Tz4Error(err::DivisionByZero, QStringLiteral("Division by zero"));
    return roundHalfEven(double(end - start) / step * 1000.0) % 1000 == 0;
}

} // namespace tz4
