#include "bench/BenchSupport.h"
#include "core/Clock.h"
#include "core/MeasurementParameters.h"
#include "instrument/QtSerialLine.h"
#include "instrument/Tz4Body.h"
#include "sim/SimulatorLine.h"

#include <QElapsedTimer>

#include <map>
#include <memory>
#include <vector>

using namespace tz4;

namespace {

struct Record final : MeasurementParameters {
    QVariant parameter(int number) const override
    {
        const auto it = values.find(number);
        return it == values.end() ? QVariant() : it->second;
    }
    void setParameter(int number, const QVariant& value) override { values[number] = value; }
    std::map<int, QVariant> values;
};

// The component on the in-process simulator in virtual time.
struct Simulated {
    VirtualClock clock;
    sim::SimulatorLine line{clock, sim::SimOptions{}};
    uclTz4Body body{clock, line};
    Simulated() { body.setTimerEnable(true); }
};

// Wall time per command over the in-process link: framing, reply assembly, logging and the
// simulator's own interpretation, with no waiting (virtual time).
void BM_CommandOverheadInProcess(benchmark::State& state)
{
    Simulated s;
    if (!s.body.Connected()) {
        state.SkipWithError("simulator did not connect");
        return;
    }
    for (auto _ : state) {
        s.body.setSerialLog({});
        benchmark::DoNotOptimize(s.body.WriteRS232C(QStringLiteral("FS")));
    }
}
BENCHMARK(BM_CommandOverheadInProcess);

// Command and reply over a real pseudo-terminal served by tz4-sim (its clock sped up so that
// the simulated instrument's own time does not count).
void BM_RoundTripPseudoTerminal(benchmark::State& state)
{
    QProcess simulator;
    const QString path = bench::startSimulator(simulator);
    if (path.isEmpty()) {
        state.SkipWithError("tz4-sim did not start");
        return;
    }
    {
        RealClock clock;
        QtSerialLine line(path);
        uclTz4Body body(clock, line);
        body.setTimerEnable(true);
        if (!body.Connected()) {
            state.SkipWithError("no connection over the pseudo-terminal");
        } else {
            std::vector<double> micros;
            QElapsedTimer timer;
            for (auto _ : state) {
                body.setSerialLog({});
                timer.start();
                const bool ok = body.WriteRS232C(QStringLiteral("RS"));
                micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
                // Every reply must belong to its own command, not be a stale one.
                if (!ok || body.replyLine().trimmed() != QLatin1String("9")) {
                    state.SkipWithError("command failed");
                    break;
                }
            }
            state.counters["median_us"] = bench::median(micros);
        }
    }
    simulator.kill();
    simulator.waitForFinished(5000);
}
BENCHMARK(BM_RoundTripPseudoTerminal)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_InitBodyVirtualTime(benchmark::State& state)
{
    for (auto _ : state) {
        Simulated s;
        if (!s.body.Connected()) {
            state.SkipWithError("simulator did not connect");
            break;
        }
        s.body.InitBody();
        benchmark::DoNotOptimize(s.body.SumLost());
    }
}
BENCHMARK(BM_InitBodyVirtualTime)->Unit(benchmark::kMillisecond);

// A full work-function scan, 3.40 to 6.20 eV in 0.05 eV steps with 10 counts per point.
void BM_WorkScanVirtualTime(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Simulated>();
        Record record;
        record.values = {{18, 3.40}, {19, 6.20}, {20, 0.05}, {22, 50.0}, {33, 10}};
        s->body.Connected();
        s->body.InitBody();
        s->body.setSetDatas(&record);
        int points = 0;
        QObject::connect(&s->body, &uclTz4Body::ProcWork, [&points](qint32 type, const QVariant&, const QVariant&) {
            points += type == 2;
        });
        state.ResumeTiming();
        s->body.MeasWork();
        if (points != 57)
            state.SkipWithError("scan did not give 57 points");
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WorkScanVirtualTime)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return tz4::bench::runBenchmarks(argc, argv); }
