#pragma once

#include "app/cli/CommandLine.h"

namespace tz4::cli {

// `tz4 ports`: the serial ports the system has (device, description, manufacturer, USB
// vendor:product, serial number), one a line, and on standard error the port the instrument
// would use now, where that comes from and whether it can be opened. Takes no lock: it runs
// beside the window program.
int runPorts(const GlobalOptions& options, const QStringList& args);

} // namespace tz4::cli
