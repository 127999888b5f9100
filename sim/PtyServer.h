#pragma once

#include "core/Clock.h"
#include "sim/SimOptions.h"
#include "sim/SimulatorSession.h"

#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tz4::sim {

// Serves the simulated instrument on a pseudo-terminal, so that any program can open the
// device path as if it were the instrument's serial port. Needs a running Qt event loop.
// Like a real port, a host that opens the device finds no answers meant for an earlier host.
class PtyServer {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had, std::invalid_argument for
    // fault entries it cannot read.
    PtyServer(Clock& clock, const SimOptions& options);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // The device the host opens, e.g. /dev/pts/3.
    QString devicePath() const { return path_; }
    Tz4Simulator& simulator() { return session_->simulator(); }
    // Called once the server has noticed that the host closed the device.
    void setHostLeftHandler(std::function<void()> handler) { onHostLeft_ = std::move(handler); }

private:
    void readCommands();
    void send(const QByteArray& bytes);
    bool hostPresent() const;
    // The host closed the device: drop its unanswered commands and unread answers, then wait
    // for the next host.
    void hostLeft();
    void watchForHost();

    Clock& clock_;
    int master_ = -1;
    QString path_;
    Clock::TimerId watch_ = 0;
    std::unique_ptr<SimulatorSession> session_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onHostLeft_;
};

} // namespace tz4::sim
