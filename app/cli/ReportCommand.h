#pragma once

#include "app/cli/CommandLine.h"

namespace tz4::cli {

// `tz4 report KEY... FILE.pdf|png [--template N]`: the report page the print window prints,
// from the kind's default template or template N, as a PDF or a PNG image at 150 dpi.
int runReport(const GlobalOptions& options, const QStringList& args);

} // namespace tz4::cli
