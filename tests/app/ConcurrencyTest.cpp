// Real tz4 processes on one data directory: whatever a command printed with exit 0 is there
// afterwards, no folder lies inside itself, and nothing crashes.
#include "tests/app/ExchangeFiles.h"
#include "tests/app/RunningProgram.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace tz4;
using tz4::test::HeadlessRun;
using tz4::test::RunningProgram;

namespace {

class Concurrency : public test::HeadlessProgram {
protected:
    QString database() const { return file(QStringLiteral("TZ4.mdb")); }

    RunningProgram* start(const QStringList& args)
    {
        running_.push_back(std::make_unique<RunningProgram>(test::builtProgram(QStringLiteral("tz4")),
                                                            QStringList{QStringLiteral("--home"), home.path()} + args));
        return running_.back().get();
    }

    qint64 count(const QString& sql) const
    {
        SqliteDatabase db(database());
        SqliteStatement st = db.prepare(sql);
        return st.next() ? st.toInt(0) : -1;
    }

    // Folders that reach no top level: they lie in a loop or below one.
    qint64 foldersInLoops() const
    {
        return count(QStringLiteral("With Recursive Reach(SeqNo) As (Select SeqNo From FAT Where Parent=0 "
                                    "Union Select f.SeqNo From FAT f Join Reach r On f.Parent=r.SeqNo) "
                                    "Select Count(*) From FAT Where SeqNo Not In (Select SeqNo From Reach);"));
    }

    QString newFolder(const QString& name, const QString& in = QStringLiteral("1 A")) const
    {
        const HeadlessRun run = tz4({QStringLiteral("folder"), QStringLiteral("new"), name, QStringLiteral("--in"), in});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QString::fromUtf8(run.out).trimmed();
    }

    // A work-function scan slow enough to act on while it runs.
    QStringList scan(const QStringList& more = {}) const
    {
        return simulated(QStringLiteral("100"))
            + QStringList{QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"), QStringLiteral("Gold"),
                          QStringLiteral("--start"), QStringLiteral("4.5"), QStringLiteral("--end"), QStringLiteral("6.0"),
                          QStringLiteral("--step"), QStringLiteral("0.05")}
            + more;
    }

    std::vector<std::unique_ptr<RunningProgram>> running_;
};

// The keys the store helper reported as stored.
QList<qint64> storedKeys(const QByteArray& out)
{
    QList<qint64> keys;
    static const QRegularExpression line(QStringLiteral("^stored (\\d+) W$"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(QString::fromUtf8(out)); it.hasNext();)
        keys << it.next().captured(1).toLongLong();
    return keys;
}

} // namespace

TEST_F(Concurrency, ImportAndRepairLoseNothingOtherProgramsStoredMeanwhile)
{
    const QString big = file(QStringLiteral("big.mdb"));
    ASSERT_TRUE(test::writeExchangeFile(big, 300, 400));
    int imported = 0;
    for (int round = 0; round < 4; ++round) {
        const bool repair = round % 2 == 1;
        RunningProgram writer(test::builtHelper(QStringLiteral("tz4_data_store_helper")), {database()});
        ASSERT_TRUE(writer.waitFor("stored")) << "the writer runs before the compaction starts";
        RunningProgram* operation = start(repair ? QStringList{QStringLiteral("repair")}
                                                 : QStringList{QStringLiteral("import"), big});
        QStringList folders;
        for (int i = 0; operation->running() || i < 3; ++i) {
            const HeadlessRun made =
                tz4({QStringLiteral("folder"), QStringLiteral("new"), QStringLiteral("R%1 F%2").arg(round).arg(i)});
            ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
            folders << QString::fromUtf8(made.out).trimmed();
        }
        const HeadlessRun done = operation->finish();
        ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
        imported += repair ? 0 : 300;
        ASSERT_TRUE(writer.waitFor("stored", 60000));
        writer.signal(SIGKILL);
        const QList<qint64> stored = storedKeys(writer.finish().out);
        ASSERT_FALSE(stored.isEmpty());
        for (const qint64 key : stored)
            EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=%1").arg(key)), 1000)
                << "record " << key << " was reported as stored in round " << round;
        for (const QString& key : std::as_const(folders))
            EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where SeqNo=%1").arg(key.section(QLatin1Char(' '), 0, 0))), 1)
                << "folder " << key.toStdString() << " was printed in round " << round;
        EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT")), count(QStringLiteral("Select Count(Distinct SeqNo) From FAT")));
    }
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting Where SampleName Like 'Scan %'")), imported);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From pragma_integrity_check Where integrity_check<>'ok'")), 0);
}

TEST_F(Concurrency, OppositeMovesNeverBothPassSoNoFolderEndsInsideItself)
{
    const QString a = newFolder(QStringLiteral("A"));
    const QString b = newFolder(QStringLiteral("B"));
    for (int round = 0; round < 50; ++round) {
        RunningProgram* ab = start({QStringLiteral("move"), a, QStringLiteral("--to"), b});
        RunningProgram* ba = start({QStringLiteral("move"), b, QStringLiteral("--to"), a});
        const HeadlessRun first = ab->finish();
        const HeadlessRun second = ba->finish();
        ASSERT_TRUE(first.exitCode == 0 || first.exitCode == 1) << first.exitCode << first.err.toStdString();
        ASSERT_TRUE(second.exitCode == 0 || second.exitCode == 1) << second.exitCode << second.err.toStdString();
        ASSERT_NE(first.exitCode + second.exitCode, 0) << "round " << round << ": both moves passed";
        ASSERT_EQ(foldersInLoops(), 0) << "round " << round;
        const HeadlessRun back = tz4({QStringLiteral("move"), a, b, QStringLiteral("--to"), QStringLiteral("1 A")});
        ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    }
}

TEST_F(Concurrency, ACopyRacingAMoveNeitherCrashesNorLoops)
{
    for (int round = 0; round < 20; ++round) {
        const QString a = newFolder(QStringLiteral("A%1").arg(round));
        const QString b = newFolder(QStringLiteral("B%1").arg(round));
        newFolder(QStringLiteral("inside"), a);
        RunningProgram* copy = start({QStringLiteral("copy"), a, QStringLiteral("--to"), b});
        RunningProgram* move = start({QStringLiteral("move"), b, QStringLiteral("--to"), a});
        const HeadlessRun copied = copy->finish();
        const HeadlessRun moved = move->finish();
        ASSERT_TRUE(copied.exitCode == 0 || copied.exitCode == 1) << copied.exitCode << copied.err.toStdString();
        ASSERT_TRUE(moved.exitCode == 0 || moved.exitCode == 1) << moved.exitCode << moved.err.toStdString();
        ASSERT_EQ(foldersInLoops(), 0) << "round " << round;
    }
    EXPECT_EQ(tz4({QStringLiteral("records"), QStringLiteral("--tree")}).exitCode, 0);
}

TEST_F(Concurrency, AMeasurementWaitsOutAnotherProgramHoldingTheDatabaseAndIsStored)
{
    RunningProgram* measure = start(scan());
    ASSERT_TRUE(measure->waitFor("Processing (5.00eV")) << measure->finish().err.toStdString();
    // Held for 4 s at least, and until the measurement says it waits at its save.
    RunningProgram holder(test::builtHelper(QStringLiteral("tz4_data_lock_helper")),
                          {database(), QStringLiteral("4000"), QStringLiteral("--and-input")});
    ASSERT_TRUE(holder.waitFor("locked"));
    ASSERT_TRUE(measure->waitFor("in use by another program")) << measure->finish().err.toStdString();
    EXPECT_TRUE(measure->waitFor("Save this Data?", 0)) << "the wait is at the save";
    holder.closeInput();
    const HeadlessRun run = measure->finish();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("in use by another program")) << run.err.toStdString();
    const QString key = QString::fromUtf8(run.out).trimmed();
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=%1").arg(key.section(QLatin1Char(' '), 0, 0))), 31)
        << key.toStdString();
    EXPECT_EQ(holder.finish().exitCode, 0);
}

TEST_F(Concurrency, AMeasurementTheDatabaseDoesNotTakeGoesToAnExchangeFileForImport)
{
    RunningProgram* measure = start(QStringList{QStringLiteral("--db-wait"), QStringLiteral("1")} + scan());
    ASSERT_TRUE(measure->waitFor("Processing (5.00eV")) << measure->finish().err.toStdString();
    RunningProgram holder(test::builtHelper(QStringLiteral("tz4_data_lock_helper")), {database()});
    ASSERT_TRUE(holder.waitFor("locked"));
    const HeadlessRun run = measure->finish();
    holder.closeInput();
    EXPECT_EQ(holder.finish().exitCode, 0);
    ASSERT_EQ(run.exitCode, 5) << run.err.toStdString();
    const QString exchange = QString::fromUtf8(run.out).trimmed();
    EXPECT_EQ(QFileInfo(exchange).absolutePath(), QFileInfo(home.path()).absoluteFilePath());
    EXPECT_TRUE(run.err.contains(exchange.toUtf8())) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("tz4 import")) << run.err.toStdString();
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting")), 0);

    const HeadlessRun imported = tz4({QStringLiteral("import"), exchange});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting Where SampleName='Gold'")), 1);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas")), 31);
}

TEST_F(Concurrency, ACtrlCWhileTheFinishedMeasurementWaitsForTheDatabaseWritesItToAFile)
{
    RunningProgram* measure = start(scan());
    ASSERT_TRUE(measure->waitFor("Processing (5.00eV")) << measure->finish().err.toStdString();
    RunningProgram holder(test::builtHelper(QStringLiteral("tz4_data_lock_helper")), {database()});
    ASSERT_TRUE(holder.waitFor("locked"));
    ASSERT_TRUE(measure->waitFor("in use by another program")) << measure->finish().err.toStdString();
    measure->signal(SIGINT);
    const HeadlessRun run = measure->finish();
    holder.closeInput();
    EXPECT_EQ(holder.finish().exitCode, 0);
    ASSERT_EQ(run.exitCode, 5) << run.err.toStdString();
    const QString exchange = QString::fromUtf8(run.out).trimmed();
    ASSERT_EQ(tz4({QStringLiteral("import"), exchange}).exitCode, 0);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas")), 31) << "the measurement is kept whole";
}

TEST_F(Concurrency, AFolderDeletedAndEmptiedFromTheTrashDuringAScanLeavesTheRecordAtTheTopLevel)
{
    const QString box = newFolder(QStringLiteral("Box"));
    RunningProgram* measure = start(scan({QStringLiteral("--folder"), box.section(QLatin1Char(' '), 0, 0)}));
    ASSERT_TRUE(measure->waitFor("Processing (4.60eV")) << measure->finish().err.toStdString();
    ASSERT_EQ(tz4({QStringLiteral("delete"), box}).exitCode, 0);
    ASSERT_EQ(tz4({QStringLiteral("empty-trash"), QStringLiteral("--yes")}).exitCode, 0);
    const HeadlessRun run = measure->finish();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("The folder %1 was deleted").arg(box).toUtf8())) << run.err.toStdString();
    const QString key = QString::fromUtf8(run.out).trimmed();
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=%1").arg(key.section(QLatin1Char(' '), 0, 0))), 0);
    EXPECT_EQ(foldersInLoops(), 0);
}

TEST_F(Concurrency, AStopWhileWaitingForTheDatabaseEndsTheCommandWithNothingChanged)
{
    const QString small = file(QStringLiteral("small.mdb"));
    ASSERT_TRUE(test::writeExchangeFile(small, 3, 10));
    RunningProgram holder(test::builtHelper(QStringLiteral("tz4_data_lock_helper")), {database()});
    ASSERT_TRUE(holder.waitFor("locked"));
    for (const auto& [args, sig] : {std::pair{QStringList{QStringLiteral("import"), small}, SIGINT},
                                    std::pair{QStringList{QStringLiteral("repair")}, SIGTERM}}) {
        RunningProgram* command = start(args);
        ASSERT_TRUE(command->waitFor("in use by another program")) << command->finish().err.toStdString();
        command->signal(sig);
        const HeadlessRun run = command->finish(20000);
        EXPECT_EQ(run.exitCode, 128 + sig) << run.err.toStdString();
    }
    holder.closeInput();
    EXPECT_EQ(holder.finish().exitCode, 0);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting")), 0);
}
