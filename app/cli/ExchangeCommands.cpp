#include "app/cli/CommandArgs.h"
#include "app/cli/ProgressOnTerminal.h"
#include "app/cli/SampleCommands.h"
#include "data/CompactAndRepair.h"
#include "data/ExportImport.h"
#include "data/SampleOperations.h"
#include "data/SearchQuery.h"

#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

int runExport(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {QStringLiteral("force")}, parsed))
        return usageError("export", *error);
    if (parsed.positional.size() < 2)
        return usageError("export", QStringLiteral("export FILE KEY... (\"1 A\" exports everything)"));
    return withDatabase(options, "export", [&](const QString& database) {
        const QStringList keys = resolveKeys(database, parsed.positional.mid(1));
        ProgressOnTerminal bar;
        const QString written = ExportMain(database, parsed.positional.first(), makeExportList(keys), bar.progress(),
                                           parsed.flags.contains(QStringLiteral("force")));
        QTextStream(stdout) << written << Qt::endl;
        return 0;
    });
}

int runImport(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("into")}, {}, parsed))
        return usageError("import", *error);
    if (parsed.positional.size() != 1)
        return usageError("import", QStringLiteral("import FILE [--into KEY]"));
    return withDatabase(options, "import", [&](const QString& database) {
        const QString target = parsed.values.contains(QStringLiteral("into"))
            ? resolveItemKey(database, parsed.value(QStringLiteral("into")))
            : QStringLiteral("1 A");
        ImportCounts counts;
        {
            ProgressOnTerminal bar;
            counts = ImportMain(database, parsed.positional.first(), target, bar.progress());
        }
        // The window compacts the database after every import; so does the command.
        if (!CompactAndRepairDB(database))
            return 1;
        QTextStream(stdout) << counts.folders << " folders, " << counts.records << " records, " << counts.points
                            << " points" << Qt::endl;
        return 0;
    });
}

int runRepair(const GlobalOptions& options, const QStringList& args)
{
    if (!args.isEmpty())
        return usageError("repair", QStringLiteral("unexpected argument '%1'").arg(args.first()));
    return withDatabase(options, "repair", [&](const QString& database) { return CompactAndRepairDB(database) ? 0 : 1; });
}

} // namespace tz4::cli
