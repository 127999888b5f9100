#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPolygonF>
#include <QString>

class QPainter;
class QPaintDevice;

namespace tz4 {

// The twips per pixel of a device's logical resolution.
double twipsPerPixelX(const QPaintDevice& device);
double twipsPerPixelY(const QPaintDevice& device);

// Drawing in twips (1440 per inch) on whatever device a QPainter paints: each position is
// mapped through the device's resolution, so a page and a high-DPI screen show the same graph.
class GraphSurface {
public:
    GraphSurface(QPainter& painter, const QFont& font);

    // Twips per device pixel on each axis.
    double twipsPerPixelX() const { return tppX_; }
    double twipsPerPixelY() const { return tppY_; }
    // The device's size in twips.
    double widthTwips() const;
    double heightTwips() const;

    // Text sizes in twips with the surface's font; every text is one line high.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    QPointF toDevice(double x, double y) const { return {x / tppX_, y / tppY_}; }

    void clear(const QColor& color);
    void line(double x1, double y1, double x2, double y2, const QColor& color, int penStyle);
    void box(double x1, double y1, double x2, double y2, const QColor& color);
    void filledBox(double x1, double y1, double x2, double y2, const QColor& color);
    void circle(double x, double y, double radius, const QColor& color, bool filled);
    // Corners in twips, converted to whole device pixels the way the filled shapes always were.
    void polygon(const QPolygonF& corners, const QColor& color, bool filled);
    // Text with its top-left corner at (x, y).
    void text(double x, double y, const QString& text, const QColor& color);

    QPainter& painter() { return painter_; }

private:
    void usePen(const QColor& color, int penStyle);

    QPainter& painter_;
    QFont font_;
    QFontMetricsF metrics_;
    double tppX_ = 15;
    double tppY_ = 15;
    bool pixelDevice_ = false;
};

} // namespace tz4
