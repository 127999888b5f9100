#pragma once

#include <QString>

namespace tz4 {

// What an instrument command is for, in a few words ("switching the grid voltage"), so that a
// refused or unanswered command tells the operator which part of the instrument failed. Empty
// for a command this program does not send.
QString commandPurpose(const QString& command);

} // namespace tz4
