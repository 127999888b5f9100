#include "core/StopSignals.h"

#include <QSocketNotifier>

#include <atomic>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tz4 {

namespace {
std::atomic<int> firstArrived{0};
static_assert(std::atomic<int>::is_always_lock_free, "read and written in a signal handler");
} // namespace

int StopSignals::arrived() { return firstArrived.load(); }

#ifdef Q_OS_UNIX
namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
int pipeFds[2] = {-1, -1};
struct sigaction previous[3];

// Only async-signal-safe work here: the signal's number wakes the event loop.
void onSignal(int signal)
{
    int none = 0;
    firstArrived.compare_exchange_strong(none, signal);
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
}

} // namespace

StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop))
{
    firstArrived = 0;
    if (::pipe(pipeFds) != 0)
        return;
    for (int fd : pipeFds) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Signals); ++i)
        ::sigaction(Signals[i], &action, &previous[i]);
}

StopSignals::~StopSignals()
{
    if (!notifier_)
        return;
    for (size_t i = 0; i < std::size(Signals); ++i)
        ::sigaction(Signals[i], &previous[i], nullptr);
    notifier_.reset();
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
    firstArrived = 0;
}

void StopSignals::drain()
{
    char buffer[16];
    ssize_t n = 0;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        // A second signal (Ctrl-C pressed twice) changes nothing: the first one is on its way.
        if (signal_ == 0)
            signal_ = buffer[0];
    }
    if (signal_ != 0 && onStop_)
        onStop_(signal_);
}
#else
StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop)) {}
StopSignals::~StopSignals() = default;
void StopSignals::drain() {}
#endif

} // namespace tz4
