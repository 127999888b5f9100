#include "sim/Mechanics.h"

#include <cstdlib>

namespace tz4::sim::mechanics {

int stageTravelMs(int from, int to)
{
    return 100 + std::abs(to - from) * 1000 / 400;
}

int irisTravelMs(int from, int to)
{
    return 50 + std::abs(to - from) * 3 / 2;
}

int filterTravelMs(int from, int to)
{
    // The wheel turns one way only.
    const int steps = ((to - from) % 5 + 5) % 5;
    return 100 + steps * 400;
}

int waveTravelMs(int from, int to)
{
    // 100 nm/s: the host allows as little as two seconds per nanometre on short approaches.
    return 20 + std::abs(to - from);
}

Target underLight(int position)
{
    if (std::abs(position - kStagePhotoDiode) <= kReferenceHalfWidth)
        return Target::PhotoDiode;
    if (std::abs(position - kStageCarbon) <= kReferenceHalfWidth)
        return Target::Carbon;
    if (std::abs(position - kStageSample) <= kSampleHalfWidth)
        return Target::Sample;
    return Target::Nothing;
}

} // namespace tz4::sim::mechanics
