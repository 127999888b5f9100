#pragma once

#include "core/SettingsLines.h"

#include <QString>
#include <QStringList>

namespace tz4 {

class SerialProperties;

// "TZ4Sys.ini" in the data directory.
QString systemFilePath();

// The validation pass. Shows 1014/1012 for a bad model, serial or size value and 1015/1030
// for an unsupported protocol, each followed by the line at fault, which also goes to
// Caution.log; a bad model or protocol ends the pass at once, other errors let it go on. A
// missing file is valid (the defaults are used and written at close); a file that exists but
// cannot be read is not.
bool ChkSystemFile();

// The loading pass into SystemParam and the serial properties. Stops at the first value it
// cannot read (what was read before stays); false then, and when there is no file. A value
// that reads but cannot be used (a rate beyond 16 bits, 9 data bits ...) is passed over and
// the current one stays. Both kinds are added to `unusable`, one describeSettingsLine() text
// each, when it is given.
bool GetSystemFile(SerialProperties& serial, QStringList* unusable = nullptr);

// Writes the file anew in its fixed layout with CR LF line ends. False when it could not be
// written (the failure is logged and the old file stays).
bool SetSystemFile(const SerialProperties& serial);

} // namespace tz4
