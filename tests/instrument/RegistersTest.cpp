#include "tests/instrument/ScriptedLine.h"

#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"
#include "tests/support/TestSupport.h"


using namespace tz4;
using tz4::test::ScriptedBody;

namespace {

using Registers = ScriptedBody;

} // namespace

TEST_F(Registers, ReadOnceRegistersAskTheInstrumentOnlyOnce)
{
    line.on("ES", "0500");
    EXPECT_EQ(body.Eyeris(), 500);
    EXPECT_EQ(body.Eyeris(), 500);
    body.setEyeris(1234);
    EXPECT_EQ(body.Eyeris(), 1234);
    EXPECT_EQ(line.commands(), QStringList({"ES", "ES1234"}));
    EXPECT_EQ(line.overTimes(), QList<int>({10, 50}));

    // Both LED units share one cache and one read flag.
    line.on("HS", "7");
    EXPECT_EQ(body.Led(0), 7);
    EXPECT_EQ(body.Led(1), 7);
    body.setLed(3, 9);
    EXPECT_EQ(body.Led(1), 9);
    EXPECT_EQ(line.commands().mid(2), QStringList({"HS"}));
}

TEST_F(Registers, LiveRegistersAskEveryTime)
{
    for (int round = 0; round < 2; ++round) {
        body.Filter();
        body.LightWave();
        body.CpsValue();
        body.DiodeVolts();
        body.QL_Volts();
        body.QH_Volts();
        body.SH_Volts();
        body.Fan(1);
        body.Door();
    }
    const QStringList once = {"FS", "LS", "TS", "CS", "KS", "PS", "QS", "US", "IO", "IO"};
    QStringList twice = once;
    twice += QStringList({"FS", "LS", "CS", "KS", "PS", "QS", "US", "IO", "IO"});
    EXPECT_EQ(line.commands(), twice);
    line.clearSent();
    EXPECT_EQ(body.Fan(2), 0);
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(Registers, WritesUseFixedWidthArgumentsAndTheirOwnTimeOuts)
{
    body.setLightRange(9);
    body.setFilter(2);
    body.setHV_Volts(750);
    body.setLed(1, 5);
    body.setLed(0, 12);
    body.setAirValue(1.8f);
    body.setMeasTime(10);
    body.setAirChack(true);
    body.setElBalve(false);
    body.setGridVolts(true);
    EXPECT_EQ(line.commands(), QStringList({"RS9", "FS2", "VS0750", "HO005", "HS012", "JS1800", "TS1000", "AS1",
                                            "DS0", "GS1"}));
    EXPECT_EQ(line.overTimes(), QList<int>({10, 50, 50, 10, 10, 10, 60, 10, 10, 10}));
    EXPECT_EQ(body.OverTime(), 60);
    EXPECT_EQ(body.LastProcess(), "GridVolts");
}

TEST_F(Registers, RepliesAreConvertedWithTheirScaling)
{
    line.on("PS", "12.5");
    line.on("QS", " 150");
    line.on("JS", "1800");
    line.on("TS", "1049");
    line.on("XS", "01234");
    line.on("AS", "01");
    line.on("DS", "10");
    line.on("GS", "0");
    line.on("LS", "2500");
    line.on("KS", "345.5");
    EXPECT_FLOAT_EQ(body.QL_Volts(), 1.25f);
    EXPECT_FLOAT_EQ(body.QH_Volts(), 15.0f);
    EXPECT_FLOAT_EQ(body.AirValue(), 1.8f);
    EXPECT_EQ(body.MeasTime(), 10);
    EXPECT_FLOAT_EQ(body.StageX(), 12.34f);
    EXPECT_TRUE(body.AirChack());
    EXPECT_TRUE(body.ElBalve());
    EXPECT_FALSE(body.GridVolts());
    EXPECT_FLOAT_EQ(body.LightWave(), 250.0f);
    EXPECT_FLOAT_EQ(body.Energen(), 4.96f);
    EXPECT_FLOAT_EQ(body.DiodeVolts(), 345.5f);

    line.queue("IO", {"001", "010", "1"});
    EXPECT_TRUE(body.Door());
    EXPECT_FALSE(body.Door());
    EXPECT_FALSE(body.Door());
}

TEST_F(Registers, StageXSetOnlyCorrectsTheHeldPosition)
{
    line.on("XS", "01234");
    body.StageX();
    line.clearSent();
    body.setStageX(5);
    EXPECT_FLOAT_EQ(body.StageX(), 5.0f);
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(Registers, FailedCommandsReportAndStoreTheFailureValue)
{
    tz4::test::Spy errors(&body, &uclTz4Body::ReceiveError);
    line.on("ES1234", "ERROR 16");
    body.Eyeris();
    body.setEyeris(1234);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0][0].toInt(), 0);
    EXPECT_EQ(errors[0][1].toInt(), 16);
    EXPECT_EQ(body.Eyeris(), 1234);

    // The anode voltage alone keeps its value when the read fails.
    body.setHV_Volts(750);
    line.on("VS", "ERROR 16");
    EXPECT_EQ(body.HV_Volts(), 750);

    line.withhold("FS");
    EXPECT_EQ(body.Filter(), 0);
    EXPECT_EQ(errors.last()[1].toInt(), 1);
    // After the time-out everything fails at once, each access with its own report.
    const int before = int(errors.size());
    EXPECT_FLOAT_EQ(body.QL_Volts(), 0.0f);
    EXPECT_FALSE(body.Door());
    EXPECT_EQ(errors.size(), before + 2);
    EXPECT_EQ(errors.last()[0].toInt(), 1);
    EXPECT_EQ(errors.last()[1].toInt(), 9);
}

TEST_F(Registers, NonNumericRepliesAndReadOnlySetsPropagate)
{
    line.on("ES", "abc");
    try {
        body.Eyeris();
        FAIL() << "no failure";
    } catch (const Tz4Error& error) {
        EXPECT_EQ(error.number(), err::TypeMismatch);
        EXPECT_EQ(errorLocation(), "uclTz4Body:WriteRS232C");
    }
    line.on("FS", "99999");
    EXPECT_THROW(body.Filter(), Tz4Error);
    // Words that read as numbers but are no measurement.
    line.on("PS", "nan");
    EXPECT_EQ(tz4::test::errorNumberOf([&] { body.QL_Volts(); }), err::TypeMismatch);
    line.on("KS", "-inf");
    EXPECT_EQ(tz4::test::errorNumberOf([&] { body.DiodeVolts(); }), err::TypeMismatch);
    // A number beyond single precision cannot be held by any register.
    line.on("KS", ".1e79");
    EXPECT_EQ(tz4::test::errorNumberOf([&] { body.DiodeVolts(); }), err::Overflow);

    const auto readOnly = [](const std::function<void()>& set, const char* label) {
        try {
            set();
            ADD_FAILURE() << label;
        } catch (const Tz4Error& error) {
            EXPECT_EQ(error.number(), err::PropertyReadOnly) << label;
            EXPECT_EQ(errorLocation(), QLatin1String(label));
        }
    };
    readOnly([&] { body.setCpsValue(1); }, "uclTz4Body:CpsValue(Let)");
    readOnly([&] { body.setFan(0, 1); }, "uclTz4Body:Fan(Let)");
    readOnly([&] { body.setDiodeVolts(1); }, "uclTz4Body:DiodeVolts(Let)");
    readOnly([&] { body.setQL_Volts(1); }, "uclTz4Body:QL_Volts(Let)");
    readOnly([&] { body.setQH_Volts(1); }, "uclTz4Body:QH_Volts(Let)");
    readOnly([&] { body.setSH_Volts(1); }, "uclTz4Body:SH_Volts(Let)");
    readOnly([&] { body.setDoor(true); }, "uclTz4Body:Door(Let)");
    readOnly([&] { body.setLightRangeAdjust(1, 1); }, "uclTz4Body:LightRangeAdjust(Let)");
    readOnly([&] { body.setPhotoDiodeAdjust(4, 1); }, "uclTz4Body:PhotoDiodeAdjust(Let)");
    readOnly([&] { body.setConnected(true); }, "uclTz4Body:Connected(Let)");

    // A counting time whose hundredths do not fit the instrument's field is refused unsent.
    line.clearSent();
    EXPECT_THROW(body.setMeasTime(400), Tz4Error);
    EXPECT_TRUE(line.sent.empty());
}

TEST_F(Registers, CountReadWaitsTenSecondsPerSecondOfCounting)
{
    line.on("TS", "1000");
    body.CpsValue(); // 12 s allowed for 10 s counting: kept
    body.setOverTime(20);
    body.CpsValue(); // 4 s allowed: raised to 100 s
    EXPECT_EQ(line.commands(), QStringList({"TS", "CS", "CS"}));
    EXPECT_EQ(line.overTimes(), QList<int>({60, 60, 500}));
    EXPECT_EQ(body.OverTime(), 20);
    EXPECT_EQ(body.LastProcess(), "CpsValue");
}

TEST_F(Registers, WavelengthIsAlwaysApproachedFromAbove)
{
    line.on("LS", "2500");
    body.setOverTime(7);
    body.setLightWave(300);
    EXPECT_EQ(line.commands(), QStringList({"LS", "LS3100", "KS", "LS3000"}));
    EXPECT_EQ(line.overTimes(), QList<int>({50, 500, 1500, 600}));
    EXPECT_EQ(body.OverTime(), 7);

    line.clearSent();
    line.on("LS", "3000");
    body.setLightWave(250);
    EXPECT_EQ(line.commands(), QStringList({"LS", "KS", "LS2500"}));
    EXPECT_EQ(line.overTimes(), QList<int>({50, 1500, 600}));

    line.clearSent();
    line.on("LS", "2000");
    body.setEnergen(5.0f); // 248 nm
    EXPECT_EQ(line.commands(), QStringList({"LS", "LS2580", "KS", "LS2480"}));
    EXPECT_FLOAT_EQ(body.Energen(), 5.0f);

    tz4::test::Spy errors(&body, &uclTz4Body::ReceiveError);
    line.clearSent();
    line.on("LS", "ERROR 16");
    body.setLightWave(260);
    EXPECT_EQ(line.commands(), QStringList({"LS"}));
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(Registers, DeadTimeGoesToCalibrationMemoryInTwoHalves)
{
    body.setSumLost(0.001f);
    EXPECT_EQ(line.commands(), QStringList({"WS0001", "WO0.00", "WO1000"}));
    EXPECT_FLOAT_EQ(body.SumLost(), 0.001f);
    EXPECT_EQ(body.LastProcess(), "SumLost");

    line.clearSent();
    line.on("WS0001", "ERROR 15");
    body.setSumLost(0.002f);
    EXPECT_EQ(line.commands(), QStringList({"WS0001"}));
}

TEST_F(Registers, PropertyDumpListsTheCachedValuesWithoutAsking)
{
    body.setAirChack(true);
    body.setStageX(15);
    line.clearSent();
    const QString dump = body.ClushParameter();
    EXPECT_TRUE(dump.startsWith("Error(Clush) Property List\r\nAirChack=True\r\n"));
    EXPECT_TRUE(dump.contains("\r\nX Stage=150\r\n")); // held in tenths
    EXPECT_TRUE(dump.endsWith("\r\nOverTime=60\r\n"));
    EXPECT_TRUE(line.sent.empty());
}
