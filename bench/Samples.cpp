// The sample manager's database work at scale: exchange files, the tree and list models,
// copying a folder and emptying the trash.
#include "bench/BenchSupport.h"
#include "data/DatabaseSchema.h"
#include "data/ExportImport.h"
#include "data/SampleOperations.h"
#include "data/SqliteDatabase.h"
#include "samples/FatTreeModel.h"
#include "samples/SampleListModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tz4;

namespace {

// A database whose folder 1 holds `records` W records of `points` points each.
QString makeFolder(const QTemporaryDir& dir, const QString& name, int records, int points)
{
    const QString path = dir.filePath(name);
    MakeDB(path);
    addMainIndexes(path);
    SqliteDatabase db(path);
    SqliteTransaction transaction(db);
    db.exec(QStringLiteral("Insert Into FAT Values (1,'Samples','2026-01-01 00:00:00',0,0);"));
    SqliteStatement record = db.prepare(QStringLiteral(
        "Insert Into Setting(SeqNo,SampleName,DataTime,Modes,MeasTime,MeasLight,EngStr,EngEnd,EngStp,Parent,Recycled) "
        "Values (?,?,'2026-02-03 04:05:06',0,10,10.5,340,620,5,1,0)"));
    SqliteStatement point = db.prepare(QStringLiteral(
        "Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) Values (?,?,?,0,0,?,0,0,1)"));
    qint64 key = 1;
    for (int r = 1; r <= records; ++r) {
        record.bind(1, qint64(r)).bind(2, QStringLiteral("Sample %1").arg(r));
        record.run();
        record.reset();
        for (int i = 0; i < points; ++i) {
            point.bind(1, key++).bind(2, qint64(r)).bind(3, qint64(340 + 5 * i)).bind(4, 10.0 + i);
            point.run();
            point.reset();
        }
    }
    transaction.commit();
    return path;
}

void ExportAndImport1000RecordsOf100Points(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString source = makeFolder(dir, QStringLiteral("TZ4.mdb"), 1000, 100);
    int round = 0;
    for (auto _ : state) {
        const QString target = dir.filePath(QStringLiteral("Other%1.mdb").arg(++round));
        MakeDB(target);
        const QString file = ExportMain(source, dir.filePath(QStringLiteral("out%1").arg(round)), QStringLiteral("1 F,"));
        const ImportCounts counts = ImportMain(target, file, QStringLiteral("1 A"));
        if (counts.points != 100000)
            state.SkipWithError("not every point arrived");
    }
}
BENCHMARK(ExportAndImport1000RecordsOf100Points)->Unit(benchmark::kMillisecond)->Iterations(3);

void TreeAndListOfA10000RecordFolder(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeFolder(dir, QStringLiteral("TZ4.mdb"), 10000, 0);
    for (auto _ : state) {
        FatTreeModel tree;
        tree.setDataBaseFile(path);
        tree.MakeList();
        SampleListModel list;
        list.setDataBaseFile(path);
        list.setParentKey(QStringLiteral("1 F"));
        list.MakeList();
        if (list.rowCount() != 10000 || tree.rowCount() != 1)
            state.SkipWithError("the models lack entries");
    }
}
BENCHMARK(TreeAndListOfA10000RecordFolder)->Unit(benchmark::kMillisecond)->Iterations(10);

void CopyAFolderOf1000RecordsOf100Points(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeFolder(dir, QStringLiteral("TZ4.mdb"), 1000, 100);
    const QString target = newFolder(path, QStringLiteral("Copies"), QStringLiteral("1 A"));
    for (auto _ : state)
        MultiCopyItem(path, target, {QStringLiteral("1 F")}, true);
}
BENCHMARK(CopyAFolderOf1000RecordsOf100Points)->Unit(benchmark::kMillisecond)->Iterations(3);

void EmptyATrashOf1000RecordsOf100Points(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString pristine = makeFolder(dir, QStringLiteral("Pristine.mdb"), 1000, 100);
    const QString path = dir.filePath(QStringLiteral("TZ4.mdb"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        QFile::copy(pristine, path);
        {
            SqliteDatabase db(path);
            db.exec(QStringLiteral("Update Setting Set Recycled=1;"));
        }
        state.ResumeTiming();
        ClearTrush(path);
    }
}
BENCHMARK(EmptyATrashOf1000RecordsOf100Points)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return tz4::bench::runBenchmarks(argc, argv);
}
