#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"
#include "core/SerialProperties.h"
#include "core/MeasurementParameters.h"
#include "instrument/LightCalibration.h"
#include "instrument/Tz4AnodeVoltage.h"
#include "instrument/Tz4LightModel.h"
#include "instrument/Tz4LightProcedures.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Procedures.h"
#include "instrument/Tz4Registers.h"
#include "instrument/Tz4Sequences.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <array>

namespace tz4 {

// The instrument component: the only code that talks to the TZ-4. One command at a time goes
// over the line and every wait runs the clock's message loop, so timer ticks, receive events
// and user commands keep working while a reply is outstanding.
//
// This is the component's whole interface as the rest of the program knows it, and a face that
// forwards to small classes with one job each: the link (Tz4Link, its settings in PortSettings,
// its reply assembly in ReplyAssembler), the register file (Tz4Registers over RegisterTable.h),
// the sequences (Tz4Sequences), the light-power model (Tz4LightModel, its arithmetic in
// LightCalibration, its procedures in Tz4LightProcedures) and the measurement procedures
// (Tz4Procedures, Tz4AnodeVoltage). The face keeps the signals and turns the small classes'
// events into them.
class uclTz4Body : public QObject, public SerialProperties {
    Q_OBJECT

public:
    // One record of the light span table (one per filter position).
    using LightSpan = LightCalibration::Span;

    uclTz4Body(Clock& clock, SerialLine& line, QObject* parent = nullptr);
    ~uclTz4Body() override;

    // --- Serial link -------------------------------------------------------------------------
    bool PortOpen() const { return link_.port().PortOpen(); }
    void setPortOpen(bool open) { link_.setPortOpen(open); }

    qint16 CommPort() const override { return link_.port().CommPort(); }
    void setCommPort(qint16 port) override { link_.port().setCommPort(port); }
    qint32 BaudRate() const override { return link_.port().BaudRate(); }
    void setBaudRate(qint32 rate) override { link_.port().setBaudRate(rate); }
    qint16 DataBits() const override { return link_.port().DataBits(); }
    void setDataBits(qint16 bits) override { link_.port().setDataBits(bits); }
    qint16 StopBits() const override { return link_.port().StopBits(); }
    void setStopBits(qint16 bits) override { link_.port().setStopBits(bits); }
    qint32 ParityBits() const override { return link_.port().ParityBits(); }
    void setParityBits(qint32 parity) override { link_.port().setParityBits(parity); }

    qint16 OverTime() const { return link_.OverTime(); }
    void setOverTime(qint16 ticks) { link_.setOverTime(ticks); }
    bool TimerEnable() const { return link_.TimerEnable(); }
    void setTimerEnable(bool enable) { link_.setTimerEnable(enable); }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    QString SerialLog() const { return link_.SerialLog(); }
    void setSerialLog(const QString& log) { link_.setSerialLog(log); }
    QString LastProcess() const { return link_.LastProcess(); }
    bool Canceled() const { return link_.Canceled(); }
    void setCanceled(bool canceled) { link_.setCanceled(canceled); }
    bool Busy() const { return link_.Busy(); }
    void setBusy(bool busy) { link_.setBusy(busy); }
    // The window that owns the instrument for a measurement; null when none.
    QObject* Locked() const { return locked_.data(); }
    void setLocked(QObject* owner) { locked_ = owner; }

    // Styles != 0: the stored number. Styles == 0: asks both units for their diagnosis and
    // yields 2 when both answered, else 1.
    qint32 ErrorNumber(qint32 Styles) { return sequences_.ErrorNumber(Styles); }
    QString ErrorDescription() const { return link_.ErrorDescription(); }
    qint32 ErrorStyle() const { return link_.errorStyle(); }

    // Sends one command and waits for its reply; true when a readable reply without "ERROR"
    // came.
    bool WriteRS232C(const QString& command) { return link_.WriteRS232C(command); }

    // One command the instrument refused, did not answer or answered unreadably.
    using CommandFailure = Tz4Link::CommandFailure;
    // The failed commands since the current (or last) procedure began; commands refused only
    // because the run was already cancelled are not counted again.
    const QList<CommandFailure>& commandFailures() const { return link_.commandFailures(); }
    void clearCommandFailures() { link_.clearCommandFailures(); }
    // Whether the instrument answered anything at all since the failures were cleared.
    bool Answered() const { return link_.Answered(); }
    // True once a command found the port closed or went unanswered: the instrument stopped
    // answering, which is not the same as a cancel.
    bool LinkLost() const { return link_.LinkLost(); }
    // What the line itself saw go wrong (device gone, not a serial port, busy); may be empty.
    QString lineFailureCause(Language language = currentLanguage()) const { return link_.lineFailureCause(language); }
    void setLinkLost(bool lost) { link_.setLinkLost(lost); }
    // The last complete reply line.
    QString replyLine() const { return link_.replyLine(); }
    void WaitIdle() { link_.WaitIdle(); }
    void BodyCancelProcess() { sequences_.BodyCancelProcess(); }
    QString ChkPointDelim(const QString& text) const;
    QString UncheckPointDelim(const QString& text) const;
    QString MeasDataProtocol(const QString& command, const QString& reply) const
    {
        return link_.MeasDataProtocol(command, reply);
    }
    qint32 freeTickCounter() const { return link_.freeTickCounter(); }

    // --- Registers ---------------------------------------------------------------------------
    qint16 MeasTime();
    void setMeasTime(qint16 seconds);
    qint16 Eyeris();
    void setEyeris(qint16 value);
    qint16 LightRange();
    void setLightRange(qint16 value);
    bool AirChack();
    void setAirChack(bool on);
    qint16 CpsValue();
    [[noreturn]] void setCpsValue(qint16 value);
    bool ElBalve();
    void setElBalve(bool on);
    bool GridVolts();
    void setGridVolts(bool on);
    qint16 Led(qint16 Bodys);
    void setLed(qint16 Bodys, qint16 value);
    qint16 Fan(qint16 Bodys);
    [[noreturn]] void setFan(qint16 Bodys, qint16 value);
    float AirValue();
    void setAirValue(float value);
    float DiodeVolts();
    [[noreturn]] void setDiodeVolts(float value);
    float LightWave();
    void setLightWave(float nm);
    float QL_Volts();
    [[noreturn]] void setQL_Volts(float value);
    float QH_Volts();
    [[noreturn]] void setQH_Volts(float value);
    float SH_Volts();
    [[noreturn]] void setSH_Volts(float value);
    float StageX();
    void setStageX(float position);
    qint16 HV_Volts();
    void setHV_Volts(qint16 volts);
    qint16 Filter();
    void setFilter(qint16 position);
    bool Door();
    [[noreturn]] void setDoor(bool value);
    float Energen() const;
    void setEnergen(float eV);
    float SumLost() const { return sequences_.SumLost(); }
    void setSumLost(float tau);
    float LightRangeAdjust(qint16 Range) const;
    [[noreturn]] void setLightRangeAdjust(qint16 Range, float value);
    float PhotoDiodeAdjust(float Eng) const;
    [[noreturn]] void setPhotoDiodeAdjust(float Eng, float value);
    QString ClushParameter() const;

    // --- Initialisation and stage sequences --------------------------------------------------
    bool Connected();
    [[noreturn]] void setConnected(bool value);
    QString Diag(qint16 Body);
    void InitBody();
    void Refresh();
    qint16 WarmUpTime() const;
    [[noreturn]] void setWarmUpTime(qint16 value);
    void InitEyeris();
    void LimitEyeris();
    void InitFilter();
    void InitLight();
    void InitStageX();
    void LimitStageX();
    void StageToPhotoDiode();
    void StageToCerbon();
    void StageToSample(float Offsets);
    void StageToSampleOut();

    // --- Light power model -------------------------------------------------------------------
    float LightWatt(float diode, float dark);
    static qint16 CalcLightRange(double power);
    qint16 CalcFilter(double power) const;
    void LightRangeToPower(double power);
    void FilterToPower(double power);
    float BackLight();
    [[noreturn]] void setBackLight(float value);
    float GetLightPower();
    void SetLightPower(float Target);
    void MakeLightBase(float SetUpEng);
    float SetLightMin() const;
    float SetLightMax() const;
    float SetLightSpanMin(qint16 Numbers) const;
    void setSetLightSpanMin(qint16 Numbers, float power);
    float SetLightSpanMax(qint16 Numbers) const;
    void setSetLightSpanMax(qint16 Numbers, float power);
    qint16 SetLightSpanRange(qint16 Numbers) const;
    void setSetLightSpanRange(qint16 Numbers, qint16 range);
    float LastLight() const { return light_.LastLight(); }
    const std::array<LightSpan, 5>& lightSpans() const { return light_.spans(); }

    // --- Measurement procedures --------------------------------------------------------------
    MeasurementParameters* SetDatas() const { return datas_; }
    void setSetDatas(MeasurementParameters* record) { datas_ = record; }
    // Misspelt on purpose: the component's interface has always carried this name.
    float GetCpsAvarage(qint16 count);
    void MeasCps();
    void MeasWork();
    void MeasAdjLight();
    void MeasThickAdjust();
    qint16 HvSet();
    bool EngSetStatus() const;

signals:
    void ReceiveData(const QString& Data);
    void ReceiveError(qint32 Styles, qint32 Number);
    void ProcBase(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcSetLight(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcVolts(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcWork(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcLight(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcCps(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcThick(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);

private:
    ProcEvent forward(void (uclTz4Body::*signal)(qint32, const QVariant&, const QVariant&));

    QPointer<QObject> locked_;
    bool enabled_ = true;
    // The record of the measurement under way, shared by the procedures.
    MeasurementParameters* datas_ = nullptr;
    LightCalibration calibration_;
    Tz4Link link_;
    Tz4Registers registers_;
    Tz4Sequences sequences_;
    Tz4LightModel light_;
    Tz4LightProcedures lightProcedures_;
    Tz4AnodeVoltage anodeVoltage_;
    Tz4Procedures procedures_;
};

} // namespace tz4
