#include "tests/app/HeadlessRun.h"

#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <csignal>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QStringList GoldScan = {QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"),
                              QStringLiteral("Gold"), QStringLiteral("--start"), QStringLiteral("4.5"),
                              QStringLiteral("--end"), QStringLiteral("6.0"), QStringLiteral("--step"),
                              QStringLiteral("0.05"), QStringLiteral("--power"), QStringLiteral("0.5")};

} // namespace

TEST_F(HeadlessProgram, ConnectReachesReadyAndKeepsTheSerialLog)
{
    const HeadlessRun run = tz4(simulated() + QStringList{QStringLiteral("connect")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("phase 1: instrument initialised\nphase 4: light adjuster ready\n"
                                  "phase 5: setting the anode voltage\nphase 6: ready\n"));
    EXPECT_TRUE(run.err.contains("TZ-4 Ready: TZ-4 Initialize Finished")) << run.err.toStdString();

    const QByteArray log = readFile(file(QStringLiteral("TZ4Serial.Log")));
    EXPECT_TRUE(log.startsWith(QByteArray(57, '#') + "\r\n# TZ-4 Debug Used Serial Log File Vantrel Co.,Ltd\r\n"
                                                      "# Write Date Time :"));
    for (const char* record : {"TZ-4 Connect Process Sequence (Body Initialize)",
                               "TZ-4 Connect Process Sequence Successfull (Body Initialize)",
                               "TZ-4 Connect Process Sequence (Hv Volt Set Process)", "TZ4 Anode Volts Setting Succses"})
        EXPECT_TRUE(log.contains(QByteArray(record) + "\r\n")) << record;
}

TEST_F(HeadlessProgram, AColdInstrumentStopsAtWarmUpUnlessWaitedFor)
{
    const HeadlessRun cold =
        tz4(simulated() + QStringList{QStringLiteral("--sim-cold"), QStringLiteral("connect"), QStringLiteral("--json")});
    EXPECT_EQ(cold.exitCode, 1);
    EXPECT_EQ(cold.json().value(QStringLiteral("phase")).toInt(), 3);
    // The simulated warm-up clock runs on while the program connects, so a slow (sanitized,
    // loaded) run may already be into the 30th minute.
    const QRegularExpressionMatch wait =
        QRegularExpression(QStringLiteral("Now Warming Up.\nWait(\\d+)minutes.")).match(QString::fromUtf8(cold.err));
    ASSERT_TRUE(wait.hasMatch()) << cold.err.toStdString();
    EXPECT_GE(wait.captured(1).toInt(), 28);
    EXPECT_LE(wait.captured(1).toInt(), 30);

    const HeadlessRun waited = tz4(simulated() + QStringList{QStringLiteral("--sim-cold"), QStringLiteral("connect"),
                                                             QStringLiteral("--wait")});
    EXPECT_EQ(waited.exitCode, 0) << waited.err.toStdString();
    EXPECT_TRUE(waited.out.contains("phase 3: warming up\n")) << waited.out.toStdString();
    EXPECT_TRUE(waited.out.endsWith("phase 6: ready\n"));
}

TEST_F(HeadlessProgram, AWorkFunctionScanIsStoredAndAnalysed)
{
    const HeadlessRun scan = tz4(simulated() + QStringList{QStringLiteral("--sim-work-function"), QStringLiteral("5.10")} +
                                 GoldScan);
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    EXPECT_EQ(scan.out, QByteArray("1 W\n"));

    const QJsonObject shown = tz4({QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--json")}).json();
    EXPECT_EQ(shown.value(QStringLiteral("sample_name")).toString(), QStringLiteral("Gold"));
    EXPECT_EQ(shown.value(QStringLiteral("kind")).toString(), QStringLiteral("W"));
    const QJsonArray points = shown.value(QStringLiteral("points")).toArray();
    ASSERT_EQ(points.size(), 31);
    EXPECT_DOUBLE_EQ(points.first().toArray().at(0).toDouble(), 4.5);
    // Energies read as they were stored, not as their single-precision approximations.
    EXPECT_EQ(points.at(14).toArray().at(0).toDouble(), 5.2);
    EXPECT_EQ(points.last().toArray().at(0).toDouble(), 6.0);
    // Well above the threshold the yield has risen far over the background.
    EXPECT_GT(points.last().toArray().at(1).toDouble(), 100.0);

    const HeadlessRun analysed = tz4({QStringLiteral("analyze"), QStringLiteral("1"), QStringLiteral("--fit"),
                                      QStringLiteral("5.3:5.9"), QStringLiteral("--ground"), QStringLiteral("4.5:5.0"),
                                      QStringLiteral("--json")});
    ASSERT_EQ(analysed.exitCode, 0) << analysed.err.toStdString();
    const QJsonObject result = analysed.json();
    EXPECT_NEAR(result.value(QStringLiteral("work_function")).toDouble(), 5.10, 0.02);
    EXPECT_GT(result.value(QStringLiteral("correlation")).toDouble(), 0.99);
    EXPECT_GT(result.value(QStringLiteral("work_function_uncertainty")).toDouble(), 0.0);
    EXPECT_LT(result.value(QStringLiteral("work_function_uncertainty")).toDouble(), 0.05);
    EXPECT_GT(result.value(QStringLiteral("gradient")).toDouble(), 0.0);
    for (const char* field : {"key", "date", "intercept", "ground_level", "parameters"})
        EXPECT_TRUE(result.contains(QLatin1String(field))) << field;

    // Without --save nothing is kept; with it the point flags are, and the record's own
    // analysis finds the same line when it is loaded again.
    const auto storedWorkFunction = [&] {
        return tz4({QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--json")})
            .json()
            .value(QStringLiteral("work_function"))
            .toDouble();
    };
    EXPECT_EQ(storedWorkFunction(), 0.0);
    ASSERT_EQ(tz4({QStringLiteral("analyze"), QStringLiteral("1"), QStringLiteral("--fit"), QStringLiteral("5.3:5.9"),
                   QStringLiteral("--ground"), QStringLiteral("4.5:5.0"), QStringLiteral("--save")})
                  .exitCode,
              0);
    EXPECT_FLOAT_EQ(float(storedWorkFunction()), float(result.value(QStringLiteral("work_function")).toDouble()));
}

TEST_F(HeadlessProgram, CountingRateAndLightMeasurementsAreStoredWithTheirSettings)
{
    const HeadlessRun cps = tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("cps"),
                                                          QStringLiteral("--sample"), QStringLiteral("Copper"),
                                                          QStringLiteral("--energy"), QStringLiteral("5.9"),
                                                          QStringLiteral("--count"), QStringLiteral("5"),
                                                          QStringLiteral("--time"), QStringLiteral("2")});
    ASSERT_EQ(cps.exitCode, 0) << cps.err.toStdString();
    EXPECT_EQ(cps.out, QByteArray("1 C\n"));
    const QJsonObject c = tz4({QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--json")}).json();
    const QJsonObject cParameters = c.value(QStringLiteral("parameters")).toObject();
    EXPECT_NEAR(cParameters.value(QStringLiteral("21")).toDouble(), 5.9, 1e-6);
    EXPECT_EQ(cParameters.value(QStringLiteral("33")).toInt(), 2);
    const QJsonArray cPoints = c.value(QStringLiteral("points")).toArray();
    ASSERT_EQ(cPoints.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cPoints.at(i).toArray().at(0).toDouble(), i + 1);
        EXPECT_GT(cPoints.at(i).toArray().at(1).toDouble(), 10.0) << "a gold-like sample counts at 5.9 eV";
    }

    const HeadlessRun light = tz4(simulated() + QStringList{QStringLiteral("measure"), QStringLiteral("light"),
                                                            QStringLiteral("--sample"), QStringLiteral("Lamp"),
                                                            QStringLiteral("--start"), QStringLiteral("4.0"),
                                                            QStringLiteral("--end"), QStringLiteral("6.0"),
                                                            QStringLiteral("--step"), QStringLiteral("0.2"),
                                                            QStringLiteral("--json")});
    ASSERT_EQ(light.exitCode, 0) << light.err.toStdString();
    EXPECT_EQ(light.json().value(QStringLiteral("key")).toString(), QStringLiteral("2 L"));
    const QJsonArray lPoints =
        tz4({QStringLiteral("show"), QStringLiteral("2"), QStringLiteral("--json")}).json().value(QStringLiteral("points")).toArray();
    ASSERT_EQ(lPoints.size(), 11);
    for (const QJsonValue& p : lPoints)
        EXPECT_GT(p.toArray().at(1).toDouble(), 0.0) << "the lamp gives light at every energy";

    const QJsonArray listed = records();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed.at(0).toObject().value(QStringLiteral("name")).toString(), QStringLiteral("Copper"));
    EXPECT_EQ(listed.at(1).toObject().value(QStringLiteral("type")).toString(),
              QStringLiteral("Quantity of light correction coefficient"));
}

TEST_F(HeadlessProgram, RefusedAndUnsavedMeasurementsStoreNothing)
{
    QStringList emptyName = GoldScan;
    emptyName[3] = QString();
    const HeadlessRun refused = tz4(simulated() + emptyName);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("Sample Name None: Enter the Sample Name.")) << refused.err.toStdString();
    EXPECT_FALSE(refused.err.contains("Now Connection of TZ-4 Checking")) << "refused before the instrument is touched";

    const HeadlessRun noFolder = tz4(simulated() + GoldScan + QStringList{QStringLiteral("--folder"), QStringLiteral("7")});
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(noFolder.err.contains("Location Not Set: Set the Location.")) << noFolder.err.toStdString();

    const HeadlessRun declined = tz4(simulated() + GoldScan + QStringList{QStringLiteral("--no")});
    EXPECT_EQ(declined.exitCode, 0) << declined.err.toStdString();
    EXPECT_TRUE(declined.out.isEmpty());
    EXPECT_TRUE(declined.err.contains("Save this Data? [no]")) << declined.err.toStdString();

    EXPECT_TRUE(records().isEmpty());
}

TEST_F(HeadlessProgram, CtrlCCancelsAScanAndLeavesTheInstrumentSafe)
{
    QProcess process;
    process.start(test::builtProgram(QStringLiteral("tz4")),
                  QStringList{QStringLiteral("--home"), home.path()} + simulated(QStringLiteral("60")) + GoldScan +
                      QStringList{QStringLiteral("--time"), QStringLiteral("3")});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray err;
    while (!err.contains("[Work Function]:Processing") && process.state() == QProcess::Running) {
        process.waitForReadyRead(1000);
        err += process.readAllStandardError();
    }
    ASSERT_EQ(process.state(), QProcess::Running) << err.toStdString();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    err += process.readAllStandardError();

    EXPECT_EQ(process.exitCode(), 130) << err.toStdString();
    EXPECT_TRUE(err.contains("Photoelectric Work Function: Proccess abort")) << err.toStdString();
    EXPECT_FALSE(err.contains("Save this Data?")) << err.toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(records().isEmpty());

    // The cancel record carries the traffic that made the instrument safe: light blocked,
    // grid off, stage at its origin.
    const QByteArray log = readFile(file(QStringLiteral("TZ4Serial.Log")));
    const qsizetype at = log.indexOf("TZ4 Work Function Measurement 'System' Or 'User' Detected Cancel\r\n");
    ASSERT_GE(at, 0);
    const QByteArray traffic = log.mid(at);
    EXPECT_TRUE(traffic.contains("[FO1")) << traffic.toStdString();
    EXPECT_TRUE(traffic.contains("[GS0")) << traffic.toStdString();
    EXPECT_TRUE(traffic.contains("[XO1")) << traffic.toStdString();
}
