#pragma once

#include <QString>
#include <QStringList>

namespace tz4 {

class SqliteDatabase;

// Checks the database file at `path`, puts right what the check finds that the program can put
// right (folders that lie inside themselves go to the top level) and compacts the file in
// place. The export/import work tables of `mainDatabasePath` (default: `path`) are dropped
// first. Never started for a path shorter than 4 characters. A failure is shown and logged and
// leaves the file as it was. What was put right is added to `repaired` as sentences for the
// user. True when done.
bool CompactAndRepairDB(const QString& path, const QString& mainDatabasePath = {}, QStringList* repaired = nullptr);

// The same without the error display: throws Tz4Error.
QStringList compactAndRepair(const QString& path, const QString& mainDatabasePath = {});

// Compacts the file in place. The engine rewrites it through its journal while it holds the
// file for itself: a writer that arrives meanwhile waits and what it stores lands in the
// compacted file; a failure (a full disk) leaves the file as it was. Throws Tz4Error.
void compactInPlace(const QString& path);

// Moves every folder that sits in a loop of parents to the top level, one per loop, in one
// transaction; returns the folders moved.
QList<qint32> breakFolderLoops(SqliteDatabase& db);

} // namespace tz4
