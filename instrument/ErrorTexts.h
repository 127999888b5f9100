#pragma once

#include <QString>

namespace tz4 {

// Text of a link or instrument error number; empty for numbers the instrument never uses.
QString GetErrorString(int number);

} // namespace tz4
