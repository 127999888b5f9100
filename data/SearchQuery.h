#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tz4 {

// The conditions of the sample manager's search grid; empty or zero means "not set".
struct SearchConditions {
    QString sampleName;  // part of the sample name
    QString notes;       // part of the first note
    QDateTime from;      // a date range (either end may be open)
    QDateTime to;
    int pastMonths = 0;  // or: measured within the past months ...
    int pastDays = 0;    // ... or days
    int kindChoice = 0;  // 1 to 5: W, C, L, D, T
};

// The WHERE part of the record list's query for the search node ("Where SampleName Like ...");
// empty when no condition is set. `now` anchors the past months and days.
QString makeQueryString(const SearchConditions& conditions, const QDateTime& now = QDateTime::currentDateTime());

// The keys of the selection as export takes them: each followed by ",".
QString makeExportList(const QStringList& keys);

} // namespace tz4
