// A data window opening on ten stored 1,000-point records until painted, and one live point
// reaching its table, graph and grid.
#include "bench/BenchSupport.h"
#include "core/DataDirectory.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSet.h"
#include "datawin/DataWindowControl.h"
#include "gui/datawin/DataWindow.h"
#include "gui/graph/GraphWidget.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>

using namespace tz4;

namespace {

void fillScan(clsTz4DataSet& record, int points, float threshold)
{
    record.setDataCount(points);
    for (int i = 0; i < points; ++i) {
        const float e = 3.4f + 2.8f * float(i) / float(points);
        record.setOrgValueX(e, i);
        record.setOrgValueY(e > threshold ? 900 * (e - threshold) * (e - threshold) + 2 : 2, i);
    }
}

// A data directory with ten stored 1,000-point work-function scans; their keys as a list.
struct StoredScans {
    QTemporaryDir home;
    QString database;
    QString keys;

    StoredScans()
    {
        setDataDirectory(home.path());
        createDatabaseIfMissing(home.path());
        InitSystemParam();
        database = SystemParam().DatabasePath;
        for (int r = 0; r < 10; ++r) {
            clsTz4DataSet record;
            record.setDataBaseName(database);
            record.setKey(QStringLiteral("W"));
            record.ReLoad();
            record.setParameters(param::SampleName, QStringLiteral("Scan %1").arg(r + 1));
            record.setGraphX(0, 3.4f);
            record.setGraphX(1, 6.2f);
            record.setGraphX(2, 0.2f);
            record.setGraphY(0, 0);
            record.setGraphY(1, 45);
            record.setGraphY(2, 5);
            fillScan(record, 1000, 4.6f + 0.08f * float(r));
            record.AddDatas();
            keys += record.Key() + QLatin1Char('\t');
        }
    }
};

void waitPainted(gui::DataWindow& window, int paintsBefore)
{
    while (window.graph()->paintCount() <= paintsBefore)
        QCoreApplication::processEvents();
}

void BM_OpenTenRecordsUntilPainted(benchmark::State& state)
{
    StoredScans scans;
    for (auto _ : state) {
        auto* window = new gui::DataWindow(scans.database, scans.keys, nullptr);
        window->show();
        waitPainted(*window, 0);
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTenRecordsUntilPainted)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One point appended to a record that already holds `state.range(0)` points, as the process
// events do, with the record's analysis, the table row, the grid and the graph repaint.
void BM_LivePoint(benchmark::State& state)
{
    StoredScans scans;
    gui::DataWindow window(scans.database, QStringLiteral("0 W"), nullptr);
    clsTz4DataSet& record = *window.control().selected();
    record.setGraphX(0, 3.4f);
    record.setGraphX(1, 6.2f);
    record.setGraphX(2, 0.2f);
    record.setGraphY(1, 45);
    record.setGraphY(2, 5);
    const int start = int(state.range(0));
    fillScan(record, start, 4.6f);
    record.Refresh();
    window.control().pointAppended();
    window.show();
    waitPainted(window, 0);
    int n = start;
    for (auto _ : state) {
        const int paints = window.graph()->paintCount();
        record.setDataCount(n + 1);
        record.setIndex(n);
        record.setOrgValueX(3.4f + 0.001f * float(n % 2800), n);
        record.setOrgValueY(20, n);
        record.Refresh();
        window.control().pointAppended();
        waitPainted(window, paints);
        ++n;
        if (n > start + 200) {
            // Keep the size under test: drop back to where it started.
            state.PauseTiming();
            n = start;
            record.setDataCount(n);
            window.control().pointAppended();
            waitPainted(window, window.graph()->paintCount());
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_LivePoint)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return bench::runBenchmarks<QApplication>(argc, argv);
}
