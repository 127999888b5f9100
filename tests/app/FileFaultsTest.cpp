// Files the program writes, on a real full disk and over things that are no regular file.
#include "tests/app/ExchangeFiles.h"
#include "tests/app/HeadlessRun.h"
#include "tests/support/SmallTmpfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tz4;
using tz4::test::HeadlessRun;

namespace {

class FileFaults : public test::HeadlessProgram {
protected:
    void SetUp() override
    {
        HeadlessProgram::SetUp();
        const HeadlessRun scan = tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("work"),
                                                               QStringLiteral("--sample"), QStringLiteral("Gold"),
                                                               QStringLiteral("--start"), QStringLiteral("4.5"),
                                                               QStringLiteral("--end"), QStringLiteral("6.0"),
                                                               QStringLiteral("--step"), QStringLiteral("0.05")});
        ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static bool isCharacterDevice(const QString& path)
    {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
    }
};

} // namespace

TEST_F(FileFaults, AFullDiskFailsEveryFileWrittenAndKeepsTheFileItWouldReplace)
{
    test::SmallTmpfs disk(512 * 1024);
    TZ4_REQUIRE_TMPFS(disk);
    const QStringList names{QStringLiteral("out.csv"), QStringLiteral("out.png"), QStringLiteral("out.pdf"),
                            QStringLiteral("out.svg"), QStringLiteral("out.mdb")};
    for (const QString& name : names)
        write(disk.filePath(name), "earlier " + name.toUtf8());
    disk.fill();

    const QList<QStringList> commands{
        {QStringLiteral("export-text"), QStringLiteral("1"), disk.filePath(QStringLiteral("out.csv"))},
        {QStringLiteral("plot"), QStringLiteral("1"), disk.filePath(QStringLiteral("out.png"))},
        {QStringLiteral("plot"), QStringLiteral("1"), disk.filePath(QStringLiteral("out.pdf"))},
        {QStringLiteral("plot"), QStringLiteral("1"), disk.filePath(QStringLiteral("out.svg"))},
        {QStringLiteral("export"), disk.filePath(QStringLiteral("out.mdb")), QStringLiteral("1 W"), QStringLiteral("--force")},
    };
    for (const QStringList& command : commands) {
        const HeadlessRun run = tz4(command);
        EXPECT_EQ(run.exitCode, 1) << command.join(QLatin1Char(' ')).toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("No space left on device") || run.err.contains("could not be"))
            << run.err.toStdString();
    }
    for (const QString& name : names)
        EXPECT_EQ(contents(disk.filePath(name)), "earlier " + name.toUtf8()) << name.toStdString();
    QStringList left = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll(QStringLiteral(".filler"));
    left.sort();
    QStringList expected = names;
    expected.sort();
    EXPECT_EQ(left, expected) << "no half-written file stays behind";
}

TEST_F(FileFaults, OnlyARegularFileIsEverReplaced)
{
    const QString node = file(QStringLiteral("node.png"));
    const QString nodeMdb = file(QStringLiteral("node.mdb"));
    for (const QString& path : {node, nodeMdb}) {
        // The numbers of the null device: writing into it would harm nothing.
        if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            GTEST_SKIP() << "no device node can be made here (mknod needs root)";
    }
    HeadlessRun run = tz4({QStringLiteral("plot"), QStringLiteral("1"), node});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("not a regular file")) << run.err.toStdString();
    run = tz4({QStringLiteral("export"), nodeMdb, QStringLiteral("1 W"), QStringLiteral("--force")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("not a regular file")) << run.err.toStdString();
    EXPECT_TRUE(isCharacterDevice(node));
    EXPECT_TRUE(isCharacterDevice(nodeMdb));

    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("folder.mdb")));
    run = tz4({QStringLiteral("export"), file(QStringLiteral("folder.mdb")), QStringLiteral("1 W"), QStringLiteral("--force")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("is a folder")) << run.err.toStdString();

    const QString link = file(QStringLiteral("other-name.mdb"));
    ASSERT_EQ(::link(QFile::encodeName(file(QStringLiteral("TZ4.mdb"))).constData(), QFile::encodeName(link).constData()), 0);
    run = tz4({QStringLiteral("export"), link, QStringLiteral("1 W"), QStringLiteral("--force")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("is the database itself")) << run.err.toStdString();
    run = tz4({QStringLiteral("import"), link});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("is the database itself")) << run.err.toStdString();
}

TEST_F(FileFaults, AnImportThatCannotBeCompactedOnAFullDiskIsStoredOnceAndSaysSo)
{
    test::SmallTmpfs disk(12 * 1024 * 1024);
    TZ4_REQUIRE_TMPFS(disk);
    const auto onDisk = [&](const QStringList& args) {
        return test::runTz4(QStringList{QStringLiteral("--home"), disk.path()} + args);
    };
    ASSERT_EQ(onDisk({QStringLiteral("init")}).exitCode, 0);
    const QString big = file(QStringLiteral("big.mdb"));
    const QString small = file(QStringLiteral("small.mdb"));
    ASSERT_TRUE(test::writeExchangeFile(big, 60, 1000));
    ASSERT_TRUE(test::writeExchangeFile(small, 3, 10));
    HeadlessRun run = onDisk({QStringLiteral("import"), big});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList before = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);

    disk.fill(1024 * 1024);
    run = onDisk({QStringLiteral("import"), small});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("1 folders, 3 records, 30 points")) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("imported, but the database could not be compacted")) << run.err.toStdString();
    disk.release();
    {
        SqliteDatabase db(disk.filePath(QStringLiteral("TZ4.mdb")));
        SqliteStatement records = db.prepare(QStringLiteral("Select Count(*) From Setting;"));
        ASSERT_TRUE(records.next());
        EXPECT_EQ(records.toInt(0), 63) << "each import stored once";
    }
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), before) << "no temporary file is left";
}
