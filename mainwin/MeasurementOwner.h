#pragma once

#include <QObject>

namespace tz4 {

// A window that starts procedures on the instrument and registers itself as their owner
// (the instrument's `Locked`), so that the process events reach its display.
class MeasurementOwner : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // A new point arrived in the record the owner handed to the instrument.
    virtual void RefreshDisplay() {}
    // The procedure ended by a cancel.
    virtual void MeasProcCanceled() {}
};

} // namespace tz4
