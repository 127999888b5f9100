#include "mainwin/FrameGeometry.h"

#include <algorithm>

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

QRect firstFrameRect(const QRect& available, const QSize& least)
{
    const QSize size(std::min(available.width(), std::max(least.width(), available.width() * 4 / 5)),
                     std::min(available.height(), std::max(least.height(), available.height() * 4 / 5)));
    QRect rect(QPoint(), size);
    rect.moveCenter(available.center());
    return rect;
}

QRect firstChildRect(const QRect& area, const QSize& wanted, int windowsBefore, int offset)
{
    if (windowsBefore <= 0)
        return area;
    const QSize size = wanted.boundedTo(area.size());
    const int room = std::max(0, std::min(area.width() - size.width(), area.height() - size.height()));
    const int shift = room > 0 ? (windowsBefore * offset) % (room + 1) : 0;
    return {area.topLeft() + QPoint(shift, shift), size};
}

QList<QRect> cascadeRects(const QRect& area, int count, int step)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    const int least = std::min(area.width(), area.height()) * 2 / 3;
    const int fitting = std::max(1, std::min(count, (std::min(area.width(), area.height()) - least) / std::max(1, step) + 1));
    const QSize size(area.width() - (fitting - 1) * step, area.height() - (fitting - 1) * step);
    for (int i = 0; i < count; ++i) {
        const int at = (i % fitting) * step;
        rects << QRect(area.topLeft() + QPoint(at, at), size);
    }
    return rects;
}

} // namespace tz4
