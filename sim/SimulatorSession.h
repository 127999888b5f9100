#pragma once

#include "core/Clock.h"
#include "sim/SimOptions.h"
#include "sim/Tz4Simulator.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <set>

namespace tz4::sim {

// One conversation with the simulated instrument: command bytes go in as they arrive, each
// CR-terminated line is carried out in turn, and its answer comes out through the sink after
// the time the instrument takes, measured on `clock` (divided by the speed option).
class SimulatorSession {
public:
    using Sink = std::function<void(const QByteArray&)>;

    // Throws std::invalid_argument for fault entries it cannot read.
    SimulatorSession(Clock& clock, const SimOptions& options, Sink sink);
    ~SimulatorSession();
    SimulatorSession(const SimulatorSession&) = delete;
    SimulatorSession& operator=(const SimulatorSession&) = delete;

    void receive(const QByteArray& bytes);
    // Forgets half-received commands and answers not yet sent.
    void reset();

    Tz4Simulator& simulator() { return simulator_; }
    // Simulated milliseconds since the instrument was switched on.
    qint64 simulatedNowMs() const;

private:
    void carryOut(const QByteArray& line);
    void sendAt(qint64 simulatedMs, const QByteArray& bytes);

    Clock& clock_;
    double speed_;
    qint64 startMs_;
    Sink sink_;
    Tz4Simulator simulator_;
    QByteArray pending_;
    qint64 busyUntil_ = 0;
    std::set<Clock::TimerId> timers_;
};

} // namespace tz4::sim
