#include "sim/Tz4Simulator.h"

#include "sim/Mechanics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tz4::sim {

namespace {

constexpr double kCarbonWorkFunction = 4.70;
constexpr double kCarbonPowerNumber = 0.5;
constexpr double kSetUpEnergy = 5.9; // energy of the factory light set-up
constexpr int kWarmStartSeconds = 3600;
constexpr int kWarmUpReplyCap = 9999; // the running-time counter stops at four digits

constexpr int kSettleMs = 1;       // command decoding
constexpr int kRelayMs = 30;       // grid, valve, air-check relays
constexpr int kFlowMs = 100;       // dry-air flow controller
constexpr int kHighVoltageMs = 200;
constexpr int kAdcMs = 20;
constexpr int kEepromWriteMs = 10;
constexpr int kSelfTestMs = 600;

const QByteArray kOk = QByteArrayLiteral("OK");

QByteArray errorText(int number) { return "ERROR " + QByteArray::number(number); }

QByteArray padded(long long value, int width) { return QByteArray::number(value).rightJustified(width, '0'); }

// A decimal argument of one to five digits.
std::optional<int> digits(const QByteArray& argument)
{
    if (argument.isEmpty() || argument.size() > 5)
        return std::nullopt;
    int value = 0;
    for (char c : argument) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> inRange(const QByteArray& argument, int low, int high)
{
    const auto value = digits(argument);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

// Time the characters of one exchange spend on the line at 19200 baud, 7N1: nine bits each.
int lineMs(int characters) { return (characters * 9000 + 19199) / 19200; }

} // namespace

Tz4Simulator::Tz4Simulator(const SimOptions& options)
    : sample_(options.workFunction, options.powerNumber),
      carbon_(kCarbonWorkFunction, kCarbonPowerNumber),
      memory_(CalibrationMemory::factory(light_, CountingModel::kDeadTime)),
      span_(SpanMemory::factory(light_, kSetUpEnergy)),
      faults_(FaultPlan::parse(options.faults)),
      random_(options.seed)
{
    powerOnSeconds_ = options.cold ? 0 : kWarmStartSeconds;
    wave_ = mechanics::kWaveOrigin;
    stage_ = mechanics::kStageOrigin;
    counter_.setFailed(faults_.has(FaultPlan::Kind::DetectorFail));
    if (faults_.has(FaultPlan::Kind::HighBackground))
        counter_.setMoistureBackground(250.0);
    if (faults_.has(FaultPlan::Kind::SpanEmpty))
        span_ = SpanMemory();
}

double Tz4Simulator::energy() const { return 12400.0 / wave_; }

double Tz4Simulator::lightPower() const { return light_.power(energy(), filter_, iris_); }

double Tz4Simulator::trueCountRate() const
{
    double photoelectrons = 0.0;
    if (grid_) {
        const auto target = mechanics::underLight(stage_);
        const double photons = YieldModel::photonsPerSecond(lightPower(), energy());
        if (target == mechanics::Target::Sample)
            photoelectrons = photons * sample_.electronsPerPhoton(energy());
        else if (target == mechanics::Target::Carbon)
            photoelectrons = photons * carbon_.electronsPerPhoton(energy());
    }
    return photoelectrons * counter_.efficiency(highVolts_) + counter_.backgroundRate(highVolts_);
}

void Tz4Simulator::advanceTime(qint64 nowMs)
{
    if (nowMs > lastMs_ && valve_)
        counter_.purge((nowMs - lastMs_) / 1000.0, airFlow_ / 1000.0);
    lastMs_ = std::max(lastMs_, nowMs);
}

Tz4Simulator::Reply Tz4Simulator::execute(const QByteArray& rawLine, qint64 nowMs)
{
    advanceTime(nowMs);
    const QByteArray line = rawLine.trimmed();
    Reply reply;
    Outcome outcome;
    if (const auto error = faults_.errorFor(line)) {
        outcome.text = errorText(*error);
    } else if (line.size() < 2) {
        outcome.text = errorText(10);
    } else {
        outcome = dispatch(line.left(2), line.mid(2), nowMs);
    }
    reply.text = outcome.text;
    if (faults_.applies(FaultPlan::Kind::Garbage, line)) {
        static const char noise[] = "#%&?~^!*";
        for (char& c : reply.text)
            c = noise[random_() % 8];
        if (reply.text.size() < 3)
            reply.text += "?~#";
    }
    reply.silent = faults_.applies(FaultPlan::Kind::NoReply, line);
    if (faults_.applies(FaultPlan::Kind::Split, line))
        reply.delivery = Delivery::Split;
    else if (faults_.applies(FaultPlan::Kind::Merge, line))
        reply.delivery = Delivery::Merged;
    reply.durationMs = kSettleMs + outcome.workMs + lineMs(int(rawLine.size()) + 1 + int(reply.text.size()) + 1);
    reply.busyMs = reply.durationMs + outcome.motionMs;
    return reply;
}

Tz4Simulator::Outcome Tz4Simulator::dispatch(const QByteArray& command, const QByteArray& argument, qint64 nowMs)
{
    if (argument.isEmpty())
        return readRegister(command, nowMs);

    const bool doorOpen = faults_.has(FaultPlan::Kind::DoorOpen);
    auto flag = [&](bool& target) -> Outcome {
        const auto value = inRange(argument, 0, 1);
        if (!value || argument.size() != 1)
            return {errorText(16), 0};
        target = *value == 1;
        return {kOk, kRelayMs};
    };
    // Origin and limit moves take the argument 1 ("go").
    auto go = [&]() { return argument == "1"; };

    if (command == "TS") {
        const auto value = inRange(argument, 10, 30000);
        if (!value)
            return {errorText(16), 0};
        measTime_ = *value;
        return {kOk, 0};
    }
    if (command == "ES") {
        const auto value = inRange(argument, 0, LightModel::kIrisClosed);
        if (!value)
            return {errorText(16), 0};
        const int ms = mechanics::irisTravelMs(iris_, *value);
        iris_ = *value;
        return {kOk, ms};
    }
    if (command == "EO" || command == "EL") {
        if (!go())
            return {errorText(16), 0};
        const int target = command == "EO" ? 0 : LightModel::kIrisClosed;
        const int ms = mechanics::irisTravelMs(iris_, target);
        iris_ = target;
        return {kOk, ms};
    }
    if (command == "RS") {
        const auto value = inRange(argument, 1, LightModel::kRanges);
        if (!value || argument.size() != 1)
            return {errorText(16), 0};
        range_ = *value;
        return {kOk, kRelayMs};
    }
    if (command == "AS")
        return flag(airCheck_);
    if (command == "DS")
        return flag(valve_);
    if (command == "GS") {
        if (doorOpen && argument == "1")
            return {errorText(14), 0};
        return flag(grid_);
    }
    if (command == "HS" || command == "HO") {
        const auto value = inRange(argument, 0, 255);
        if (!value)
            return {errorText(16), 0};
        (command == "HS" ? ledLight_ : ledStage_) = *value;
        return {kOk, 0};
    }
    if (command == "JS") {
        const auto value = inRange(argument, 0, 3000);
        if (!value)
            return {errorText(16), 0};
        airFlow_ = *value;
        return {kOk, kFlowMs};
    }
    if (command == "LS") {
        const auto value = inRange(argument, mechanics::kWaveMin, mechanics::kWaveMax);
        if (!value)
            return {errorText(16), 0};
        // The grating drive acknowledges at once and turns while the host waits with "KS".
        const int ms = mechanics::waveTravelMs(wave_, *value);
        wave_ = *value;
        return {kOk, 0, ms};
    }
    if (command == "LO") {
        if (!go())
            return {errorText(16), 0};
        const int ms = mechanics::waveTravelMs(wave_, mechanics::kWaveOrigin);
        wave_ = mechanics::kWaveOrigin;
        return {kOk, 0, ms};
    }
    if (command == "XS" || command == "XO" || command == "XL") {
        std::optional<int> target;
        if (command == "XS")
            target = inRange(argument, 0, mechanics::kStageLimit);
        else if (go())
            target = command == "XO" ? mechanics::kStageOrigin : mechanics::kStageLimit;
        if (!target)
            return {errorText(16), 0};
        const int ms = mechanics::stageTravelMs(stage_, *target);
        stage_ = *target;
        return {kOk, ms};
    }
    if (command == "VS") {
        const auto value = inRange(argument, 0, mechanics::kHighVoltageMax);
        if (!value)
            return {errorText(16), 0};
        // The door interlock keeps the anode supply low while the chamber is open.
        if (doorOpen && *value > 1000)
            return {errorText(14), 0};
        highVolts_ = *value;
        return {kOk, kHighVoltageMs};
    }
    if (command == "FS" || command == "FO") {
        std::optional<int> target;
        if (command == "FS")
            target = argument.size() == 1 ? inRange(argument, 0, LightModel::kFilters - 1) : std::nullopt;
        else if (go())
            target = 0;
        if (!target)
            return {errorText(16), 0};
        const int ms = mechanics::filterTravelMs(filter_, *target);
        filter_ = *target;
        return {kOk, ms};
    }
    if (command == "WS") {
        const auto value = digits(argument);
        if (!value)
            return {errorText(16), 0};
        if (!memory_.setAddress(*value))
            return {errorText(15), 0};
        return {kOk, 0};
    }
    if (command == "WO") {
        if (argument.size() != 4)
            return {errorText(16), 0};
        if (!memory_.write(argument))
            return {errorText(15), 0};
        return {kOk, kEepromWriteMs};
    }
    if (command == "BO") {
        const auto value = argument.size() == 2 ? digits(argument) : std::nullopt;
        if (!value || !span_.select(*value))
            return {errorText(16), 0};
        return {kOk, 0};
    }
    if (command == "BL") {
        bool numeric = false;
        argument.toDouble(&numeric);
        if (!numeric || argument.size() > 10)
            return {errorText(16), 0};
        span_.write(argument);
        return {kOk, kEepromWriteMs};
    }
    return {errorText(10), 0};
}

Tz4Simulator::Outcome Tz4Simulator::readRegister(const QByteArray& command, qint64 nowMs)
{
    const bool doorOpen = faults_.has(FaultPlan::Kind::DoorOpen);
    auto volts = [&](double nominal) {
        return padded(std::lround(nominal * 10 + noise_(random_) * 0.5), 4);
    };
    if (command == "TS")
        return {padded(measTime_, 4), 0};
    if (command == "ES")
        return {padded(iris_, 4), 0};
    if (command == "RS")
        return {QByteArray::number(range_), 0};
    if (command == "AS")
        return {airCheck_ ? "1" : "0", 0};
    if (command == "CS")
        return count();
    if (command == "DS")
        return {valve_ ? "1" : "0", 0};
    if (command == "GS")
        return {grid_ ? "1" : "0", 0};
    if (command == "HS")
        return {padded(ledLight_, 3), 0};
    if (command == "HO")
        return {padded(ledStage_, 3), 0};
    // Fan words: one digit per fan, 1 = running; the stage unit adds its door switch.
    if (command == "IS")
        return {"11", 0};
    if (command == "IO")
        return {doorOpen ? "111" : "110", 0};
    if (command == "JS")
        return {padded(airFlow_, 4), 0};
    if (command == "KS")
        return {diodeReply(), kAdcMs};
    if (command == "LS")
        return {padded(wave_, 4), 0};
    if (command == "PS")
        return {volts(12.0), 0};
    if (command == "QS")
        return {volts(24.0), 0};
    if (command == "US")
        return {volts(5.0), 0};
    if (command == "XS")
        return {padded(stage_ * 10, 5), 0};
    if (command == "VS")
        return {padded(highVolts_, 4), 0};
    if (command == "FS")
        return {QByteArray::number(filter_), 0};
    if (command == "SS" || command == "SO") {
        const bool failed = faults_.applies(FaultPlan::Kind::DiagFail, command);
        // Light unit: eyeris origin and photodiode 2 flagged; stage unit: dry air 3 flagged.
        if (command == "SS")
            return {failed ? "34844" : "24040", kSelfTestMs};
        return {failed ? "324042" : "224040", kSelfTestMs};
    }
    if (command == "OS") {
        warmUpLatch_ = nowMs;
        return {kOk, 0};
    }
    if (command == "OO") {
        const qint64 seconds = powerOnSeconds_ + warmUpLatch_.value_or(nowMs) / 1000;
        return {padded(std::min<qint64>(seconds, kWarmUpReplyCap), 4), 0};
    }
    if (command == "WO") {
        const auto word = memory_.read();
        if (!word)
            return {errorText(15), 0};
        return {*word, 0};
    }
    if (command == "BL")
        return {span_.read(), 0};
    return {errorText(10), 0};
}

Tz4Simulator::Outcome Tz4Simulator::count()
{
    const double seconds = measTime_ / 100.0;
    const int cps = counter_.count(trueCountRate(), seconds, random_);
    // The photodiode is sampled over the same counting period.
    const bool onDiode = mechanics::underLight(stage_) == mechanics::Target::PhotoDiode;
    diodeLatch_ = light_.diodeReading(onDiode ? lightPower() : 0.0, energy(), range_);
    return {padded(cps, 5), int(std::lround(seconds * 1000))};
}

QByteArray Tz4Simulator::diodeReply()
{
    if (!diodeLatch_) {
        const bool onDiode = mechanics::underLight(stage_) == mechanics::Target::PhotoDiode;
        diodeLatch_ = light_.diodeReading(onDiode ? lightPower() : 0.0, energy(), range_);
    }
    double reading = *diodeLatch_;
    if (reading < LightModel::kDiodeFullScale)
        reading += noise_(random_);
    return padded(std::clamp<long>(std::lround(reading), 0, LightModel::kDiodeFullScale), 5);
}

} // namespace tz4::sim
