#pragma once

#include <QString>

namespace tz4 {

// The process-wide label of the procedure most recently entered ("module:procedure").
// It is deliberately never restored on return, so a log entry names the last procedure
// entered, which may be a callee that has already returned.
QString errorLocation();
void setErrorLocation(const QString& label);

// Placed at the entry of a procedure whose label can reach a log or a message box.
class EnterProcedure {
public:
    explicit EnterProcedure(const char* label) { setErrorLocation(QString::fromLatin1(label)); }
    explicit EnterProcedure(const QString& label) { setErrorLocation(label); }
};

} // namespace tz4
