#include "instrument/ProcedureGuard.h"

#include "instrument/ProcType.h"
#include "instrument/Tz4Link.h"
#include "instrument/Tz4Sequences.h"

#include <exception>

namespace tz4 {

bool beginProcedure(Tz4Link& link, const ProcEvent& event)
{
    if (link.Busy()) {
        event(proc::RefusedBusy, {}, {});
        return false;
    }
    if (!link.isOpen()) {
        event(proc::RefusedPortClosed, {}, {});
        return false;
    }
    link.startRun();
    return true;
}

ProcedureGuard::ProcedureGuard(Tz4Link& link, Tz4Sequences* makeSafe)
    : link_(link), makeSafe_(makeSafe), exceptions_(std::uncaught_exceptions())
{
    link_.setBusy(true);
}

ProcedureGuard::~ProcedureGuard()
{
    if (std::uncaught_exceptions() <= exceptions_ || !link_.Busy())
        return;
    // Left by a failure: the failure goes on to the caller, but the grid must not stay on
    // and no later procedure may be refused as busy.
    if (makeSafe_) {
        try {
            makeSafe_->BodyCancelProcess();
        } catch (...) {
        }
    }
    link_.setBusy(false);
}

} // namespace tz4
