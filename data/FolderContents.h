#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace tz4 {

// One line of a folder's listing: a folder ("12 F") or a record ("3 W") that is not in the trash.
struct FolderEntry {
    QString key;
    QString name;                // folder name, or the record's sample name
    std::optional<double> light; // the record's measured UV intensity; none for folders and unset values
    QDateTime date;              // invalid for folders and records without a date
    bool isFolder() const;
};

} // namespace tz4

// Listings of thousands of entries grow by moving memory, not entry by entry.
Q_DECLARE_TYPEINFO(tz4::FolderEntry, Q_RELOCATABLE_TYPE);

namespace tz4 {

// The listing of folder `folder` (0: the top level) as the sample manager builds it: its
// folders, then its records. Throws Tz4Error when the database cannot be read.
QList<FolderEntry> folderEntries(const QString& databasePath, qint32 folder);

// True when folder `folder` exists and is not in the trash (0, the top level, always exists);
// false also when the database cannot be read.
bool folderExists(const QString& databasePath, qint32 folder);

// The kind (clsTz4DataSet::Kind) of stored record `seqNo`, KindNone when there is none.
// Throws Tz4Error when the database cannot be read.
int storedRecordKind(const QString& databasePath, qint32 seqNo);

} // namespace tz4
