#include "app/cli/SampleCommands.h"

#include "app/cli/CommandArgs.h"
#include "app/cli/ProgressOnTerminal.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/SampleOperations.h"
#include "data/UndoJournal.h"

#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

// A drop of KEY... on the key after --to.
int runDrop(const GlobalOptions& options, const QStringList& args, bool copy)
{
    const char* command = copy ? "copy" : "move";
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("to")}, {}, parsed))
        return usageError(command, *error);
    if (parsed.positional.isEmpty() || !parsed.values.contains(QStringLiteral("to")))
        return usageError(command, QStringLiteral("name the items and the target: %1 KEY... --to KEY").arg(QLatin1String(command)));
    return withDatabase(options, command, [&](const QString& database) {
        const QString target = resolveItemKey(database, parsed.value(QStringLiteral("to")));
        const QStringList keys = resolveKeys(database, parsed.positional);
        ProgressOnTerminal bar;
        const QStringList skipped = MultiCopyItem(database, target, keys, copy, bar.progress());
        for (const QString& key : skipped)
            std::fprintf(stderr, "tz4 %s: dropping %s on %s does nothing\n", command, qUtf8Printable(key),
                         qUtf8Printable(target));
        return skipped.size() == keys.size() ? 1 : 0;
    });
}

} // namespace

int runFolder(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("in")}, {}, parsed))
        return usageError("folder", *error);
    if (parsed.positional.size() != 2 || parsed.positional.first() != QLatin1String("new"))
        return usageError("folder", QStringLiteral("folder new NAME [--in KEY]"));
    return withDatabase(options, "folder", [&](const QString& database) {
        const QString parent = parsed.values.contains(QStringLiteral("in"))
            ? resolveItemKey(database, parsed.value(QStringLiteral("in")))
            : QStringLiteral("1 A");
        QTextStream(stdout) << newFolder(database, parsed.positional.at(1), parent) << Qt::endl;
        return 0;
    });
}

int runRename(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {}, parsed))
        return usageError("rename", *error);
    if (parsed.positional.size() != 2)
        return usageError("rename", QStringLiteral("rename KEY NAME"));
    return withDatabase(options, "rename", [&](const QString& database) {
        renameItem(database, resolveItemKey(database, parsed.positional.at(0)), parsed.positional.at(1));
        return 0;
    });
}

int runMove(const GlobalOptions& options, const QStringList& args) { return runDrop(options, args, false); }

int runCopy(const GlobalOptions& options, const QStringList& args) { return runDrop(options, args, true); }

int runDelete(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {}, parsed))
        return usageError("delete", *error);
    if (parsed.positional.isEmpty())
        return usageError("delete", QStringLiteral("name the items to put into the trash"));
    return withDatabase(options, "delete", [&](const QString& database) {
        ProgressOnTerminal bar;
        MultiDeleteItem(database, resolveKeys(database, parsed.positional), bar.progress());
        return 0;
    });
}

int runRestore(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {}, parsed))
        return usageError("restore", *error);
    if (parsed.positional.isEmpty())
        return usageError("restore", QStringLiteral("name the items to take out of the trash"));
    return withDatabase(options, "restore", [&](const QString& database) {
        restoreItems(database, resolveKeys(database, parsed.positional));
        return 0;
    });
}

int runEmptyTrash(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {QStringLiteral("yes")}, parsed))
        return usageError("empty-trash", *error);
    if (!parsed.positional.isEmpty())
        return usageError("empty-trash", QStringLiteral("unexpected argument '%1'").arg(parsed.positional.first()));
    if (!parsed.flags.contains(QStringLiteral("yes")))
        return usageError("empty-trash", GetRes(msg::EmptyTrashQuestion) + QStringLiteral(" (confirm with --yes)"));
    return withDatabase(options, "empty-trash", [&](const QString& database) {
        ProgressOnTerminal bar;
        ClearTrush(database, bar.progress());
        return 0;
    });
}

int runAttach(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {}, {}, parsed))
        return usageError("attach", *error);
    if (parsed.positional.size() != 2)
        return usageError("attach", QStringLiteral("attach SOURCE-KEY TARGET-KEY"));
    return withDatabase(options, "attach", [&](const QString& database) {
        attachItem(database, resolveItemKey(database, parsed.positional.at(0)),
                   resolveItemKey(database, parsed.positional.at(1)));
        return 0;
    });
}

int runUndo(const GlobalOptions& options, const QStringList& args)
{
    if (!args.isEmpty())
        return usageError("undo", QStringLiteral("unexpected argument '%1'").arg(args.first()));
    return withDatabase(options, "undo", [&](const QString& database) {
        const UndoMode undone = undoLast(database);
        // The menu caption without its accelerator: "Return(Move)".
        QTextStream(stdout) << GetRes(UnSetMode(undone)).remove(QStringLiteral("(&U)")) << Qt::endl;
        return 0;
    });
}

} // namespace tz4::cli
