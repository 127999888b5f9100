#pragma once

#include <QtGlobal>

#include <functional>
#include <map>
#include <memory>

namespace tz4 {

// Every wait of the program goes through a Clock: the real one runs the Qt event loop,
// the virtual one jumps straight to the next due timer so long waits cost nothing in tests.
class Clock {
public:
    using Callback = std::function<void()>;
    using TimerId = int;

    virtual ~Clock() = default;

    virtual qint64 nowMs() const = 0;
    // Runs `callback` after `intervalMs`, again every `intervalMs` when `repeat` is set.
    virtual TimerId startTimer(int intervalMs, Callback callback, bool repeat) = 0;
    virtual void stopTimer(TimerId id) = 0;
    virtual bool isActive(TimerId id) const = 0;
    // Waits until something happens (a timer, arriving bytes, a user action) and runs it:
    // the body of every loop that waits for a condition.
    virtual void yield() = 0;
    // Runs whatever is already pending and returns at once ("let the message loop run"
    // between two steps of a procedure); never waits.
    virtual void processEvents() = 0;
};

// Deterministic simulated time. yield() advances to the earliest due timer and fires it;
// timers due at the same moment fire in the order they were scheduled.
class VirtualClock final : public Clock {
public:
    qint64 nowMs() const override { return now_; }
    TimerId startTimer(int intervalMs, Callback callback, bool repeat) override;
    void stopTimer(TimerId id) override;
    bool isActive(TimerId id) const override;
    // Throws std::logic_error when nothing is scheduled: a virtual wait could never end.
    void yield() override;
    // Fires the timers already due; time does not move.
    void processEvents() override;
    // Runs every timer due up to now + ms, then leaves the clock exactly there.
    void advance(qint64 ms);

private:
    struct Timer {
        qint64 due;
        int interval;
        bool repeat;
        Callback callback;
        quint64 order;
    };
    bool fireNext(qint64 limit);

    qint64 now_ = 0;
    TimerId nextId_ = 1;
    quint64 nextOrder_ = 0;
    std::map<TimerId, Timer> timers_;
};

// Wall-clock time on the Qt event loop of the calling thread.
class RealClock final : public Clock {
public:
    RealClock();
    ~RealClock() override;
    qint64 nowMs() const override;
    TimerId startTimer(int intervalMs, Callback callback, bool repeat) override;
    void stopTimer(TimerId id) override;
    bool isActive(TimerId id) const override;
    void yield() override;
    void processEvents() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tz4
