#pragma once

#include <QString>

namespace tz4 {

// One failed command for a person: "TS0100 -> ERROR 16 (TZ4 Command Value Range Over)".
QString describeCommandFailure(const QString& command, const QString& reply, int number);

// Text of a link or instrument error number; empty for numbers the instrument never uses.
QString GetErrorString(int number);

// The link's own error numbers (error style 1); the instrument's come in its "ERROR n" replies.
namespace linkerr {
constexpr int NoError = 0;
constexpr int ReceiveTimeOut = 1;
constexpr int UnreadableReply = 3; // line noise instead of an answer: the body's "unknown error"
constexpr int NotConnected = 6;
constexpr int Cancelled = 9;
} // namespace linkerr

} // namespace tz4
