#include "app/cli/RecordStore.h"
#include "app/cli/SampleCommands.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "data/SampleOperations.h"

#include <cstdio>

namespace tz4::cli {

int usageError(const char* command, const QString& text)
{
    std::fprintf(stderr, "tz4 %s: %s\n", command, qUtf8Printable(text));
    return 2;
}

int withDatabase(const GlobalOptions& options, const char* command, const std::function<int(const QString&)>& body)
{
    if (!openRecordStore(options, command))
        return 1;
    try {
        return body(SystemParam().DatabasePath);
    } catch (const Tz4Error& error) {
        std::fprintf(stderr, "tz4 %s: %s\n", command, qUtf8Printable(error.description()));
        return 1;
    }
}

QStringList resolveKeys(const QString& database, const QStringList& texts)
{
    QStringList keys;
    for (const QString& text : texts)
        keys << resolveItemKey(database, text);
    return keys;
}

} // namespace tz4::cli
