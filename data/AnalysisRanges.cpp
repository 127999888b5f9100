#include "data/AnalysisRanges.h"

#include "core/RecordParameters.h"
#include "data/Tz4DataSet.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tz4 {

namespace {

// The rectangles span every Y the graph can show.
constexpr float Bottom = -1e30f;
constexpr float Top = 1e30f;

} // namespace

void ApplyRanges(clsTz4DataSet& record, EnergyRange ground, EnergyRange fit)
{
    record.setParameters(param::GroundX1, ground.from);
    record.setParameters(param::GroundX2, ground.to);
    record.setParameters(param::GroundY1, Bottom);
    record.setParameters(param::GroundY2, Top);
    record.RefreshGFlag();
    record.Refresh();
    record.setParameters(param::FitX1, fit.from);
    record.setParameters(param::FitX2, fit.to);
    record.setParameters(param::FitY1, Bottom);
    record.setParameters(param::FitY2, Top);
}

QString MissingForResult(const clsTz4DataSet& record)
{
    const bool work = record.Kind() == clsTz4DataSet::KindW;
    int fitPoints = 0, groundPoints = 0;
    float lowestFit = std::numeric_limits<float>::max(), highestGround = std::numeric_limits<float>::lowest();
    float firstFitX = 0;
    bool distinctX = false;
    for (int i = 0; i < record.DataCount(); ++i) {
        const float x = record.ValueX(i);
        if (record.ValueG(i)) {
            ++groundPoints;
            highestGround = std::max(highestGround, x);
        }
        if (record.ValueF(i) && !(record.Kind() == clsTz4DataSet::KindT && record.ValueG(i))) {
            if (fitPoints == 0)
                firstFitX = x;
            else if (x != firstFitX)
                distinctX = true;
            ++fitPoints;
            lowestFit = std::min(lowestFit, x);
        }
    }
    if (record.DataCount() == 0)
        return QStringLiteral("the record has no points");
    if (fitPoints == 0)
        return QStringLiteral("the fit range holds no points");
    if (fitPoints == 1)
        return QStringLiteral("the fit range holds a single point; a line needs at least two");
    if (!distinctX)
        return QStringLiteral("the fit points all lie at one energy; a line needs two");
    if (work && groundPoints == 0)
        return QStringLiteral("the ground range holds no points");
    if (work && highestGround >= lowestFit)
        return QStringLiteral("the ground range reaches into the fit range; the ground must lie below the threshold");
    if (record.Gradient() == 0)
        return QStringLiteral("the fit points give no line (their plotted values are all zero)");
    if (work && !(record.Gradient() > 0))
        return QStringLiteral("the fit points fall with energy; the fit range must lie above the threshold");
    if (work && (record.WorkFunction() == 0 || !std::isfinite(record.WorkFunction())))
        return QStringLiteral("the fit and ground ranges give no work function");
    return {};
}

} // namespace tz4
