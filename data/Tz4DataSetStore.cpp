#include "data/Tz4DataSet.h"

#include "core/ErrorLocation.h"
#include "core/ErrorTrap.h"
#include "core/Keys.h"
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
    if (!rows_.stored() || SeqNo() >= 1)
        return false;
    const std::vector<qint32> oldPointKeys = points_.keys;
    ErrorTrap trap;
    const bool ok = trap.run([&] {
        const std::unique_ptr<SqliteDatabase> db = rows_.open();
        SqliteTransaction transaction(*db);
        const qint32 key = RecordRows::insert(*db, kind_, settings_, points_);
        transaction.commit();
        setKey(makeKey(key, letterOfKind(kind_)));
    });
    // Nothing was stored: the record stays new.
    if (!ok)
        points_.keys = oldPointKeys;
    trap.finish();
    return ok;
}

bool clsTz4DataSet::UpDates()
{
    EnterProcedure here("clsTz4DataSet:UpDates");
    if (!rows_.stored() || SeqNo() < 1)
        return false;
    ErrorTrap trap;
    trap.run([&] {
        const std::unique_ptr<SqliteDatabase> db = rows_.open();
        SqliteTransaction transaction(*db);
        RecordRows::saveSettings(*db, SeqNo(), kind_, settings_, points_.count(), false);
        RecordRows::saveValues(*db, kind_, points_);
        transaction.commit();
    });
    return trap.finish();
}

bool clsTz4DataSet::SaveSettingDatas(bool descriptiveOnly)
{
    EnterProcedure here("clsTz4DataSet:SaveSettingDatas");
    if (!rows_.stored())
        return false;
    ErrorTrap trap;
    trap.run([&] {
        const std::unique_ptr<SqliteDatabase> db = rows_.open();
        RecordRows::saveSettings(*db, SeqNo(), kind_, settings_, points_.count(), descriptiveOnly);
    });
    return trap.finish();
}

bool clsTz4DataSet::SaveDataValues()
{
    EnterProcedure here("clsTz4DataSet:SaveDataValues");
    if (!rows_.stored())
        return false;
    ErrorTrap trap;
    trap.run([&] {
        const std::unique_ptr<SqliteDatabase> db = rows_.open();
        SqliteTransaction transaction(*db);
        RecordRows::saveValues(*db, kind_, points_);
        transaction.commit();
    });
    return trap.finish();
}

} // namespace tz4
