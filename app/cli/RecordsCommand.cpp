#include "app/cli/CommandArgs.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/RecordReport.h"
#include "app/cli/RecordStore.h"
#include "data/TrashContents.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/TextFileOut.h"
#include "core/Tz4Error.h"
#include "core/SystemParam.h"
#include "data/FolderContents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

// The light as the list's Lights column shows it; empty for folders.
QString lightText(const FolderEntry& e)
{
    if (e.isFolder())
        return {};
    return e.light ? formatNumber(*e.light, QStringLiteral("##0.0")) + QStringLiteral("nW") : QStringLiteral("0.0nW");
}

QString typeText(const FolderEntry& e)
{
    return e.isFolder() ? QStringLiteral("Folder") : kindName(e.key.right(1));
}

void printEntries(const QList<FolderEntry>& entries, bool json)
{
    QTextStream out(stdout);
    if (json) {
        QJsonArray list;
        for (const FolderEntry& e : entries)
            list.append(QJsonObject{{QStringLiteral("key"), e.key},
                                    {QStringLiteral("name"), e.name},
                                    {QStringLiteral("type"), typeText(e)},
                                    {QStringLiteral("light"), lightText(e)},
                                    {QStringLiteral("date"), e.date.isValid() ? QJsonValue(e.date.toString(Qt::ISODate))
                                                                               : QJsonValue()}});
        out << QJsonDocument(list).toJson(QJsonDocument::Compact) << Qt::endl;
        return;
    }
    const GeneralDates dates;
    for (const FolderEntry& e : entries) {
        QString date;
        if (!e.isFolder())
            date = e.date.isValid() ? dates(e.date) : QStringLiteral("Measure Date None");
        out << e.key << '\t' << quotedField(e.name, QStringLiteral("\t")) << '\t' << typeText(e) << '\t' << lightText(e) << '\t' << date << '\n';
    }
    out.flush();
}

} // namespace

int runRecords(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("folder")}, {QStringLiteral("tree")}, parsed); error || !parsed.positional.isEmpty()) {
        std::fprintf(stderr, "tz4 records: %s\n",
                     qUtf8Printable(error ? *error : QStringLiteral("unexpected argument '%1'").arg(parsed.positional.first())));
        return 2;
    }
    qint32 folder = 0;
    // "R" names the trash, as its key "1 R" does.
    const bool trash = parsed.value(QStringLiteral("folder")).compare(QLatin1String("R"), Qt::CaseInsensitive) == 0;
    if (parsed.values.contains(QStringLiteral("folder")) && !trash) {
        bool ok = false;
        folder = parsed.value(QStringLiteral("folder")).toInt(&ok);
        if (!ok || folder < 0) {
            std::fprintf(stderr, "tz4 records: --folder needs a folder number, or R for the trash\n");
            return 2;
        }
    }
    if (!openRecordStore(options, "records"))
        return 1;
    if (parsed.flags.contains(QStringLiteral("tree"))) {
        try {
            printFolderTree(SystemParam().DatabasePath, options.json);
        } catch (const Tz4Error& error) {
            std::fprintf(stderr, "tz4 records: %s\n", qUtf8Printable(error.description()));
            return 1;
        }
        return 0;
    }
    if (!trash && !folderExists(folder)) {
        std::fprintf(stderr, "tz4 records: there is no folder %d\n", folder);
        return 1;
    }
    QList<FolderEntry> entries;
    try {
        entries = trash ? trashEntries(SystemParam().DatabasePath) : folderEntries(SystemParam().DatabasePath, folder);
    } catch (const Tz4Error& error) {
        std::fprintf(stderr, "tz4 records: %s\n", qUtf8Printable(error.description()));
        return 1;
    }

    printEntries(entries, options.json);
    return 0;
}

} // namespace tz4::cli
