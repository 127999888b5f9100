#pragma once

#include "tests/app/HeadlessRun.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <csignal>

namespace tz4::test {

// A program started beside others on one data directory, its output collected as it comes.
class RunningProgram {
public:
    RunningProgram(const QString& program, const QStringList& args) { process_.start(program, args); }
    ~RunningProgram()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // True once `text` has appeared on standard output or standard error.
    bool waitFor(const QByteArray& text, int timeoutMs = 60000)
    {
        QDeadlineTimer deadline(timeoutMs);
        process_.waitForStarted(timeoutMs);
        for (;;) {
            collect();
            if (out_.contains(text) || err_.contains(text))
                return true;
            if (process_.state() != QProcess::Running || deadline.hasExpired())
                return false;
            process_.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 1000)));
        }
    }
    bool running() const { return process_.state() == QProcess::Running; }
    // A finished process has the id 0, and kill(0, ...) would signal the whole process group.
    void signal(int sig)
    {
        if (const qint64 pid = process_.processId(); pid > 0)
            ::kill(pid_t(pid), sig);
    }
    void write(const QByteArray& bytes) { process_.write(bytes); }
    void closeInput() { process_.closeWriteChannel(); }
    HeadlessRun finish(int timeoutMs = 120000)
    {
        HeadlessRun run;
        if (!process_.waitForFinished(timeoutMs)) {
            process_.kill();
            process_.waitForFinished(5000);
        } else if (process_.exitStatus() == QProcess::NormalExit) {
            run.exitCode = process_.exitCode();
        }
        collect();
        run.out = out_;
        run.err = err_;
        return run;
    }
    const QByteArray& out()
    {
        collect();
        return out_;
    }

private:
    void collect()
    {
        out_ += process_.readAllStandardOutput();
        err_ += process_.readAllStandardError();
    }

    QProcess process_;
    QByteArray out_;
    QByteArray err_;
};

} // namespace tz4::test
