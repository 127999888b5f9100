#include "sim/SimulatorSession.h"

#include <algorithm>
#include <cmath>

namespace tz4::sim {

SimulatorSession::SimulatorSession(Clock& clock, const SimOptions& options, Sink sink)
    : clock_(clock), speed_(options.speed > 0 ? options.speed : 1.0), startMs_(clock.nowMs()),
      sink_(std::move(sink)), simulator_(options)
{
}

SimulatorSession::~SimulatorSession() { reset(); }

qint64 SimulatorSession::simulatedNowMs() const
{
    return qint64(std::llround((clock_.nowMs() - startMs_) * speed_));
}

void SimulatorSession::reset()
{
    for (Clock::TimerId id : timers_)
        clock_.stopTimer(id);
    timers_.clear();
    pending_.clear();
}

void SimulatorSession::receive(const QByteArray& bytes)
{
    pending_ += bytes;
    qsizetype end;
    while ((end = pending_.indexOf('\r')) >= 0) {
        const QByteArray line = pending_.left(end);
        pending_.remove(0, end + 1);
        carryOut(line);
    }
}

void SimulatorSession::carryOut(const QByteArray& line)
{
    // The instrument works through commands one at a time.
    const qint64 start = std::max(simulatedNowMs(), busyUntil_);
    const Tz4Simulator::Reply reply = simulator_.execute(line, start);
    const qint64 done = start + reply.durationMs;
    busyUntil_ = start + std::max(reply.durationMs, reply.busyMs);
    if (reply.silent)
        return;
    const QByteArray bytes = reply.text + '\r';
    switch (reply.delivery) {
    case Tz4Simulator::Delivery::Whole:
        sendAt(done, bytes);
        break;
    case Tz4Simulator::Delivery::Merged:
        sendAt(done, bytes + bytes);
        break;
    case Tz4Simulator::Delivery::Split: {
        // Three pieces, a millisecond apart, the CR in the last one.
        const qsizetype piece = std::max<qsizetype>(1, bytes.size() / 3);
        qint64 at = done;
        for (qsizetype from = 0; from < bytes.size();) {
            const qsizetype length = bytes.size() - from < 2 * piece ? bytes.size() - from : piece;
            sendAt(at++, bytes.mid(from, length));
            from += length;
        }
        break;
    }
    }
}

void SimulatorSession::sendAt(qint64 simulatedMs, const QByteArray& bytes)
{
    const qint64 delay = std::max<qint64>(0, simulatedMs - simulatedNowMs());
    const int realDelay = int(std::llround(delay / speed_));
    auto id = std::make_shared<Clock::TimerId>(0);
    *id = clock_.startTimer(
        realDelay,
        [this, id, bytes] {
            timers_.erase(*id);
            sink_(bytes);
        },
        false);
    timers_.insert(*id);
}

} // namespace tz4::sim
