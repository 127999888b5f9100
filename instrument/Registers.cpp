#include "instrument/RegisterTable.h"
#include "instrument/ReadOnlyProperty.h"
#include "instrument/ErrorTexts.h"
#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <cmath>
#include <type_traits>

// The register properties of the component. Each is a short get/set pair over its table row;
// the file is long only because the interface has some forty of them.

namespace tz4 {

namespace {

bool containsOne(const QString& reply) { return reply.contains(QLatin1Char('1')); }

template <typename T>
T registerValue(double value)
{
    if constexpr (std::is_same_v<T, bool>)
        return value != 0;
    else if constexpr (std::is_integral_v<T>)
        return wholeInt16(value);
    else
        return T(value);
}

} // namespace

bool uclTz4Body::ask(const QString& process, const QString& command, qint16 overTime)
{
    const qint16 saved = overTime_;
    overTime_ = overTime;
    lastProcess_ = process;
    bool ok = false;
    try {
        ok = WriteRS232C(command);
    } catch (...) {
        overTime_ = saved;
        throw;
    }
    overTime_ = saved;
    if (!ok)
        reportFailure();
    return ok;
}

void uclTz4Body::reportFailure() { emit ReceiveError(errorStyle_, errorNumber_); }

// A reply that is not the number asked for is a failed command like any other, so that the
// failure (which still reaches the caller) names the command and what came back.
double uclTz4Body::readNumber()
{
    try {
        return replyToDouble(replyLine_);
    } catch (...) {
        noteFailure(lastCommand_, replyLine_, linkerr::UnreadableReply);
        throw;
    }
}

qint16 uclTz4Body::readInt16()
{
    try {
        return replyToInt16(replyLine_);
    } catch (...) {
        noteFailure(lastCommand_, replyLine_, linkerr::UnreadableReply);
        throw;
    }
}

std::optional<double> uclTz4Body::askRegister(const Register& r)
{
    if (!ask(QLatin1String(r.process), QLatin1String(r.command), r.readOverTime ? r.readOverTime : overTime_))
        return std::nullopt;
    switch (r.reply) {
    case RegisterReply::Integer: return readInt16();
    case RegisterReply::Scaled: return readNumber() / r.scale;
    case RegisterReply::Flag: return containsOne(replyLine_) ? 1.0 : 0.0;
    }
    return std::nullopt;
}

template <typename T>
T uclTz4Body::readRegister(const Register& r, T& held, bool& alreadyRead)
{
    if (r.readOnce && alreadyRead)
        return held;
    if (const auto value = askRegister(r))
        held = registerValue<T>(*value);
    else if (!r.keepOnFailure)
        held = T{};
    alreadyRead = true;
    return held;
}

template <typename T>
T uclTz4Body::readRegister(const Register& r, T& held)
{
    bool alreadyRead = false;
    return readRegister(r, held, alreadyRead);
}

template <typename T>
void uclTz4Body::writeRegister(const Register& r, T& held, T value)
{
    double argument = double(value) * r.scale;
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
        argument = wholeInt16(argument); // the instrument's fields are 16 bits
    held = value;
    ask(QLatin1String(r.process), QLatin1String(r.command) + formatNumber(argument, QLatin1String(r.picture)),
        r.writeOverTime ? r.writeOverTime : overTime_);
}

qint16 uclTz4Body::MeasTime()
{
    EnterProcedure here("uclTz4Body:MeasTime(Get)");
    return readRegister(reg::MeasTime, measTime_, read_.measTime);
}

void uclTz4Body::setMeasTime(qint16 seconds)
{
    EnterProcedure here("uclTz4Body:MeasTime(Let)");
    writeRegister(reg::MeasTime, measTime_, seconds);
}

qint16 uclTz4Body::Eyeris()
{
    EnterProcedure here("uclTz4Body:Eyeris(Get)");
    return readRegister(reg::Eyeris, eyeris_, read_.eyeris);
}

void uclTz4Body::setEyeris(qint16 value)
{
    EnterProcedure here("uclTz4Body:Eyeris(Let)");
    writeRegister(reg::Eyeris, eyeris_, value);
}

qint16 uclTz4Body::LightRange()
{
    EnterProcedure here("uclTz4Body:LightRange(Get)");
    return readRegister(reg::LightRange, lightRange_, read_.lightRange);
}

void uclTz4Body::setLightRange(qint16 value)
{
    EnterProcedure here("uclTz4Body:LightRange(Let)");
    writeRegister(reg::LightRange, lightRange_, value);
}

bool uclTz4Body::AirChack()
{
    EnterProcedure here("uclTz4Body:AirChack(Get)");
    return readRegister(reg::AirChack, airChack_, read_.airChack);
}

void uclTz4Body::setAirChack(bool on)
{
    EnterProcedure here("uclTz4Body:AirChack(Let)");
    writeRegister(reg::AirChack, airChack_, on);
}

qint16 uclTz4Body::CpsValue()
{
    EnterProcedure here("uclTz4Body:CpsValue(Get)");
    const qint16 saved = overTime_;
    const qint16 seconds = MeasTime();
    // Ten seconds of waiting per second of counting, unless the caller already allows more.
    if (overTime_ / 5.0 <= seconds)
        overTime_ = wholeInt16(seconds * 50.0);
    lastProcess_ = QLatin1String(reg::CpsValue.process);
    bool ok = false;
    try {
        ok = WriteRS232C(QLatin1String(reg::CpsValue.command));
        cpsValue_ = ok ? readInt16() : 0;
    } catch (...) {
        overTime_ = saved;
        throw;
    }
    if (!ok)
        reportFailure();
    setOverTime(saved);
    return cpsValue_;
}

void uclTz4Body::setCpsValue(qint16) { readOnly("uclTz4Body:CpsValue(Let)"); }

bool uclTz4Body::ElBalve()
{
    EnterProcedure here("uclTz4Body:ElBalve(Get)");
    return readRegister(reg::ElBalve, elBalve_, read_.elBalve);
}

void uclTz4Body::setElBalve(bool on)
{
    EnterProcedure here("uclTz4Body:ElBalve(Let)");
    writeRegister(reg::ElBalve, elBalve_, on);
}

bool uclTz4Body::GridVolts()
{
    EnterProcedure here("uclTz4Body:GridVolts(Get)");
    return readRegister(reg::GridVolts, gridVolts_, read_.gridVolts);
}

void uclTz4Body::setGridVolts(bool on)
{
    EnterProcedure here("uclTz4Body:GridVolts(Let)");
    writeRegister(reg::GridVolts, gridVolts_, on);
}

qint16 uclTz4Body::Led(qint16 Bodys)
{
    EnterProcedure here("uclTz4Body:Led(Get)");
    if (Bodys == 0 || Bodys == 1)
        readRegister(Bodys == 0 ? reg::Led0 : reg::Led1, led_, read_.led);
    return led_;
}

void uclTz4Body::setLed(qint16 Bodys, qint16 value)
{
    EnterProcedure here("uclTz4Body:Led(Let)");
    if (Bodys == 0 || Bodys == 1)
        writeRegister(Bodys == 0 ? reg::Led0 : reg::Led1, led_, value);
    else
        led_ = value;
}

qint16 uclTz4Body::Fan(qint16 Bodys)
{
    EnterProcedure here("uclTz4Body:Fan(Get)");
    if (Bodys == 0 || Bodys == 1)
        readRegister(Bodys == 0 ? reg::Fan0 : reg::Fan1, fan_);
    return fan_;
}

void uclTz4Body::setFan(qint16, qint16) { readOnly("uclTz4Body:Fan(Let)"); }

float uclTz4Body::AirValue()
{
    EnterProcedure here("uclTz4Body:AirValue(Get)");
    return readRegister(reg::AirValue, airValue_, read_.airValue);
}

void uclTz4Body::setAirValue(float value)
{
    EnterProcedure here("uclTz4Body:AirValue(Let)");
    writeRegister(reg::AirValue, airValue_, value);
}

float uclTz4Body::DiodeVolts()
{
    EnterProcedure here("uclTz4Body:DiodeVolts(Get)");
    return readRegister(reg::DiodeVolts, diodeVolts_);
}

void uclTz4Body::setDiodeVolts(float) { readOnly("uclTz4Body:DiodeVolts(Let)"); }

float uclTz4Body::LightWave()
{
    EnterProcedure here("uclTz4Body:LightWave(Get)");
    return readRegister(reg::LightWave, lightWave_);
}

void uclTz4Body::setLightWave(float nm)
{
    EnterProcedure here("uclTz4Body:LightWave(Let)");
    lightWave_ = nm;
    const QString command = QLatin1String(reg::LightWave.command);
    const qint16 saved = overTime_;
    lastProcess_ = QLatin1String(reg::LightWave.process);
    overTime_ = reg::LightWave.readOverTime;
    if (!WriteRS232C(command)) {
        reportFailure();
        overTime_ = saved;
        return;
    }
    const double current = readNumber() / reg::LightWave.scale;
    // The grating is always approached from above: overshoot 10 nm first when below.
    if (current < nm) {
        overTime_ = wholeInt16(std::abs(nm - current) * 10.0);
        if (!WriteRS232C(command + formatNumber(double(nm) * 10.0 + 100.0, QStringLiteral("0000"))))
            reportFailure();
    }
    overTime_ = 1500;
    WriteRS232C(QStringLiteral("KS"));
    overTime_ = 600;
    if (!WriteRS232C(command + formatNumber(double(nm) * 10.0, QStringLiteral("0000"))))
        reportFailure();
    setOverTime(saved);
}

float uclTz4Body::QL_Volts()
{
    EnterProcedure here("uclTz4Body:QL_Volts(Get)");
    return readRegister(reg::QL_Volts, qlVolts_);
}

void uclTz4Body::setQL_Volts(float) { readOnly("uclTz4Body:QL_Volts(Let)"); }

float uclTz4Body::QH_Volts()
{
    EnterProcedure here("uclTz4Body:QH_Volts(Get)");
    return readRegister(reg::QH_Volts, qhVolts_);
}

void uclTz4Body::setQH_Volts(float) { readOnly("uclTz4Body:QH_Volts(Let)"); }

float uclTz4Body::SH_Volts()
{
    EnterProcedure here("uclTz4Body:SH_Volts(Get)");
    return readRegister(reg::SH_Volts, shVolts_);
}

void uclTz4Body::setSH_Volts(float) { readOnly("uclTz4Body:SH_Volts(Let)"); }

float uclTz4Body::StageX()
{
    EnterProcedure here("uclTz4Body:StageX(Get)");
    return readRegister(reg::StageX, stageTenths_, read_.stageX) / 10.0f;
}

void uclTz4Body::setStageX(float position)
{
    EnterProcedure here("uclTz4Body:StageX(Let)");
    // Only the stage sequences move the stage; this corrects the held position.
    stageTenths_ = position * 10.0f;
}

qint16 uclTz4Body::HV_Volts()
{
    EnterProcedure here("uclTz4Body:HV_Volts(Get)");
    return readRegister(reg::HV_Volts, hvVolts_, read_.hvVolts);
}

void uclTz4Body::setHV_Volts(qint16 volts)
{
    EnterProcedure here("uclTz4Body:HV_Volts(Let)");
    writeRegister(reg::HV_Volts, hvVolts_, volts);
}

qint16 uclTz4Body::Filter()
{
    EnterProcedure here("uclTz4Body:Filter(Get)");
    return readRegister(reg::Filter, filter_);
}

void uclTz4Body::setFilter(qint16 position)
{
    EnterProcedure here("uclTz4Body:Filter(Let)");
    writeRegister(reg::Filter, filter_, position);
}

bool uclTz4Body::Door()
{
    EnterProcedure here("uclTz4Body:Door(Get)");
    door_ = ask(QLatin1String(reg::Door.process), QLatin1String(reg::Door.command), reg::Door.readOverTime)
            && replyLine_.size() >= 3 && replyLine_.at(2) == QLatin1Char('1');
    return door_;
}

void uclTz4Body::setDoor(bool) { readOnly("uclTz4Body:Door(Let)"); }

} // namespace tz4
