#include "graph/GraphColor.h"
#include "graph/GraphStyles.h"
#include "graph/GraphSurface.h"
#include "graph/Tz4Graph.h"
#include "graph/AxisTitles.h"

#include "core/Formats.h"
#include "core/Keys.h"
#include "core/RecordParameters.h"
#include "data/Tz4DataSets.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace tz4 {

namespace {

// Records of these modes carry no analysis lines.
bool withoutAnalysisLines(const clsTz4DataSet& record)
{
    const QString letter = GetKeyType(record.Key());
    return letter == QLatin1String("D") || letter == QLatin1String("L");
}

// Drawing outside the plot area is cut off at its edges.
class PlotClip {
public:
    PlotClip(GraphSurface& surface, const QRectF& plotTwips)
        : painter_(surface.painter())
    {
        painter_.save();
        painter_.setClipRect(QRectF(surface.toDevice(plotTwips.left(), plotTwips.top()),
                                    surface.toDevice(plotTwips.right(), plotTwips.bottom())),
                             Qt::IntersectClip);
    }
    ~PlotClip() { painter_.restore(); }
    PlotClip(const PlotClip&) = delete;
    PlotClip& operator=(const PlotClip&) = delete;

private:
    QPainter& painter_;
};

} // namespace

void uclTz4Graph::Refresh(QPainter& painter, Surface kind)
{
    paintNow_ = true;
    paint(painter, kind);
    paintNow_ = false;
}

void uclTz4Graph::paint(QPainter& painter, Surface kind)
{
    if (!autoRedraw_ && !paintNow_)
        return;
    const clsTz4GraphDisp* disp = currentDisp();
    if (!disp)
        return;
    if (titlesFollowRecord_) {
        if (const clsTz4DataSet* record = DataItems()->SelectedItem()) {
            const AxisTitles titles = axisTitles(*record);
            titleX_ = titles.x;
            titleY_ = titles.y;
            scaleXFormat_ = xLabelFormat(*record);
        }
    }
    GraphSurface surface(painter, font_);
    const double innerWidth = kind == Surface::Own ? surface.widthTwips() : width_;
    const double innerHeight = kind == Surface::Own ? surface.heightTwips() : height_;
    if (kind == Surface::Own && disp->DrawVisible())
        surface.clear(colorFromBgr(disp->BackColor()));

    RefreshBaseParam(surface, innerWidth, innerHeight, kind);
    if (Plottable()) {
        if (disp->DrawVisible())
            ChartSet(surface, *disp, innerWidth);
        const clsTz4DataSets& items = *DataItems();
        const clsTz4DataSet* selected = items.SelectedItem();
        const bool fade = items.Count() > 1;
        if (disp->OverLayLevel() > 0) {
            for (const clsTz4DataSet& record : items) {
                if (&record == selected || !items.Shows(record))
                    continue;
                drawRecord(surface, record, *disp, fade, !withoutAnalysisLines(record));
            }
        }
        // The selected record lies on top.
        if (selected)
            drawRecord(surface, *selected, *disp, false, true);
    }
    if (kind == Surface::Foreign)
        surface.box(originLeft_, originTop_, originLeft_ + innerWidth, originTop_ + innerHeight, Qt::black);
}

void uclTz4Graph::drawRecord(GraphSurface& surface, const clsTz4DataSet& record, const clsTz4GraphDisp& disp,
                             bool faded, bool withLines)
{
    if (record.DataCount() < 1)
        return;
    auto c = [&](qint32 color) { return faded ? OverLayColor(disp, color) : color; };
    if (withLines) {
        const float ground = record.Parameters(param::GroundLevel).toFloat();
        if (disp.GndVisible() && ground != 0 && !record.GndDown())
            ClipWFLine(surface, 0, ground, disp.GndStyle(), c(disp.GndColor()));
        const float gradient = record.Parameters(param::Gradient).toFloat();
        if (disp.FuncVisible() && gradient != 0)
            ClipWFLine(surface, gradient, record.Parameters(param::Intercept).toFloat(), disp.FuncStyle(),
                       c(disp.FuncColor()));
    }
    GraphLine(surface, record, disp, faded);
}

void uclTz4Graph::GraphLine(GraphSurface& surface, const clsTz4DataSet& record, const clsTz4GraphDisp& disp,
                            bool faded)
{
    auto c = [&](qint32 color) { return faded ? OverLayColor(disp, color) : color; };
    const bool isSelected = dataItems_ && dataItems_->SelectedItem() == &record;
    const bool marking = isSelected && disp.SelectVisible() && disp.SelectX1() != disp.SelectX2()
        && disp.SelectY1() != disp.SelectY2();

    // Points that carry the analysis (the fit and the ground) look like the lines they make,
    // filled, so the ranges can be read off the graph.
    enum class Role { Plain, Fit, Ground, Band };
    struct Marker {
        double x, y;
        Role role;
    };
    const bool analysed = record.Kind() == clsTz4DataSet::KindW || record.Kind() == clsTz4DataSet::KindT;
    // Several records: the selected one stands out by size.
    const bool emphasised = isSelected && dataItems_ && dataItems_->Count() > 1;
    std::vector<Marker> markers;
    markers.reserve(size_t(record.DataCount()));
    QList<QLineF> segments;
    bool haveLast = false;
    QPointF last;
    for (int i = 0; i < record.DataCount(); ++i) {
        const float x = record.ValueX(i);
        const float y = record.ValueY(i);
        // A damaged value has no place on the axes.
        if (!std::isfinite(x) || !std::isfinite(y))
            continue;
        const QPointF p(xPos(x), yPos(y));
        // The joining line runs to every point, also one outside the shown range.
        if (disp.LineVisible() && haveLast)
            segments << QLineF(surface.toDevice(last.x(), last.y()), surface.toDevice(p.x(), p.y()));
        if (x < posXMin_ || x > posXMax_ || y < posYMin_ || y > posYMax_)
            continue;
        const bool selectedPoint = marking && disp.SelectX1() <= x && x <= disp.SelectX2() && disp.SelectY1() <= y
            && y <= disp.SelectY2();
        Role role = Role::Plain;
        if (selectedPoint)
            role = Role::Band;
        else if (analysed && record.ValueF(i) && disp.FuncVisible())
            role = Role::Fit;
        else if (analysed && record.ValueG(i) && disp.GndVisible())
            role = Role::Ground;
        markers.push_back({p.x(), p.y(), role});
        last = p;
        haveLast = true;
    }
    if (!segments.isEmpty()) {
        PlotClip clip(surface, plotRect());
        QPainter& painter = surface.painter();
        painter.setPen(QPen(colorFromBgr(c(disp.LineColor())), 0, qtPenStyle(disp.LineStyle())));
        painter.drawLines(segments);
    }
    const qint32 dotColor = c(disp.DotColor());
    const double size = emphasised ? disp.DotSize() * 1.5 : disp.DotSize();
    for (const Marker& m : markers) {
        switch (m.role) {
        case Role::Band:
            DotPoint(surface, disp.SelectStyle(), m.x, m.y, disp.SelectSize(), disp.SelectColor(), disp.SelectFill());
            break;
        case Role::Fit: DotPoint(surface, disp.DotStyle(), m.x, m.y, size, c(disp.FuncColor()), true); break;
        case Role::Ground: DotPoint(surface, disp.DotStyle(), m.x, m.y, size, c(disp.GndColor()), true); break;
        case Role::Plain: DotPoint(surface, disp.DotStyle(), m.x, m.y, size, dotColor, disp.DotFill()); break;
        }
    }
}

void uclTz4Graph::DotPoint(GraphSurface& surface, int style, double x, double y, double s, qint32 color, bool filled)
{
    const QColor colour = colorFromBgr(color);
    switch (style) {
    case dotstyle::Circle:
        surface.circle(x, y, s, colour, filled);
        break;
    case dotstyle::Square:
        if (filled)
            surface.filledBox(x - s, y - s, x + s, y + s, colour);
        surface.box(x - s, y - s, x + s, y + s, colour);
        break;
    case dotstyle::UpperTriangle:
        surface.polygon({{x - 1.2 * s, y + 0.83 * s}, {x, y - 1.67 * s}, {x + 1.2 * s, y + 0.83 * s}}, colour, filled);
        break;
    case dotstyle::LowerTriangle:
        surface.polygon({{x - 1.2 * s, y - 0.83 * s}, {x, y + 1.67 * s}, {x + 1.2 * s, y - 0.83 * s}}, colour, filled);
        break;
    case dotstyle::Diamond:
        surface.polygon({{x - 1.2 * s, y}, {x, y - 1.2 * s}, {x + 1.2 * s, y}, {x, y + 1.2 * s}}, colour, filled);
        break;
    default:
        break;
    }
}

qint32 uclTz4Graph::OverLayColor(const clsTz4GraphDisp& disp, qint32 color)
{
    const double level = disp.OverLayLevel();
    const qint32 plot = disp.ForeColor();
    auto mix = [&](int plotByte, int ownByte) { return int(roundHalfEven((1 - level) * plotByte + level * ownByte)); };
    return bgrOf(mix(bgrRed(plot), bgrRed(color)), mix(bgrGreen(plot), bgrGreen(color)),
                 mix(bgrBlue(plot), bgrBlue(color)));
}

QLineF uclTz4Graph::ClipWFSegment(float a, float b) const
{
    if (a == 0)
        return {posXMin_, b, posXMax_, b};
    const float atMin = a * posXMin_ + b;
    const float atMax = a * posXMax_ + b;
    QPointF start, end;
    if (a > 0) {
        start = atMin >= posYMin_ ? QPointF(posXMin_, atMin) : QPointF(float((posYMin_ - b) / a), posYMin_);
        end = atMax <= posYMax_ ? QPointF(posXMax_, atMax) : QPointF(float((posYMax_ - b) / a), posYMax_);
    } else {
        start = atMin <= posYMax_ ? QPointF(posXMin_, atMin) : QPointF(float((posYMax_ - b) / a), posYMax_);
        end = atMax >= posYMin_ ? QPointF(posXMax_, atMax) : QPointF(float((posYMin_ - b) / a), posYMin_);
    }
    return {start, end};
}

void uclTz4Graph::ClipWFLine(GraphSurface& surface, float a, float b, int penStyle, qint32 color)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return;
    const QLineF segment = ClipWFSegment(a, b);
    PlotClip clip(surface, plotRect());
    surface.line(xPos(float(segment.x1())), yPos(float(segment.y1())), xPos(float(segment.x2())),
                 yPos(float(segment.y2())), colorFromBgr(color), penStyle);
}

} // namespace tz4
