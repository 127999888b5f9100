#pragma once

#include <QStringList>

namespace tz4::cli {

// True when `args` (without the program name) ask for a sub-command, --version or help, which
// run without a window; false when the main window should open.
bool isHeadless(const QStringList& args);

// True for a sub-command that paints (fonts and images need a GUI application, though no
// window is ever shown).
bool needsPainting(const QStringList& args);

// Runs one headless sub-command; returns the process exit code (0 success, 1 failure, 2 a
// usage error).
int run(const QStringList& args);

} // namespace tz4::cli
