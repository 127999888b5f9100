#pragma once

#include "data/AnalysisRanges.h"

#include <QString>

namespace tz4 {

class clsTz4DataSet;

// The ground and fit ranges a careful operator would draw on a work-function scan, and the
// result they give. `found` is false when the scan has no threshold to find (all ground, no
// ground, too few points); `refusal` then says what is missing.
struct SuggestedRanges {
    bool found = false;
    QString refusal;
    EnergyRange ground;
    EnergyRange fit;
    float workFunction = 0;
    double uncertainty = 0;
};

// Works from the data alone: the ground is the flat part below the threshold, the fit the
// stretch of plotted yield above it whose scatter matches the counting noise and that gives
// the smallest expected error, so the curved foot at the threshold and any bend at the top
// stay out. The record is not changed; nothing is stored.
SuggestedRanges SuggestRanges(const clsTz4DataSet& record);

} // namespace tz4
