#pragma once

#include <QtGlobal>

namespace tz4 {

// The step codes a procedure raises with its process event (`ProcType`), and the owner switches on.
namespace proc {
constexpr qint32 Started = 0;
constexpr qint32 ReferenceMeasured = 1; // dark or background level; Value1 holds it
constexpr qint32 PointMeasured = 2;
constexpr qint32 Finished = 3;
constexpr qint32 FinishedWithoutResult = 4; // the anode voltage search found no voltage
constexpr qint32 Cancelled = 5;             // the instrument has been put into its safe state
constexpr qint32 PurgeRunning = 6;          // background too high: dry-air purge, then a retry
// Intermediate results of the light-base measurement.
constexpr qint32 BaseSpanMinimum = 7;
constexpr qint32 BaseSpanMaximum = 8;
constexpr qint32 BaseIris = 9;
constexpr qint32 LightProcessing = 10;     // owner side only: the adjustment is under way
constexpr qint32 LightOutOfTolerance = 11; // finished, but the power is off target by over 5 %
constexpr qint32 RefusedBusy = 12;
constexpr qint32 RefusedPortClosed = 13;
} // namespace proc

} // namespace tz4
