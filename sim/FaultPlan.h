#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tz4::sim {

// Which faults the simulated instrument shows. Each fault is written "kind", "kind:N" or
// "kind@XX" (only commands starting with XX), e.g. "no-reply@CS", "error:16@ES", "split".
class FaultPlan {
public:
    enum class Kind {
        NoReply,      // the command is carried out but never answered
        Garbage,      // the answer arrives as line noise
        Split,        // the answer arrives in several pieces
        Merge,        // the answer arrives together with a second copy of itself
        Error,        // the answer is "ERROR N"
        DoorOpen,     // the sample chamber door is open
        DiagFail,     // self-diagnosis reports faults
        DetectorFail, // the counter counts nothing
        HighBackground, // humid counter: background above 100 cps until purged with dry air
        SpanEmpty,    // the light set-up has never been run
    };

    struct Fault {
        Kind kind;
        int number = 0;
        QByteArray command; // empty: every command
    };

    // Throws std::invalid_argument naming the first entry it cannot read.
    static FaultPlan parse(const QStringList& faults);

    void add(const Fault& fault) { faults_.push_back(fault); }
    void clear() { faults_.clear(); }
    bool has(Kind kind) const;
    // Whether `kind` applies to the command line `command`.
    bool applies(Kind kind, const QByteArray& command) const;
    // The error number to answer `command` with, if any.
    std::optional<int> errorFor(const QByteArray& command) const;

    static QStringList kindNames();

private:
    std::vector<Fault> faults_;
};

} // namespace tz4::sim
