#include "instrument/ReadOnlyProperty.h"
#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

// Properties derived from the registers and the calibration memory rather than asked for.

namespace tz4 {

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
    return Range >= 1 && Range <= 9 ? float(light_.rangeGain(Range)) : 0.0f;
}

void uclTz4Body::setLightRangeAdjust(qint16, float) { readOnly("uclTz4Body:LightRangeAdjust(Let)"); }

float uclTz4Body::PhotoDiodeAdjust(float Eng) const
{
    EnterProcedure here("uclTz4Body:PhotoDiodeAdjust(Get)");
    return float(light_.sensitivityAt(double(Eng) * 100.0));
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
