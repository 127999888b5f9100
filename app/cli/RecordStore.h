#pragma once

#include "app/cli/CommandLine.h"

#include <QString>

#include <memory>
#include <optional>

namespace tz4 {
class clsTz4DataSet;
}

namespace tz4::cli {

// Prepares the data directory for a command that works on stored records: the system
// parameters and the settings file (for the date pattern). Prints the reason and returns
// false when there is no data directory or no database; neither is created.
bool openRecordStore(const GlobalOptions& options, const char* command);

// The stored key ("3 W") of record "N" or "N X"; prints the reason and returns none when there
// is no such record.
std::optional<QString> storedKey(const QString& keyText, const char* command);

// Loads record "N" or "N X" from the database; prints the reason and returns null when there
// is no such record.
std::unique_ptr<clsTz4DataSet> loadRecord(const QString& keyText, const char* command);

// True when folder `folder` exists and is not in the trash (0, the top level, always exists).
bool folderExists(qint32 folder);

} // namespace tz4::cli
