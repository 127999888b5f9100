#include "data/Tz4DataSets.h"

#include "core/ErrorLocation.h"
#include "core/Tz4Error.h"
#include "data/Extremes.h"

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
    Least totalMinX, totalMinY, graphMinX, graphMinY;
    Greatest totalMaxX, totalMaxY, graphMaxX, graphMaxY, graphStpX, graphStpY;
    maxDataCount_ = 0;
    for (const Entry& entry : items_) {
        const clsTz4DataSet& r = *entry.record;
        totalMinX.take(r.DataX(0));
        totalMinY.take(r.DataY(0));
        totalMaxX.take(r.DataX(1));
        totalMaxY.take(r.DataY(1));
        graphMinX.take(r.GraphX(0));
        graphMinY.take(r.GraphY(0));
        graphMaxX.take(r.GraphX(1));
        graphMaxY.take(r.GraphY(1));
        graphStpX.take(r.GraphX(2));
        graphStpY.take(r.GraphY(2));
        if (r.DataCount() > maxDataCount_)
            maxDataCount_ = r.DataCount();
    }
    totalMinX_ = totalMinX.value();
    totalMinY_ = totalMinY.value();
    totalMaxX_ = totalMaxX.value();
    totalMaxY_ = totalMaxY.value();
    graphMinX_ = graphMinX.value();
    graphMinY_ = graphMinY.value();
    graphMaxX_ = graphMaxX.value();
    graphMaxY_ = graphMaxY.value();
    // Without records the steps are 1, so that a scale can still be drawn.
    graphStpX_ = graphStpX.value(1);
    graphStpY_ = graphStpY.value(1);
}

} // namespace tz4
