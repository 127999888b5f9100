#pragma once

#include "instrument/ProcedureGuard.h"

namespace tz4 {

class MeasurementParameters;
class Tz4LightModel;
class Tz4Link;
class Tz4Registers;
class Tz4Sequences;

// The two procedures of the light-power model: fitting the light to a target power with the
// iris, and measuring the span table each filter position covers.
class Tz4LightProcedures {
public:
    // `record` is the component's record slot, which receives the power reached; `setLight`
    // and `base` carry the two procedures' process events.
    Tz4LightProcedures(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences, Tz4LightModel& model,
                       MeasurementParameters* const& record, ProcEvent setLight, ProcEvent base);

    void SetLightPower(float Target);
    void MakeLightBase(float SetUpEng);

private:
    float searchIris(float Target, float dark, qint32& iris);
    void finishLightPower(float Target, float power, qint32 iris);
    void prepareBase(float SetUpEng);
    void measureBaseEnds();
    qint32 findMiddleIris();
    void measureSpans(qint32 iris);
    void clearSpans();

    Tz4Link& link_;
    Tz4Registers& registers_;
    Tz4Sequences& sequences_;
    Tz4LightModel& model_;
    MeasurementParameters* const& record_;
    ProcEvent setLight_;
    ProcEvent base_;
};

} // namespace tz4
