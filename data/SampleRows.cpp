#include "data/SampleRows.h"

#include "core/Keys.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"

#include <QSet>

namespace tz4 {

QString storedRecordKey(SqliteDatabase& db, qint32 seqNo)
{
    SqliteStatement row = db.query(QStringLiteral("Select Modes From Setting Where SeqNo=%1;").arg(seqNo));
    if (!row.next())
        return {};
    const QString letter = clsTz4DataSet::letterOfKind(int(row.toInt(0, -1)));
    return letter.isEmpty() ? QString() : makeKey(seqNo, letter);
}

QStringList childKeys(SqliteDatabase& db, qint32 folder)
{
    QStringList keys;
    SqliteStatement folders = db.query(QStringLiteral("Select SeqNo From FAT Where Parent=%1;").arg(folder));
    while (folders.next())
        keys << makeKey(qint32(folders.toInt(0)), QStringLiteral("F"));
    SqliteStatement records = db.query(QStringLiteral("Select SeqNo,Modes From Setting Where Parent=%1;").arg(folder));
    while (records.next()) {
        const QString letter = clsTz4DataSet::letterOfKind(int(records.toInt(1, -1)));
        if (!letter.isEmpty())
            keys << makeKey(qint32(records.toInt(0)), letter);
    }
    return keys;
}

QList<qint32> seqNosWhere(SqliteDatabase& db, const QString& table, const QString& where)
{
    QList<qint32> keys;
    SqliteStatement rows = db.query(QStringLiteral("Select SeqNo From %1 Where %2;").arg(table, where));
    while (rows.next())
        keys << qint32(rows.toInt(0));
    return keys;
}

bool folderIsLive(SqliteDatabase& db, qint32 folder)
{
    QSet<qint32> seen;
    SqliteStatement row = db.prepare(QStringLiteral("Select Parent,Recycled From FAT Where SeqNo=?;"));
    while (folder != 0) {
        if (seen.contains(folder))
            return false;
        seen.insert(folder);
        row.bind(1, qint64(folder));
        if (!row.next() || row.toInt(1) != 0)
            return false;
        folder = qint32(row.toInt(0));
        row.reset();
    }
    return true;
}

bool rowExists(SqliteDatabase& db, const QString& key)
{
    const QString type = GetKeyType(key);
    const qint32 seqNo = GetKeySeq(key);
    // The nodes of the tree that are no rows: the root, the search, the trash and the
    // print-template folders; templates are rows of their own table.
    if (type == QLatin1String("A") || type == QLatin1String("Q") || type == QLatin1String("R"))
        return seqNo == 1;
    if (type == QLatin1String("P"))
        return seqNo >= 1 && seqNo <= 6;
    if (type == QLatin1String("K")) {
        SqliteStatement row = db.query(QStringLiteral("Select SeqNo From Prints Where SeqNo=%1;").arg(seqNo));
        return row.next();
    }
    if (type == QLatin1String("F")) {
        SqliteStatement row = db.query(QStringLiteral("Select SeqNo From FAT Where SeqNo=%1;").arg(seqNo));
        return row.next();
    }
    return !type.isEmpty() && storedRecordKey(db, seqNo) == makeKey(seqNo, type);
}

} // namespace tz4
