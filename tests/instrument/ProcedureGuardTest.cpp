#include "tests/instrument/ScriptedLine.h"

#include "instrument/LightCalibration.h"
#include "instrument/ProcedureGuard.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Registers.h"
#include "instrument/Tz4Sequences.h"

#include <stdexcept>

using namespace tz4;
using tz4::test::ScriptedLine;

namespace {

// The guard on a link and sequences of their own, without the component around them.
class ProcedureGuardTest : public ::testing::Test {
protected:
    ProcedureGuardTest()
    {
        link.setTimerEnable(true);
        link.setPortOpen(true);
    }

    // A procedure body that fails after taking the instrument.
    void failInside(Tz4Sequences* makeSafe)
    {
        const ProcedureGuard guard(link, makeSafe);
        ASSERT_TRUE(link.Busy());
        throw std::runtime_error("the procedure failed");
    }

    VirtualClock clock;
    ScriptedLine line{clock};
    Tz4Link link{clock, line};
    Tz4Registers registers{link};
    LightCalibration calibration;
    Tz4Sequences sequences{link, registers, calibration};
};

} // namespace

TEST_F(ProcedureGuardTest, AFailureReleasesBusyAndLeavesTheInstrumentSafeOnlyWhenAsked)
{
    EXPECT_THROW(failInside(nullptr), std::runtime_error);
    EXPECT_FALSE(link.Busy());
    EXPECT_FALSE(link.Canceled());
    EXPECT_TRUE(line.sent.empty());

    EXPECT_THROW(failInside(&sequences), std::runtime_error);
    EXPECT_FALSE(link.Busy());
    EXPECT_TRUE(link.Canceled());
    EXPECT_EQ(line.commands(), QStringList({"FO1", "GS0", "XO1"}));
}

TEST_F(ProcedureGuardTest, AFailureWhileMakingSafeNeitherHidesTheFirstNorKeepsBusy)
{
    line.on("GS0", "ERROR"); // no number: the reply itself fails to convert
    EXPECT_THROW(failInside(&sequences), std::runtime_error);
    EXPECT_FALSE(link.Busy());
    EXPECT_EQ(line.commands(), QStringList({"FO1", "GS0"}));
}
