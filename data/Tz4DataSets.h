#pragma once

#include "core/KeyedCollection.h"
#include "data/Tz4DataSet.h"

#include <QString>

namespace tz4 {

// The records one data window shows together, keyed by their item keys (without regard to
// case), numbered from 1, with the selected record and the common ranges the graph scales by.
class clsTz4DataSets : public KeyedCollection<clsTz4DataSet> {
public:
    // Creates, stores under `key` (else `sKey`, else without a key), loads and selects a record.
    // A key already in the collection is refused with error 457 and nothing is added.
    clsTz4DataSet* Add(const QString& key, const QString& dataBaseName, const QString& sKey = {});
    // Clear keeps the totals as they were; Remove leaves them to RefreshParam.
    void RefreshParam() { MakeTotalData(); }

    // Records of different kinds have different axes, so the graph shows one kind at a time;
    // the totals and ranges below are those of the shown kind. KindNone shows every record.
    void setShownKind(int kind);
    int ShownKind() const { return shownKind_; }
    bool Shows(const clsTz4DataSet& record) const
    {
        return shownKind_ == clsTz4DataSet::KindNone || record.Kind() == shownKind_;
    }

    float TotalMinX() const { return totalMinX_; }
    float TotalMinY() const { return totalMinY_; }
    float TotalMaxX() const { return totalMaxX_; }
    float TotalMaxY() const { return totalMaxY_; }
    float GraphMinX() const { return graphMinX_; }
    float GraphMinY() const { return graphMinY_; }
    float GraphMaxX() const { return graphMaxX_; }
    float GraphMaxY() const { return graphMaxY_; }
    float GraphStpX() const { return graphStpX_; }
    float GraphStpY() const { return graphStpY_; }
    qint32 MaxDataCount() const { return maxDataCount_; }

private:
    void MakeTotalData();
    float totalMinX_ = 0, totalMinY_ = 0, totalMaxX_ = 0, totalMaxY_ = 0;
    float graphMinX_ = 0, graphMinY_ = 0, graphMaxX_ = 0, graphMaxY_ = 0, graphStpX_ = 0, graphStpY_ = 0;
    qint32 maxDataCount_ = 0;
    int shownKind_ = clsTz4DataSet::KindNone;
};

} // namespace tz4
