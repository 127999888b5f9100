#include "tests/mainwin/MainWindowFixture.h"

#include "data/Tz4DataSet.h"
#include "mainwin/MeasurementOwner.h"
#include "core/RecordParameters.h"

using namespace tz4;

namespace {

class CountingOwner final : public MeasurementOwner {
public:
    int refreshes = 0;
    int cancels = 0;
    void RefreshDisplay() override { ++refreshes; }
    void MeasProcCanceled() override { ++cancels; }
};

// The handlers fed with events as the procedures raise them, on a record of the given kind
// held by a window, with the bar under the measurements' owner code.
class ProcessEvents : public test::MainWindowFixture {
protected:
    void attach(const QString& kind)
    {
        start();
        record.setKey(kind);
        body->setSetDatas(&record);
        body->setLocked(&window);
        status.setLocked(1);
    }

    QString lastLogRecord() const { return serialLog().section(QString(57, QLatin1Char('#')), -1); }

    clsTz4DataSet record;
    CountingOwner window;
};

} // namespace

TEST_F(ProcessEvents, ACountingRateRunFillsTheRecordAndABarOfCountPlusThreeSteps)
{
    attach(QStringLiteral("C"));
    record.setParameters(param::MeasureCount, 10);
    // A shift is set, so the point's zero below shows the rule and not an unset value.
    record.setParameters(param::CalibrationShift, 2.5f);
    record.setDataCount(2);

    body->ProcCps(0, {}, {});
    EXPECT_EQ(record.DataCount(), 0);
    EXPECT_EQ(status.Max(), 13.0f);
    EXPECT_EQ(status.Value(), 1.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Counting Rate]:Initialize Finished"));

    body->ProcCps(1, 5.9f, 14.5f);
    EXPECT_EQ(status.Value(), 2.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Counting Rate]:Back Ground (5.90eV : 14.5cps)"));
    EXPECT_EQ(record.Parameters(param::BackgroundCps).toFloat(), 14.0f) << "stored as a whole number, halves to even";

    for (int i = 1; i <= 10; ++i)
        body->ProcCps(2, i, 100.25f + i);
    EXPECT_EQ(status.Value(), 12.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Counting Rate]:Processing (10 : 110.3cps)"));
    ASSERT_EQ(record.DataCount(), 10);
    EXPECT_EQ(record.OrgValueX(0), 1.0f);
    EXPECT_EQ(record.OrgValueY(9), 110.25f);
    EXPECT_EQ(record.ValueZ(0), 0.0f) << "only calibration data carry the shift";
    EXPECT_EQ(window.refreshes, 10);

    body->ProcCps(3, {}, {});
    EXPECT_EQ(status.Value(), 13.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Counting Rate]:Finished"));
    EXPECT_TRUE(lastLogRecord().contains(QStringLiteral("]\r\nTZ4 Cps Measurement Success\r\n\r\n")));
    EXPECT_TRUE(reporter.shown.isEmpty());
}

TEST_F(ProcessEvents, CalibrationDataPointsCarryTheCalibrationShift)
{
    attach(QStringLiteral("D"));
    record.setParameters(param::CalibrationShift, 250.0f);
    body->ProcCps(0, {}, {});
    body->ProcCps(2, 1, 50.0f);
    body->ProcCps(2, 2, 52.0f);
    EXPECT_EQ(record.ValueZ(0), 250.0f);
    EXPECT_EQ(record.ValueZ(1), 250.0f);
}

TEST_F(ProcessEvents, AWorkFunctionScanAppendsPointsAndReportsItsEnd)
{
    attach(QStringLiteral("W"));
    record.setParameters(param::StartEnergy, 4.0f);
    record.setParameters(param::FinishEnergy, 6.0f);
    record.setParameters(param::EnergyStep, 0.05f);
    body->ProcWork(0, {}, {});
    EXPECT_EQ(status.Max(), 43.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Work Function]:Initialize"));

    body->ProcWork(1, 4.0f, 12.25f);
    EXPECT_EQ(record.Parameters(param::BackgroundCps).toFloat(), 12.25f);
    body->ProcWork(2, 4.25, 33.34f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Work Function]:Processing (4.25eV : 33.3cps)"));
    EXPECT_EQ(record.DataCount(), 1);
    EXPECT_EQ(record.OrgValueX(0), 4.25f);

    body->ProcWork(3, {}, {});
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("The measurement is done."));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Measurment finished"));
    EXPECT_TRUE(lastLogRecord().contains(QStringLiteral("TZ4 Work Function Measurement Success")));
}

TEST_F(ProcessEvents, ACancelFillsTheBarLogsTheTrafficAndTellsTheWindow)
{
    attach(QStringLiteral("W"));
    body->setSerialLog(QStringLiteral("[XO1      (10)    ] -> [OK]\r\n"));
    status.setMax(20);
    body->ProcWork(5, {}, {});
    EXPECT_EQ(status.Value(), 20.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Work Function]:Cancel"));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("Proccess abort"));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Photoelectric Work Function"));
    EXPECT_EQ(window.cancels, 1);
    EXPECT_TRUE(lastLogRecord().endsWith(QStringLiteral(
        "TZ4 Work Function Measurement 'System' Or 'User' Detected Cancel\r\n[XO1      (10)    ] -> [OK]\r\n\r\n\r\n")));

    body->ProcCps(5, {}, {});
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("Counting Rate"));
    EXPECT_EQ(window.cancels, 2);
    body->ProcLight(5, {}, {});
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("Quantity of light correction coefficient"));
    EXPECT_EQ(window.cancels, 3);
}

TEST_F(ProcessEvents, RefusalsAlwaysTellButOnlyTheOwnerWritesTheBar)
{
    attach(QStringLiteral("C"));
    status.setLocked(2);
    status.setCaption(QStringLiteral("someone else"));
    body->ProcCps(12, {}, {});
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("Interruputed. Now another program being processed."));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Proccess abort"));
    EXPECT_EQ(status.Caption(), QStringLiteral("someone else"));
    EXPECT_TRUE(lastLogRecord().contains(QStringLiteral("TZ4 Process Busy To Canceled")));

    body->ProcWork(0, {}, {});
    EXPECT_EQ(status.Caption(), QStringLiteral("someone else"));

    status.setLocked(1);
    body->ProcThick(12, {}, {});
    EXPECT_EQ(status.Caption(), QStringLiteral("TZ-4 Busy"));
    body->ProcVolts(13, {}, {});
    EXPECT_EQ(status.Caption(), QStringLiteral("No Connect"));
    EXPECT_EQ(reporter.shown.size(), 2) << "no connection is not a message box";
    EXPECT_TRUE(lastLogRecord().contains(QStringLiteral("TZ4 No Connct To Send Command")));
}

TEST_F(ProcessEvents, LightCorrectionKeepsTheDarkLevelAndPowers)
{
    attach(QStringLiteral("L"));
    body->ProcLight(1, 0.5f, {});
    EXPECT_EQ(status.Caption(), QStringLiteral("[Quantity of light correction coefficient]:Back Ground (0.5nW)"));
    EXPECT_EQ(record.Parameters(param::BackgroundCps).toFloat(), 0.5f);
    body->ProcLight(2, 5.0, 12.34f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Quantity of light correction coefficient]:Processing (5.00eV : 5.00nW)"));
    EXPECT_EQ(record.OrgValueY(0), 12.34f);
}

TEST_F(ProcessEvents, UvIntensityAndAnodeResultsAreStoredOrCleared)
{
    attach(QStringLiteral("W"));
    body->ProcSetLight(0, {}, {});
    EXPECT_EQ(status.Max(), 4.0f);
    body->ProcSetLight(2, 49.96f, 456);
    EXPECT_EQ(status.Caption(), QStringLiteral("[UV Intensity adjustment]:Processing (456 : 50.0nW)"));
    body->ProcSetLight(3, 49.95f, 456);
    EXPECT_EQ(record.Parameters(param::MeasuredLight).toFloat(), 49.95f);
    EXPECT_TRUE(lastLogRecord().contains(
        QStringLiteral("]\r\nTZ4 Light Data Set Process Success\r\nEyemax = 456\r\nPower = 49.95nW\r\n\r\n")));

    body->ProcSetLight(11, 47.0f, 990);
    EXPECT_EQ(record.Parameters(param::MeasuredLight).toFloat(), 0.0f);
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("UV Intensity Adjustment Failed.\r\nUV Intensity=47nW"));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("UV Intensity adjustment"));

    body->ProcVolts(0, {}, {});
    EXPECT_EQ(status.Max(), 50.0f);
    EXPECT_EQ(status.Value(), 0.0f);
    body->ProcVolts(2, 2500, 3.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Anode Voltage]:Processing (2500V :3.0cps)"));
    EXPECT_EQ(status.Value(), 1.0f);
    body->ProcVolts(3, 2870, 12.0f);
    EXPECT_EQ(record.Parameters(param::AnodeVoltage).toInt(), 2870);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Anode Voltage]:Finished (2870)"));
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("Measurment finished"));
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("Anode Voltage"));

    body->ProcVolts(4, {}, {});
    EXPECT_EQ(record.Parameters(param::AnodeVoltage).toInt(), 0);
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("Sensor Trouble."));
}

TEST_F(ProcessEvents, ACalibrationFinishAsksBeforeTakingTheShift)
{
    attach(QStringLiteral("C"));
    record.setParameters(param::CalibrationThickness, 150.0f);
    record.setParameters(param::CalibrationShift, 7.0f);
    {
        test::RecordingReporter declining(MessageAnswer::No);
        body->ProcThick(3, 12.345f, 123.46f);
        ASSERT_EQ(declining.shown.size(), 2);
        EXPECT_EQ(declining.shown[0].text,
                  QStringLiteral("Calibrate by this Data.\r\nCounting Rate Avarage=123.5\r\nLog. Counting Rate Avarage=2.09\r\n"
                                 "Thickness of Calibration Sample=150.00\r\nShift of Calibration Line=12.35"));
        EXPECT_EQ(declining.shown[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(declining.shown[1].text, QStringLiteral("Calibration Finished"));
        EXPECT_EQ(record.Parameters(param::CalibrationShift).toFloat(), 7.0f);
    }
    test::RecordingReporter accepting(MessageAnswer::Yes);
    body->ProcThick(3, 12.345f, 123.46f);
    EXPECT_EQ(record.Parameters(param::CalibrationShift).toFloat(), 12.345f);

    body->ProcThick(3, 0, 0);
    ASSERT_EQ(accepting.shown.size(), 3);
    EXPECT_EQ(accepting.shown[2].text, QStringLiteral("Calibration Finished")) << "a zero result asks nothing";
}

TEST_F(ProcessEvents, LightAdjusterStepsShowTheirValues)
{
    attach(QStringLiteral("W"));
    body->ProcBase(0, {}, {});
    EXPECT_EQ(status.Max(), 6.0f);
    body->ProcBase(7, 0.42f, {});
    EXPECT_EQ(status.Caption(), QStringLiteral("[Light Adjuster]:Processing1 (0.4nW)"));
    body->ProcBase(9, 456, {});
    EXPECT_EQ(status.Value(), 4.0f);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Light Adjuster]:Processing3 (456)"));
    body->ProcBase(2, 3, 101.25);
    EXPECT_EQ(status.Caption(), QStringLiteral("[Light Adjuster]:Now Processing (3 : 101.3nW)"));
    body->ProcBase(3, 456, {});
    EXPECT_TRUE(lastLogRecord().contains(QStringLiteral(
        "]\r\nTZ4 Light Base Data Process Sucsess\r\nEyemax = 456\r\nF1.Min = 0.00nW,F1.Max = 0.00nW\r\n")));
    EXPECT_TRUE(lastLogRecord().contains(QStringLiteral("\r\nF4.Min = 0.00nW,F4.Max = 0.00nW\r\n\r\n")));
}
