#pragma once

#include <QtGlobal>

#include <array>

namespace tz4 {

// The light-power model's calibration and arithmetic: the photodiode's gain per light range,
// its sensitivity per 0.05 eV from 3.4 eV, and the power span each filter position covers.
// The component fills it from the instrument's memories and asks it; it never talks to the
// instrument itself.
class LightCalibration {
public:
    // One record of the span table (one per filter position).
    struct Span {
        double minimum = 0;
        double maximum = 0;
        qint16 range = 0;
    };
    static constexpr int Filters = 5;
    static constexpr int Ranges = 10;
    static constexpr int SensitivityEntries = 60;

    LightCalibration();

    // The light range whose full scale first holds `power` nW; 9 above all and below zero.
    static qint16 rangeFor(double power);
    // The filter position whose span holds `power` nW (compared in single precision); 99 when none.
    qint16 filterFor(double power) const;

    // The span table; a filter outside 0..4 is a subscript failure (Tz4Error 9).
    Span& span(int filter);
    const Span& span(int filter) const;
    const std::array<Span, Filters>& spans() const { return spans_; }

    // Gain of range 0..9 (range 0 is never loaded and stays 1, so it never divides by zero).
    double& rangeGain(int range) { return rangeGain_[size_t(range)]; }
    double rangeGain(int range) const { return rangeGain_[size_t(range)]; }
    double& sensitivity(int entry) { return sensitivity_[size_t(entry)]; }
    // Sensitivity at `hundredths` of an eV; outside the table a subscript failure.
    double sensitivityAt(double hundredths) const;

    // Light power in nW from a diode reading and its dark level, read on `range` at
    // `hundredths` of an eV. A gain or sensitivity of 0 is a division failure (Tz4Error 11).
    float power(float diode, float dark, int range, double hundredths) const;

private:
    std::array<double, Ranges> rangeGain_{};
    std::array<double, SensitivityEntries> sensitivity_{};
    std::array<Span, Filters> spans_{};
};

} // namespace tz4
