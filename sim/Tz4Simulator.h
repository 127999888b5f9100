#pragma once

#include "sim/CalibrationMemory.h"
#include "sim/CommandArguments.h"
#include "sim/CountingModel.h"
#include "sim/FaultPlan.h"
#include "sim/LightModel.h"
#include "sim/SimOptions.h"
#include "sim/YieldModel.h"

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <random>

namespace tz4::sim {

// The simulated instrument: takes one command line (without its CR), changes its state and
// says what it answers and how long that takes. Set commands answer "OK"; registers answer
// fixed-width decimal numbers; a bad argument answers "ERROR 16", an unknown command "ERROR 10".
// Iris, filter wheel and stage answer when they have arrived. The monochromator acknowledges
// at once and turns afterwards; the instrument takes its next command only when it has
// stopped, so "KS" answers once all is still.
class Tz4Simulator {
public:
    enum class Delivery { Whole, Split, Merged };

    struct Reply {
        QByteArray text;    // without the CR
        int durationMs = 0; // from the end of the command line to the end of the answer
        int busyMs = 0;     // from the same moment until the next command can be taken
        bool silent = false;
        Delivery delivery = Delivery::Whole;
    };

    // Throws std::invalid_argument when options.faults holds an entry it cannot read.
    explicit Tz4Simulator(const SimOptions& options);

    // `nowMs`: simulated milliseconds since the instrument was switched on.
    Reply execute(const QByteArray& line, qint64 nowMs);

    FaultPlan& faults() { return faults_; }
    CalibrationMemory& memory() { return memory_; }
    SpanMemory& span() { return span_; }
    const LightModel& light() const { return light_; }
    const CountingModel& counter() const { return counter_; }

    // What the instrument is doing now, for tests that check the state a procedure leaves.
    int filter() const { return filter_; }
    int iris() const { return iris_; }
    int lightRange() const { return range_; }
    bool grid() const { return grid_; }
    bool valve() const { return valve_; }
    int airFlow() const { return airFlow_; }   // thousandths of a litre per minute
    int wavelength() const { return wave_; }   // tenths of a nm
    int stagePosition() const { return stage_; } // tenths of the stage unit
    int highVolts() const { return highVolts_; }
    int measTime() const { return measTime_; } // hundredths of a second

    // Photon energy the monochromator is at, eV.
    double energy() const;
    // Light power reaching the stage now, nW.
    double lightPower() const;
    // True counting rate the counter sees now, before dead time and noise.
    double trueCountRate() const;

private:
    using Outcome = CommandOutcome;

    // One row per command: what it does with an argument and what it answers without one.
    // A missing half answers like an unknown command.
    struct Command {
        const char* name;
        Outcome (*set)(Tz4Simulator& sim, const QByteArray& argument);
        Outcome (*read)(Tz4Simulator& sim, qint64 nowMs);
    };
    static const Command kCommands[];

    Outcome dispatch(const QByteArray& command, const QByteArray& argument, qint64 nowMs);
    bool doorOpen() const;
    QByteArray volts(double nominal);
    Outcome count();
    QByteArray diodeReply();
    void advanceTime(qint64 nowMs);

    LightModel light_;
    CountingModel counter_;
    YieldModel sample_;
    YieldModel carbon_;
    CalibrationMemory memory_;
    SpanMemory span_;
    FaultPlan faults_;
    std::mt19937_64 random_;
    std::normal_distribution<double> noise_{0.0, 1.0};

    int powerOnSeconds_ = 0;
    std::optional<qint64> warmUpLatch_;
    qint64 lastMs_ = 0;

    int measTime_ = 1000; // hundredths of a second
    int iris_ = 0;
    int range_ = 9;
    bool airCheck_ = false;
    bool valve_ = false;
    bool grid_ = false;
    int ledLight_ = 0;
    int ledStage_ = 0;
    int airFlow_ = 0; // thousandths of a litre per minute
    int wave_ = 0;    // tenths of a nm
    int stage_ = 0;   // tenths of the stage unit
    int highVolts_ = 0;
    int filter_ = 0;
    std::optional<double> diodeLatch_;
};

} // namespace tz4::sim
