#include "graph/GraphColor.h"
#include "graph/GraphStyles.h"
#include "graph/GraphSurface.h"
#include "graph/Tz4Graph.h"

#include "core/Formats.h"

#include <cmath>

namespace tz4 {

namespace {
// Tick lengths and gaps in twips.
constexpr double kMinorTick = 40;
constexpr double kMajorTick = 70;
constexpr double kXLabelGap = 80;
constexpr double kYTick = 20;
// More ticks than this come only from damaged ranges; such an axis is left bare.
constexpr qint64 kMaxTicks = 100000;

// The whole steps that fit in the span: a step that does not divide the span leaves no tick
// beyond the frame. The small allowance keeps the last tick of a float range that the step
// does divide.
qint64 stepsWithin(double span, double step)
{
    const double n = std::floor(span / step + 1e-4);
    return std::isfinite(n) && n <= double(kMaxTicks) ? qint64(n) : kMaxTicks + 1;
}
} // namespace

void uclTz4Graph::ChartSet(GraphSurface& surface, const clsTz4GraphDisp& disp, double innerWidth)
{
    const double L = plotLeft_, T = plotTop_, W = plotWidth_, H = plotHeight_;
    const QColor scale = colorFromBgr(disp.ScaleColor());
    const QColor grid = colorFromBgr(disp.BackColor());

    surface.filledBox(L, T, L + W, T + H, colorFromBgr(disp.ForeColor()));
    surface.box(L, T, L + W, T + H, scale);

    const double digitHeight = surface.TextHeight(QStringLiteral("8888"));
    if (!titleY_.isEmpty())
        surface.text(originLeft_ + 50, T - 1.5 * digitHeight, titleY_, scale);
    if (!titleX_.isEmpty())
        surface.text((innerWidth - surface.TextWidth(titleX_)) / 2 + originLeft_, T + H + 1.5 * digitHeight, titleX_,
                     scale);

    if (disp.XscaleVisible()) {
        const qint64 nX = stepsWithin(double(posXMax_) - posXMin_, posXStp_);
        // Label every k-th tick so that labels never overlap.
        const qint64 tickSpacing = std::max<qint64>(1, roundHalfEven(double(posXStp_) * scaleFactorX_));
        const double labelWidth = surface.TextWidth(formatNumber(posXMax_, scaleXFormat_));
        const qint64 k = std::max<qint64>(1, roundHalfEven(labelWidth * 1.25 / double(tickSpacing) + 0.5));
        const double bottom = T + H;
        for (qint64 i = 0; nX <= kMaxTicks && i <= nX; ++i) {
            const float x = float(i * double(posXStp_) + posXMin_);
            const double px = xPos(x);
            if (i % k != 0) {
                surface.line(px, bottom, px, bottom + kMinorTick, scale, penstyle::Solid);
                continue;
            }
            surface.line(px, bottom, px, bottom + kMajorTick, scale, penstyle::Solid);
            const QString label = formatNumber(x, scaleXFormat_);
            surface.text(px - surface.TextWidth(label) / 2, bottom + kXLabelGap, label, scale);
            if (disp.GridVisible())
                surface.line(px, bottom, px, T, grid, penstyle::DashDotDot);
        }
    }

    if (disp.YscaleVisible()) {
        const qint64 nY = stepsWithin(double(posYMax_) - posYMin_, posYStp_);
        const double halfLine = surface.TextHeight(QStringLiteral("00000")) / 2;
        // No tick at the minimum itself.
        for (qint64 i = 1; nY <= kMaxTicks && i <= nY; ++i) {
            const float y = float(i * double(posYStp_) + posYMin_);
            const double py = yPos(y);
            surface.line(L - kYTick, py, L, py, scale, penstyle::Solid);
            const QString label = formatNumber(y, scaleYFormat_);
            surface.text(L - surface.TextWidth(label) - kYTick, py - halfLine, label, scale);
            if (disp.GridVisible())
                surface.line(L, py, L + W, py, grid, penstyle::DashDotDot);
        }
    }
}

} // namespace tz4
