#include "sim/Tz4Simulator.h"

#include "sim/CommandArguments.h"
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
constexpr int kSettleMs = 1; // command decoding

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
        outcome.text = errorText(replyerr::UnknownCommand);
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
