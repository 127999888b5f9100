#include "instrument/Tz4Registers.h"

#include "instrument/RegisterTable.h"
#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Link.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <cmath>
#include <type_traits>

namespace tz4 {

namespace {

constexpr float ElectronVoltNanometres = 1240.0f;
constexpr qint16 IdleOverTime = 1500;    // five minutes for the longest move
constexpr qint16 GratingOverTime = 600;  // the final approach of the grating
constexpr double GratingOvershootNm = 10;

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

std::optional<double> Tz4Registers::ask(const Register& r)
{
    if (!link_.ask(QLatin1String(r.process), QLatin1String(r.command), r.readOverTime ? r.readOverTime : link_.OverTime()))
        return std::nullopt;
    switch (r.reply) {
    case RegisterReply::Integer: return link_.replyInt16();
    case RegisterReply::Scaled: return link_.replyNumber() / r.scale;
    case RegisterReply::Flag: return containsOne(link_.replyLine()) ? 1.0 : 0.0;
    }
    return std::nullopt;
}

template <typename T>
T Tz4Registers::read(const Register& r, T& held, bool& alreadyRead)
{
    if (r.readOnce && alreadyRead)
        return held;
    if (const auto value = ask(r))
        held = registerValue<T>(*value);
    else if (!r.keepOnFailure)
        held = T{};
    alreadyRead = true;
    return held;
}

template <typename T>
T Tz4Registers::read(const Register& r, T& held)
{
    bool alreadyRead = false;
    return read(r, held, alreadyRead);
}

template <typename T>
void Tz4Registers::write(const Register& r, T& held, T value)
{
    double argument = double(value) * r.scale;
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
        argument = wholeInt16(argument); // the instrument's fields are 16 bits
    held = value;
    link_.ask(QLatin1String(r.process), QLatin1String(r.command) + formatNumber(argument, QLatin1String(r.picture)),
              r.writeOverTime ? r.writeOverTime : link_.OverTime());
}

// clang-format off
qint16 Tz4Registers::MeasTime() { EnterProcedure here("uclTz4Body:MeasTime(Get)"); return read(reg::MeasTime, held_.measTime, once_.measTime); }
void Tz4Registers::setMeasTime(qint16 seconds) { EnterProcedure here("uclTz4Body:MeasTime(Let)"); write(reg::MeasTime, held_.measTime, seconds); }
qint16 Tz4Registers::Eyeris() { EnterProcedure here("uclTz4Body:Eyeris(Get)"); return read(reg::Eyeris, held_.eyeris, once_.eyeris); }
void Tz4Registers::setEyeris(qint16 value) { EnterProcedure here("uclTz4Body:Eyeris(Let)"); write(reg::Eyeris, held_.eyeris, value); }
qint16 Tz4Registers::LightRange() { EnterProcedure here("uclTz4Body:LightRange(Get)"); return read(reg::LightRange, held_.lightRange, once_.lightRange); }
void Tz4Registers::setLightRange(qint16 value) { EnterProcedure here("uclTz4Body:LightRange(Let)"); write(reg::LightRange, held_.lightRange, value); }
bool Tz4Registers::AirChack() { EnterProcedure here("uclTz4Body:AirChack(Get)"); return read(reg::AirChack, held_.airChack, once_.airChack); }
void Tz4Registers::setAirChack(bool on) { EnterProcedure here("uclTz4Body:AirChack(Let)"); write(reg::AirChack, held_.airChack, on); }
bool Tz4Registers::ElBalve() { EnterProcedure here("uclTz4Body:ElBalve(Get)"); return read(reg::ElBalve, held_.elBalve, once_.elBalve); }
void Tz4Registers::setElBalve(bool on) { EnterProcedure here("uclTz4Body:ElBalve(Let)"); write(reg::ElBalve, held_.elBalve, on); }
bool Tz4Registers::GridVolts() { EnterProcedure here("uclTz4Body:GridVolts(Get)"); return read(reg::GridVolts, held_.gridVolts, once_.gridVolts); }
void Tz4Registers::setGridVolts(bool on) { EnterProcedure here("uclTz4Body:GridVolts(Let)"); write(reg::GridVolts, held_.gridVolts, on); }
float Tz4Registers::AirValue() { EnterProcedure here("uclTz4Body:AirValue(Get)"); return read(reg::AirValue, held_.airValue, once_.airValue); }
void Tz4Registers::setAirValue(float value) { EnterProcedure here("uclTz4Body:AirValue(Let)"); write(reg::AirValue, held_.airValue, value); }
float Tz4Registers::DiodeVolts() { EnterProcedure here("uclTz4Body:DiodeVolts(Get)"); return read(reg::DiodeVolts, held_.diodeVolts); }
float Tz4Registers::LightWave() { EnterProcedure here("uclTz4Body:LightWave(Get)"); return read(reg::LightWave, held_.lightWave); }
float Tz4Registers::QL_Volts() { EnterProcedure here("uclTz4Body:QL_Volts(Get)"); return read(reg::QL_Volts, held_.qlVolts); }
float Tz4Registers::QH_Volts() { EnterProcedure here("uclTz4Body:QH_Volts(Get)"); return read(reg::QH_Volts, held_.qhVolts); }
float Tz4Registers::SH_Volts() { EnterProcedure here("uclTz4Body:SH_Volts(Get)"); return read(reg::SH_Volts, held_.shVolts); }
qint16 Tz4Registers::HV_Volts() { EnterProcedure here("uclTz4Body:HV_Volts(Get)"); return read(reg::HV_Volts, held_.hvVolts, once_.hvVolts); }
void Tz4Registers::setHV_Volts(qint16 volts) { EnterProcedure here("uclTz4Body:HV_Volts(Let)"); write(reg::HV_Volts, held_.hvVolts, volts); }
qint16 Tz4Registers::Filter() { EnterProcedure here("uclTz4Body:Filter(Get)"); return read(reg::Filter, held_.filter); }
void Tz4Registers::setFilter(qint16 position) { EnterProcedure here("uclTz4Body:Filter(Let)"); write(reg::Filter, held_.filter, position); }
// clang-format on

qint16 Tz4Registers::Led(qint16 Bodys)
{
    EnterProcedure here("uclTz4Body:Led(Get)");
    if (Bodys == 0 || Bodys == 1)
        read(Bodys == 0 ? reg::Led0 : reg::Led1, held_.led, once_.led);
    return held_.led;
}

void Tz4Registers::setLed(qint16 Bodys, qint16 value)
{
    EnterProcedure here("uclTz4Body:Led(Let)");
    if (Bodys == 0 || Bodys == 1)
        write(Bodys == 0 ? reg::Led0 : reg::Led1, held_.led, value);
    else
        held_.led = value;
}

qint16 Tz4Registers::Fan(qint16 Bodys)
{
    EnterProcedure here("uclTz4Body:Fan(Get)");
    if (Bodys == 0 || Bodys == 1)
        read(Bodys == 0 ? reg::Fan0 : reg::Fan1, held_.fan);
    return held_.fan;
}

float Tz4Registers::StageX()
{
    EnterProcedure here("uclTz4Body:StageX(Get)");
    return read(reg::StageX, held_.stageTenths, once_.stageX) / 10.0f;
}

void Tz4Registers::setStageX(float position)
{
    EnterProcedure here("uclTz4Body:StageX(Let)");
    // Only the stage sequences move the stage; this corrects the held position.
    held_.stageTenths = position * 10.0f;
}

qint16 Tz4Registers::CpsValue()
{
    EnterProcedure here("uclTz4Body:CpsValue(Get)");
    const qint16 saved = link_.OverTime();
    const qint16 seconds = MeasTime();
    // Ten seconds of waiting per second of counting, unless the caller already allows more.
    if (link_.OverTime() / 5.0 <= seconds)
        link_.useOverTime(wholeInt16(seconds * 50.0));
    link_.setLastProcess(QLatin1String(reg::CpsValue.process));
    bool ok = false;
    try {
        ok = link_.WriteRS232C(QLatin1String(reg::CpsValue.command));
        held_.cpsValue = ok ? link_.replyInt16() : 0;
    } catch (...) {
        link_.useOverTime(saved);
        throw;
    }
    if (!ok)
        link_.reportFailure();
    link_.setOverTime(saved);
    return held_.cpsValue;
}

void Tz4Registers::setLightWave(float nm)
{
    EnterProcedure here("uclTz4Body:LightWave(Let)");
    held_.lightWave = nm;
    const QString command = QLatin1String(reg::LightWave.command);
    const qint16 saved = link_.OverTime();
    link_.setLastProcess(QLatin1String(reg::LightWave.process));
    link_.useOverTime(reg::LightWave.readOverTime);
    if (!link_.WriteRS232C(command)) {
        link_.reportFailure();
        link_.useOverTime(saved);
        return;
    }
    const double current = link_.replyNumber() / reg::LightWave.scale;
    // Overshoot first when below, so the backlash is always taken up the same way.
    if (current < nm) {
        link_.useOverTime(wholeInt16(std::abs(nm - current) * 10.0));
        const double above = double(nm) * reg::LightWave.scale + GratingOvershootNm * reg::LightWave.scale;
        if (!link_.WriteRS232C(command + formatNumber(above, QStringLiteral("0000"))))
            link_.reportFailure();
    }
    link_.useOverTime(IdleOverTime);
    link_.WriteRS232C(QStringLiteral("KS"));
    link_.useOverTime(GratingOverTime);
    if (!link_.WriteRS232C(command + formatNumber(double(nm) * reg::LightWave.scale, QStringLiteral("0000"))))
        link_.reportFailure();
    link_.setOverTime(saved);
}

bool Tz4Registers::Door()
{
    EnterProcedure here("uclTz4Body:Door(Get)");
    held_.door = link_.ask(QLatin1String(reg::Door.process), QLatin1String(reg::Door.command), reg::Door.readOverTime)
                 && link_.replyLine().size() >= 3 && link_.replyLine().at(2) == QLatin1Char('1');
    return held_.door;
}

float Tz4Registers::Energen() const
{
    EnterProcedure here("uclTz4Body:Energen(Get)");
    // No wavelength is known before the first read or move.
    return held_.lightWave == 0.0f ? 0.0f : ElectronVoltNanometres / held_.lightWave;
}

void Tz4Registers::setEnergen(float eV)
{
    EnterProcedure here("uclTz4Body:Energen(Let)");
    if (eV == 0.0f)
        throw Tz4Error(err::DivisionByZero, QStringLiteral("Division by zero"));
    setLightWave(ElectronVoltNanometres / eV);
}

QString Tz4Registers::ClushParameter() const
{
    EnterProcedure here("uclTz4Body:ClushParameter(Get)");
    const auto yes = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Error(Clush) Property List") + crlf;
    const auto add = [&](const char* name, const QString& value) {
        text += QLatin1String(name) + value + crlf;
    };
    add("AirChack=", yes(held_.airChack));
    add("Eyeris=", QString::number(held_.eyeris));
    add("Filter=", QString::number(held_.filter));
    add("LightRange=", QString::number(held_.lightRange));
    add("CPS=", QString::number(held_.cpsValue));
    add("ELV=", yes(held_.elBalve));
    add("Grid=", yes(held_.gridVolts));
    add("AirValue=", shortestText(held_.airValue));
    add("PhotoDiode=", shortestText(held_.diodeVolts));
    add("LightWave=", shortestText(held_.lightWave));
    add("X Stage=", shortestText(held_.stageTenths));
    add("HV=", QString::number(held_.hvVolts));
    add("MeasTime=", QString::number(held_.measTime));
    add("OverTime=", QString::number(link_.OverTime()));
    return text;
}

} // namespace tz4
