#pragma once

#include <QStringList>

namespace tz4::cli {

// `tz4 messages [--lang en|ja]`: prints "id<TAB>text" for every catalogue entry, one line each,
// placeholders as stored. `args` are the words after "messages". Returns the exit code.
int runMessages(const QStringList& args);

} // namespace tz4::cli
