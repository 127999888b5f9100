#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"
#include "core/RecordParameters.h"
#include "instrument/ProcType.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace tz4 {

namespace {

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

uclTz4Body::ProcedureGuard::ProcedureGuard(uclTz4Body& body, bool makeSafe)
    : body_(body), makeSafe_(makeSafe), exceptions_(std::uncaught_exceptions())
{
    body_.busy_ = true;
}

uclTz4Body::ProcedureGuard::~ProcedureGuard()
{
    if (std::uncaught_exceptions() <= exceptions_ || !body_.busy_)
        return;
    // Left by a failure: the failure goes on to the caller, but the grid must not stay on
    // and no later procedure may be refused as busy.
    if (makeSafe_) {
        try {
            body_.BodyCancelProcess();
        } catch (...) {
        }
    }
    body_.busy_ = false;
}

bool uclTz4Body::beginProcedure(ProcSignal event)
{
    if (busy_) {
        emit(this->*event)(proc::RefusedBusy, {}, {});
        return false;
    }
    if (!line_.isOpen()) {
        emit(this->*event)(proc::RefusedPortClosed, {}, {});
        return false;
    }
    serialLog_.clear();
    failures_.clear();
    linkLost_ = false;
    return true;
}

void uclTz4Body::finishProcedure(ProcSignal event, const QVariant& value1, const QVariant& value2)
{
    InitFilter(); // light blocked
    if (canceled_) {
        BodyCancelProcess();
        emit(this->*event)(proc::Cancelled, {}, {});
    } else {
        emit(this->*event)(proc::Finished, value1, value2);
    }
    busy_ = false;
    Refresh();
}

void uclTz4Body::prepareChamber()
{
    setElBalve(true);
    setAirValue(0.25f);
    setGridVolts(false);
}

void uclTz4Body::approachSample(ProcSignal event)
{
    prepareChamber();
    StageToSample(0);
    emit(this->*event)(proc::Started, {}, {});
}

uclTz4Body::Background uclTz4Body::backgroundAtRest(ProcSignal event)
{
    InitFilter();
    setEnergen(float(parameter(param::FixedEnergy)));
    WaitIdle();
    setGridVolts(false);
    Background result;
    result.counts = wholeInt16(parameter(param::CountingTime));
    result.cps = GetCpsAvarage(result.counts);
    emit(this->*event)(proc::ReferenceMeasured, Energen(), result.cps);
    return result;
}

double uclTz4Body::parameter(int number) const
{
    if (!datas_)
        throw Tz4Error(err::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
    bool ok = false;
    const double value = datas_->parameter(number).toDouble(&ok);
    if (!ok)
        throw Tz4Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
    return value;
}

float uclTz4Body::GetCpsAvarage(qint16 count)
{
    EnterProcedure here("uclTz4Body:GetCpsAvarage");
    if (count < 2)
        return 0;
    setMeasTime(1); // one second per count
    setOverTime(50);
    std::vector<qint16> readings(size_t(count), 0);
    for (qint16& reading : readings)
        reading = canceled_ ? 0 : CpsValue();

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
    const float tau = sumLost_;
    if (tau * mean == 1.0f)
        return 1e10f;
    return mean / (1.0f - tau * mean);
}

void uclTz4Body::MeasCps()
{
    EnterProcedure here("uclTz4Body:MeasCps");
    if (!beginProcedure(&uclTz4Body::ProcCps))
        return;
    const ProcedureGuard guard(*this, true);
    approachSample(&uclTz4Body::ProcCps);
    const auto [counts, background] = backgroundAtRest(&uclTz4Body::ProcCps);

    FilterToPower(parameter(param::MeasuredLight));
    setGridVolts(true);
    const qint32 repeats = wholeInt32(parameter(param::MeasureCount));
    for (qint32 i = 1; i <= repeats; ++i) {
        const float net = GetCpsAvarage(counts) - background;
        clock_.processEvents();
        if (canceled_)
            break;
        emit ProcCps(proc::PointMeasured, i, net);
    }
    finishProcedure(&uclTz4Body::ProcCps);
}

void uclTz4Body::MeasWork()
{
    EnterProcedure here("uclTz4Body:MeasWork");
    if (!beginProcedure(&uclTz4Body::ProcWork))
        return;
    const ProcedureGuard guard(*this, true);
    InitLight();
    WaitIdle();
    approachSample(&uclTz4Body::ProcWork);

    setEnergen(float(parameter(param::StartEnergy)));
    WaitIdle();
    InitFilter();
    const qint16 counts = wholeInt16(parameter(param::CountingTime));
    const float background = GetCpsAvarage(counts);
    emit ProcWork(proc::ReferenceMeasured, Energen(), background);

    FilterToPower(parameter(param::MeasuredLight));
    setGridVolts(true);
    const Scan scan = scanOf(parameter(param::StartEnergy), parameter(param::FinishEnergy), parameter(param::EnergyStep));
    for (qint32 e = scan.start; scan.contains(e); e += scan.step) {
        setEnergen(float(e) / 100.0f);
        WaitIdle();
        const float net = GetCpsAvarage(counts) - background;
        clock_.processEvents();
        if (canceled_)
            break;
        emit ProcWork(proc::PointMeasured, double(e) / 100.0, net);
    }
    finishProcedure(&uclTz4Body::ProcWork);
}

void uclTz4Body::MeasAdjLight()
{
    EnterProcedure here("uclTz4Body:MeasAdjLight");
    if (!beginProcedure(&uclTz4Body::ProcLight))
        return;
    const ProcedureGuard guard(*this, true);
    InitLight();
    WaitIdle();
    prepareChamber();
    StageToPhotoDiode();
    setMeasTime(5);
    emit ProcLight(proc::Started, {}, {});

    float dark = 0;
    if (!canceled_) {
        InitFilter();
        setEnergen(float(parameter(param::StartEnergy)));
        WaitIdle();
        CpsValue();
        dark = BackLight();
        emit ProcLight(proc::ReferenceMeasured, dark, {});
    }
    FilterToPower(parameter(param::MeasuredLight));
    const Scan scan = scanOf(parameter(param::StartEnergy), parameter(param::FinishEnergy), parameter(param::EnergyStep));
    for (qint32 e = scan.start; scan.contains(e); e += scan.step) {
        setEnergen(float(e) / 100.0f);
        WaitIdle();
        CpsValue();
        const float power = LightWatt(DiodeVolts(), dark);
        clock_.processEvents();
        if (canceled_)
            break;
        emit ProcLight(proc::PointMeasured, double(e) / 100.0, power);
    }
    finishProcedure(&uclTz4Body::ProcLight);
}

void uclTz4Body::MeasThickAdjust()
{
    EnterProcedure here("uclTz4Body:MeasThickAdjust");
    if (!beginProcedure(&uclTz4Body::ProcThick))
        return;
    const ProcedureGuard guard(*this, true);
    approachSample(&uclTz4Body::ProcThick);
    const auto [counts, background] = backgroundAtRest(&uclTz4Body::ProcThick);

    float sum = 0;
    FilterToPower(parameter(param::MeasuredLight));
    setGridVolts(true);
    const qint32 repeats = wholeInt32(parameter(param::MeasureCount));
    for (qint32 i = 1; i <= repeats; ++i) {
        const float reading = GetCpsAvarage(counts);
        sum += reading - background;
        clock_.processEvents();
        if (canceled_)
            break;
        emit ProcThick(proc::PointMeasured, i, reading);
    }

    InitFilter();
    if (canceled_) {
        BodyCancelProcess();
        emit ProcThick(proc::Cancelled, {}, {});
    } else {
        if (repeats == 0)
            throw Tz4Error(err::DivisionByZero, QStringLiteral("Division by zero"));
        const float mean = sum / float(repeats);
        if (mean == 0) {
            emit ProcThick(proc::Finished, 0, 0);
        } else {
            if (mean < 0)
                throw Tz4Error(err::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"));
            const float thickness = float(parameter(param::CalibrationThickness) - (parameter(param::Gradient) * std::log10(double(mean)) + parameter(param::Intercept)));
            emit ProcThick(proc::Finished, thickness, mean);
        }
    }
    busy_ = false;
    Refresh();
}

qint16 uclTz4Body::HvSet()
{
    EnterProcedure here("uclTz4Body:HvSet");
    if (!beginProcedure(&uclTz4Body::ProcVolts))
        return 0;
    const ProcedureGuard guard(*this, true);
    // Measured on the carbon reference, whose yield at 5.9 eV is known to be ample.
    setElBalve(true);
    setAirValue(0.25f);
    setEnergen(5.9f);
    WaitIdle();
    StageToCerbon();
    emit ProcVolts(proc::Started, {}, {});

    int retries = 0;
    for (;;) {
        setMeasTime(1);
        setGridVolts(true);
        setHV_Volts(2500);
        FilterToPower(50);
        CpsValue();

        qint16 volts = 2500;
        bool reached = false;
        bool cancelled = false;
        while (volts < 4000) {
            if (canceled_) {
                cancelled = true;
                break;
            }
            const qint16 counts = CpsValue();
            if (counts >= 10) {
                reached = true;
                break;
            }
            emit ProcVolts(proc::PointMeasured, volts, counts);
            volts += 10;
            setHV_Volts(volts);
            clock_.processEvents();
        }
        if (cancelled) {
            setHV_Volts(1);
            emit ProcVolts(proc::Cancelled, {}, {});
            BodyCancelProcess();
            break;
        }
        if (!reached) {
            setHV_Volts(1);
            emit ProcVolts(proc::FinishedWithoutResult, {}, {});
            break;
        }

        // Working voltage: a margin above the onset, then the dark background must be low.
        setHV_Volts(qint16(volts + 140));
        setGridVolts(false);
        InitFilter();
        setMeasTime(10);
        setOverTime(450);
        CpsValue();
        const qint16 background = CpsValue();
        if (background < 100) {
            if (datas_)
                datas_->setParameter(34, hvVolts_);
            emit ProcVolts(proc::Finished, hvVolts_, background);
            break;
        }
        if (++retries >= 3) {
            setHV_Volts(1);
            emit ProcVolts(proc::FinishedWithoutResult, {}, {});
            break;
        }
        // Purge the chamber with dry air for a minute and try again.
        setHV_Volts(2500);
        setAirValue(1.9f);
        emit ProcVolts(proc::PurgeRunning, {}, {});
        freeTickCounter_ = 0;
        while (freeTickCounter_ < 300)
            clock_.yield();
        setAirValue(0.25f);
        CpsValue();
    }
    InitFilter();
    const qint16 result = hvVolts_;
    busy_ = false;
    Refresh();
    return result;
}

bool uclTz4Body::EngSetStatus() const
{
    EnterProcedure here("uclTz4Body:EngSetStatus");
    if (!datas_)
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
