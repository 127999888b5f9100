#include "app/cli/CommandArgs.h"
#include "app/cli/InstrumentCommands.h"
#include "app/cli/InstrumentSession.h"
#include "app/cli/ExitCodes.h"
#include "core/StopSignals.h"
#include "core/Startup.h"
#include "data/DatabaseSetup.h"
#include "mainwin/SerialDebugLog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

namespace tz4::cli {

int runConnect(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {QStringLiteral("wait")}, parsed); error || !parsed.positional.isEmpty()) {
        std::fprintf(stderr, "tz4 connect: %s\n",
                     qUtf8Printable(error ? *error : QStringLiteral("unexpected argument '%1'").arg(parsed.positional.first())));
        return 2;
    }
    Startup startup(createDatabaseIfMissing);
    if (!startup.run(options.home))
        return 1;

    std::unique_ptr<InstrumentSession> session;
    try {
        session = std::make_unique<InstrumentSession>(options);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "tz4 connect: %s\n", error.what());
        return ExitCode::Usage;
    }

    QTextStream out(stdout);
    if (!options.json) {
        QObject::connect(&session->main(), &MainControl::connectPhaseChanged, [&](qint32 phase) {
            session->status().finishLine();
            out << "phase " << phase << ": " << phaseName(phase) << Qt::endl;
        });
    }
    StopSignals interrupt([&](int) { session->body().setCanceled(true); });
    const qint32 phase = session->connect(parsed.flags.contains(QStringLiteral("wait")),
                                          [&] { return interrupt.stopped(); });
    if (options.json) {
        out << QJsonDocument(QJsonObject{{QStringLiteral("phase"), phase},
                                         {QStringLiteral("ready"), phase == MainControl::Ready},
                                         {QStringLiteral("device"), session->lineDescription()},
                                         {QStringLiteral("serial_log"), serialDebugLogPath()}})
                   .toJson(QJsonDocument::Compact)
            << Qt::endl;
    } else if (phase != MainControl::Ready) {
        out << "phase " << phase << ": " << phaseName(phase) << Qt::endl;
    }
    if (interrupt.stopped())
        return ExitCode::signalled(interrupt.signal());
    if (phase == MainControl::Ready)
        return ExitCode::Success;
    // An instrument that never answered, or stopped answering, is told apart from one that
    // answered with a fault, as measure does.
    const uclTz4Body& body = session->body();
    return !body.Answered() || body.LinkLost() ? ExitCode::LinkLost : ExitCode::Failure;
}

} // namespace tz4::cli
