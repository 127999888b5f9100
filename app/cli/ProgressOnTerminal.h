#pragma once

#include "app/cli/TerminalStatusBar.h"
#include "data/OperationProgress.h"

#include <QElapsedTimer>

namespace tz4::cli {

// Long database work shown on standard error through the terminal status bar. Captions that
// follow each other faster than a person can read are passed over, so a thousand records
// do not make a thousand lines.
class ProgressOnTerminal {
public:
    ProgressOnTerminal()
    {
        bar_.setMin(0);
        bar_.setMax(100);
    }

    OperationProgress progress()
    {
        return [this](const QString& caption, double fraction) {
            const bool due = !shown_.isValid() || shown_.elapsed() >= kReadableMs || fraction >= 1;
            if (!caption.isEmpty() && due) {
                bar_.setCaption(caption);
                shown_.start();
            }
            if (fraction >= 0)
                bar_.setValue(float(fraction * 100));
        };
    }

private:
    static constexpr qint64 kReadableMs = 250;
    TerminalStatusBar bar_;
    QElapsedTimer shown_;
};

} // namespace tz4::cli
