#include "HeldDatabase.h"

#include "core/RecordParameters.h"
#include "data/ExportImport.h"
#include "data/RecordSaving.h"
#include "data/SampleOperations.h"

#include <QDir>
#include <QFileInfo>

using namespace tz4;
using namespace std::chrono_literals;
using Kind = RecordStoreResult::Kind;

namespace {

// A finished work-function scan about to be stored into folder 3, corrected by L record 21.
class FinishedMeasurement : public test::SampleDatabase {
protected:
    void SetUp() override
    {
        SampleDatabase::SetUp();
        folder(3, QStringLiteral("Box"));
        record(21, 2, QStringLiteral("Lamp"), 3, 4);
        scan = RecordDatabase::record(QStringLiteral("W"));
        scan->ReLoad();
        test::fillScan(*scan, 31, 4.5, 0.05, [](double e) { return float(e > 5.1 ? (e - 5.1) * 100 : 1); });
        scan->setParameters(param::SampleName, QStringLiteral("Gold"));
        scan->setParameters(param::FolderNumber, 3);
        scan->setParameters(param::AdjustmentRecord, 21);
    }

    QString exchangeDir() const { return dir.filePath(QStringLiteral("exchange")); }

    std::unique_ptr<clsTz4DataSet> scan;
};

} // namespace

TEST_F(FinishedMeasurement, AFolderDeletedDuringTheScanLeavesTheRecordAtTheTopLevelWithANote)
{
    MultiDeleteItem(path, {QStringLiteral("3 F")});
    ClearTrush(path);
    const RecordStoreResult result = storeRecordOrWriteExchange(*scan, exchangeDir());
    ASSERT_EQ(result.kind, Kind::Stored) << qPrintable(result.reason);
    EXPECT_TRUE(result.note.contains(QStringLiteral("3 F"))) << qPrintable(result.note);
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=%1").arg(scan->SeqNo())), 0);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT")), 0) << "no folder came back";
}

TEST_F(FinishedMeasurement, ARecordTheDatabaseDoesNotTakeIsKeptOrWrittenToAFileThatImportReadsBack)
{
    ASSERT_TRUE(QDir().mkdir(exchangeDir()));
    const QStringList before = dump();
    RecordStoreResult kept;
    RecordStoreResult written;
    {
        test::ScopedDatabaseWait wait(300ms);
        test::LockHolder holder(path);
        ASSERT_TRUE(holder.locked());
        kept = storeRecordOrWriteExchange(*scan, {});
        EXPECT_EQ(kept.kind, Kind::NotStored);
        EXPECT_TRUE(kept.reason.contains(QStringLiteral("in use by another program"))) << qPrintable(kept.reason);
        EXPECT_EQ(scan->SeqNo(), 0) << "the record is still new and whole";
        EXPECT_EQ(scan->DataCount(), 31);
        written = storeRecordOrWriteExchange(*scan, exchangeDir());
    }
    EXPECT_EQ(dump(), before);
    ASSERT_EQ(written.kind, Kind::WrittenToExchangeFile) << qPrintable(written.reason);
    EXPECT_EQ(QFileInfo(written.exchangeFile).absolutePath(), QFileInfo(exchangeDir()).absoluteFilePath());
    EXPECT_TRUE(written.note.isEmpty()) << "the correction went along: " << qPrintable(written.note);
    EXPECT_EQ(QDir(exchangeDir()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(written.exchangeFile).fileName()})
        << "nothing else is left there";

    const ImportCounts counts = ImportMain(path, written.exchangeFile, QStringLiteral("3 F"));
    EXPECT_EQ(counts.records, 2);
    EXPECT_EQ(counts.points, 31 + 4);
    const qint64 gold = count(QStringLiteral("Select SeqNo From Setting Where SampleName='Gold'"));
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=%1").arg(gold)), 31);
    EXPECT_EQ(count(QStringLiteral("Select Modes From Setting Where SeqNo=(Select AdjustNo From Setting Where SeqNo=%1)").arg(gold)), 2)
        << "its correction came along";
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=%1").arg(gold)), 3);

    const RecordStoreResult retried = storeRecordOrWriteExchange(*scan, {});
    EXPECT_EQ(retried.kind, Kind::Stored) << "once the database is free, the kept record is stored";
}

TEST_F(FinishedMeasurement, AnExchangeFolderThatCannotTakeTheFileFallsBackToTheTemporaryFolder)
{
    test::ScopedDatabaseWait wait(200ms);
    test::LockHolder holder(path);
    ASSERT_TRUE(holder.locked());
    const RecordStoreResult written = storeRecordOrWriteExchange(*scan, dir.filePath(QStringLiteral("missing")));
    ASSERT_EQ(written.kind, Kind::WrittenToExchangeFile) << qPrintable(written.reason);
    EXPECT_EQ(QFileInfo(written.exchangeFile).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(written.reason.contains(QStringLiteral("missing"))) << qPrintable(written.reason);
    EXPECT_TRUE(QFile::remove(written.exchangeFile));
}
