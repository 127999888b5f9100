#include "instrument/Tz4AnodeVoltage.h"

#include "instrument/ProcType.h"
#include "instrument/Tz4LightModel.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Registers.h"
#include "instrument/Tz4Sequences.h"

#include "core/ErrorLocation.h"
#include "core/MeasurementParameters.h"
#include "core/RecordParameters.h"

namespace tz4 {

namespace {

constexpr float LowAirFlow = 0.25f;
constexpr float PurgeAirFlow = 1.9f;
constexpr qint64 PurgeMs = 60000; // dry air clears a humid counter in about a minute
constexpr qint16 ProcedureOverTime = 450;
// The anode voltage search: from 2500 V in 10 V steps until 10 counts a second, at most 4000 V.
constexpr qint16 SearchStartVolts = 2500;
constexpr qint16 SearchLimitVolts = 4000;
constexpr qint16 SearchStepVolts = 10;
constexpr qint16 OnsetCounts = 10;
constexpr qint16 WorkingMarginVolts = 140;
constexpr qint16 HighestDarkCounts = 100;
constexpr qint16 AnodeOff = 1;
constexpr int HvAttempts = 3;
constexpr float CarbonEnergy = 5.9f; // the carbon reference's yield there is known to be ample
constexpr double OnsetLight = 50;

} // namespace

Tz4AnodeVoltage::Tz4AnodeVoltage(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences,
                                 Tz4LightModel& light, MeasurementParameters* const& record, ProcEvent event)
    : link_(link), registers_(registers), sequences_(sequences), light_(light), record_(record), event_(std::move(event))
{
}

qint16 Tz4AnodeVoltage::HvSet()
{
    EnterProcedure here("uclTz4Body:HvSet");
    if (!beginProcedure(link_, event_))
        return 0;
    const ProcedureGuard guard(link_, &sequences_);
    registers_.setElBalve(true);
    registers_.setAirValue(LowAirFlow);
    registers_.setEnergen(CarbonEnergy);
    link_.WaitIdle();
    sequences_.StageToCerbon();
    event_(proc::Started, {}, {});

    const auto giveUp = [this] {
        registers_.setHV_Volts(AnodeOff);
        event_(proc::FinishedWithoutResult, {}, {});
    };
    for (int retries = 0;;) {
        qint16 volts = 0;
        const Onset onset = searchOnset(volts);
        if (onset == Onset::Cancelled) {
            registers_.setHV_Volts(AnodeOff);
            event_(proc::Cancelled, {}, {});
            sequences_.BodyCancelProcess();
            break;
        }
        if (onset == Onset::NotReached) {
            giveUp();
            break;
        }
        if (settleWorkingVoltage(volts))
            break;
        if (++retries >= HvAttempts) {
            giveUp();
            break;
        }
        purgeChamber();
    }
    sequences_.InitFilter();
    const qint16 result = registers_.held().hvVolts;
    link_.setBusy(false);
    sequences_.Refresh();
    return result;
}

// Raises the anode voltage until the carbon reference counts; `volts` is where it stopped.
Tz4AnodeVoltage::Onset Tz4AnodeVoltage::searchOnset(qint16& volts)
{
    registers_.setMeasTime(1);
    registers_.setGridVolts(true);
    registers_.setHV_Volts(SearchStartVolts);
    light_.FilterToPower(OnsetLight);
    registers_.CpsValue();
    volts = SearchStartVolts;
    while (volts < SearchLimitVolts) {
        if (link_.Canceled())
            return Onset::Cancelled;
        const qint16 counts = registers_.CpsValue();
        if (counts >= OnsetCounts)
            return Onset::Reached;
        event_(proc::PointMeasured, volts, counts);
        volts += SearchStepVolts;
        registers_.setHV_Volts(volts);
        link_.clock().processEvents();
    }
    return Onset::NotReached;
}

// The working voltage is a margin above the onset, accepted when the dark background is low.
bool Tz4AnodeVoltage::settleWorkingVoltage(qint16 onset)
{
    registers_.setHV_Volts(qint16(onset + WorkingMarginVolts));
    registers_.setGridVolts(false);
    sequences_.InitFilter();
    registers_.setMeasTime(10);
    link_.setOverTime(ProcedureOverTime);
    registers_.CpsValue();
    const qint16 background = registers_.CpsValue();
    if (background >= HighestDarkCounts)
        return false;
    if (record_)
        record_->setParameter(param::AnodeVoltage, registers_.held().hvVolts);
    event_(proc::Finished, registers_.held().hvVolts, background);
    return true;
}

// Purges the chamber with dry air for a minute before the next attempt.
void Tz4AnodeVoltage::purgeChamber()
{
    registers_.setHV_Volts(SearchStartVolts);
    registers_.setAirValue(PurgeAirFlow);
    event_(proc::PurgeRunning, {}, {});
    link_.waitInstrumentTime(PurgeMs);
    registers_.setAirValue(LowAirFlow);
    registers_.CpsValue();
}

} // namespace tz4
