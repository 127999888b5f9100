#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <cmath>
#include <limits>

namespace tz4 {

namespace {

constexpr float FullWarmUpSeconds = 1800.0f;

} // namespace

bool uclTz4Body::Connected()
{
    EnterProcedure here("uclTz4Body:Connected(Get)");
    if (!line_.isOpen())
        setPortOpen(true);
    if (!line_.isOpen())
        return false;
    bool connected = false;
    for (int attempt = 0; attempt < 3 && !connected; ++attempt) {
        QString word = Diag(0);
        if (word.size() > 2)
            connected = word.left(1).trimmed() == QLatin1String("2");
        if (connected) {
            word = Diag(1);
            if (word.size() > 3)
                connected = word.left(1) == QLatin1String("2");
        }
    }
    return connected;
}

void uclTz4Body::setConnected(bool)
{
    EnterProcedure here("uclTz4Body:Connected(Let)");
    throw Tz4Error(err::PropertyReadOnly, QStringLiteral("Set not supported (read-only property)"));
}

QString uclTz4Body::Diag(qint16 Body)
{
    EnterProcedure here("uclTz4Body:Diag(Get)");
    if (Body != 0 && Body != 1)
        return {};
    // A unit that does not answer reports every fault flag.
    const bool ok = Body == 0 ? ask(QStringLiteral("Diag0"), QStringLiteral("SS"), 20)
                              : ask(QStringLiteral("Diag1"), QStringLiteral("SO"), 20);
    if (ok)
        return replyLine_;
    return Body == 0 ? QStringLiteral("3FFFF") : QStringLiteral("33FFFF");
}

void uclTz4Body::InitBody()
{
    EnterProcedure here("uclTz4Body:InitBody");
    setOverTime(20);
    // Nothing is moving yet, so a failure only releases Busy.
    const ProcedureGuard guard(*this, false);

    // Calibration memory: command failures are not reported one by one, a word that does not
    // read as a number simply leaves the value in place.
    const auto word = [this] {
        WriteRS232C(QStringLiteral("WO"));
        return replyLine_.trimmed();
    };
    // Every calibration value is used as a single-precision number, so one beyond that range
    // is as unreadable as text.
    const auto number = [](const QString& text, auto& target) {
        double value = 0;
        if (isLocaleNumber(chkPointDelim(text), &value) && std::abs(value) <= std::numeric_limits<float>::max())
            target = static_cast<std::remove_reference_t<decltype(target)>>(value);
    };

    if (line_.isOpen()) {
        WriteRS232C(QStringLiteral("WS0000"));
        const QString first = word();
        double tau = 0;
        sumLost_ = isLocaleNumber(chkPointDelim(first + word()), &tau) && std::abs(tau) <= std::numeric_limits<float>::max()
                       ? float(tau)
                       : 1.0f;
        float* const positions[8] = {&samplePosition_,     &spareWords_[0], &photoDiodePosition_,
                                     &spareWords_[1],      &carbonPosition_, &spareWords_[2],
                                     &sampleOutPosition_, &spareWords_[3]};
        for (float* position : positions)
            number(word(), *position);
        WriteRS232C(QStringLiteral("WS0012"));
        number(word(), extraWord_);
        WriteRS232C(QStringLiteral("WS0016"));
        for (int range = 1; range <= 9; ++range) {
            const QString high = word();
            number(high + word(), light_.rangeGain(range));
        }
        WriteRS232C(QStringLiteral("WS0064"));
        for (int entry = 0; entry <= 58; ++entry) {
            const QString high = word();
            number(high + word(), light_.sensitivity(entry));
        }
        Refresh();
    }

    // The span table is read even with the port closed; an unreadable record ends the
    // initialisation with the conversion failure.
    const auto span = [this](int address) {
        WriteRS232C(QStringLiteral("BO") + formatNumber(address, QStringLiteral("00")));
        WriteRS232C(QStringLiteral("BL"));
        const QString text = chkPointDelim(replyLine_.trimmed());
        double value = 0;
        if (!isLocaleNumber(text, &value))
            throw Tz4Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
        return value;
    };
    for (int r = 0; r < 5; ++r)
        light_.span(r).minimum = span(r);
    for (int r = 0; r < 5; ++r)
        light_.span(r).maximum = span(r + 5);
    for (int r = 0; r < 5; ++r)
        light_.span(r).range = wholeInt16(span(r + 10));

    Eyeris();
    LightRange();
    AirChack();
    ElBalve();
    GridVolts();
    Led(1);
    Fan(1);
    AirValue();
    DiodeVolts();
    LightWave();
    QL_Volts();
    QH_Volts();
    SH_Volts();
    StageX();
    HV_Volts();
    Filter();
    busy_ = false;
}

void uclTz4Body::Refresh()
{
    EnterProcedure here("uclTz4Body:Refresh");
    if (!line_.isOpen())
        return;
    lastProcess_ = QStringLiteral("WarmUpTime");
    if (!WriteRS232C(QStringLiteral("OS")))
        return;
    if (WriteRS232C(QStringLiteral("OO"))) {
        const qint32 elapsed = replyToInt32(replyLine_);
        warmUpLeft_ = elapsed < FullWarmUpSeconds ? FullWarmUpSeconds - float(elapsed) : 0.0f;
    } else {
        warmUpLeft_ = 0;
        reportFailure();
    }
}

qint16 uclTz4Body::WarmUpTime() const
{
    EnterProcedure here("uclTz4Body:WarmUpTime(Get)");
    return qint16(roundHalfEven(warmUpLeft_));
}

void uclTz4Body::setWarmUpTime(qint16)
{
    EnterProcedure here("uclTz4Body:WarmUpTime(Let)");
    throw Tz4Error(err::PropertyReadOnly, QStringLiteral("Set not supported (read-only property)"));
}

void uclTz4Body::InitEyeris()
{
    EnterProcedure here("uclTz4Body:InitEyeris");
    if (ask(QStringLiteral("InitEyeris"), QStringLiteral("EO1"), 50))
        eyeris_ = 0;
}

void uclTz4Body::LimitEyeris()
{
    EnterProcedure here("uclTz4Body:LimitEyeris");
    if (ask(QStringLiteral("LimitEyeris"), QStringLiteral("EL1"), 50))
        eyeris_ = 2000;
}

void uclTz4Body::InitFilter()
{
    EnterProcedure here("uclTz4Body:InitFilter");
    if (ask(QStringLiteral("InitFilter"), QStringLiteral("FO1"), 50))
        filter_ = 0;
}

void uclTz4Body::InitLight()
{
    EnterProcedure here("uclTz4Body:InitLight");
    if (ask(QStringLiteral("InitLight"), QStringLiteral("LO1"), 600))
        lightWave_ = 250.0f;
}

void uclTz4Body::InitStageX()
{
    EnterProcedure here("uclTz4Body:InitStageX");
    if (ask(QStringLiteral("InitStageX"), QStringLiteral("XO1"), 50))
        stageTenths_ = 4.0f;
}

void uclTz4Body::LimitStageX()
{
    EnterProcedure here("uclTz4Body:LimitStageX");
    if (ask(QStringLiteral("LimitStageX"), QStringLiteral("XL1"), 50))
        stageTenths_ = 1600.0f;
}

void uclTz4Body::moveTo(const char* process, double targetTenths)
{
    // Every positioning starts from the origin so the stage's backlash is always the same.
    if (!ask(QLatin1String(process), QStringLiteral("XO1"), 50))
        return;
    if (ask(QLatin1String(process), QStringLiteral("XS") + formatNumber(targetTenths, QStringLiteral("0000")), 50))
        stageTenths_ = float(targetTenths);
}

void uclTz4Body::StageToPhotoDiode()
{
    EnterProcedure here("uclTz4Body:StageToPhotoDiode");
    moveTo("StageToPhotoDiode", photoDiodePosition_);
}

void uclTz4Body::StageToCerbon()
{
    EnterProcedure here("uclTz4Body:StageToCerbon");
    moveTo("StageToCarbon", carbonPosition_);
}

void uclTz4Body::StageToSample(float Offsets)
{
    EnterProcedure here("uclTz4Body:StageToSample");
    moveTo("StageToSample", double(Offsets) * 10.0 + samplePosition_);
}

void uclTz4Body::StageToSampleOut()
{
    EnterProcedure here("uclTz4Body:StageToSampleOut");
    moveTo("StageToSampleOut", sampleOutPosition_);
}

} // namespace tz4
