#include "data/SampleOperations.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/CalibrationLine.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"
#include "data/UndoJournal.h"

#include <QSet>

namespace tz4 {

namespace {

QString folderName(SqliteDatabase& db, qint32 folder)
{
    SqliteStatement row = db.query(QStringLiteral("Select Name From FAT Where SeqNo=%1;").arg(folder));
    return row.next() ? row.toText(QStringLiteral("Name")) : QString();
}

void markContents(SqliteDatabase& db, qint32 folder, QSet<qint32>& seen)
{
    if (seen.contains(folder))
        return;
    seen.insert(folder);
    const QList<qint32> subFolders = seqNosWhere(db, QStringLiteral("FAT"), QStringLiteral("Parent=%1").arg(folder));
    for (const qint32 sub : subFolders)
        markContents(db, sub, seen);
    if (!subFolders.isEmpty())
        db.execute(QStringLiteral("Update FAT Set Recycled=1 Where Parent=%1;").arg(folder));
    db.execute(QStringLiteral("Update Setting Set Recycled=1 Where Parent=%1;").arg(folder));
}

// Where a restored item goes: back where it was while that folder is live, else the top level.
qint32 restoredParent(SqliteDatabase& db, const QString& table, qint32 seqNo)
{
    SqliteStatement row = db.query(QStringLiteral("Select Parent From %1 Where SeqNo=%2;").arg(table).arg(seqNo));
    const qint32 parent = row.next() ? qint32(row.toInt(0)) : 0;
    return folderIsLive(db, parent) ? parent : 0;
}

void restoreSubFolders(SqliteDatabase& db, qint32 folder, QSet<qint32>& seen)
{
    if (seen.contains(folder))
        return;
    seen.insert(folder);
    for (const qint32 sub : seqNosWhere(db, QStringLiteral("FAT"), QStringLiteral("Parent=%1 And Recycled<>0").arg(folder))) {
        db.execute(QStringLiteral("UpDate FAT Set Recycled=0 Where SeqNo=%1;").arg(sub));
        restoreSubFolders(db, sub, seen);
    }
}

// A folder met again (a stored loop of parents) is not walked twice.
void deleteItem(SqliteDatabase& db, const QString& key, const OperationProgress& progress, QSet<qint32>& folders)
{
    const QString type = GetKeyType(key);
    const qint32 s = GetKeySeq(key);
    if (keytype::isRecord(type)) {
        db.execute(QStringLiteral("UpDate Setting Set Recycled=1 Where SeqNo=%1;").arg(s));
        if (type == QLatin1String("D")) {
            // The member leaves every calibration line, whose points then follow.
            const QList<qint32> lines = [&] {
                QList<qint32> out;
                SqliteStatement rows = db.query(QStringLiteral("Select AdjNo From Thicks Where DataNo=%1;").arg(s));
                while (rows.next())
                    out << qint32(rows.toInt(0));
                return out;
            }();
            db.execute(QStringLiteral("Delete From Thicks Where DataNo=%1;").arg(s));
            for (const qint32 line : lines)
                rebuildCalibrationLinePoints(db, line);
        } else if (type == QLatin1String("L") || type == QLatin1String("T")) {
            db.execute(QStringLiteral("UpDate Setting Set AdjustNo=0 Where AdjustNo=%1;").arg(s));
        }
    } else if (type == keytype::Folder) {
        if (folders.contains(s))
            return;
        folders.insert(s);
        reportProgress(progress, GetRes(msg::DeleteDirectory) + QLatin1Char(' ') + folderName(db, s));
        for (const qint32 sub : seqNosWhere(db, QStringLiteral("FAT"), QStringLiteral("Parent=%1 And Recycled=0").arg(s)))
            deleteItem(db, makeKey(sub, keytype::Folder), progress, folders);
        db.execute(QStringLiteral("UpDate FAT Set Recycled=1 Where SeqNo=%1;").arg(s));
    }
}

} // namespace

namespace ops {

void DeleteItem(SqliteDatabase& db, const QString& key, const OperationProgress& progress)
{
    EnterProcedure here("frmSample:DeleteItem");
    QSet<qint32> folders;
    deleteItem(db, key, progress, folders);
}

void TrushFlagSet(SqliteDatabase& db, qint32 folder)
{
    EnterProcedure here("frmSample:TrushFlagSet");
    QSet<qint32> seen;
    markContents(db, folder, seen);
}

} // namespace ops

void MultiDeleteItem(const QString& databasePath, const QStringList& keys, const OperationProgress& progress)
{
    EnterProcedure here("frmSample:MultiDeleteItem");
    SqliteDatabase db(databasePath);
    UndoRecorder recorder(db);
    SqliteTransaction transaction(db);
    for (const QString& key : keys) {
        const QString type = GetKeyType(key);
        if (type != keytype::Folder && !keytype::isRecord(type))
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("%1 cannot be deleted.").arg(key));
        if (!rowExists(db, key))
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1.").arg(key));
    }
    // "Now Deleted(Import Data)" would name an import; the progress of a delete says what it does.
    reportProgress(progress, GetRes(msg::DeleteData), 0);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        ops::DeleteItem(db, keys.at(i), progress);
        reportProgress(progress, GetRes(msg::DeleteData), double(i + 1) / double(keys.size()));
    }
    commitUndoable(transaction, recorder, UndoMode::Delete, databasePath);
}

void restoreItems(const QString& databasePath, const QStringList& keys)
{
    EnterProcedure here("frmSample:restoreItems");
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    for (const QString& key : keys) {
        const QString type = GetKeyType(key);
        const qint32 s = GetKeySeq(key);
        const bool folder = type == keytype::Folder;
        if (!(folder || keytype::isRecord(type)) || !rowExists(db, key))
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no %1.").arg(key));
        const QString table = folder ? QStringLiteral("FAT") : QStringLiteral("Setting");
        SqliteStatement flag = db.query(QStringLiteral("Select Recycled From %1 Where SeqNo=%2;").arg(table).arg(s));
        if (!flag.next() || flag.toInt(0) == 0)
            throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("%1 is not in the trash.").arg(key));
        const qint32 parent = restoredParent(db, table, s);
        db.execute(QStringLiteral("UpDate %1 Set Parent=%2,Recycled=0 Where SeqNo=%3;").arg(table).arg(parent).arg(s));
        if (folder) {
            QSet<qint32> seen;
            restoreSubFolders(db, s, seen);
        }
    }
    transaction.commit();
}

void ClearTrush(const QString& databasePath, const OperationProgress& progress)
{
    EnterProcedure here("frmSample:ClearTrush");
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    {
        SqliteStatement folders = db.query(QStringLiteral("Select SeqNo,Name From FAT Where Recycled=1;"));
        QList<std::pair<qint32, QString>> rows;
        while (folders.next())
            rows.append({qint32(folders.toInt(0)), folders.toText(QStringLiteral("Name"))});
        for (const auto& [folder, name] : std::as_const(rows)) {
            reportProgress(progress, GetRes(msg::DeleteDirectory) + QLatin1Char(' ') + name);
            ops::TrushFlagSet(db, folder);
        }
    }
    db.execute(QStringLiteral("Delete From FAT Where Recycled=1;"));

    QList<std::pair<qint32, QString>> records;
    {
        SqliteStatement rows = db.query(QStringLiteral("Select SeqNo,SampleName From Setting Where Recycled=1;"));
        while (rows.next())
            records.append({qint32(rows.toInt(0)), rows.toText(QStringLiteral("SampleName"))});
    }
    // Links to deleted records go too, so no record keeps a correction or member that is gone.
    QSet<qint32> touchedLines;
    SqliteStatement linesOf = db.prepare(QStringLiteral("Select AdjNo From Thicks Where DataNo=?;"));
    SqliteStatement deleteSetting = db.prepare(QStringLiteral("Delete From Setting Where SeqNo=?;"));
    SqliteStatement deleteDatas = db.prepare(QStringLiteral("Delete From Datas Where SerialNo=?;"));
    SqliteStatement deleteLinks = db.prepare(QStringLiteral("Delete From Thicks Where AdjNo=?1 Or DataNo=?1;"));
    SqliteStatement resetAdjust = db.prepare(QStringLiteral("Update Setting Set AdjustNo=0 Where AdjustNo=?;"));
    for (qsizetype i = 0; i < records.size(); ++i) {
        const qint64 s = records.at(i).first;
        if (i % 50 == 0)
            reportProgress(progress, GetRes(msg::DeleteData) + QLatin1Char(' ') + records.at(i).second,
                           double(i) / double(records.size()));
        linesOf.bind(1, s);
        while (linesOf.next())
            touchedLines.insert(qint32(linesOf.toInt(0)));
        linesOf.reset();
        for (SqliteStatement* statement : {&deleteSetting, &deleteDatas, &deleteLinks, &resetAdjust}) {
            statement->bind(1, s);
            statement->run();
            statement->reset();
        }
    }
    for (const qint32 line : std::as_const(touchedLines))
        if (!storedRecordKey(db, line).isEmpty())
            rebuildCalibrationLinePoints(db, line);
    transaction.commit();
    reportProgress(progress, GetRes(msg::DeleteData), 1);
}

} // namespace tz4
