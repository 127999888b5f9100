#pragma once

#include <QJsonObject>
#include <QString>

namespace tz4 {
class clsTz4DataSet;
}

namespace tz4::cli {

// One record for scripts: key, sample_name, kind, date, the analysis results, every numbered
// parameter the record answers and its data points.
QJsonObject recordJson(const clsTz4DataSet& record);

// The same for a person: a heading block, the parameters by number and name, the points.
QString recordText(const clsTz4DataSet& record);

// The analysis results alone, one "name value" line each.
QString analysisText(const clsTz4DataSet& record);

// Writes the record to stdout: as compact JSON with --json, else in the given text form.
void printRecord(const clsTz4DataSet& record, bool json, QString (*asText)(const clsTz4DataSet&));

// Name of a record kind by its letter, as the record list shows it.
QString kindName(const QString& letter);

} // namespace tz4::cli
