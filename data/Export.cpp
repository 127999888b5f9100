#include "data/ExportImport.h"

#include "core/DataDirectory.h"
#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/FileTargets.h"
#include "core/Keys.h"
#include "core/MessageCatalog.h"
#include "core/MessageIds.h"
#include "data/DatabaseSchema.h"
#include "data/SampleOperations.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"
#include "data/Tz4DataSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryFile>

#include <filesystem>

namespace tz4 {

namespace {

bool holds(SqliteDatabase& db, const QString& workTable, qint64 seqNo)
{
    SqliteStatement row = db.prepare(QStringLiteral("Select 1 From %1 Where SeqNo=?;").arg(workTable));
    row.bind(1, seqNo);
    return row.next();
}

// A record and its points, once.
void collectRecord(SqliteDatabase& db, qint64 seqNo)
{
    if (holds(db, QStringLiteral("TmpSet"), seqNo))
        return;
    db.execute(QStringLiteral("Insert Into TmpSet Select * From Setting Where SeqNo=%1;").arg(seqNo));
    db.execute(QStringLiteral("Insert Into TmpDat Select * From Datas Where SerialNo=%1;").arg(seqNo));
}


// A name for the file being written, unique in the target's folder.
QString partFileName(const QString& target)
{
    QTemporaryFile reserve(QFileInfo(target).absoluteDir().filePath(QStringLiteral(".tz4-export-XXXXXX.part")));
    if (!reserve.open())
        throw fileError(reserve);
    const QString name = reserve.fileName();
    reserve.close();
    reserve.remove();
    return name;
}

void checkTarget(const QString& databasePath, const QString& target, bool replaceExisting)
{
    if (sameFile(target, databasePath) || isDataDirectoryFile(target))
        throw Tz4Error(err::PermissionDenied,
                       QStringLiteral("'%1' is the database itself; export to another file.").arg(target));
    const QFileInfo info(target);
    if (info.isDir())
        throw Tz4Error(err::PathFileAccess, QStringLiteral("'%1' is a folder; name a file in it.").arg(target));
    refuseUnlessRegular(target);
    if (info.exists() && !replaceExisting)
        throw Tz4Error(err::FileAlreadyExists,
                       QStringLiteral("'%1' exists already; choose another name.").arg(target));
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        throw Tz4Error(err::PathNotFound, QStringLiteral("The folder '%1' does not exist.").arg(folder.filePath()));
    if (!folder.isWritable())
        throw Tz4Error(err::PermissionDenied, QStringLiteral("The folder '%1' cannot be written.").arg(folder.filePath()));
}

} // namespace

QString exchangeFileName(const QString& fileName)
{
    return fileName.right(3).compare(QLatin1String("mdb"), Qt::CaseInsensitive) == 0 ? fileName
                                                                                       : fileName + QStringLiteral(".mdb");
}

namespace ops {

void ExportLoop(SqliteDatabase& db, QString list, const OperationProgress& progress)
{
    EnterProcedure here("modDataBase:ExportLoop");
    QStringList pending;
    while (list.contains(QLatin1Char(','))) {
        const qsizetype comma = list.indexOf(QLatin1Char(','));
        pending << list.left(comma).trimmed();
        list = list.mid(comma + 1).trimmed();
    }
    // Depth first, in list order, like collecting each child list where it is found.
    while (!pending.isEmpty()) {
        const QString key = pending.takeFirst();
        reportProgress(progress, GetRes(msg::CheckingDependencies, {key}));
        const QString type = GetKeyType(key);
        const qint32 n = GetKeySeq(key);
        QStringList children;
        if (type == keytype::Root) {
            children = childKeys(db, 0);
        } else if (type == keytype::Trash) {
            // The trash exports what it shows: every trashed folder and every trashed record.
            for (const qint32 folder : seqNosWhere(db, QStringLiteral("FAT"), QStringLiteral("Recycled<>0")))
                children << makeKey(folder, keytype::Folder);
            for (const qint32 record : seqNosWhere(db, QStringLiteral("Setting"), QStringLiteral("Recycled<>0")))
                children << storedRecordKey(db, record);
        } else if (type == keytype::Folder) {
            if (holds(db, QStringLiteral("TmpFat"), n))
                continue;
            db.execute(QStringLiteral("Insert Into TmpFat Select * From FAT Where SeqNo=%1;").arg(n));
            children = childKeys(db, n);
        } else if (keytype::isRecord(type)) {
            collectRecord(db, n);
        }
        children.removeAll(QString());
        pending = children + pending;
    }
}

void ExportSeq(SqliteDatabase& db, const OperationProgress& progress)
{
    EnterProcedure here("modDataBase:ExportSeq");
    // Corrections and calibration lines come along with the records that use them; the rows
    // added here are walked as well, so a calibration line brought in by a C record brings
    // its members.
    QSet<qint64> done;
    for (;;) {
        struct Row {
            qint64 seqNo;
            int modes;
            qint64 adjustNo;
            QString name;
        };
        QList<Row> rows;
        {
            SqliteStatement st = db.query(QStringLiteral("Select SeqNo,Modes,AdjustNo,SampleName From TmpSet;"));
            while (st.next())
                if (!done.contains(st.toInt(0)))
                    rows.append({st.toInt(0), int(st.toInt(1, -1)), st.toInt(2), st.toText(QStringLiteral("SampleName"))});
        }
        if (rows.isEmpty())
            break;
        for (const Row& row : std::as_const(rows)) {
            done.insert(row.seqNo);
            reportProgress(progress, GetRes(msg::WritingData, {row.name}));
            if ((row.modes == clsTz4DataSet::KindW || row.modes == clsTz4DataSet::KindC) && row.adjustNo > 0)
                collectRecord(db, row.adjustNo);
            if (row.modes == clsTz4DataSet::KindT)
                db.execute(QStringLiteral("Insert Into TmpThn Select * From Thicks Where AdjNo=%1 "
                                          "And SeqNo Not In (Select SeqNo From TmpThn);")
                               .arg(row.seqNo));
        }
        QList<qint64> members;
        {
            SqliteStatement st = db.query(QStringLiteral("Select AdjNo,DataNo From TmpThn;"));
            while (st.next()) {
                reportProgress(progress, GetRes(msg::WritingData, {st.toInt(0)}));
                members << st.toInt(1);
            }
        }
        for (const qint64 member : std::as_const(members))
            collectRecord(db, member);
    }
    {
        SqliteStatement names = db.query(QStringLiteral("Select SampleName From TmpSet;"));
        while (names.next())
            reportProgress(progress, GetRes(msg::ResettingData, {names.toText(QStringLiteral("SampleName"))}));
    }
    // Whatever lost its folder in the file lives at its top level.
    db.execute(QStringLiteral("UPDATE TmpSet Set Parent=0 Where Parent Not In (Select SeqNo From TmpFat);"));
    db.execute(QStringLiteral("UPDATE TmpFat Set Parent=0 Where Parent Not In (Select SeqNo From TmpFat);"));
    db.execute(QStringLiteral("Update TmpFat Set Recycled=0;"));
    db.execute(QStringLiteral("Update TmpSet Set Recycled=0;"));
}

} // namespace ops

QString ExportMain(const QString& databasePath, const QString& fileName, const QString& exportList,
                   const OperationProgress& progress, bool replaceExisting)
{
    EnterProcedure here("modDataBase:ExportMain");
    const QString target = QFileInfo(exchangeFileName(fileName)).absoluteFilePath();
    checkTarget(databasePath, target, replaceExisting);
    reportProgress(progress, GetRes(msg::ExportProgress), 0);

    const QString part = partFileName(target);
    bool done = false;
    const auto removePart = qScopeGuard([&] {
        if (!done)
            QFile::remove(part);
    });
    if (!MakeDB(part))
        throw Tz4Error(err::PermissionDenied, QStringLiteral("The file '%1' could not be created.").arg(target));
    {
        SqliteDatabase db(databasePath);
        const QString file = db.attach(part);
        {
            // Reads one snapshot of the database and writes only the work tables and the new
            // file: writers of the database never wait for an export.
            SqliteTransaction transaction(db, SqliteTransaction::Kind::Read);
            createWorkTables(db, true);
            ops::ExportLoop(db, exportList, progress);
            ops::ExportSeq(db, progress);
            const char* const moves[][2] = {{"FAT", "TmpFat"}, {"Setting", "TmpSet"}, {"Datas", "TmpDat"}, {"Thicks", "TmpThn"}};
            for (int i = 0; i < 4; ++i) {
                db.exec(QStringLiteral("Insert Into %1.%2 Select * From temp.%3;")
                            .arg(file, QLatin1String(moves[i][0]), QLatin1String(moves[i][1])));
                reportProgress(progress, GetRes(msg::ExportProgress), (i + 1) / 4.0);
            }
            dropWorkTables(db);
            transaction.commit();
        }
        db.detachAll();
    }
    std::error_code error;
    if (QFileInfo::exists(target) && !replaceExisting)
        throw Tz4Error(err::FileAlreadyExists, QStringLiteral("'%1' exists already; choose another name.").arg(target));
    // What appeared there meanwhile is checked again: a rename replaces whatever the name holds.
    refuseUnlessRegular(target);
    std::filesystem::rename(QFile::encodeName(part).toStdString(), QFile::encodeName(target).toStdString(), error);
    if (error)
        throw Tz4Error(err::PermissionDenied,
                       QStringLiteral("'%1' could not be written: %2").arg(target, QString::fromStdString(error.message())));
    done = true;
    return target;
}

} // namespace tz4
