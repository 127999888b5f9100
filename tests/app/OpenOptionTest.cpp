#include "tests/app/HeadlessRun.h"

namespace tz4::test {
namespace {

// --open belongs to the window program: wrong keys or a command beside it stop before any window.
TEST(OpenOption, RefusesWhatIsNotARecordKeyAndAnyCommandBesideIt)
{
    QTemporaryDir home;
    const HeadlessRun badKey = runTz4({QStringLiteral("--home"), home.path(), QStringLiteral("--open"), QStringLiteral("3W,12Q")});
    EXPECT_EQ(badKey.exitCode, 2);
    EXPECT_TRUE(badKey.err.contains("--open takes record keys such as 3W or \"0 W\", not '12Q'")) << badKey.err.toStdString();

    const HeadlessRun withCommand =
        runTz4({QStringLiteral("--home"), home.path(), QStringLiteral("--open"), QStringLiteral("1 W"), QStringLiteral("records")});
    EXPECT_EQ(withCommand.exitCode, 2);
    EXPECT_TRUE(withCommand.err.contains("--open opens windows and goes with no command")) << withCommand.err.toStdString();
}

} // namespace
} // namespace tz4::test
