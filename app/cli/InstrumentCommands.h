#pragma once

#include "app/cli/CommandLine.h"

namespace tz4::cli {

// `tz4 connect [--wait]`: runs the connection sequence and prints each phase reached; exit 0
// only when the instrument is ready. --wait waits out a warm-up and continues.
int runConnect(const GlobalOptions& options, const QStringList& args);

// `tz4 measure work|cps|light|calib [settings]`: connects, measures a new record with the
// given settings and stores it; prints the stored record's key.
int runMeasure(const GlobalOptions& options, const QStringList& args);

} // namespace tz4::cli
