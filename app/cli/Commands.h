#pragma once

#include <QStringList>

namespace tz4::cli {

// True when `args` (without the program name) name a headless sub-command or option that
// needs no window, such as --version or messages.
bool isHeadless(const QStringList& args);

// Runs one headless sub-command; returns the process exit code.
int run(const QStringList& args);

} // namespace tz4::cli
