#pragma once

#include "core/Clock.h"
#include "core/SerialLine.h"
#include "instrument/PortSettings.h"
#include "instrument/ReplyAssembler.h"

#include <QList>
#include <QString>

#include <functional>

namespace tz4 {

// The serial link to the instrument: its settings, the framing of commands, the assembly of
// replies, the time-outs counted in timer ticks, the traffic log, the failed commands and
// whether the instrument stopped answering. One command at a time goes over the line and every
// wait runs the clock's message loop, so timer ticks, receive events and user commands keep
// working while a reply is outstanding.
class Tz4Link {
public:
    static constexpr int TickIntervalMs = 200;

    using DataHandler = std::function<void(const QString& line)>;
    using ErrorHandler = std::function<void(qint32 style, qint32 number)>;
    using TickHandler = std::function<void()>;

    // One command the instrument refused, did not answer or answered unreadably.
    struct CommandFailure {
        QString command;
        QString reply;   // as received; empty when nothing came
        qint32 number;   // error number (GetErrorString)
    };

    Tz4Link(Clock& clock, SerialLine& line);
    ~Tz4Link();
    Tz4Link(const Tz4Link&) = delete;
    Tz4Link& operator=(const Tz4Link&) = delete;

    // Every logged exchange, every reported failure and every timer tick.
    void setHandlers(DataHandler data, ErrorHandler error, TickHandler tick)
    {
        data_ = std::move(data);
        error_ = std::move(error);
        tick_ = std::move(tick);
    }

    Clock& clock() { return clock_; }
    bool isOpen() const { return line_.isOpen(); }
    PortSettings& port() { return port_; }
    const PortSettings& port() const { return port_; }
    // Opening starts with an empty receive buffer.
    void setPortOpen(bool open);

    qint16 OverTime() const { return overTime_; }
    void setOverTime(qint16 ticks);
    // The same without marking the error location, for a time-out held only for one command.
    void useOverTime(qint16 ticks) { overTime_ = ticks; }
    bool TimerEnable() const;
    void setTimerEnable(bool enable);
    qint32 freeTickCounter() const { return freeTickCounter_; }
    // Lets `ms` of the instrument's own time pass (less on a line whose far end runs faster),
    // running the message loop.
    void waitInstrumentTime(qint64 ms);

    // Sends one command and waits for its reply; true when a readable reply without "ERROR"
    // came.
    bool WriteRS232C(const QString& command);
    // Sends one command with its own time-out and LastProcess; reports a failure. The
    // previous OverTime is back in force afterwards.
    bool ask(const QString& process, const QString& command, qint16 overTime);
    // Reports the last failure to the error handler.
    void reportFailure();
    // The reply as a number; a reply that is not one is a failed command like any other, so
    // that the failure (which still reaches the caller) names the command and what came back.
    double replyNumber();
    qint16 replyInt16();
    // A reply that reads as a number the instrument cannot mean (a negative time): noted and
    // reported like an unreadable one, never taken as a reading.
    void refuseReply();
    // The wait for the instrument to finish moving.
    void WaitIdle();
    QString MeasDataProtocol(const QString& command, const QString& reply) const;

    const QString& replyLine() const { return replies_.reply(); }
    QString SerialLog() const { return serialLog_; }
    void setSerialLog(const QString& log) { serialLog_ = log; }
    QString LastProcess() const { return lastProcess_; }
    void setLastProcess(const QString& process) { lastProcess_ = process; }
    bool Canceled() const { return canceled_; }
    void setCanceled(bool canceled) { canceled_ = canceled; }
    // A procedure holds the instrument.
    bool Busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    qint32 errorStyle() const { return errorStyle_; }
    qint32 errorNumber() const { return errorNumber_; }
    QString ErrorDescription() const;
    const QList<CommandFailure>& commandFailures() const { return failures_; }
    void clearCommandFailures()
    {
        failures_.clear();
        answered_ = false;
    }
    // True once a reply line of any kind (an error reply included) arrived since the failures
    // were last cleared.
    bool Answered() const { return answered_; }
    bool LinkLost() const { return linkLost_; }
    void setLinkLost(bool lost) { linkLost_ = lost; }
    QString lineFailureCause(Language language = currentLanguage()) const { return line_.failureCause(language); }
    // A new procedure's exchanges: log, failures and a lost link start afresh.
    void startRun();

private:
    enum class Wait { Replied, TimedOut, Closed };

    void onReceive();
    void onTick();
    void appendLog(const QString& line);
    void emitData(const QString& line);
    bool failCommand(const QString& command, const QString& message, qint32 number, bool log);
    void noteFailure(const QString& command, const QString& reply, qint32 number);
    Wait awaitReply();
    bool judgeReply(const QString& command);

    Clock& clock_;
    SerialLine& line_;
    PortSettings port_;
    DataHandler data_;
    ErrorHandler error_;
    TickHandler tick_;
    Clock::TimerId timer_ = 0;
    bool timerActive_ = false;

    ReplyAssembler replies_;
    QString lastCommand_;
    bool portInUse_ = false;
    qint32 tickCounter_ = 0;
    qint32 freeTickCounter_ = 0;
    qint32 errorStyle_ = 0;
    qint32 errorNumber_ = 0;
    QString serialLog_;
    QString lastProcess_;
    bool canceled_ = false;
    bool busy_ = false;
    bool linkLost_ = false;
    bool answered_ = false;
    QList<CommandFailure> failures_;
    qint16 overTime_ = 60;
    mutable qint16 overTimeTextFor_ = -1;
    mutable QChar overTimeSeparator_;
    mutable QString overTimeText_;
};

} // namespace tz4
