#include "mainwin/FrameGeometry.h"

namespace tz4 {

bool screenLargeEnough(const QSize& pixels) { return pixels.width() > 640 && pixels.height() > 480; }

QList<QRect> stripRects(const QRect& area, int count, Arrangement arrangement)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    const bool stacked = arrangement == Arrangement::FullWidthStrips;
    const int total = stacked ? area.height() : area.width();
    const int each = total / count;
    for (int i = 0; i < count; ++i) {
        const int start = i * each;
        const int length = i == count - 1 ? total - start : each;
        rects << (stacked ? QRect(area.left(), area.top() + start, area.width(), length)
                          : QRect(area.left() + start, area.top(), length, area.height()));
    }
    return rects;
}

QList<QRect> iconRects(const QRect& area, const QList<QSize>& sizes)
{
    QList<QRect> rects;
    int x = area.left();
    int bottom = area.bottom() + 1;
    int rowHeight = 0;
    for (const QSize& size : sizes) {
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            bottom -= rowHeight;
            rowHeight = 0;
        }
        rects << QRect(QPoint(x, bottom - size.height()), size);
        x += size.width();
        rowHeight = qMax(rowHeight, size.height());
    }
    return rects;
}

} // namespace tz4
