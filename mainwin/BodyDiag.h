#pragma once

#include <QString>

namespace tz4 {

// Appends the self-diagnosis report to `text`: one line per checked item, its label then
// "OK" or "Error*****", each ended by CR LF. `lightUnit` and `stageUnit` are the diagnosis
// words of the light unit (5 characters) and the stage unit (6 characters); a word of any
// other length adds nothing for its unit.
void appendBodyDiagLines(QString& text, const QString& lightUnit, const QString& stageUnit);

} // namespace tz4
