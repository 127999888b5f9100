#include "sim/CommandArguments.h"
#include "sim/Mechanics.h"
#include "sim/Tz4Simulator.h"

#include <algorithm>
#include <cmath>

namespace tz4::sim {

namespace {

constexpr int kRelayMs = 30; // grid, valve, air-check relays
constexpr int kFlowMs = 100; // dry-air flow controller
constexpr int kHighVoltageMs = 200;
constexpr int kAdcMs = 20;
constexpr int kEepromWriteMs = 10;
constexpr int kSelfTestMs = 600;
constexpr int kWarmUpReplyCap = 9999; // the running-time counter stops at four digits

const CommandOutcome kValueRange{errorText(replyerr::ValueRange)};
const CommandOutcome kDoorOpen{errorText(replyerr::DoorOpen)};
const CommandOutcome kAddressRange{errorText(replyerr::AddressRange)};

// Origin and limit moves take the argument 1 ("go").
bool go(const QByteArray& argument) { return argument == "1"; }

// A relay switched by "0" or "1".
CommandOutcome flag(const QByteArray& argument, bool& target)
{
    const auto value = inRange(argument, 0, 1);
    if (!value || argument.size() != 1)
        return kValueRange;
    target = *value == 1;
    return {kOk, kRelayMs};
}

// A register taking a number from low to high with nothing to wait for.
CommandOutcome number(const QByteArray& argument, int low, int high, int& target, int ms = 0)
{
    const auto value = inRange(argument, low, high);
    if (!value)
        return kValueRange;
    target = *value;
    return {kOk, ms};
}

// Moves a drive to `target` and answers once it has arrived.
CommandOutcome moveDrive(int& position, std::optional<int> target, int (*travelMs)(int from, int to))
{
    if (!target)
        return kValueRange;
    const int ms = travelMs(position, *target);
    position = *target;
    return {kOk, ms};
}

// The grating drive acknowledges at once and turns while the host waits with "KS".
CommandOutcome turnGrating(int& wave, std::optional<int> target)
{
    CommandOutcome outcome = moveDrive(wave, target, mechanics::waveTravelMs);
    std::swap(outcome.workMs, outcome.motionMs);
    return outcome;
}

std::optional<int> goTo(const QByteArray& argument, int target)
{
    return go(argument) ? std::optional<int>(target) : std::nullopt;
}

CommandOutcome answer(const QByteArray& text, int workMs = 0) { return {text, workMs}; }

CommandOutcome bit(bool value) { return {value ? "1" : "0"}; }

} // namespace

using Sim = Tz4Simulator;
using Arg = const QByteArray&;

// One row per command: what it does with an argument, what it answers without one. A table
// is read a row at a time, so its length is no burden.
const Tz4Simulator::Command Tz4Simulator::kCommands[] = {
    {"TS", [](Sim& s, Arg a) { return number(a, 10, 30000, s.measTime_); },
           [](Sim& s, qint64) { return answer(padded(s.measTime_, 4)); }},
    {"ES", [](Sim& s, Arg a) { return moveDrive(s.iris_, inRange(a, 0, LightModel::kIrisClosed), mechanics::irisTravelMs); },
           [](Sim& s, qint64) { return answer(padded(s.iris_, 4)); }},
    {"EO", [](Sim& s, Arg a) { return moveDrive(s.iris_, goTo(a, 0), mechanics::irisTravelMs); }, nullptr},
    {"EL", [](Sim& s, Arg a) { return moveDrive(s.iris_, goTo(a, LightModel::kIrisClosed), mechanics::irisTravelMs); }, nullptr},
    {"RS", [](Sim& s, Arg a) { return a.size() == 1 ? number(a, 1, LightModel::kRanges, s.range_, kRelayMs) : kValueRange; },
           [](Sim& s, qint64) { return answer(QByteArray::number(s.range_)); }},
    {"AS", [](Sim& s, Arg a) { return flag(a, s.airCheck_); }, [](Sim& s, qint64) { return bit(s.airCheck_); }},
    {"CS", nullptr, [](Sim& s, qint64) { return s.count(); }},
    {"DS", [](Sim& s, Arg a) { return flag(a, s.valve_); }, [](Sim& s, qint64) { return bit(s.valve_); }},
    {"GS", [](Sim& s, Arg a) { return s.doorOpen() && a == "1" ? kDoorOpen : flag(a, s.grid_); },
           [](Sim& s, qint64) { return bit(s.grid_); }},
    {"HS", [](Sim& s, Arg a) { return number(a, 0, 255, s.ledLight_); },
           [](Sim& s, qint64) { return answer(padded(s.ledLight_, 3)); }},
    {"HO", [](Sim& s, Arg a) { return number(a, 0, 255, s.ledStage_); },
           [](Sim& s, qint64) { return answer(padded(s.ledStage_, 3)); }},
    // Fan words: one digit per fan, 1 = running; the stage unit adds its door switch.
    {"IS", nullptr, [](Sim&, qint64) { return answer("11"); }},
    {"IO", nullptr, [](Sim& s, qint64) { return answer(s.doorOpen() ? "111" : "110"); }},
    {"JS", [](Sim& s, Arg a) { return number(a, 0, 3000, s.airFlow_, kFlowMs); },
           [](Sim& s, qint64) { return answer(padded(s.airFlow_, 4)); }},
    {"KS", nullptr, [](Sim& s, qint64) { return answer(s.diodeReply(), kAdcMs); }},
    {"LS", [](Sim& s, Arg a) { return turnGrating(s.wave_, inRange(a, mechanics::kWaveMin, mechanics::kWaveMax)); },
           [](Sim& s, qint64) { return answer(padded(s.wave_, 4)); }},
    {"LO", [](Sim& s, Arg a) { return turnGrating(s.wave_, goTo(a, mechanics::kWaveOrigin)); }, nullptr},
    {"PS", nullptr, [](Sim& s, qint64) { return answer(s.volts(12.0)); }},
    {"QS", nullptr, [](Sim& s, qint64) { return answer(s.volts(24.0)); }},
    {"US", nullptr, [](Sim& s, qint64) { return answer(s.volts(5.0)); }},
    // The stage takes tenths and reports hundredths.
    {"XS", [](Sim& s, Arg a) { return moveDrive(s.stage_, inRange(a, 0, mechanics::kStageLimit), mechanics::stageTravelMs); },
           [](Sim& s, qint64) { return answer(padded(s.stage_ * 10, 5)); }},
    {"XO", [](Sim& s, Arg a) { return moveDrive(s.stage_, goTo(a, mechanics::kStageOrigin), mechanics::stageTravelMs); }, nullptr},
    {"XL", [](Sim& s, Arg a) { return moveDrive(s.stage_, goTo(a, mechanics::kStageLimit), mechanics::stageTravelMs); }, nullptr},
    {"VS", [](Sim& s, Arg a) {
               // The door interlock keeps the anode supply low while the chamber is open.
               const auto value = inRange(a, 0, mechanics::kHighVoltageMax);
               if (value && s.doorOpen() && *value > 1000)
                   return kDoorOpen;
               return number(a, 0, mechanics::kHighVoltageMax, s.highVolts_, kHighVoltageMs);
           },
           [](Sim& s, qint64) { return answer(padded(s.highVolts_, 4)); }},
    {"FS", [](Sim& s, Arg a) {
               return moveDrive(s.filter_, a.size() == 1 ? inRange(a, 0, LightModel::kFilters - 1) : std::nullopt,
                           mechanics::filterTravelMs);
           },
           [](Sim& s, qint64) { return answer(QByteArray::number(s.filter_)); }},
    {"FO", [](Sim& s, Arg a) { return moveDrive(s.filter_, goTo(a, 0), mechanics::filterTravelMs); }, nullptr},
    // Self-diagnosis words. Light unit: eyeris origin and photodiode 2 flagged; stage unit:
    // dry air 3 flagged.
    {"SS", nullptr, [](Sim& s, qint64) {
               return answer(s.faults_.applies(FaultPlan::Kind::DiagFail, "SS") ? "34844" : "24040", kSelfTestMs);
           }},
    {"SO", nullptr, [](Sim& s, qint64) {
               return answer(s.faults_.applies(FaultPlan::Kind::DiagFail, "SO") ? "324042" : "224040", kSelfTestMs);
           }},
    {"OS", nullptr, [](Sim& s, qint64 nowMs) {
               s.warmUpLatch_ = nowMs;
               return answer(kOk);
           }},
    {"OO", nullptr, [](Sim& s, qint64 nowMs) {
               const qint64 seconds = s.powerOnSeconds_ + s.warmUpLatch_.value_or(nowMs) / 1000;
               return answer(padded(std::min<qint64>(seconds, kWarmUpReplyCap), 4));
           }},
    {"WS", [](Sim& s, Arg a) {
               const auto value = digits(a);
               if (!value)
                   return kValueRange;
               return s.memory_.setAddress(*value) ? answer(kOk) : kAddressRange;
           }, nullptr},
    {"WO", [](Sim& s, Arg a) {
               if (a.size() != 4)
                   return kValueRange;
               return s.memory_.write(a) ? answer(kOk, kEepromWriteMs) : kAddressRange;
           },
           [](Sim& s, qint64) {
               const auto word = s.memory_.read();
               return word ? answer(*word) : kAddressRange;
           }},
    {"BO", [](Sim& s, Arg a) {
               const auto value = a.size() == 2 ? digits(a) : std::nullopt;
               return value && s.span_.select(*value) ? answer(kOk) : kValueRange;
           }, nullptr},
    {"BL", [](Sim& s, Arg a) {
               bool numeric = false;
               a.toDouble(&numeric);
               if (!numeric || a.size() > 10)
                   return kValueRange;
               s.span_.write(a);
               return answer(kOk, kEepromWriteMs);
           },
           [](Sim& s, qint64) { return answer(s.span_.read()); }},
};

Tz4Simulator::Outcome Tz4Simulator::dispatch(const QByteArray& command, const QByteArray& argument, qint64 nowMs)
{
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [&](const Command& c) { return command == c.name; });
    if (row != std::end(kCommands)) {
        if (!argument.isEmpty() && row->set)
            return row->set(*this, argument);
        if (argument.isEmpty() && row->read)
            return row->read(*this, nowMs);
    }
    return {errorText(replyerr::UnknownCommand)};
}

bool Tz4Simulator::doorOpen() const { return faults_.has(FaultPlan::Kind::DoorOpen); }

QByteArray Tz4Simulator::volts(double nominal)
{
    return padded(std::lround(nominal * 10 + noise_(random_) * 0.5), 4);
}

} // namespace tz4::sim
