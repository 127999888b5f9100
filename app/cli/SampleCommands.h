#pragma once

#include "app/cli/CommandLine.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tz4::cli {

class TerminalStatusBar;

// The sample manager's operations without a window. Keys are written as `records` prints
// them ("12 F", "3 W", also "12F"); a bare number names a record.

int runFolder(const GlobalOptions& options, const QStringList& args);     // folder new NAME [--in KEY]
int runRename(const GlobalOptions& options, const QStringList& args);     // rename KEY NAME
int runMove(const GlobalOptions& options, const QStringList& args);       // move KEY... --to KEY
int runCopy(const GlobalOptions& options, const QStringList& args);       // copy KEY... --to KEY
int runDelete(const GlobalOptions& options, const QStringList& args);     // delete KEY...
int runRestore(const GlobalOptions& options, const QStringList& args);    // restore KEY...
int runEmptyTrash(const GlobalOptions& options, const QStringList& args); // empty-trash --yes
int runAttach(const GlobalOptions& options, const QStringList& args);     // attach SOURCE TARGET
int runUndo(const GlobalOptions& options, const QStringList& args);       // undo
int runSearch(const GlobalOptions& options, const QStringList& args);     // search [conditions]
int runExport(const GlobalOptions& options, const QStringList& args);     // export FILE KEY...
int runImport(const GlobalOptions& options, const QStringList& args);     // import FILE [--into KEY]
int runRepair(const GlobalOptions& options, const QStringList& args);     // repair

// Runs `body` on the database of the data directory: the store is opened first, and a failure
// is printed as "tz4 COMMAND: reason" (exit 1).
int withDatabase(const GlobalOptions& options, const char* command, const std::function<int(const QString& database)>& body);

// Keys typed on the command line in their stored form; throws for one that names nothing.
QStringList resolveKeys(const QString& database, const QStringList& texts);

// Prints a usage error (exit code 2).
int usageError(const char* command, const QString& text);

} // namespace tz4::cli
