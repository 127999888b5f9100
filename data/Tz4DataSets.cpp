#include "data/Tz4DataSets.h"

#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"

namespace tz4 {

int clsTz4DataSets::find(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

clsTz4DataSet* clsTz4DataSets::Add(const QString& key, const QString& dataBaseName, const QString& sKey)
{
    EnterProcedure here("clsTz4DataSets:Add");
    const QString entryKey = key.isEmpty() ? sKey : key;
    if (find(entryKey) >= 0)
        throw Tz4Error(err::DuplicateCollectionKey, QStringLiteral("This key is already associated with an element of this collection: %1").arg(entryKey));
    auto record = std::make_unique<clsTz4DataSet>();
    record->setKey(key);
    record->setDataBaseName(dataBaseName);
    record->setIndex(Count() + 1);
    clsTz4DataSet* added = record.get();
    items_.push_back({entryKey, std::move(record)});
    added->ReLoad();
    MakeTotalData();
    selectedKey_ = key;
    return added;
}

void clsTz4DataSets::Clear()
{
    while (!items_.empty())
        items_.pop_back();
}

clsTz4DataSet* clsTz4DataSets::Item(const QString& key) const
{
    const int i = find(key);
    return i < 0 ? nullptr : items_[size_t(i)].record.get();
}

clsTz4DataSet* clsTz4DataSets::Item(int number) const
{
    return number >= 1 && number <= Count() ? items_[size_t(number - 1)].record.get() : nullptr;
}

void clsTz4DataSets::Remove(const QString& key)
{
    const int i = find(key);
    if (i >= 0)
        items_.erase(items_.begin() + i);
}

void clsTz4DataSets::Remove(int number)
{
    if (number >= 1 && number <= Count())
        items_.erase(items_.begin() + (number - 1));
}

void clsTz4DataSets::setSelectedItem(const clsTz4DataSet* record)
{
    if (record)
        selectedKey_ = record->Key();
}

void clsTz4DataSets::MakeTotalData()
{
    // Strict comparisons: a value replaces the running extreme only when beyond it.
    auto lower = [](float& extreme, float value) {
        if (value < extreme)
            extreme = value;
    };
    auto higher = [](float& extreme, float value) {
        if (value > extreme)
            extreme = value;
    };
    totalMinX_ = totalMinY_ = 1e21f;
    totalMaxX_ = totalMaxY_ = -1e21f;
    graphMinX_ = graphMinY_ = 1e21f;
    graphMaxX_ = graphMaxY_ = graphStpX_ = graphStpY_ = -1e21f;
    maxDataCount_ = 0;
    for (const Entry& entry : items_) {
        const clsTz4DataSet& r = *entry.record;
        lower(totalMinX_, r.DataX(0));
        lower(totalMinY_, r.DataY(0));
        higher(totalMaxX_, r.DataX(1));
        higher(totalMaxY_, r.DataY(1));
        lower(graphMinX_, r.GraphX(0));
        lower(graphMinY_, r.GraphY(0));
        higher(graphMaxX_, r.GraphX(1));
        higher(graphMaxY_, r.GraphY(1));
        higher(graphStpX_, r.GraphX(2));
        higher(graphStpY_, r.GraphY(2));
        if (r.DataCount() > maxDataCount_)
            maxDataCount_ = r.DataCount();
    }
    for (float* minimum : {&totalMinX_, &totalMinY_, &graphMinX_, &graphMinY_}) {
        if (*minimum > 1e20f)
            *minimum = -1;
    }
    for (float* maximum : {&totalMaxX_, &totalMaxY_, &graphMaxX_, &graphMaxY_}) {
        if (*maximum < -1e20f)
            *maximum = -1;
    }
    for (float* step : {&graphStpX_, &graphStpY_}) {
        if (*step < -1e20f)
            *step = 1;
    }
}

} // namespace tz4
