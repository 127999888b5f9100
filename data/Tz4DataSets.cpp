#include "data/Tz4DataSets.h"

#include "core/ErrorLocation.h"
#include "data/Extremes.h"

namespace tz4 {

clsTz4DataSet* clsTz4DataSets::Add(const QString& key, const QString& dataBaseName, const QString& sKey)
{
    EnterProcedure here("clsTz4DataSets:Add");
    const QString entryKey = key.isEmpty() ? sKey : key;
    checkNewKey(entryKey);
    auto record = std::make_unique<clsTz4DataSet>();
    record->setKey(key);
    record->setDataBaseName(dataBaseName);
    record->setIndex(Count() + 1);
    clsTz4DataSet* added = append(entryKey, std::move(record));
    added->ReLoad();
    MakeTotalData();
    select(key);
    return added;
}

void clsTz4DataSets::setShownKind(int kind)
{
    if (kind == shownKind_)
        return;
    shownKind_ = kind;
    MakeTotalData();
}

void clsTz4DataSets::MakeTotalData()
{
    Least totalMinX, totalMinY, graphMinX, graphMinY;
    Greatest totalMaxX, totalMaxY, graphMaxX, graphMaxY, graphStpX, graphStpY;
    maxDataCount_ = 0;
    for (const clsTz4DataSet& r : *this) {
        if (!Shows(r))
            continue;
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
