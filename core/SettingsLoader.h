#pragma once

#include "core/SettingsLines.h"

#include <QStringList>

namespace tz4 {

class SerialProperties;

// The loading pass into SystemParam and the serial properties, line by line. Stops at the
// first value it cannot read (what was read before stays) and then yields false. A value that
// reads but cannot be used (a rate beyond 16 bits, 9 data bits ...) is passed over and the
// current one stays. Both kinds are added to `unusable`, one describeSettingsLine() text each,
// when it is given.
bool loadSettingsLines(const QList<SettingsLine>& lines, SerialProperties& serial, QStringList* unusable);

} // namespace tz4
