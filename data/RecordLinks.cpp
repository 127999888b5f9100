#include "data/RecordLinks.h"

#include "core/ErrorLocation.h"
#include "core/Keys.h"
#include "core/Tz4Error.h"
#include "data/CalibrationLine.h"
#include "data/SampleRows.h"
#include "data/SqliteDatabase.h"

namespace tz4 {

namespace {

void requireRecord(SqliteDatabase& db, const QString& key, const QString& kinds)
{
    if (!kinds.contains(GetKeyType(key)) || GetKeyType(key).size() != 1 || !rowExists(db, key))
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("There is no record %1.").arg(key));
}

} // namespace

void removeAdjustment(const QString& databasePath, const QString& recordKey)
{
    EnterProcedure here("frmSample:mnuGridPopUp_Click");
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    requireRecord(db, recordKey, QStringLiteral("WC"));
    db.execute(QStringLiteral("Update Setting Set AdjustNo=0 Where SeqNo=%1 And AdjustNo<>0;").arg(GetKeySeq(recordKey)));
    if (db.changes() == 0)
        throw Tz4Error(err::InvalidPropertyValue, QStringLiteral("Record %1 uses no adjustment data.").arg(recordKey));
    transaction.commit();
}

void removeCalibrationMember(const QString& databasePath, const QString& lineKey, qint32 memberNo)
{
    EnterProcedure here("frmSample:mnuGridPopUp_Click");
    SqliteDatabase db(databasePath);
    SqliteTransaction transaction(db);
    requireRecord(db, lineKey, QStringLiteral("T"));
    const qint32 line = GetKeySeq(lineKey);
    db.execute(QStringLiteral("Delete From Thicks Where AdjNo=%1 And DataNo=%2;").arg(line).arg(memberNo));
    if (db.changes() == 0)
        throw Tz4Error(err::InvalidPropertyValue,
                       QStringLiteral("Record %1 is not a member of calibration line %2.").arg(memberNo).arg(lineKey));
    rebuildCalibrationLinePoints(db, line);
    transaction.commit();
}

} // namespace tz4
