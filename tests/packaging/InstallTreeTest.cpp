#include "tests/support/TestSupport.h"

#include "core/Version.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString AppId = QStringLiteral("org.tz4desktop.TZ4Desktop");

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    ToolRun run;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The build installed once into a temporary prefix, as `cmake --install` lays it out.
class InstalledTree : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = new QTemporaryDir;
        installed_ = runTool(QStringLiteral(TZ4_CMAKE_COMMAND),
                             {QStringLiteral("--install"), QStringLiteral(TZ4_BINARY_DIR), QStringLiteral("--prefix"),
                              prefix_->path()});
    }
    static void TearDownTestSuite()
    {
        delete prefix_;
        prefix_ = nullptr;
    }

    void SetUp() override { ASSERT_EQ(installed_.exitCode, 0) << installed_.err.toStdString(); }

    static QString path(const QString& relative) { return QDir(prefix_->path()).filePath(relative); }

    // Runs a validator when it is installed (scripts/test installs them).
    static void validate(const QString& tool, const QStringList& args)
    {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/test installs it)";
        const ToolRun run = runTool(program, args);
        EXPECT_EQ(run.exitCode, 0) << (run.out + run.err).toStdString();
    }

    static inline QTemporaryDir* prefix_ = nullptr;
    static inline ToolRun installed_;
};

} // namespace

TEST_F(InstalledTree, HoldsBothProgramsTheirManualPagesAndCompletion)
{
    for (const QString& file :
         {QStringLiteral("bin/tz4"), QStringLiteral("bin/tz4-sim"), QStringLiteral("libexec/tz4/tz4-desktop"),
          QStringLiteral("share/man/man1/tz4.1.gz"),
          QStringLiteral("share/man/man1/tz4-sim.1.gz"), QStringLiteral("share/bash-completion/completions/tz4"),
          QStringLiteral("share/bash-completion/completions/tz4-sim"), QStringLiteral("share/doc/tz4-desktop/copyright"),
          QStringLiteral("share/doc/tz4-desktop/changelog.gz")})
        EXPECT_TRUE(QFile::exists(path(file))) << file.toStdString();

    const ToolRun version = runTool(path(QStringLiteral("bin/tz4")), {QStringLiteral("--version")});
    EXPECT_EQ(version.out.trimmed(), QStringLiteral("tz4 " TZ4_VERSION));
    EXPECT_EQ(runTool(path(QStringLiteral("bin/tz4-sim")), {QStringLiteral("--version")}).out.trimmed(),
              QStringLiteral("tz4-sim " TZ4_VERSION));
}

TEST_F(InstalledTree, TheManualPagesRenderWithoutTroffWarnings)
{
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (man.isEmpty())
        GTEST_SKIP() << "man is not installed";
    for (const QString& page : {QStringLiteral("tz4"), QStringLiteral("tz4-sim")}) {
        const ToolRun run = runTool(man, {QStringLiteral("--warnings"), QStringLiteral("-l"),
                                      path(QStringLiteral("share/man/man1/%1.1.gz").arg(page))});
        EXPECT_EQ(run.exitCode, 0) << page.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("NAME"))) << page.toStdString();
    }
    const ToolRun tz4 = runTool(man, {QStringLiteral("-l"), path(QStringLiteral("share/man/man1/tz4.1.gz"))});
    for (const QString& section : {QStringLiteral("FILES"), QStringLiteral("EXIT STATUS"), QStringLiteral("PERMISSIONS")})
        EXPECT_TRUE(tz4.out.contains(section)) << section.toStdString();
}

TEST_F(InstalledTree, TheLauncherStartsAnInstalledProgramWithAnInstalledIcon)
{
    const QString desktop = path(QStringLiteral("share/applications/%1.desktop").arg(AppId));
    ASSERT_TRUE(QFile::exists(desktop));
    QSettings entry(desktop, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("bin/") + entry.value(QStringLiteral("Exec")).toString())));
    EXPECT_EQ(entry.value(QStringLiteral("Icon")).toString(), AppId);

    EXPECT_TRUE(QFile::exists(path(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(AppId))));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(path(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId)));
        ASSERT_FALSE(icon.isNull()) << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        // Drawn, not blank: the corners are clear, the middle is not.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    validate(QStringLiteral("desktop-file-validate"), {desktop});
}

TEST_F(InstalledTree, TheMetainfoValidatesAndNamesThisVersionAndTheLauncher)
{
    const QString metainfo = path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId));
    QFile file(metainfo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("<release version=\"" TZ4_VERSION "\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(AppId)));
    validate(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
}
