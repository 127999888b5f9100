#include "graph/Tz4GraphDisps.h"

#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"

namespace tz4 {

int clsTz4GraphDisps::find(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

clsTz4GraphDisp* clsTz4GraphDisps::Add(const QString& key, const QString& dataBaseName, const QString& sKey)
{
    EnterProcedure here("clsTz4GraphDisps:Add");
    const QString entryKey = key.isEmpty() ? sKey : key;
    if (find(entryKey) >= 0)
        throw Tz4Error(err::DuplicateCollectionKey,
                       QStringLiteral("This key is already associated with an element of this collection: %1").arg(entryKey));
    auto disp = std::make_unique<clsTz4GraphDisp>();
    disp->setKey(key);
    disp->setDataBaseName(dataBaseName);
    disp->setIndex(Count() + 1);
    clsTz4GraphDisp* added = disp.get();
    items_.push_back({entryKey, std::move(disp)});
    added->ReLoad();
    selectedKey_ = key;
    return added;
}

void clsTz4GraphDisps::Clear()
{
    while (!items_.empty())
        items_.pop_back();
}

clsTz4GraphDisp* clsTz4GraphDisps::Item(const QString& key) const
{
    const int i = find(key);
    return i < 0 ? nullptr : items_[size_t(i)].disp.get();
}

clsTz4GraphDisp* clsTz4GraphDisps::Item(int number) const
{
    return number >= 1 && number <= Count() ? items_[size_t(number - 1)].disp.get() : nullptr;
}

void clsTz4GraphDisps::Remove(const QString& key)
{
    const int i = find(key);
    if (i >= 0)
        items_.erase(items_.begin() + i);
}

void clsTz4GraphDisps::Remove(int number)
{
    if (number >= 1 && number <= Count())
        items_.erase(items_.begin() + (number - 1));
}

void clsTz4GraphDisps::setSelectedItem(const clsTz4GraphDisp* disp)
{
    if (disp)
        selectedKey_ = disp->Key();
}

} // namespace tz4
