#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tz4::cli {

// Turns Ctrl-C (SIGINT) into a call on the event loop, so that a running procedure can be
// cancelled between two instrument commands instead of the process dying mid-command.
// The previous handler is restored when the object goes away.
class InterruptNotifier final : public QObject {
public:
    explicit InterruptNotifier(std::function<void()> onInterrupt);
    ~InterruptNotifier() override;

    bool interrupted() const { return interrupted_; }

private:
    void drain();

    std::function<void()> onInterrupt_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool interrupted_ = false;
};

} // namespace tz4::cli
