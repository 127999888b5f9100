#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tz4 {

// Turns SIGINT, SIGTERM and SIGHUP into a call on the event loop, so that whatever runs can
// take its safe way out (a procedure is cancelled between two instrument commands, with the
// grid off and the light blocked) instead of the process dying mid-command. One instance at
// a time; the previous handlers are restored when it goes away.
class StopSignals final : public QObject {
public:
    explicit StopSignals(std::function<void(int signal)> onStop);
    ~StopSignals() override;

    bool stopped() const { return signal_ != 0; }
    // The first signal that arrived; 0 while none has.
    int signal() const { return signal_; }
    // The first signal that arrived at the live instance, known at once, also while no event
    // loop runs (during a long database operation); 0 while none has.
    static int arrived();

private:
    void drain();

    std::function<void(int)> onStop_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int signal_ = 0;
};

} // namespace tz4
