#include "SampleFixture.h"

#include "core/MessageIds.h"
#include "data/SampleListing.h"
#include "data/SampleOperations.h"
#include "data/SearchQuery.h"
#include "data/UndoJournal.h"

#include <QDateTime>

using namespace tz4;
using tz4::test::errorNumberOf;

namespace {

class SampleOperations : public test::SampleDatabase {
protected:
    // Folder 3 holds folder 9, which holds folder 12; W 20 lives in 9.
    void SetUp() override
    {
        SampleDatabase::SetUp();
        folder(3, QStringLiteral("Top"));
        folder(9, QStringLiteral("Middle"), 3);
        folder(12, QStringLiteral("Leaf"), 9);
        folder(7, QStringLiteral("Other"));
        record(20, 0, QStringLiteral("Gold"), 9);
    }

    int refusalOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const OperationRefused& refused) {
            return refused.messageId();
        }
        return 0;
    }
};

} // namespace

TEST_F(SampleOperations, AFolderNeverGoesIntoItsOwnSubFolder)
{
    const QStringList before = dump();
    for (const bool copy : {false, true}) {
        EXPECT_EQ(refusalOf([&] { MultiCopyItem(path, QStringLiteral("12 F"), {QStringLiteral("3 F")}, copy); }), msg::FolderIntoOwnSubFolder);
        EXPECT_EQ(refusalOf([&] { MultiCopyItem(path, QStringLiteral("9 F"), {QStringLiteral("7 F"), QStringLiteral("3 F")}, copy); }),
                  msg::FolderIntoOwnSubFolder);
    }
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(pendingUndo(path), UndoMode::None);

    EXPECT_EQ(MultiCopyItem(path, QStringLiteral("3 F"), {QStringLiteral("3 F")}, false), QStringList{QStringLiteral("3 F")})
        << "a drop on itself does nothing";
    EXPECT_EQ(dump(), before);
    MultiCopyItem(path, QStringLiteral("3 F"), {QStringLiteral("12 F")}, false);
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where SeqNo=12")), 3) << "moving up the tree is fine";
}

TEST_F(SampleOperations, MovingOutOfTheTrashBringsTheItemBack)
{
    exec(QStringLiteral("Update Setting Set Recycled=1 Where SeqNo=20;"));
    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("20 W")}, false);
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=20")), 7);
    EXPECT_EQ(count(QStringLiteral("Select Recycled From Setting Where SeqNo=20")), 0);

    EXPECT_EQ(MultiCopyItem(path, QStringLiteral("1 A"), {QStringLiteral("20 W"), QStringLiteral("9 F")}, false),
              QStringList{QStringLiteral("20 W")})
        << "records do not go onto the desktop root";
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where SeqNo=9")), 0);
}

TEST_F(SampleOperations, CorrectionsAndCalibrationMembersAttachOnlyToTheirKinds)
{
    record(30, 2, QStringLiteral("Lamp"));
    record(31, 1, QStringLiteral("Film"));
    record(32, 4, QStringLiteral("Line"), 0, 0);
    record(33, 3, QStringLiteral("Ref"), 0, 4);

    attachItem(path, QStringLiteral("30 L"), QStringLiteral("20 W"));
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SeqNo=20")), 30);
    EXPECT_NE(errorNumberOf([&] { attachItem(path, QStringLiteral("30 L"), QStringLiteral("31 C")); }), 0);
    EXPECT_EQ(MultiCopyItem(path, QStringLiteral("31 C"), {QStringLiteral("30 L")}, false), QStringList{QStringLiteral("30 L")});
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SeqNo=31")), 0);

    attachItem(path, QStringLiteral("33 D"), QStringLiteral("32 T"));
    MultiCopyItem(path, QStringLiteral("32 T"), {QStringLiteral("33 D")}, true);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Thicks Where AdjNo=32")), 1) << "a member is added once";
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=32")), 4) << "the line holds its member's points";
    EXPECT_EQ(count(QStringLiteral("Select Min(EngData) From Datas Where SerialNo=32")), 3300)
        << "a line point names the member point it came from";
}

TEST_F(SampleOperations, DeletingUnlinksWhatOtherRecordsUsed)
{
    record(30, 2, QStringLiteral("Lamp"));
    record(32, 4, QStringLiteral("Line"), 0, 0);
    record(33, 3, QStringLiteral("Ref"), 0, 2);
    record(34, 3, QStringLiteral("Ref2"), 0, 2);
    exec(QStringLiteral("Update Setting Set AdjustNo=30 Where SeqNo=20;"));
    attachItem(path, QStringLiteral("33 D"), QStringLiteral("32 T"));
    attachItem(path, QStringLiteral("34 D"), QStringLiteral("32 T"));

    MultiDeleteItem(path, {QStringLiteral("30 L"), QStringLiteral("33 D")});
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SeqNo=20")), 0);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Thicks Where DataNo=33")), 0);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=32")), 2) << "the line lost that member's points";
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting Where Recycled=1")), 2);
    EXPECT_TRUE(CheckRecycle(path, QStringLiteral("33 D")));
}

TEST_F(SampleOperations, DeletingAFolderTrashesItsSubFoldersAndKeepsItsRecordsInside)
{
    MultiDeleteItem(path, {QStringLiteral("3 F")});
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Recycled=1")), 3);
    EXPECT_EQ(count(QStringLiteral("Select Recycled From Setting Where SeqNo=20")), 0);
    EXPECT_FALSE(SampleListing(path).trashIsEmpty());

    restoreItems(path, {QStringLiteral("3 F")});
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Recycled=1")), 0);
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where SeqNo=12")), 9) << "the tree below comes back whole";
}

TEST_F(SampleOperations, RestoreGoesBackWhereTheItemWasWhileThatFolderLives)
{
    MultiDeleteItem(path, {QStringLiteral("20 W")});
    restoreItems(path, {QStringLiteral("20 W")});
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=20")), 9);

    MultiDeleteItem(path, {QStringLiteral("20 W")});
    MultiDeleteItem(path, {QStringLiteral("3 F")});
    restoreItems(path, {QStringLiteral("20 W")});
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=20")), 0) << "its folder is in the trash";
    EXPECT_NE(errorNumberOf([&] { restoreItems(path, {QStringLiteral("7 F")}); }), 0) << "7 is not in the trash";
}

TEST_F(SampleOperations, EmptyingTheTrashTakesTrashedFoldersContentsAndTheirLinks)
{
    record(30, 2, QStringLiteral("Lamp"), 12);
    record(40, 0, QStringLiteral("Elsewhere"), 7, 3, 0, 30);
    MultiDeleteItem(path, {QStringLiteral("3 F")});
    ClearTrush(path);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT")), 1);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting")), 1) << "records inside trashed folders go too";
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo In (20,30)")), 0);
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SeqNo=40")), 0)
        << "no record keeps a correction that is gone";
    EXPECT_TRUE(SampleListing(path).trashIsEmpty());
}

TEST_F(SampleOperations, CopyingAFolderCopiesItsTreeNowAndKeepsMeasurementDates)
{
    record(32, 4, QStringLiteral("Line"), 12, 0);
    record(33, 3, QStringLiteral("Ref"), 7, 2);
    attachItem(path, QStringLiteral("33 D"), QStringLiteral("32 T"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("3 F")}, true);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT")), 7);
    SqliteDatabase db(path);
    SqliteStatement copies = db.query(QStringLiteral("Select * From FAT Where SeqNo>12;"));
    int n = 0;
    while (copies.next()) {
        ++n;
        EXPECT_GE(copies.toDateTime(QStringLiteral("MakeDate")), before);
    }
    EXPECT_EQ(n, 3);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting Where SampleName='Gold' And DataTime=#2021-06-07 08:09:10#")), 2);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=(Select Max(SeqNo) From Setting Where Modes=0)")), 3);
    const qint64 lineCopy = count(QStringLiteral("Select Max(SeqNo) From Setting Where Modes=4"));
    EXPECT_NE(lineCopy, 32);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=%1").arg(lineCopy)), 2)
        << "the copied line's points are rebuilt from its members";
}

TEST_F(SampleOperations, UndoReversesTheLastDropOrDeleteUnlessItsRowsChangedSince)
{
    record(30, 2, QStringLiteral("Lamp"));
    exec(QStringLiteral("Update Setting Set AdjustNo=30 Where SeqNo=20;"));
    const QStringList start = dump();

    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("9 F")}, false);
    EXPECT_EQ(pendingUndo(path), UndoMode::Move);
    EXPECT_EQ(undoLast(path), UndoMode::Move);
    EXPECT_EQ(dump(), start);
    EXPECT_NE(errorNumberOf([&] { undoLast(path); }), 0) << "one step only";

    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("3 F")}, true);
    EXPECT_EQ(undoLast(path), UndoMode::Copy);
    EXPECT_EQ(dump(), start);

    MultiDeleteItem(path, {QStringLiteral("30 L")});
    EXPECT_EQ(undoLast(path), UndoMode::Delete);
    EXPECT_EQ(dump(), start) << "the correction link comes back too";

    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("9 F")}, false);
    exec(QStringLiteral("Update FAT Set Parent=3 Where SeqNo=9;"));
    const QStringList changed = dump();
    EXPECT_NE(errorNumberOf([&] { undoLast(path); }), 0);
    EXPECT_EQ(dump(), changed);
}

TEST_F(SampleOperations, NamesAreStoredExactlyAndMustFitTheirColumn)
{
    const QString name = QStringLiteral("it's \"Au\"\tline\r\n金 ① Ω");
    renameItem(path, QStringLiteral("20 W"), name);
    renameItem(path, QStringLiteral("7 F"), name);
    EXPECT_EQ(scalar(QStringLiteral("Select SampleName From Setting Where SeqNo=20")).toString(), name);
    EXPECT_EQ(scalar(QStringLiteral("Select Name From FAT Where SeqNo=7")).toString(), name);
    EXPECT_NE(errorNumberOf([&] { renameItem(path, QStringLiteral("7 F"), QString(51, QLatin1Char('x'))); }), 0);
    EXPECT_NE(errorNumberOf([&] { renameItem(path, QStringLiteral("1 Q"), QStringLiteral("x")); }), 0);

    const QString key = newFolder(path, name, QStringLiteral("7 F"));
    EXPECT_EQ(key, QStringLiteral("13 F"));
    EXPECT_EQ(SampleListing(path).folderPath(13), name + QLatin1Char('\\') + name);
    EXPECT_EQ(refusalOf([&] { newFolder(path, QStringLiteral("x"), QStringLiteral("20 W")); }), msg::FolderOnlyUnderFolder);
}

TEST_F(SampleOperations, KeysAreReadAsPeopleTypeThem)
{
    EXPECT_EQ(resolveItemKey(path, QStringLiteral("12F")), QStringLiteral("12 F"));
    EXPECT_EQ(resolveItemKey(path, QStringLiteral(" 20 ")), QStringLiteral("20 W"));
    EXPECT_EQ(resolveItemKey(path, QStringLiteral("1a")), QStringLiteral("1 A"));
    EXPECT_NE(errorNumberOf([&] { resolveItemKey(path, QStringLiteral("20 L")); }), 0) << "20 is a W record";
    EXPECT_NE(errorNumberOf([&] { resolveItemKey(path, QStringLiteral("99 F")); }), 0);
    EXPECT_NE(errorNumberOf([&] { resolveItemKey(path, QStringLiteral("F12")); }), 0);
}

TEST(SearchQuery, JoinsTheGivenConditions)
{
    SearchConditions c;
    EXPECT_EQ(makeQueryString(c), QString());
    c.sampleName = QStringLiteral("Cu");
    c.kindChoice = 2;
    EXPECT_EQ(makeQueryString(c), QStringLiteral("Where SampleName Like '*Cu*' And Modes=1"));
    SearchConditions days;
    days.pastDays = 3;
    EXPECT_EQ(makeQueryString(days, QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))),
              QStringLiteral("Where  DataTime >= #2026-03-01 05:06:07#"));
    EXPECT_EQ(makeExportList({QStringLiteral("12 F"), QStringLiteral("40 W")}), QStringLiteral("12 F,40 W,"));
}

TEST_F(SampleOperations, SearchTakesWildcardsAndQuotesInTheTextLiterally)
{
    record(40, 1, QStringLiteral("50%* it's"), 7);
    record(41, 1, QStringLiteral("500 its"), 7);
    SearchConditions c;
    c.sampleName = QStringLiteral("0%* it's");
    const QList<RecordRow> found = SampleListing(path).search(makeQueryString(c));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first().seqNo, 40);
    EXPECT_TRUE(SampleListing(path).search(QStringLiteral("Where")).isEmpty()) << "a condition under 8 characters lists nothing";
}
