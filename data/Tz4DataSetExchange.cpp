#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "core/OwnTexts.h"
#include "core/Tz4Error.h"
#include "data/DatabaseSchema.h"
#include "data/DatabaseWait.h"
#include "data/ExportImport.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryFile>

namespace tz4 {

namespace {

// The database is already known to be slow to answer: the correction is worth a short look only.
constexpr std::chrono::milliseconds kCorrectionWait{2000};

// "TZ4-unsaved-20260501-134502-W.mdb", numbered on when that name is taken.
QString freeName(const QDir& directory, const QString& letter)
{
    const QString stem = QStringLiteral("TZ4-unsaved-%1-%2")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")), letter);
    QString name = stem + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(directory.filePath(name)); ++n)
        name = stem + QStringLiteral("-%1.mdb").arg(n);
    return directory.filePath(name);
}

QString partName(const QDir& directory)
{
    QTemporaryFile reserve(directory.filePath(QStringLiteral(".tz4-unsaved-XXXXXX.part")));
    if (!reserve.open())
        throw Tz4Error(err::PathFileAccess, QStringLiteral("No file can be made in '%1': %2")
                                                .arg(directory.path(), reserve.errorString()));
    const QString name = reserve.fileName();
    reserve.close();
    reserve.remove();
    return name;
}

// Copies the record `adjustNo` of the database, with what it depends on, into the exchange file.
void copyCorrection(const QString& databasePath, qint32 adjustNo, const QString& file)
{
    const DatabaseWait::ShortWait brief(kCorrectionWait);
    SqliteDatabase db(databasePath);
    const QString key = storedRecordKey(db, adjustNo);
    if (key.isEmpty())
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("there is no record %1").arg(adjustNo));
    const QString alias = db.attach(file);
    // Reads a snapshot; writes only the work tables and the file.
    SqliteTransaction transaction(db, SqliteTransaction::Kind::Read);
    createWorkTables(db, true);
    ops::ExportLoop(db, key + QLatin1Char(','));
    ops::ExportSeq(db);
    const char* const moves[][2] = {{"FAT", "TmpFat"}, {"Setting", "TmpSet"}, {"Datas", "TmpDat"}, {"Thicks", "TmpThn"}};
    for (const auto& move : moves)
        db.exec(QStringLiteral("Insert Into %1.%2 Select * From temp.%3;")
                    .arg(alias, QLatin1String(move[0]), QLatin1String(move[1])));
    dropWorkTables(db);
    transaction.commit();
    db.detachAll();
}

} // namespace

QString clsTz4DataSet::WriteExchangeFile(const QString& directory, QString* note) const
{
    EnterProcedure here("clsTz4DataSet:WriteExchangeFile");
    const QDir dir(directory);
    if (!dir.exists())
        throw Tz4Error(err::PathNotFound, QStringLiteral("The folder '%1' does not exist.").arg(directory));
    const QString part = partName(dir);
    bool done = false;
    const auto removePart = qScopeGuard([&] {
        if (!done)
            QFile::remove(part);
    });
    if (!MakeDB(part))
        throw Tz4Error(err::PathFileAccess, QStringLiteral("The file '%1' could not be made.").arg(part));

    // In the file the record lies at its top level: the import hangs it where the user says.
    RecordSettings settings = settings_;
    settings.parentKey = makeKey(0, QStringLiteral("F"));
    if (settings.adjustNo > 0) {
        try {
            copyCorrection(DataBaseName(), settings.adjustNo, part);
        } catch (const Tz4Error& error) {
            if (note)
                *note = ownText(OwnText::CorrectionLeftOut, {settings.adjustNo, error.description()});
            settings.adjustNo = 0;
        }
    }
    {
        SqliteDatabase file(part);
        SqliteTransaction transaction(file);
        RecordPoints points = points_;
        RecordRows::insert(file, kind_, settings, points);
        transaction.commit();
    }
    const QString target = freeName(dir, letterOfKind(kind_));
    QFile moved(part);
    if (!moved.rename(target))
        throw Tz4Error(err::PathFileAccess,
                       QStringLiteral("'%1' could not be written: %2").arg(target, moved.errorString()));
    done = true;
    return target;
}

} // namespace tz4
