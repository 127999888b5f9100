#include "core/CautionLog.h"
#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"
#include "core/MessageCatalog.h"
#include "core/Startup.h"
#include "core/SystemFile.h"
#include "core/SystemParam.h"

#include "tests/support/RecordingReporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tz4;
using tz4::test::RecordingReporter;

TEST(PlatformCheck, LinuxMacOsAndWindows10AreSupported)
{
    EXPECT_TRUE(platformSupported(QOperatingSystemVersion::current(), true));
    EXPECT_TRUE(platformSupported(QOperatingSystemVersion::Windows10, false));
    EXPECT_TRUE(platformSupported(QOperatingSystemVersion::Windows11, false));
    EXPECT_TRUE(platformSupported(QOperatingSystemVersion::MacOSMonterey, false));
    EXPECT_FALSE(platformSupported(QOperatingSystemVersion::Windows7, false));
    EXPECT_FALSE(platformSupported(QOperatingSystemVersion(QOperatingSystemVersion::Unknown, 1), false));
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid()); }

    QString home() const { return temp.filePath("home"); }

    QByteArray log() const
    {
        QFile file(QDir(home()).filePath("Caution.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir temp;
    RecordingReporter reporter;
};

TEST_F(StartupTest, CreatesTheDirectoryAndAFreshLogNamingTheStartUp)
{
    QDir().mkpath(home());
    {
        QFile old(QDir(home()).filePath("Caution.log"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("entry of the last run\r\n");
    }
    QStringList hookCalls;
    Startup startup([&](const QString& dir) {
        hookCalls << dir;
        setErrorLocation("modDataBase:MakeDB");
        const Tz4Error failure(61, "Disk full");
        WriteCautionLog({}, &failure);
        return true;
    });
    ASSERT_TRUE(startup.run(home()));
    EXPECT_TRUE(reporter.shown.isEmpty());
    EXPECT_EQ(dataDirectory(), QDir(home()).absolutePath());
    EXPECT_EQ(hookCalls, QStringList{dataDirectory()});
    EXPECT_TRUE(startup.databaseReady());
    EXPECT_EQ(SystemParam().DatabasePath, QDir(home()).filePath("TZ4.mdb"));

    // The old run's entries are gone; a failure while making the database stays after the first line.
    const QList<QByteArray> lines = log().split('\n');
    ASSERT_EQ(lines.size(), 3) << log().constData();
    EXPECT_TRUE(lines[0].endsWith(" : - : frmOpen:Form_Load : No Error\r")) << lines[0].constData();
    EXPECT_TRUE(lines[1].endsWith(" : 61 : modDataBase:MakeDB : Disk full\r")) << lines[1].constData();
}

TEST_F(StartupTest, ASecondCopyOnTheSameDirectoryIsRefused)
{
    Startup first;
    ASSERT_TRUE(first.run(home()));
    Startup second;
    EXPECT_FALSE(second.run(home()));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].text, GetRes(4003));
    EXPECT_EQ(reporter.shown[0].title, GetRes(4001));
    EXPECT_EQ(reporter.shown[0].icon, MessageIcon::Critical);

    first.release();
    Startup third;
    EXPECT_TRUE(third.run(home()));
}

TEST_F(StartupTest, AnInvalidSettingsFileEndsStartUpBeforeTheLogIsRenewed)
{
    QDir().mkpath(home());
    {
        QFile ini(QDir(home()).filePath("TZ4Sys.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Body]\tTZ-3\r\n");
    }
    bool hookCalled = false;
    Startup startup([&](const QString&) { return hookCalled = true; });
    EXPECT_FALSE(startup.run(home()));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_EQ(reporter.shown[0].title, GetRes(1012));
    EXPECT_FALSE(hookCalled);
    // The log is not renewed; it only gains the line at fault.
    const QByteArray logged = log();
    EXPECT_TRUE(logged.contains("TZ4Sys.ini line 1: [Body] TZ-3 is not the model TZ-4")) << logged.constData();
    EXPECT_FALSE(logged.contains("frmOpen:Form_Load")) << logged.constData();
    // The refused start leaves the directory free for a corrected run.
    QFile::remove(QDir(home()).filePath("TZ4Sys.ini"));
    Startup again;
    EXPECT_TRUE(again.run(home()));
}

TEST_F(StartupTest, MissingSettingsFileStartsWithDefaults)
{
    SystemParam().MaxDataForms = 42;
    Startup startup([](const QString&) { return false; });
    ASSERT_TRUE(startup.run(home()));
    EXPECT_FALSE(startup.databaseReady());
    EXPECT_EQ(SystemParam().MaxDataForms, 5);
    EXPECT_FALSE(QFile::exists(systemFilePath()));
}

TEST_F(StartupTest, ADirectoryThatCannotBeMadeIsReported)
{
    QFile blocker(temp.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Startup startup;
    EXPECT_FALSE(startup.run(temp.filePath("file/home")));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_TRUE(reporter.shown[0].text.contains("Path not found")) << reporter.shown[0].text.toStdString();
}

TEST_F(StartupTest, ALockThatCannotBeMadeIsNotMistakenForASecondCopy)
{
    ASSERT_TRUE(QDir().mkpath(QDir(home()).filePath("tz4.lock")));
    Startup startup;
    EXPECT_FALSE(startup.run(home()));
    ASSERT_EQ(reporter.shown.size(), 1);
    EXPECT_NE(reporter.shown[0].title, GetRes(4001));
    EXPECT_TRUE(reporter.shown[0].text.contains("tz4.lock")) << reporter.shown[0].text.toStdString();
    EXPECT_EQ(log(), "<missing>");
}
