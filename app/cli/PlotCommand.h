#pragma once

#include "app/cli/CommandLine.h"

namespace tz4::cli {

// `tz4 plot KEY... FILE.png|svg|pdf [--size WxH]`: the records drawn as a data window shows
// them, the first one selected, into a picture file.
int runPlot(const GlobalOptions& options, const QStringList& args);

} // namespace tz4::cli
