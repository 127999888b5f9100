#pragma once

#include "data/Tz4DataSet.h"

#include <QString>

#include <memory>
#include <vector>

namespace tz4 {

// The records one data window shows together, keyed by their item keys (without regard to
// case), numbered from 1, with the selected record and the common ranges the graph scales by.
class clsTz4DataSets {
    struct Entry {
        QString key; // empty: added without a key
        std::unique_ptr<clsTz4DataSet> record;
    };

public:
    // Creates, stores under `key` (else `sKey`, else without a key), loads and selects a record.
    // A key already in the collection is refused with error 457 and nothing is added.
    clsTz4DataSet* Add(const QString& key, const QString& dataBaseName, const QString& sKey = {});
    // Removes every record; the totals stay as they were.
    void Clear();
    // The record under a key or at a number from 1; nullptr when there is none.
    clsTz4DataSet* Item(const QString& key) const;
    clsTz4DataSet* Item(int number) const;
    int Count() const { return int(items_.size()); }
    // Removes an entry; the totals are recomputed only by RefreshParam.
    void Remove(const QString& key);
    void Remove(int number);
    void RefreshParam() { MakeTotalData(); }

    clsTz4DataSet* SelectedItem() const { return Item(selectedKey_); }
    void setSelectedItem(const clsTz4DataSet* record);

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

    // Enumeration in collection order.
    class iterator {
    public:
        explicit iterator(std::vector<Entry>::const_iterator at) : at_(at) {}
        clsTz4DataSet& operator*() const { return *at_->record; }
        clsTz4DataSet* operator->() const { return at_->record.get(); }
        iterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator==(const iterator& other) const = default;

    private:
        std::vector<Entry>::const_iterator at_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

private:
    void MakeTotalData();
    int find(const QString& key) const;

    std::vector<Entry> items_;
    QString selectedKey_;
    float totalMinX_ = 0, totalMinY_ = 0, totalMaxX_ = 0, totalMaxY_ = 0;
    float graphMinX_ = 0, graphMinY_ = 0, graphMaxX_ = 0, graphMaxY_ = 0, graphStpX_ = 0, graphStpY_ = 0;
    qint32 maxDataCount_ = 0;
};

} // namespace tz4
