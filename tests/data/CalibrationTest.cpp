#include "RecordFixture.h"

#include "data/CalibrationLine.h"
#include "core/RecordParameters.h"

#include <cmath>
#include <numeric>

using namespace tz4;
using tz4::test::RecordDatabase;

using Calibration = RecordDatabase;

TEST_F(Calibration, WorkFunctionRecordIsCorrectedByItsLightRecord)
{
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName) Values (1,2,'Lamp');"));
    const int energies[] = {340, 400, 425, 500, 620};
    for (int i = 0; i < 5; ++i)
        exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,CpsData) Values (%1,1,%2,%3);")
                 .arg(i + 1)
                 .arg(energies[i])
                 .arg(2.0 + i));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,AdjustNo,MeasLight,Exp_Thick) Values (2,0,1,8,1);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,CpsData) Values (10,2,425,50);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,CpsData) Values (11,2,430,50);"));

    auto w = loaded(QStringLiteral("2 W"));
    EXPECT_TRUE(w->AdjustFlag());
    EXPECT_EQ(w->Parameters(param::CalibrationName).toString(), QStringLiteral("Lamp"));
    ASSERT_EQ(w->LightTable().size(), 71u);
    EXPECT_FLOAT_EQ(w->LightTable()[17], 4.0f) << "4.25 eV lands at index 17";
    EXPECT_FLOAT_EQ(w->LightTable()[0], 2.0f);
    EXPECT_FLOAT_EQ(w->LightTable()[56], 6.0f);
    // n = 1 switches the power off, so the corrected yield is plotted as is.
    EXPECT_FLOAT_EQ(w->ValueY(0), float(((50.0 * 8) / 4.0) * 4.25 / 5.9));
    EXPECT_FLOAT_EQ(w->ValueY(1), 50.0f) << "no light value at 4.30 eV: left uncorrected";
    w->setAdjustFlag(false);
    EXPECT_FLOAT_EQ(w->ValueY(0), 50.0f);
}

TEST_F(Calibration, ThicknessComesFromTheCalibrationLinePlusTheShift)
{
    // The line: thickness 100 Å per decade, through its fit points only.
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName) Values (1,4,'Line');"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData,F_Flag) Values (1,1,10,100,True);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData,F_Flag) Values (2,1,100,200,True);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData,F_Flag) Values (3,1,1000,300,True);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData,F_Flag) Values (4,1,5000,999,False);"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,AdjustNo,Exp_Thick) Values (2,1,1,5);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData) Values (10,2,316.227766,0);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData) Values (11,2,0,77);"));

    auto c = loaded(QStringLiteral("2 C"));
    EXPECT_NEAR(c->Gradient(), 100.0f, 1e-3);
    EXPECT_NEAR(c->Intercept(), 0.0f, 1e-3);
    EXPECT_NEAR(scalar(QStringLiteral("Select aData From Datas Where SeqNo=10;")).toDouble(), 250.0, 1e-3);
    EXPECT_EQ(scalar(QStringLiteral("Select aData From Datas Where SeqNo=11;")).toDouble(), 0.0);
    EXPECT_NEAR(c->ValueZ(0), 250.0f, 1e-3);
    EXPECT_NEAR(c->ValueY(0), 255.0f, 1e-3) << "plotted with the shift";
    EXPECT_NEAR(c->Parameters(param::StatisticsFirst + 8).toFloat(), 125.0f, 1e-3) << "statistics read the stored thickness";

    // A line without fit points gives gradient and intercept 0, so every thickness is 0.
    exec(QStringLiteral("Update Datas Set F_Flag=False Where SerialNo=1;"));
    auto flat = loaded(QStringLiteral("2 C"));
    EXPECT_EQ(flat->Gradient(), 0.0f);
    EXPECT_EQ(scalar(QStringLiteral("Select Max(Abs(aData)) From Datas Where SerialNo=2;")).toDouble(), 0.0);
    EXPECT_FLOAT_EQ(flat->ValueY(0), 5.0f);
}

TEST_F(Calibration, LineCollectsItsMembersAndTheirPoints)
{
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName) Values (1,3,'Film A');"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName) Values (2,3,'Film B');"));
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes,SampleName) Values (3,4,'Line');"));
    exec(QStringLiteral("Insert Into Thicks(SeqNo,AdjNo,DataNo) Values (1,3,2);"));
    exec(QStringLiteral("Insert Into Thicks(SeqNo,AdjNo,DataNo) Values (2,3,1);"));
    exec(QStringLiteral("Insert Into Datas Values (1,1,590,0,0,1000,10,False,True);"));
    exec(QStringLiteral("Insert Into Datas Values (2,1,590,0,0,900,10,False,True);"));
    exec(QStringLiteral("Insert Into Datas Values (3,2,590,0,0,100,30,True,True);"));
    exec(QStringLiteral("Insert Into Datas Values (4,3,590,0,0,1,1,False,False);")); // stale point of the line
    {
        SqliteDatabase db(path);
        SqliteTransaction tx(db);
        rebuildCalibrationLinePoints(db, 3);
        tx.commit();
    }
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From Datas Where SerialNo=3;")).toInt(), 3);
    EXPECT_EQ(scalar(QStringLiteral("Select Group_Concat(EngData) From (Select EngData From Datas Where SerialNo=3 Order By SeqNo);")).toString(),
              QStringLiteral("3,1,2"));
    // The stale point's key was the highest, so it is free again.
    EXPECT_EQ(scalar(QStringLiteral("Select Min(SeqNo) From Datas Where SerialNo=3;")).toInt(), 4);

    auto t = loaded(QStringLiteral("3 T"));
    EXPECT_EQ(t->Parameters(param::CalibrationMembers).toInt(), 2);
    EXPECT_EQ(t->CalibDatasName(0), QStringLiteral("Film B"));
    EXPECT_EQ(t->CalibDatasSeqNo(1), QStringLiteral("1"));
    EXPECT_EQ(t->CalibDatasName(2), QString());
    ASSERT_EQ(t->DataCount(), 3);
    EXPECT_FLOAT_EQ(t->OrgValueX(0), 100.0f) << "ordered by counting rate";
    EXPECT_FLOAT_EQ(t->ValueX(0), 2.0f) << "plotted against log10 of the rate";
    // The point flagged as ground stays out of the line, leaving the two at 10 Å.
    EXPECT_NEAR(t->Gradient(), 0.0f, 1e-4);
    EXPECT_NEAR(t->Intercept(), 10.0f, 1e-4);

    // A new line starts from the latest line's settings, members included, without points.
    auto fresh = loaded(QStringLiteral("T"));
    EXPECT_EQ(fresh->Parameters(param::CalibrationMembers).toInt(), 2);
    EXPECT_EQ(fresh->DataCount(), 0);
}

TEST_F(Calibration, StatisticsMatchAnIndependentComputation)
{
    const double rates[] = {12.5, 80, 0, 430.25, 3};
    const double thick[] = {1, 2, 3, 4, 5.5};
    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes) Values (1,3);"));
    for (int i = 0; i < 5; ++i)
        exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData,aData) Values (%1,1,%2,%3);")
                 .arg(i + 1)
                 .arg(rates[i])
                 .arg(thick[i]));
    auto sd = [](const std::vector<double>& v) {
        const double mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        double s = 0;
        for (double x : v)
            s += (x - mean) * (x - mean);
        return std::sqrt(s / double(v.size() - 1));
    };
    std::vector<double> r(std::begin(rates), std::end(rates)), logs, t(std::begin(thick), std::end(thick));
    for (double x : r)
        logs.push_back(x > 0 ? std::log10(x) : -10);
    auto d = loaded(QStringLiteral("1 D"));
    const std::vector<double>* columns[] = {&r, &logs, &t};
    for (int q = 0; q < 3; ++q) {
        const auto& v = *columns[q];
        EXPECT_NEAR(d->Parameters(param::StatisticsFirst + 4 * q).toFloat(), std::accumulate(v.begin(), v.end(), 0.0) / 5, 1e-4) << q;
        EXPECT_FLOAT_EQ(d->Parameters(param::StatisticsFirst + 1 + 4 * q).toFloat(), float(*std::min_element(v.begin(), v.end()))) << q;
        EXPECT_FLOAT_EQ(d->Parameters(param::StatisticsFirst + 2 + 4 * q).toFloat(), float(*std::max_element(v.begin(), v.end()))) << q;
        EXPECT_NEAR(d->Parameters(param::StatisticsFirst + 3 + 4 * q).toFloat(), sd(v), 1e-4) << q;
    }

    exec(QStringLiteral("Insert Into Setting(SeqNo,Modes) Values (2,1);"));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,CpsData) Values (9,2,50);"));
    auto one = loaded(QStringLiteral("2 C"));
    EXPECT_FLOAT_EQ(one->Parameters(param::StatisticsFirst).toFloat(), 50.0f);
    EXPECT_FLOAT_EQ(one->Parameters(param::StatisticsFirst + 3).toFloat(), 0.0f) << "one point: the engine's Null becomes 0";
    EXPECT_FLOAT_EQ(one->Parameters(param::StatisticsFirst + 8).toFloat(), 0.0f);
}
