#include "core/MessageCatalog.h"
#include "core/Version.h"
#include "tests/app/HeadlessRun.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileSystemWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tz4;
using tz4::test::HeadlessRun;
using tz4::test::runTz4;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// The window program on a display-less platform.
bool startWindowProgram(QProcess& window, const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    window.setProcessEnvironment(env);
    window.start(tz4::test::builtProgram("tz4"), {"--home", home});
    return window.waitForStarted(10000);
}

// Waits for `path` to appear, woken by the change notices of its directory.
bool waitForFile(const QString& path)
{
    QFileSystemWatcher watcher({QFileInfo(path).absolutePath()});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (QFile::exists(path))
            loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!QFile::exists(path))
        loop.exec();
    return QFile::exists(path);
}

const QRegularExpression kFirstLogLine(QStringLiteral("^.+ \\d?\\d:\\d\\d:\\d\\d( [AP]M)? : - : frmOpen:Form_Load : No Error\r\n$"));

} // namespace

TEST(Tz4Program, PrintsItsVersionWithoutADataDirectory)
{
    const HeadlessRun run = runTz4({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("tz4 ") + TZ4_VERSION + '\n');
}

TEST(Tz4Program, RejectsUnknownCommandsAndOptionsWithExitCode2)
{
    HeadlessRun run = runTz4({"frobnicate"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("unknown command 'frobnicate'")) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty());

    run = runTz4({"--lang", "fr", "init"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--lang")) << run.err.constData();

    run = runTz4({"init", "--home"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--home needs a value")) << run.err.constData();

    run = runTz4({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("init")) << run.out.constData();
}

TEST(Tz4Init, CreatesSettingsDatabaseAndAFreshLog)
{
    QTemporaryDir temp;
    const QString home = temp.filePath("data/tz4");
    // Global options may follow the command.
    const HeadlessRun run = runTz4({"init", "--home", home});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out.trimmed(), QDir(home).absolutePath().toUtf8());

    const QByteArray ini = readFile(QDir(home).filePath("TZ4Sys.ini"));
    EXPECT_EQ(ini.count("\r\n"), 32);
    EXPECT_TRUE(ini.startsWith("'\r\n'TZ-4 for Windows Initialize Parameter List \"TZ4Sys.Ini\"\r\n"));
    EXPECT_TRUE(ini.contains("\r\n[BaudRate]\t19200\t'Default 19200\r\n"));
    EXPECT_TRUE(QFile::exists(QDir(home).filePath("TZ4.mdb")));
    const QString log = QString::fromUtf8(readFile(QDir(home).filePath("Caution.log")));
    EXPECT_TRUE(kFirstLogLine.match(log).hasMatch()) << log.toStdString();
}

TEST(Tz4Init, KeepsAnExistingSettingsFileAndRenewsTheLog)
{
    QTemporaryDir home;
    writeFile(home.filePath("TZ4Sys.ini"), "[MaxDataForms]\t9\r\n");
    writeFile(home.filePath("Caution.log"), "old run\r\nold run\r\n");
    const HeadlessRun run = runTz4({"--home", home.path(), "init", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.contains("\"ok\":true")) << run.out.constData();
    EXPECT_EQ(readFile(home.filePath("TZ4Sys.ini")), "[MaxDataForms]\t9\r\n");
    EXPECT_TRUE(kFirstLogLine.match(QString::fromUtf8(readFile(home.filePath("Caution.log")))).hasMatch());
}

TEST(Tz4Init, UsesTz4HomeWhenNoOptionIsGiven)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TZ4_HOME", home.path());
    const HeadlessRun run = runTz4({"init"}, env);
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(QFile::exists(home.filePath("TZ4Sys.ini")));
}

TEST(Tz4Init, AnInvalidSettingsFileFailsWithTheCatalogueMessage)
{
    QTemporaryDir home;
    writeFile(home.filePath("TZ4Sys.ini"), "[Body]\tTZ-3\r\n");
    HeadlessRun run = runTz4({"--home", home.path(), "init"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("System File Read Error: System File Read Error.\nContact the manufacturer."))
        << run.err.constData();
    // The line at fault is named on the terminal and in the log, which is not renewed.
    const QByteArray fault = "TZ4Sys.ini line 1: [Body] TZ-3 is not the model TZ-4";
    EXPECT_TRUE(run.err.contains(fault)) << run.err.constData();
    const QByteArray log = readFile(home.filePath("Caution.log"));
    EXPECT_TRUE(log.contains(fault)) << log.constData();
    EXPECT_FALSE(log.contains("frmOpen:Form_Load : No Error")) << log.constData();
    EXPECT_FALSE(QFile::exists(home.filePath("TZ4.mdb")));
    EXPECT_EQ(readFile(home.filePath("TZ4Sys.ini")), "[Body]\tTZ-3\r\n");

    writeFile(home.filePath("TZ4Sys.ini"), "[Protocol]\tUSB\r\n");
    run = runTz4({"--home", home.path(), "--lang", "ja", "init"});
    EXPECT_EQ(run.exitCode, 1);
    const QString japanese = messageText(1015, Language::Japanese).section("~c", 0, 0).trimmed();
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(japanese)) << run.err.constData();
}

TEST(Tz4Program, CommandsOnStoredRecordsCreateNoMissingDataDirectory)
{
    QTemporaryDir temp;
    const QString home = temp.filePath("typo/tz4");
    const QList<QStringList> commands{{"records"}, {"show", "1"}, {"export-text", "1", temp.filePath("a.csv")},
                                      {"plot", "1", temp.filePath("a.png")}, {"search", "--name", "x"},
                                      {"analyze", "1", "--auto"}, {"rename", "1", "x"}, {"undo"}};
    for (const QStringList& command : commands) {
        const HeadlessRun run = runTz4(QStringList{"--home", home} + command);
        EXPECT_EQ(run.exitCode, 1) << command.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("the data directory " + QDir(home).absolutePath().toUtf8() + " does not exist"))
            << run.err.constData();
        EXPECT_FALSE(QFileInfo::exists(temp.filePath("typo"))) << command.join(' ').toStdString();
    }
}

TEST(Tz4Program, ASecondCopyOnTheSameDataDirectoryIsRefused)
{
    QTemporaryDir home;
    QProcess window;
    ASSERT_TRUE(startWindowProgram(window, home.path()));

    // The window program holds the lock once its fresh log is written.
    ASSERT_TRUE(waitForFile(home.filePath("Caution.log")));

    const HeadlessRun second = runTz4({"--home", home.path(), "init"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains("Double Execute: Already started")) << second.err.constData();

    window.terminate();
    if (!window.waitForFinished(10000)) {
        window.kill();
        window.waitForFinished();
    }
}

TEST(Tz4Program, TheWindowProgramStartsWithoutSettingsAndWritesThemWhenItCloses)
{
    QTemporaryDir home;
    QProcess window;
    ASSERT_TRUE(startWindowProgram(window, home.path()));
    // The main window reads the settings, then starts the serial log of its session.
    ASSERT_TRUE(waitForFile(home.filePath("TZ4Serial.Log")));
    EXPECT_FALSE(QFile::exists(home.filePath("TZ4Sys.ini")));

    // A termination request closes the window in order, as the close box would.
    window.terminate();
    ASSERT_TRUE(window.waitForFinished(20000));
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit) << window.readAllStandardError().constData();
    const QByteArray ini = readFile(home.filePath("TZ4Sys.ini"));
    EXPECT_EQ(ini.count("\r\n"), 32);
    EXPECT_TRUE(ini.endsWith("[Debug]\tFalse\t'Program Debag Flag\r\n"));
    EXPECT_FALSE(QFile::exists(home.filePath("tz4.lock")));
}

TEST(Tz4Program, StoppedDuringTheSplashItEndsWithoutTouchingTheSettings)
{
    QTemporaryDir home;
    writeFile(home.filePath("TZ4Sys.ini"), "[FontName]\tCourier\r\n");
    QProcess window;
    ASSERT_TRUE(startWindowProgram(window, home.path()));
    ASSERT_TRUE(waitForFile(home.filePath("Caution.log")));
    window.terminate();
    ASSERT_TRUE(window.waitForFinished(20000));
    EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window.exitCode(), 143) << "128 + SIGTERM, as a shell reports it";
    EXPECT_EQ(readFile(home.filePath("TZ4Sys.ini")), "[FontName]\tCourier\r\n");
}
