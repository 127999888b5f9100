#include "app/cli/InterruptNotifier.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tz4::cli {

namespace {

int pipeFds[2] = {-1, -1};
struct sigaction previousAction;

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
}

} // namespace

InterruptNotifier::InterruptNotifier(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt))
{
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
    ::sigaction(SIGINT, &action, &previousAction);
}

InterruptNotifier::~InterruptNotifier()
{
    if (!notifier_)
        return;
    ::sigaction(SIGINT, &previousAction, nullptr);
    notifier_.reset();
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void InterruptNotifier::drain()
{
    char buffer[16];
    while (::read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    interrupted_ = true;
    if (onInterrupt_)
        onInterrupt_();
}

} // namespace tz4::cli
