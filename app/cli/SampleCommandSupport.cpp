#include "app/cli/ExitCodes.h"
#include "app/cli/RecordStore.h"
#include "app/cli/SampleCommands.h"
#include "core/StopSignals.h"
#include "core/SystemParam.h"
#include "core/Tz4Error.h"
#include "data/DatabaseWait.h"
#include "data/SampleOperations.h"

#include <QScopeGuard>

#include <cstdio>

namespace tz4::cli {

namespace {

int stopped(const char* command, int signal)
{
    std::fprintf(stderr, "tz4 %s: stopped by signal %d; what was not finished was rolled back\n", command, signal);
    return ExitCode::signalled(signal);
}

} // namespace

int usageError(const char* command, const QString& text)
{
    std::fprintf(stderr, "tz4 %s: %s\n", command, qUtf8Printable(text));
    return 2;
}

int withDatabase(const GlobalOptions& options, const char* command, const std::function<int(const QString&)>& body)
{
    if (!openRecordStore(options, command))
        return 1;
    // Ctrl-C, SIGTERM and SIGHUP end the operation between two steps of the engine, its
    // transaction rolled back, instead of killing the process with a lock held.
    StopSignals stop([](int) {});
    DatabaseWait::setStopRequest([] { return StopSignals::arrived() != 0; });
    const auto forget = qScopeGuard([] { DatabaseWait::setStopRequest({}); });
    try {
        // Work that was done before a stop arrived stays done and is reported as such.
        return body(SystemParam().DatabasePath);
    } catch (const Tz4Error& error) {
        if (const int signal = StopSignals::arrived())
            return stopped(command, signal);
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
