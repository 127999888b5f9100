#pragma once

#include <QList>
#include <QString>

namespace tz4 {

class SqliteDatabase;

// Small reads shared by the folder and record operations and by export.

// "12 W" for record 12 of kind W; empty when there is no such record.
QString storedRecordKey(SqliteDatabase& db, qint32 seqNo);

// The keys of the folders, then the records, whose parent is `folder` (trash or not).
QStringList childKeys(SqliteDatabase& db, qint32 folder);

// The numbers of the rows of `table` (FAT or Setting) that `where` selects, read before the
// caller changes the table.
QList<qint32> seqNosWhere(SqliteDatabase& db, const QString& table, const QString& where);

// True when folder `folder` exists and neither it nor any folder above it is in the trash.
bool folderIsLive(SqliteDatabase& db, qint32 folder);

// True when the folder, record or template of `key` exists (a record key must carry its stored
// kind); the special nodes "1 A", "1 Q", "1 R" and "1 P" to "6 P" always do.
bool rowExists(SqliteDatabase& db, const QString& key);

} // namespace tz4
