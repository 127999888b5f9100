#pragma once

#include "core/Tz4Error.h"
#include "data/OperationProgress.h"

#include <QString>
#include <QStringList>

namespace tz4 {

class SqliteDatabase;

// A gesture the operations refuse, with the catalogue texts the operator is shown.
class OperationRefused : public Tz4Error {
public:
    OperationRefused(int messageId, int titleId, const QString& text);
    int messageId() const { return messageId_; }
    int titleId() const { return titleId_; }

private:
    int messageId_;
    int titleId_;
};

// Item-key letters of the special nodes and of folders.
namespace keytype {
inline const QString Root = QStringLiteral("A");
inline const QString Folder = QStringLiteral("F");
inline const QString Search = QStringLiteral("Q");
inline const QString Printer = QStringLiteral("P");
inline const QString Trash = QStringLiteral("R");
inline const QString Template = QStringLiteral("K");
bool isRecord(const QString& type);
} // namespace keytype

// The folder and record operations of the sample manager, each on the database file at
// `databasePath` and each one transaction: a failure leaves the file as it was. Failures and
// refusals are thrown (OperationRefused for a refused gesture).

// Creates a folder named `name` under the root ("1 A") or folder `parentKey`; returns its key.
QString newFolder(const QString& databasePath, const QString& name, const QString& parentKey);

// Renames a folder or a record (its sample name).
void renameItem(const QString& databasePath, const QString& key, const QString& name);

// Drops `keys` on `targetKey`: copies when `copy` is set, else moves. A folder target is first
// checked with CheckLoopParent. Returns the keys for which the drop meant nothing (a record
// on the root, an L record on a C record ...). Undoable.
QStringList MultiCopyItem(const QString& databasePath, const QString& targetKey, const QStringList& keys, bool copy,
                          const OperationProgress& progress = {});

// Puts `keys` into the trash with the side effects of each kind. Undoable.
void MultiDeleteItem(const QString& databasePath, const QStringList& keys, const OperationProgress& progress = {});

// Takes `keys` out of the trash to where they were, or to the top level when that folder is
// gone or itself in the trash. A folder comes back with its sub-folders.
void restoreItems(const QString& databasePath, const QStringList& keys);

// Deletes everything in the trash, with the points, calibration links and correction links of
// the deleted records, including the contents of trashed folders.
void ClearTrush(const QString& databasePath, const OperationProgress& progress = {});

// Attaches `sourceKey` to `targetKey`: an L record as correction of a W record, a T record as
// calibration of a C record, or a D record as a member of a T record (whose points are rebuilt).
// Any other pair is refused.
void attachItem(const QString& databasePath, const QString& sourceKey, const QString& targetKey);

// Whether dropping `sourceKey` on `targetKey` changes anything, by the two keys' letters: what
// a drag shows before the drop. MultiCopyItem skips the items for which it does not.
bool dropHasEffect(const QString& targetKey, const QString& sourceKey, bool copy);

// False when dropping `keys` on `targetKey` would put a folder into itself or into one of its
// own sub-folders.
bool CheckLoopParent(const QString& databasePath, const QString& targetKey, const QStringList& keys);

// Whether the folder or record of `key` is in the trash (false when there is no such row).
bool CheckRecycle(const QString& databasePath, const QString& key);

// A key as a person types it ("12 F", "12F", "3 w", or a bare record number "3") in the form
// "12 F"; a record's letter is checked against its stored kind. Throws for a key that names
// nothing in the database.
QString resolveItemKey(const QString& databasePath, const QString& text);

// Whether the folder or record of `key` exists; special nodes always do.
bool itemExists(const QString& databasePath, const QString& key);

// The statements behind the operations, on an open database inside the caller's transaction.
namespace ops {
void MoveItem(SqliteDatabase& db, const QString& targetKey, const QString& sourceKey);
void CopyItem(SqliteDatabase& db, const QString& targetKey, const QString& sourceKey, QList<qint32>& pendingLines);
void DeleteItem(SqliteDatabase& db, const QString& key, const OperationProgress& progress = {});
void AddAdjustNo(SqliteDatabase& db, const QString& targetKey, const QString& sourceKey);
// Adds D record `dataNo` to calibration line `lineNo` (once) and rebuilds the line's points.
void addCalibrationMember(SqliteDatabase& db, qint32 lineNo, qint32 dataNo);
void TrushFlagSet(SqliteDatabase& db, qint32 folder);
// Copies one row of FAT or Setting under a new key; returns the new key.
qint32 NewRecord(SqliteDatabase& db, const QString& table, qint32 oldKey);
// Copies the Datas (by SerialNo) or Thicks (by AdjNo) rows of `oldOwner` to `newOwner`.
void NewMultiRecord(SqliteDatabase& db, const QString& table, qint32 oldOwner, qint32 newOwner);
bool CheckLoopParent(SqliteDatabase& db, const QString& targetKey, const QStringList& keys);
} // namespace ops

} // namespace tz4
