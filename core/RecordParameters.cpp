#include "core/RecordParameters.h"

namespace tz4 {

namespace {
using namespace param;

const RecordParameterName kNames[] = {
    {RecordNumber, "record number"},
    {SampleName, "sample name"},
    {FolderPath, "folder path"},
    {MeasurementDate, "measurement date"},
    {FolderNumber, "folder number"},
    {6, "counting rate average"},
    {7, "counting rate minimum"},
    {8, "counting rate maximum"},
    {9, "counting rate std. deviation"},
    {10, "log counting rate average"},
    {11, "log counting rate minimum"},
    {12, "log counting rate maximum"},
    {13, "log counting rate std. deviation"},
    {14, "aData average"},
    {15, "aData minimum"},
    {16, "aData maximum"},
    {StatisticsLast, "aData std. deviation"},
    {StartEnergy, "start energy [eV]"},
    {FinishEnergy, "finish energy [eV]"},
    {EnergyStep, "energy step [eV]"},
    {FixedEnergy, "fixed energy [eV]"},
    {MeasuredLight, "measured UV intensity [nW]"},
    {TargetLight, "target UV intensity [nW]"},
    {PowerNumber, "power number"},
    {MeasureCount, "measure count"},
    {AdjustmentRecord, "adjustment record"},
    {CalibrationName, "calibration name"},
    {CalibrationShift, "calibration shift / thickness"},
    {CalibrationThickness, "calibration-sample thickness"},
    {PhotonFlux, "photon flux"},
    {BackgroundCps, "background counting rate [cps]"},
    {CountingTime, "counting time [s]"},
    {AnodeVoltage, "anode voltage [V]"},
    {DeadTime, "dead time"},
    {Notes1, "notes 1"},
    {Notes2, "notes 2"},
    {Notes3, "notes 3"},
    {WorkFunction, "work function [eV]"},
    {Gradient, "regression gradient"},
    {Intercept, "regression intercept"},
    {GroundLevel, "ground level"},
    {Correlation, "correlation coefficient"},
    {GroundX1, "ground x1"},
    {GroundY1, "ground y1"},
    {GroundX2, "ground x2"},
    {GroundY2, "ground y2"},
    {FitX1, "fit x1"},
    {FitY1, "fit y1"},
    {FitX2, "fit x2"},
    {FitY2, "fit y2"},
    {CalibrationMembers, "calibration line members"},
};
} // namespace

std::span<const RecordParameterName> recordParameterNames() { return kNames; }

} // namespace tz4
