#include "bench/BenchSupport.h"
#include "core/DataDirectory.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"
#include "core/RecordParameters.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

using namespace tz4;

namespace {

constexpr int RecordCount = 1000;

// The processor time of the programs this one started, apart from the wait of a busy machine.
double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// A database of `RecordCount` work-function records of 31 points each: one stored the way a
// measurement stores it, the rest copies of it under new keys.
bool fillDatabase(const QString& home)
{
    setDataDirectory(home);
    InitSystemParam();
    if (!createDatabaseIfMissing(home))
        return false;
    clsTz4DataSet record;
    record.setDataBaseName(SystemParam().DatabasePath);
    record.setKey(QStringLiteral("W"));
    record.setParameters(tz4::param::SampleName, QStringLiteral("Gold"));
    record.setParameters(tz4::param::MeasurementDate, QDateTime::currentDateTime());
    record.setDataCount(31);
    for (int i = 0; i < 31; ++i) {
        record.setOrgValueX(4.5f + 0.05f * float(i), i);
        record.setOrgValueY(i < 12 ? 1.0f : float((i - 11) * (i - 11)), i);
    }
    if (!record.AddDatas())
        return false;

    SqliteDatabase db(SystemParam().DatabasePath);
    SqliteTransaction transaction(db);
    db.exec(QStringLiteral("Create Temp Table s As Select * From Setting Where SeqNo=1;"
                           "Create Temp Table d As Select * From Datas Where SerialNo=1;"));
    for (int key = 2; key <= RecordCount; ++key) {
        db.exec(QStringLiteral("Update s Set SeqNo=%1;"
                               "Update d Set SerialNo=%1, SeqNo=SeqNo+31;"
                               "Insert Into Setting Select * From s;"
                               "Insert Into Datas Select * From d;")
                    .arg(key));
    }
    transaction.commit();
    return true;
}

// `tz4 show N` from process start to exit, on a database of 1,000 records.
void BM_ShowColdStart(benchmark::State& state)
{
    QTemporaryDir home;
    if (!home.isValid() || !fillDatabase(home.path())) {
        state.SkipWithError("the database could not be filled");
        return;
    }
    {
        SqliteDatabase db(SystemParam().DatabasePath);
        SqliteStatement count = db.prepare(QStringLiteral("Select Count(*) As n From Setting;"));
        count.next();
        state.counters["records"] = double(count.toInt(QStringLiteral("n")));
    }
    const QStringList args{QStringLiteral("--home"), home.path(), QStringLiteral("show"), QStringLiteral("500")};
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.start(bench::builtProgram(QStringLiteral("tz4")), args);
        if (!process.waitForFinished(10000) || process.exitCode() != 0
            || !process.readAllStandardOutput().contains("500 W")) {
            state.SkipWithError("tz4 show failed");
            break;
        }
    }
    state.counters["program_cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_ShowColdStart)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

// `records` rows for one folder, written straight into the tables: each has a name, a date, a
// measured intensity and a kind, as the sample manager lists them.
bool fillFolder(const QString& home, int count)
{
    setDataDirectory(home);
    InitSystemParam();
    if (!createDatabaseIfMissing(home))
        return false;
    SqliteDatabase db(SystemParam().DatabasePath);
    SqliteTransaction transaction(db);
    db.exec(QStringLiteral("With Recursive n(i) As (Select 1 Union All Select i+1 From n Where i<%1) "
                           "Insert Into Setting(SeqNo,SampleName,DataTime,Modes,MeasLight,Parent,Recycled) "
                           "Select i, 'Sample ' || i, printf('2026-%02d-%02d %02d:%02d:%02d', 1 + i % 12, 1 + i % 28,"
                           " i % 24, i % 60, i % 59), i % 4, 10.0 + i % 7, 0, 0 From n;")
                .arg(count));
    transaction.commit();
    return true;
}

// `tz4 records` of a folder holding state.range(0) records, from process start to exit.
void BM_RecordsOfALargeFolder(benchmark::State& state)
{
    QTemporaryDir home;
    const int count = int(state.range(0));
    if (!home.isValid() || !fillFolder(home.path(), count)) {
        state.SkipWithError("the database could not be filled");
        return;
    }
    const QStringList args{QStringLiteral("--home"), home.path(), QStringLiteral("records")};
    const double cpuBefore = childCpuMs();
    for (auto _ : state) {
        QProcess process;
        process.start(bench::builtProgram(QStringLiteral("tz4")), args);
        if (!process.waitForFinished(30000) || process.exitCode() != 0
            || process.readAllStandardOutput().count('\n') != count) {
            state.SkipWithError("tz4 records failed");
            break;
        }
    }
    state.counters["program_cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
    state.SetComplexityN(count);
}
BENCHMARK(BM_RecordsOfALargeFolder)
    ->Arg(2500)->Arg(5000)->Arg(10000)
    ->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime()->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv) { return tz4::bench::runBenchmarks(argc, argv); }
