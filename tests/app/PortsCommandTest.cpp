#include "tests/app/HeadlessRun.h"
#include "tests/support/SimulatorPty.h"

#include "core/DataDirectory.h"
#include "core/PortChoice.h"

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

QJsonObject inUse(const HeadlessRun& run) { return run.json().value(QStringLiteral("in_use")).toObject(); }

} // namespace

// A pseudo-terminal is no port the system lists, so it is typed: with --port for one run, or
// chosen in the window program for every later one.
TEST_F(HeadlessProgram, PortsNamesTheInstrumentsPortAndAChosenPortIsUsedUntilPortOverridesIt)
{
    test::SimulatorPty simulator;
    ASSERT_FALSE(simulator.path().isEmpty());
    const QByteArray pty = simulator.path().toUtf8();

    const HeadlessRun typed = tz4({QStringLiteral("--port"), simulator.path(), QStringLiteral("ports")});
    ASSERT_EQ(typed.exitCode, 0) << typed.err.toStdString();
    EXPECT_TRUE(typed.err.contains("tz4: the instrument's port is " + pty + ", given by --port for this run only"))
        << typed.err.toStdString();
    for (const QByteArray& line : typed.out.split('\n')) {
        if (!line.isEmpty()) {
            EXPECT_EQ(line.count('\t'), 4) << line.toStdString();
        }
    }
    const HeadlessRun typedJson = tz4({QStringLiteral("--port"), simulator.path(), QStringLiteral("ports"), QStringLiteral("--json")});
    EXPECT_EQ(inUse(typedJson).value(QStringLiteral("source")).toString(), QStringLiteral("port-option"));
    EXPECT_EQ(inUse(typedJson).value(QStringLiteral("state")).toString(), QStringLiteral("present"));
    const QJsonArray listed = typedJson.json().value(QStringLiteral("ports")).toArray();
    const bool enumerated = std::any_of(listed.begin(), listed.end(), [&](const QJsonValue& port) {
        return port.toObject().value(QStringLiteral("device")).toString() == simulator.path();
    });
    EXPECT_EQ(inUse(typedJson).value(QStringLiteral("listed")).toBool(), enumerated);
    if (!enumerated) {
        EXPECT_TRUE(typed.err.contains("the system does not list it, but it is there")) << typed.err.toStdString();
    }

    // The window program's choice, from its own file.
    setDataDirectory(home.path());
    setChosenSerialDevice(simulator.path());
    const HeadlessRun chosen = tz4({QStringLiteral("ports"), QStringLiteral("--json")});
    EXPECT_EQ(inUse(chosen).value(QStringLiteral("source")).toString(), QStringLiteral("chosen"));
    EXPECT_EQ(inUse(chosen).value(QStringLiteral("device")).toString(), simulator.path());
    const HeadlessRun connect = tz4({QStringLiteral("connect")});
    EXPECT_EQ(connect.exitCode, 0) << connect.err.toStdString();
    EXPECT_TRUE(connect.out.contains("phase 6: ready"));

    // --port wins for one run, and says which device is missing.
    const HeadlessRun gone = tz4({QStringLiteral("--port"), QStringLiteral("/dev/tz4-gone"), QStringLiteral("connect")});
    EXPECT_EQ(gone.exitCode, 4) << "nothing could be reached";
    EXPECT_TRUE(gone.err.contains("Cannot communicate with TZ-4")) << gone.err.toStdString();
    EXPECT_TRUE(gone.err.contains("The serial port /dev/tz4-gone is not there")) << gone.err.toStdString();
    const HeadlessRun goneJson = tz4({QStringLiteral("--port"), QStringLiteral("/dev/tz4-gone"), QStringLiteral("ports"),
                                      QStringLiteral("--json")});
    EXPECT_EQ(inUse(goneJson).value(QStringLiteral("state")).toString(), QStringLiteral("missing"));
    EXPECT_EQ(inUse(tz4({QStringLiteral("ports"), QStringLiteral("--json")})).value(QStringLiteral("device")).toString(),
              simulator.path());
}
