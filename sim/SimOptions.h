#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tz4::sim {

// What the simulated instrument is like: the sample under the light, how fast its clock runs,
// whether it is warm, and which faults it shows. Shared by `tz4 --simulate` and `tz4-sim`.
struct SimOptions {
    double workFunction = 5.10; // eV
    double powerNumber = 0.5;   // yield ~ (E - phi)^(1/n)
    double speed = 1.0;         // simulated seconds per real second
    quint64 seed = 1;
    bool cold = false;          // not warmed up at start
    QStringList faults;         // FaultPlan entries, e.g. "no-reply@CS", "error:16", "door-open", "detector-fail"

    bool hasFault(const QString& name) const;
};

// Reads the --sim-* options out of `args` (removing them). Returns an error text on a bad value.
std::optional<QString> takeSimOptions(QStringList& args, SimOptions& options);

// Help text for the options above.
QString simOptionsHelp();

} // namespace tz4::sim
