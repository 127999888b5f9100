#include "tests/datawin/MeasurementFixture.h"
#include "tests/data/HeldDatabase.h"

#include "core/CautionLog.h"
#include "core/MessageCatalog.h"
#include "core/RecordParameters.h"
#include "core/SystemParam.h"
#include "data/DatabaseSetup.h"
#include "data/Tz4DataSet.h"
#include "datawin/MeasurementControl.h"

#include <QDir>
#include <QFileInfo>

using namespace tz4;

namespace {

// A short scan on the simulator with a real database, where a test injects instrument faults.
class MeasurementFaults : public test::MeasurementFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(startWithDatabase());
        record.setDataBaseName(SystemParam().DatabasePath);
        attach(QStringLiteral("W"));
        reporter.shown.clear();
    }

    void fault(sim::FaultPlan::Kind kind, const QByteArray& command, int number = 0)
    {
        line->inner.simulator().faults().add({kind, number, command});
    }

    QString cautionLog() const
    {
        QFile file(cautionLogPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

} // namespace

TEST_F(MeasurementFaults, RefusedCommandsAreShownWithTheSaveQuestionAndLogged)
{
    fault(sim::FaultPlan::Kind::Error, "GS", 16);
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::SavedWithErrors);
    EXPECT_EQ(record.Key(), QStringLiteral("1 W")) << "the procedure goes on, as the instrument's own program did";

    const auto& question = reporter.shown.last();
    EXPECT_EQ(question.title, QStringLiteral("Finished"));
    EXPECT_TRUE(question.text.startsWith(QStringLiteral("The instrument reported "))) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(QStringLiteral("GS1 -> ERROR 16 (TZ4 Command Value Range Over)")));
    EXPECT_TRUE(question.text.endsWith(QStringLiteral("Measrement Done.\r\nSave this Data?")));

    const QString log = cautionLog();
    EXPECT_TRUE(log.contains(QStringLiteral(" : 16 : frmData:mnuMeas_Click : TZ4 Command Value Range Over")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("Instrument command failed: GS1 -> ERROR 16")));
}

TEST_F(MeasurementFaults, LineNoiseInAnAcknowledgementCountsAsAFailure)
{
    fault(sim::FaultPlan::Kind::Garbage, "TS");
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::SavedWithErrors);
    EXPECT_TRUE(reporter.shown.last().text.contains(QStringLiteral("TS0100 -> unreadable reply [")));
    EXPECT_FALSE(body->commandFailures().isEmpty());
}

TEST_F(MeasurementFaults, ACleanRunAsksThePlainQuestion)
{
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::Saved);
    EXPECT_EQ(reporter.shown.last().text, QStringLiteral("Measrement Done.\r\nSave this Data?"));
    EXPECT_TRUE(body->commandFailures().isEmpty());
}

TEST_F(MeasurementFaults, AnInstrumentThatStopsAnsweringIsNotACancel)
{
    control->setDisplayRefresh([&] {
        if (record.DataCount() == 2)
            fault(sim::FaultPlan::Kind::NoReply, {});
    });
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::LinkLost);
    EXPECT_TRUE(body->LinkLost());
    EXPECT_EQ(record.Key(), QStringLiteral("W")) << "nothing is stored";
    for (const auto& shown : reporter.shown)
        EXPECT_NE(shown.title, QStringLiteral("Finished")) << "no save question";
    EXPECT_TRUE(reporter.shown.last().text.startsWith(QStringLiteral("The instrument stopped answering: ")))
        << reporter.shown.last().text.toStdString();
    EXPECT_TRUE(reporter.shown.last().text.contains(QStringLiteral("no reply within the time-out")))
        << reporter.shown.last().text.toStdString();
    EXPECT_TRUE(cautionLog().contains(QStringLiteral(" : 1 : frmData:mnuMeas_Click : RS232C Receive Time Out")));
    EXPECT_FALSE(body->Busy());
}

// A busy computer may notice a device that went away only after a command's time-out: the
// report names both, whichever came first.
TEST_F(MeasurementFaults, ALostLinkNamesTheLinesCauseAndTheCommandThatTimedOut)
{
    control->setDisplayRefresh([&] {
        if (record.DataCount() == 2) {
            fault(sim::FaultPlan::Kind::NoReply, {});
            line->cause = QStringLiteral("the serial device /dev/ttyUSB0 was closed or removed");
        }
    });
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::LinkLost);
    const QString lost = reporter.shown.last().text;
    EXPECT_TRUE(lost.startsWith(QStringLiteral("The instrument stopped answering: the serial device /dev/ttyUSB0 "
                                               "was closed or removed (")))
        << lost.toStdString();
    EXPECT_TRUE(lost.contains(QStringLiteral("-> no reply within the time-out, setting the photon energy)"))) << lost.toStdString();
}

TEST_F(MeasurementFaults, AJapaneseOperatorIsToldInJapaneseWhileTheLogStaysEnglish)
{
    setLanguage(Language::Japanese);
    struct Restore {
        ~Restore() { setLanguage(Language::English); }
    } restore;

    fault(sim::FaultPlan::Kind::Error, "GS", 16);
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::SavedWithErrors);
    const QString question = reporter.shown.last().text;
    EXPECT_TRUE(question.startsWith(QStringLiteral("装置からコマンドの失敗が "))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("GS1 -> ERROR 16")));

    line->inner.simulator().faults().clear();
    control->setDisplayRefresh([&] {
        if (record.DataCount() == 2)
            fault(sim::FaultPlan::Kind::NoReply, {});
    });
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::LinkLost);
    const QString lost = reporter.shown.last().text;
    EXPECT_TRUE(lost.startsWith(QStringLiteral("装置が応答しなくなりました: "))) << lost.toStdString();
    EXPECT_TRUE(lost.endsWith(QStringLiteral("。データは保存されていません。"))) << lost.toStdString();
    const QString log = cautionLog();
    EXPECT_TRUE(log.contains(QStringLiteral("The instrument stopped answering: "))) << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("装置")));
}

TEST_F(MeasurementFaults, AMeasurementTheDatabaseDoesNotTakeIsStoredOnAnotherTryOrWrittenToAFile)
{
    using namespace std::chrono_literals;
    const test::ScopedDatabaseWait wait(300ms);
    const QString directory = QFileInfo(SystemParam().DatabasePath).absolutePath();
    auto holder = std::make_unique<test::LockHolder>(SystemParam().DatabasePath);
    ASSERT_TRUE(holder->locked());

    // Two tries while another program holds the database, the third after it let go.
    int tries = 0;
    reporter.decide = [&](const test::RecordingReporter::Shown& asked) {
        if (asked.text.contains(QStringLiteral("Try to store it again?")) && ++tries == 2)
            holder.reset();
        return MessageAnswer::Yes;
    };
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::Saved);
    EXPECT_EQ(tries, 2);
    EXPECT_EQ(record.Key(), QStringLiteral("1 W"));
    EXPECT_TRUE(reporter.shown[reporter.shown.size() - 2].text.contains(QStringLiteral("in use by another program")))
        << reporter.shown[reporter.shown.size() - 2].text.toStdString();

    // Held throughout, and the operator asks for the file: it lies beside the database, and the
    // box says where.
    attach(QStringLiteral("W"));
    holder = std::make_unique<test::LockHolder>(SystemParam().DatabasePath);
    ASSERT_TRUE(holder->locked());
    reporter.decide = [](const test::RecordingReporter::Shown& asked) {
        return asked.text.contains(QStringLiteral("Try to store it again?")) ? MessageAnswer::No : MessageAnswer::Yes;
    };
    EXPECT_EQ(control->Measure(), MeasurementControl::Outcome::WrittenToExchangeFile);
    const QString file = control->lastStore().exchangeFile;
    EXPECT_EQ(QFileInfo(file).absolutePath(), directory);
    EXPECT_TRUE(QFileInfo(file).size() > 0);
    EXPECT_TRUE(reporter.shown.last().text.contains(QDir::toNativeSeparators(file))) << reporter.shown.last().text.toStdString();
    holder.reset();
    clsTz4DataSet second;
    second.setDataBaseName(SystemParam().DatabasePath);
    second.setKey(QStringLiteral("2 W"));
    second.ReLoad();
    EXPECT_EQ(second.DataCount(), 0) << "the file is the only copy until it is imported";
}
