#pragma once

#include <QByteArray>

#include <optional>

namespace tz4::sim {

// The numbers of the instrument's "ERROR n" replies the simulator gives.
namespace replyerr {
constexpr int UnknownCommand = 10;
constexpr int DoorOpen = 14;
constexpr int AddressRange = 15;
constexpr int ValueRange = 16;
} // namespace replyerr

// What one command does: its answer, the time before the answer and the motion after it.
struct CommandOutcome {
    QByteArray text;
    int workMs = 0;   // before the answer
    int motionMs = 0; // after the answer
};

inline const QByteArray kOk = QByteArrayLiteral("OK");

inline QByteArray errorText(int number) { return "ERROR " + QByteArray::number(number); }

inline QByteArray padded(long long value, int width) { return QByteArray::number(value).rightJustified(width, '0'); }

// A decimal argument of one to five digits.
inline std::optional<int> digits(const QByteArray& argument)
{
    if (argument.isEmpty() || argument.size() > 5)
        return std::nullopt;
    int value = 0;
    for (char c : argument) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

inline std::optional<int> inRange(const QByteArray& argument, int low, int high)
{
    const auto value = digits(argument);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

} // namespace tz4::sim
