#include "gui/mainwin/TerminationSignals.h"

#include "core/ErrorReporter.h"
#include "instrument/Tz4Body.h"
#include "mainwin/RunningAction.h"

#include <QApplication>
#include <QTimer>

namespace tz4::gui {

namespace {
bool terminationRequested = false;
// How often a stop looks again whether a procedure outside any action (the warm-up's poll)
// has come back.
constexpr int IdleCheckMs = 50;
} // namespace

bool TerminationSignals::requested() { return terminationRequested; }

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent), signals_([this](int signal) { stop(signal); })
{
    terminationRequested = false;
}

void TerminationSignals::watch(MainControl* main)
{
    main_ = main;
    if (main)
        connect(&main->action(), &RunningAction::changed, this, [this] {
            if (terminationRequested)
                closeWhenIdle();
        });
}

bool TerminationSignals::busy() const
{
    return main_ && (main_->action().running() || main_->body().Busy());
}

void TerminationSignals::stop(int signal)
{
    if (terminationRequested)
        return;
    terminationRequested = true;
    exitCode_ = 128 + signal;
    errorReporter().stopAsking();
    if (main_) {
        if (!main_->action().requestCancel() && main_->body().Busy())
            main_->body().setCanceled(true);
    }
    closeWhenIdle();
}

// A procedure runs in a nested wait inside some window's handler; its windows may only close
// once it has come back out of that wait, which the running action announces.
void TerminationSignals::closeWhenIdle()
{
    if (busy()) {
        if (!main_->action().running())
            QTimer::singleShot(IdleCheckMs, this, [this] { closeWhenIdle(); });
        return;
    }
    // Leave the handler that announced the end before the windows go.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (busy())
                return;
            QApplication::closeAllWindows();
            QApplication::exit(exitCode_);
        },
        Qt::QueuedConnection);
}

} // namespace tz4::gui
