#pragma once

#include <QObject>
#include <QPointer>

namespace tz4 {

class MeasurementParameters;
class uclTz4Body;

// The one action the instrument runs for the program at a time: the connection sequence or
// a window's menu action. It says which window owns it, which record it fills and what it is
// doing, and announces every change, so that menus, grids and close handling follow one state
// instead of flags of their own. Beginning an action attaches its record and its window to
// the instrument, so the process events reach them and nothing else.
class RunningAction : public QObject {
    Q_OBJECT

public:
    enum class Kind { None, Connection, SampleStage, Measurement, UvAdjustment, AnodeVoltage, Calibration, LightAdjuster };

    explicit RunningAction(uclTz4Body& body, QObject* parent = nullptr);

    Kind kind() const { return kind_; }
    bool running() const { return kind_ != Kind::None; }
    // The window that started it; nullptr for the frame's connection sequence or when none runs.
    QObject* owner() const { return owner_.data(); }
    bool ownedBy(const QObject* window) const { return running() && owner_ == window; }
    // The record it fills or reads its settings from; nullptr when none.
    MeasurementParameters* record() const { return record_; }
    bool runs(const MeasurementParameters* record) const { return running() && record != nullptr && record_ == record; }

    // Starts an action unless one runs; false (and nothing changes) when one does.
    bool begin(Kind kind, QObject* owner, MeasurementParameters* record);
    // The action has come back; its record stays attached until the next one begins.
    void end();

    // Asks the running action to stop between two instrument commands; once per action.
    // False when nothing runs or a cancel is already pending.
    bool requestCancel();
    bool cancelRequested() const { return cancelRequested_; }

    // Ends the action it was given when it goes out of scope, however the action came back
    // (a failure let through in debug mode included).
    class Ending {
    public:
        explicit Ending(RunningAction& action) : action_(action) {}
        ~Ending() { action_.end(); }
        Ending(const Ending&) = delete;
        Ending& operator=(const Ending&) = delete;

    private:
        RunningAction& action_;
    };

signals:
    void changed();

private:
    uclTz4Body& body_;
    Kind kind_ = Kind::None;
    QPointer<QObject> owner_;
    MeasurementParameters* record_ = nullptr;
    bool cancelRequested_ = false;
};

} // namespace tz4
