#pragma once

#include <QByteArray>
#include <QString>

namespace tz4 {

// Fills the print-template tables of a database from a template file: tab-separated SQL
// literals under "[PRINTS]" and "[PRTLABEL]" section lines, one row per line. A failing line,
// or one whose values would store more than one row, is skipped whole and the failure logged
// at the end. False when the file could not be read or a line failed. `linesStored` receives
// the number of lines that were stored.
bool ImportPrintData(const QString& databasePath, const QString& templateFilePath, int* linesStored = nullptr);

// The text of a template file: UTF-8 when the bytes are valid UTF-8, else the Japanese Windows
// code page (Shift-JIS) in which the files of older installations are written.
QString decodePrintFormat(const QByteArray& bytes);

// The SQL values of one template line: every value is followed by a tab, text after the last
// tab is dropped; values after the first that are empty or '' become NULL.
QStringList printDataValues(const QString& line);

} // namespace tz4
