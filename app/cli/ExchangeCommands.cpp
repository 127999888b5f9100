#include "app/cli/CommandArgs.h"
#include "app/cli/ProgressOnTerminal.h"
#include "app/cli/SampleCommands.h"
#include "data/CompactAndRepair.h"
#include "data/ExportImport.h"
#include "data/SampleOperations.h"
#include "data/SearchQuery.h"
#include "data/SqliteDatabase.h"

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
        QTextStream(stdout) << counts.folders << " folders, " << counts.records << " records, " << counts.points
                            << " points" << Qt::endl;
        // The window compacts the database after every import; so does the command. The import
        // is committed by then: a compaction that fails (a full disk) leaves it stored, and a
        // second import would only store it twice.
        try {
            compactInPlace(database);
        } catch (const Tz4Error& error) {
            if (error.number() == dberr::Interrupted)
                throw;
            std::fprintf(stderr, "tz4 import: the records are imported, but the database could not be compacted "
                                 "afterwards: %s\n",
                         qUtf8Printable(error.description()));
        }
        return 0;
    });
}

int runRepair(const GlobalOptions& options, const QStringList& args)
{
    if (!args.isEmpty())
        return usageError("repair", QStringLiteral("unexpected argument '%1'").arg(args.first()));
    return withDatabase(options, "repair", [&](const QString& database) {
        QStringList repaired;
        const bool done = CompactAndRepairDB(database, {}, &repaired);
        for (const QString& sentence : std::as_const(repaired))
            QTextStream(stdout) << sentence << Qt::endl;
        if (!done)
            SqliteDatabase::checkStop(); // a repair cut short by Ctrl-C ends as a stop
        return done ? 0 : 1;
    });
}

} // namespace tz4::cli
