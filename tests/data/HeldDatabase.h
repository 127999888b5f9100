#pragma once

#include "SampleFixture.h"

#include "data/DatabaseWait.h"

#include <QProcess>

namespace tz4::test {

// Another process holding the write lock of a database, as a long import would.
class LockHolder {
public:
    // Holds the lock of `database` for `milliseconds`, or until release() when none are given;
    // returns once the lock is held.
    explicit LockHolder(const QString& database, int milliseconds = -1)
    {
        QStringList args{database};
        if (milliseconds >= 0)
            args << QString::number(milliseconds);
        process_.start(builtHelper(QStringLiteral("tz4_data_lock_helper")), args);
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        locked_ = process_.readLine().trimmed() == "locked";
    }
    ~LockHolder()
    {
        release();
        if (!process_.waitForFinished(10000))
            process_.kill();
    }
    bool locked() const { return locked_; }
    void release()
    {
        if (process_.state() == QProcess::Running)
            process_.closeWriteChannel();
    }
    bool finish() { return process_.waitForFinished(30000) && process_.exitCode() == 0; }

private:
    QProcess process_;
    bool locked_ = false;
};

// Sets how this process waits for a held database, and puts the defaults back.
class ScopedDatabaseWait {
public:
    ScopedDatabaseWait(std::chrono::milliseconds timeOut, DatabaseWait::Notice notice = {},
                       std::function<bool()> stop = {})
    {
        DatabaseWait::setTimeOut(timeOut);
        DatabaseWait::setNotice(std::move(notice));
        DatabaseWait::setStopRequest(std::move(stop));
    }
    ~ScopedDatabaseWait()
    {
        DatabaseWait::setTimeOut(DatabaseWait::DefaultTimeOut);
        DatabaseWait::setNotice({});
        DatabaseWait::setStopRequest({});
    }
};

} // namespace tz4::test
