#include "app/cli/CommandArgs.h"
#include "app/cli/RecordCommands.h"
#include "app/cli/RecordReport.h"
#include "app/cli/RecordStore.h"
#include "core/Formats.h"
#include "core/Keys.h"
#include "core/Tz4Error.h"
#include "core/SystemParam.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace tz4::cli {

namespace {

struct Entry {
    QString key;
    QString name;
    QString type;
    QString light; // as the list's Lights column shows it; empty for folders
    QVariant date;
};

// The list of one folder as the sample manager builds it: its folders, then its records.
QList<Entry> folderEntries(qint32 folder)
{
    QList<Entry> entries;
    SqliteDatabase db(SystemParam().DatabasePath);
    SqliteStatement folders =
        db.query(QStringLiteral("Select SeqNo,Name From FAT Where Recycled=0 And Parent = %1;").arg(folder));
    while (folders.next())
        entries.append({makeKey(qint32(folders.toInt(QStringLiteral("SeqNo"))), QStringLiteral("F")),
                        folders.toText(QStringLiteral("Name"), QStringLiteral("Name None")), QStringLiteral("Folder"),
                        QString(), QVariant()});
    SqliteStatement records = db.query(QStringLiteral("Select SeqNo,SampleName,MeasLight,DataTime,Modes From Setting "
                                                      "Where Recycled=0 And Parent=%1;")
                                           .arg(folder));
    while (records.next()) {
        const QString letter = clsTz4DataSet::letterOfKind(int(records.toInt(QStringLiteral("Modes"), -1)));
        if (letter.isEmpty())
            continue;
        Entry entry{makeKey(qint32(records.toInt(QStringLiteral("SeqNo"))), letter),
                    records.toText(QStringLiteral("SampleName")), kindName(letter),
                    records.isNull(QStringLiteral("MeasLight"))
                        ? QStringLiteral("0.0nW")
                        : formatNumber(records.toDouble(QStringLiteral("MeasLight")), QStringLiteral("##0.0")) +
                              QStringLiteral("nW"),
                    QVariant()};
        const QDateTime when = records.toDateTime(QStringLiteral("DataTime"));
        if (when.isValid())
            entry.date = when;
        entries.append(entry);
    }
    return entries;
}

} // namespace

int runRecords(const GlobalOptions& options, const QStringList& args)
{
    CommandArgs parsed;
    if (auto error = parseCommandArgs(args, {QStringLiteral("folder")}, {}, parsed); error || !parsed.positional.isEmpty()) {
        std::fprintf(stderr, "tz4 records: %s\n",
                     qUtf8Printable(error ? *error : QStringLiteral("unexpected argument '%1'").arg(parsed.positional.first())));
        return 2;
    }
    qint32 folder = 0;
    if (parsed.values.contains(QStringLiteral("folder"))) {
        bool ok = false;
        folder = parsed.value(QStringLiteral("folder")).toInt(&ok);
        if (!ok || folder < 0) {
            std::fprintf(stderr, "tz4 records: --folder needs a folder number\n");
            return 2;
        }
    }
    if (!openRecordStore(options, "records"))
        return 1;
    if (!folderExists(folder)) {
        std::fprintf(stderr, "tz4 records: there is no folder %d\n", folder);
        return 1;
    }
    QList<Entry> entries;
    try {
        entries = folderEntries(folder);
    } catch (const Tz4Error& error) {
        std::fprintf(stderr, "tz4 records: %s\n", qUtf8Printable(error.description()));
        return 1;
    }

    QTextStream out(stdout);
    if (options.json) {
        QJsonArray list;
        for (const Entry& e : entries)
            list.append(QJsonObject{{QStringLiteral("key"), e.key},
                                    {QStringLiteral("name"), e.name},
                                    {QStringLiteral("type"), e.type},
                                    {QStringLiteral("light"), e.light},
                                    {QStringLiteral("date"), e.date.isValid() ? QJsonValue(e.date.toDateTime().toString(Qt::ISODate))
                                                                               : QJsonValue()}});
        out << QJsonDocument(list).toJson(QJsonDocument::Compact) << Qt::endl;
        return 0;
    }
    for (const Entry& e : entries) {
        QString date;
        if (e.type != QLatin1String("Folder"))
            date = e.date.isValid() ? generalDate(e.date.toDateTime()) : QStringLiteral("Measure Date None");
        out << e.key << '\t' << e.name << '\t' << e.type << '\t' << e.light << '\t' << date << '\n';
    }
    out.flush();
    return 0;
}

} // namespace tz4::cli
