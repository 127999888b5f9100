#include "instrument/Tz4Sequences.h"

#include "instrument/LightCalibration.h"
#include "instrument/ProcedureGuard.h"
#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Registers.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"
#include "core/Tz4Error.h"

#include <cmath>
#include <limits>

namespace tz4 {

namespace {

constexpr float FullWarmUpSeconds = 1800.0f;
constexpr qint16 InitOverTime = 20;
constexpr qint16 DiagOverTime = 20;
constexpr qint16 MoveOverTime = 50;
constexpr qint16 GratingHomeOverTime = 600;
constexpr int ConnectAttempts = 3;
constexpr qint16 IrisLimitValue = 2000;
constexpr float GratingHomeNm = 250.0f;
constexpr float StageHomeTenths = 4.0f;
constexpr float StageLimitTenths = 1600.0f;
constexpr int SpanMaximumOffset = 5;
constexpr int SpanRangeOffset = 10;
// The drives of the iris, filter, grating and stage to their origins and limits.
constexpr Tz4Sequences::Drive IrisOrigin{"uclTz4Body:InitEyeris", "InitEyeris", "EO1", MoveOverTime};
constexpr Tz4Sequences::Drive IrisLimit{"uclTz4Body:LimitEyeris", "LimitEyeris", "EL1", MoveOverTime};
constexpr Tz4Sequences::Drive FilterOrigin{"uclTz4Body:InitFilter", "InitFilter", "FO1", MoveOverTime};
constexpr Tz4Sequences::Drive GratingOrigin{"uclTz4Body:InitLight", "InitLight", "LO1", GratingHomeOverTime};
constexpr Tz4Sequences::Drive StageOrigin{"uclTz4Body:InitStageX", "InitStageX", "XO1", MoveOverTime};
constexpr Tz4Sequences::Drive StageLimit{"uclTz4Body:LimitStageX", "LimitStageX", "XL1", MoveOverTime};
constexpr int StoredSensitivities = 59; // the last entry of the table is never stored

// Every calibration value is used as a single-precision number, so one beyond that range is
// as unreadable as text: it leaves the value in place.
template <typename T>
void readMemoryNumber(const QString& text, T& target)
{
    double value = 0;
    if (isLocaleNumber(chkPointDelim(text), &value) && std::abs(value) <= std::numeric_limits<float>::max())
        target = static_cast<T>(value);
}

} // namespace

bool Tz4Sequences::Connected()
{
    EnterProcedure here("uclTz4Body:Connected(Get)");
    if (!link_.isOpen())
        link_.setPortOpen(true);
    if (!link_.isOpen())
        return false;
    bool connected = false;
    for (int attempt = 0; attempt < ConnectAttempts && !connected; ++attempt) {
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

QString Tz4Sequences::Diag(qint16 Body)
{
    EnterProcedure here("uclTz4Body:Diag(Get)");
    if (Body != 0 && Body != 1)
        return {};
    // A unit that does not answer reports every fault flag.
    const bool ok = Body == 0 ? link_.ask(QStringLiteral("Diag0"), QStringLiteral("SS"), DiagOverTime)
                              : link_.ask(QStringLiteral("Diag1"), QStringLiteral("SO"), DiagOverTime);
    if (ok)
        return link_.replyLine();
    return Body == 0 ? QStringLiteral("3FFFF") : QStringLiteral("33FFFF");
}

qint32 Tz4Sequences::ErrorNumber(qint32 Styles)
{
    EnterProcedure here("uclTz4Body:ErrorNumber(Get)");
    if (Styles != 0)
        return link_.errorNumber();
    const QString light = Diag(0);
    const QString stage = Diag(1);
    return !light.isEmpty() && !stage.isEmpty() ? 2 : 1;
}

void Tz4Sequences::InitBody()
{
    EnterProcedure here("uclTz4Body:InitBody");
    link_.setOverTime(InitOverTime);
    // Nothing is moving yet, so a failure only releases Busy.
    const ProcedureGuard guard(link_, nullptr);
    if (link_.isOpen()) {
        readCalibrationMemory();
        Refresh();
    }
    // The span table is read even with the port closed.
    readSpanTable();
    readRegisters();
    link_.setBusy(false);
}

// Calibration memory: command failures are not reported one by one, a word that does not
// read as a number simply leaves the value in place.
QString Tz4Sequences::memoryWord()
{
    link_.WriteRS232C(QStringLiteral("WO"));
    return link_.replyLine().trimmed();
}

void Tz4Sequences::readCalibrationMemory()
{
    link_.WriteRS232C(QStringLiteral("WS0000"));
    const QString first = memoryWord();
    double tau = 0;
    sumLost_ = isLocaleNumber(chkPointDelim(first + memoryWord()), &tau) && std::abs(tau) <= std::numeric_limits<float>::max()
                   ? float(tau)
                   : 1.0f;
    float* const positions[8] = {&samplePosition_,     &spareWords_[0],  &photoDiodePosition_,
                                 &spareWords_[1],      &carbonPosition_, &spareWords_[2],
                                 &sampleOutPosition_, &spareWords_[3]};
    for (float* position : positions)
        readMemoryNumber(memoryWord(), *position);
    link_.WriteRS232C(QStringLiteral("WS0012"));
    readMemoryNumber(memoryWord(), extraWord_);
    link_.WriteRS232C(QStringLiteral("WS0016"));
    for (int range = 1; range < LightCalibration::Ranges; ++range) {
        const QString high = memoryWord();
        readMemoryNumber(high + memoryWord(), calibration_.rangeGain(range));
    }
    link_.WriteRS232C(QStringLiteral("WS0064"));
    for (int entry = 0; entry < StoredSensitivities; ++entry) {
        const QString high = memoryWord();
        readMemoryNumber(high + memoryWord(), calibration_.sensitivity(entry));
    }
}

// An unreadable span record ends the initialisation with the conversion failure.
double Tz4Sequences::spanWord(int address)
{
    link_.WriteRS232C(QStringLiteral("BO") + formatNumber(address, QStringLiteral("00")));
    link_.WriteRS232C(QStringLiteral("BL"));
    const QString text = chkPointDelim(link_.replyLine().trimmed());
    double value = 0;
    if (!isLocaleNumber(text, &value))
        throw Tz4Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
    return value;
}

void Tz4Sequences::readSpanTable()
{
    for (int r = 0; r < LightCalibration::Filters; ++r)
        calibration_.span(r).minimum = spanWord(r);
    for (int r = 0; r < LightCalibration::Filters; ++r)
        calibration_.span(r).maximum = spanWord(r + SpanMaximumOffset);
    for (int r = 0; r < LightCalibration::Filters; ++r)
        calibration_.span(r).range = wholeInt16(spanWord(r + SpanRangeOffset));
}

void Tz4Sequences::readRegisters()
{
    registers_.Eyeris();
    registers_.LightRange();
    registers_.AirChack();
    registers_.ElBalve();
    registers_.GridVolts();
    registers_.Led(1);
    registers_.Fan(1);
    registers_.AirValue();
    registers_.DiodeVolts();
    registers_.LightWave();
    registers_.QL_Volts();
    registers_.QH_Volts();
    registers_.SH_Volts();
    registers_.StageX();
    registers_.HV_Volts();
    registers_.Filter();
}

void Tz4Sequences::Refresh()
{
    EnterProcedure here("uclTz4Body:Refresh");
    if (!link_.isOpen())
        return;
    link_.setLastProcess(QStringLiteral("WarmUpTime"));
    if (!link_.WriteRS232C(QStringLiteral("OS")))
        return;
    if (link_.WriteRS232C(QStringLiteral("OO"))) {
        const qint32 elapsed = replyToInt32(link_.replyLine());
        if (elapsed < 0) {
            // The lamp cannot have burnt for less than nothing; no warm-up beyond the full one.
            warmUpLeft_ = 0;
            link_.refuseReply();
            return;
        }
        warmUpLeft_ = elapsed < FullWarmUpSeconds ? FullWarmUpSeconds - float(elapsed) : 0.0f;
    } else {
        warmUpLeft_ = 0;
        link_.reportFailure();
    }
}

qint16 Tz4Sequences::WarmUpTime() const
{
    EnterProcedure here("uclTz4Body:WarmUpTime(Get)");
    return qint16(roundHalfEven(warmUpLeft_));
}

void Tz4Sequences::countDownWarmUp()
{
    if (warmUpLeft_ > 0)
        warmUpLeft_ -= Tz4Link::TickIntervalMs / 1000.0f;
}

void Tz4Sequences::setSumLost(float tau)
{
    EnterProcedure here("uclTz4Body:SumLost(Let)");
    sumLost_ = tau;
    const QString digits = uncheckPointDelim(formatNumber(tau, QStringLiteral("0.000000")));
    const qint16 saved = link_.OverTime();
    link_.useOverTime(10);
    link_.setLastProcess(QStringLiteral("SumLost"));
    const bool ok = link_.WriteRS232C(QStringLiteral("WS0001"))
                    && link_.WriteRS232C(QStringLiteral("WO") + digits.left(4))
                    && link_.WriteRS232C(QStringLiteral("WO") + digits.right(4));
    if (!ok)
        link_.reportFailure();
    link_.setOverTime(saved);
}

bool Tz4Sequences::drive(const Drive& d)
{
    EnterProcedure here(d.label);
    return link_.ask(QLatin1String(d.process), QLatin1String(d.command), d.overTime);
}

// Each drive corrects the held position only when the instrument confirms it.
void Tz4Sequences::InitEyeris() { if (drive(IrisOrigin)) registers_.held().eyeris = 0; }
void Tz4Sequences::LimitEyeris() { if (drive(IrisLimit)) registers_.held().eyeris = IrisLimitValue; }
void Tz4Sequences::InitFilter() { if (drive(FilterOrigin)) registers_.held().filter = 0; }
void Tz4Sequences::InitLight() { if (drive(GratingOrigin)) registers_.held().lightWave = GratingHomeNm; }
void Tz4Sequences::InitStageX() { if (drive(StageOrigin)) registers_.held().stageTenths = StageHomeTenths; }
void Tz4Sequences::LimitStageX() { if (drive(StageLimit)) registers_.held().stageTenths = StageLimitTenths; }

void Tz4Sequences::moveTo(const char* process, double targetTenths)
{
    // Every positioning starts from the origin so the stage's backlash is always the same.
    if (!link_.ask(QLatin1String(process), QStringLiteral("XO1"), MoveOverTime))
        return;
    if (link_.ask(QLatin1String(process), QStringLiteral("XS") + formatNumber(targetTenths, QStringLiteral("0000")), MoveOverTime))
        registers_.held().stageTenths = float(targetTenths);
}

void Tz4Sequences::StageToPhotoDiode()
{
    EnterProcedure here("uclTz4Body:StageToPhotoDiode");
    moveTo("StageToPhotoDiode", photoDiodePosition_);
}

void Tz4Sequences::StageToCerbon()
{
    EnterProcedure here("uclTz4Body:StageToCerbon");
    moveTo("StageToCarbon", carbonPosition_);
}

void Tz4Sequences::StageToSample(float Offsets)
{
    EnterProcedure here("uclTz4Body:StageToSample");
    moveTo("StageToSample", double(Offsets) * 10.0 + samplePosition_);
}

void Tz4Sequences::StageToSampleOut()
{
    EnterProcedure here("uclTz4Body:StageToSampleOut");
    moveTo("StageToSampleOut", sampleOutPosition_);
}

void Tz4Sequences::BodyCancelProcess()
{
    EnterProcedure here("uclTz4Body:BodyCancelProcess");
    link_.setCanceled(false);
    InitFilter();
    registers_.setGridVolts(false);
    InitStageX();
    link_.setCanceled(true);
}

} // namespace tz4
