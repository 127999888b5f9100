// Storing and loading a measurement record, and the analysis of a large scan.
#include "core/RecordParameters.h"
#include "data/DatabaseSchema.h"
#include "data/SqliteDatabase.h"
#include "data/SuggestRanges.h"
#include "data/Tz4DataSet.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

using namespace tz4;

namespace {

struct Scratch {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("TZ4.mdb"));
    Scratch() { MakeDB(path); }
};

void fill(clsTz4DataSet& r, int count)
{
    r.setDataCount(count);
    for (int i = 0; i < count; ++i) {
        const double e = 3.4 + 2.8 * i / count;
        r.setOrgValueX(float(e), i);
        r.setOrgValueY(float(e > 5.1 ? 400 * (e - 5.1) * (e - 5.1) + 3 : 3), i);
        r.setValueG(e < 4.8, i);
        r.setValueF(e > 5.4 && e < 6.0, i);
    }
}

void StoreRecordInOneTransaction(benchmark::State& state)
{
    Scratch s;
    for (auto _ : state) {
        clsTz4DataSet r;
        r.setDataBaseName(s.path);
        r.setKey(QStringLiteral("W"));
        fill(r, 1000);
        if (!r.AddDatas())
            state.SkipWithError("AddDatas failed");
    }
}
BENCHMARK(StoreRecordInOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(20);

// The baseline: the same statements, each committed on its own.
void StoreRecordStatementByStatement(benchmark::State& state)
{
    Scratch s;
    qint64 key = 0;
    for (auto _ : state) {
        SqliteDatabase db(s.path);
        ++key;
        db.execute(QStringLiteral("Insert Into Setting(SeqNo,Modes,Parent,Recycled) Values (%1,0,0,0);").arg(key));
        for (int i = 0; i < 1000; ++i) {
            db.execute(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag)"
                                      " Values (%1,%2,%3,0,0,%4,0,False,False);")
                           .arg(key * 1000 + i)
                           .arg(key)
                           .arg(340 + i)
                           .arg(3.5 + i));
        }
        db.execute(QStringLiteral("UpDate Setting Set SampleName='Sample' Where SeqNo=%1;").arg(key));
    }
}
BENCHMARK(StoreRecordStatementByStatement)->Unit(benchmark::kMillisecond)->Iterations(2);

void ReLoadStoredRecord(benchmark::State& state)
{
    Scratch s;
    clsTz4DataSet stored;
    stored.setDataBaseName(s.path);
    stored.setKey(QStringLiteral("W"));
    fill(stored, 1000);
    stored.AddDatas();
    for (auto _ : state) {
        clsTz4DataSet r;
        r.setDataBaseName(s.path);
        r.setKey(stored.Key());
        r.ReLoad();
        benchmark::DoNotOptimize(r.WorkFunction());
    }
}
BENCHMARK(ReLoadStoredRecord)->Unit(benchmark::kMillisecond);

void RefreshWorkFunctionRecord(benchmark::State& state)
{
    clsTz4DataSet r;
    r.setKey(QStringLiteral("1 W"));
    fill(r, int(state.range(0)));
    r.setExpLog(true);
    r.setGndDown(true);
    for (auto _ : state) {
        r.Refresh();
        benchmark::DoNotOptimize(r.WorkFunction());
    }
}
BENCHMARK(RefreshWorkFunctionRecord)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

// A 200-point scan from 3.4 to 6.2 eV with counting noise: the suggestion searches every
// stretch above the ground a few times over.
void SuggestRangesOnAScan(benchmark::State& state)
{
    const int count = int(state.range(0));
    std::mt19937_64 random(1);
    clsTz4DataSet r;
    r.setKey(QStringLiteral("W"));
    r.setDataCount(count);
    for (int i = 0; i < count; ++i) {
        const double e = 3.4 + 2.8 * i / (count - 1);
        const double rate = e > 4.9 ? 1000 * (e - 4.9) * (e - 4.9) : 0;
        std::poisson_distribution<int> counts((rate + 15) * 10);
        r.setOrgValueX(float(e), i);
        r.setOrgValueY(float(counts(random) / 10.0 - 15), i);
    }
    r.setParameters(param::PowerNumber, 0.5f);
    r.setParameters(param::BackgroundCps, 15.0f);
    r.setParameters(param::CountingTime, 10);
    r.setExpLog(true);
    r.setGndDown(true);
    for (auto _ : state) {
        const SuggestedRanges s = SuggestRanges(r);
        if (!s.found)
            state.SkipWithError("no ranges found");
        benchmark::DoNotOptimize(s.workFunction);
    }
}
BENCHMARK(SuggestRangesOnAScan)->Arg(57)->Arg(200)->Unit(benchmark::kMicrosecond);

// A new record takes its settings from the latest stored record of its kind; state.range(0)
// records of that kind lie in the database.
void LatestRecordOfItsKind(benchmark::State& state)
{
    Scratch s;
    {
        SqliteDatabase db(s.path);
        SqliteTransaction transaction(db);
        db.exec(QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i+1 From n Where i<%1) "
                               "Insert Into Setting(SeqNo,SampleName,DataTime,Modes,Parent,Recycled) "
                               "Select i, 'Sample ' || i, printf('2026-%02d-%02d 12:00:00', 1 + i % 12, 1 + i % 28),"
                               " 0, 0, 0 From n;")
                    .arg(state.range(0)));
        transaction.commit();
    }
    addMainIndexes(s.path);
    for (auto _ : state) {
        clsTz4DataSet r;
        r.setDataBaseName(s.path);
        r.setKey(QStringLiteral("W"));
        r.ReLoad();
        benchmark::DoNotOptimize(r.Parameters(param::SampleName));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(LatestRecordOfItsKind)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
