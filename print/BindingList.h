#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tz4 {

class clsTz4DataSet;

// The choices of a label's binding: position n names the record's parameter n, shown by its
// catalogue text. Some positions name numbers no record answers (a label bound to them
// prints only its texts); the last one is the time of printing.
namespace binding {
constexpr int Count = 60;
constexpr int NowDateTime = 59;

// The catalogue id of a position; 0 outside the list.
int titleId(int position);
QString title(int position);
// Every title, in position order.
QStringList titles();

// The value a label bound to `position` shows for `record`; null when the record does not
// answer it (or there is no record). `now` is the time of printing.
QVariant value(const clsTz4DataSet* record, int position, const QDateTime& now);
// True when a record answers the position (the time of printing always is).
bool answered(const clsTz4DataSet* record, int position);
} // namespace binding

} // namespace tz4
