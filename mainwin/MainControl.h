#pragma once

#include "core/Clock.h"
#include "mainwin/RunningAction.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tz4 {

class clsTz4DataSet;
class MeasurementOwner;
class StatusBar;
class uclTz4Body;

// What the main window does apart from drawing itself: the connection and warm-up sequence,
// the serial debug log and the handling of the instrument's process events. The frame window
// and the headless program both drive the instrument through one of these.
class MainControl : public QObject {
    Q_OBJECT

public:
    // Connection phases; 2 is not used.
    enum Phase { NotConnected = 0, Initialized = 1, WarmingUp = 3, LightReady = 4, SettingAnode = 5, Ready = 6 };

    MainControl(Clock& clock, uclTz4Body& body, StatusBar& status, QObject* parent = nullptr);
    ~MainControl() override;

    // The window's load: a fresh serial log, phase 0 and the status bar's first state.
    void Load();

    // The window's close: an open port is closed (the settings file is left as it is),
    // otherwise the settings file is written. True unless writing it failed.
    bool Unload();

    qint32 ConnectPhase() const { return connectPhase_; }
    // The port changed: the link closes, so that the next connection starts from the link check.
    void forgetConnection();
    // Runs the connection sequence unless the instrument is ready; returns the phase reached.
    qint32 GetBodyStatus();

    // Puts the status bar back to what the connection phase says once an action has ended:
    // "TZ-4 Ready", "Now Warming Up" or "No Connect", with an empty bar.
    void showRestingStatus();

    void DebugLogWrite(qint32 mode, const QString& text);
    // What the link saw go wrong during the last connection sequence, in plain words (device
    // not a serial port, no reply within the time-out, instrument error n ...); empty when
    // every command was answered.
    QString failureCause() const;
    // True when the failed link check already showed the cause with its message.
    bool failureCauseShown() const { return causeShown_; }

    // Values of the settings file that the instrument cannot use, one text each: logged now
    // and shown once, when the next connection sequence starts.
    void setUnusableSettings(const QStringList& notes);

    // Appends the instrument's self-diagnosis report to `text`.
    void MakeBodyDiagError(QString& text);

    // The warm-up timer: enabled by the sequence, ticking once a second while phase 3 lasts.
    bool tmrWarmUpEnabled() const { return warmUpTimer_ != 0; }
    void setTmrWarmUpEnabled(bool enabled);
    void tmrWarmUp_Timer();
    // Tool tip of the tool strip that carries the status bar.
    const QString& CoolBarToolTip() const { return coolBarToolTip_; }

    uclTz4Body& body() { return body_; }
    StatusBar& status() { return status_; }
    // What the instrument is doing for the program now, and for whom.
    RunningAction& action() { return action_; }
    const RunningAction& action() const { return action_; }
    // Connect may be chosen whenever nothing runs and the instrument is not ready.
    bool connectAvailable() const { return !action_.running() && connectPhase_ != Ready; }

signals:
    void connectPhaseChanged(qint32 phase);
    void connectAvailableChanged(bool available);
    void coolBarToolTipChanged(const QString& text);

public slots:
    void ProcBase(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcSetLight(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcVolts(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcWork(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcLight(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcCps(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);
    void ProcThick(qint32 ProcType, const QVariant& Value1, const QVariant& Value2);

private:
    void setPhase(qint32 phase);
    void runSequence(bool holding);
    void reportNoConnection(bool holding);
    void prepareLightAndAnode(bool holding);
    void closeLink(bool holding);
    void captionIfHolding(bool holding, int textId);

    // Helpers of the process-event handlers.
    bool owner() const;
    clsTz4DataSet* record() const;
    MeasurementOwner* window() const;
    void start(float max, int captionId);
    void step(float value, const QString& caption);
    void finish(const QString& caption);
    void appendPoint(const QVariant& x, const QVariant& y, bool withCalibration);
    void refused(qint32 ProcType);
    void cancelled(const QString& logText, int titleId, bool notifyWindow);

    Clock& clock_;
    uclTz4Body& body_;
    StatusBar& status_;
    qint32 connectPhase_ = 0;
    Clock::TimerId warmUpTimer_ = 0;
    QString coolBarToolTip_;
    bool causeShown_ = false;
    QStringList unusableSettings_;
    RunningAction action_;
};

} // namespace tz4
