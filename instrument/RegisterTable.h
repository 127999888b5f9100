#pragma once

#include <QtGlobal>

namespace tz4 {

// How a register's reply becomes its value.
enum class RegisterReply {
    Integer, // a 16-bit whole number as written
    Scaled,  // a number divided by the row's scale
    Flag,    // true when the reply holds a "1"
};

// One instrument register as the component reads and writes it.
struct Register {
    const char* process;  // LastProcess while its command runs
    const char* command;  // two letters; a write appends the argument
    RegisterReply reply;
    double scale;         // instrument units per component unit, for Scaled replies and writes
    const char* picture;  // argument picture of a write; nullptr where the component never writes it
    qint16 readOverTime;  // reply time-out in ticks; 0 keeps the OverTime in force
    qint16 writeOverTime; // likewise for a write
    bool readOnce;        // after the first read the held value answers
    bool keepOnFailure;   // a failed read keeps the held value rather than 0
};

namespace reg {
using enum RegisterReply;
//                                process       cmd   reply    scale picture read write once   keep
inline constexpr Register MeasTime{"MeasTime", "TS", Scaled, 100, "0000", 0, 0, true, false};
inline constexpr Register Eyeris{"Eyeris", "ES", Integer, 1, "0000", 10, 50, true, false};
inline constexpr Register LightRange{"LightRange", "RS", Integer, 1, "0", 10, 10, true, false};
inline constexpr Register AirChack{"AirChack", "AS", Flag, 1, "0", 10, 10, true, false};
inline constexpr Register CpsValue{"CpsValue", "CS", Integer, 1, nullptr, 0, 0, false, false};
inline constexpr Register ElBalve{"ElBalve", "DS", Flag, 1, "0", 10, 10, true, false};
inline constexpr Register GridVolts{"GridVolts", "GS", Flag, 1, "0", 10, 10, true, false};
// Both units' LEDs share one held value and one read-once flag.
inline constexpr Register Led0{"LED0", "HS", Integer, 1, "000", 10, 10, true, false};
inline constexpr Register Led1{"LED1", "HO", Integer, 1, "000", 10, 10, true, false};
inline constexpr Register Fan0{"FAN0", "IS", Integer, 1, nullptr, 10, 0, false, false};
inline constexpr Register Fan1{"FAN1", "IO", Integer, 1, nullptr, 10, 0, false, false};
inline constexpr Register AirValue{"AirValue", "JS", Scaled, 1000, "0000", 10, 10, true, false};
inline constexpr Register DiodeVolts{"DiodeVolts", "KS", Scaled, 1, nullptr, 10, 0, false, false};
// Written by its own approach sequence (always from above), not by a plain write.
inline constexpr Register LightWave{"LightWave", "LS", Scaled, 10, nullptr, 50, 0, false, false};
inline constexpr Register QL_Volts{"QL_Volts", "PS", Scaled, 10, nullptr, 10, 0, false, false};
inline constexpr Register QH_Volts{"QH_Volts", "QS", Scaled, 10, nullptr, 10, 0, false, false};
inline constexpr Register SH_Volts{"SH_Volts", "US", Scaled, 10, nullptr, 10, 0, false, false};
// Answers hundredths; the component holds tenths. Only the stage sequences move the stage.
inline constexpr Register StageX{"StageX", "XS", Scaled, 10, nullptr, 10, 0, true, false};
inline constexpr Register HV_Volts{"HV_Volts", "VS", Integer, 1, "0000", 10, 50, true, true};
inline constexpr Register Filter{"Filter", "FS", Integer, 1, "0", 10, 50, false, false};
// The stage unit's fan word; its third digit is the door switch.
inline constexpr Register Door{"Door", "IO", Integer, 1, nullptr, 10, 0, false, false};
} // namespace reg

} // namespace tz4
