#include "instrument/ErrorTexts.h"
#include "instrument/ReplyNumbers.h"
#include "instrument/Tz4Body.h"

#include "core/ErrorLocation.h"
#include "core/Formats.h"

namespace tz4 {

namespace {

constexpr int TickIntervalMs = 200;
const QString Crlf = QStringLiteral("\r\n");

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

uclTz4Body::uclTz4Body(Clock& clock, SerialLine& line, QObject* parent)
    : QObject(parent), clock_(clock), line_(line)
{
    line_.setReceiveHandler([this] { onReceive(); });
}

uclTz4Body::~uclTz4Body()
{
    line_.setReceiveHandler({});
    if (timerActive_)
        clock_.stopTimer(timer_);
}

bool uclTz4Body::PortOpen() const
{
    EnterProcedure here("uclTz4Body:PortOpen(Get)");
    return line_.isOpen();
}

void uclTz4Body::setPortOpen(bool open)
{
    EnterProcedure here("uclTz4Body:PortOpen(Let)");
    if (!open) {
        line_.close();
        return;
    }
    line_.setPortNumber(commPort_ >= 1 && commPort_ <= 16 ? commPort_ : 1);
    receiveBuffer_.clear();
    const QString baud = baudRate_ % 300 == 0 ? QString::number(baudRate_) : QStringLiteral("19200");
    const QString parity = parityBits_ == 1 ? QStringLiteral("E") : parityBits_ == 2 ? QStringLiteral("O") : QStringLiteral("N");
    line_.setSettings(QStringLiteral("%1,%2,%3,%4").arg(baud, parity).arg(dataBits_).arg(stopBits_));
    line_.open();
}

QString uclTz4Body::settingsText() const
{
    const char* parity = parityBits_ == 1 ? "e" : parityBits_ == 2 ? "o" : "n";
    return QStringLiteral("%1,%2,%3,%4").arg(baudRate_).arg(QLatin1String(parity)).arg(dataBits_).arg(stopBits_);
}

void uclTz4Body::setCommPort(qint16 port)
{
    EnterProcedure here("uclTz4Body:CommPort(Let)");
    line_.setPortNumber(port);
    commPort_ = port;
}

void uclTz4Body::setBaudRate(qint32 rate)
{
    EnterProcedure here("uclTz4Body:BaudRate(Let)");
    // Zero and negative rates are multiples of 300 too, but no line runs at them.
    if (rate <= 0 || rate % 300 != 0)
        return;
    baudRate_ = rate;
    line_.setSettings(settingsText());
}

void uclTz4Body::setDataBits(qint16 bits)
{
    EnterProcedure here("uclTz4Body:DataBits(Let)");
    if (bits != 7 && bits != 8)
        return;
    dataBits_ = bits;
    line_.setSettings(settingsText());
}

void uclTz4Body::setStopBits(qint16 bits)
{
    EnterProcedure here("uclTz4Body:StopBits(Let)");
    if (bits != 1 && bits != 2)
        return;
    stopBits_ = bits;
    line_.setSettings(settingsText());
}

void uclTz4Body::setParityBits(qint32 parity)
{
    EnterProcedure here("uclTz4Body:ParityBits(Let)");
    parityBits_ = parity;
    line_.setSettings(settingsText());
}

void uclTz4Body::setOverTime(qint16 ticks)
{
    EnterProcedure here("uclTz4Body:OverTime(Let)");
    overTime_ = ticks;
}

bool uclTz4Body::TimerEnable() const
{
    EnterProcedure here("uclTz4Body:TimerEnabled(Get)");
    return timerActive_;
}

void uclTz4Body::setTimerEnable(bool enable)
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

void uclTz4Body::onTick()
{
    ++tickCounter_;
    ++freeTickCounter_;
    if (warmUpLeft_ > 0)
        warmUpLeft_ -= TickIntervalMs / 1000.0f;
}

qint32 uclTz4Body::ErrorNumber(qint32 Styles)
{
    EnterProcedure here("uclTz4Body:ErrorNumber(Get)");
    if (Styles != 0)
        return errorNumber_;
    const QString light = Diag(0);
    const QString stage = Diag(1);
    return !light.isEmpty() && !stage.isEmpty() ? 2 : 1;
}

QString uclTz4Body::ErrorDescription() const
{
    EnterProcedure here("uclTz4Body:ErrorDescription(Get)");
    return GetErrorString(errorNumber_);
}

QString uclTz4Body::MeasDataProtocol(const QString& command, const QString& reply) const
{
    const QString blanks(13, QLatin1Char(' '));
    QString line = (QStringLiteral("[") + command + blanks).left(10);
    line = (line + QStringLiteral("(") + shortestText(overTime_ / 5.0) + QStringLiteral(")") + blanks).left(18);
    line += QStringLiteral("] -> [");
    line += reply.trimmed().isEmpty() ? QStringLiteral("CR]") : reply + QStringLiteral("]");
    return line;
}

void uclTz4Body::appendLog(const QString& line)
{
    serialLog_ += line + Crlf;
}

bool uclTz4Body::failCommand(const QString& command, const QString& message, qint32 number, bool log)
{
    errorStyle_ = 1;
    errorNumber_ = number;
    const QString line = MeasDataProtocol(command, message);
    if (log)
        appendLog(line);
    emit ReceiveData(line);
    canceled_ = true;
    return false;
}

void uclTz4Body::noteFailure(const QString& command, const QString& reply, qint32 number)
{
    failures_.append({command, reply, number});
    if (number == linkerr::ReceiveTimeOut || number == linkerr::NotConnected)
        linkLost_ = true;
}

bool uclTz4Body::WriteRS232C(const QString& command)
{
    EnterProcedure here("uclTz4Body:WriteRS232C");
    if (serialLog_.size() > 20000)
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
    // conversion below), the port is released and stale input dropped.
    struct Release {
        uclTz4Body& body;
        ~Release()
        {
            body.line_.discardInput();
            body.portInUse_ = false;
        }
    } release{*this};

    replyComplete_ = false;
    replyLine_.clear();
    lastCommand_ = command;
    line_.write(command.toLatin1() + '\r');
    tickCounter_ = 0;

    bool timedOut = false;
    while (!replyComplete_) {
        clock_.yield();
        // A port that closed under the wait (device unplugged, far end gone) never answers.
        if (!line_.isOpen() && !replyComplete_) {
            noteFailure(command, {}, linkerr::NotConnected);
            return failCommand(command, QStringLiteral("No Connected"), linkerr::NotConnected, true);
        }
        if (tickCounter_ > overTime_) {
            timedOut = !replyComplete_;
            break;
        }
    }

    if (timedOut) {
        noteFailure(command, {}, linkerr::ReceiveTimeOut);
        return failCommand(command, QStringLiteral("TimeOver!"), linkerr::ReceiveTimeOut, true);
    }
    const QString line = MeasDataProtocol(command, replyLine_);
    appendLog(line);
    emit ReceiveData(line);
    if (!readableReply(replyLine_)) {
        noteFailure(command, replyLine_, linkerr::UnreadableReply);
        errorStyle_ = 1;
        errorNumber_ = linkerr::UnreadableReply;
        return false;
    }
    if (!replyLine_.toUpper().contains(QLatin1String("ERROR")))
        return true;
    errorStyle_ = 0;
    // A bare "ERROR" has no number: the conversion fails and reaches the caller.
    try {
        errorNumber_ = replyToInt32(replyLine_.mid(replyLine_.indexOf(QLatin1Char(' ')) + 1));
    } catch (...) {
        noteFailure(command, replyLine_, linkerr::UnreadableReply);
        throw;
    }
    noteFailure(command, replyLine_, errorNumber_);
    return false;
}

void uclTz4Body::onReceive()
{
    if (replyComplete_)
        return;
    receiveBuffer_ += QString::fromLatin1(line_.readAll());
    const QChar terminator(static_cast<char16_t>(terminatorCode_.toInt()));
    const qsizetype p = receiveBuffer_.indexOf(terminator);
    if (p < 0)
        return;
    line_.discardInput();
    replyLine_ = receiveBuffer_.left(p);
    receiveBuffer_.remove(0, p + 1);
    replyComplete_ = true;
}

void uclTz4Body::WaitIdle()
{
    EnterProcedure here("uclTz4Body:WaitIdle");
    const qint16 saved = overTime_;
    overTime_ = 1500;
    lastProcess_ = QStringLiteral("WaitIdle");
    WriteRS232C(QStringLiteral("KS"));
    setOverTime(saved);
}

void uclTz4Body::BodyCancelProcess()
{
    EnterProcedure here("uclTz4Body:BodyCancelProcess");
    canceled_ = false;
    InitFilter();
    setGridVolts(false);
    InitStageX();
    canceled_ = true;
}

QString uclTz4Body::ChkPointDelim(const QString& text) const
{
    EnterProcedure here("uclTz4Body:ChkPointDelim");
    return chkPointDelim(text);
}

QString uclTz4Body::UncheckPointDelim(const QString& text) const
{
    EnterProcedure here("uclTz4Body:UncheckPointDelim");
    return uncheckPointDelim(text);
}

} // namespace tz4
