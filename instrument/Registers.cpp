#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <cmath>

namespace tz4 {

namespace {

[[noreturn]] void readOnly(const char* label)
{
    EnterProcedure here(label);
    throw Tz4Error(err::PropertyReadOnly, QStringLiteral("Set not supported (read-only property)"));
}

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

bool containsOne(const QString& reply) { return reply.contains(QLatin1Char('1')); }

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

double uclTz4Body::readNumber() { return replyToDouble(replyLine_); }

qint16 uclTz4Body::readInt16() { return replyToInt16(replyLine_); }

qint16 uclTz4Body::MeasTime()
{
    EnterProcedure here("uclTz4Body:MeasTime(Get)");
    if (!read_.measTime) {
        measTime_ = ask(QStringLiteral("MeasTime"), QStringLiteral("TS"), overTime_)
                        ? wholeInt16(readNumber() / 100.0)
                        : 0;
        read_.measTime = true;
    }
    return measTime_;
}

void uclTz4Body::setMeasTime(qint16 seconds)
{
    EnterProcedure here("uclTz4Body:MeasTime(Let)");
    const qint16 hundredths = wholeInt16(seconds * 100.0); // the instrument's field is 16 bits
    measTime_ = seconds;
    ask(QStringLiteral("MeasTime"), QStringLiteral("TS") + formatNumber(hundredths, QStringLiteral("0000")), overTime_);
}

qint16 uclTz4Body::Eyeris()
{
    EnterProcedure here("uclTz4Body:Eyeris(Get)");
    if (!read_.eyeris) {
        eyeris_ = ask(QStringLiteral("Eyeris"), QStringLiteral("ES"), 10) ? readInt16() : 0;
        read_.eyeris = true;
    }
    return eyeris_;
}

void uclTz4Body::setEyeris(qint16 value)
{
    EnterProcedure here("uclTz4Body:Eyeris(Let)");
    eyeris_ = value;
    ask(QStringLiteral("Eyeris"), QStringLiteral("ES") + formatNumber(value, QStringLiteral("0000")), 50);
}

qint16 uclTz4Body::LightRange()
{
    EnterProcedure here("uclTz4Body:LightRange(Get)");
    if (!read_.lightRange) {
        lightRange_ = ask(QStringLiteral("LightRange"), QStringLiteral("RS"), 10) ? readInt16() : 0;
        read_.lightRange = true;
    }
    return lightRange_;
}

void uclTz4Body::setLightRange(qint16 value)
{
    EnterProcedure here("uclTz4Body:LightRange(Let)");
    lightRange_ = value;
    ask(QStringLiteral("LightRange"), QStringLiteral("RS") + formatNumber(value, QStringLiteral("0")), 10);
}

bool uclTz4Body::AirChack()
{
    EnterProcedure here("uclTz4Body:AirChack(Get)");
    if (!read_.airChack) {
        airChack_ = ask(QStringLiteral("AirChack"), QStringLiteral("AS"), 10) && containsOne(replyLine_);
        read_.airChack = true;
    }
    return airChack_;
}

void uclTz4Body::setAirChack(bool on)
{
    EnterProcedure here("uclTz4Body:AirChack(Let)");
    airChack_ = on;
    ask(QStringLiteral("AirChack"), QStringLiteral("AS") + flag(on), 10);
}

qint16 uclTz4Body::CpsValue()
{
    EnterProcedure here("uclTz4Body:CpsValue(Get)");
    const qint16 saved = overTime_;
    const qint16 seconds = MeasTime();
    // Ten seconds of waiting per second of counting, unless the caller already allows more.
    if (overTime_ / 5.0 <= seconds)
        overTime_ = wholeInt16(seconds * 50.0);
    lastProcess_ = QStringLiteral("CpsValue");
    bool ok = false;
    try {
        ok = WriteRS232C(QStringLiteral("CS"));
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
    if (!read_.elBalve) {
        elBalve_ = ask(QStringLiteral("ElBalve"), QStringLiteral("DS"), 10) && containsOne(replyLine_);
        read_.elBalve = true;
    }
    return elBalve_;
}

void uclTz4Body::setElBalve(bool on)
{
    EnterProcedure here("uclTz4Body:ElBalve(Let)");
    elBalve_ = on;
    ask(QStringLiteral("ElBalve"), QStringLiteral("DS") + flag(on), 10);
}

bool uclTz4Body::GridVolts()
{
    EnterProcedure here("uclTz4Body:GridVolts(Get)");
    if (!read_.gridVolts) {
        gridVolts_ = ask(QStringLiteral("GridVolts"), QStringLiteral("GS"), 10) && containsOne(replyLine_);
        read_.gridVolts = true;
    }
    return gridVolts_;
}

void uclTz4Body::setGridVolts(bool on)
{
    EnterProcedure here("uclTz4Body:GridVolts(Let)");
    gridVolts_ = on;
    ask(QStringLiteral("GridVolts"), QStringLiteral("GS") + flag(on), 10);
}

qint16 uclTz4Body::Led(qint16 Bodys)
{
    EnterProcedure here("uclTz4Body:Led(Get)");
    // Both units share one cached value and one read flag.
    if (!read_.led && (Bodys == 0 || Bodys == 1)) {
        const bool ok = Bodys == 0 ? ask(QStringLiteral("LED0"), QStringLiteral("HS"), 10)
                                   : ask(QStringLiteral("LED1"), QStringLiteral("HO"), 10);
        led_ = ok ? readInt16() : 0;
        read_.led = true;
    }
    return led_;
}

void uclTz4Body::setLed(qint16 Bodys, qint16 value)
{
    EnterProcedure here("uclTz4Body:Led(Let)");
    led_ = value;
    const QString digits = formatNumber(value, QStringLiteral("000"));
    if (Bodys == 0)
        ask(QStringLiteral("LED0"), QStringLiteral("HS") + digits, 10);
    else if (Bodys == 1)
        ask(QStringLiteral("LED1"), QStringLiteral("HO") + digits, 10);
}

qint16 uclTz4Body::Fan(qint16 Bodys)
{
    EnterProcedure here("uclTz4Body:Fan(Get)");
    if (Bodys == 0 || Bodys == 1) {
        const bool ok = Bodys == 0 ? ask(QStringLiteral("FAN0"), QStringLiteral("IS"), 10)
                                   : ask(QStringLiteral("FAN1"), QStringLiteral("IO"), 10);
        fan_ = ok ? readInt16() : 0;
    }
    return fan_;
}

void uclTz4Body::setFan(qint16, qint16) { readOnly("uclTz4Body:Fan(Let)"); }

float uclTz4Body::AirValue()
{
    EnterProcedure here("uclTz4Body:AirValue(Get)");
    if (!read_.airValue) {
        airValue_ = ask(QStringLiteral("AirValue"), QStringLiteral("JS"), 10) ? float(readNumber() / 1000.0) : 0.0f;
        read_.airValue = true;
    }
    return airValue_;
}

void uclTz4Body::setAirValue(float value)
{
    EnterProcedure here("uclTz4Body:AirValue(Let)");
    airValue_ = value;
    ask(QStringLiteral("AirValue"), QStringLiteral("JS") + formatNumber(double(value) * 1000.0, QStringLiteral("0000")), 10);
}

float uclTz4Body::DiodeVolts()
{
    EnterProcedure here("uclTz4Body:DiodeVolts(Get)");
    diodeVolts_ = ask(QStringLiteral("DiodeVolts"), QStringLiteral("KS"), 10) ? float(readNumber()) : 0.0f;
    return diodeVolts_;
}

void uclTz4Body::setDiodeVolts(float) { readOnly("uclTz4Body:DiodeVolts(Let)"); }

float uclTz4Body::LightWave()
{
    EnterProcedure here("uclTz4Body:LightWave(Get)");
    lightWave_ = ask(QStringLiteral("LightWave"), QStringLiteral("LS"), 50) ? float(readNumber() / 10.0) : 0.0f;
    return lightWave_;
}

void uclTz4Body::setLightWave(float nm)
{
    EnterProcedure here("uclTz4Body:LightWave(Let)");
    lightWave_ = nm;
    const qint16 saved = overTime_;
    lastProcess_ = QStringLiteral("LightWave");
    overTime_ = 50;
    if (!WriteRS232C(QStringLiteral("LS"))) {
        reportFailure();
        overTime_ = saved;
        return;
    }
    const double current = readNumber() / 10.0;
    // The grating is always approached from above: overshoot 10 nm first when below.
    if (current < nm) {
        overTime_ = wholeInt16(std::abs(nm - current) * 10.0);
        if (!WriteRS232C(QStringLiteral("LS") + formatNumber(double(nm) * 10.0 + 100.0, QStringLiteral("0000"))))
            reportFailure();
    }
    overTime_ = 1500;
    WriteRS232C(QStringLiteral("KS"));
    overTime_ = 600;
    if (!WriteRS232C(QStringLiteral("LS") + formatNumber(double(nm) * 10.0, QStringLiteral("0000"))))
        reportFailure();
    setOverTime(saved);
}

float uclTz4Body::QL_Volts()
{
    EnterProcedure here("uclTz4Body:QL_Volts(Get)");
    qlVolts_ = ask(QStringLiteral("QL_Volts"), QStringLiteral("PS"), 10) ? float(readNumber() / 10.0) : 0.0f;
    return qlVolts_;
}

void uclTz4Body::setQL_Volts(float) { readOnly("uclTz4Body:QL_Volts(Let)"); }

float uclTz4Body::QH_Volts()
{
    EnterProcedure here("uclTz4Body:QH_Volts(Get)");
    qhVolts_ = ask(QStringLiteral("QH_Volts"), QStringLiteral("QS"), 10) ? float(readNumber() / 10.0) : 0.0f;
    return qhVolts_;
}

void uclTz4Body::setQH_Volts(float) { readOnly("uclTz4Body:QH_Volts(Let)"); }

float uclTz4Body::SH_Volts()
{
    EnterProcedure here("uclTz4Body:SH_Volts(Get)");
    shVolts_ = ask(QStringLiteral("SH_Volts"), QStringLiteral("US"), 10) ? float(readNumber() / 10.0) : 0.0f;
    return shVolts_;
}

void uclTz4Body::setSH_Volts(float) { readOnly("uclTz4Body:SH_Volts(Let)"); }

float uclTz4Body::StageX()
{
    EnterProcedure here("uclTz4Body:StageX(Get)");
    if (!read_.stageX) {
        // The instrument answers in hundredths; the component holds tenths.
        stageTenths_ = ask(QStringLiteral("StageX"), QStringLiteral("XS"), 10) ? float(readNumber() / 10.0) : 0.0f;
        read_.stageX = true;
    }
    return stageTenths_ / 10.0f;
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
    if (!read_.hvVolts) {
        if (ask(QStringLiteral("HV_Volts"), QStringLiteral("VS"), 10))
            hvVolts_ = readInt16();
        read_.hvVolts = true;
    }
    return hvVolts_;
}

void uclTz4Body::setHV_Volts(qint16 volts)
{
    EnterProcedure here("uclTz4Body:HV_Volts(Let)");
    hvVolts_ = volts;
    ask(QStringLiteral("HV_Volts"), QStringLiteral("VS") + formatNumber(volts, QStringLiteral("0000")), 50);
}

qint16 uclTz4Body::Filter()
{
    EnterProcedure here("uclTz4Body:Filter(Get)");
    filter_ = ask(QStringLiteral("Filter"), QStringLiteral("FS"), 10) ? readInt16() : 0;
    return filter_;
}

void uclTz4Body::setFilter(qint16 position)
{
    EnterProcedure here("uclTz4Body:Filter(Let)");
    filter_ = position;
    ask(QStringLiteral("Filter"), QStringLiteral("FS") + formatNumber(position, QStringLiteral("0")), 50);
}

bool uclTz4Body::Door()
{
    EnterProcedure here("uclTz4Body:Door(Get)");
    door_ = ask(QStringLiteral("Door"), QStringLiteral("IO"), 10) && replyLine_.size() >= 3
            && replyLine_.at(2) == QLatin1Char('1');
    return door_;
}

void uclTz4Body::setDoor(bool) { readOnly("uclTz4Body:Door(Let)"); }

float uclTz4Body::Energen() const
{
    EnterProcedure here("uclTz4Body:Energen(Get)");
    // No wavelength is known before the first read or move.
    return lightWave_ == 0.0f ? 0.0f : 1240.0f / lightWave_;
}

void uclTz4Body::setEnergen(float eV)
{
    EnterProcedure here("uclTz4Body:Energen(Let)");
    if (eV == 0.0f)
        throw Tz4Error(err::DivisionByZero, QStringLiteral("Division by zero"));
    setLightWave(1240.0f / eV);
}

void uclTz4Body::setSumLost(float tau)
{
    EnterProcedure here("uclTz4Body:SumLost(Let)");
    sumLost_ = tau;
    const QString digits = uncheckPointDelim(formatNumber(tau, QStringLiteral("0.000000")));
    const qint16 saved = overTime_;
    overTime_ = 10;
    lastProcess_ = QStringLiteral("SumLost");
    const bool ok = WriteRS232C(QStringLiteral("WS0001"))
                    && WriteRS232C(QStringLiteral("WO") + digits.left(4))
                    && WriteRS232C(QStringLiteral("WO") + digits.right(4));
    if (!ok)
        reportFailure();
    setOverTime(saved);
}

float uclTz4Body::LightRangeAdjust(qint16 Range) const
{
    EnterProcedure here("uclTz4Body:LightRangeAdjust(Get)");
    return Range >= 1 && Range <= 9 ? float(rangeGain_[Range]) : 0.0f;
}

void uclTz4Body::setLightRangeAdjust(qint16, float) { readOnly("uclTz4Body:LightRangeAdjust(Let)"); }

float uclTz4Body::PhotoDiodeAdjust(float Eng) const
{
    EnterProcedure here("uclTz4Body:PhotoDiodeAdjust(Get)");
    const qint64 entry = roundHalfEven((double(Eng) * 100.0 - 340.0) / 5.0);
    if (entry < 0 || entry >= qint64(diodeSensitivity_.size()))
        throw Tz4Error(err::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return float(diodeSensitivity_[entry]);
}

void uclTz4Body::setPhotoDiodeAdjust(float, float) { readOnly("uclTz4Body:PhotoDiodeAdjust(Let)"); }

QString uclTz4Body::ClushParameter() const
{
    EnterProcedure here("uclTz4Body:ClushParameter(Get)");
    const auto yes = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Error(Clush) Property List") + crlf;
    const auto add = [&](const char* name, const QString& value) {
        text += QLatin1String(name) + value + crlf;
    };
    add("AirChack=", yes(airChack_));
    add("Eyeris=", QString::number(eyeris_));
    add("Filter=", QString::number(filter_));
    add("LightRange=", QString::number(lightRange_));
    add("CPS=", QString::number(cpsValue_));
    add("ELV=", yes(elBalve_));
    add("Grid=", yes(gridVolts_));
    add("AirValue=", shortestText(airValue_));
    add("PhotoDiode=", shortestText(diodeVolts_));
    add("LightWave=", shortestText(lightWave_));
    add("X Stage=", shortestText(stageTenths_));
    add("HV=", QString::number(hvVolts_));
    add("MeasTime=", QString::number(measTime_));
    add("OverTime=", QString::number(overTime_));
    return text;
}

} // namespace tz4
