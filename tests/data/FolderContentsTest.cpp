#include "RecordFixture.h"

#include "data/FolderContents.h"
#include "tests/support/TestSupport.h"

using namespace tz4;
using FolderContents = tz4::test::RecordDatabase;

TEST_F(FolderContents, ListsLiveFoldersThenLiveRecordsOfOneFolder)
{
    exec(QStringLiteral("Insert Into FAT(SeqNo,Name,Parent,Recycled) Values (3,'Lab',0,0);"));
    exec(QStringLiteral("Insert Into FAT(SeqNo,Name,Parent,Recycled) Values (4,'Old',0,1);"));
    exec(QStringLiteral("Insert Into FAT(SeqNo,Name,Parent,Recycled) Values (5,'Inner',3,0);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName,MeasLight,DataTime,Parent,Recycled) "
                        "Values (7,0,'Gold',49.96,'2026-05-03 14:07:09',0,0);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName,Parent,Recycled) Values (8,1,'Bin',0,1);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName,Parent,Recycled) Values (9,3,'Calib',0,0);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName,Parent,Recycled) Values (10,9,'Unknown',0,0);"));

    const QList<FolderEntry> top = folderEntries(path, 0);
    ASSERT_EQ(top.size(), 3) << "trashed entries and unknown kinds are left out";
    EXPECT_EQ(top[0].key, QStringLiteral("3 F"));
    EXPECT_TRUE(top[0].isFolder());
    EXPECT_FALSE(top[0].light.has_value());
    EXPECT_EQ(top[1].key, QStringLiteral("7 W"));
    EXPECT_EQ(top[1].name, QStringLiteral("Gold"));
    ASSERT_TRUE(top[1].light.has_value());
    EXPECT_DOUBLE_EQ(*top[1].light, 49.96);
    EXPECT_EQ(top[1].date, QDateTime(QDate(2026, 5, 3), QTime(14, 7, 9)));
    EXPECT_EQ(top[2].key, QStringLiteral("9 D"));
    EXPECT_FALSE(top[2].light.has_value()) << "an unset intensity is not a zero";
    EXPECT_FALSE(top[2].date.isValid());

    EXPECT_EQ(folderEntries(path, 3).size(), 1);
    EXPECT_TRUE(folderExists(path, 0));
    EXPECT_TRUE(folderExists(path, 3));
    EXPECT_FALSE(folderExists(path, 4)) << "a folder in the trash";
    EXPECT_FALSE(folderExists(path, 99));
    EXPECT_EQ(storedRecordKind(path, 9), clsTz4DataSet::KindD);
    EXPECT_EQ(storedRecordKind(path, 99), clsTz4DataSet::KindNone);
}

TEST_F(FolderContents, AnUnreadableDatabaseIsAnErrorNotAnEmptyFolder)
{
    const QString missing = dir.filePath(QStringLiteral("nowhere/TZ4.mdb"));
    EXPECT_NE(test::errorNumberOf([&] { folderEntries(missing, 0); }), 0);
    EXPECT_NE(test::errorNumberOf([&] { storedRecordKind(missing, 1); }), 0);
    EXPECT_FALSE(folderExists(missing, 3));
}
