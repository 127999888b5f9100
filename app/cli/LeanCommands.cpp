#include "app/cli/LeanCommands.h"

#include "app/cli/CommandLine.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/SampleCommands.h"
#include "data/DatabaseWait.h"

#include <cstdio>

namespace tz4::cli {

void sayDatabaseWaits(const char* command)
{
    DatabaseWait::setNotice([command](const QString& text) {
        std::fprintf(stderr, "tz4 %s: %s\n", command, qUtf8Printable(text));
        std::fflush(stderr);
    });
}

std::optional<int> runLean(const QStringList& args)
{
    struct Lean {
        const char* name;
        int (*run)(const GlobalOptions& options, const QStringList& args);
    };
    static constexpr Lean lean[] = {{"show", runShow}, {"records", runRecords}, {"search", runSearch}};
    const CommandLine line = parseCommandLine(args);
    if (!line.error.isEmpty() || line.version || line.help)
        return std::nullopt;
    for (const Lean& command : lean) {
        if (line.command != QLatin1String(command.name))
            continue;
        applyGlobalOptions(line.options);
        sayDatabaseWaits(command.name);
        return command.run(line.options, line.arguments);
    }
    return std::nullopt;
}

} // namespace tz4::cli
