#include "tests/support/TestSupport.h"

#include "core/Clock.h"
#include "instrument/QtSerialLine.h"
#include "instrument/Tz4Body.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace tz4;

namespace {

// tz4-sim serving the simulator on a pseudo-terminal; its device path is the first output line.
class SimulatorProcess {
public:
    SimulatorProcess()
    {
        process_.start(tz4::test::builtProgram("tz4-sim"), {"--sim-speed", "100"});
        if (!process_.waitForStarted(10000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~SimulatorProcess()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    QString devicePath() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

} // namespace

TEST(PseudoTerminal, ConnectsDiagnosesAndInitialisesThroughARealSerialPort)
{
    SimulatorProcess simulator;
    ASSERT_FALSE(simulator.devicePath().isEmpty());

    RealClock clock;
    QtSerialLine line(simulator.devicePath());
    uclTz4Body body(clock, line);
    body.setTimerEnable(true);

    ASSERT_TRUE(body.Connected());
    EXPECT_EQ(line.description(), simulator.devicePath());
    EXPECT_TRUE(body.Diag(0).startsWith('2'));
    EXPECT_TRUE(body.Diag(1).startsWith('2'));

    body.InitBody();
    EXPECT_FALSE(body.Busy());
    EXPECT_FALSE(body.Canceled()) << body.SerialLog().right(2000).toStdString();
    EXPECT_GT(body.SumLost(), 0.0f);
    EXPECT_GT(body.SetLightMax(), body.SetLightMin());
    EXPECT_GT(body.PhotoDiodeAdjust(5.0f), 0.0f);
    EXPECT_FALSE(body.SerialLog().contains("TimeOver!"));
}

TEST(PseudoTerminal, PortNumbersMapToPlatformDevicesUnlessAPathIsGiven)
{
    QtSerialLine numbered;
    numbered.setPortNumber(3);
#ifdef Q_OS_WIN
    EXPECT_EQ(numbered.description(), "COM3");
#else
    EXPECT_EQ(numbered.description(), "/dev/ttyS2");
#endif
    QtSerialLine missing("/nonexistent/tty-for-test");
    missing.setPortNumber(3);
    EXPECT_EQ(missing.description(), "/nonexistent/tty-for-test");

    // A device that cannot be opened leaves the port closed and the link unconnected.
    RealClock clock;
    uclTz4Body body(clock, missing);
    body.setTimerEnable(true);
    EXPECT_FALSE(body.Connected());
    EXPECT_FALSE(body.PortOpen());
}
