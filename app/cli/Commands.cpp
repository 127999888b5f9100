#include "app/cli/Commands.h"

#include "app/cli/MessagesCommand.h"
#include "core/Version.h"

#include <QTextStream>

namespace tz4::cli {

namespace {
const QStringList kCommands = {QStringLiteral("--version"), QStringLiteral("--help"), QStringLiteral("help")};
}

bool isHeadless(const QStringList& args)
{
    for (const QString& a : args)
        if (kCommands.contains(a) || !a.startsWith(QLatin1Char('-')))
            return true;
    return false;
}

int run(const QStringList& args)
{
    QTextStream out(stdout);
    if (args.contains(QLatin1String("--version"))) {
        out << "tz4 " << TZ4_VERSION << Qt::endl;
        return 0;
    }
    if (const qsizetype at = args.indexOf(QLatin1String("messages")); at >= 0)
        return runMessages(args.mid(at + 1));
    out << "usage: tz4 [--home DIR] [--lang en|ja] <command> [options]" << Qt::endl;
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("help")) ? 0 : 2;
}

} // namespace tz4::cli
