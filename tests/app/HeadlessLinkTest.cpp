#include "tests/app/HeadlessRun.h"
#include "tests/support/SerialAsk.h"

#include <QProcess>
#include <QSerialPort>

#include <csignal>

using namespace tz4;
using tz4::test::HeadlessProgram;

namespace {

// tz4-sim serving the instrument on a pseudo-terminal, which a test may kill or freeze.
class SimulatorProgram {
public:
    explicit SimulatorProgram(const QString& speed)
    {
        process_.start(test::builtProgram(QStringLiteral("tz4-sim")), {QStringLiteral("--sim-speed"), speed});
        if (!process_.waitForStarted(10000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~SimulatorProgram()
    {
        signal(SIGCONT);
        process_.kill();
        process_.waitForFinished(5000);
    }
    QString path() const { return path_; }
    // A finished process has the id 0, and kill(0, ...) would signal the whole process group,
    // other tests' simulators and the test runner included.
    void signal(int sig)
    {
        if (const qint64 pid = process_.processId(); pid > 0)
            ::kill(pid_t(pid), sig);
    }
    void kill()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

    // One command as a host would send it, on a port of its own.
    QByteArray ask(const QByteArray& command) const
    {
        QSerialPort port(path_);
        port.setBaudRate(19200);
        port.setDataBits(QSerialPort::Data7);
        if (!port.open(QIODevice::ReadWrite))
            return {};
        return test::askOnPort(port, command);
    }

private:
    QProcess process_;
    QString path_;
};

// `tz4 measure cps` on the simulator's port (a minute of counting, far longer than any test
// waits), watched until its counting has begun. Its loop
// holds no monochromator wait, so a freeze always hits a count with its short time-out.
class RunningScan {
public:
    RunningScan(const QString& home, const QString& port)
    {
        process_.start(test::builtProgram(QStringLiteral("tz4")),
                       {QStringLiteral("--home"), home, QStringLiteral("--port"), port, QStringLiteral("measure"),
                        QStringLiteral("cps"), QStringLiteral("--sample"), QStringLiteral("Gold"),
                        QStringLiteral("--energy"), QStringLiteral("5.9"), QStringLiteral("--count"),
                        QStringLiteral("2000"), QStringLiteral("--time"), QStringLiteral("3")});
    }
    ~RunningScan()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    // True once the first point has been measured.
    bool scanning()
    {
        process_.waitForStarted(10000);
        while (!err_.contains("[Counting Rate]:Processing") && process_.state() == QProcess::Running) {
            process_.waitForReadyRead(1000);
            err_ += process_.readAllStandardError();
        }
        return process_.state() == QProcess::Running;
    }
    // A finished process has the id 0, and kill(0, ...) would signal the whole process group,
    // other tests' simulators and the test runner included.
    void signal(int sig)
    {
        if (const qint64 pid = process_.processId(); pid > 0)
            ::kill(pid_t(pid), sig);
    }
    int finish(int timeoutMs = 120000)
    {
        process_.waitForFinished(timeoutMs);
        err_ += process_.readAllStandardError();
        out_ = process_.readAllStandardOutput();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    const QByteArray& err() const { return err_; }
    const QByteArray& out() const { return out_; }

private:
    QProcess process_;
    QByteArray err_;
    QByteArray out_;
};

} // namespace

// A count takes 10 ms of the test's time, long against the host's share of a command.
const QString SimSpeed = QStringLiteral("100");

TEST_F(HeadlessProgram, AKilledInstrumentIsReportedAsLostNotAsACancel)
{
    SimulatorProgram sim(SimSpeed);
    ASSERT_FALSE(sim.path().isEmpty());
    RunningScan scan(home.path(), sim.path());
    ASSERT_TRUE(scan.scanning()) << scan.err().toStdString();
    sim.kill();
    EXPECT_EQ(scan.finish(), 4) << scan.err().toStdString();
    EXPECT_TRUE(scan.err().contains("The instrument stopped answering: The serial port " + sim.path().toUtf8()
                                    + " was removed or closed"))
        << scan.err().toStdString();
    EXPECT_TRUE(scan.err().contains("Nothing was stored.")) << scan.err().toStdString();
    EXPECT_FALSE(scan.err().contains("Save this Data?")) << scan.err().toStdString();
    EXPECT_TRUE(scan.out().isEmpty());
    EXPECT_TRUE(records().isEmpty());
}

TEST_F(HeadlessProgram, AFrozenInstrumentIsReportedAfterItsTimeOut)
{
    SimulatorProgram sim(SimSpeed);
    RunningScan scan(home.path(), sim.path());
    ASSERT_TRUE(scan.scanning()) << scan.err().toStdString();
    sim.signal(SIGSTOP);
    EXPECT_EQ(scan.finish(), 4) << scan.err().toStdString();
    EXPECT_TRUE(scan.err().contains("The instrument stopped answering: ")) << scan.err().toStdString();
    EXPECT_TRUE(scan.err().contains("no reply within the time-out")) << scan.err().toStdString();
    EXPECT_TRUE(records().isEmpty());
    QFile caution(file(QStringLiteral("Caution.log")));
    ASSERT_TRUE(caution.open(QIODevice::ReadOnly));
    EXPECT_TRUE(caution.readAll().contains(" : 1 : frmData:mnuMeas_Click : RS232C Receive Time Out"));
}

// A stop from the session or the terminal takes the cancel's safe path: the instrument is
// left with its grid off and its light blocked, and nothing is stored.
TEST_F(HeadlessProgram, TerminationSignalsLeaveTheInstrumentSafe)
{
    for (const int sig : {SIGTERM, SIGHUP}) {
        SimulatorProgram sim(SimSpeed);
        RunningScan scan(home.path(), sim.path());
        ASSERT_TRUE(scan.scanning()) << scan.err().toStdString();
        scan.signal(sig);
        EXPECT_EQ(scan.finish(), 128 + sig) << scan.err().toStdString();
        EXPECT_TRUE(scan.err().contains("Counting Rate: Proccess abort")) << scan.err().toStdString();
        EXPECT_EQ(sim.ask("GS"), "0\r");
        EXPECT_EQ(sim.ask("FS"), "0\r");
        EXPECT_TRUE(records().isEmpty());
    }
}
