#include "graph/GraphSurface.h"
#include "graph/Tz4Graph.h"

#include "core/Formats.h"
#include "data/Tz4DataSets.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace tz4 {

namespace {

// A stored bound that is not a number takes part in no rule.
float usable(float value)
{
    return std::isfinite(value) ? value : std::numeric_limits<float>::quiet_NaN();
}

struct Extent {
    float minX, maxX, minY, maxY;
};

// The data's extent; where a record holds values that are not finite, the extent of the
// finite ones, so one damaged point cannot hide the rest.
Extent dataExtent(const clsTz4DataSets& items)
{
    Extent e{items.TotalMinX(), items.TotalMaxX(), items.TotalMinY(), items.TotalMaxY()};
    if (std::isfinite(e.minX) && std::isfinite(e.maxX) && std::isfinite(e.minY) && std::isfinite(e.maxY))
        return e;
    float minX = 1e21f, maxX = -1e21f, minY = 1e21f, maxY = -1e21f;
    for (const clsTz4DataSet& record : items) {
        if (!items.Shows(record))
            continue;
        for (int i = 0; i < record.DataCount(); ++i) {
            const float x = record.ValueX(i);
            const float y = record.ValueY(i);
            if (!std::isfinite(x) || !std::isfinite(y))
                continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    auto settle = [](float v) { return std::fabs(v) > 1e20f ? -1.0f : v; };
    return {settle(minX), settle(maxX), settle(minY), settle(maxY)};
}

// The first rule that holds: the user's range, the user's minimum with the data's maximum,
// the data's minimum with the user's maximum, the data's range.
std::pair<float, float> range(float userMin, float userMax, float dataMin, float dataMax)
{
    if (userMin < userMax)
        return {userMin, userMax};
    if (userMin < dataMax)
        return {userMin, dataMax};
    if (dataMin < userMax)
        return {dataMin, userMax};
    return {dataMin, dataMax};
}

} // namespace

void uclTz4Graph::RefreshBaseParam(const GraphSurface& surface, double innerWidth, double innerHeight, Surface kind)
{
    if (scaleXFormat_.isEmpty())
        scaleXFormat_ = QStringLiteral("##0.00");
    if (scaleYFormat_.isEmpty())
        scaleYFormat_ = QStringLiteral("###0.0");
    const int nTitles = (titleX_.isEmpty() ? 0 : 1) + (titleY_.isEmpty() ? 0 : 1);

    const clsTz4DataSets& items = *DataItems();
    const Extent data = dataExtent(items);
    std::tie(posXMin_, posXMax_) = range(usable(items.GraphMinX()), usable(items.GraphMaxX()), data.minX, data.maxX);
    std::tie(posYMin_, posYMax_) = range(usable(items.GraphMinY()), usable(items.GraphMaxY()), data.minY, data.maxY);

    // The width of the Y format text itself stands for the widest Y label.
    const double labelRoom = surface.TextWidth(scaleYFormat_);
    const double titleHeight = surface.TextHeight(titleY_);
    plotLeft_ = float(labelRoom);
    plotTop_ = float(nTitles > 0 ? titleHeight + 120 : 120);
    if (kind == Surface::Foreign) {
        plotLeft_ += originLeft_;
        plotTop_ += originTop_;
    }
    // The last X label is centred on the right edge of the plot: leave it room to end inside.
    const double lastLabelHalf = surface.TextWidth(formatNumber(posXMax_, scaleXFormat_)) / 2;
    plotWidth_ = float(innerWidth - labelRoom - std::max(240.0, lastLabelHalf + 60));
    plotHeight_ = float(innerHeight - surface.TextHeight(QStringLiteral("8")) - (nTitles + 1) * titleHeight - 120);
    if (plotWidth_ <= 0)
        plotWidth_ = 1;
    if (plotHeight_ <= 0)
        plotHeight_ = 1;

    // A user step is refused when it would need 120 ticks or more.
    const float userStepX = usable(items.GraphStpX());
    if (userStepX != 0 && float((double(posXMax_) - posXMin_) / 120) < userStepX) {
        posXStp_ = userStepX;
    } else {
        const int n = items.MaxDataCount();
        posXStp_ = float((double(data.maxX) - data.minX) / (n < 2 ? 2 : n - 1));
    }
    const float userStepY = usable(items.GraphStpY());
    if (userStepY != 0 && float((double(posYMax_) - posYMin_) / 120) < userStepY)
        posYStp_ = userStepY;
    else
        posYStp_ = float((double(data.maxY) - data.minY) / 10);

    scaleFactorX_ = posXMax_ != posXMin_ ? float(plotWidth_ / (double(posXMax_) - posXMin_)) : 0;
    scaleFactorY_ = posYMax_ != posYMin_ ? float(plotHeight_ / (double(posYMax_) - posYMin_)) : 0;
}

} // namespace tz4
