#include "tests/datawin/MeasurementFixture.h"

#include "core/MessageCatalog.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSet.h"
#include "datawin/LightSignal.h"
#include "datawin/MeasurementControl.h"
#include "core/RecordParameters.h"

using namespace tz4;

namespace {

// The start checks of a measurement, each test spoiling one setting of a record that passes.
class MeasurementStart : public test::MeasurementFixture {
protected:
    void SetUp() override { open(QStringLiteral("W")); }

    void open(const QString& kind, const sim::SimOptions& options = {})
    {
        start(options);
        ASSERT_EQ(main->GetBodyStatus(), MainControl::Ready);
        reporter.shown.clear();
        attach(kind);
    }

    // The refusal's "title: text" (its catalogue line), or "started" when every check passed.
    QString check()
    {
        reporter.shown.clear();
        if (control->CheckMeasStart())
            return QStringLiteral("started");
        EXPECT_EQ(reporter.shown.size(), 1);
        return reporter.shown.isEmpty()
            ? QString()
            : reporter.shown[0].title + QStringLiteral(": ") + reporter.shown[0].text.section(QStringLiteral("\r\n"), 0, 0);
    }

    // The sentence under the last refusal: which value, which rule.
    QString because() const
    {
        return reporter.shown.isEmpty() ? QString() : reporter.shown.last().text.section(QStringLiteral("\r\n"), 1);
    }
};

const QString Started = QStringLiteral("started");
const QString EnergyRefused = QStringLiteral("Measure Energy is Out of Range: Measure Energy is Out of Range");
const QString UvRefused = QStringLiteral("UV Intensity is Out of Range: UV Intensity is Out of Range");
const QString AnodeRefused = QStringLiteral("Anode Voltage Not Setting: Set the Anode Voltage.");

} // namespace

TEST_F(MeasurementStart, AWorkFunctionRecordIsCheckedInOrder)
{
    EXPECT_EQ(check(), Started);

    record.setParameters(param::CountingTime, 0);
    EXPECT_EQ(check(), QStringLiteral("Counting Time None: Set the Counting Time."));
    EXPECT_EQ(because(), QStringLiteral("The counting time must be at least 2 s, not 0."));
    record.setParameters(param::MeasuredLight, 5.0f);
    EXPECT_EQ(check(), UvRefused);
    EXPECT_TRUE(because().startsWith(QStringLiteral("The UV intensity 5 nW must lie within 80 to 120 % of the target 10 nW (8 to 12 nW)"))) << because();
    record.setParameters(param::EnergyStep, 0.03f);
    EXPECT_EQ(check(), EnergyRefused);
    EXPECT_EQ(because(), QStringLiteral("The step 0.03 eV does not divide the range 5 to 5.5 eV into whole steps."));
    control->setLocation(std::nullopt);
    EXPECT_EQ(check(), QStringLiteral("Location Not Set: Set the Location."));
    record.setParameters(param::SampleName, QString());
    EXPECT_EQ(check(), QStringLiteral("Sample Name None: Enter the Sample Name."));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::Information);
}

TEST_F(MeasurementStart, TheUvBandAndTheAnodeVoltageIncludeTheirBounds)
{
    record.setParameters(param::TargetLight, 100.0f);
    for (float inside : {80.0f, 120.0f, 100.0f}) {
        record.setParameters(param::MeasuredLight, inside);
        EXPECT_EQ(check(), Started) << inside;
    }
    for (float outside : {79.9f, 120.1f}) {
        record.setParameters(param::MeasuredLight, outside);
        EXPECT_EQ(check(), UvRefused) << outside;
    }
    record.setParameters(param::MeasuredLight, 100.0f);

    body->setHV_Volts(2500);
    EXPECT_EQ(check(), AnodeRefused);
    EXPECT_TRUE(because().startsWith(QStringLiteral("The anode voltage is 2500 V; a measurement needs 2501 V or more"))) << because();
    body->setHV_Volts(2501);
    EXPECT_EQ(check(), Started);
}

TEST_F(MeasurementStart, EachKindHasItsOwnChecks)
{
    record.setKey(QStringLiteral("C"));
    for (float energy : {3.4f, 6.8f}) {
        record.setParameters(param::FixedEnergy, energy);
        EXPECT_EQ(check(), Started) << energy;
    }
    for (float energy : {3.39f, 6.81f}) {
        record.setParameters(param::FixedEnergy, energy);
        EXPECT_EQ(check(), EnergyRefused) << energy;
        EXPECT_TRUE(because().contains(QStringLiteral("outside the instrument's range 3.4 to 6.8 eV"))) << because();
    }
    record.setParameters(param::FixedEnergy, 5.9f);

    record.setKey(QStringLiteral("D"));
    record.setParameters(param::CalibrationShift, -1.0f);
    EXPECT_EQ(check(), QStringLiteral("Thickness None: Input for Thickness"));
    EXPECT_EQ(because(), QStringLiteral("The sample thickness must not be negative, not -1."));
    record.setParameters(param::CalibrationShift, 0.0f);
    EXPECT_EQ(check(), Started);

    // The light correction needs neither a counting time nor an anode voltage.
    record.setKey(QStringLiteral("L"));
    record.setParameters(param::CountingTime, 0);
    body->setHV_Volts(2500);
    EXPECT_EQ(check(), Started);
    record.setParameters(param::EnergyStep, 0.03f);
    EXPECT_EQ(check(), EnergyRefused);

    record.setKey(QStringLiteral("T"));
    record.setParameters(param::MeasuredLight, 0.0f);
    EXPECT_EQ(check(), Started);
}

TEST(LightSignal, ColoursTheIntensityAgainstItsTarget)
{
    const quint32 red = basicColour(12), yellow = basicColour(14), green = basicColour(10);
    EXPECT_EQ(GetLightSignal(80.0f, 100.0f), red);
    EXPECT_EQ(GetLightSignal(80.01f, 100.0f), yellow);
    EXPECT_EQ(GetLightSignal(95.0f, 100.0f), yellow);
    EXPECT_EQ(GetLightSignal(95.01f, 100.0f), green);
    EXPECT_EQ(GetLightSignal(104.99f, 100.0f), green);
    EXPECT_EQ(GetLightSignal(105.0f, 100.0f), yellow);
    EXPECT_EQ(GetLightSignal(120.0f, 100.0f), red);
    EXPECT_EQ(GetLightSignal(0.0f, 0.0f), red);
}

TEST_F(MeasurementStart, DefaultsAreMadeOncePerWindow)
{
    record.setExpLog(true);
    record.setParameters(param::PowerNumber, 0.5f);
    control->MakeMeasDefault(record.Key());
    EXPECT_EQ(record.Parameters(param::SampleName).toString(), QStringLiteral("NewSample"));
    EXPECT_EQ(record.Parameters(param::AnodeVoltage).toInt(), body->HV_Volts());
    EXPECT_EQ(record.Parameters(param::MeasuredLight).toFloat(), body->LastLight());
    EXPECT_EQ(record.GraphX(0), 5.0f);
    EXPECT_EQ(record.GraphX(1), 5.5f);
    EXPECT_EQ(record.GraphY(1), 45.0f) << "2000 to the power 0.5, rounded";
    EXPECT_EQ(record.GraphY(2), 4.5f);

    record.setParameters(param::SampleName, QStringLiteral("Gold"));
    control->MakeMeasDefault(record.Key());
    EXPECT_EQ(record.Parameters(param::SampleName).toString(), QStringLiteral("Gold"));
}

TEST_F(MeasurementStart, AMeasurementIsStoredOnlyWhenTheSaveQuestionIsAnsweredYes)
{
    ASSERT_TRUE(createDatabaseIfMissing(home.path()));
    InitSystemParam();
    record.setDataBaseName(SystemParam().DatabasePath);

    int refreshes = 0;
    control->setDisplayRefresh([&] { ++refreshes; });
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::Saved);
    EXPECT_EQ(record.Key(), QStringLiteral("1 W"));
    EXPECT_EQ(record.DataCount(), 6);
    EXPECT_GE(refreshes, 6);
    EXPECT_FALSE(control->measuring());
    EXPECT_EQ(status.Locked(), 0) << "the bar is given back";
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("Measrement Done.\r\nSave this Data?"));
    EXPECT_EQ(reporter.shown.last().title, QStringLiteral("Finished"));

    clsTz4DataSet next;
    next.setDataBaseName(SystemParam().DatabasePath);
    next.setKey(QStringLiteral("W"));
    control.reset();
    control = std::make_unique<MeasurementControl>(*main, next);
    control->setLocation(0);
    next.setParameters(param::SampleName, QStringLiteral("Silver"));
    next.setParameters(param::MeasuredLight, 10.0f);
    test::RecordingReporter declining(MessageAnswer::No);
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::NotSaved);
    EXPECT_EQ(next.Key(), QStringLiteral("W"));
}

TEST_F(MeasurementStart, AnOpenDoorStopsTheMeasurementBeforeItStarts)
{
    line->inner.simulator().faults().add({sim::FaultPlan::Kind::DoorOpen, 0, {}});
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::Refused);
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, QStringLiteral("The door of the sample chamber is open."));
    EXPECT_EQ(reporter.shown[0].title, QStringLiteral("Measurement"));
    EXPECT_EQ(record.DataCount(), 0);
    EXPECT_FALSE(control->AdjustUvIntensity());
}

TEST_F(MeasurementStart, CancellingOnceStopsTheScanWithoutASaveQuestion)
{
    const auto enabledItems = [&] {
        QList<int> items;
        for (const auto& item : control->MeasMenuEnabled())
            if (item.enabled)
                items << item.index * 1000 + item.captionId;
        return items;
    };
    EXPECT_EQ(enabledItems(), (QList<int>{209, 2246, 4231, 5260, 6234, 8232}));
    QList<int> whileRunning;
    control->setDisplayRefresh([&] {
        whileRunning = enabledItems();
        if (record.DataCount() == 2) {
            control->CancelMeasurement();
            control->CancelMeasurement();
        }
    });
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::Cancelled);
    EXPECT_EQ(record.DataCount(), 2);
    EXPECT_TRUE(body->Canceled());
    EXPECT_FALSE(control->cancelPending());
    EXPECT_EQ(control->measurementCaptionId(), 246);
    for (const auto& shown : reporter.shown)
        EXPECT_NE(shown.title, QStringLiteral("Finished"));
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("Proccess abort"));
    EXPECT_EQ(whileRunning, QList<int>{2248}) << "only the cancel while a scan runs";
    EXPECT_EQ(enabledItems().size(), 6);
}

TEST_F(MeasurementStart, TheUvIntensityAndTheAnodeVoltageAreSetForTheRecord)
{
    record.setParameters(param::TargetLight, 20.0f);
    record.setParameters(param::MeasuredLight, 0.0f);
    EXPECT_TRUE(control->AdjustUvIntensity());
    EXPECT_EQ(reporter.shown.first().text, QStringLiteral("Set the UV intensity at20nW. \r\nOK?"));
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("UV intensity adjustment done."));
    EXPECT_NEAR(record.Parameters(param::MeasuredLight).toFloat(), 20.0f, 0.5f);
    EXPECT_EQ(check(), Started);

    record.setParameters(param::AnodeVoltage, 0);
    EXPECT_TRUE(control->SetAnodeVoltage());
    EXPECT_GE(record.Parameters(param::AnodeVoltage).toInt(), 2501);
    EXPECT_EQ(record.Parameters(param::AnodeVoltage).toInt(), body->HV_Volts());
}

TEST_F(MeasurementStart, AnAdjustmentThatMissesItsTargetIsNeverCalledDone)
{
    // More light than the lamp gives with the iris wide open.
    record.setParameters(param::TargetLight, 5000.0f);
    EXPECT_FALSE(control->AdjustUvIntensity());
    QStringList texts;
    for (const auto& shown : reporter.shown)
        texts << shown.text;
    EXPECT_TRUE(texts.last().startsWith(QStringLiteral("UV Intensity Adjustment Failed."))) << texts.join(QLatin1Char('|'));
    EXPECT_FALSE(texts.contains(QStringLiteral("UV intensity adjustment done.")));
    EXPECT_EQ(record.Parameters(param::MeasuredLight).toFloat(), 0.0f);
}

TEST_F(MeasurementStart, SettingsTheRecordCannotHoldAreRefusedInTheOperatorsLanguage)
{
    record.setParameters(param::SampleName, QString(81, QLatin1Char('x')));
    EXPECT_EQ(check(),
              QStringLiteral("Measurement: The sample name has 81 characters; the database holds at most 80."));

    record.setParameters(param::SampleName, QStringLiteral("Gold"));
    record.setParameters(param::CountingTime, -5);
    setLanguage(Language::Japanese);
    check();
    const QString japanese = reporter.shown.isEmpty() ? QString() : reporter.shown[0].text;
    setLanguage(Language::English);
    EXPECT_TRUE(japanese.endsWith(QStringLiteral("\r\n計数時間は 2 秒以上にしてください (-5 は使えません)。")))
        << japanese.toStdString();
}
