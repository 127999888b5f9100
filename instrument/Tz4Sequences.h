#pragma once

#include <QString>

#include <array>

namespace tz4 {

class LightCalibration;
class Tz4Link;
class Tz4Registers;

// The initialisation and stage sequences: connecting and diagnosing the units, loading the
// calibration memory and the span table, the warm-up, driving the iris, filter, grating and
// stage to their origins and limits, and the stage positions of the sample and references.
class Tz4Sequences {
public:
    // One drive of a unit to its origin or limit.
    struct Drive {
        const char* label;   // error location while it runs
        const char* process; // LastProcess
        const char* command;
        qint16 overTime;
    };

    Tz4Sequences(Tz4Link& link, Tz4Registers& registers, LightCalibration& calibration)
        : link_(link), registers_(registers), calibration_(calibration)
    {
    }

    bool Connected();
    // A unit's diagnosis word; all fault flags when it does not answer.
    QString Diag(qint16 Body);
    // Styles != 0: the stored number. Styles == 0: asks both units for their diagnosis and
    // yields 2 when both answered, else 1.
    qint32 ErrorNumber(qint32 Styles);
    void InitBody();
    void Refresh();
    qint16 WarmUpTime() const;
    // One timer tick of the warm-up.
    void countDownWarmUp();
    float SumLost() const { return sumLost_; }
    void setSumLost(float tau);

    void InitEyeris();
    void LimitEyeris();
    void InitFilter();
    void InitLight();
    void InitStageX();
    void LimitStageX();
    void StageToPhotoDiode();
    void StageToCerbon();
    void StageToSample(float Offsets);
    void StageToSampleOut();
    // Light blocked, grid off, stage at its origin; the run stays cancelled.
    void BodyCancelProcess();

private:
    bool drive(const Drive& d);
    QString memoryWord();
    void readCalibrationMemory();
    void readSpanTable();
    double spanWord(int address);
    void readRegisters();
    void moveTo(const char* process, double targetTenths);

    Tz4Link& link_;
    Tz4Registers& registers_;
    LightCalibration& calibration_;
    float sumLost_ = 0;
    float samplePosition_ = 0;
    float photoDiodePosition_ = 0;
    float carbonPosition_ = 0;
    float sampleOutPosition_ = 0;
    std::array<float, 4> spareWords_{};
    float extraWord_ = 0;
    float warmUpLeft_ = 0;
};

} // namespace tz4
