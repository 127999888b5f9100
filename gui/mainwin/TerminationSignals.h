#pragma once

#include "core/StopSignals.h"
#include "instrument/Tz4Body.h"

#include <QObject>
#include <QPointer>

namespace tz4::gui {

// SIGTERM, SIGINT and SIGHUP take the same way out as a cancel: a running instrument
// procedure is cancelled (grid off, light blocked, stage to its origin, nothing stored) and
// has ended before every window closes, so that the program still writes its settings file.
// The program then exits with 128 + the signal's number, as a shell reports it.
class TerminationSignals final : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);

    // The instrument whose running procedure a signal cancels; none by default.
    void watch(uclTz4Body* body) { body_ = body; }

    // True once a termination signal has arrived.
    static bool requested();
    // 128 + the number of the signal that arrived; 0 while none has.
    int exitCode() const { return exitCode_; }

private:
    void stop(int signal);
    void closeWhenIdle();

    StopSignals signals_;
    QPointer<uclTz4Body> body_;
    int exitCode_ = 0;
};

} // namespace tz4::gui
