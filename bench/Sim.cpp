#include "bench/BenchSupport.h"
#include "core/Clock.h"
#include "sim/SimOptions.h"
#include "sim/SimulatorLine.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <vector>

namespace {

// The simulator on a virtual clock, asked the way the host asks: write, then yield to the
// clock until the CR is in.
struct VirtualLine {
    tz4::VirtualClock clock;
    tz4::sim::SimulatorLine line{clock, tz4::sim::SimOptions{}};
    QByteArray received;

    VirtualLine()
    {
        line.setReceiveHandler([this] { received += line.readAll(); });
        line.open();
    }
    void ask(const QByteArray& command)
    {
        received.clear();
        line.write(command);
        while (!received.contains('\r'))
            clock.yield();
    }
};

// Software cost of one command over the in-process line: register read, set and count.
void BM_InProcessCommand(benchmark::State& state)
{
    VirtualLine v;
    const QByteArray commands[] = {"ES\r", "ES1234\r", "CS\r", "KS\r", "WO\r"};
    v.ask("WS0000\r");
    size_t i = 0;
    for (auto _ : state) {
        v.ask(commands[i++ % 5]);
        benchmark::DoNotOptimize(v.received);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InProcessCommand);

// A 3.40-6.20 eV scan in 0.05 eV steps with ten one-second counts per point, in virtual time.
void BM_VirtualScan(benchmark::State& state)
{
    for (auto _ : state) {
        VirtualLine v;
        v.ask("XS1000\r");
        v.ask("VS2850\r");
        v.ask("GS1\r");
        v.ask("FS3\r");
        v.ask("TS0100\r");
        for (int e = 340; e <= 620; e += 5) {
            v.ask("LS" + QByteArray::number(qRound(124000.0 / e)) + '\r');
            v.ask("KS\r");
            for (int n = 0; n < 10; ++n)
                v.ask("CS\r");
        }
    }
}
BENCHMARK(BM_VirtualScan)->Unit(benchmark::kMillisecond);

// Round trip through the built tz4-sim over its pseudo-terminal (time scale 1000, so the
// instrument's own few milliseconds shrink to microseconds and the path itself is measured).
void BM_PseudoTerminalRoundTrip(benchmark::State& state)
{
    QProcess sim;
    const QString path = tz4::bench::startSimulator(sim);
    QSerialPort port(path);
    port.setBaudRate(19200);
    port.setDataBits(QSerialPort::Data7);
    if (path.isEmpty() || !port.open(QIODevice::ReadWrite)) {
        state.SkipWithError("tz4-sim did not start");
        return;
    }
    std::vector<double> micros;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        port.write("ES\r");
        QByteArray reply;
        while (!reply.contains('\r') && port.waitForReadyRead(1000))
            reply += port.readAll();
        micros.push_back(timer.nsecsElapsed() / 1000.0);
        if (reply != "0000\r") {
            state.SkipWithError("unexpected reply");
            break;
        }
    }
    if (!micros.empty())
        state.counters["median_us"] = tz4::bench::median(micros);
    port.close();
    sim.kill();
    sim.waitForFinished(5000);
}
BENCHMARK(BM_PseudoTerminalRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return tz4::bench::runBenchmarks(argc, argv); }
