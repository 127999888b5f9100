#include "mainwin/BodyDiag.h"

#include <gtest/gtest.h>

using namespace tz4;

TEST(BodyDiag, ListsEveryItemOfBothUnitsWithItsBit)
{
    QString text = QStringLiteral("head\r\n");
    // Light unit: byte A 0x48 (eyeris origin), byte B 0x24 (potensio 1, photodiode 2).
    // Stage unit: byte C 0x21 (memory, QH volts), byte D 0x06 (dry air 2 and 3).
    appendBodyDiagLines(text, QStringLiteral(" 34824 "), QStringLiteral("332106"));
    EXPECT_EQ(text, QStringLiteral("head\r\n"
                                   "TZ-4 QM-5 Memory OK\r\n"
                                   "TZ-4 QM-5 Filter OK\r\n"
                                   "TZ-4 QM-5 Eyeris Origin Error*****\r\n"
                                   "TZ-4 QM-5 Eyeris Limit OK\r\n"
                                   "TZ-4 QM-5 FAN 1 OK\r\n"
                                   "TZ-4 QM-5 FAN 2 OK\r\n"
                                   "TZ-4 QM-5 Potensio 1 Error*****\r\n"
                                   "TZ-4 QM-5 Potensio 2 OK\r\n"
                                   "TZ-4 QM-5 PhotoDiode 1 OK\r\n"
                                   "TZ-4 QM-5 PhotoDiode 2 Error*****\r\n"
                                   "TZ-4 QS-6 Memory Error*****\r\n"
                                   "TZ-4 QS-6 X Stage Origin OK\r\n"
                                   "TZ-4 QS-6 X Stage Limit OK\r\n"
                                   "TZ-4 QS-6 FAN 1 OK\r\n"
                                   "TZ-4 QS-6 FAN 2 OK\r\n"
                                   "TZ-4 QS-6 QH Volts Error*****\r\n"
                                   "TZ-4 QS-6 QL Volts OK\r\n"
                                   "TZ-4 QS-6 SH Volts OK\r\n"
                                   "TZ-4 QS-6 Dry Air 1 OK\r\n"
                                   "TZ-4 QS-6 Dry Air 2Error*****\r\n"
                                   "TZ-4 QS-6 Dry Air 3 Error*****\r\n"));
}

TEST(BodyDiag, AWordOfTheWrongLengthAddsNothingForItsUnit)
{
    QString text;
    appendBodyDiagLines(text, QStringLiteral("2404"), QStringLiteral("22404"));
    EXPECT_TRUE(text.isEmpty());
    appendBodyDiagLines(text, QStringLiteral("240400"), QStringLiteral("2240400"));
    EXPECT_TRUE(text.isEmpty());

    // A valid stage word still reports when the light word is unusable.
    appendBodyDiagLines(text, QStringLiteral("2404"), QStringLiteral("2ZZZ00"));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 11);
    EXPECT_FALSE(text.contains(QStringLiteral("Error")));
}
