#include "tests/support/SerialAsk.h"
#include "tests/support/TestSupport.h"

#include <QProcess>
#include <QSerialPort>

#include <gtest/gtest.h>

namespace {

// Runs the built tz4-sim and stops it when the test ends.
class SimProgram {
public:
    explicit SimProgram(const QStringList& arguments)
    {
        process_.start(tz4::test::builtProgram(QStringLiteral("tz4-sim")), arguments);
    }
    ~SimProgram()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    QString firstLine()
    {
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        return QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    // Waits until the simulator has said `text` on standard error.
    bool waitForMessage(const QByteArray& text)
    {
        process_.setReadChannel(QProcess::StandardError);
        QByteArray said;
        while (!said.contains(text) && (process_.bytesAvailable() > 0 || process_.waitForReadyRead(10000)))
            said += process_.readAll();
        process_.setReadChannel(QProcess::StandardOutput);
        return said.contains(text);
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

} // namespace

TEST(SimProgram, ServesTheInstrumentOnThePrintedPseudoTerminal)
{
    SimProgram sim({QStringLiteral("--sim-speed"), QStringLiteral("100")});
    const QString path = sim.firstLine();
    ASSERT_TRUE(path.startsWith(QLatin1String("/dev/"))) << path.toStdString();

    QSerialPort port(path);
    port.setBaudRate(19200);
    port.setDataBits(QSerialPort::Data7);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    EXPECT_EQ(tz4::test::askOnPort(port, "SS"), "24040\r");
    EXPECT_EQ(tz4::test::askOnPort(port, "ES1234"), "OK\r");
    EXPECT_EQ(tz4::test::askOnPort(port, "ES"), "1234\r");
    // Leave while a ten-second count (0.1 s at this speed) is still running.
    port.write("CS\r");
    port.waitForBytesWritten(1000);
    port.close();
    ASSERT_TRUE(sim.waitForMessage("the host closed " + path.toLocal8Bit()));

    // The next host finds the instrument as the first one left it, and no answer meant for it.
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    EXPECT_EQ(tz4::test::askOnPort(port, "ES"), "1234\r");
}

TEST(SimProgram, RefusesBadOptionsWithAClearMessage)
{
    SimProgram sim({QStringLiteral("--sim-fault"), QStringLiteral("wobble")});
    ASSERT_TRUE(sim.process().waitForFinished(5000));
    EXPECT_EQ(sim.process().exitCode(), 2);
    EXPECT_TRUE(sim.process().readAllStandardError().contains("unknown fault: wobble"));
}
