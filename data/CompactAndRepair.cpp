#include "data/CompactAndRepair.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Formats.h"
#include "data/DatabaseSchema.h"
#include "data/SqliteDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tz4 {

namespace {

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

void removeFile(const QString& path)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        throw fileError(file);
}

} // namespace

QString repairTemporaryPath(const QString& databasePath, const QDateTime& when)
{
    return QFileInfo(databasePath).absoluteDir().filePath(
        QStringLiteral("TMP") + formatDate(when, QStringLiteral("YYMMDDHHNNSS")) + QStringLiteral(".mdb"));
}

bool CompactAndRepairDB(const QString& path, const QString& mainDatabasePath)
{
    EnterProcedure here("modDataBase:CompactAndRepairDB");
    if (path.size() < 4)
        return false;
    ErrorTrap trap;
    const bool ok = trap.run([&] {
        {
            SqliteDatabase mainDb(mainDatabasePath.isEmpty() ? path : mainDatabasePath);
            dropWorkTables(mainDb);
        }
        const QString temporary = repairTemporaryPath(path, QDateTime::currentDateTime());
        removeFile(temporary);
        {
            SqliteDatabase db(path);
            checkIntegrity(db);
            SqliteStatement vacuum = db.prepare(QStringLiteral("VACUUM INTO ?"));
            vacuum.bind(1, temporary);
            vacuum.run();
        }
        {
            SqliteDatabase copy(temporary);
            checkIntegrity(copy);
        }
        removeFile(path);
        QFile moved(temporary);
        if (!moved.rename(path))
            throw fileError(moved);
    });
    if (!ok) {
        ShowErrorMessage(QStringLiteral("modDataBase"), QStringLiteral("CompactAndRepairDB"), *trap.error());
        trap.finish();
    }
    return ok;
}

} // namespace tz4
