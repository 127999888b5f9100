#include "RecordFixture.h"

#include "tests/support/TestSupport.h"
#include "core/RecordParameters.h"

using namespace tz4;
using tz4::test::RecordDatabase;

namespace {

float linearRate(double e) { return float(10 * e); }

// Every storing case runs once in the C locale and once where the decimal separator is a comma.
class RecordStore : public RecordDatabase, public ::testing::WithParamInterface<QLocale::Language> {
protected:
    test::ScopedLocale locale{QLocale(GetParam())};
};

} // namespace

TEST_P(RecordStore, NewRecordTakesTheNextKeysWithPointsInMeasurementOrder)
{
    auto first = record(QStringLiteral("W"));
    test::fillScan(*first, 3, 4.0, 0.05, linearRate);
    ASSERT_TRUE(first->AddDatas());
    EXPECT_EQ(first->Key(), QStringLiteral("1 W"));
    EXPECT_EQ(first->PointKey(0), 1);

    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes) Values (56,1);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo) Values (100,56);"));
    auto second = record(QStringLiteral("W"));
    test::fillScan(*second, 31, 5.5, -0.05, linearRate); // measured downwards: order is kept
    ASSERT_TRUE(second->AddDatas());
    EXPECT_EQ(second->Key(), QStringLiteral("57 W"));
    SqliteDatabase db(path);
    SqliteStatement rows = db.query(QStringLiteral("Select * From Datas Where SerialNo=57 Order By SeqNo;"));
    int i = 0;
    while (rows.next()) {
        EXPECT_EQ(rows.toInt(QStringLiteral("SeqNo")), 101 + i);
        EXPECT_EQ(rows.toInt(QStringLiteral("EngData")), 550 - 5 * i);
        EXPECT_FLOAT_EQ(float(rows.toDouble(QStringLiteral("CpsData"))), linearRate(5.5 - 0.05 * i));
        ++i;
    }
    EXPECT_EQ(i, 31);
    EXPECT_FALSE(second->AddDatas()) << "a stored record is never stored again";
}

TEST_P(RecordStore, SettingsAndPointsRoundTripThroughTheFile)
{
    exec(QStringLiteral("Insert Into FAT(SeqNo,Name,Parent) Values (3,'Lab',0);"));
    exec(QStringLiteral("Insert Into FAT(SeqNo,Name,Parent) Values (8,'Si''s wafers',3);"));
    auto r = record(QStringLiteral("W"));
    test::fillScan(*r, 5, 4.15, 0.05, linearRate);
    r->setParameters(param::SampleName, QStringLiteral("O'Brien's \"gold\" #1"));
    r->setParameters(param::MeasurementDate, QDateTime(QDate(2026, 5, 3), QTime(14, 7, 9)));
    r->setParameters(param::FolderNumber, 8);
    r->setParameters(param::StartEnergy, 4.15);
    r->setParameters(param::FinishEnergy, QStringLiteral("6.35"));
    r->setParameters(param::EnergyStep, 0.05);
    r->setParameters(param::MeasuredLight, 4.25);
    r->setParameters(param::TargetLight, 12.5);
    r->setParameters(param::PowerNumber, 0.75);
    r->setParameters(param::AdjustmentRecord, 0);
    r->setParameters(param::BackgroundCps, 1.25);
    r->setParameters(param::CountingTime, 20);
    r->setParameters(param::AnodeVoltage, 1900);
    r->setParameters(param::DeadTime, 0.5);
    r->setParameters(param::Notes1, QStringLiteral("first note"));
    r->setGraphX(0, 3.5f);
    r->setGraphY(1, 99.5f);
    r->setGndDown(false);
    r->setValueF(true, 2);
    r->setValueG(true, 0);
    ASSERT_TRUE(r->AddDatas());
    ASSERT_TRUE(r->UpDates()); // flags are stored by UpDates

    auto back = loaded(r->Key());
    EXPECT_EQ(back->Parameters(param::SampleName).toString(), QStringLiteral("O'Brien's \"gold\" #1"));
    EXPECT_EQ(back->Parameters(param::FolderPath).toString(), QStringLiteral("\\Lab\\Si's wafers"));
    EXPECT_EQ(back->Parameters(param::MeasurementDate).toDateTime(), QDateTime(QDate(2026, 5, 3), QTime(14, 7, 9)));
    EXPECT_EQ(back->Parameters(param::FolderNumber).toInt(), 8);
    EXPECT_EQ(back->ParentKey(), QStringLiteral("8 F"));
    EXPECT_FLOAT_EQ(back->Parameters(param::StartEnergy).toFloat(), 4.15f);
    EXPECT_FLOAT_EQ(back->Parameters(param::FinishEnergy).toFloat(), 6.35f);
    EXPECT_FLOAT_EQ(back->Parameters(param::MeasuredLight).toFloat(), 4.25f);
    EXPECT_FLOAT_EQ(back->Parameters(param::TargetLight).toFloat(), 12.5f);
    EXPECT_FLOAT_EQ(back->Parameters(param::PowerNumber).toFloat(), 0.75f);
    EXPECT_FLOAT_EQ(back->Parameters(param::BackgroundCps).toFloat(), 1.25f);
    EXPECT_EQ(back->Parameters(param::CountingTime).toInt(), 20);
    EXPECT_EQ(back->Parameters(param::AnodeVoltage).toInt(), 1900);
    EXPECT_FLOAT_EQ(back->Parameters(param::DeadTime).toFloat(), 0.5f);
    EXPECT_EQ(back->Parameters(param::Notes1).toString(), QStringLiteral("first note"));
    EXPECT_EQ(back->Parameters(param::Notes2).toString(), QString());
    EXPECT_FLOAT_EQ(back->GraphX(0), 3.5f);
    EXPECT_FLOAT_EQ(back->GraphY(1), 99.5f);
    EXPECT_FALSE(back->GndDown());
    EXPECT_TRUE(back->ExpLog());
    ASSERT_EQ(back->DataCount(), 5);
    EXPECT_FLOAT_EQ(back->OrgValueX(2), 4.25f);
    EXPECT_FLOAT_EQ(back->OrgValueY(2), linearRate(4.25));
    EXPECT_TRUE(back->ValueF(2));
    EXPECT_FALSE(back->ValueF(1));
    EXPECT_TRUE(back->ValueG(0));
    EXPECT_EQ(scalar(QStringLiteral("Select EngData From Datas Where SerialNo=1 And EngData=425;")).toInt(), 425);
    EXPECT_EQ(scalar(QStringLiteral("Select MeasLight From Setting;")).toDouble(), 4.25);
    EXPECT_TRUE(scalar(QStringLiteral("Select Notes2 Is Null From Setting;")).toBool()) << "empty note stored as Null";
    EXPECT_EQ(scalar(QStringLiteral("Select EngStr From Setting;")).toInt(), 415);
}

TEST_P(RecordStore, KindsStoreTheirOwnColumns)
{
    auto d = record(QStringLiteral("D"));
    d->setParameters(param::FixedEnergy, 5.75);
    d->setParameters(param::CalibrationShift, 120.5); // sample thickness
    d->setDataCount(3);
    for (int i = 0; i < 3; ++i) {
        d->setOrgValueY(float(100 * (i + 1)), i);
        d->setValueZ(float(120.5 + i), i);
    }
    ASSERT_TRUE(d->AddDatas());
    d->setValueZ(7.5f, 1);
    ASSERT_TRUE(d->UpDates());
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Datas Where EngData=575;")).toInt(), 3);
    EXPECT_EQ(scalar(QStringLiteral("Select EngEnd From Setting;")).toInt(), 3);
    EXPECT_EQ(scalar(QStringLiteral("Select EngStp Is Null From Setting;")).toInt(), 1);
    auto back = loaded(d->Key());
    EXPECT_FLOAT_EQ(back->Parameters(param::CalibrationShift).toFloat(), 120.5f);
    EXPECT_FLOAT_EQ(back->OrgValueX(2), 3.0f) << "C and D points are numbered";
    EXPECT_FLOAT_EQ(back->ValueZ(0), 120.5f);
    EXPECT_FLOAT_EQ(back->ValueZ(1), 7.5f);

    auto c = record(QStringLiteral("C"));
    c->setParameters(param::CalibrationThickness, -0.0125);
    ASSERT_TRUE(c->AddDatas());
    EXPECT_EQ(scalar(QStringLiteral("Select EngStp From Setting Where Modes=1;")).toInt(), -125);
    EXPECT_FLOAT_EQ(loaded(c->Key())->Parameters(param::CalibrationThickness).toFloat(), -0.0125f);
}

INSTANTIATE_TEST_SUITE_P(Locales, RecordStore, ::testing::Values(QLocale::C, QLocale::German),
                         [](const auto& info) { return info.param == QLocale::C ? "C" : "GermanComma"; });

using RecordLoad = RecordDatabase;

TEST_F(RecordLoad, NullColumnsReadAsTheirDefaults)
{
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes) Values (4,0);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData) Values (1,4,500);"));
    auto r = loaded(QStringLiteral("4 W"));
    EXPECT_EQ(r->Parameters(param::SampleName).toString(), QStringLiteral("Sample"));
    EXPECT_FLOAT_EQ(r->Parameters(param::StartEnergy).toFloat(), 3.4f);
    EXPECT_FLOAT_EQ(r->Parameters(param::FinishEnergy).toFloat(), 6.2f);
    EXPECT_FLOAT_EQ(r->Parameters(param::EnergyStep).toFloat(), 0.05f);
    EXPECT_FLOAT_EQ(r->Parameters(param::FixedEnergy).toFloat(), 5.9f);
    EXPECT_FLOAT_EQ(r->Parameters(param::TargetLight).toFloat(), 10.0f);
    EXPECT_FLOAT_EQ(r->Parameters(param::PowerNumber).toFloat(), 0.5f);
    EXPECT_FLOAT_EQ(r->Parameters(param::CalibrationThickness).toFloat(), 0.0f);
    EXPECT_EQ(r->Parameters(param::MeasureCount).toInt(), 10);
    EXPECT_EQ(r->Parameters(param::CountingTime).toInt(), 10);
    EXPECT_EQ(r->ParentKey(), QStringLiteral("1 R"));
    EXPECT_TRUE(r->GndDown());
    EXPECT_FALSE(r->AdjustFlag());
    EXPECT_EQ(r->Parameters(param::CalibrationName).toString(), QStringLiteral("None"));
    EXPECT_FLOAT_EQ(r->OrgValueY(0), 0.0f);
    EXPECT_FALSE(r->ValueG(0));
    EXPECT_TRUE(r->Loaded());
}

TEST_F(RecordLoad, NewRecordTakesTheSettingsOfTheLatestOfItsKind)
{
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,DataTime,SampleName,EngStr) Values (1,0,#5/3/26 10:00:00#,'May 3',400);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,DataTime,SampleName,EngStr) Values (2,0,#5/1/26 10:00:00#,'May 1',410);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,DataTime,SampleName) Values (3,1,#5/9/26 10:00:00#,'later C');"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData) Values (1,1,420);"));
    auto r = loaded(QStringLiteral("W"));
    EXPECT_EQ(r->Parameters(param::SampleName).toString(), QStringLiteral("May 3"));
    EXPECT_FLOAT_EQ(r->Parameters(param::StartEnergy).toFloat(), 4.0f);
    EXPECT_EQ(r->DataCount(), 0);
    EXPECT_EQ(r->SeqNo(), 0);
}

TEST_F(RecordLoad, FirstRecordOfItsKindStartsWithTheAnalysisDefaults)
{
    auto w = loaded(QStringLiteral("W"));
    EXPECT_TRUE(w->ExpLog());
    EXPECT_TRUE(w->GndDown());
    EXPECT_FLOAT_EQ(w->Parameters(param::PowerNumber).toFloat(), 0.5f);
    auto l = loaded(QStringLiteral("L"));
    EXPECT_FALSE(l->ExpLog());
    EXPECT_FALSE(l->GndDown());
}

TEST_F(RecordLoad, AFailedStoreLeavesNothingBehind)
{
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Datas WHEN NEW.SeqNo = 7 "
                        "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END;"));
    auto r = record(QStringLiteral("W"));
    test::fillScan(*r, 10, 4.0, 0.1, linearRate);
    EXPECT_FALSE(r->AddDatas());
    EXPECT_EQ(r->Key(), QStringLiteral("W"));
    EXPECT_EQ(r->PointKey(0), 0);
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Setting;")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Datas;")).toInt(), 0);
}
