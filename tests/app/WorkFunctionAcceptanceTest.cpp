#include "tests/app/HeadlessRun.h"

#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

constexpr int Seeds = 24;

struct Outcome {
    double error = 0;
    double uncertainty = 0;
    bool warned = false;
};

// Scans of simulated samples measured and analysed with suggested ranges through the program,
// as an operator would: a fast simulated instrument, one data directory for all of them.
class WorkFunctionStudy : public HeadlessProgram {
protected:
    // Measures a sample and returns the key of its record, or an empty text.
    QString measure(double phi, double power, int seed, const QString& seconds, const QString& light,
                    const QString& start = QStringLiteral("3.8"))
    {
        const QStringList sim = simulated(QStringLiteral("20000")) +
                                QStringList{QStringLiteral("--sim-work-function"), QString::number(phi),
                                            QStringLiteral("--sim-power-number"), QString::number(power),
                                            QStringLiteral("--sim-seed"), QString::number(seed)};
        const HeadlessRun run =
            tz4(sim + QStringList{QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"),
                                  QStringLiteral("S%1").arg(seed), QStringLiteral("--start"), start,
                                  QStringLiteral("--end"), QStringLiteral("6.2"), QStringLiteral("--step"),
                                  QStringLiteral("0.05"), QStringLiteral("--power"), QString::number(power),
                                  QStringLiteral("--time"), seconds, QStringLiteral("--light"), light,
                                  QStringLiteral("--adjust")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QString::fromUtf8(run.out).section(QLatin1Char(' '), 0, 0);
    }

    // The lamp's spectrum, measured once with the light settings the scans use, as the correction
    // every later scan is attached to.
    QString measureLamp(const QString& light)
    {
        const HeadlessRun run =
            tz4(simulated(QStringLiteral("20000")) +
                QStringList{QStringLiteral("measure"), QStringLiteral("light"), QStringLiteral("--sample"),
                            QStringLiteral("Lamp"), QStringLiteral("--start"), QStringLiteral("3.8"),
                            QStringLiteral("--end"), QStringLiteral("6.2"), QStringLiteral("--step"),
                            QStringLiteral("0.05"), QStringLiteral("--light"), light, QStringLiteral("--adjust")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QString::fromUtf8(run.out).trimmed();
    }

    // A scan measured and corrected by the lamp's spectrum; an empty text when either step failed.
    QString measureCorrected(const QString& lamp, double phi, double power, int seed, const QString& seconds,
                             const QString& light)
    {
        const QString key = measure(phi, power, seed, seconds, light);
        if (key.isEmpty())
            return {};
        const HeadlessRun attach = tz4({QStringLiteral("attach"), lamp, key + QStringLiteral("W")});
        EXPECT_EQ(attach.exitCode, 0) << attach.err.toStdString();
        return attach.exitCode == 0 ? key : QString();
    }

    HeadlessRun autoAnalysis(const QString& key) const
    {
        return tz4({QStringLiteral("analyze"), key, QStringLiteral("--auto"), QStringLiteral("--json")});
    }

    Outcome analysed(const QString& key, double phi) const
    {
        const HeadlessRun run = autoAnalysis(key);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QJsonObject result = run.json();
        return {result.value(QStringLiteral("work_function")).toDouble() - phi,
                result.value(QStringLiteral("work_function_uncertainty")).toDouble(),
                result.value(QStringLiteral("low_count_warning")).isString()};
    }

    // Work functions spread evenly over 4.3 to 5.6 eV, one seed each, light-corrected.
    std::vector<Outcome> study(const QString& lamp, double power, const QString& seconds, const QString& light)
    {
        std::vector<Outcome> outcomes;
        for (int i = 0; i < Seeds; ++i) {
            const double phi = std::round((4.3 + 1.3 * i / (Seeds - 1)) * 1000) / 1000;
            const QString key = measureCorrected(lamp, phi, power, 100 + i, seconds, light);
            if (key.isEmpty())
                continue;
            outcomes.push_back(analysed(key, phi));
        }
        return outcomes;
    }

    static double largestError(const std::vector<Outcome>& outcomes)
    {
        double largest = 0;
        for (const Outcome& o : outcomes)
            largest = std::max(largest, std::abs(o.error));
        return largest;
    }

    static double covered(const std::vector<Outcome>& outcomes)
    {
        const auto n = std::count_if(outcomes.begin(), outcomes.end(),
                                     [](const Outcome& o) { return std::abs(o.error) <= 2 * o.uncertainty; });
        return double(n) / double(outcomes.size());
    }

    static double warnedShare(const std::vector<Outcome>& outcomes)
    {
        return double(std::count_if(outcomes.begin(), outcomes.end(), [](const Outcome& o) { return o.warned; })) /
               double(outcomes.size());
    }

    static void report(const char* what, const std::vector<Outcome>& outcomes)
    {
        std::printf("%-28s largest error %.4f eV, within 2 uncertainties %.0f %%, low-count warning %.0f %%\n", what,
                    largestError(outcomes), 100 * covered(outcomes), 100 * warnedShare(outcomes));
    }
};

} // namespace

// The lamp's photon flux changes by about a quarter per eV, so only scans normalised by its
// measured spectrum are straight in the plotted units; those are what an operator analyses.
TEST_F(WorkFunctionStudy, SuggestedRangesRecoverMetalsAndOrganicFilms)
{
    const QString lamp = measureLamp(QStringLiteral("20"));
    ASSERT_FALSE(lamp.isEmpty());
    const auto metals = study(lamp, 0.5, QStringLiteral("10"), QStringLiteral("20"));
    const auto organics = study(lamp, 1.0 / 3, QStringLiteral("10"), QStringLiteral("20"));
    ASSERT_EQ(metals.size(), size_t(Seeds));
    ASSERT_EQ(organics.size(), size_t(Seeds));
    report("metals, 10 s, 20 nW", metals);
    report("organic films, 10 s, 20 nW", organics);

    EXPECT_LE(largestError(metals), 0.02);
    EXPECT_LE(largestError(organics), 0.03);
    std::vector<Outcome> all = metals;
    all.insert(all.end(), organics.begin(), organics.end());
    EXPECT_GE(covered(all), 0.9);
}

TEST_F(WorkFunctionStudy, WeakScansCarryTheLowCountWarning)
{
    const QString dim = measureLamp(QStringLiteral("10")), bright = measureLamp(QStringLiteral("20"));
    std::vector<Outcome> weak, strong;
    for (int seed = 1; seed <= 8; ++seed) {
        weak.push_back(analysed(measureCorrected(dim, 4.85, 0.5, seed, QStringLiteral("3"), QStringLiteral("10")), 4.85));
        strong.push_back(
            analysed(measureCorrected(bright, 4.85, 0.5, seed, QStringLiteral("10"), QStringLiteral("20")), 4.85));
    }
    report("metal 4.85 eV, 3 s, 10 nW", weak);
    report("metal 4.85 eV, 10 s, 20 nW", strong);
    EXPECT_GE(warnedShare(weak), 0.5);
}

TEST_F(WorkFunctionStudy, ScansWithoutAThresholdAreRefused)
{
    const HeadlessRun allGround = autoAnalysis(measure(6.6, 0.5, 1, QStringLiteral("3"), QStringLiteral("20")));
    EXPECT_EQ(allGround.exitCode, 1);
    EXPECT_TRUE(allGround.err.contains("no threshold in the scanned range")) << allGround.err.toStdString();
    EXPECT_TRUE(allGround.out.isEmpty());

    const HeadlessRun noGround =
        autoAnalysis(measure(4.0, 0.5, 1, QStringLiteral("3"), QStringLiteral("20"), QStringLiteral("4.3")));
    EXPECT_EQ(noGround.exitCode, 1);
    EXPECT_TRUE(noGround.err.contains("no ground in the scanned range")) << noGround.err.toStdString();
    EXPECT_TRUE(noGround.out.isEmpty());
}
