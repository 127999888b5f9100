#pragma once

#include "instrument/ProcedureGuard.h"

#include <functional>

namespace tz4 {

class MeasurementParameters;
class Tz4LightModel;
class Tz4Link;
class Tz4Registers;
class Tz4Sequences;

// The process events of the measurement procedures, one per procedure.
struct MeasurementEvents {
    ProcEvent work;
    ProcEvent light;
    ProcEvent cps;
    ProcEvent thick;
};

// The measurement procedures: each reads its settings from the record, drives the instrument
// through the sequences, registers and light model, and reports its steps as process events.
// The anode voltage search has its own class (Tz4AnodeVoltage).
class Tz4Procedures {
public:
    // `record` is the component's record slot: the record of the measurement under way.
    Tz4Procedures(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences, Tz4LightModel& light,
                  MeasurementParameters* const& record, MeasurementEvents events);

    // The dead-time corrected mean of `count` one-second counts, the highest dropped.
    float GetCpsAvarage(qint16 count);
    void MeasCps();
    void MeasWork();
    void MeasAdjLight();
    void MeasThickAdjust();
    // Whether the record's energy step divides its scan into whole steps.
    bool EngSetStatus() const;

private:
    struct Background {
        qint16 counts = 0;
        float cps = 0;
    };

    void finishProcedure(const ProcEvent& event, const QVariant& value1 = {}, const QVariant& value2 = {});
    double parameter(int number) const;
    // Electrode valve open, low air flow, grid off.
    void prepareChamber();
    // prepareChamber(), the stage under the sample, then the start event.
    void approachSample(const ProcEvent& event);
    // Mean counts at the rest energy with the light blocked and the grid off, then its event.
    Background backgroundAtRest(const ProcEvent& event);
    // Steps the photon energy over the record's scan and raises each value `read` gives there,
    // until the scan ends or the run is cancelled.
    void scanEnergies(const ProcEvent& event, const std::function<float()>& read);
    void reportThickness(float sum, qint32 repeats);

    Tz4Link& link_;
    Tz4Registers& registers_;
    Tz4Sequences& sequences_;
    Tz4LightModel& light_;
    MeasurementParameters* const& record_;
    MeasurementEvents events_;
};

} // namespace tz4
