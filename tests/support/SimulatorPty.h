#pragma once

#include "tests/support/TestSupport.h"

#include <QProcess>
#include <QString>

namespace tz4::test {

// tz4-sim serving the instrument on a pseudo-terminal: a real serial path that the system's
// port enumeration does not list. Empty path() when it did not start.
class SimulatorPty {
public:
    explicit SimulatorPty(const QString& speed = QStringLiteral("1000"))
    {
        process_.start(builtProgram(QStringLiteral("tz4-sim")), {QStringLiteral("--sim-speed"), speed});
        if (!process_.waitForStarted(10000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~SimulatorPty()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    SimulatorPty(const SimulatorPty&) = delete;
    SimulatorPty& operator=(const SimulatorPty&) = delete;

    const QString& path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

} // namespace tz4::test
