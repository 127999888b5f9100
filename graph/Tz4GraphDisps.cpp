#include "graph/Tz4GraphDisps.h"

#include "core/ErrorLocation.h"

namespace tz4 {

clsTz4GraphDisp* clsTz4GraphDisps::Add(const QString& key, const QString& dataBaseName, const QString& sKey)
{
    EnterProcedure here("clsTz4GraphDisps:Add");
    const QString entryKey = key.isEmpty() ? sKey : key;
    checkNewKey(entryKey);
    auto disp = std::make_unique<clsTz4GraphDisp>();
    disp->setKey(key);
    disp->setDataBaseName(dataBaseName);
    disp->setIndex(Count() + 1);
    clsTz4GraphDisp* added = append(entryKey, std::move(disp));
    added->ReLoad();
    select(key);
    return added;
}

} // namespace tz4
