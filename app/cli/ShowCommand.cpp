#include "app/cli/CommandArgs.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/RecordReport.h"
#include "app/cli/RecordStore.h"
#include "data/Tz4DataSet.h"

#include <cstdio>

namespace tz4::cli {

int runShow(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {}, parsed); error || parsed.positional.size() != 1) {
        std::fprintf(stderr, "tz4 show: %s\n", qUtf8Printable(error ? *error : QStringLiteral("name one record number")));
        return 2;
    }
    if (!openRecordStore(options, "show"))
        return 1;
    const auto record = loadRecord(parsed.positional.first(), "show");
    if (!record)
        return 1;
    printRecord(*record, options.json, recordText);
    return 0;
}

} // namespace tz4::cli
