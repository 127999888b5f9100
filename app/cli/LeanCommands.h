#pragma once

#include <QStringList>

#include <optional>

namespace tz4::cli {

// The commands that only read the database (show, records, search), run by a program that
// loads none of the libraries of windows and pictures: a script that asks them many times
// does not pay for what they never use. Nothing when `args` asks for anything else; then the
// whole program answers. Needs a QCoreApplication.
std::optional<int> runLean(const QStringList& args);

// From now on a wait for a database another program holds is said on standard error, once,
// in the words of `command`.
void sayDatabaseWaits(const char* command);

} // namespace tz4::cli
