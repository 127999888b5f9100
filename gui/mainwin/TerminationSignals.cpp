#include "gui/mainwin/TerminationSignals.h"

#include "instrument/Tz4Body.h"

#include <QApplication>
#include <QTimer>

namespace tz4::gui {

namespace {
bool terminationRequested = false;
// How often a stop looks again whether the cancelled procedure has ended.
constexpr int IdleCheckMs = 50;
} // namespace

bool TerminationSignals::requested() { return terminationRequested; }

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent), signals_([this](int signal) { stop(signal); })
{
}

void TerminationSignals::stop(int signal)
{
    if (terminationRequested)
        return;
    terminationRequested = true;
    exitCode_ = 128 + signal;
    if (body_ && body_->Busy())
        body_->setCanceled(true);
    closeWhenIdle();
}

// A procedure runs in a nested wait inside some window's handler; its windows may only close
// once it has come back out of that wait.
void TerminationSignals::closeWhenIdle()
{
    if (body_ && body_->Busy()) {
        QTimer::singleShot(IdleCheckMs, this, [this] { closeWhenIdle(); });
        return;
    }
    QApplication::closeAllWindows();
    QApplication::exit(exitCode_);
}

} // namespace tz4::gui
