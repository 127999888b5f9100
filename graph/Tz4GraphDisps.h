#pragma once

#include "graph/Tz4GraphDisp.h"

#include <memory>
#include <vector>

namespace tz4 {

// The display sets of one data window, one per record mode it shows, keyed by their keys
// (without regard to case) and numbered from 1, with the selected one.
class clsTz4GraphDisps {
    struct Entry {
        QString key; // empty: added without a key
        std::unique_ptr<clsTz4GraphDisp> disp;
    };

public:
    // Creates, stores under `key` (else `sKey`, else without a key), loads and selects a set.
    clsTz4GraphDisp* Add(const QString& key, const QString& dataBaseName, const QString& sKey = {});
    void Clear();
    clsTz4GraphDisp* Item(const QString& key) const;
    clsTz4GraphDisp* Item(int number) const;
    int Count() const { return int(items_.size()); }
    void Remove(const QString& key);
    void Remove(int number);

    clsTz4GraphDisp* SelectedItem() const { return Item(selectedKey_); }
    void setSelectedItem(const clsTz4GraphDisp* disp);

    class iterator {
    public:
        explicit iterator(std::vector<Entry>::const_iterator at) : at_(at) {}
        clsTz4GraphDisp& operator*() const { return *at_->disp; }
        clsTz4GraphDisp* operator->() const { return at_->disp.get(); }
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
    int find(const QString& key) const;

    std::vector<Entry> items_;
    QString selectedKey_;
};

} // namespace tz4
