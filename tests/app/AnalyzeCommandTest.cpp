#include "tests/app/HeadlessRun.h"

#include <cmath>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

QStringList scan(const QString& seconds, const QString& light)
{
    return {QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"), QStringLiteral("Gold"),
            QStringLiteral("--start"), QStringLiteral("4.2"), QStringLiteral("--end"), QStringLiteral("6.0"),
            QStringLiteral("--step"), QStringLiteral("0.05"), QStringLiteral("--power"), QStringLiteral("0.5"),
            QStringLiteral("--time"), seconds, QStringLiteral("--light"), light, QStringLiteral("--adjust")};
}

QStringList args(const char* text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); }

// One simulated scan of a work function of 4.85 eV, stored as record 1.
class AnalyzeCommand : public HeadlessProgram {
protected:
    void measure(const QString& seconds, const QString& light, const QString& seed = QStringLiteral("5"))
    {
        const HeadlessRun run = tz4(simulated(QStringLiteral("20000")) + args("--sim-work-function 4.85") +
                                    QStringList{QStringLiteral("--sim-seed"), seed} + scan(seconds, light));
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
};

} // namespace

TEST_F(AnalyzeCommand, AutoFindsAndSavesRangesWithBothPartsOfTheUncertainty)
{
    measure(QStringLiteral("10"), QStringLiteral("20"));
    const HeadlessRun run = tz4(args("analyze 1 --auto --json"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject result = run.json();
    const QJsonArray fit = result.value(QStringLiteral("fit")).toArray();
    const QJsonArray ground = result.value(QStringLiteral("ground")).toArray();
    ASSERT_EQ(fit.size(), 2);
    ASSERT_EQ(ground.size(), 2);
    EXPECT_NEAR(ground.at(0).toDouble(), 4.2, 1e-6);
    EXPECT_LT(ground.at(1).toDouble(), 4.85);
    EXPECT_GT(fit.at(0).toDouble(), 4.85);
    EXPECT_NEAR(result.value(QStringLiteral("work_function")).toDouble(), 4.85, 0.03);
    const double stat = result.value(QStringLiteral("work_function_uncertainty_statistical")).toDouble();
    const double range = result.value(QStringLiteral("work_function_uncertainty_range")).toDouble();
    EXPECT_GT(stat, 0.0);
    EXPECT_NEAR(result.value(QStringLiteral("work_function_uncertainty")).toDouble(), std::hypot(stat, range), 1e-6);

    // Nothing is stored without --save; with it, the record keeps the ranges.
    EXPECT_EQ(tz4(args("show 1 --json")).json().value(QStringLiteral("work_function")).toDouble(), 0.0);
    ASSERT_EQ(tz4(args("analyze 1 --auto --save")).exitCode, 0);
    const QJsonObject shown = tz4(args("show 1 --json")).json();
    for (int end : {0, 1})
        EXPECT_NEAR(shown.value(QStringLiteral("fit")).toArray().at(end).toDouble(), fit.at(end).toDouble(), 1e-6);
    EXPECT_EQ(shown.value(QStringLiteral("work_function")), result.value(QStringLiteral("work_function")));

    EXPECT_EQ(tz4(args("analyze 1 --auto --fit 5:5.5")).exitCode, 2) << "--auto chooses the ranges itself";
}

TEST_F(AnalyzeCommand, RangesWithoutAResultAreRefusedAndStoreNothing)
{
    measure(QStringLiteral("10"), QStringLiteral("20"));
    ASSERT_EQ(tz4(args("analyze 1 --fit 5.0:5.5 --ground 4.2:4.7 --save")).exitCode, 0);
    const double stored = tz4(args("show 1 --json")).json().value(QStringLiteral("work_function")).toDouble();
    ASSERT_NEAR(stored, 4.85, 0.05);

    const struct {
        const char* ranges;
        const char* reason;
    } cases[] = {
        {"--fit 7:8 --ground 4.2:4.7", "the fit range holds no points"},
        {"--fit 5.5:5.52 --ground 4.2:4.7", "the fit range holds a single point"},
        {"--fit 5.0:5.5 --ground 5.6:6.0", "the ground range reaches into the fit range"},
        {"--fit 5.0:5.5 --ground 2:3", "the ground range holds no points"},
    };
    for (const auto& c : cases) {
        const HeadlessRun run = tz4(args("analyze 1 --save") + args(c.ranges));
        EXPECT_EQ(run.exitCode, 1) << c.ranges;
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << "no zeros printed";
    }
    EXPECT_EQ(tz4(args("show 1 --json")).json().value(QStringLiteral("work_function")).toDouble(), stored);
}

TEST_F(AnalyzeCommand, WeakCountsAreReportedWithAShow)
{
    measure(QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("2"));
    ASSERT_EQ(tz4(args("analyze 1 --fit 4.95:5.5 --ground 4.2:4.7 --save")).exitCode, 0);
    const QJsonObject shown = tz4(args("show 1 --json")).json();
    const QString warning = shown.value(QStringLiteral("low_count_warning")).toString();
    EXPECT_TRUE(warning.startsWith(QStringLiteral("Low counts: dropping the highest reading"))) << warning.toStdString();
    EXPECT_TRUE(warning.contains(QStringLiteral("a counting time of"))) << warning.toStdString();
    EXPECT_TRUE(tz4(args("show 1")).out.contains("warning: " + warning.toUtf8()));
}
