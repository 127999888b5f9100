#pragma once

#include <QString>

namespace tz4 {

// Undoing a link made by a drop, from the sample manager's property grid. Each is one
// transaction on the database file; a record that is gone, or that has no such link, is
// refused (Tz4Error) and nothing changes.

// The W or C record `recordKey` no longer uses its light correction or calibration line.
void removeAdjustment(const QString& databasePath, const QString& recordKey);

// D record `memberNo` leaves calibration line `lineKey`, whose points are rebuilt.
void removeCalibrationMember(const QString& databasePath, const QString& lineKey, qint32 memberNo);

} // namespace tz4
