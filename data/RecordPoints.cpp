#include "data/RecordPoints.h"

#include "data/Extremes.h"

#include <algorithm>

namespace tz4 {

bool PlotRect::contains(float x, float y) const
{
    return std::min(x1, x2) <= x && x <= std::max(x1, x2) && std::min(y1, y2) <= y && y <= std::max(y1, y2);
}

void RecordPoints::setCount(int count, bool withZ)
{
    if (count < 0)
        return;
    count_ = count;
    cursor_ = count - 1;
    if (count == 0)
        return;
    const size_t size = size_t(count);
    keys.resize(size);
    x.resize(size);
    y.resize(size);
    plotX.resize(size);
    plotY.resize(size);
    ground.resize(size);
    fit.resize(size);
    if (withZ)
        z.resize(size);
}

void RecordPoints::setCursor(int index)
{
    if (index >= 0 && index < count_)
        cursor_ = index;
}

void RecordPoints::moveFirst()
{
    cursor_ = 0;
    bof = true;
    eof = false;
}

void RecordPoints::moveLast()
{
    cursor_ = count_ - 1;
    bof = false;
    eof = true;
}

void RecordPoints::moveNext()
{
    if (cursor_ < count_ - 1)
        ++cursor_;
    if (cursor_ == count_ - 1) {
        bof = false;
        eof = true;
    }
}

float RecordPoints::readZ(int index) const
{
    const int i = index >= 0 && index < int(z.size()) ? index : cursor_;
    return i >= 0 && i < int(z.size()) ? z[size_t(i)] : 0.0f;
}

void RecordPoints::writeZ(float value, int index)
{
    const int i = index >= 0 && index < int(z.size()) ? index : cursor_;
    if (i >= 0 && i < int(z.size()))
        z[size_t(i)] = value;
}

// With no points a range reads -1 to -1; a single point has step 1.
void RecordPoints::measureRanges()
{
    Least minX, minY;
    Greatest maxX, maxY;
    for (size_t i = 0; i < size_t(count_); ++i) {
        minX.take(plotX[i]);
        maxX.take(plotX[i]);
        minY.take(plotY[i]);
        maxY.take(plotY[i]);
    }
    rangeX[0] = minX.value();
    rangeX[1] = maxX.value();
    rangeY[0] = minY.value();
    rangeY[1] = maxY.value();
    if (count_ >= 2) {
        rangeX[2] = float((double(rangeX[1]) - rangeX[0]) / (count_ - 1));
        rangeY[2] = float((double(rangeY[1]) - rangeY[0]) / 11);
    } else {
        rangeX[2] = 1;
        rangeY[2] = 1;
    }
}

void RecordPoints::markGround(const PlotRect& rect, Mark mark)
{
    for (size_t i = 0; i < size_t(count_); ++i) {
        const bool inside = rect.contains(plotX[i], plotY[i]);
        if (mark == Mark::Only)
            ground[i] = inside;
        else if (inside)
            ground[i] = mark == Mark::Add;
    }
}

void RecordPoints::markFit(const PlotRect& rect)
{
    for (size_t i = 0; i < size_t(count_); ++i)
        fit[i] = rect.contains(plotX[i], plotY[i]);
}

void RecordPoints::fillDemonstration(bool withZ)
{
    const int count = 56;
    setCount(count, withZ);
    for (int i = 0; i < count; ++i) {
        const size_t p = size_t(i);
        keys[p] = i + 1;
        x[p] = float(3.4 + 0.05 * i);
        y[p] = float((double(i) * i + 100) / 3.7);
        ground[p] = 0;
        fit[p] = 0;
    }
}

} // namespace tz4
