#pragma once

#include "core/StopSignals.h"
#include "mainwin/MainControl.h"

#include <QObject>
#include <QPointer>

namespace tz4::gui {

// SIGTERM, SIGINT and SIGHUP take the same way out as a cancel: a running instrument
// procedure is cancelled (grid off, light blocked, stage to its origin, nothing stored) and
// has ended before every window closes, so that the program still writes its settings file.
// No message box waits for a person on the way: the reporter stops asking (questions are
// answered No, so nothing is stored). The program then exits with 128 + the signal's number,
// as a shell reports it.
class TerminationSignals final : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);

    // The program whose running action a signal cancels; none by default.
    void watch(MainControl* main);

    // True once a termination signal has arrived.
    static bool requested();
    // 128 + the number of the signal that arrived; 0 while none has.
    int exitCode() const { return exitCode_; }

private:
    void stop(int signal);
    void closeWhenIdle();
    bool busy() const;

    StopSignals signals_;
    QPointer<MainControl> main_;
    int exitCode_ = 0;
};

} // namespace tz4::gui
