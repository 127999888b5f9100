#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Keys.h"
#include "core/OwnTexts.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"

namespace tz4 {

void clsTz4DataSet::fillDemonstration()
{
    settings_.setDefaults();
    settings_.graphX = {3.4f, 6.2f, 0};
    settings_.graphY = {0, 40, 10};
    settings_.expLog = true;
    settings_.gndDown = false;
    settings_.adjustFlag = false;
    points_.fillDemonstration(withZ());
}

// Each step fails alone: what loaded stays loaded and the error is reported once at the end.
void clsTz4DataSet::ReLoad()
{
    EnterProcedure here("clsTz4DataSet:ReLoad");
    ErrorTrap trap;
    if (!rows_.stored()) {
        fillDemonstration();
    } else if (SeqNo() < 1) {
        trap.run([&] {
            const std::unique_ptr<SqliteDatabase> db = rows_.open();
            // The first record of its kind starts from the defaults a stored record without
            // settings gets, so a first W scan plots the powered yield with the ground removed.
            const qint32 latest = RecordRows::latestOfKind(*db, kind_);
            RecordRows::loadSettings(*db, latest, kind_, settings_, calibration_);
            if (latest >= 1)
                RecordRows::loadAdjustment(*db, kind_, settings_, calibration_);
        });
    } else {
        std::unique_ptr<SqliteDatabase> db;
        if (trap.run([&] { db = rows_.open(); })) {
            trap.run([&] { RecordRows::loadSettings(*db, SeqNo(), kind_, settings_, calibration_); });
            trap.run([&] { RecordRows::loadPoints(*db, SeqNo(), kind_, points_); });
            rememberStored();
            trap.run([&] { RecordRows::loadAdjustment(*db, kind_, settings_, calibration_); });
            trap.run([&] { RecordRows::storeThicknesses(*db, kind_, settings_, calibration_, points_); });
            trap.run([&] { RecordRows::loadStatistics(*db, SeqNo(), settings_.statistics); });
            trap.run([&] { settings_.folderPath = RecordRows::folderPath(*db, settings_.parentKey); });
        }
    }
    Refresh();
    loaded_ = true;
    loadFailure_ = trap.error() ? trap.error()->description() : QString();
    trap.finish();
}

bool clsTz4DataSet::AddDatas()
{
    EnterProcedure here("clsTz4DataSet:AddDatas");
    storeFailure_.clear();
    storeNote_.clear();
    if (!rows_.stored() || SeqNo() >= 1)
        return false;
    const std::vector<qint32> oldPointKeys = points_.keys;
    const QString oldParent = settings_.parentKey;
    QString note;
    ErrorTrap trap;
    const bool ok = trap.run([&] {
        const std::unique_ptr<SqliteDatabase> db = rows_.open();
        SqliteTransaction transaction(*db);
        // The folder chosen when the measurement started may have gone while it ran.
        const qint32 folder = settings_.parentFolder();
        if (folder != 0 && !folderIsLive(*db, folder)) {
            settings_.parentKey = makeKey(0, QStringLiteral("F"));
            note = ownText(OwnText::StoredAtTopLevel, {makeKey(folder, QStringLiteral("F"))});
        }
        const qint32 key = RecordRows::insert(*db, kind_, settings_, points_);
        transaction.commit();
        setKey(makeKey(key, letterOfKind(kind_)));
    });
    if (ok) {
        rememberStored();
        storeNote_ = note;
    } else {
        // Nothing was stored: the record stays new.
        points_.keys = oldPointKeys;
        settings_.parentKey = oldParent;
        storeFailure_ = trap.error()->description();
    }
    trap.finish();
    return ok;
}

bool clsTz4DataSet::UpDates()
{
    EnterProcedure here("clsTz4DataSet:UpDates");
    if (!rows_.stored() || SeqNo() < 1)
        return false;
    ErrorTrap trap;
    if (trap.run([&] {
            const std::unique_ptr<SqliteDatabase> db = rows_.open();
            SqliteTransaction transaction(*db);
            RecordRows::saveSettings(*db, SeqNo(), kind_, settings_, points_.count(), false);
            RecordRows::saveValues(*db, kind_, points_);
            transaction.commit();
        }))
        rememberStored();
    return trap.finish();
}

void clsTz4DataSet::rememberStored()
{
    storedSettings_ = settings_;
    storedPoints_ = points_;
}

clsTz4DataSet::WriteBack clsTz4DataSet::WriteChanges(QString* detail)
{
    EnterProcedure here("clsTz4DataSet:WriteChanges");
    if (!rows_.stored() || SeqNo() < 1)
        return WriteBack::NothingChanged;
    const RecordRows::Changes wanted = RecordRows::changes(kind_, storedSettings_, storedPoints_, settings_, points_);
    if (wanted.empty())
        return WriteBack::NothingChanged;
    WriteBack result = WriteBack::Failed;
    ErrorTrap trap;
    trap.run([&] {
        const std::unique_ptr<SqliteDatabase> db = rows_.open();
        // The comparison and the write see the same row: another writer waits for this one.
        SqliteTransaction transaction(*db);
        if (!RecordRows::exists(*db, SeqNo())) {
            result = WriteBack::Deleted;
            return;
        }
        const RecordRows::Changes elsewhere =
            RecordRows::changedSince(*db, SeqNo(), kind_, storedSettings_, storedPoints_, points_, wanted);
        if (!elsewhere.empty()) {
            if (detail) {
                QStringList what = elsewhere.columns;
                if (!elsewhere.points.empty())
                    what << QStringLiteral("%1 point(s)").arg(elsewhere.points.size());
                *detail = what.join(QStringLiteral(", "));
            }
            result = WriteBack::ChangedElsewhere;
            return;
        }
        RecordRows::saveChanges(*db, SeqNo(), kind_, settings_, points_, wanted);
        transaction.commit();
        result = WriteBack::Written;
    });
    if (result == WriteBack::Written)
        rememberStored();
    if (trap.error() && detail)
        *detail = trap.error()->description();
    trap.finish();
    return result;
}

bool clsTz4DataSet::SaveSettingDatas(bool descriptiveOnly)
{
    EnterProcedure here("clsTz4DataSet:SaveSettingDatas");
    if (!rows_.stored())
        return false;
    ErrorTrap trap;
    if (trap.run([&] {
            const std::unique_ptr<SqliteDatabase> db = rows_.open();
            RecordRows::saveSettings(*db, SeqNo(), kind_, settings_, points_.count(), descriptiveOnly);
        }))
        storedSettings_ = settings_;
    return trap.finish();
}

bool clsTz4DataSet::SaveDataValues()
{
    EnterProcedure here("clsTz4DataSet:SaveDataValues");
    if (!rows_.stored())
        return false;
    ErrorTrap trap;
    if (trap.run([&] {
            const std::unique_ptr<SqliteDatabase> db = rows_.open();
            SqliteTransaction transaction(*db);
            RecordRows::saveValues(*db, kind_, points_);
            transaction.commit();
        }))
        storedPoints_ = points_;
    return trap.finish();
}

} // namespace tz4
