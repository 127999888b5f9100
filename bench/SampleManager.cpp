// The sample manager as the widgets it is: opening on 10,000 records in 100 folders until
// painted, choosing a folder of 1,000 records, a search over 100,000 records, and dragging
// 1,000 records into another folder with the tree and list rebuilt.
#include "bench/BenchSupport.h"
#include "core/DataDirectory.h"
#include "core/ErrorReporter.h"
#include "core/SystemParam.h"
#include "data/DatabaseSchema.h"
#include "data/SqliteDatabase.h"
#include "gui/samples/SampleItemView.h"
#include "gui/samples/SampleManagerWindow.h"
#include "samples/SampleManagerControl.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <memory>

using namespace tz4;

namespace {

// Answers every message box at once: the search says how many it found.
class QuietReporter final : public ErrorReporter {
public:
    QuietReporter() { setErrorReporter(this); }
    ~QuietReporter() override { setErrorReporter(nullptr); }
    MessageAnswer showMessage(const QString&, const QString&, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

// Counts the paints of a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A database of `records` W records without points in `folders` folders: folder 1 holds
// `firstFolder` of them, the others share the rest.
struct Laboratory {
    Laboratory(int records, int folders, int firstFolder)
    {
        setDataDirectory(home.path());
        InitSystemParam();
        path = home.filePath(QStringLiteral("TZ4.mdb"));
        MakeDB(path);
        addMainIndexes(path);
        SqliteDatabase db(path);
        SqliteTransaction transaction(db);
        SqliteStatement folder =
            db.prepare(QStringLiteral("Insert Into FAT Values (?,?,'2026-01-01 00:00:00',0,0);"));
        for (int f = 1; f <= folders; ++f) {
            folder.bind(1, qint64(f)).bind(2, QStringLiteral("Folder %1").arg(f));
            folder.run();
            folder.reset();
        }
        SqliteStatement record = db.prepare(QStringLiteral(
            "Insert Into Setting(SeqNo,SampleName,DataTime,Modes,MeasTime,MeasLight,EngStr,EngEnd,EngStp,Parent,Recycled) "
            "Values (?,?,'2026-02-03 04:05:06',0,10,10.5,340,620,5,?,0)"));
        for (int r = 1; r <= records; ++r) {
            const int parent = r <= firstFolder ? 1 : 2 + (r - firstFolder) % (folders - 1);
            record.bind(1, qint64(r)).bind(2, QStringLiteral("Sample %1").arg(r)).bind(3, qint64(parent));
            record.run();
            record.reset();
        }
        transaction.commit();
    }

    QTemporaryDir home;
    QString path;
    QuietReporter reporter;
};

void waitPainted(const PaintCounter& counter, int paintsBefore)
{
    while (counter.paints <= paintsBefore)
        QCoreApplication::processEvents();
}

void OpenOn10000RecordsIn100FoldersUntilPainted(benchmark::State& state)
{
    Laboratory lab(10000, 100, 1000);
    for (auto _ : state) {
        auto* window = new gui::SampleManagerWindow(lab.path, nullptr);
        PaintCounter painted(window->list()->viewport());
        window->show();
        waitPainted(painted, 0);
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(OpenOn10000RecordsIn100FoldersUntilPainted)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ChooseAFolderOf1000RecordsUntilListed(benchmark::State& state)
{
    Laboratory lab(10000, 100, 1000);
    gui::SampleManagerWindow window(lab.path, nullptr);
    window.show();
    SampleManagerControl& control = window.control();
    const QModelIndex big = control.tree().indexOfKey(QStringLiteral("1 F"));
    const QModelIndex small = control.tree().indexOfKey(QStringLiteral("2 F"));
    PaintCounter painted(window.list()->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        window.tree()->setCurrentIndex(small);
        waitPainted(painted, painted.paints);
        const int before = painted.paints;
        state.ResumeTiming();
        window.tree()->setCurrentIndex(big);
        waitPainted(painted, before);
        if (control.list().rowCount() != 1000)
            state.SkipWithError("the list lacks records");
    }
}
BENCHMARK(ChooseAFolderOf1000RecordsUntilListed)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void SearchOver100000Records(benchmark::State& state)
{
    Laboratory lab(100000, 100, 1000);
    gui::SampleManagerWindow window(lab.path, nullptr);
    window.show();
    SampleManagerControl& control = window.control();
    control.NodeClick(QStringLiteral("1 Q"));
    SearchConditions conditions;
    conditions.sampleName = QStringLiteral("Sample 4242");
    control.grid().setConditions(conditions);
    PaintCounter painted(window.list()->viewport());
    for (auto _ : state) {
        const int before = painted.paints;
        if (!control.GoQuery())
            state.SkipWithError("the search failed");
        waitPainted(painted, before);
        // Sample 4242 and 42420 to 42429.
        if (control.list().rowCount() != 11)
            state.SkipWithError("the search found other records");
    }
}
BENCHMARK(SearchOver100000Records)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void Drag1000RecordsIntoAnotherFolder(benchmark::State& state)
{
    Laboratory lab(10000, 100, 1000);
    gui::SampleManagerWindow window(lab.path, nullptr);
    window.show();
    SampleManagerControl& control = window.control();
    QStringList keys;
    for (int r = 1; r <= 1000; ++r)
        keys << QStringLiteral("%1 W").arg(r);
    PaintCounter painted(window.list()->viewport());
    bool there = false;
    for (auto _ : state) {
        state.PauseTiming();
        window.tree()->setCurrentIndex(control.tree().indexOfKey(there ? QStringLiteral("2 F") : QStringLiteral("1 F")));
        waitPainted(painted, painted.paints);
        const int before = painted.paints;
        state.ResumeTiming();
        // Back and forth between folders 1 and 2, from the list that shows them.
        if (!control.Drop(there ? QStringLiteral("1 F") : QStringLiteral("2 F"), keys, false))
            state.SkipWithError("the drop failed");
        waitPainted(painted, before);
        there = !there;
    }
}
BENCHMARK(Drag1000RecordsIntoAnotherFolder)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return bench::runBenchmarks<QApplication>(argc, argv);
}
