#include "tests/app/HeadlessRun.h"

#include "core/Formats.h"

#include <QFile>

#include <cmath>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    // Every line ends in CR LF; a bare LF would leave a CR behind in a split on CR LF.
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

QString p(const QJsonObject& record, int number)
{
    const QJsonValue value = record.value(QStringLiteral("parameters")).toObject().value(QString::number(number));
    return value.isString() ? value.toString() : shortestText(float(value.toDouble()));
}

QString dateLine(const QJsonObject& record, const QString& d)
{
    return QStringLiteral("Date") + d
        + generalDate(QDateTime::fromString(record.value(QStringLiteral("date")).toString(), Qt::ISODate));
}

} // namespace

TEST_F(HeadlessProgram, TextFilesFollowTheWorkFunctionAndCountingRateLayouts)
{
    ASSERT_EQ(tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"),
                                            QStringLiteral("Gold foil"), QStringLiteral("--start"), QStringLiteral("5.0"),
                                            QStringLiteral("--end"), QStringLiteral("5.5"), QStringLiteral("--step"),
                                            QStringLiteral("0.1"), QStringLiteral("--power"), QStringLiteral("0.5")})
                  .exitCode,
              0);
    ASSERT_EQ(tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("cps"), QStringLiteral("--sample"),
                                            QStringLiteral("Copper"), QStringLiteral("--energy"), QStringLiteral("5.9"),
                                            QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--time"),
                                            QStringLiteral("2")})
                  .exitCode,
              0);
    const QJsonObject w = tz4({QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--json")}).json();
    const QJsonObject c = tz4({QStringLiteral("show"), QStringLiteral("2"), QStringLiteral("--json")}).json();

    ASSERT_EQ(tz4({QStringLiteral("export-text"), QStringLiteral("1"), file(QStringLiteral("w.prn"))}).exitCode, 0);
    const QStringList wLines = fileLines(file(QStringLiteral("w.prn")));
    const QString d = QStringLiteral(" ");
    const QStringList wHeader = {
        QStringLiteral("TZ-4 Data"),
        dateLine(w, d),
        // The blank in the name is the delimiter here, so the name is quoted to stay one field.
        QStringLiteral("Sample Name \"Gold foil\""),
        QString(),
        QStringLiteral("Mode Work Function"),
        QStringLiteral("UV Intensity ") + p(w, 22) + QStringLiteral("[nW] Target of UV Intensity Adjustment ") + p(w, 23)
            + QStringLiteral("[nW]"),
        QStringLiteral("Counting Time 10[sec]"),
        QStringLiteral("Anode Voltage ") + p(w, 34) + QStringLiteral("[V]"),
        QString(),
        QStringLiteral("Measure Energy 5[eV] -  5.5[eV] 0.1Points"),
        QString(),
        QStringLiteral("Energy[eV] Yield^0.5[cps^0.5]"),
        QString(),
    };
    ASSERT_EQ(wLines.size(), wHeader.size() + 6);
    for (int i = 0; i < wHeader.size(); ++i)
        EXPECT_EQ(wLines[i], wHeader[i]) << "line " << i + 1;
    for (int i = 0; i < 6; ++i) {
        const QStringList columns = wLines[wHeader.size() + i].split(d);
        ASSERT_EQ(columns.size(), 2);
        EXPECT_EQ(columns[0], shortestText(float(5.0 + 0.1 * i)));
    }

    ASSERT_EQ(tz4({QStringLiteral("export-text"), QStringLiteral("2"), file(QStringLiteral("c.out")), QStringLiteral("--delim"),
                   QStringLiteral("csv")})
                  .exitCode,
              0);
    const QStringList cLines = fileLines(file(QStringLiteral("c.out")));
    QStringList cExpected = {
        QStringLiteral("TZ-4 Data"),
        dateLine(c, QStringLiteral(",")),
        QStringLiteral("Sample Name,Copper"),
        QString(),
        QStringLiteral("Mode,Thickness,Counting Rate"),
        QStringLiteral("UV Intensity,") + p(c, 22) + QStringLiteral("[nW],Target of UV Intensity Adjustment,") + p(c, 23)
            + QStringLiteral("[nW]"),
        QStringLiteral("Counting Time,2[sec]"),
        QStringLiteral("Anode Voltage,") + p(c, 34) + QStringLiteral("[V]"),
        QString(),
        QStringLiteral("Measure Energy,5.9[eV]"),
        QStringLiteral("Measure Count,4"),
        QString(),
        QString(),
        QStringLiteral("No,Counting Rate[cps],Log.CR[Log(cps)]"),
        QString(),
    };
    for (const QJsonValue& point : c.value(QStringLiteral("points")).toArray()) {
        const double rate = point.toArray().at(1).toDouble();
        cExpected << shortestText(float(point.toArray().at(0).toDouble())) + QLatin1Char(',')
                         + formatNumber(rate, QStringLiteral("###0.0")) + QLatin1Char(',')
                         + formatNumber(std::log10(rate > 0 ? rate : 1e-10), QStringLiteral("###0.0")) + QLatin1Char(',');
    }
    EXPECT_EQ(cLines, cExpected);

    const HeadlessRun light = tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("light"),
                                                            QStringLiteral("--start"), QStringLiteral("5.0"),
                                                            QStringLiteral("--end"), QStringLiteral("5.2"),
                                                            QStringLiteral("--step"), QStringLiteral("0.1")});
    ASSERT_EQ(light.exitCode, 0) << light.err.toStdString();
    const HeadlessRun refused = tz4({QStringLiteral("export-text"), QStringLiteral("3"), file(QStringLiteral("l.csv"))});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("This data cannot be saved.")) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("l.csv"))));
}

TEST_F(HeadlessProgram, ConnectsAndScansOverAPseudoTerminal)
{
    QProcess simulator;
    simulator.start(test::builtProgram(QStringLiteral("tz4-sim")),
                    {QStringLiteral("--sim-speed"), QStringLiteral("1000"), QStringLiteral("--sim-work-function"),
                     QStringLiteral("5.10")});
    ASSERT_TRUE(simulator.waitForStarted());
    while (!simulator.canReadLine() && simulator.state() == QProcess::Running)
        simulator.waitForReadyRead(5000);
    const QString device = QString::fromUtf8(simulator.readLine()).trimmed();
    ASSERT_TRUE(device.startsWith(QLatin1Char('/'))) << device.toStdString();
    const QStringList port = {QStringLiteral("--port"), device};

    const HeadlessRun connected = tz4(port + QStringList{QStringLiteral("connect")});
    EXPECT_EQ(connected.exitCode, 0) << connected.err.toStdString();
    EXPECT_TRUE(connected.out.endsWith("phase 6: ready\n"));

    const HeadlessRun scan = tz4(port + QStringList{QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"),
                                                    QStringLiteral("Gold"), QStringLiteral("--start"), QStringLiteral("4.5"),
                                                    QStringLiteral("--end"), QStringLiteral("6.0"), QStringLiteral("--step"),
                                                    QStringLiteral("0.05"), QStringLiteral("--power"), QStringLiteral("0.5")});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out, QByteArray("1 W\n"));
    simulator.kill();
    simulator.waitForFinished();

    const HeadlessRun analysed = tz4({QStringLiteral("analyze"), QStringLiteral("1"), QStringLiteral("--fit"),
                                      QStringLiteral("5.3:5.9"), QStringLiteral("--ground"), QStringLiteral("4.5:5.0"),
                                      QStringLiteral("--json")});
    EXPECT_NEAR(analysed.json().value(QStringLiteral("work_function")).toDouble(), 5.10, 0.02);
}
