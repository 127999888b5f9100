#include "mainwin/RunningAction.h"

#include "instrument/Tz4Body.h"

namespace tz4 {

RunningAction::RunningAction(uclTz4Body& body, QObject* parent) : QObject(parent), body_(body) {}

bool RunningAction::begin(Kind kind, QObject* owner, MeasurementParameters* record)
{
    if (running() || kind == Kind::None)
        return false;
    kind_ = kind;
    owner_ = owner;
    record_ = record;
    cancelRequested_ = false;
    // Whichever window opened last, the events of this action reach the window that asked
    // for it and the record it named; an action without a record (the connection sequence)
    // must not write its light or voltage into some window's record.
    body_.setSetDatas(record);
    body_.setLocked(owner);
    emit changed();
    return true;
}

void RunningAction::end()
{
    if (!running())
        return;
    kind_ = Kind::None;
    owner_ = nullptr;
    record_ = nullptr;
    cancelRequested_ = false;
    emit changed();
}

bool RunningAction::requestCancel()
{
    if (!running() || cancelRequested_)
        return false;
    cancelRequested_ = true;
    body_.setCanceled(true);
    emit changed();
    return true;
}

} // namespace tz4
