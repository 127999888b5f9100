#pragma once

#include "instrument/LightCalibration.h"

#include <QString>

#include <array>

namespace tz4 {

class Tz4Link;
class Tz4Registers;
class Tz4Sequences;

// The light-power model: light power from the photodiode through the calibration, the light
// range and filter that suit a power, and the span table each filter position covers.
class Tz4LightModel {
public:
    using LightSpan = LightCalibration::Span;

    Tz4LightModel(Tz4Link& link, Tz4Registers& registers, Tz4Sequences& sequences, LightCalibration& calibration);

    LightCalibration& calibration() { return calibration_; }

    float LightWatt(float diode, float dark);
    static qint16 CalcLightRange(double power);
    qint16 CalcFilter(double power) const;
    void LightRangeToPower(double power);
    void FilterToPower(double power);
    // The mean of `readings` photodiode readings in whole units.
    float averageDiode(int readings);
    // The dark reading of the photodiode with the light blocked.
    float BackLight();
    // Reads the light power, changing the light range until the reading suits it.
    float GetLightPower();
    float LastLight() const { return lastLight_; }
    void setLastLight(float power) { lastLight_ = power; }

    float SetLightMin() const;
    float SetLightMax() const;
    float SetLightSpanMin(qint16 Numbers) const;
    void setSetLightSpanMin(qint16 Numbers, float power);
    float SetLightSpanMax(qint16 Numbers) const;
    void setSetLightSpanMax(qint16 Numbers, float power);
    qint16 SetLightSpanRange(qint16 Numbers) const;
    void setSetLightSpanRange(qint16 Numbers, qint16 range);
    const std::array<LightSpan, LightCalibration::Filters>& spans() const { return calibration_.spans(); }
    float LightRangeAdjust(qint16 Range) const;
    float PhotoDiodeAdjust(float Eng) const;

private:
    void writeSpan(const char* process, int address, const QString& value);

    Tz4Link& link_;
    Tz4Registers& registers_;
    Tz4Sequences& sequences_;
    LightCalibration& calibration_;
    float lastLight_ = 0;
};

} // namespace tz4
