#pragma once

#include "core/MessageCatalog.h"
#include "sim/SimOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tz4::cli {

// Options that apply to every sub-command and to the window program; they may stand anywhere
// on the line.
struct GlobalOptions {
    QString home;                      // --home DIR
    std::optional<Language> language;  // --lang en|ja
    QString port;                      // --port PATH
    bool simulate = false;             // --simulate
    sim::SimOptions sim;               // --sim-*
    bool json = false;                 // --json
    std::optional<int> dbWaitSeconds;  // --db-wait S: how long to wait for a database another program holds
};

struct CommandLine {
    GlobalOptions options;
    QString command;        // empty: open the main window
    QStringList arguments;  // the words after the command, global options taken out
    bool version = false;   // --version
    bool help = false;      // --help, -h or help
    // --open KEY[,KEY...]: data windows to open in the window program, one per key, keys
    // written as records prints them ("3 W"); "0 W" is a new record of that kind.
    QStringList open;
    QString error;          // a malformed global option
};

// Splits the arguments (without the program name) into global options, the command and its
// own arguments. Both "--opt VALUE" and "--opt=VALUE" are accepted.
CommandLine parseCommandLine(const QStringList& args);

// The words of the command line after the program's name, as the system's locale encodes them.
QStringList commandArguments(int argc, char** argv);

// Makes the global options take effect for this process (the user-interface language, the
// database wait).
void applyGlobalOptions(const GlobalOptions& options);

} // namespace tz4::cli
