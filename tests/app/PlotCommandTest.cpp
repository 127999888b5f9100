#include "data/SqliteDatabase.h"
#include "tests/app/HeadlessRun.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QXmlStreamReader>

#include <vector>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

struct Circle {
    double cx, cy;
};

// The markers of an SVG plot: every circle element, in document order.
std::vector<Circle> circlesOf(const QString& path, QString* error)
{
    QFile file(path);
    std::vector<Circle> circles;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("missing");
        return circles;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("circle"))
            circles.push_back({xml.attributes().value(QLatin1String("cx")).toDouble(),
                               xml.attributes().value(QLatin1String("cy")).toDouble()});
    }
    if (xml.hasError())
        *error = xml.errorString();
    return circles;
}

class PlotCommand : public HeadlessProgram {
protected:
    void SetUp() override
    {
        HeadlessProgram::SetUp();
        const HeadlessRun scan = tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("work"),
                                                               QStringLiteral("--sample"), QStringLiteral("Gold"),
                                                               QStringLiteral("--start"), QStringLiteral("4.5"),
                                                               QStringLiteral("--end"), QStringLiteral("6.0"),
                                                               QStringLiteral("--step"), QStringLiteral("0.05"),
                                                               QStringLiteral("--power"), QStringLiteral("0.5")});
        ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    }

    void exec(const QString& sql) const
    {
        SqliteDatabase db(file(QStringLiteral("TZ4.mdb")));
        db.execute(sql);
    }

    // A stored record of a mode without any point.
    void addEmptyRecord(int seqNo, int mode) const
    {
        exec(QStringLiteral("Insert Into Setting(SeqNo, SampleName, DataTime, Modes, Parent, Recycled) "
                            "Values (%1, 'Empty', #12/5/2026 10:00:00#, %2, 0, 0);")
                 .arg(seqNo)
                 .arg(mode));
    }
};

TEST_F(PlotCommand, TheSvgHoldsOneMarkerPerPointOnTheRecordsScale)
{
    const QString svg = file(QStringLiteral("gold.svg"));
    const HeadlessRun run = tz4({QStringLiteral("plot"), QStringLiteral("1 W"), svg, QStringLiteral("--size"),
                                 QStringLiteral("800x500")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QString error;
    const std::vector<Circle> circles = circlesOf(svg, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    const QJsonArray points =
        tz4({QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--json")}).json().value(QStringLiteral("points")).toArray();
    ASSERT_EQ(circles.size(), size_t(points.size()));
    // Positions are a linear map of the values: X grows to the right, Y upwards.
    auto value = [&](size_t i, int axis) { return points.at(qsizetype(i)).toArray().at(axis).toDouble(); };
    const size_t last = circles.size() - 1;
    const double sx = (circles[last].cx - circles[0].cx) / (value(last, 0) - value(0, 0));
    ASSERT_GT(sx, 0);
    for (size_t i = 0; i < circles.size(); ++i)
        EXPECT_NEAR(circles[i].cx, circles[0].cx + sx * (value(i, 0) - value(0, 0)), 0.6) << i;
    // The yield is plotted with its ground removed and to its power, which keeps its order: a
    // higher count never stands lower.
    for (size_t i = 0; i < circles.size(); ++i) {
        for (size_t j = 0; j < circles.size(); ++j) {
            if (value(i, 1) > value(j, 1)) {
                EXPECT_LE(circles[i].cy, circles[j].cy + 0.01) << i << " above " << j;
            }
        }
    }
    for (const Circle& c : circles) {
        EXPECT_TRUE(c.cx > 0 && c.cx < 800 && c.cy > 0 && c.cy < 500);
    }
}

TEST_F(PlotCommand, WritesPngAndPdfOfTheRequestedSize)
{
    const QString png = file(QStringLiteral("gold.png"));
    ASSERT_EQ(tz4({QStringLiteral("plot"), QStringLiteral("1W"), png, QStringLiteral("--size=640x400")}).exitCode, 0);
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(640, 400));
    // The default display set: the surface in its background colour, the plot area in its own.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(0xC0, 0xC0, 0xFF));
    EXPECT_EQ(image.pixelColor(320, 100), QColor(0xFF, 0xD8, 0xC0));

    const QString pdf = file(QStringLiteral("gold.pdf"));
    ASSERT_EQ(tz4({QStringLiteral("plot"), QStringLiteral("1"), QStringLiteral("W"), pdf}).exitCode, 0);
    QFile out(pdf);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.read(5) == "%PDF-");
}

TEST_F(PlotCommand, BadRequestsAreRefusedWithoutWritingAnything)
{
    const QString gif = file(QStringLiteral("gold.gif"));
    HeadlessRun run = tz4({QStringLiteral("plot"), QStringLiteral("1 W"), gif});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(".png, .svg or .pdf")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(gif));

    run = tz4({QStringLiteral("plot"), QStringLiteral("1 W"), file(QStringLiteral("a.png")), QStringLiteral("--size"),
               QStringLiteral("0x10")});
    EXPECT_EQ(run.exitCode, 2);

    const QString nowhere = file(QStringLiteral("no/such/dir/gold.png"));
    run = tz4({QStringLiteral("plot"), QStringLiteral("1 W"), nowhere});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("could not be written")) << run.err.toStdString();

    run = tz4({QStringLiteral("plot"), QStringLiteral("9 W"), file(QStringLiteral("b.png"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("there is no record 9")) << run.err.toStdString();
}

TEST_F(PlotCommand, AnEmptyRecordIsRefusedAndOtherModesAreLeftOut)
{
    addEmptyRecord(2, 0);
    addEmptyRecord(3, 1);
    const QString empty = file(QStringLiteral("empty.png"));
    HeadlessRun run = tz4({QStringLiteral("plot"), QStringLiteral("2 W"), empty});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("nothing to plot")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("2 W has 0 point(s)")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(empty));
    exec(QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
                        "Values (9000,2,450,0,0,12.5,0,False,False);"));
    run = tz4({QStringLiteral("plot"), QStringLiteral("2 W"), empty});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("2 W has 1 point(s)")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(empty)) << "a single point makes no graph either";
    exec(QStringLiteral("Delete From Datas Where SeqNo=9000;"));

    const QString mixed = file(QStringLiteral("mixed.svg"));
    run = tz4({QStringLiteral("plot"), QStringLiteral("1 W"), QStringLiteral("3 C"), QStringLiteral("2 W"), mixed});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("3 C left out")) << run.err.toStdString();
    QString error;
    EXPECT_EQ(circlesOf(mixed, &error).size(), 31u);
}

TEST_F(PlotCommand, DamagedValuesAreReportedAndLeftOut)
{
    exec(QStringLiteral("Update Datas Set CpsData = 1e999 Where SerialNo = 1 And EngData = 550;"));
    exec(QStringLiteral("Insert Into Graphs(TypeNo, OverLayLevel) Values (0, 7);"));
    const QString svg = file(QStringLiteral("inf.svg"));
    const HeadlessRun run = tz4({QStringLiteral("plot"), QStringLiteral("1 W"), svg});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("1 W has 1 point(s) whose values are not finite")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("OverLayLevel 7 is outside 0 to 1")) << run.err.toStdString();
    QString error;
    EXPECT_EQ(circlesOf(svg, &error).size(), 30u);
}

// A table lost from the database is a fault of every reader, never a record without points.
TEST_F(PlotCommand, ARecordWhosePointsCannotBeReadIsAnErrorForEveryReader)
{
    exec(QStringLiteral("Drop Table Datas;"));
    const QString csv = file(QStringLiteral("gold.csv"));
    const QString svg = file(QStringLiteral("gold.svg"));
    const QList<QStringList> readers{{QStringLiteral("show"), QStringLiteral("1")},
                                     {QStringLiteral("export-text"), QStringLiteral("1"), csv},
                                     {QStringLiteral("analyze"), QStringLiteral("1"), QStringLiteral("--auto")},
                                     {QStringLiteral("plot"), QStringLiteral("1 W"), svg}};
    for (const QStringList& reader : readers) {
        const HeadlessRun run = tz4(reader);
        EXPECT_EQ(run.exitCode, 1) << reader.join(' ').toStdString() << ": " << run.out.toStdString();
        EXPECT_TRUE(run.err.contains("1 W cannot be read: no such table: Datas")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(csv));
    EXPECT_FALSE(QFileInfo::exists(svg));
}

// A record without a date was once shown and exported with the time of the command.
TEST_F(PlotCommand, AMissingDateIsShownAsMissing)
{
    exec(QStringLiteral("Update Setting Set DataTime = Null;"));
    const HeadlessRun shown = tz4({QStringLiteral("show"), QStringLiteral("1")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("\ndate                       Measure Date None\n")) << shown.out.toStdString();
    EXPECT_EQ(tz4({QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--json")}).json()[QStringLiteral("date")],
              QJsonValue());

    const QString csv = file(QStringLiteral("undated.csv"));
    ASSERT_EQ(tz4({QStringLiteral("export-text"), QStringLiteral("1"), csv}).exitCode, 0);
    QFile text(csv);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().contains("\r\nDate,\r\n"));
}

} // namespace
