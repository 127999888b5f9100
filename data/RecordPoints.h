#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

namespace tz4 {

// A rectangle drawn on the graph, in plotted units; its corners may come in either order.
struct PlotRect {
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    bool contains(float x, float y) const;
};

// The data points of one record: one entry per point in each column, the cursor that walks
// through them and the ranges of the plotted values. The columns are open to the analysis and
// the store, which fill them whole; setCount keeps them `count()` long.
class RecordPoints {
public:
    std::vector<qint32> keys;        // Datas.SeqNo
    std::vector<float> x, y;         // as measured: energy (the counting rate for T) and yield
    std::vector<float> plotX, plotY; // as plotted: corrected, ground removed, powered
    std::vector<char> ground, fit;   // the G and F flags
    std::vector<float> z;            // the second value, held only by kinds C and D

    int count() const { return count_; }
    // Resizes the columns (keeping their contents) and moves the cursor to the last point.
    void setCount(int count, bool withZ);

    int cursor() const { return cursor_; }
    void setCursor(int index);
    void moveFirst();
    void moveLast();
    void moveNext();
    bool eof = false, bof = false;

    // One point's value; a missing, negative or too large index means the point under the
    // cursor. Reads outside the column give 0 and writes there are ignored.
    template <typename T>
    T read(const std::vector<T>& column, int index) const
    {
        const int i = at(index);
        return i >= 0 && i < int(column.size()) ? column[size_t(i)] : T{};
    }
    template <typename T>
    void write(std::vector<T>& column, int index, T value)
    {
        const int i = at(index);
        if (i >= 0 && i < int(column.size()))
            column[size_t(i)] = value;
    }

    // Minimum, maximum and step of the plotted values, as the graph scales by them.
    std::array<float, 3> rangeX{}, rangeY{};
    void measureRanges();

    // The ground flags of the points inside a rectangle: set alone, added or removed.
    enum class Mark { Only, Add, Remove };
    void markGround(const PlotRect& rect, Mark mark);
    void markFit(const PlotRect& rect);

    // A curve of 56 points from 3.4 eV, shown where there is no database.
    void fillDemonstration(bool withZ);

    // The second value has its own, possibly shorter, column: an index beyond it means the cursor.
    float readZ(int index) const;
    void writeZ(float value, int index);

private:
    int at(int index) const
    {
        return index >= 0 && index < int(x.size()) ? index : cursor_;
    }

    int count_ = 0;
    int cursor_ = -1;
};

} // namespace tz4
