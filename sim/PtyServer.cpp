#include "sim/PtyServer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace tz4::sim {

namespace {

std::runtime_error systemError(const char* what)
{
    return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

} // namespace

PtyServer::PtyServer(Clock& clock, const SimOptions& options) : clock_(clock)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        throw systemError("posix_openpt");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        ::close(master_);
        throw systemError("grantpt/unlockpt");
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        ::close(master_);
        throw systemError("ptsname");
    }
    path_ = QString::fromLocal8Bit(name);
    // Raw bytes both ways: no echo, no CR/LF translation, no line buffering.
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        ::close(master_);
        throw systemError("open slave");
    }
    termios raw{};
    if (::tcgetattr(slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
    }
    ::close(slave);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);

    try {
        session_ = std::make_unique<SimulatorSession>(clock, options, [this](const QByteArray& bytes) { send(bytes); });
    } catch (...) {
        ::close(master_);
        throw;
    }
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readCommands(); });
    // Closing the slave after making it raw left the terminal hung up; reading now would take
    // that for a host that left. Wait for the first host as for any later one.
    notifier_->setEnabled(false);
    watch_ = clock_.startTimer(50, [this] { watchForHost(); }, true);
}

PtyServer::~PtyServer()
{
    if (watch_)
        clock_.stopTimer(watch_);
    notifier_.reset();
    session_.reset();
    ::close(master_);
}

void PtyServer::readCommands()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            session_->receive(QByteArray(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EIO)
            hostLeft();
        return; // EAGAIN: all read
    }
}

void PtyServer::hostLeft()
{
    notifier_->setEnabled(false);
    session_->reset();
    // Commands the old host wrote but we had not read yet are not the next host's.
    ::tcflush(master_, TCIFLUSH);
    // Whatever was sent but not read stays in the terminal; empty it for the next host.
    const int slave = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave >= 0) {
        ::tcflush(slave, TCIOFLUSH);
        ::close(slave);
    }
    watch_ = clock_.startTimer(50, [this] { watchForHost(); }, true);
    if (onHostLeft_)
        onHostLeft_();
}

void PtyServer::watchForHost()
{
    pollfd fd{master_, POLLIN, 0};
    if (::poll(&fd, 1, 0) >= 0 && (fd.revents & POLLHUP))
        return;
    clock_.stopTimer(watch_);
    watch_ = 0;
    notifier_->setEnabled(true);
}

bool PtyServer::hostPresent() const
{
    pollfd fd{master_, 0, 0};
    return ::poll(&fd, 1, 0) >= 0 && !(fd.revents & POLLHUP);
}

void PtyServer::send(const QByteArray& bytes)
{
    // An answer falling due after the host left (a busy simulator may run the timer before it
    // reads the hang-up) would otherwise wait in the terminal for the next host.
    if (!hostPresent()) {
        if (watch_ == 0)
            hostLeft();
        return;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return; // the host is not reading: the answer is lost, as on a real line
    }
}

} // namespace tz4::sim
