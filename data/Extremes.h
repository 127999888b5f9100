#pragma once

namespace tz4 {

// The least and the greatest of a run of values, as the graph scales by them: they start
// beyond any plotted value, take a value only when it lies beyond them (never a NaN), and read
// `none` when nothing was taken.
class Least {
public:
    void take(float value)
    {
        if (value < value_)
            value_ = value;
    }
    float value(float none = -1) const { return value_ > 1e20f ? none : value_; }

private:
    float value_ = 1e21f;
};

class Greatest {
public:
    void take(float value)
    {
        if (value > value_)
            value_ = value;
    }
    float value(float none = -1) const { return value_ < -1e20f ? none : value_; }

private:
    float value_ = -1e21f;
};

} // namespace tz4
