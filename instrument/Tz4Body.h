#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"
#include "core/SerialProperties.h"
#include "core/MeasurementParameters.h"
#include "instrument/LightCalibration.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace tz4 {

struct Register;

// The instrument component: the only code that talks to the TZ-4. One command at a time goes
// over the line and every wait runs the clock's message loop, so timer ticks, receive events
// and user commands keep working while a reply is outstanding.
//
// This header is long because it is the component's whole interface as the rest of the program
// knows it; the work behind it is split over several sources: SerialLink.cpp (settings,
// framing, reply assembly, time-outs, traffic log), Registers.cpp (one row per register in
// RegisterTable.h), DerivedProperties.cpp, Sequences.cpp, LightModel.cpp (its arithmetic in
// LightCalibration) and Procedures.cpp.
class uclTz4Body : public QObject, public SerialProperties {
    Q_OBJECT

public:
    // One record of the light span table (one per filter position).
    using LightSpan = LightCalibration::Span;

    uclTz4Body(Clock& clock, SerialLine& line, QObject* parent = nullptr);
    ~uclTz4Body() override;

    // --- Serial link -------------------------------------------------------------------------
    bool PortOpen() const;
    void setPortOpen(bool open);

    qint16 CommPort() const override { return commPort_; }
    void setCommPort(qint16 port) override;
    qint32 BaudRate() const override { return baudRate_; }
    void setBaudRate(qint32 rate) override;
    qint16 DataBits() const override { return dataBits_; }
    void setDataBits(qint16 bits) override;
    qint16 StopBits() const override { return stopBits_; }
    void setStopBits(qint16 bits) override;
    qint32 ParityBits() const override { return parityBits_; }
    void setParityBits(qint32 parity) override;

    qint16 OverTime() const { return overTime_; }
    void setOverTime(qint16 ticks);
    bool TimerEnable() const;
    void setTimerEnable(bool enable);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    QString SerialLog() const { return serialLog_; }
    void setSerialLog(const QString& log) { serialLog_ = log; }
    QString LastProcess() const { return lastProcess_; }
    bool Canceled() const { return canceled_; }
    void setCanceled(bool canceled) { canceled_ = canceled; }
    bool Busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    // The window that owns the instrument for a measurement; null when none.
    QObject* Locked() const { return locked_.data(); }
    void setLocked(QObject* owner) { locked_ = owner; }

    // Styles != 0: the stored number. Styles == 0: asks both units for their diagnosis and
    // yields 2 when both answered, else 1.
    qint32 ErrorNumber(qint32 Styles);
    QString ErrorDescription() const;
    qint32 ErrorStyle() const { return errorStyle_; }

    // Sends one command and waits for its reply; true when a readable reply without "ERROR"
    // came.
    bool WriteRS232C(const QString& command);

    // One command the instrument refused, did not answer or answered unreadably.
    struct CommandFailure {
        QString command;
        QString reply;   // as received; empty when nothing came
        qint32 number;   // error number (GetErrorString)
    };
    // The failed commands since the current (or last) procedure began; commands refused only
    // because the run was already cancelled are not counted again.
    const QList<CommandFailure>& commandFailures() const { return failures_; }
    void clearCommandFailures() { failures_.clear(); }
    // True once a command found the port closed or went unanswered: the instrument stopped
    // answering, which is not the same as a cancel.
    bool LinkLost() const { return linkLost_; }
    // What the line itself saw go wrong (device gone, not a serial port, busy); may be empty.
    QString lineFailureCause() const { return line_.failureCause(); }
    void setLinkLost(bool lost) { linkLost_ = lost; }
    // The last complete reply line.
    QString replyLine() const { return replyLine_; }
    void WaitIdle();
    void BodyCancelProcess();
    QString ChkPointDelim(const QString& text) const;
    QString UncheckPointDelim(const QString& text) const;
    QString MeasDataProtocol(const QString& command, const QString& reply) const;
    qint32 freeTickCounter() const { return freeTickCounter_; }

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
    float SumLost() const { return sumLost_; }
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
    float LastLight() const { return lastLight_; }
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
    using ProcSignal = void (uclTz4Body::*)(qint32, const QVariant&, const QVariant&);

    void onReceive();
    void onTick();
    QString settingsText() const;
    void appendLog(const QString& line);
    bool failCommand(const QString& command, const QString& message, qint32 number, bool log);
    void noteFailure(const QString& command, const QString& reply, qint32 number);

    // Holds Busy for one procedure. Leaving it by a failure releases Busy and, when asked,
    // leaves the instrument safe (light blocked, grid off, stage at its origin) first.
    class ProcedureGuard {
    public:
        ProcedureGuard(uclTz4Body& body, bool makeSafe);
        ~ProcedureGuard();
        ProcedureGuard(const ProcedureGuard&) = delete;
        ProcedureGuard& operator=(const ProcedureGuard&) = delete;

    private:
        uclTz4Body& body_;
        bool makeSafe_;
        int exceptions_;
    };

    // Sends one register command with its own time-out and LastProcess; raises ReceiveError
    // on failure. The previous OverTime is back in force afterwards.
    bool ask(const QString& process, const QString& command, qint16 overTime);
    void reportFailure();
    // The register's reply as a number, by its row; nothing when the command failed.
    std::optional<double> askRegister(const Register& r);
    // Reads a register into `held` and answers it; a read-once register asks only the first time.
    template <typename T>
    T readRegister(const Register& r, T& held, bool& alreadyRead);
    template <typename T>
    T readRegister(const Register& r, T& held);
    template <typename T>
    void writeRegister(const Register& r, T& held, T value);
    double readNumber();
    qint16 readInt16();
    void moveTo(const char* process, double targetTenths);
    void writeSpan(const char* process, int address, const QString& value);

    // Common frame of the procedures: refuses (and returns false) while busy or with the port
    // closed; otherwise clears the log, marks busy and returns true.
    bool beginProcedure(ProcSignal event);
    void finishProcedure(ProcSignal event, const QVariant& value1 = {}, const QVariant& value2 = {});
    double parameter(int number) const;

    // Electrode valve open, low air flow, grid off.
    void prepareChamber();
    // prepareChamber(), the stage under the sample, then event 0.
    void approachSample(ProcSignal event);
    // Mean counts at the rest energy with the light blocked and the grid off, then event 1.
    struct Background {
        qint16 counts = 0;
        float cps = 0;
    };
    Background backgroundAtRest(ProcSignal event);

    float averageDiode(int readings);

    Clock& clock_;
    SerialLine& line_;
    Clock::TimerId timer_ = 0;
    bool timerActive_ = false;

    QString replyLine_;
    QString lastCommand_;
    QString receiveBuffer_;
    bool replyComplete_ = false;
    bool portInUse_ = false;
    QString terminatorCode_ = QStringLiteral("13");
    qint32 tickCounter_ = 0;
    qint32 freeTickCounter_ = 0;
    qint32 errorStyle_ = 0;
    qint32 errorNumber_ = 0;
    QString serialLog_;
    QString lastProcess_;
    bool canceled_ = false;
    bool busy_ = false;
    bool linkLost_ = false;
    QList<CommandFailure> failures_;
    QPointer<QObject> locked_;
    bool enabled_ = true;

    qint16 commPort_ = 1;
    qint32 baudRate_ = 19200;
    qint16 dataBits_ = 7;
    qint16 stopBits_ = 1;
    qint32 parityBits_ = 0;
    qint16 overTime_ = 60;
    qint16 measTime_ = 10;

    qint16 eyeris_ = 0;
    qint16 lightRange_ = 0;
    bool airChack_ = false;
    qint16 cpsValue_ = 0;
    bool elBalve_ = false;
    bool gridVolts_ = false;
    qint16 led_ = 0;
    qint16 fan_ = 0;
    float airValue_ = 0;
    float diodeVolts_ = 0;
    float lightWave_ = 0;
    float qlVolts_ = 0;
    float qhVolts_ = 0;
    float shVolts_ = 0;
    float stageTenths_ = 0;
    qint16 hvVolts_ = 0;
    qint16 filter_ = 0;
    bool door_ = false;

    struct ReadOnce {
        bool measTime = false, eyeris = false, lightRange = false, airChack = false,
             elBalve = false, gridVolts = false, led = false, airValue = false, stageX = false,
             hvVolts = false;
    } read_;

    float sumLost_ = 0;
    float samplePosition_ = 0;
    float photoDiodePosition_ = 0;
    float carbonPosition_ = 0;
    float sampleOutPosition_ = 0;
    std::array<float, 4> spareWords_{};
    float extraWord_ = 0;
    LightCalibration light_;
    float warmUpLeft_ = 0;
    float lastLight_ = 0;
    MeasurementParameters* datas_ = nullptr;
};

} // namespace tz4
