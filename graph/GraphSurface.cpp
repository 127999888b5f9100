#include "graph/GraphSurface.h"

#include "graph/GraphStyles.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>

namespace tz4 {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

double twipsPerPixelX(const QPaintDevice& device)
{
    return device.logicalDpiX() > 0 ? kTwipsPerInch / device.logicalDpiX() : 15.0;
}

double twipsPerPixelY(const QPaintDevice& device)
{
    return device.logicalDpiY() > 0 ? kTwipsPerInch / device.logicalDpiY() : 15.0;
}

Qt::PenStyle qtPenStyle(int penStyle)
{
    switch (penStyle) {
    case penstyle::Dash: return Qt::DashLine;
    case penstyle::Dot: return Qt::DotLine;
    case penstyle::DashDot: return Qt::DashDotLine;
    case penstyle::DashDotDot: return Qt::DashDotDotLine;
    case penstyle::Transparent: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

GraphSurface::GraphSurface(QPainter& painter, const QFont& font)
    : painter_(painter)
    , font_(font, painter.device())
    , metrics_(font_, painter.device())
    , tppX_(tz4::twipsPerPixelX(*painter.device()))
    , tppY_(tz4::twipsPerPixelY(*painter.device()))
{
    painter_.setFont(font_);
    pixelDevice_ = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
}

// Device sizes in the units the painter draws in (logical pixels on a high-DPI image).
double GraphSurface::widthTwips() const
{
    return painter_.device()->width() / painter_.device()->devicePixelRatioF() * tppX_;
}

double GraphSurface::heightTwips() const
{
    return painter_.device()->height() / painter_.device()->devicePixelRatioF() * tppY_;
}

double GraphSurface::TextWidth(const QString& text) const { return metrics_.horizontalAdvance(text) * tppX_; }
double GraphSurface::TextHeight(const QString&) const { return metrics_.height() * tppY_; }

void GraphSurface::usePen(const QColor& color, int penStyle)
{
    // A cosmetic pen one pixel wide, as thin lines look on every device.
    QPen pen(color, 0, qtPenStyle(penStyle));
    painter_.setPen(pen);
}

void GraphSurface::clear(const QColor& color)
{
    painter_.fillRect(QRectF(0, 0, widthTwips() / tppX_, heightTwips() / tppY_), color);
}

void GraphSurface::line(double x1, double y1, double x2, double y2, const QColor& color, int penStyle)
{
    usePen(color, penStyle);
    painter_.drawLine(toDevice(x1, y1), toDevice(x2, y2));
}

void GraphSurface::box(double x1, double y1, double x2, double y2, const QColor& color)
{
    usePen(color, penstyle::Solid);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(toDevice(x1, y1), toDevice(x2, y2)).normalized());
}

void GraphSurface::filledBox(double x1, double y1, double x2, double y2, const QColor& color)
{
    painter_.fillRect(QRectF(toDevice(x1, y1), toDevice(x2, y2)).normalized(), color);
}

void GraphSurface::circle(double x, double y, double radius, const QColor& color, bool filled)
{
    usePen(color, penstyle::Solid);
    painter_.setBrush(filled ? QBrush(color) : QBrush(Qt::NoBrush));
    const QPointF centre = toDevice(x, y);
    QRectF bounds(centre.x() - radius / tppX_, centre.y() - radius / tppY_, 2 * radius / tppX_, 2 * radius / tppY_);
    // On pixels a circle on whole pixels takes the raster engine's fast path; vector output
    // keeps the exact position.
    if (pixelDevice_)
        bounds = QRectF(std::round(bounds.x()), std::round(bounds.y()), std::round(bounds.width()),
                        std::round(bounds.height()));
    painter_.drawEllipse(bounds);
}

void GraphSurface::polygon(const QPolygonF& corners, const QColor& color, bool filled)
{
    QPolygonF pixels;
    pixels.reserve(corners.size());
    for (const QPointF& c : corners)
        pixels << QPointF(std::round(c.x() / tppX_), std::round(c.y() / tppY_));
    usePen(color, penstyle::Solid);
    painter_.setBrush(filled ? QBrush(color) : QBrush(Qt::NoBrush));
    painter_.drawPolygon(pixels);
}

void GraphSurface::text(double x, double y, const QString& text, const QColor& color)
{
    painter_.setPen(color);
    const QPointF at = toDevice(x, y);
    painter_.drawText(QPointF(at.x(), at.y() + metrics_.ascent()), text);
}

} // namespace tz4
