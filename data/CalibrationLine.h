#pragma once

#include <QtGlobal>

namespace tz4 {

class SqliteDatabase;

// Rebuilds the points of calibration line `lineSeqNo` from its members: its Datas rows are
// deleted, then every point of every member (Thicks rows with AdjNo = the line) is copied with
// a new key and EngData = the member point's key. Runs inside the caller's transaction, if any.
void rebuildCalibrationLinePoints(SqliteDatabase& db, qint32 lineSeqNo);

} // namespace tz4
