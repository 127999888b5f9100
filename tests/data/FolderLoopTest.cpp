#include "SampleFixture.h"

#include "data/CompactAndRepair.h"
#include "data/SampleOperations.h"

using namespace tz4;

namespace {

// Folders 3 -> 9 -> 12 -> 3 lie inside each other, as two unserialised opposite moves could
// once leave them; folder 7 is sound.
class StoredFolderLoop : public test::SampleDatabase {
protected:
    void SetUp() override
    {
        SampleDatabase::SetUp();
        folder(3, QStringLiteral("A"), 12);
        folder(9, QStringLiteral("B"), 3);
        folder(12, QStringLiteral("C"), 9);
        folder(7, QStringLiteral("Sound"));
        folder(8, QStringLiteral("Below the loop"), 9);
        record(20, 0, QStringLiteral("Gold"), 12);
    }

    qint64 unreachable() const
    {
        return count(QStringLiteral("With Recursive Reach(SeqNo) As (Select SeqNo From FAT Where Parent=0 "
                                    "Union Select f.SeqNo From FAT f Join Reach r On f.Parent=r.SeqNo) "
                                    "Select Count(*) From FAT Where SeqNo Not In (Select SeqNo From Reach);"));
    }
};

} // namespace

TEST_F(StoredFolderLoop, OperationsOnItEndAndRepairPutsItRight)
{
    ASSERT_EQ(unreachable(), 4);
    MultiCopyItem(path, QStringLiteral("7 F"), {QStringLiteral("9 F")}, true);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Name='C'")), 2) << "each folder is copied once";
    EXPECT_FALSE(CheckLoopParent(path, QStringLiteral("3 F"), {QStringLiteral("7 F")}))
        << "nothing more goes into a loop";
    MultiDeleteItem(path, {QStringLiteral("3 F")});
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From FAT Where Recycled=1")), 4);

    QStringList repaired;
    ASSERT_TRUE(CompactAndRepairDB(path, {}, &repaired));
    ASSERT_EQ(repaired.size(), 1);
    EXPECT_TRUE(repaired.first().contains(QStringLiteral("3 F"))) << qPrintable(repaired.first());
    EXPECT_EQ(unreachable(), 0);
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where SeqNo=3")), 0) << "one folder per loop goes to the top";
    EXPECT_EQ(count(QStringLiteral("Select Parent From FAT Where SeqNo=12")), 9) << "the others keep their place";
    EXPECT_TRUE(intact());

    repaired.clear();
    ASSERT_TRUE(CompactAndRepairDB(path, {}, &repaired));
    EXPECT_TRUE(repaired.isEmpty());
}
