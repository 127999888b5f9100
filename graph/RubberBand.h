#pragma once

#include <QPointF>
#include <QRectF>

namespace tz4 {

// The rectangle the user drags on the graph, in surface twips.
class RubberBand {
public:
    void start(QPointF at)
    {
        dragging_ = true;
        start_ = end_ = at;
    }
    void moveTo(QPointF at)
    {
        if (dragging_)
            end_ = at;
    }
    void finish(QPointF at)
    {
        end_ = at;
        dragging_ = false;
    }
    bool dragging() const { return dragging_; }
    QPointF startPoint() const { return start_; }
    QPointF endPoint() const { return end_; }
    // The box between the two corners, whichever way it was dragged.
    QRectF rect() const { return QRectF(start_, end_).normalized(); }

private:
    bool dragging_ = false;
    QPointF start_, end_;
};

} // namespace tz4
