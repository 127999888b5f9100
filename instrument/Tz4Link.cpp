#include "instrument/Tz4Link.h"

#include "instrument/ErrorTexts.h"
#include "instrument/ReplyNumbers.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"

#include <algorithm>
#include <cmath>

namespace tz4 {

namespace {

const QString Crlf = QStringLiteral("\r\n");
constexpr qsizetype LogLimit = 20000;
constexpr qint16 IdleOverTime = 1500; // five minutes for the longest move

// Replies are short ASCII words and numbers; anything else is line noise, not an answer.
bool readableReply(const QString& reply)
{
    static const QString punctuation = QStringLiteral(".,+-:/");
    for (const QChar c : reply)
        if (c.unicode() >= 128 || !(c.isLetterOrNumber() || c.isSpace() || punctuation.contains(c)))
            return false;
    return true;
}

} // namespace

Tz4Link::Tz4Link(Clock& clock, SerialLine& line) : clock_(clock), line_(line), port_(line)
{
    line_.setReceiveHandler([this] { onReceive(); });
}

Tz4Link::~Tz4Link()
{
    line_.setReceiveHandler({});
    if (timerActive_)
        clock_.stopTimer(timer_);
}

void Tz4Link::setPortOpen(bool open)
{
    if (open)
        replies_.reset();
    port_.setPortOpen(open);
}

void Tz4Link::setOverTime(qint16 ticks)
{
    EnterProcedure here("uclTz4Body:OverTime(Let)");
    overTime_ = ticks;
}

bool Tz4Link::TimerEnable() const
{
    EnterProcedure here("uclTz4Body:TimerEnabled(Get)");
    return timerActive_;
}

void Tz4Link::setTimerEnable(bool enable)
{
    EnterProcedure here("uclTz4Body:TimerEnabled(Let)");
    if (enable == timerActive_)
        return;
    if (enable)
        timer_ = clock_.startTimer(TickIntervalMs, [this] { onTick(); }, true);
    else
        clock_.stopTimer(timer_);
    timerActive_ = enable;
}

void Tz4Link::onTick()
{
    ++tickCounter_;
    ++freeTickCounter_;
    if (tick_)
        tick_();
}

void Tz4Link::waitInstrumentTime(qint64 ms)
{
    bool done = false;
    const double scale = line_.farEndTimeScale() > 0 ? line_.farEndTimeScale() : 1.0;
    clock_.startTimer(int(std::max(1.0, std::ceil(double(ms) / scale))), [&done] { done = true; }, false);
    while (!done)
        clock_.yield();
}

QString Tz4Link::ErrorDescription() const
{
    EnterProcedure here("uclTz4Body:ErrorDescription(Get)");
    return GetErrorString(errorNumber_);
}

QString Tz4Link::MeasDataProtocol(const QString& command, const QString& reply) const
{
    // Every command of a scan writes one of these lines: built in place, with the time-out's
    // text made once per time-out rather than once per line.
    const QChar separator = localeDecimalSeparator();
    if (overTimeTextFor_ != overTime_ || overTimeSeparator_ != separator) {
        overTimeText_ = shortestText(overTime_ / 5.0);
        overTimeTextFor_ = overTime_;
        overTimeSeparator_ = separator;
    }
    const bool empty = reply.trimmed().isEmpty();
    QString line;
    line.reserve(24 + (empty ? 3 : reply.size() + 1));
    line += QLatin1Char('[');
    line += command;
    line.resize(10, QLatin1Char(' '));
    line += QLatin1Char('(');
    line += overTimeText_;
    line += QLatin1Char(')');
    line.resize(18, QLatin1Char(' '));
    line += QLatin1String("] -> [");
    if (empty) {
        line += QLatin1String("CR]");
    } else {
        line += reply;
        line += QLatin1Char(']');
    }
    return line;
}

void Tz4Link::appendLog(const QString& line)
{
    serialLog_ += line;
    serialLog_ += Crlf;
}

void Tz4Link::emitData(const QString& line)
{
    if (data_)
        data_(line);
}

void Tz4Link::reportFailure()
{
    if (error_)
        error_(errorStyle_, errorNumber_);
}

bool Tz4Link::failCommand(const QString& command, const QString& message, qint32 number, bool log)
{
    errorStyle_ = 1;
    errorNumber_ = number;
    const QString line = MeasDataProtocol(command, message);
    if (log)
        appendLog(line);
    emitData(line);
    canceled_ = true;
    return false;
}

void Tz4Link::noteFailure(const QString& command, const QString& reply, qint32 number)
{
    failures_.append({command, reply, number});
    if (number == linkerr::ReceiveTimeOut || number == linkerr::NotConnected)
        linkLost_ = true;
}

void Tz4Link::startRun()
{
    serialLog_.clear();
    failures_.clear();
    answered_ = false;
    linkLost_ = false;
}

bool Tz4Link::WriteRS232C(const QString& command)
{
    EnterProcedure here("uclTz4Body:WriteRS232C");
    if (serialLog_.size() > LogLimit)
        serialLog_.clear();
    if (canceled_) {
        // A cancelled run must not flood the log; the owner still sees every refused command.
        failCommand(command, QStringLiteral("Design Mode!"), linkerr::Cancelled, false);
        portInUse_ = false;
        return false;
    }

    // A procedure started from an event handler during someone else's wait queues here, so
    // commands never interleave on the wire.
    while (portInUse_)
        clock_.yield();
    portInUse_ = true;

    if (!line_.isOpen()) {
        noteFailure(command, {}, linkerr::NotConnected);
        failCommand(command, QStringLiteral("No Connected"), linkerr::NotConnected, true);
        portInUse_ = false;
        return false;
    }

    // Whatever happens from here on (a reply, a time-out, a failure escaping a wait or the
    // conversion of the reply), the port is released and stale input dropped.
    struct Release {
        Tz4Link& link;
        ~Release()
        {
            link.line_.discardInput();
            link.portInUse_ = false;
        }
    } release{*this};

    replies_.expect();
    lastCommand_ = command;
    line_.write(command.toLatin1() + '\r');
    tickCounter_ = 0;

    switch (awaitReply()) {
    case Wait::Closed:
        noteFailure(command, {}, linkerr::NotConnected);
        return failCommand(command, QStringLiteral("No Connected"), linkerr::NotConnected, true);
    case Wait::TimedOut:
        noteFailure(command, {}, linkerr::ReceiveTimeOut);
        return failCommand(command, QStringLiteral("TimeOver!"), linkerr::ReceiveTimeOut, true);
    case Wait::Replied:
        break;
    }
    return judgeReply(command);
}

Tz4Link::Wait Tz4Link::awaitReply()
{
    while (!replies_.complete()) {
        clock_.yield();
        // A port that closed under the wait (device unplugged, far end gone) never answers.
        if (!line_.isOpen() && !replies_.complete())
            return Wait::Closed;
        if (tickCounter_ > overTime_)
            return replies_.complete() ? Wait::Replied : Wait::TimedOut;
    }
    return Wait::Replied;
}

bool Tz4Link::judgeReply(const QString& command)
{
    const QString& reply = replies_.reply();
    answered_ = true;
    const QString line = MeasDataProtocol(command, reply);
    appendLog(line);
    emitData(line);
    if (!readableReply(reply)) {
        noteFailure(command, reply, linkerr::UnreadableReply);
        errorStyle_ = 1;
        errorNumber_ = linkerr::UnreadableReply;
        return false;
    }
    if (!reply.toUpper().contains(QLatin1String("ERROR")))
        return true;
    errorStyle_ = 0;
    // A bare "ERROR" has no number: the conversion fails and reaches the caller.
    try {
        errorNumber_ = replyToInt32(reply.mid(reply.indexOf(QLatin1Char(' ')) + 1));
    } catch (...) {
        noteFailure(command, reply, linkerr::UnreadableReply);
        throw;
    }
    noteFailure(command, reply, errorNumber_);
    return false;
}

void Tz4Link::onReceive()
{
    // A complete reply leaves further input on the line until the next command is sent.
    if (!replies_.complete() && replies_.add(line_.readAll()))
        line_.discardInput();
}

bool Tz4Link::ask(const QString& process, const QString& command, qint16 overTime)
{
    const qint16 saved = overTime_;
    overTime_ = overTime;
    lastProcess_ = process;
    bool ok = false;
    try {
        ok = WriteRS232C(command);
    } catch (...) {
        overTime_ = saved;
        throw;
    }
    overTime_ = saved;
    if (!ok)
        reportFailure();
    return ok;
}

double Tz4Link::replyNumber()
{
    try {
        return replyToDouble(replies_.reply());
    } catch (...) {
        noteFailure(lastCommand_, replies_.reply(), linkerr::UnreadableReply);
        throw;
    }
}

qint16 Tz4Link::replyInt16()
{
    try {
        return replyToInt16(replies_.reply());
    } catch (...) {
        noteFailure(lastCommand_, replies_.reply(), linkerr::UnreadableReply);
        throw;
    }
}

void Tz4Link::refuseReply()
{
    noteFailure(lastCommand_, replies_.reply(), linkerr::UnreadableReply);
    errorStyle_ = 1;
    errorNumber_ = linkerr::UnreadableReply;
    reportFailure();
}

void Tz4Link::WaitIdle()
{
    EnterProcedure here("uclTz4Body:WaitIdle");
    const qint16 saved = overTime_;
    overTime_ = IdleOverTime;
    lastProcess_ = QStringLiteral("WaitIdle");
    WriteRS232C(QStringLiteral("KS"));
    setOverTime(saved);
}

} // namespace tz4
