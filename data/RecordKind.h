#pragma once

namespace tz4 {

// Kind codes of a record as stored in Setting.Modes; the key's letter names them.
struct RecordKinds {
    enum Kind { KindW = 0, KindC = 1, KindL = 2, KindD = 3, KindT = 4, KindNone = -1 };
};

} // namespace tz4
