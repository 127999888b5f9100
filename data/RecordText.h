#pragma once

#include <QString>
#include <QStringList>

namespace tz4 {

class clsTz4DataSet;

// Writes a stored record as text for other programs: a work-function record or a
// counting-rate record, with the delimiter numbered as the save dialog's file types (1 ",",
// 2 TAB, any other a blank). Other kinds cannot be written as text (`unsupported`).
enum class RecordTextResult { Written, Unsupported, Failed };
RecordTextResult writeRecordText(const clsTz4DataSet& record, const QString& file, int delimiter, QString* failure);

// The save dialog's file types (the catalogue's "name (*.x)|*.x|..." list) as Qt name filters,
// in their order: the position of the chosen one, from 1, is the delimiter number.
QStringList recordTextFilters();

} // namespace tz4
