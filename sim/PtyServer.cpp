#include "sim/PtyServer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

PtyServer::PtyServer(Clock& clock, const SimOptions& options)
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
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        ::close(master_);
        throw systemError("open slave");
    }
    // Raw bytes both ways: no echo, no CR/LF translation, no line buffering.
    termios raw{};
    if (::tcgetattr(slave_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);

    try {
        session_ = std::make_unique<SimulatorSession>(clock, options, [this](const QByteArray& bytes) { send(bytes); });
    } catch (...) {
        ::close(slave_);
        ::close(master_);
        throw;
    }
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readCommands(); });
}

PtyServer::~PtyServer()
{
    notifier_.reset();
    session_.reset();
    ::close(slave_);
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
        return; // EAGAIN: all read
    }
}

void PtyServer::send(const QByteArray& bytes)
{
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
