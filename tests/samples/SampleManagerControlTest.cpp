#include "tests/data/SampleFixture.h"
#include "tests/support/RecordingReporter.h"

#include "core/Keys.h"
#include "core/MessageIds.h"
#include "data/SampleOperations.h"
#include "samples/FatComboModel.h"
#include "samples/SampleManagerControl.h"
#include "samples/SampleTexts.h"

#include <QAbstractItemModelTester>

using namespace tz4;

namespace {

// The window's logic without a window: its models checked for consistent signals through every
// rebuild an operation causes.
class SampleManagerControlTest : public test::SampleDatabase {
protected:
    void SetUp() override
    {
        SampleDatabase::SetUp();
        folder(1, QStringLiteral("Gold"));
        folder(2, QStringLiteral("Sub"), 1);
        folder(3, QStringLiteral("Lamp"));
        record(10, 0, QStringLiteral("Gold A"), 1);
        record(11, 0, QStringLiteral("Gold B"), 1);
        record(12, 2, QStringLiteral("Lamp 1"), 3);
        record(13, 1, QStringLiteral("Film"), 0);
        control = std::make_unique<SampleManagerControl>(path, nullptr);
        for (QAbstractItemModel* model : {static_cast<QAbstractItemModel*>(&control->tree()),
                                          static_cast<QAbstractItemModel*>(&control->list()),
                                          static_cast<QAbstractItemModel*>(&control->grid())})
            testers.push_back(std::make_unique<QAbstractItemModelTester>(model, QAbstractItemModelTester::FailureReportingMode::Fatal));
        control->FormLoad();
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < control->list().rowCount(); ++row)
            names << control->list().index(row, 0).data().toString();
        return names;
    }

    test::RecordingReporter reporter{MessageAnswer::Yes};
    std::unique_ptr<SampleManagerControl> control;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};

TEST_F(SampleManagerControlTest, ModelsStayConsistentThroughBrowsingEditingAndSearching)
{
    EXPECT_EQ(listed().mid(0, 3), (QStringList{QStringLiteral("Gold"), QStringLiteral("Lamp"), QStringLiteral("Film")}));
    control->NodeClick(QStringLiteral("1 F"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Sub"), QStringLiteral("Gold A"), QStringLiteral("Gold B")}));
    control->ItemClick(QStringLiteral("10 W"));
    EXPECT_EQ(control->grid().recordKey(), QStringLiteral("10 W"));
    control->list().sort(0, Qt::DescendingOrder);
    EXPECT_EQ(listed().first(), QStringLiteral("Sub"));

    EXPECT_TRUE(control->Drop(QStringLiteral("3 F"), {QStringLiteral("10 W")}, false));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Sub"), QStringLiteral("Gold B")}));
    EXPECT_TRUE(control->DeleteItems({QStringLiteral("2 F")}));
    EXPECT_TRUE(control->Undo());
    EXPECT_TRUE(control->tree().indexOfKey(QStringLiteral("2 F")).isValid());
    EXPECT_FALSE(control->CreateFolder(QStringLiteral("1 F")).isEmpty());
    control->RefreshData();

    control->NodeClick(QStringLiteral("1 Q"));
    SearchConditions gold;
    gold.sampleName = QStringLiteral("Gold");
    control->grid().setConditions(gold);
    EXPECT_TRUE(control->GoQuery());
    EXPECT_EQ(control->list().rowCount(), 2);
    EXPECT_EQ(reporter.shown.last().text, GetRes(msg::DatasFound, {2}));

    FatComboModel combo;
    QAbstractItemModelTester comboTester(&combo, QAbstractItemModelTester::FailureReportingMode::Fatal);
    combo.setDataBaseName(path);
    combo.MakeList();
    EXPECT_GE(combo.rowCount(), 4);
}

TEST_F(SampleManagerControlTest, RefusedGesturesSayWhyAndLeaveTheDatabaseAlone)
{
    const QStringList before = dump();
    // A folder into its own sub-folder, a record onto the root, an L record onto a C record.
    EXPECT_FALSE(control->Drop(QStringLiteral("2 F"), {QStringLiteral("1 F")}, false));
    EXPECT_FALSE(control->Drop(QStringLiteral("1 A"), {QStringLiteral("13 C")}, true));
    EXPECT_FALSE(control->Drop(QStringLiteral("13 C"), {QStringLiteral("12 L")}, false));
    EXPECT_FALSE(control->RenameItem(QStringLiteral("13 C"), QStringLiteral("")));
    EXPECT_FALSE(control->RenameItem(QStringLiteral("13 C"), QStringLiteral("a\r\nb")));
    EXPECT_TRUE(control->CreateFolder(QStringLiteral("13 C")).isEmpty());
    EXPECT_EQ(reporter.shown.last().text, GetRes(msg::FolderOnlyUnderFolder));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(reporter.shown.size(), 4);
    // An item another program removed meanwhile.
    exec(QStringLiteral("Delete From Setting Where SeqNo=11;"));
    const QStringList gone = dump();
    EXPECT_FALSE(control->DeleteItems({QStringLiteral("11 W")}));
    EXPECT_EQ(reporter.shown.last().text, sampleText(SampleText::ItemGone, {QStringLiteral("11 W")}));
    EXPECT_EQ(dump(), gone);
}

TEST_F(SampleManagerControlTest, TheGridPopupsUndoACorrectionAndACalibrationMember)
{
    record(14, 3, QStringLiteral("Calibration"), 0);
    record(15, 4, QStringLiteral("Line"), 0, 0);
    control->RefreshData();
    ASSERT_TRUE(control->Drop(QStringLiteral("10 W"), {QStringLiteral("12 L")}, false));
    ASSERT_TRUE(control->Drop(QStringLiteral("15 T"), {QStringLiteral("14 D")}, false));
    ASSERT_EQ(scalar(QStringLiteral("Select AdjustNo From Setting Where SeqNo=10;")).toInt(), 12);
    ASSERT_EQ(count(QStringLiteral("Select Count(*) From Thicks Where AdjNo=15 And DataNo=14;")), 1);

    control->ItemClick(QStringLiteral("10 W"));
    const SampleGridModel& grid = control->grid();
    const auto shown = [&grid](const QString& row) { return grid.index(grid.rowOf(row), 1).data().toString(); };
    EXPECT_NE(shown(QStringLiteral("AdjustName")), QStringLiteral("None"));
    EXPECT_TRUE(control->RemoveAdjustment());
    EXPECT_EQ(scalar(QStringLiteral("Select AdjustNo From Setting Where SeqNo=10;")).toInt(), 0);
    EXPECT_EQ(shown(QStringLiteral("AdjustName")), QStringLiteral("None"));
    EXPECT_FALSE(control->RemoveAdjustment()) << "there is nothing left to remove";

    control->ItemClick(QStringLiteral("15 T"));
    int memberRow = -1;
    for (int row = 0; row < grid.rowCount(); ++row)
        if (grid.keyOf(row).startsWith(QLatin1String("CalibData")))
            memberRow = row;
    ASSERT_GE(memberRow, 0);
    EXPECT_TRUE(control->RemoveCalibrationMember(grid.index(memberRow, 0).data(SampleGridModel::MemberRole).toInt()));
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Thicks Where AdjNo=15;")), 0);
}

TEST_F(SampleManagerControlTest, AFolderDroppedOnANonFolderLandsAtTheTopLevel)
{
    EXPECT_TRUE(control->Drop(QStringLiteral("1 Q"), {QStringLiteral("2 F")}, false));
    EXPECT_EQ(scalar(QStringLiteral("Select Parent From FAT Where SeqNo=2;")).toInt(), 0);
    EXPECT_TRUE(control->Drop(QStringLiteral("12 L"), {QStringLiteral("1 F")}, false));
    EXPECT_EQ(scalar(QStringLiteral("Select Parent From FAT Where SeqNo=1;")).toInt(), 0);
}

} // namespace
