#pragma once

#include "core/Tz4Error.h"

#include <QString>

#include <functional>
#include <optional>

class QFileDevice;

namespace tz4 {

// The failure being handled, as an error number and description. Call inside a catch block:
// std::bad_alloc becomes "Out of memory" (7), I/O and file-system failures their file or
// device numbers, out-of-range indexes 9, invalid arguments 5, arithmetic overflow 6, and any
// other failure "Internal error" (51).
Tz4Error currentError();

// The failure of a file operation, by what went wrong (not found, permission, disk full ...).
Tz4Error fileError(const QFileDevice& file);

// Shows the message box of the error's class with window name, label and description. The
// trappable class shows nothing unless DebugMode is on.
void ShowErrorMessage(const QString& windowName, const QString& label, const Tz4Error& error);

// The statements of one procedure under the "go on after a failure, log at the end" rule:
// run() skips a failing statement and keeps its error pending (a later failure replaces it),
// finish() writes the pending error to Caution.log. With DebugMode on nothing is trapped.
class ErrorTrap {
public:
    bool run(const std::function<void()>& statement);
    bool pending() const { return error_.has_value(); }
    const std::optional<Tz4Error>& error() const { return error_; }
    void clear() { error_.reset(); }
    // Writes the pending error, if any, to Caution.log; true when there was none.
    bool finish();

private:
    std::optional<Tz4Error> error_;
};

// A procedure that ends at its first failure and logs it to Caution.log. True without failure.
bool runLogged(const std::function<void()>& body);

// A command-level procedure: its first failure ends it and is shown with ShowErrorMessage
// under `windowName` and `label`. True without failure.
bool runReported(const QString& windowName, const QString& label, const std::function<void()>& body);

} // namespace tz4
