#pragma once

#include "instrument/ProcedureGuard.h"

namespace tz4 {

class MeasurementParameters;
class Tz4LightModel;
class Tz4Link;
class Tz4Registers;
class Tz4Sequences;

// The anode voltage procedure: on the carbon reference, the voltage is raised until the
// counter responds, set a margin above that onset, and accepted when the dark background is
// low; otherwise the chamber is purged with dry air and the search repeated.
class Tz4AnodeVoltage {
public:
    // `record` is the component's record slot; the voltage found goes into it.
    Tz4AnodeVoltage(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences, Tz4LightModel& light,
                    MeasurementParameters* const& record, ProcEvent event);

    // The working voltage, or the voltage left when none was found.
    qint16 HvSet();

private:
    enum class Onset { Reached, NotReached, Cancelled };

    Onset searchOnset(qint16& volts);
    bool settleWorkingVoltage(qint16 onset);
    void purgeChamber();

    Tz4Link& link_;
    Tz4Registers& registers_;
    Tz4Sequences& sequences_;
    Tz4LightModel& light_;
    MeasurementParameters* const& record_;
    ProcEvent event_;
};

} // namespace tz4
