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

using namespace tz4;

namespace {

constexpr int RecordCount = 1000;

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
    for (auto _ : state) {
        QProcess process;
        process.start(bench::builtProgram(QStringLiteral("tz4")), args);
        if (!process.waitForFinished(10000) || process.exitCode() != 0
            || !process.readAllStandardOutput().contains("500 W")) {
            state.SkipWithError("tz4 show failed");
            break;
        }
    }
}
BENCHMARK(BM_ShowColdStart)->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

} // namespace

int main(int argc, char** argv) { return tz4::bench::runBenchmarks(argc, argv); }
