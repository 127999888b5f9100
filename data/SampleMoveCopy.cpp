// Moving and copying items of the sample tree. The row copies and the rules of a drop call each
// other throughout, so they stay in one file although it runs past the usual length.
#include "data/SampleOperations.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/CalibrationLine.h"
#include "data/JetSql.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"
#include "data/UndoJournal.h"

#include <QHash>
#include <QSet>

#include <optional>

namespace tz4 {

namespace {

bool isFolder(const QString& type) { return type == keytype::Folder; }

// The two ends of a drop by key letter and number; none when an item is dropped on itself.
struct DropEnds {
    QString target, source;
    qint32 t, s;
};

std::optional<DropEnds> dropEnds(const QString& targetKey, const QString& sourceKey)
{
    DropEnds ends{GetKeyType(targetKey), GetKeyType(sourceKey), GetKeySeq(targetKey), GetKeySeq(sourceKey)};
    if (makeKey(ends.t, ends.target) == makeKey(ends.s, ends.source))
        return std::nullopt;
    return ends;
}

// The statement that copies one row of FAT or Setting: every column but the key, the parent,
// the trash flag (when given) and a folder's creation date comes from the original.
QString copyRowSql(SqliteDatabase& db, const QString& table)
{
    static QHash<QString, QString> built;
    if (const auto it = built.constFind(table); it != built.constEnd())
        return *it;
    QStringList columns;
    QStringList values;
    SqliteStatement info = db.prepare(QStringLiteral("PRAGMA main.table_info(%1)").arg(table));
    while (info.next()) {
        const QString name = info.value(1).toString();
        columns << name;
        const QString upper = name.toUpper();
        if (upper == QLatin1String("SEQNO"))
            values << QStringLiteral("?1");
        else if (upper == QLatin1String("MAKEDATE"))
            values << QStringLiteral("?2");
        else if (upper == QLatin1String("PARENT"))
            values << QStringLiteral("?3");
        else if (upper == QLatin1String("RECYCLED"))
            values << QStringLiteral("Case When ?4 < 0 Then %1 Else ?4 End").arg(name);
        else
            values << name;
    }
    const QString sql = QStringLiteral("Insert Into %1(%2) Select %3 From %1 Where SeqNo=?5;")
                            .arg(table, columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')));
    built.insert(table, sql);
    return sql;
}

qint64 nextKey(SqliteDatabase& db, const QString& table)
{
    SqliteStatement& max = db.cached(QStringLiteral("Select Max(SeqNo)+1 As MaxSeq From %1;").arg(table));
    const qint64 key = max.next() && !max.isNull(0) ? max.toInt(0) : 1;
    max.reset(); // no statement stays open between operations
    return key;
}

// Copies one FAT or Setting row under a new key, straight under `parent`; a negative
// `recycled` keeps the row's own trash flag. A folder's copy is made now.
qint32 copyRow(SqliteDatabase& db, const QString& table, qint32 oldKey, qint32 parent, int recycled)
{
    const qint32 newKey = qint32(nextKey(db, table));
    SqliteStatement& insert = db.cached(copyRowSql(db, table));
    // ?5 is always used, so every lower number may be bound even when the row lacks its column.
    insert.bind(1, qint64(newKey))
        .bind(2, JetSql::storedDate(QDateTime::currentDateTime()))
        .bind(3, qint64(parent))
        .bind(4, qint64(recycled))
        .bind(5, qint64(oldKey));
    insert.run();
    return newKey;
}

void copyRecord(SqliteDatabase& db, const QString& sourceKey, qint32 parent, int recycled, QList<qint32>& pendingLines)
{
    const qint32 source = GetKeySeq(sourceKey);
    const qint32 copy = copyRow(db, QStringLiteral("Setting"), source, parent, recycled);
    if (GetKeyType(sourceKey) == QLatin1String("T")) {
        ops::NewMultiRecord(db, QStringLiteral("Thicks"), source, copy);
        pendingLines << copy;
    } else {
        ops::NewMultiRecord(db, QStringLiteral("Datas"), source, copy);
    }
}

// The contents of a folder keep their own trash flags in the copy. A folder met again (a
// stored loop of parents) is not copied twice.
void copyFolder(SqliteDatabase& db, qint32 source, qint32 parent, int recycled, QList<qint32>& pendingLines,
                QSet<qint32>& copied)
{
    if (copied.contains(source))
        return;
    copied.insert(source);
    const qint32 copy = copyRow(db, QStringLiteral("FAT"), source, parent, recycled);
    for (const QString& child : childKeys(db, source)) {
        if (isFolder(GetKeyType(child)))
            copyFolder(db, GetKeySeq(child), copy, -1, pendingLines, copied);
        else
            copyRecord(db, child, copy, -1, pendingLines);
    }
}

void copyFolder(SqliteDatabase& db, qint32 source, qint32 parent, int recycled, QList<qint32>& pendingLines)
{
    QSet<qint32> copied;
    copyFolder(db, source, parent, recycled, pendingLines, copied);
}

} // namespace

namespace ops {

qint32 NewRecord(SqliteDatabase& db, const QString& table, qint32 oldKey)
{
    EnterProcedure here("frmSample:NewRecord");
    SqliteStatement row = db.query(QStringLiteral("Select Parent From %1 Where SeqNo=%2;").arg(table).arg(oldKey));
    const qint32 parent = row.next() ? qint32(row.toInt(0)) : 0;
    return copyRow(db, table, oldKey, parent, -1);
}

void NewMultiRecord(SqliteDatabase& db, const QString& table, qint32 oldOwner, qint32 newOwner)
{
    EnterProcedure here("frmSample:NewMultiRecord");
    const bool points = table.compare(QLatin1String("Datas"), Qt::CaseInsensitive) == 0;
    const qint64 first = nextKey(db, points ? QStringLiteral("Datas") : QStringLiteral("Thicks"));
    const QString sql = points
        ? QStringLiteral("Insert Into Datas(SeqNo,SerialNo,EngData,xPoint,yPoint,CpsData,aData,G_Flag,F_Flag) "
                         "Select ?1 + Row_Number() Over (Order By SeqNo) - 1,?2,EngData,xPoint,yPoint,CpsData,aData,"
                         "G_Flag,F_Flag From Datas Where SerialNo=?3;")
        : QStringLiteral("Insert Into Thicks(SeqNo,AdjNo,DataNo) "
                         "Select ?1 + Row_Number() Over (Order By SeqNo) - 1,?2,DataNo From Thicks Where AdjNo=?3;");
    SqliteStatement& insert = db.cached(sql);
    insert.bind(1, first).bind(2, qint64(newOwner)).bind(3, qint64(oldOwner));
    insert.run();
}

void AddAdjustNo(SqliteDatabase& db, const QString& targetKey, const QString& sourceKey)
{
    EnterProcedure here("frmSample:AddAdjustNo");
    const QString target = GetKeyType(targetKey);
    const QString source = GetKeyType(sourceKey);
    if ((target == QLatin1String("W") && source == QLatin1String("L"))
        || (target == QLatin1String("C") && source == QLatin1String("T")))
        db.execute(QStringLiteral("Update Setting Set AdjustNo=%1 Where SeqNo=%2;")
                       .arg(GetKeySeq(sourceKey))
                       .arg(GetKeySeq(targetKey)));
}

void addCalibrationMember(SqliteDatabase& db, qint32 lineNo, qint32 dataNo)
{
    const qint64 key = db.newKey(QStringLiteral("Select Max(SeqNo)+1 As MaxSeq From Thicks;"));
    SqliteStatement existing =
        db.query(QStringLiteral("Select * From Thicks Where AdjNo=%1 And DataNo=%2").arg(lineNo).arg(dataNo));
    if (!existing.next())
        db.execute(QStringLiteral("Insert into Thicks(SeqNo,AdjNo,DataNo) Values (%1,%2,%3);").arg(key).arg(lineNo).arg(dataNo));
    rebuildCalibrationLinePoints(db, lineNo);
}

bool CheckLoopParent(SqliteDatabase& db, const QString& targetKey, const QStringList& keys)
{
    EnterProcedure here("frmSample:CheckLoopParent");
    if (!isFolder(GetKeyType(targetKey)))
        return true;
    QSet<QString> dragged;
    for (const QString& key : keys)
        dragged.insert(makeKey(GetKeySeq(key), GetKeyType(key)));
    // The target itself is no loop: a drop on itself does nothing.
    QSet<qint32> seen{GetKeySeq(targetKey)};
    SqliteStatement row = db.prepare(QStringLiteral("Select Parent From FAT Where SeqNo=?;"));
    qint32 folder = GetKeySeq(targetKey);
    for (;;) {
        row.bind(1, qint64(folder));
        if (!row.next())
            return true;
        folder = qint32(row.toInt(0));
        row.reset();
        if (folder == 0)
            return true;
        if (dragged.contains(makeKey(folder, keytype::Folder)))
            return false;
        if (seen.contains(folder))
            return false; // the stored tree already loops: no drop may make it worse
        seen.insert(folder);
    }
}

void MoveItem(SqliteDatabase& db, const QString& targetKey, const QString& sourceKey)
{
    EnterProcedure here("frmSample:MoveItem");
    const std::optional<DropEnds> ends = dropEnds(targetKey, sourceKey);
    if (!ends)
        return;
    const auto& [target, source, t, s] = *ends;
    if (target == keytype::Root) {
        if (isFolder(source))
            db.execute(QStringLiteral("UpDate FAT Set Parent=0,Recycled=0 Where SeqNo=%1;").arg(s));
    } else if (isFolder(target)) {
        if (isFolder(source))
            db.execute(QStringLiteral("UpDate FAT Set Parent=%1,Recycled=0 Where SeqNo=%2;").arg(t).arg(s));
        else if (keytype::isRecord(source))
            db.execute(QStringLiteral("UpDate Setting Set Parent=%1,Recycled=0 Where SeqNo=%2;").arg(t).arg(s));
    } else if (target == QLatin1String("W") || target == QLatin1String("C")) {
        AddAdjustNo(db, targetKey, sourceKey);
    } else if (target == QLatin1String("T")) {
        if (source == QLatin1String("D"))
            addCalibrationMember(db, t, s);
    } else if (target == keytype::Trash) {
        if (isFolder(source))
            db.execute(QStringLiteral("UpDate FAT Set Recycled=1 Where SeqNo=%1;").arg(s));
        else if (keytype::isRecord(source))
            db.execute(QStringLiteral("UpDate Setting Set Recycled=1 Where SeqNo=%1;").arg(s));
    } else if (isFolder(source)) {
        db.execute(QStringLiteral("UpDate FAT Set Parent=0 Where SeqNo=%1;").arg(s));
    }
}

void CopyItem(SqliteDatabase& db, const QString& targetKey, const QString& sourceKey, QList<qint32>& pendingLines)
{
    EnterProcedure here("frmSample:CopyItem");
    const std::optional<DropEnds> ends = dropEnds(targetKey, sourceKey);
    if (!ends)
        return;
    const auto& [target, source, t, s] = *ends;
    // A dropped copy always comes out live, also when its original is in the trash.
    if (target == keytype::Root) {
        if (isFolder(source))
            copyFolder(db, s, 0, 0, pendingLines);
    } else if (isFolder(target)) {
        if (isFolder(source))
            copyFolder(db, s, t, 0, pendingLines);
        else if (keytype::isRecord(source))
            copyRecord(db, sourceKey, t, 0, pendingLines);
    } else if (target == QLatin1String("W") || target == QLatin1String("C")) {
        AddAdjustNo(db, targetKey, sourceKey);
    } else if (target == QLatin1String("T") && source == QLatin1String("D")) {
        addCalibrationMember(db, t, s);
    }
}

} // namespace ops

namespace {

// Whether dropping `source` on `target` changes anything (the drop's meaning by key letters).
bool dropHasMeaning(const QString& targetKey, const QString& sourceKey, bool copy)
{
    const QString target = GetKeyType(targetKey);
    const QString source = GetKeyType(sourceKey);
    if (makeKey(GetKeySeq(targetKey), target) == makeKey(GetKeySeq(sourceKey), source))
        return false;
    if (target == keytype::Root)
        return isFolder(source);
    if (isFolder(target))
        return isFolder(source) || keytype::isRecord(source);
    if (target == QLatin1String("W"))
        return source == QLatin1String("L");
    if (target == QLatin1String("C"))
        return source == QLatin1String("T");
    if (target == QLatin1String("T"))
        return source == QLatin1String("D");
    if (target == keytype::Trash)
        return !copy && (isFolder(source) || keytype::isRecord(source));
    // A folder moved onto anything else (the search, a template, an L or D record) lands at
    // the top level.
    return !copy && isFolder(source);
}

} // namespace

QStringList MultiCopyItem(const QString& databasePath, const QString& targetKey, const QStringList& keys, bool copy,
                          const OperationProgress& progress)
{
    EnterProcedure here("frmSample:MultiCopyItem");
    SqliteDatabase db(databasePath);
    UndoRecorder recorder(db);
    // The checks see the rows the drop changes: another process's drop waits for this one, so
    // two opposite moves can never both pass the loop check.
    SqliteTransaction transaction(db);
    if (!rowExists(db, targetKey) && !(GetKeyType(targetKey) == keytype::Root || GetKeyType(targetKey) == keytype::Trash))
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1.").arg(targetKey));
    for (const QString& key : keys)
        if (!rowExists(db, key))
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1.").arg(key));
    if (!ops::CheckLoopParent(db, targetKey, keys))
        throw OperationRefused(msg::FolderIntoOwnSubFolder, msg::FolderIntoOwnSubFolderTitle, GetRes(msg::FolderIntoOwnSubFolder));

    QStringList skipped;
    QList<qint32> pendingLines;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString& key = keys.at(i);
        if (!dropHasMeaning(targetKey, key, copy)) {
            skipped << key;
            continue;
        }
        reportProgress(progress, QString(), double(i) / double(keys.size()));
        if (copy)
            ops::CopyItem(db, targetKey, key, pendingLines);
        else
            ops::MoveItem(db, targetKey, key);
    }
    for (const qint32 line : std::as_const(pendingLines))
        rebuildCalibrationLinePoints(db, line);
    commitUndoable(transaction, recorder, copy ? UndoMode::Copy : UndoMode::Move, databasePath);
    reportProgress(progress, QString(), 1);
    return skipped;
}

bool CheckLoopParent(const QString& databasePath, const QString& targetKey, const QStringList& keys)
{
    SqliteDatabase db(databasePath);
    return ops::CheckLoopParent(db, targetKey, keys);
}

bool dropHasEffect(const QString& targetKey, const QString& sourceKey, bool copy)
{
    return dropHasMeaning(targetKey, sourceKey, copy);
}

} // namespace tz4
