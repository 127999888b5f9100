#pragma once

#include <QString>

namespace tz4 {

class Clock;

// "TZ4Serial.Log" in the data directory: the process and serial history of one run.
QString serialDebugLogPath();

// Deletes an old log (waiting on `clock` until it is really gone) and writes the header.
// False when the file could not be written; the failure is logged to Caution.log.
bool startSerialDebugLog(Clock& clock);

// Appends one record: the separator line, "[Now:<date>]", `text`, then `traffic` when it is
// given (the instrument's accumulated serial log), then an empty line.
bool appendSerialDebugLog(const QString& text, const QString* traffic = nullptr);

} // namespace tz4
