#pragma once

#include "app/cli/CommandLine.h"

namespace tz4::cli {

// `tz4 init`: creates the data directory with a settings file (the defaults, when none is
// there), the database with its templates, and a fresh Caution.log. Returns the exit code.
int runInit(const GlobalOptions& options, const QStringList& args);

} // namespace tz4::cli
