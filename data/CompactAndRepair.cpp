#include "data/CompactAndRepair.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Keys.h"
#include "data/DatabaseSchema.h"
#include "data/DatabaseWait.h"
#include "data/SqliteDatabase.h"

#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

namespace tz4 {

namespace {

// Room beyond the file's own size that compaction leaves free.
constexpr qint64 kCompactionSlack = 256 * 1024;

// The engine's repair: a file that fails its own consistency check is refused, untouched.
void checkIntegrity(SqliteDatabase& db)
{
    SqliteStatement st = db.prepare(QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (st.next()) {
        const QString line = st.value(0).toString();
        if (line != QLatin1String("ok"))
            problems << line;
    }
    if (!problems.isEmpty())
        throw Tz4Error(dberr::Corrupt, QStringLiteral("The database '%1' is damaged: %2")
                                           .arg(db.path(), problems.mid(0, 3).join(QStringLiteral("; "))));
}

} // namespace

QList<qint32> breakFolderLoops(SqliteDatabase& db)
{
    QList<qint32> moved;
    SqliteTransaction transaction(db);
    // A folder that reaches neither the top level nor a missing parent lies in a loop or below one.
    SqliteStatement stuck = db.prepare(QStringLiteral(
        "With Recursive Reach(SeqNo) As (Select SeqNo From FAT Where Parent Is Null Or Parent=0 "
        "Or Parent Not In (Select SeqNo From FAT) Union Select f.SeqNo From FAT f Join Reach r On f.Parent=r.SeqNo) "
        "Select Min(SeqNo) From FAT Where SeqNo Not In (Select SeqNo From Reach);"));
    SqliteStatement parentOf = db.prepare(QStringLiteral("Select Parent From FAT Where SeqNo=?;"));
    SqliteStatement toTop = db.prepare(QStringLiteral("Update FAT Set Parent=0 Where SeqNo=?;"));
    for (;;) {
        stuck.reset();
        if (!stuck.next() || stuck.isNull(0))
            break;
        qint32 folder = qint32(stuck.toInt(0));
        // Walking up from it, the first folder met twice is in the loop.
        QSet<qint32> seen;
        while (!seen.contains(folder)) {
            seen.insert(folder);
            parentOf.reset();
            parentOf.bind(1, qint64(folder));
            if (!parentOf.next())
                break;
            folder = qint32(parentOf.toInt(0));
        }
        stuck.reset();
        toTop.reset();
        toTop.bind(1, qint64(folder));
        toTop.run();
        moved << folder;
    }
    stuck.reset();
    parentOf.reset();
    transaction.commit();
    return moved;
}

void compactInPlace(const QString& path)
{
    // The engine writes the whole file once more through its journal beside it: without room
    // for that it would fill the disk and fail, so it is not started.
    const QFileInfo file(path);
    const qint64 needed = file.size() + file.size() / 10 + kCompactionSlack;
    const QStorageInfo disk(file.absolutePath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < needed)
        throw Tz4Error(err::DiskFull, QStringLiteral("The database was not compacted: that needs about %1 KB free beside "
                                                     "it, and %2 KB are.")
                                          .arg(needed / 1024)
                                          .arg(disk.bytesAvailable() / 1024));
    SqliteDatabase db(path);
    db.exec(QStringLiteral("VACUUM;"));
    // The log of a database in write-ahead mode held the whole file for a moment; it shrinks
    // back unless a reader still uses it, and then with the next checkpoint.
    try {
        const DatabaseWait::ShortWait brief(std::chrono::milliseconds(1000));
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
    } catch (const Tz4Error& error) {
        if (error.number() == dberr::Interrupted)
            throw;
    }
}

QStringList compactAndRepair(const QString& path, const QString& mainDatabasePath)
{
    {
        SqliteDatabase mainDb(mainDatabasePath.isEmpty() ? path : mainDatabasePath);
        dropWorkTables(mainDb);
    }
    QStringList repaired;
    {
        SqliteDatabase db(path);
        checkIntegrity(db);
        for (const qint32 folder : breakFolderLoops(db))
            repaired << QStringLiteral("Folder %1 lay inside itself (its folders formed a loop); it was moved to the "
                                       "top level with its contents.")
                            .arg(makeKey(folder, QStringLiteral("F")));
    }
    compactInPlace(path);
    return repaired;
}

bool CompactAndRepairDB(const QString& path, const QString& mainDatabasePath, QStringList* repaired)
{
    EnterProcedure here("modDataBase:CompactAndRepairDB");
    if (path.size() < 4)
        return false;
    ErrorTrap trap;
    QStringList done;
    const bool ok = trap.run([&] { done = compactAndRepair(path, mainDatabasePath); });
    if (repaired)
        *repaired << done;
    if (!ok) {
        ShowErrorMessage(QStringLiteral("modDataBase"), QStringLiteral("CompactAndRepairDB"), *trap.error());
        trap.finish();
    }
    return ok;
}

} // namespace tz4
