#include "core/DataDirectory.h"
#include "core/Formats.h"
#include "core/TextFileOut.h"
#include "tests/support/SmallTmpfs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace tz4;

namespace {

struct Point {
    float x, y, orgY;
};

class FakeRecord final : public TextOutSource {
public:
    QMap<int, QVariant> parameters;
    std::vector<Point> points;

    QVariant Parameters(int number) const override { return parameters.value(number); }
    int DataCount() const override { return int(points.size()); }
    float ValueX(int i) const override { return points[size_t(i)].x; }
    float ValueY(int i) const override { return points[size_t(i)].y; }
    float OrgValueY(int i) const override { return points[size_t(i)].orgY; }
};

FakeRecord sample()
{
    FakeRecord r;
    r.parameters = {{2, QStringLiteral("Gold")},
                    {4, QDateTime(QDate(2026, 5, 3), QTime(14, 5, 9))},
                    {18, 4.5f},
                    {19, 6.0f},
                    {20, 0.05f},
                    {21, 5.9f},
                    {22, 9.97f},
                    {23, 10.0f},
                    {24, 0.5f},
                    {27, 0},
                    {28, QStringLiteral("Lamp 3")},
                    {33, qint16(10)},
                    {34, qint16(2850)}};
    return r;
}

class TextFileOut : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setDataDirectory(dir.path());
    }

    QStringList written(const QString& name)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
        text.chop(2);
        return text.split(QStringLiteral("\r\n"));
    }

    QTemporaryDir dir;
};

const QString When = generalDate(QDateTime(QDate(2026, 5, 3), QTime(14, 5, 9)));
const QString DateLine = QStringLiteral("Date ") + When;

} // namespace

TEST_F(TextFileOut, AWorkFunctionFileHasItsHeaderThenOnePointPerLine)
{
    FakeRecord r = sample();
    r.parameters[27] = 4;
    r.points = {{4.5f, 0.25f, 1.0f}, {4.55f, 1.5f, 2.0f}};
    TextFileOutWrk(dir.filePath(QStringLiteral("w.prn")), r, 3);
    const QStringList expected = {
        QStringLiteral("TZ-4 Data"),
        DateLine,
        QStringLiteral("Sample Name Gold"),
        QString(),
        QStringLiteral("Mode Work Function"),
        QStringLiteral("UV Intensity 9.97[nW] Target of UV Intensity Adjustment 10[nW]"),
        QStringLiteral("Counting Time 10[sec]"),
        QStringLiteral("Anode Voltage 2850[V]"),
        QStringLiteral("Name of Quantity of light correction coefficient Lamp 3"),
        QString(),
        QStringLiteral("Measure Energy 4.5[eV] -  6[eV] 0.05Points"),
        QString(),
        QStringLiteral("Energy[eV] Yield^0.5[cps^0.5]"),
        QString(),
        QStringLiteral("4.5 0.25"),
        QStringLiteral("4.55 1.5"),
    };
    EXPECT_EQ(written(QStringLiteral("w.prn")), expected);

    // Any delimiter number other than 1 and 2 is one blank; without a reference there is no line 9.
    r.parameters[27] = 0;
    TextFileOutWrk(dir.filePath(QStringLiteral("w4.prn")), r, 4);
    QStringList without = expected;
    without.removeAt(8);
    EXPECT_EQ(written(QStringLiteral("w4.prn")), without);

    TextFileOutWrk(dir.filePath(QStringLiteral("w.txt")), r, 2);
    EXPECT_EQ(written(QStringLiteral("w.txt"))[2], QStringLiteral("Sample Name\tGold"));
}

TEST_F(TextFileOut, ACountingRateFileListsRateAndLogarithmEachFollowedByTheDelimiter)
{
    FakeRecord r = sample();
    r.points = {{1, 0, 123.44f}, {2, 0, 0.0f}, {3, 0, -5.0f}};
    TextFileOutCps(dir.filePath(QStringLiteral("c.csv")), r, 1);
    const QStringList lines = written(QStringLiteral("c.csv"));
    const QStringList expected = {
        QStringLiteral("TZ-4 Data"),
        QStringLiteral("Date,") + When,
        QStringLiteral("Sample Name,Gold"),
        QString(),
        QStringLiteral("Mode,Thickness,Counting Rate"),
        QStringLiteral("UV Intensity,9.97[nW],Target of UV Intensity Adjustment,10[nW]"),
        QStringLiteral("Counting Time,10[sec]"),
        QStringLiteral("Anode Voltage,2850[V]"),
        QString(),
        QStringLiteral("Measure Energy,5.9[eV]"),
        QStringLiteral("Measure Count,3"),
        QString(),
        QString(),
        QStringLiteral("No,Counting Rate[cps],Log.CR[Log(cps)]"),
        QString(),
        QStringLiteral("1,123.4,2.1,"),
        QStringLiteral("2,0.0,-10.0,"),
        QStringLiteral("3,-5.0,-10.0,"),
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(TextFileOut, ACalibratedCountingRateFileAddsTheThicknessColumn)
{
    FakeRecord r = sample();
    r.parameters[27] = 2;
    r.points = {{1, 1234.56f, 10.0f}};
    TextFileOutCps(dir.filePath(QStringLiteral("t.txt")), r, 2);
    const QStringList lines = written(QStringLiteral("t.txt"));
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[8], QStringLiteral("Calibration Line name\tLamp 3"));
    EXPECT_EQ(lines[14], QStringLiteral("No\tCounting Rate[cps]\tLog.CR[Log(cps)]\tThickness[A]"));
    EXPECT_EQ(lines[16], QStringLiteral("1\t10.0\t1.0\t1234.6"));
}

TEST_F(TextFileOut, ARecordWithoutPointsGivesTheHeaderOnly)
{
    FakeRecord r = sample();
    ASSERT_TRUE(TextFileOutCps(dir.filePath(QStringLiteral("e.csv")), r, 1));
    const QStringList lines = written(QStringLiteral("e.csv"));
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[10], QStringLiteral("Measure Count,0"));
    EXPECT_TRUE(lines.last().isEmpty());

    ASSERT_TRUE(TextFileOutWrk(dir.filePath(QStringLiteral("e.prn")), r, 3));
    EXPECT_EQ(written(QStringLiteral("e.prn")).size(), 13);
}

TEST_F(TextFileOut, AFileThatCannotBeWrittenIsLogged)
{
    const FakeRecord r = sample();
    EXPECT_FALSE(TextFileOutWrk(dir.filePath(QStringLiteral("missing/w.csv")), r, 1));
    QFile log(dir.filePath(QStringLiteral("Caution.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray entry = log.readAll();
    EXPECT_TRUE(entry.contains(" : 76 : ")) << entry.toStdString();
}

TEST_F(TextFileOut, TheProgramsOwnFilesAreNeverOverwritten)
{
    const FakeRecord r = sample();
    for (const char* name : {"TZ4.mdb", "TZ4Sys.ini", "Caution.log", "TZ4Serial.Log", "PrintFormat.Dat"}) {
        QFile own(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        own.write("kept");
        own.close();
    }
    const QString sub = dir.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkpath(sub));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("TZ4.mdb")), dir.filePath(QStringLiteral("link.csv"))));
    // The plain name, another spelling of the same folder and a link that ends at the database.
    for (const QString& target : {dir.filePath(QStringLiteral("TZ4.mdb")), sub + QStringLiteral("/../TZ4Sys.ini"),
                                  dir.filePath(QStringLiteral("link.csv")), dir.filePath(QStringLiteral("TZ4Serial.Log"))}) {
        QString failure;
        EXPECT_FALSE(TextFileOutWrk(target, r, 1, &failure)) << target.toStdString();
        EXPECT_TRUE(failure.contains(QStringLiteral("one of the program's own files"))) << failure.toStdString();
    }
    for (const char* name : {"TZ4.mdb", "TZ4Sys.ini", "TZ4Serial.Log"}) {
        QFile own(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(own.open(QIODevice::ReadOnly));
        EXPECT_EQ(own.readAll(), QByteArray("kept")) << name;
    }
    EXPECT_TRUE(TextFileOutWrk(sub + QStringLiteral("/TZ4.mdb"), r, 1)) << "the same name elsewhere is an ordinary file";
}

// The disk is made full here: the machine's /dev/full is not to be trusted to still be a device.
TEST_F(TextFileOut, AWriteToAFullDiskIsAnErrorAndKeepsTheFileItWouldReplace)
{
    test::SmallTmpfs disk(256 * 1024);
    TZ4_REQUIRE_TMPFS(disk);
    FakeRecord r = sample();
    // Longer than the page the disk has left, shorter than a write buffer: the write that fails
    // is the last one, when the file is flushed.
    r.points.assign(500, Point{4.5f, 1.25f, 1.5f});
    const QString target = disk.filePath(QStringLiteral("scan.csv"));
    ASSERT_TRUE(TextFileOutWrk(target, sample(), 1));
    QFile before(target);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray earlier = before.readAll();
    before.close();
    disk.fill(4096);

    QString failure;
    EXPECT_FALSE(TextFileOutWrk(target, r, 1, &failure));
    EXPECT_TRUE(failure.contains(QStringLiteral("No space left on device"))) << failure.toStdString();
    QFile after(target);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), earlier);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral(".filler"), QStringLiteral("scan.csv")}));
}

TEST_F(TextFileOut, ANameWithDelimitersQuotesOrLineBreaksStaysOneField)
{
    FakeRecord r = sample();
    r.parameters[2] = QStringLiteral("Au, \"new\"\nbatch");
    ASSERT_TRUE(TextFileOutWrk(dir.filePath(QStringLiteral("q.csv")), r, 1));
    const QStringList lines = written(QStringLiteral("q.csv"));
    EXPECT_EQ(lines.at(2), QStringLiteral("Sample Name,\"Au, \"\"new\"\"\nbatch\""));

    r.parameters[2] = QStringLiteral("tab\there");
    ASSERT_TRUE(TextFileOutWrk(dir.filePath(QStringLiteral("q.txt")), r, 2));
    EXPECT_EQ(written(QStringLiteral("q.txt")).at(2), QStringLiteral("Sample Name\t\"tab\there\""));
    r.parameters[2] = QStringLiteral("Gold");
    ASSERT_TRUE(TextFileOutWrk(dir.filePath(QStringLiteral("plain.csv")), r, 1));
    EXPECT_EQ(written(QStringLiteral("plain.csv")).at(2), QStringLiteral("Sample Name,Gold"));
}

TEST_F(TextFileOut, AMissingDateIsWrittenAsMissing)
{
    FakeRecord r = sample();
    r.parameters[4] = QDateTime();
    ASSERT_TRUE(TextFileOutWrk(dir.filePath(QStringLiteral("d.csv")), r, 1));
    EXPECT_EQ(written(QStringLiteral("d.csv")).at(1), QStringLiteral("Date,"));
}
