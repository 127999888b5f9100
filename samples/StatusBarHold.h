#pragma once

#include "data/OperationProgress.h"

#include <QtGlobal>

namespace tz4 {

class MainControl;

// The main window's status bar held by the sample manager for one operation: taken with the
// window's owner code when it is free, written while held, and given back resting. When
// another activity holds it (a measurement), the operation runs without it.
class StatusBarHold {
public:
    // The owner code of the sample manager's operations; 1 is the instrument's.
    static constexpr qint32 Owner = 2;

    StatusBarHold(MainControl* main, const QString& caption);
    ~StatusBarHold();
    StatusBarHold(const StatusBarHold&) = delete;
    StatusBarHold& operator=(const StatusBarHold&) = delete;

    bool held() const { return held_; }
    // A caption (kept when empty) and the done fraction 0..1 (kept when negative).
    void show(const QString& caption, double fraction);
    // The same as an operation's progress; `repaint` draws the bar at once, for work that keeps
    // the event loop waiting.
    OperationProgress progress(bool repaint);

private:
    MainControl* main_;
    bool held_ = false;
};

} // namespace tz4
