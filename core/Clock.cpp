#include "core/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <limits>
#include <stdexcept>

namespace tz4 {

Clock::TimerId VirtualClock::startTimer(int intervalMs, Callback callback, bool repeat)
{
    const TimerId id = nextId_++;
    timers_[id] = Timer{now_ + qMax(0, intervalMs), qMax(0, intervalMs), repeat, std::move(callback),
                        nextOrder_++};
    return id;
}

void VirtualClock::stopTimer(TimerId id) { timers_.erase(id); }

bool VirtualClock::isActive(TimerId id) const { return timers_.count(id) != 0; }

bool VirtualClock::fireNext(qint64 limit)
{
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (next == timers_.end() || it->second.due < next->second.due
            || (it->second.due == next->second.due && it->second.order < next->second.order))
            next = it;
    }
    if (next == timers_.end() || next->second.due > limit)
        return false;
    now_ = qMax(now_, next->second.due);
    Callback callback = next->second.callback;
    if (next->second.repeat && next->second.interval > 0) {
        next->second.due += next->second.interval;
        next->second.order = nextOrder_++;
    } else {
        timers_.erase(next);
    }
    callback();
    return true;
}

void VirtualClock::yield()
{
    if (!fireNext(std::numeric_limits<qint64>::max()))
        throw std::logic_error("virtual clock: waiting with nothing scheduled would never end");
}

void VirtualClock::processEvents()
{
    while (fireNext(now_)) {
    }
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = now_ + ms;
    while (fireNext(target)) {
    }
    now_ = target;
}

struct RealClock::Impl {
    QElapsedTimer elapsed;
    std::map<TimerId, std::unique_ptr<QTimer>> timers;
    TimerId nextId = 1;
};

RealClock::RealClock() : d(std::make_unique<Impl>()) { d->elapsed.start(); }

RealClock::~RealClock() = default;

qint64 RealClock::nowMs() const { return d->elapsed.elapsed(); }

Clock::TimerId RealClock::startTimer(int intervalMs, Callback callback, bool repeat)
{
    const TimerId id = d->nextId++;
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(intervalMs);
    timer->setSingleShot(!repeat);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, [this, id, repeat, cb = std::move(callback)] {
        if (!repeat)
            // Deleting the sender inside its own signal is unsafe; defer it.
            if (auto it = d->timers.find(id); it != d->timers.end()) {
                it->second.release()->deleteLater();
                d->timers.erase(it);
            }
        cb();
    });
    timer->start();
    d->timers[id] = std::move(timer);
    return id;
}

void RealClock::stopTimer(TimerId id)
{
    if (auto it = d->timers.find(id); it != d->timers.end()) {
        it->second->stop();
        it->second.release()->deleteLater();
        d->timers.erase(it);
    }
}

bool RealClock::isActive(TimerId id) const { return d->timers.count(id) != 0; }

void RealClock::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void RealClock::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

} // namespace tz4
