#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLevel.h"
#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "core/MessageCatalog.h"
#include "core/SystemParam.h"

#include "tests/support/RecordingReporter.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <vector>

using namespace tz4;
using tz4::test::RecordingReporter;

TEST(ErrorLevel, ClassifiesByTheNumberLists)
{
    for (int n : {6, 7, 57, 61, 70, 335, 338, 422, 425, 735, 31001, 35750, 35753, 35755, 35761})
        EXPECT_EQ(ErrorLevel(n), ErrorClass::System) << n;
    for (int n : {3, 5, 9, 13, 52, 53, 55, 91, 94, 380, 383, 393, 35600, 35607, 35613, 35754})
        EXPECT_EQ(ErrorLevel(n), ErrorClass::Application) << n;
    for (int n : {0, 1, 8, 56, 334, 339, 3376, 35608, 35749, 35762, 65535})
        EXPECT_EQ(ErrorLevel(n), ErrorClass::Trappable) << n;
}

TEST(ErrorLevel, FailuresOfThePlatformMapByMeaning)
{
    auto classify = [](auto thrower) {
        try {
            thrower();
        } catch (...) {
            return currentError();
        }
        return Tz4Error(0, {});
    };
    const Tz4Error memory = classify([] { throw std::bad_alloc(); });
    EXPECT_EQ(memory.number(), 7);
    EXPECT_EQ(ErrorLevel(memory.number()), ErrorClass::System);

    const Tz4Error missing = classify([] {
        throw std::filesystem::filesystem_error("open", "/x/y", std::make_error_code(std::errc::no_such_file_or_directory));
    });
    EXPECT_EQ(missing.number(), 53);
    EXPECT_EQ(ErrorLevel(missing.number()), ErrorClass::Application);

    const Tz4Error io = classify([] { throw std::system_error(std::make_error_code(std::errc::io_error)); });
    EXPECT_EQ(ErrorLevel(io.number()), ErrorClass::System);

    EXPECT_EQ(classify([] { throw std::out_of_range("index"); }).number(), 9);
    EXPECT_EQ(classify([] { throw Tz4Error(393, "read-only"); }).number(), 393);
    EXPECT_EQ(classify([] { throw 42; }).number(), 51);
}

class ErrorReportingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        setDataDirectory(home.path());
        InitSystemParam();
    }
    void TearDown() override { SystemParam().DebugMode = false; }

    QStringList logLines() const
    {
        QFile file(cautionLogPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(text.isEmpty() || text.endsWith("\r\n"));
        QStringList lines = text.split("\r\n");
        lines.removeLast();
        return lines;
    }

    QTemporaryDir home;
    RecordingReporter reporter;
};

TEST_F(ErrorReportingTest, ApplicationErrorShowsPrompt1004WithWindowLabelAndDescription)
{
    ShowErrorMessage("frmSample", "DeleteItem", Tz4Error(53, "File not found"));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, GetRes(1004, {"frmSample", "DeleteItem", "File not found"}));
    EXPECT_TRUE(reporter.shown[0].text.startsWith("Application Error : frmSample : DeleteItem \r\n Error : File not found"));
    EXPECT_EQ(reporter.shown[0].title, GetRes(1005));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(reporter.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(ErrorReportingTest, SystemErrorIsCriticalAndTrappableShowsOnlyInDebugMode)
{
    ShowErrorMessage("frmMain", "mnuDisp_Click(2)", Tz4Error(7, "Out of memory"));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].title, GetRes(1013));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::Critical);

    ShowErrorMessage("frmMain", "x", Tz4Error(3376, "no such table"));
    EXPECT_EQ(reporter.shown.size(), 1);

    SystemParam().DebugMode = true;
    ShowErrorMessage("frmMain", "x", Tz4Error(3376, "no such table"));
    ASSERT_EQ(reporter.shown.size(), 2);
    EXPECT_EQ(reporter.shown[1].text, GetRes(1024, {"frmMain", "x", "no such table"}));
    EXPECT_EQ(reporter.shown[1].title, GetRes(1023));
}

TEST_F(ErrorReportingTest, CautionLogLineForms)
{
    setErrorLocation("frmOpen:Form_Load");
    WriteCautionLog();
    setErrorLocation("modDataBase:MakeDB");
    const Tz4Error error(53, "File not found");
    WriteCautionLog({}, &error);
    WriteCautionLog("disk check");

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4);
    const QString stamp = generalDate(QDateTime::currentDateTime()).section(' ', 0, 0);
    EXPECT_TRUE(lines[0].startsWith(stamp + ' '));
    EXPECT_TRUE(QRegularExpression("^.+ \\d?\\d:\\d\\d:\\d\\d : - : frmOpen:Form_Load : No Error$").match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(QRegularExpression("^.+ \\d?\\d:\\d\\d:\\d\\d : 53 : modDataBase:MakeDB : File not found$").match(lines[1]).hasMatch())
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(" : - : modDataBase:MakeDB : No Error"));
    EXPECT_EQ(lines[3], "Message : disk check");

    EXPECT_TRUE(clearCautionLog());
    EXPECT_FALSE(QFile::exists(cautionLogPath()));
}

TEST_F(ErrorReportingTest, TrappedProcedureSkipsFailingStatementsAndLogsTheLastErrorOnce)
{
    std::vector<int> ran;
    ErrorTrap trap;
    EnterProcedure here("clsTz4DataSet:Parameters(Let)");
    trap.run([&] { ran.push_back(1); });
    trap.run([&] { throw Tz4Error(13, "Type mismatch"); });
    trap.run([&] { ran.push_back(3); });
    trap.run([&] { throw Tz4Error(9, "Subscript out of range"); });
    EXPECT_FALSE(trap.finish());
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(" : 9 : clsTz4DataSet:Parameters(Let) : Subscript out of range"));

    EXPECT_TRUE(runLogged([] {}));
    EXPECT_EQ(logLines().size(), 1);
}

TEST_F(ErrorReportingTest, ReportedProcedureStopsAtTheFirstFailure)
{
    int after = 0;
    const bool ok = runReported("frmSample", "ClearTrush", [&] {
        throw Tz4Error(70, "Permission denied");
        ++after;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(after, 0);
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_TRUE(reporter.shown[0].text.contains("frmSample : ClearTrush"));
    EXPECT_FALSE(QFile::exists(cautionLogPath()));
}

TEST_F(ErrorReportingTest, DebugModeTrapsNothing)
{
    SystemParam().DebugMode = true;
    EXPECT_THROW(runLogged([] { throw Tz4Error(53, "File not found"); }), Tz4Error);
    EXPECT_THROW(runReported("w", "l", [] { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_TRUE(reporter.shown.isEmpty());
    EXPECT_FALSE(QFile::exists(cautionLogPath()));
}
