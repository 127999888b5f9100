#pragma once

#include "data/RecordCalibration.h"
#include "data/RecordKind.h"
#include "data/RecordPoints.h"
#include "data/RecordSettings.h"

#include <vector>

namespace tz4 {

// Sums over the fit points' plotted energies, in double: what the fit's covariance is built from.
struct FitMoments {
    double sx = 0, sxx = 0;
    int m = 0;
    double d() const { return m * sxx - sx * sx; }
    static FitMoments of(const RecordPoints& points);
};

// The analysis of one record's points: the plotted values (light correction, ground, power or
// logarithm, calibration), the straight-line fit over the fit points and, for W scans, the work
// function with its uncertainty. It needs no database: it reads the settings and the calibration
// and writes the points' plotted values.
class RecordAnalysis : public RecordKinds {
public:
    // The plotted values and their ranges, then for W and T the fit and its results.
    void refresh(int kind, const RecordSettings& settings, const RecordCalibration& calibration, RecordPoints& points);
    // The plotted values and their ranges only (with a W scan's ground level).
    void filter(int kind, const RecordSettings& settings, const RecordCalibration& calibration, RecordPoints& points);
    // Replaces a W scan's measured yield by what lies above the fitted line, in linear units;
    // run after filter.
    void subtractFit(const RecordSettings& settings, RecordPoints& points) const;

    float workFunction() const { return workFunction_; }
    float gradient() const { return gradient_; }
    float intercept() const { return intercept_; }
    float groundLevel() const { return groundLevel_; }
    float correlation() const { return correlation_; }
    // Standard uncertainty of the work function: the statistical part and the fit-range part
    // combined in quadrature; 0 when it cannot be estimated.
    double uncertainty() const { return uncertainty_; }
    // From the regression's scatter and, when the ground takes part, the ground level's standard error.
    double uncertaintyStatistical() const { return uncertaintyStatistical_; }
    // How far the work function moves when the fit range grows or shrinks by one point at either end.
    double uncertaintyRange() const { return uncertaintyRange_; }

private:
    void filterScan(const RecordSettings& s, const RecordCalibration& c, RecordPoints& p);
    void filterCounts(const RecordSettings& s, RecordPoints& p) const;
    void calcBase(const RecordSettings& s, const RecordPoints& p);
    void fWork(int kind, const RecordSettings& s, const RecordPoints& p);
    void calcWorkFunction(const RecordSettings& s);
    void min2Exp(const RecordPoints& p);
    // In RecordAnalysisUncertainty.cpp.
    void calcUncertainty(const RecordSettings& s, const RecordPoints& p);
    double groundVariance(const RecordSettings& s, const RecordPoints& p, const FitMoments& moments) const;
    void calcRangeUncertainty(const RecordSettings& s, const RecordPoints& p);
    float workFunctionOf(const RecordSettings& s, const RecordPoints& p, const std::vector<char>& fitFlags) const;

    float groundLevel_ = 0, gradient_ = 0, intercept_ = 0, workFunction_ = 0, correlation_ = 0;
    double uncertainty_ = 0;
    double uncertaintyStatistical_ = 0;
    double uncertaintyRange_ = 0;
    double groundStdError_ = 0; // of the ground points' mean, in yield units
    double groundLeftIn_ = 0;   // a ground mean below zero, which the level leaves in the data
};

} // namespace tz4
