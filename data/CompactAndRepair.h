#pragma once

#include <QDateTime>
#include <QString>

namespace tz4 {

// Checks the database file at `path`, compacts it into a temporary file beside it and puts the
// copy in its place. The export/import work tables of `mainDatabasePath` (default: `path`) are
// dropped first. Never started for a path shorter than 4 characters. A failure is shown and
// logged; the file is untouched unless the failure comes after its delete, when the compacted
// copy is left under the temporary name. True when done.
bool CompactAndRepairDB(const QString& path, const QString& mainDatabasePath = {});

// The temporary file's name for a repair started at `when`: "TMP" and YYMMDDHHNNSS, ".mdb".
QString repairTemporaryPath(const QString& databasePath, const QDateTime& when);

} // namespace tz4
