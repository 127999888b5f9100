#include "SampleFixture.h"

#include "core/RecordParameters.h"
#include "data/SampleOperations.h"

using namespace tz4;
using WriteBack = clsTz4DataSet::WriteBack;

namespace {

// A record held by a window while commands change it underneath.
class RecordWriteBack : public test::SampleDatabase {
protected:
    void SetUp() override
    {
        SampleDatabase::SetUp();
        folder(3, QStringLiteral("Box"));
        record(20, 0, QStringLiteral("Gold"), 0, 5);
        record(21, 2, QStringLiteral("Lamp"));
        held = loaded(QStringLiteral("20 W"));
    }

    QString sampleName() const { return scalar(QStringLiteral("Select SampleName From Setting Where SeqNo=20")).toString(); }

    std::unique_ptr<clsTz4DataSet> held;
};

} // namespace

TEST_F(RecordWriteBack, OnlyWhatTheWindowChangedIsWrittenAndCommandsMeanwhileStay)
{
    renameItem(path, QStringLiteral("20 W"), QStringLiteral("Renamed by a command"));
    attachItem(path, QStringLiteral("21 L"), QStringLiteral("20 W"));
    MultiCopyItem(path, QStringLiteral("3 F"), {QStringLiteral("20 W")}, false);

    EXPECT_EQ(held->WriteChanges(), WriteBack::NothingChanged) << "a window that changed nothing writes nothing";
    held->setGraphX(1, 6.5f);
    held->setValueF(true, 0);
    held->setValueF(false, 4);
    EXPECT_EQ(held->WriteChanges(), WriteBack::Written);
    EXPECT_EQ(sampleName(), QStringLiteral("Renamed by a command"));
    EXPECT_EQ(count(QStringLiteral("Select AdjustNo From Setting Where SeqNo=20")), 21);
    EXPECT_EQ(count(QStringLiteral("Select Parent From Setting Where SeqNo=20")), 3);
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("Select X2 From Setting Where SeqNo=20")).toDouble(), 6.5);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Datas Where SerialNo=20 And F_Flag<>0")), 4);
    EXPECT_EQ(held->WriteChanges(), WriteBack::NothingChanged) << "written once, the record counts as read again";
}

TEST_F(RecordWriteBack, AValueChangedOnBothSidesIsNotOverwrittenNorIsAnythingElse)
{
    renameItem(path, QStringLiteral("20 W"), QStringLiteral("Command's name"));
    held->setParameters(param::SampleName, QStringLiteral("Window's name"));
    held->setGraphX(1, 6.5f);
    const QStringList before = dump();
    QString detail;
    EXPECT_EQ(held->WriteChanges(&detail), WriteBack::ChangedElsewhere);
    EXPECT_EQ(detail, QStringLiteral("SampleName"));
    EXPECT_EQ(dump(), before);

    auto other = loaded(QStringLiteral("20 W"));
    other->setValueG(true, 0);
    other->setValueG(true, 1);
    // Another analysis took the first point out of the fit meanwhile.
    exec(QStringLiteral("Update Datas Set F_Flag=False Where SeqNo=2000"));
    const QStringList flagsBefore = dump();
    EXPECT_EQ(other->WriteChanges(&detail), WriteBack::ChangedElsewhere);
    EXPECT_EQ(detail, QStringLiteral("1 point(s)"));
    EXPECT_EQ(dump(), flagsBefore);
}

TEST_F(RecordWriteBack, ADeletedRecordIsNotWrittenBack)
{
    MultiDeleteItem(path, {QStringLiteral("20 W")});
    ClearTrush(path);
    held->setGraphX(1, 6.5f);
    EXPECT_EQ(held->WriteChanges(), WriteBack::Deleted);
    EXPECT_EQ(count(QStringLiteral("Select Count(*) From Setting Where SeqNo=20")), 0) << "nothing brings it back";
}
