#pragma once

#include <QString>

namespace tz4 {

// Fills the print-template tables of a database from a template file: tab-separated SQL
// literals under "[PRINTS]" and "[PRTLABEL]" section lines. A failing line is skipped and the
// failure logged at the end. False when the file could not be read or a line failed.
bool ImportPrintData(const QString& databasePath, const QString& templateFilePath);

// The SQL values of one template line: every value is followed by a tab, text after the last
// tab is dropped; values after the first that are empty or '' become NULL.
QStringList printDataValues(const QString& line);

} // namespace tz4
