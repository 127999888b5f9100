#pragma once

#include <QString>

namespace tz4 {

// Text of a link or instrument error number; empty for numbers the instrument never uses.
QString GetErrorString(int number);

// The link's own error numbers (error style 1); the instrument's come in its "ERROR n" replies.
namespace linkerr {
constexpr int NoError = 0;
constexpr int ReceiveTimeOut = 1;
constexpr int NotConnected = 6;
constexpr int Cancelled = 9;
} // namespace linkerr

} // namespace tz4
