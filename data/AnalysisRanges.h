#pragma once

#include <QString>

namespace tz4 {

class clsTz4DataSet;

// An energy range over the whole height of the graph, as the operator draws it.
struct EnergyRange {
    float from = 0;
    float to = 0;
};

// Sets the ground and fit rectangles of a W or T record to the two ranges: the ground first,
// because the ground level it gives moves the graph values the fit range selects.
void ApplyRanges(clsTz4DataSet& record, EnergyRange ground, EnergyRange fit);

// What the ranges in force lack for a result (a work function for W, a calibration line for
// T), in one sentence; empty when they give one.
QString MissingForResult(const clsTz4DataSet& record);

} // namespace tz4
