#include "print/TemplateStore.h"
#include "tests/print/PrintFixture.h"
#include "tests/support/TestSupport.h"

#include <QPointF>
#include <QRectF>

using namespace tz4;
using tz4::test::PrintDatabase;
using tz4::test::RecordingReporter;

namespace {

constexpr int KindW = 0;
constexpr int KindC = 1;

class TemplateStore : public PrintDatabase {
protected:
    PrintTemplate loaded(qint32 seqNo)
    {
        std::optional<PrintTemplate> t = PrintTemplate::load(database, seqNo);
        EXPECT_TRUE(t.has_value()) << seqNo;
        return t ? std::move(*t) : PrintTemplate::blank(KindW);
    }

    int labelCount(qint32 templateNo)
    {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM PrtLabel WHERE TempNo = %1").arg(templateNo)).toInt();
    }

    QString nameOf(qint32 templateNo)
    {
        return scalar(QStringLiteral("SELECT TemplateName FROM Prints WHERE SeqNo = %1").arg(templateNo)).toString();
    }
};

TEST_F(TemplateStore, ChoosesTheRequestedTemplateOfTheKindElseTheDefault)
{
    EXPECT_EQ(ChooseTemplate(database, KindW, -1).seqNo, 1);
    EXPECT_EQ(ChooseTemplate(database, KindC, -1).seqNo, 2);

    const TemplateChoice otherKind = ChooseTemplate(database, KindW, 2);
    EXPECT_TRUE(otherKind.wrongKind);
    EXPECT_EQ(otherKind.seqNo, 1) << "a template of another kind is never applied";

    const TemplateChoice missing = ChooseTemplate(database, KindW, 99);
    EXPECT_TRUE(missing.missing);
    EXPECT_EQ(missing.seqNo, 1);

    PrintTemplate copy = loaded(1);
    copy.SeqNo = 0;
    ASSERT_EQ(UpDate(database, copy, KindW), TemplateSaved::AsNew);
    EXPECT_EQ(ChooseTemplate(database, KindW, copy.SeqNo).seqNo, copy.SeqNo);
    EXPECT_EQ(ChooseTemplate(database, KindW, -1).seqNo, 1) << "a new template is not the default";
}

TEST_F(TemplateStore, LoadsEveryFieldOfTheTemplateAndItsLabels)
{
    const PrintTemplate t = loaded(1);
    EXPECT_EQ(t.TemplateName, QStringLiteral("Work Function Report"));
    EXPECT_EQ(t.TemplateType, KindW);
    EXPECT_TRUE(t.GraphVisible);
    EXPECT_EQ(QRectF(t.GraphLeft, t.GraphTop, t.GraphWidth, t.GraphHeight), QRectF(20, 42, 170, 110));
    EXPECT_EQ(t.graphFont().pointSizeF(), 9.0);
    EXPECT_EQ(t.TableCols, 3);
    EXPECT_TRUE(t.DefaultTemp);
    ASSERT_EQ(t.Labels.Count(), 12);

    const clsTz4PrintLabel& title = *t.Labels.Item(1);
    EXPECT_FALSE(title.Binding());
    EXPECT_EQ(title.Value().toString(), QStringLiteral("Photoelectron Yield Spectrum"));
    EXPECT_TRUE(title.Font().bold());
    EXPECT_EQ(title.OriginalFontSize(), 16.0f);

    const clsTz4PrintLabel& workFunction = *t.Labels.Item(5);
    EXPECT_TRUE(workFunction.Binding());
    EXPECT_EQ(workFunction.BindingNumber(), param::WorkFunction);
    EXPECT_EQ(workFunction.ForeCaption(), QStringLiteral("Work Function : "));
    EXPECT_EQ(workFunction.BackCaption(), QStringLiteral(" eV"));
    EXPECT_EQ(workFunction.FormatString(), QStringLiteral("#0.00"));
    EXPECT_EQ(QPointF(workFunction.mmLeft(), workFunction.mmTop()), QPointF(20, 34));
    // A stored Null stays null: only the texts are printed.
    EXPECT_TRUE(t.Labels.Item(4)->Value().isNull());
}

TEST_F(TemplateStore, RenamedTemplateSavedAsNewLeavesTheOldOneUntouched)
{
    RecordingReporter yes(MessageAnswer::Yes);
    const qint64 highest = scalar(QStringLiteral("SELECT MAX(SeqNo) FROM Prints")).toLongLong();
    PrintTemplate t = loaded(1);
    t.TemplateName = QStringLiteral("Lab's own report");
    t.NameEdited = true;
    t.Labels.Item(1)->setMmLeft(55);

    ASSERT_EQ(UpDate(database, t, KindW), TemplateSaved::AsNew);
    ASSERT_EQ(yes.shown.size(), 1);
    EXPECT_EQ(yes.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(t.SeqNo, highest + 1);
    EXPECT_FALSE(t.NameEdited);

    EXPECT_EQ(nameOf(1), QStringLiteral("Work Function Report"));
    EXPECT_EQ(labelCount(1), 12);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MIN(LabelLeft) FROM PrtLabel WHERE TempNo = 1")).toDouble(), 20.0);
    const PrintTemplate copy = loaded(t.SeqNo);
    EXPECT_EQ(copy.TemplateName, QStringLiteral("Lab's own report"));
    EXPECT_EQ(copy.TemplateType, KindW);
    EXPECT_FALSE(copy.DefaultTemp);
    EXPECT_EQ(copy.Labels.Count(), 12);
    EXPECT_EQ(copy.Labels.Item(1)->mmLeft(), 55.0f);
    EXPECT_EQ(copy.Labels.Item(5)->FormatString(), QStringLiteral("#0.00"));
}

TEST_F(TemplateStore, RewriteReplacesAllLabelsOfTheTemplateOnly)
{
    RecordingReporter no(MessageAnswer::No);
    PrintTemplate t = loaded(1);
    t.TemplateName = QStringLiteral("Renamed in place");
    t.NameEdited = true;
    t.Labels.Remove(3);
    t.Labels.Item(1)->setMmTop(12.5f);
    t.Labels.Item(1)->setFormatString({});
    t.GraphWidth = 150;
    const int otherLabels = labelCount(2);

    ASSERT_EQ(UpDate(database, t, KindW), TemplateSaved::Rewritten);
    EXPECT_EQ(t.SeqNo, 1);
    EXPECT_EQ(nameOf(1), QStringLiteral("Renamed in place"));
    EXPECT_EQ(labelCount(1), 11);
    EXPECT_EQ(labelCount(2), otherLabels);
    const PrintTemplate again = loaded(1);
    EXPECT_EQ(again.GraphWidth, 150.0);
    EXPECT_EQ(again.Labels.Item(1)->mmTop(), 12.5f);
    EXPECT_EQ(again.Labels.Item(3)->ForeCaption(), QStringLiteral("Location : "));
    // An empty text is stored as Null.
    EXPECT_TRUE(scalar(QStringLiteral("SELECT Cap_Format IS NULL FROM PrtLabel WHERE TempNo = 1 ORDER BY SeqNo LIMIT 1"))
                    .toBool());

    // Without a rename nothing is asked.
    t.GraphLeft = 22;
    ASSERT_EQ(UpDate(database, t, KindW), TemplateSaved::Rewritten);
    EXPECT_EQ(no.shown.size(), 1);
}

TEST_F(TemplateStore, CommaDecimalLocaleStillWritesPointsIntoSql)
{
    test::ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    PrintTemplate t = loaded(1);
    t.GraphLeft = 12.25;
    t.Labels.Item(2)->setMmLeft(20.5f);
    t.Labels.Item(2)->setValue(3.75);
    ASSERT_EQ(UpDate(database, t, KindW), TemplateSaved::Rewritten);
    EXPECT_EQ(scalar(QStringLiteral("SELECT GraphLeft FROM Prints WHERE SeqNo = 1")).toDouble(), 12.25);
    EXPECT_EQ(scalar(QStringLiteral("SELECT LabelLeft FROM PrtLabel WHERE TempNo = 1 ORDER BY SeqNo LIMIT 1 OFFSET 1"))
                  .toDouble(),
              20.5);
    EXPECT_EQ(scalar(QStringLiteral("SELECT typeof(LabelLeft) FROM PrtLabel WHERE TempNo = 1 LIMIT 1")).toString(),
              QStringLiteral("real"));
}

TEST_F(TemplateStore, FailedSaveIsShownAndChangesNothing)
{
    RecordingReporter no(MessageAnswer::No);
    PrintTemplate t = loaded(1);
    t.TemplateName = QStringLiteral("Never stored");
    t.NameEdited = true;
    {
        // The labels cannot be written back, so the rewrite fails after its first statements.
        SqliteDatabase db(database);
        db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON PrtLabel BEGIN SELECT RAISE(ABORT, 'full'); END"));
    }
    EXPECT_EQ(UpDate(database, t, KindW), TemplateSaved::Failed);
    EXPECT_EQ(nameOf(1), QStringLiteral("Work Function Report"));
    EXPECT_EQ(labelCount(1), 12);
    EXPECT_TRUE(t.NameEdited) << "the edit is kept for another try";
    EXPECT_EQ(no.shown.size(), 2) << "the rename question and the failure";
}

} // namespace
