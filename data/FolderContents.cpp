#include "data/FolderContents.h"

#include "core/Keys.h"
#include "core/Tz4Error.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"

namespace tz4 {

bool FolderEntry::isFolder() const { return key.endsWith(QLatin1String(" F")); }

QList<FolderEntry> folderEntries(const QString& databasePath, qint32 folder)
{
    QList<FolderEntry> entries;
    SqliteDatabase db(databasePath);
    SqliteStatement folders =
        db.query(QStringLiteral("Select SeqNo,Name From FAT Where Recycled=0 And Parent = %1;").arg(folder));
    while (folders.next())
        entries.append({makeKey(qint32(folders.toInt(QStringLiteral("SeqNo"))), QStringLiteral("F")),
                        folders.toText(QStringLiteral("Name"), QStringLiteral("Name None")), std::nullopt, QDateTime()});
    // A folder may hold thousands of records: the list is made large enough at once.
    SqliteStatement count =
        db.query(QStringLiteral("Select Count(*) From Setting Where Recycled=0 And Parent=%1;").arg(folder));
    if (count.next())
        entries.reserve(entries.size() + qsizetype(count.toInt(0)));
    SqliteStatement records = db.query(QStringLiteral("Select SeqNo,SampleName,MeasLight,DataTime,Modes From Setting "
                                                      "Where Recycled=0 And Parent=%1;")
                                           .arg(folder));
    // The columns are looked up once.
    const int seqNo = records.requireColumn(QStringLiteral("SeqNo"));
    const int sampleName = records.requireColumn(QStringLiteral("SampleName"));
    const int measLight = records.requireColumn(QStringLiteral("MeasLight"));
    const int dataTime = records.requireColumn(QStringLiteral("DataTime"));
    const int modes = records.requireColumn(QStringLiteral("Modes"));
    while (records.next()) {
        const QString letter = clsTz4DataSet::letterOfKind(int(records.toInt(modes, -1)));
        if (letter.isEmpty())
            continue;
        FolderEntry entry{makeKey(qint32(records.toInt(seqNo)), letter), records.toText(sampleName), std::nullopt,
                          records.toDateTime(dataTime)};
        if (!records.isNull(measLight))
            entry.light = records.toDouble(measLight);
        entries.append(std::move(entry));
    }
    return entries;
}

bool folderExists(const QString& databasePath, qint32 folder)
{
    if (folder == 0)
        return true;
    try {
        SqliteDatabase db(databasePath);
        SqliteStatement row =
            db.query(QStringLiteral("Select SeqNo From FAT Where SeqNo=%1 And Recycled=0;").arg(folder));
        return row.next();
    } catch (const Tz4Error&) {
        return false;
    }
}

int storedRecordKind(const QString& databasePath, qint32 seqNo)
{
    SqliteDatabase db(databasePath);
    SqliteStatement row = db.query(QStringLiteral("Select Modes From Setting Where SeqNo=%1;").arg(seqNo));
    return row.next() ? int(row.toInt(QStringLiteral("Modes"), -1)) : int(clsTz4DataSet::KindNone);
}

} // namespace tz4
