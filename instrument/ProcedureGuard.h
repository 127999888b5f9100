#pragma once

#include <QVariant>

#include <functional>

namespace tz4 {

class Tz4Link;
class Tz4Sequences;

// A procedure's process event: its step code (proc::) and up to two values.
using ProcEvent = std::function<void(qint32 type, const QVariant& value1, const QVariant& value2)>;

// Starts a procedure: refuses it (raising the refusal on `event`, answering false) while
// another one runs or with the port closed; otherwise starts a fresh log and answers true.
bool beginProcedure(Tz4Link& link, const ProcEvent& event);

// Holds Busy for one procedure. Leaving it by a failure releases Busy and, given the
// sequences, leaves the instrument safe (light blocked, grid off, stage at its origin) first.
class ProcedureGuard {
public:
    ProcedureGuard(Tz4Link& link, Tz4Sequences* makeSafe);
    ~ProcedureGuard();
    ProcedureGuard(const ProcedureGuard&) = delete;
    ProcedureGuard& operator=(const ProcedureGuard&) = delete;

private:
    Tz4Link& link_;
    Tz4Sequences* makeSafe_;
    int exceptions_;
};

} // namespace tz4
