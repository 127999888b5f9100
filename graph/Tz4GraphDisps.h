#pragma once

#include "core/KeyedCollection.h"
#include "graph/Tz4GraphDisp.h"

namespace tz4 {

// The display sets of one data window, one per record mode it shows, keyed by their keys
// (without regard to case) and numbered from 1, with the selected one.
class clsTz4GraphDisps : public KeyedCollection<clsTz4GraphDisp> {
public:
    // Creates, stores under `key` (else `sKey`, else without a key), loads and selects a set.
    clsTz4GraphDisp* Add(const QString& key, const QString& dataBaseName, const QString& sKey = {});
};

} // namespace tz4
