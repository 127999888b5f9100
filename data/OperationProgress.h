#pragma once

#include <QString>

#include <functional>

namespace tz4 {

// Where long database work reports how far it is: a caption (from the message catalogue) and
// the done fraction 0..1, or a negative fraction to change the caption only. The window shows
// it on the main window's data bar, the headless program on standard error.
using OperationProgress = std::function<void(const QString& caption, double fraction)>;

inline void reportProgress(const OperationProgress& progress, const QString& caption, double fraction = -1)
{
    if (progress)
        progress(caption, fraction);
}

} // namespace tz4
