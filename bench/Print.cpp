// Report pages: `tz4 report` of a work-function scan to PDF as a whole process, and the print
// window's preview painted again over a 1,000-point graph.
#include "bench/BenchSupport.h"
#include "core/DataDirectory.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSet.h"
#include "gui/print/PagePreview.h"
#include "print/PrintControl.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <sys/resource.h>

using namespace tz4;

namespace {

// A data directory holding one stored work-function scan of `points` points with its fit and
// ground ranges, as a measurement and its analysis leave it.
struct StoredScan {
    QTemporaryDir home;
    QString key;

    explicit StoredScan(int points)
    {
        setDataDirectory(home.path());
        createDatabaseIfMissing(home.path());
        InitSystemParam();
        clsTz4DataSet record;
        record.setDataBaseName(SystemParam().DatabasePath);
        record.setKey(QStringLiteral("W"));
        record.ReLoad();
        record.setParameters(param::SampleName, QStringLiteral("Gold"));
        record.setDataCount(points);
        for (int i = 0; i < points; ++i) {
            const float e = 4.5f + 1.5f * float(i) / float(points - 1);
            record.setOrgValueX(e, i);
            record.setOrgValueY(e > 5.1f ? 900 * (e - 5.1f) * (e - 5.1f) + 2 : 2, i);
        }
        record.AddDatas();
        record.setParameters(param::GroundX1, 4.5f);
        record.setParameters(param::GroundX2, 4.9f);
        record.setParameters(param::GroundY1, -1e6f);
        record.setParameters(param::GroundY2, 1e6f);
        record.RefreshGFlag();
        record.setParameters(param::FitX1, 5.3f);
        record.setParameters(param::FitX2, 6.0f);
        record.setParameters(param::FitY1, -1e6f);
        record.setParameters(param::FitY2, 1e6f);
        record.UpDates();
        key = record.Key();
    }
};

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// `tz4 report KEY page.pdf` of a 31-point scan with the default template, process start to exit.
void BM_ReportToPdf(benchmark::State& state)
{
    StoredScan scan(31);
    const QString pdf = scan.home.filePath(QStringLiteral("page.pdf"));
    const QStringList args{QStringLiteral("--home"), scan.home.path(), QStringLiteral("report"), scan.key, pdf};
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.start(bench::builtProgram(QStringLiteral("tz4")), args);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("tz4 report failed");
            break;
        }
    }
    state.counters["program_cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// The preview at 100 % painted again after a change of the graph (every layer), and after a
// label moved (its layer only), over a 1,000-point scan.
void BM_PreviewRepaint(benchmark::State& state)
{
    const bool everyLayer = state.range(0) != 0;
    StoredScan scan(1000);
    PrintControl control(SystemParam().DatabasePath);
    control.SetUpGraph({scan.key});
    control.SetUpTemplate(-1);
    gui::PagePreview preview(control);
    preview.setEditable(true);
    preview.setZoom(1.0);
    // What the window system's backing store would receive.
    QImage screen(preview.size(), QImage::Format_ARGB32_Premultiplied);
    preview.render(&screen);
    clsTz4PrintLabel* label = control.templ().Labels.Item(2);
    control.selectLabel(label);
    float left = label->mmLeft();
    for (auto _ : state) {
        if (everyLayer) {
            emit control.pageChanged(PrintPage::All);
        } else {
            left = left > 100 ? 20 : left + 0.5f;
            control.moveSelectedLabel(QPointF(left, label->mmTop()));
        }
        preview.render(&screen);
    }
    state.counters["points"] = control.selected()->DataCount();
    state.counters["background_paints"] = preview.backgroundPaints();
}
BENCHMARK(BM_PreviewRepaint)->ArgName("every_layer")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return tz4::bench::runBenchmarks<QApplication>(argc, argv); }
