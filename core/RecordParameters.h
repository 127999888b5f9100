#pragma once

#include <span>

namespace tz4 {

// The numbers by which a measurement record answers `Parameters`: the instrument component
// reads its settings through them, the text output and the windows show them.
namespace param {
constexpr int RecordNumber = 0;
constexpr int SampleName = 2;
constexpr int FolderPath = 3;
constexpr int MeasurementDate = 4;
constexpr int FolderNumber = 5;
// 6..17: average, minimum, maximum and standard deviation of the counting rate, its logarithm
// and the analysed data, in that order.
constexpr int StatisticsFirst = 6;
constexpr int StatisticsLast = 17;
constexpr int StartEnergy = 18;
constexpr int FinishEnergy = 19;
constexpr int EnergyStep = 20;
constexpr int FixedEnergy = 21;
constexpr int MeasuredLight = 22;
constexpr int TargetLight = 23;
constexpr int PowerNumber = 24;
constexpr int MeasureCount = 26;
constexpr int AdjustmentRecord = 27;
constexpr int CalibrationName = 28;
constexpr int CalibrationShift = 29; // also the measured thickness
constexpr int CalibrationThickness = 30;
constexpr int PhotonFlux = 31;
constexpr int BackgroundCps = 32;
constexpr int CountingTime = 33;
constexpr int AnodeVoltage = 34;
constexpr int DeadTime = 35;
constexpr int Notes1 = 36;
constexpr int Notes2 = 37;
constexpr int Notes3 = 38;
constexpr int WorkFunction = 39;
constexpr int Gradient = 40;
constexpr int Intercept = 41;
constexpr int GroundLevel = 42;
constexpr int Correlation = 43;
constexpr int GroundX1 = 44;
constexpr int GroundY1 = 45;
constexpr int GroundX2 = 46;
constexpr int GroundY2 = 47;
constexpr int FitX1 = 48;
constexpr int FitY1 = 49;
constexpr int FitX2 = 50;
constexpr int FitY2 = 51;
constexpr int CalibrationMembers = 58;
// No record answers a number above this one.
constexpr int Last = 60;
} // namespace param

struct RecordParameterName {
    int number;
    const char* name;
};

// Every number a record answers with its English name, ascending, as `tz4 show` lists them.
std::span<const RecordParameterName> recordParameterNames();

} // namespace tz4
