#pragma once

#include <QString>

namespace tz4 {

class Tz4Error;

// "Caution.log" in the data directory.
QString cautionLogPath();

// Appends one entry: general date, then either " : <number> : <location> : <description>" for
// `pending` or " : - : <location> : No Error", then "Message : <message>" on a second line
// when a message is given. A log that cannot be written is passed over silently.
void WriteCautionLog(const QString& message = {}, const Tz4Error* pending = nullptr);

// Deletes the log so that it covers one run; false when it could not be removed.
bool clearCautionLog();

} // namespace tz4
