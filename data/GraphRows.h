#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <utility>

namespace tz4 {

class SqliteStatement;

// The Graphs table: the display settings of the data windows, one row per record kind
// (TypeNo), shared by every window of that kind.
namespace GraphRows {

// Hands the kind's row to `take`; false, without calling it, when the kind has no row.
bool read(const QString& databaseName, int typeNo, const std::function<void(const SqliteStatement& row)>& take);
// Adds an empty row for the kind unless it has one.
void ensure(const QString& databaseName, int typeNo);
// Stores the named columns in the kind's row; a kind without a row is left without one.
void write(const QString& databaseName, int typeNo, const QList<std::pair<QString, QVariant>>& columns);

} // namespace GraphRows
} // namespace tz4
