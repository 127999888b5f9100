// Painting a full graph, and `tz4 plot` from process start to exit.
#include "bench/BenchSupport.h"
#include "core/DataDirectory.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSets.h"
#include "graph/GraphStyles.h"
#include "graph/Tz4Graph.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

#include <sys/resource.h>

using namespace tz4;

namespace {

constexpr int PointCount = 1000;

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void fillScan(clsTz4DataSet& record, float threshold)
{
    record.setDataCount(PointCount);
    for (int i = 0; i < PointCount; ++i) {
        const float e = 3.4f + 2.8f * float(i) / PointCount;
        record.setOrgValueX(e, i);
        record.setOrgValueY(e > threshold ? 30 * (e - threshold) * (e - threshold) + 1 : 1, i);
    }
}

// Ten overlaid 1,000-point records with joining lines, one frame; the argument is the point shape.
void BM_PaintTenRecords(benchmark::State& state)
{
    clsTz4DataSets items;
    clsTz4GraphDisps disps;
    clsTz4GraphDisp* disp = disps.Add(QStringLiteral("W"), QString());
    disp->setLineVisible(true);
    disp->setDotFill(true);
    disp->setGridVisible(true);
    disp->setOverLayLevel(0.6f);
    for (int r = 0; r < 10; ++r) {
        clsTz4DataSet* record = items.Add(QStringLiteral("%1 W").arg(r + 1), QString());
        record->setExpLog(false);
        fillScan(*record, 4.6f + 0.08f * r);
        record->Refresh();
    }
    items.RefreshParam();
    items.setSelectedItem(items.Item(1));
    uclTz4Graph graph;
    graph.setDataItems(&items);
    graph.setDispItems(&disps);
    QImage image(1600, 1000, QImage::Format_RGB32);
    disp->setDotStyle(int(state.range(0)));
    for (auto _ : state) {
        QPainter painter(&image);
        graph.Refresh(painter);
    }
    state.counters["points"] = 10.0 * PointCount;
}
BENCHMARK(BM_PaintTenRecords)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// `tz4 plot` of one 1,000-point record to PNG, from process start to exit.
void BM_PlotColdStart(benchmark::State& state)
{
    QTemporaryDir home;
    setDataDirectory(home.path());
    InitSystemParam();
    if (!home.isValid() || !createDatabaseIfMissing(home.path())) {
        state.SkipWithError("the database could not be made");
        return;
    }
    clsTz4DataSet record;
    record.setDataBaseName(SystemParam().DatabasePath);
    record.setKey(QStringLiteral("W"));
    record.setParameters(param::SampleName, QStringLiteral("Gold"));
    record.setParameters(param::MeasurementDate, QDateTime::currentDateTime());
    fillScan(record, 5.1f);
    if (!record.AddDatas()) {
        state.SkipWithError("the record could not be stored");
        return;
    }
    const QString png = home.filePath(QStringLiteral("plot.png"));
    // On a shared machine the wall time includes waiting for a core; the children's own CPU
    // time is reported beside it.
    const double cpuBefore = childCpuSeconds();
    const QStringList args{QStringLiteral("--home"), home.path(), QStringLiteral("plot"), QStringLiteral("1 W"), png};
    for (auto _ : state) {
        QProcess process;
        process.start(bench::builtProgram(QStringLiteral("tz4")), args);
        if (!process.waitForFinished(10000) || process.exitCode() != 0) {
            state.SkipWithError("tz4 plot failed");
            break;
        }
    }
    state.counters["child_cpu_ms"] = 1000 * (childCpuSeconds() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_PlotColdStart)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Painting text needs a GUI application; no display is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return bench::runBenchmarks<QGuiApplication>(argc, argv);
}
