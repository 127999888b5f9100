#pragma once

#include "app/cli/CommandLine.h"

namespace tz4::cli {

// `tz4 records [--folder N]`: the folders and records of a folder (default: the top level).
int runRecords(const GlobalOptions& options, const QStringList& args);

// `tz4 records --tree`: the sample manager's folder tree, one node a line, indented by depth
// (with --json: nested objects with key, name, image and children).
void printFolderTree(const QString& database, bool json);

// `tz4 show N`: settings, results, statistics and points of record N.
int runShow(const GlobalOptions& options, const QStringList& args);

// `tz4 analyze N --fit A:B --ground C:D [--power n] [--save]`: sets the analysis ranges over
// the whole Y range and prints the results; --save stores the ranges' point flags.
int runAnalyze(const GlobalOptions& options, const QStringList& args);

// `tz4 export-text N FILE [--delim csv|tab|space]`: the record as a text file.
int runExportText(const GlobalOptions& options, const QStringList& args);

} // namespace tz4::cli
