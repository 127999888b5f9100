#include "tests/app/HeadlessRun.h"

using namespace tz4;
using tz4::test::HeadlessProgram;
using tz4::test::HeadlessRun;

namespace {

QStringList scan(const QStringList& extra)
{
    return QStringList{QStringLiteral("measure"), QStringLiteral("work"), QStringLiteral("--sample"), QStringLiteral("Gold"),
                       QStringLiteral("--start"), QStringLiteral("4.5"),  QStringLiteral("--end"),    QStringLiteral("6.0"),
                       QStringLiteral("--step"),  QStringLiteral("0.05")}
        + extra;
}

QStringList counting(const QStringList& extra)
{
    return QStringList{QStringLiteral("measure"), QStringLiteral("cps"), QStringLiteral("--sample"), QStringLiteral("Cu"),
                       QStringLiteral("--energy"), QStringLiteral("5.9"), QStringLiteral("--count"), QStringLiteral("3"),
                       QStringLiteral("--time"),   QStringLiteral("2")}
        + extra;
}

struct Refusal {
    QStringList args;
    const char* says; // a piece of the refusal
};

} // namespace

// Every one of these once either stored an empty or all-zero record with exit 0 or failed
// after connecting with a division by zero.
TEST_F(HeadlessProgram, ImpossibleSettingsAreRefusedBeforeTheInstrumentIsTouched)
{
    const QString longName(81, QLatin1Char('n'));
    const Refusal refusals[] = {
        {scan({QStringLiteral("--step"), QStringLiteral("0")}), "--step: the energy step must be above 0 eV"},
        {scan({QStringLiteral("--step"), QStringLiteral("-0.05")}), "Measure Energy is Out of Range"},
        {scan({QStringLiteral("--step"), QStringLiteral("0.07")}), "--step: the step 0.07 eV does not divide the range"},
        {scan({QStringLiteral("--end"), QStringLiteral("4.0")}), "--end: the end energy 4 eV must lie above the start"},
        {scan({QStringLiteral("--start"), QStringLiteral("1e308")}), "--start: 1E+308 is not a number the record can hold"},
        {scan({QStringLiteral("--start"), QStringLiteral("2.0")}), "outside the instrument's range 3.4 to 6.8 eV"},
        {scan({QStringLiteral("--start"), QStringLiteral("4.503")}), "hundredths of an eV"},
        {scan({QStringLiteral("--time"), QStringLiteral("0")}), "Counting Time None: Set the Counting Time."},
        {scan({QStringLiteral("--time"), QStringLiteral("-3")}), "--time: the counting time must be at least 2 s"},
        {scan({QStringLiteral("--time"), QStringLiteral("2.5")}), "--time: the counting time must be a whole number"},
        {scan({QStringLiteral("--time"), QStringLiteral("1e9")}), "from 2 to 32767"},
        {scan({QStringLiteral("--light"), QStringLiteral("0")}), "--light: the target UV intensity must be above 0 nW"},
        {scan({QStringLiteral("--sample"), longName}), "--sample: the sample name has 81 characters; the database holds at most 80"},
        {counting({QStringLiteral("--count"), QStringLiteral("0")}), "--count: the measure count must be a whole number"},
        {counting({QStringLiteral("--count"), QStringLiteral("1e9")}), "from 1 to 32767"},
        {counting({QStringLiteral("--energy"), QStringLiteral("6.81")}), "Measure Energy is Out of Range"},
    };
    for (const Refusal& r : refusals) {
        const HeadlessRun run = tz4(simulated() + r.args, 30000);
        EXPECT_EQ(run.exitCode, 2) << r.says << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(r.says)) << r.says << "\n" << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("Now Connection of TZ-4 Checking")) << r.says;
    }
    EXPECT_TRUE(records().isEmpty());
}
